#include <algorithm>

#include <kelvane/platform/ui_gesture_recognizer.hpp>
#include <kelvane/platform/ui_view.hpp>

namespace kelvane::platform {

UIView::UIView(CGRect frame)
    : frameOrigin_(frame.origin),
      bounds_{{0, 0}, frame.size},
      layer_(std::make_shared<CALayer>()) {}

UIView::~UIView() = default;

CGRect UIView::frame() const {
    return {frameOrigin_, bounds_.size};
}

void UIView::setFrame(CGRect frame) {
    const CGRect old = bounds_;
    frameOrigin_ = frame.origin;
    bounds_.size = frame.size;
    boundsDidChange(old);
}

void UIView::setBounds(CGRect bounds) {
    const CGRect old = bounds_;
    const CGPoint keptCenter = center();
    bounds_ = bounds;
    setCenter(keptCenter);
    boundsDidChange(old);
}

CGPoint UIView::center() const {
    return {frameOrigin_.x + bounds_.size.width / 2, frameOrigin_.y + bounds_.size.height / 2};
}

void UIView::setCenter(CGPoint center) {
    frameOrigin_ = {center.x - bounds_.size.width / 2, center.y - bounds_.size.height / 2};
}

template <class Visit>
bool UIView::anyAncestorOrSelf(Visit visit) const {
    std::shared_ptr<const UIView> holder;
    for (const UIView* view = this; view != nullptr; view = holder.get()) {
        if (visit(*view)) {
            return true;
        }
        holder = view->superview_.lock();
    }
    return false;
}

CGPoint UIView::screenOffset() const {
    // Views neither rotate nor scale here, so converting between spaces is a translation.
    CGPoint offset;
    anyAncestorOrSelf([&offset](const UIView& view) {
        offset.x += view.frameOrigin_.x - view.bounds_.origin.x;
        offset.y += view.frameOrigin_.y - view.bounds_.origin.y;
        return false;
    });
    return offset;
}

CGPoint UIView::convertPointToView(CGPoint point, const UIView* view) const {
    const CGPoint from = screenOffset();
    const CGPoint to = view != nullptr ? view->screenOffset() : CGPoint{};
    return {point.x + from.x - to.x, point.y + from.y - to.y};
}

CGPoint UIView::convertPointFromView(CGPoint point, const UIView* view) const {
    if (view != nullptr) {
        return view->convertPointToView(point, this);
    }
    const CGPoint offset = screenOffset();
    return {point.x - offset.x, point.y - offset.y};
}

bool UIView::pointInside(CGPoint point, const UIEvent* /*event*/) const {
    return bounds_.contains(point);
}

bool UIView::isAncestorOrSelf(const UIView* view) const {
    return anyAncestorOrSelf([view](const UIView& ancestor) { return &ancestor == view; });
}

void UIView::addSubview(const std::shared_ptr<UIView>& view) {
    insertSubviewAtIndex(view, subviews_.size());
}

void UIView::insertSubviewAtIndex(const std::shared_ptr<UIView>& view, std::size_t index) {
    if (!view || isAncestorOrSelf(view.get())) {
        return;
    }
    if (view->superview_.lock().get() == this) {
        // Only its place among the subviews changes; the view keeps its pin.
        std::erase(subviews_, view);
    } else {
        view->detachFromSuperview();
        view->superview_ = weak_from_this();
    }
    subviews_.insert(
        subviews_.begin() + static_cast<std::ptrdiff_t>(std::min(index, subviews_.size())), view);
}

void UIView::removeFromSuperview() {
    // The superview may hold the last reference to this view.
    const auto keepAlive = weak_from_this().lock();
    detachFromSuperview();
}

void UIView::detachFromSuperview() {
    if (const auto superview = superview_.lock()) {
        std::erase_if(superview->subviews_,
                      [this](const auto& subview) { return subview.get() == this; });
    }
    superview_.reset();
    pinnedToSuperviewEdges_ = false;
}

void UIView::configureForAutoLayout() {
    translatesAutoresizingMaskIntoConstraints_ = false;
}

bool UIView::autoPinEdgesToSuperviewEdges() {
    const auto superview = superview_.lock();
    if (!superview) {
        return false;
    }
    pinnedToSuperviewEdges_ = true;
    setFrame(superview->bounds_);
    return true;
}

void UIView::boundsDidChange(const CGRect& old) {
    if (bounds_ == old) {
        return;
    }
    for (const auto& subview : subviews_) {
        if (subview->pinnedToSuperviewEdges_) {
            subview->setFrame(bounds_);
        }
    }
}

void UIView::addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer) {
    if (!recognizer) {
        return;
    }
    if (const auto previous = recognizer->view()) {
        previous->removeGestureRecognizer(recognizer);
    }
    recognizer->view_ = weak_from_this();
    gestureRecognizers_.push_back(recognizer);
}

void UIView::removeGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer) {
    const auto found =
        std::find(gestureRecognizers_.begin(), gestureRecognizers_.end(), recognizer);
    if (found == gestureRecognizers_.end()) {
        return;
    }
    recognizer->view_.reset();
    gestureRecognizers_.erase(found);
}

}  // namespace kelvane::platform
