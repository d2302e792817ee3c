// A small host application that drives the framework and prints what happens.
#include <cstdio>

#include "demo.hpp"

void demo::section(const char* title) {
    std::printf("\n== %s ==\n", title);
}

int main() {
    demo::runStoreDemo();
    demo::runLoggingDemo();
    demo::runModelDemo();
    demo::runCodeBlocksDemo();
    demo::runUIKitDemo();
    demo::runStateDemo();
    // Start-up configures the log; the sections after it write to its file.
    demo::runFrameworkDemo();
    demo::runEventsDemo();
    demo::runTestScreensDemo();
    return 0;
}
