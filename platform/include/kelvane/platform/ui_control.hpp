#pragma once

#include <cstdint>
#include <memory>

#include <kelvane/platform/detail/target_actions.hpp>
#include <kelvane/platform/ui_view.hpp>

namespace kelvane::platform {

/// The states a control shows; raw values are the platform's bits. `normal` is no bit set.
enum class UIControlState : std::uint64_t {
    normal = 0,
    highlighted = 1 << 0,
    disabled = 1 << 1,
    selected = 1 << 2,
};

/// The events a control sends actions for; raw values are the platform's bits.
enum class UIControlEvents : std::uint64_t {
    touchUpInside = 1 << 6,
    valueChanged = 1 << 12,
};

/// A view that the user acts on: it has a selected state and sends actions to targets.
/// Targets are held weakly (see `addTarget`). Main thread only.
class UIControl : public UIView {
  public:
    using UIView::UIView;

    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    /// `selected` when selected, else `normal`.
    UIControlState state() const;

    /// Adds `action` of `target`, sent for `events` with this control as sender. The target is
    /// held weakly: once it is gone its action is no longer sent. `target` may be held through a
    /// base of the action's class (`shared_from_this()` inside a subclass); the action runs only
    /// when the sender is an `Argument` (`UIButton&` for a button, `Object&` for any sender).
    template <class Owner, class Target, class Argument>
    void addTarget(const std::shared_ptr<Owner>& target, void (Target::*action)(Argument&),
                   UIControlEvents events) {
        actions_.add(target, action, static_cast<std::uint64_t>(events));
    }

    /// Sends the actions registered for `events`, as the platform does when the user acts (a tap
    /// is `touchUpInside`).
    void sendActionsForControlEvents(UIControlEvents events);

  protected:
    /// Called after the control's state changed.
    virtual void stateDidChange() {}

  private:
    detail::TargetActions<UIControl> actions_;
    bool selected_ = false;
};

}  // namespace kelvane::platform
