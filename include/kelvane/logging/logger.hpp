#pragma once

#include <string_view>

namespace kelvane {

/// The framework's logging calls, for the host application and the framework alike. Every call
/// appends one dated line to the shared log (the file "<name>-0.log" in "Logs" of the documents
/// folder, echoed to standard output), made on first use.
///
/// Breadcrumbs: once the host application has started its crash reporter and set
/// `setIsBugsnagInit(true)`, `leaveBreadcrumbs` and `error` also hand their text to
/// `platform::Bugsnag::leaveBreadcrumbWithMessage`, after the file line and whether or not that
/// line could be written.
///
/// Threads: every call may come from any thread; lines land whole and each once. Breadcrumbs are
/// sent on the caller's thread. Nothing is thrown or reported: a line that cannot be written is
/// lost. Never instantiated.
///
///     kelvane::Logger::logInitialize();
///     kelvane::Logger::setIsBugsnagInit(true);  // after starting the crash reporter
///     kelvane::Logger::error("no microphone");  // line "[<date>]: Error: no microphone"
class Logger {
  public:
    Logger() = delete;

    /// Writes `message`; never a breadcrumb.
    static void print(std::string_view message);

    /// Writes `message`, then leaves it as a breadcrumb while breadcrumbs are on.
    static void leaveBreadcrumbs(std::string_view message);

    /// Writes "Error: " + `message`, then leaves that text as a breadcrumb while breadcrumbs are
    /// on.
    static void error(std::string_view message);

    /// Switches the log to the name "velmora_log" with a 4096 KiB limit and a single file (a full
    /// file is discarded and started afresh), console echo on, then writes "logger started" and
    /// "log path " + the path of the file now written. Calling it again writes the two lines again.
    static void logInitialize();

    /// Whether the host application has started its crash reporter (false until it says so). Read
    /// afresh by each breadcrumb call; safe from any thread.
    static bool isBugsnagInit();
    static void setIsBugsnagInit(bool started);
};

/// The same as `Logger::print`.
void logw(std::string_view message);

}  // namespace kelvane
