#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/core/ref.hpp>
#include <kelvane/platform/object.hpp>
#include <kelvane/platform/ui_view_controller.hpp>

namespace kelvane {

/// One titled action of a developer test entry; the test screen runs `actionHandler` when its row
/// is selected. Storage only: the fields are public and freely writable. Compared by identity;
/// prints as `<Kelvane.UITestAction: 0x…>`.
class UITestAction final : public Object {
  public:
    using ActionHandler = std::function<void()>;

    UITestAction(std::string title, ActionHandler actionHandler);

    std::optional<std::string> title;
    ActionHandler actionHandler;
};

/// One entry of the developer test catalogue that `UITestState::allTestEntries` holds. The test
/// screen calls `testInitHandler` with a new child view controller when the entry is opened, and
/// lists `actions` (empty at first; filled by whoever builds the catalogue). Storage only: the
/// fields are public and freely writable. Compared by identity; prints as
/// `<Kelvane.UITestEntry: 0x…>`.
class UITestEntry final : public Object {
  public:
    using TestInitHandler = std::function<void(std::shared_ptr<platform::UIViewController>)>;

    UITestEntry(std::string title, TestInitHandler testInitHandler);

    std::optional<std::string> title;
    TestInitHandler testInitHandler;
    std::vector<Ref<UITestAction>> actions;
};

}  // namespace kelvane
