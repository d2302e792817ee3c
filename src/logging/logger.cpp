#include <atomic>
#include <string>

#include <kelvane/logging/logger.hpp>
#include <kelvane/platform/bugsnag.hpp>

#include "logging/log.hpp"

namespace kelvane {

namespace {

std::atomic<bool> bugsnagStarted{false};

}  // namespace

void Logger::print(std::string_view message) {
    sharedLog().write(message);
}

void logw(std::string_view message) {
    Logger::print(message);
}

void Logger::leaveBreadcrumbs(std::string_view message) {
    sharedLog().write(message);
    if (Logger::isBugsnagInit()) {
        platform::Bugsnag::leaveBreadcrumbWithMessage(std::string(message));
    }
}

void Logger::error(std::string_view message) {
    const std::string text = std::string("Error: ").append(message);
    sharedLog().write(text);
    if (Logger::isBugsnagInit()) {
        platform::Bugsnag::leaveBreadcrumbWithMessage(text);
    }
}

void Logger::logInitialize() {
    Log& log = sharedLog();
    log.setName("velmora_log");
    log.setMaxFileSize(4096);
    log.setMaxFileCount(1);
    log.setPrintToConsole(true);
    log.write("logger started");
    log.write("log path " + log.currentLogPath());
}

bool Logger::isBugsnagInit() {
    return bugsnagStarted.load(std::memory_order_acquire);
}

void Logger::setIsBugsnagInit(bool started) {
    bugsnagStarted.store(started, std::memory_order_release);
}

}  // namespace kelvane
