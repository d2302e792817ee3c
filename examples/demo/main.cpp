// A small host application that drives the framework and prints what happens.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "demo.hpp"

void demo::section(const char* title) {
    std::printf("\n== %s ==\n", title);
}

bool demo::useTemporaryFolderFor(const char* variable) {
    std::string folder = (std::filesystem::temp_directory_path() / "kelvane-demo-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        return false;
    }
    ::setenv(variable, folder.c_str(), 1);
    return true;
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
    demo::printSummary();
    return 0;
}
