#include <kelvane/platform/ui_control.hpp>

namespace kelvane::platform {

void UIControl::setSelected(bool selected) {
    if (selected_ == selected) {
        return;
    }
    selected_ = selected;
    stateDidChange();
}

UIControlState UIControl::state() const {
    return selected_ ? UIControlState::selected : UIControlState::normal;
}

void UIControl::sendActionsForControlEvents(UIControlEvents events) {
    actions_.send(*this, static_cast<std::uint64_t>(events));
}

}  // namespace kelvane::platform
