#pragma once

#include <cstdint>

#include <kelvane/platform/ui_gesture_recognizer.hpp>

namespace kelvane::platform {

/// Recognises a drag (pan) of one or more fingers.
class UIPanGestureRecognizer : public UIGestureRecognizer {
  public:
    using UIGestureRecognizer::UIGestureRecognizer;

    /// The fewest fingers that make a pan; 1 by default.
    std::int64_t minimumNumberOfTouches() const { return minimumNumberOfTouches_; }
    void setMinimumNumberOfTouches(std::int64_t touches) { minimumNumberOfTouches_ = touches; }

  private:
    std::int64_t minimumNumberOfTouches_ = 1;
};

}  // namespace kelvane::platform
