#include <algorithm>
#include <utility>

#include <kelvane/core/printed.hpp>
#include <kelvane/framework/component_manager.hpp>
#include <kelvane/logging/logger.hpp>
#include <kelvane/platform/detail/never_destroyed.hpp>

#include "core/shared_instance.hpp"

namespace kelvane {

namespace {

// ComponentManager's constructor is for subclasses; the shared registry is a plain one.
class PlainComponentManager final : public ComponentManager {};

// Never destroyed, so code running at exit may still use the registry.
detail::SharedInstance<ComponentManager>& sharedManager() {
    static platform::detail::NeverDestroyed<detail::SharedInstance<ComponentManager>> instance(
        [] { return Ref<ComponentManager>(std::make_shared<PlainComponentManager>()); });
    return *instance;
}

}  // namespace

ComponentManager::ComponentManager() = default;
ComponentManager::~ComponentManager() = default;

Ref<ComponentManager> ComponentManager::shared() {
    return sharedManager().get();
}

void ComponentManager::setShared(Ref<ComponentManager> manager) {
    sharedManager().set(std::move(manager));
}

void ComponentManager::registerFactory(const std::string& name, ComponentFactory factory) {
    if (factory) {
        factoryMap_.try_emplace(name, std::move(factory));
    }
}

std::shared_ptr<Object> ComponentManager::create(const std::string& name,
                                                 const std::optional<ComponentInfo>& info) {
    const auto found = factoryMap_.find(name);
    if (found == factoryMap_.end()) {
        Logger::error("fail to find component " + name +
                      ", please don't forget to call setup() of framework, also add factory "
                      "regster code in setup()");
        return nullptr;
    }
    // Factories are never replaced or removed, so the one found stays put while it runs.
    return found->second(info);
}

void ComponentManager::install(Ref<InstallableComponent> component) {
    if (indexOf(*component) != installedComponent_.size()) {
        return;
    }
    Logger::leaveBreadcrumbs("component installed - " + printed(component));
    installedComponent_.push_back(component);
    component->onInstall();
}

void ComponentManager::uninstall(Ref<InstallableComponent> component) {
    const std::size_t index = indexOf(*component);
    if (index == installedComponent_.size()) {
        return;
    }
    removeAt(index);
}

void ComponentManager::uninstallAll() {
    const auto installed = installedComponent_;
    for (const auto& component : installed) {
        const std::size_t index = indexOf(*component);
        if (index != installedComponent_.size()) {
            removeAt(index);
        }
    }
}

std::size_t ComponentManager::indexOf(const InstallableComponent& component) const {
    const void* const identity = identityOf(&component);
    const auto found = std::ranges::find_if(installedComponent_, [identity](const auto& installed) {
        return identityOf(installed.get()) == identity;
    });
    return static_cast<std::size_t>(found - installedComponent_.begin());
}

void ComponentManager::removeAt(std::size_t index) {
    // Held here: the list's reference goes before the component is told.
    const Ref<InstallableComponent> component = installedComponent_[index];
    Logger::leaveBreadcrumbs("component uninstalled - " + printed(component));
    installedComponent_.erase(installedComponent_.begin() + static_cast<std::ptrdiff_t>(index));
    component->onUninstall();
}

}  // namespace kelvane
