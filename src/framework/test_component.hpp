#pragma once

#include <memory>
#include <optional>
#include <string>

#include <kelvane/framework/component_manager.hpp>
#include <kelvane/framework/installable_component.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane {

/// The sample component that start-up registers as "TestComponent": a title and callbacks that
/// do nothing. Internal to the framework, but in its main namespace, since log lines show it as
/// `<Kelvane.TestComponent: 0x…>`.
class TestComponent final : public Object, public InstallableComponent {
  public:
    void onInstall() override {}
    void onUninstall() override {}

    std::optional<std::string> title;
};

/// The factory of "TestComponent": a new component whose title is info's "title" when that is a
/// text (`std::string` or a non-null C string), else absent. Never null.
std::shared_ptr<Object> makeTestComponent(const std::optional<ComponentInfo>& info);

}  // namespace kelvane
