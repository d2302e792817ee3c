#pragma once

#include <cstdint>
#include <functional>
#include <source_location>
#include <string>

namespace kelvane {

/// Receives a fatal error: the message and the source location that detected it.
using FatalErrorHook =
    std::function<void(const std::string& message, const char* file, std::uint32_t line)>;

/// Holds the replaceable fatal-error hook through which detected programming errors stop the
/// process (a dispatch while a reducer runs, a dispatch with no dispatch function, a null `Ref`).
class Assertions {
  public:
    Assertions() = delete;

    /// The hook in force; `defaultFatalErrorHook()` until replaced.
    static FatalErrorHook fatalErrorHook();

    /// Replaces the hook for every later halt; an empty function restores the default. Tests
    /// install a hook that records its arguments and returns.
    static void setFatalErrorHook(FatalErrorHook hook);

    /// Writes "Fatal error: <message>: file <file>, line <line>" to standard error and aborts.
    static const FatalErrorHook& defaultFatalErrorHook();
};

/// Calls the fatal-error hook once with the message, file and line, and never returns: when the
/// hook returns (a replaced one may), the calling thread waits for ever, so code after a halt
/// never runs.
[[noreturn]] void haltWithFatalError(const std::string& message, const char* file,
                                     std::uint32_t line);

/// As above, with the caller's own source location.
[[noreturn]] inline void haltWithFatalError(
    const std::string& message, std::source_location location = std::source_location::current()) {
    haltWithFatalError(message, location.file_name(), location.line());
}

}  // namespace kelvane
