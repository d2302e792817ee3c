// A small host application that drives the framework and prints what happens.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "demo.hpp"

void demo::section(const char* title) {
    std::printf("\n== %s ==\n", title);
}

namespace {

// The folders useTemporaryFolderFor() made, removed with everything in them when the process
// ends: after main returns, on exit(), and after a failed section (main catches what it throws).
class TemporaryFolders {
  public:
    TemporaryFolders() = default;
    TemporaryFolders(const TemporaryFolders&) = delete;
    TemporaryFolders& operator=(const TemporaryFolders&) = delete;
    ~TemporaryFolders() {
        for (const auto& folder : folders_) {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    }

    void add(std::filesystem::path folder) { folders_.push_back(std::move(folder)); }

  private:
    std::vector<std::filesystem::path> folders_;
};

}  // namespace

bool demo::useTemporaryFolderFor(const char* variable) {
    static TemporaryFolders made;
    std::error_code error;
    const auto temporary = std::filesystem::temp_directory_path(error);
    std::string folder = (temporary / "kelvane-demo-XXXXXX").string();
    if (error || ::mkdtemp(folder.data()) == nullptr) {
        return false;
    }
    made.add(folder);
    ::setenv(variable, folder.c_str(), 1);
    return true;
}

int main() {
    try {
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
    } catch (const std::exception& failure) {
        // Returning, rather than letting the exception end the process, removes the folders.
        std::fprintf(stderr, "the demo stopped: %s\n", failure.what());
        return 1;
    }
    return 0;
}
