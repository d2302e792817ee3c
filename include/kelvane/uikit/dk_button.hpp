#pragma once

#include <kelvane/platform/geometry.hpp>
#include <kelvane/platform/ui_button.hpp>
#include <kelvane/platform/ui_event.hpp>

namespace kelvane {

/// A button whose touch area reaches `touchMargin` points beyond its bounds on every side, so
/// that small buttons are easy to hit. Interface files (the host application) make it in place
/// of a plain button.
class DKButton : public platform::UIButton {
  public:
    using UIButton::UIButton;

    static constexpr platform::CGFloat touchMargin = 20;

    /// Whether the bounds grown by `touchMargin` on each side contain `point` (in the button's
    /// own coordinates), by the point-in-rectangle test: the grown rectangle's minimum edges are
    /// inside, its maximum edges outside. A button of zero size still answers for the points up
    /// to `touchMargin` around its origin. `event` is not looked at.
    bool pointInside(platform::CGPoint point, const platform::UIEvent* event) const override;
};

}  // namespace kelvane
