// The log at work: start-up's log setup, lines through the static logger with a crash-reporter
// sink that prints what it receives, then the log file as it stands.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <kelvane/logging.hpp>
#include <kelvane/platform/bugsnag.hpp>
#include <kelvane/platform/documents_directory.hpp>

#include "demo.hpp"

void demo::runLoggingDemo() {
    section("logging");
    if (!useTemporaryFolderFor("XDG_DOCUMENTS_DIR")) {
        std::printf("cannot make a documents folder of the demo's own; the real one is used\n");
    }
    std::printf("documents folder: %s\n", kelvane::platform::documentsDirectory().c_str());

    kelvane::platform::Bugsnag::setBreadcrumbSink([](const std::string& message) {
        std::printf("  breadcrumb -> \"%s\"\n", message.c_str());
    });

    // Every line below is echoed to standard output as it is written.
    kelvane::Logger::logInitialize();
    kelvane::Logger::print("the host application is up");
    kelvane::Logger::leaveBreadcrumbs("no breadcrumb yet: the crash reporter has not started");
    kelvane::Logger::setIsBugsnagInit(true);
    kelvane::Logger::leaveBreadcrumbs("Dispatch action: StartRecordingAction()");
    expectError("one the host application writes itself");
    kelvane::Logger::error("microphone unavailable");
    kelvane::logw("logw writes a line and never a breadcrumb");
    kelvane::Logger::print("a message with\ntwo lines");
    kelvane::Logger::setIsBugsnagInit(false);
    kelvane::platform::Bugsnag::setBreadcrumbSink({});

    const std::string path = kelvane::platform::documentsDirectory() + "/Logs/velmora_log-0.log";
    std::ifstream file(path, std::ios::binary);
    const std::string content{std::istreambuf_iterator<char>(file),
                              std::istreambuf_iterator<char>()};
    std::printf("log file %s holds:\n%s", path.c_str(), content.c_str());
}
