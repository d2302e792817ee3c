#include "framework/test_view_controller_component.hpp"

namespace kelvane {

std::shared_ptr<Object> makeTestViewControllerComponent(
    const std::optional<ComponentInfo>& /*info*/) {
    return std::make_shared<TestViewControllerComponent>(std::string(), nullptr);
}

}  // namespace kelvane
