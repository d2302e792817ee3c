#pragma once

#include <kelvane/core/ref.hpp>
#include <kelvane/platform/bundle.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane {

/// The framework's start-up entry. Its instances have no use; everything is static.
///
///     kelvane::VelmoraBaseFramework::setup();  // once, when the host application starts
class VelmoraBaseFramework final : public Object {
  public:
    /// Starts the framework, in this order: configures the shared log (`Logger::logInitialize`,
    /// which writes "logger started" and "log path " + the file); writes the version line
    /// "Kelvane v " + version + "." + build to the log (no breadcrumb), from the bundle's
    /// "CFBundleShortVersionString" and "CFBundleVersion", skipped without a word when the
    /// bundle has no information dictionary or either value is missing or not a string; then
    /// registers the sample factories "TestComponent" and "TestViewController" with
    /// `ComponentManager::shared()`, each unless that name has a factory already.
    ///
    /// Creates no store and registers no event handler. Calling it again writes the three lines
    /// again and leaves the registry as it is. Never fails. Main thread.
    static void setup();

    /// The bundle whose information dictionary gives the version: the framework's own
    /// (`platform::Bundle::framework()`) until replaced. Safe from any thread.
    static Ref<platform::Bundle> bundle();

    /// Replaces the bundle for every later `setup()`; a host application may give its own.
    static void setBundle(Ref<platform::Bundle> bundle);
};

}  // namespace kelvane
