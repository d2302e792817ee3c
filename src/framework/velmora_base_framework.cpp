#include <any>
#include <string>

#include <kelvane/framework/component_manager.hpp>
#include <kelvane/framework/velmora_base_framework.hpp>
#include <kelvane/logging/logger.hpp>
#include <kelvane/platform/detail/never_destroyed.hpp>

#include "core/shared_instance.hpp"
#include "framework/test_component.hpp"
#include "framework/test_view_controller_component.hpp"
#include "logging/log.hpp"

namespace kelvane {

namespace {

// Never destroyed, so code running at exit may still ask for the bundle.
detail::SharedInstance<platform::Bundle>& frameworkBundle() {
    static platform::detail::NeverDestroyed<detail::SharedInstance<platform::Bundle>> instance(
        [] { return Ref<platform::Bundle>(platform::Bundle::framework()); });
    return *instance;
}

}  // namespace

void VelmoraBaseFramework::setup() {
    Logger::logInitialize();

    const Ref<platform::Bundle> info = bundle();
    const std::any build = info->objectForInfoDictionaryKey("CFBundleVersion");
    const std::any version = info->objectForInfoDictionaryKey("CFBundleShortVersionString");
    const auto* buildText = std::any_cast<std::string>(&build);
    const auto* versionText = std::any_cast<std::string>(&version);
    if (buildText != nullptr && versionText != nullptr) {
        sharedLog().write("Kelvane v " + *versionText + "." + *buildText);
    }

    const Ref<ComponentManager> registry = ComponentManager::shared();
    registry->registerFactory("TestComponent", makeTestComponent);
    registry->registerFactory("TestViewController", makeTestViewControllerComponent);
}

Ref<platform::Bundle> VelmoraBaseFramework::bundle() {
    return frameworkBundle().get();
}

void VelmoraBaseFramework::setBundle(Ref<platform::Bundle> bundle) {
    frameworkBundle().set(std::move(bundle));
}

}  // namespace kelvane
