#include <utility>

#include <kelvane/state/ui_test_entry.hpp>

namespace kelvane {

UITestAction::UITestAction(std::string title, ActionHandler actionHandler)
    : title(std::move(title)), actionHandler(std::move(actionHandler)) {}

UITestEntry::UITestEntry(std::string title, TestInitHandler testInitHandler)
    : title(std::move(title)), testInitHandler(std::move(testInitHandler)) {}

}  // namespace kelvane
