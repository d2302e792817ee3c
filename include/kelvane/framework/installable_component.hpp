#pragma once

#include <string>

namespace kelvane {

/// A component that the component registry can install: it is told when it has been added to
/// the installed list and when it has been removed from it.
///
/// Adopted beside the class's own base (`class Panel : public Object, public
/// InstallableComponent`); components are compared by identity.
class InstallableComponent {
  public:
    virtual ~InstallableComponent() = default;

    /// Called once the component is in the installed list.
    virtual void onInstall() = 0;
    /// Called once the component has left the installed list.
    virtual void onUninstall() = 0;

  protected:
    InstallableComponent() = default;
    InstallableComponent(const InstallableComponent&) = default;
    InstallableComponent& operator=(const InstallableComponent&) = default;
};

/// The printed form of a component: its description when it is a `kelvane::Object`
/// (`<Kelvane.TestComponent: 0x…>` unless it describes itself), else its qualified class name.
void printTo(std::string& out, const InstallableComponent& component);

}  // namespace kelvane
