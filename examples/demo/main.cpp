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
    // Start-up configures the log, so it comes before the other areas that log.
    demo::runFrameworkDemo();
    demo::runEventsDemo();
    return 0;
}
