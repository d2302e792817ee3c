#include <kelvane/platform/ui_gesture_recognizer.hpp>
#include <kelvane/platform/ui_view.hpp>

namespace kelvane::platform {

CGPoint UIGestureRecognizer::locationInView(const UIView* view) const {
    return view != nullptr ? view->convertPointFromView(screenLocation_, nullptr) : screenLocation_;
}

void UIGestureRecognizer::update(UIGestureRecognizerState state, CGPoint location,
                                 const UIView* view) {
    state_ = state;
    screenLocation_ = view != nullptr ? view->convertPointToView(location, nullptr) : location;
    actions_.send(*this);
}

}  // namespace kelvane::platform
