#pragma once

#include <cstdint>
#include <memory>

#include <kelvane/platform/detail/target_actions.hpp>
#include <kelvane/platform/geometry.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane::platform {

class UIView;

/// The states of a gesture recognizer. Raw values are the platform's.
enum class UIGestureRecognizerState : std::int64_t {
    possible = 0,
    began = 1,
    changed = 2,
    ended = 3,
    cancelled = 4,
    failed = 5,
};

/// Recognises a gesture on the view it is attached to and sends its actions to its targets.
///
/// Headless: no touches arrive by themselves. The host application (or a test), playing the user,
/// reports each step of a gesture with `update`. The recognizer holds its view and its targets
/// weakly; the view holds the recognizer. Main thread only.
class UIGestureRecognizer : public Object {
  public:
    UIGestureRecognizer() = default;

    /// Makes a recognizer that sends `action` to `target` (see `addTarget`).
    template <class Owner, class Target, class Argument>
    UIGestureRecognizer(const std::shared_ptr<Owner>& target, void (Target::*action)(Argument&)) {
        addTarget(target, action);
    }

    /// Adds a target and its action, called with this recognizer at every update. The target is
    /// held weakly: once it is gone its action is no longer sent. `target` may be held through a
    /// base of the action's class (`shared_from_this()` inside a subclass).
    template <class Owner, class Target, class Argument>
    void addTarget(const std::shared_ptr<Owner>& target, void (Target::*action)(Argument&)) {
        actions_.add(target, action);
    }

    /// The view the recognizer is attached to, or null.
    std::shared_ptr<UIView> view() const { return view_.lock(); }
    UIGestureRecognizerState state() const { return state_; }

    /// Where the gesture is, in `view`'s coordinates (the screen's for null).
    CGPoint locationInView(const UIView* view) const;

    /// A step of the gesture, as the platform's touch handling reports it: the recognizer takes
    /// `state` and the touch location, given in `view`'s coordinates (the screen's for null), then
    /// sends its actions, whatever the state.
    void update(UIGestureRecognizerState state, CGPoint location, const UIView* view);

  private:
    friend class UIView;

    std::weak_ptr<UIView> view_;
    UIGestureRecognizerState state_ = UIGestureRecognizerState::possible;
    CGPoint screenLocation_;
    detail::TargetActions<UIGestureRecognizer> actions_;
};

}  // namespace kelvane::platform
