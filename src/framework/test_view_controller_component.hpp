#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include <kelvane/framework/component_manager.hpp>
#include <kelvane/platform/bundle.hpp>
#include <kelvane/platform/ui_view_controller.hpp>

namespace kelvane {

/// The sample view-controller component that start-up registers as "TestViewController". It is
/// not installable. Its view, asked for, is a plain empty one: no nib has the empty name.
class TestViewControllerComponent final : public platform::UIViewController {
  public:
    TestViewControllerComponent(std::optional<std::string> nibName,
                                std::shared_ptr<platform::Bundle> bundle)
        : UIViewController(std::move(nibName), std::move(bundle)) {}
};

/// The factory of "TestViewController": a new controller with the nib name "" and no bundle;
/// info is ignored. Never null.
std::shared_ptr<Object> makeTestViewControllerComponent(const std::optional<ComponentInfo>& info);

}  // namespace kelvane
