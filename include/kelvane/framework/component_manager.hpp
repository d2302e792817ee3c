#pragma once

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/core/ref.hpp>
#include <kelvane/framework/installable_component.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane {

namespace detail {
struct ComponentManagerAccess;
}  // namespace detail

/// Parameters for a component factory, by key. Values are of any type; texts are best given as
/// `std::string` (the sample factories also read a C string).
using ComponentInfo = std::map<std::string, std::any>;

/// Builds a component from the parameters it is given (or none); may return null.
using ComponentFactory =
    std::function<std::shared_ptr<Object>(const std::optional<ComponentInfo>& info)>;

/// The registry of named component factories and of installed components.
///
/// `create` builds a component by name. `install` and `uninstall` keep the installed list: each
/// change is logged as a breadcrumb ("component installed - " / "component uninstalled - " + the
/// printed component), then made, then the component is told. The list holds each object once
/// (by identity) and keeps it alive until it is uninstalled. A callback may call the registry
/// again: the change that triggered it is complete by then.
///
/// Components are passed as `Ref`s, never null: a null pointer given for one halts through the
/// fatal-error hook (see `Assertions`).
///
/// Threads: no lock; use the registry from one thread at a time (the main thread). Only
/// `shared()` and `setShared()` are safe from any thread.
///
///     auto& registry = *kelvane::ComponentManager::shared();
///     auto panel = registry.create("TestComponent", kelvane::ComponentInfo{{"title", "Notes"}});
///     if (auto installable = std::dynamic_pointer_cast<kelvane::InstallableComponent>(panel)) {
///         registry.install(installable);
///     }
class ComponentManager {
  public:
    virtual ~ComponentManager();
    ComponentManager(const ComponentManager&) = delete;
    ComponentManager& operator=(const ComponentManager&) = delete;

    /// The process-wide registry, made empty on first use (once, whichever thread comes first).
    /// Never destroyed at exit.
    static Ref<ComponentManager> shared();

    /// Replaces the process-wide registry (a subclass of the host application's, say). The
    /// previous one is released once nobody else holds it.
    static void setShared(Ref<ComponentManager> manager);

    /// Registers `factory` under `name` unless a factory has that name already: the first
    /// registration wins, silently. (Named for what it registers; "register" is a C++ keyword.)
    /// An empty function registers nothing.
    virtual void registerFactory(const std::string& name, ComponentFactory factory);

    /// The component that the factory `name` builds from `info`, returned as it is (null when the
    /// factory gives none). Without such a factory: logs the error "fail to find component " +
    /// name + ", please don't forget to call setup() of framework, also add factory regster code
    /// in setup()" (with "Error: " before it, and as a breadcrumb) and returns null.
    virtual std::shared_ptr<Object> create(const std::string& name,
                                           const std::optional<ComponentInfo>& info = std::nullopt);

    /// Logs, appends `component` to the installed list, then calls its `onInstall()`. Nothing
    /// when it is installed already.
    virtual void install(Ref<InstallableComponent> component);

    /// Logs, removes `component` from the installed list, then calls its `onUninstall()`. Nothing
    /// when it is not installed.
    virtual void uninstall(Ref<InstallableComponent> component);

    /// Uninstalls, in installation order, every component installed when the call began and still
    /// installed when its turn comes (a callback may have uninstalled it). Components installed
    /// by a callback meanwhile stay installed.
    virtual void uninstallAll();

  protected:
    /// For subclasses; other code uses `shared()`.
    ComponentManager();

  private:
    friend struct detail::ComponentManagerAccess;

    // The index of `component` in the installed list; the list's size when it is not there.
    std::size_t indexOf(const InstallableComponent& component) const;
    void removeAt(std::size_t index);

    std::map<std::string, ComponentFactory> factoryMap_;
    std::vector<Ref<InstallableComponent>> installedComponent_;
};

}  // namespace kelvane
