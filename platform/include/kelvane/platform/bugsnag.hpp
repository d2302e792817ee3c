#pragma once

#include <functional>
#include <string>

namespace kelvane::platform {

/// The crash reporter, as far as the framework uses it: one operation that records a breadcrumb.
///
/// The host application connects its real crash reporter by installing a sink; with no sink a
/// breadcrumb has no effect. Never instantiated.
class Bugsnag {
  public:
    using BreadcrumbSink = std::function<void(const std::string& message)>;

    Bugsnag() = delete;

    /// Hands `message` to the installed sink, on the caller's thread. Safe from any thread; the
    /// sink then must be too. A sink replaced meanwhile may still receive a breadcrumb that was
    /// already under way.
    static void leaveBreadcrumbWithMessage(const std::string& message);

    /// Installs the sink for every later breadcrumb; an empty function removes it.
    static void setBreadcrumbSink(BreadcrumbSink sink);
};

}  // namespace kelvane::platform
