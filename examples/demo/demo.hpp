#pragma once

// The demo host program runs one section per framework area, in order.

namespace demo {

void section(const char* title);

void runStoreDemo();
void runLoggingDemo();
void runModelDemo();
void runCodeBlocksDemo();
void runUIKitDemo();
void runStateDemo();
void runFrameworkDemo();
void runEventsDemo();
void runTestScreensDemo();

}  // namespace demo
