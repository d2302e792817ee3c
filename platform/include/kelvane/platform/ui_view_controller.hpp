#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/platform/bundle.hpp>
#include <kelvane/platform/object.hpp>
#include <kelvane/platform/ui_view.hpp>

namespace kelvane::platform {

/// Manages a view: loads it on first use, and holds child view controllers.
///
/// Controllers are owned through `std::shared_ptr` (made with `std::make_shared`). A controller
/// holds its view and its children strongly and its parent weakly. Main thread only.
///
/// Loading the view (`loadView`): when the controller has a nib name and its bundle (the main
/// bundle when none was given) holds that nib, the nib is instantiated with the controller as
/// owner; its builder sets the view (`setView`), else the nib's first top-level view becomes it.
/// In every other case (no nib name, a nib the bundle does not hold, a nib without a view) the
/// view is a new, empty plain view, where the platform would stop the program.
class UIViewController : public Object, public std::enable_shared_from_this<UIViewController> {
  public:
    /// A controller whose view comes from the nib `nibName` of `bundle` (see above).
    explicit UIViewController(std::optional<std::string> nibName = std::nullopt,
                              std::shared_ptr<Bundle> bundle = nullptr);

    const std::optional<std::string>& nibName() const { return nibName_; }
    /// The bundle given at construction; may be null.
    const std::shared_ptr<Bundle>& nibBundle() const { return nibBundle_; }

    /// The view, loaded first when it is not yet (`loadView`, then `viewDidLoad`). Never null,
    /// except when asked for from inside `loadView` before that has set it.
    std::shared_ptr<UIView> view();
    bool isViewLoaded() const { return view_ != nullptr; }
    void loadViewIfNeeded();
    /// Replaces the view; null unloads it, so that the next `view()` loads it again.
    void setView(std::shared_ptr<UIView> view) { view_ = std::move(view); }

    /// Makes the view (see the class comment). Overrides set the view with `setView`.
    virtual void loadView();
    /// Called once the view is loaded. Does nothing here.
    virtual void viewDidLoad() {}

    // Child containment.
    /// The children, in the order they were added (a copy).
    std::vector<std::shared_ptr<UIViewController>> childViewControllers() const {
        return children_;
    }
    /// The parent, or null when there is none or it is gone.
    std::shared_ptr<UIViewController> parentViewController() const { return parent_.lock(); }
    /// Adds `child` after the other children: first tells it `willMoveToParentViewController`
    /// with this controller, then adds it. A child of another parent is first removed from it.
    /// Null, this controller, its ancestors and its present children are ignored.
    void addChildViewController(const std::shared_ptr<UIViewController>& child);
    /// Leaves the parent, then tells this controller `didMoveToParentViewController` with null.
    /// Nothing when there is no parent. The view stays where it is.
    void removeFromParentViewController();
    /// Told before the controller moves to `parent` (null: it is about to leave its parent).
    /// Does nothing here.
    virtual void willMoveToParentViewController(const std::shared_ptr<UIViewController>& parent);
    /// Told after the controller moved to `parent` (null: it left its parent). Does nothing here.
    virtual void didMoveToParentViewController(const std::shared_ptr<UIViewController>& parent);

  private:
    std::optional<std::string> nibName_;
    std::shared_ptr<Bundle> nibBundle_;
    std::shared_ptr<UIView> view_;
    bool loadingView_ = false;
    std::weak_ptr<UIViewController> parent_;
    std::vector<std::shared_ptr<UIViewController>> children_;
};

}  // namespace kelvane::platform
