#pragma once

// The demo host program runs one section per framework area, in order.

namespace demo {

void section(const char* title);

// Makes a fresh temporary folder of the demo's own and points the environment variable `variable`
// at it, so that the user's own folders stay untouched. The folder is removed when the demo ends,
// also when a section fails. Returns false when no folder could be made (the variable is
// unchanged).
bool useTemporaryFolderFor(const char* variable);

void runStoreDemo();
void runLoggingDemo();
void runModelDemo();
void runCodeBlocksDemo();
void runUIKitDemo();
void runStateDemo();
void runFrameworkDemo();
void runEventsDemo();
void runTestScreensDemo();

// Marks the framework's next (echoed) log line as an error the demo causes on purpose.
void expectError(const char* cause);

// Closes the run: what each section showed and how many errors were planned.
void printSummary();

}  // namespace demo
