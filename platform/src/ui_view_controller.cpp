#include <algorithm>

#include <kelvane/platform/ui_view_controller.hpp>

namespace kelvane::platform {

UIViewController::UIViewController(std::optional<std::string> nibName,
                                   std::shared_ptr<Bundle> bundle)
    : nibName_(std::move(nibName)), nibBundle_(std::move(bundle)) {}

std::shared_ptr<UIView> UIViewController::view() {
    loadViewIfNeeded();
    return view_;
}

void UIViewController::loadViewIfNeeded() {
    // A view asked for while it is being made must not start making another.
    if (view_ || loadingView_) {
        return;
    }
    loadingView_ = true;
    loadView();
    loadingView_ = false;
    if (!view_) {
        view_ = std::make_shared<UIView>();
    }
    viewDidLoad();
}

void UIViewController::loadView() {
    if (nibName_) {
        const auto objects =
            UINib::nibWithNibName(*nibName_, nibBundle_)->instantiateWithOwner(this);
        if (!view_) {
            for (const auto& object : objects) {
                if (auto view = std::dynamic_pointer_cast<UIView>(object)) {
                    view_ = std::move(view);
                    break;
                }
            }
        }
    }
    if (!view_) {
        view_ = std::make_shared<UIView>();
    }
}

namespace {

bool isSelfOrAncestor(const UIViewController& controller, const UIViewController* candidate) {
    for (auto ancestor = controller.parentViewController(); ancestor;
         ancestor = ancestor->parentViewController()) {
        if (ancestor.get() == candidate) {
            return true;
        }
    }
    return &controller == candidate;
}

}  // namespace

void UIViewController::addChildViewController(const std::shared_ptr<UIViewController>& child) {
    if (!child || isSelfOrAncestor(*this, child.get()) || child->parent_.lock().get() == this) {
        return;
    }
    child->removeFromParentViewController();
    const auto self = weak_from_this().lock();
    child->willMoveToParentViewController(self);
    children_.push_back(child);
    child->parent_ = self;
}

void UIViewController::removeFromParentViewController() {
    const auto parent = parent_.lock();
    parent_.reset();
    if (!parent) {
        return;
    }
    // The parent may hold the last reference to this controller.
    const auto keepAlive = weak_from_this().lock();
    std::erase_if(parent->children_, [this](const auto& child) { return child.get() == this; });
    didMoveToParentViewController(nullptr);
}

void UIViewController::willMoveToParentViewController(const std::shared_ptr<UIViewController>&) {}

void UIViewController::didMoveToParentViewController(const std::shared_ptr<UIViewController>&) {}

}  // namespace kelvane::platform
