#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include <kelvane/platform/ca_layer.hpp>
#include <kelvane/platform/geometry.hpp>
#include <kelvane/platform/object.hpp>
#include <kelvane/platform/ui_color.hpp>

namespace kelvane::platform {

class UIEvent;
class UIGestureRecognizer;

/// How a view lays out its content when its size changes. Raw values are the platform's; a view
/// keeps any raw value it is given.
enum class UIViewContentMode : std::int64_t {
    scaleToFill = 0,
    scaleAspectFit = 1,
    scaleAspectFill = 2,
    redraw = 3,
    center = 4,
    top = 5,
    bottom = 6,
    left = 7,
    right = 8,
    topLeft = 9,
    topRight = 10,
    bottomLeft = 11,
    bottomRight = 12,
};

/// A view: a rectangle in its superview, a layer, and subviews. Headless: nothing is drawn and
/// layout is immediate.
///
/// Views are owned through `std::shared_ptr` (made with `std::make_shared`): a superview holds its
/// subviews and gesture recognizers strongly, a view holds its superview weakly. Like every UIKit
/// object, views are used from one thread (the main thread) and are not synchronised.
///
/// Geometry: `frame` is the view's rectangle in its superview's coordinates, `bounds` the same
/// rectangle in the view's own coordinates (its origin is the point of the view's own space shown
/// at the frame's top-left corner); the two share their size. Setting the bounds keeps the centre.
class UIView : public Object, public std::enable_shared_from_this<UIView> {
  public:
    explicit UIView(CGRect frame = {});
    ~UIView() override;

    // Geometry.
    CGRect frame() const;
    void setFrame(CGRect frame);
    CGRect bounds() const { return bounds_; }
    void setBounds(CGRect bounds);
    CGPoint center() const;
    void setCenter(CGPoint center);

    /// Converts a point of this view's coordinates into `view`'s; a null `view` means the screen,
    /// the space in which views without a superview are placed by their frames. Works between
    /// any two views, also of separate hierarchies.
    CGPoint convertPointToView(CGPoint point, const UIView* view) const;
    /// Converts a point of `view`'s coordinates (the screen's for null) into this view's.
    CGPoint convertPointFromView(CGPoint point, const UIView* view) const;

    /// Whether `point`, in the view's own coordinates, is inside the view: by default whether the
    /// bounds contain it. Subclasses may answer for a larger or smaller area; `event` may be null.
    virtual bool pointInside(CGPoint point, const UIEvent* event) const;

    // Hierarchy.
    /// The superview, or null when there is none or it is gone.
    std::shared_ptr<UIView> superview() const { return superview_.lock(); }
    /// The subviews, back to front (a copy).
    std::vector<std::shared_ptr<UIView>> subviews() const { return subviews_; }
    /// Adds `view` in front of the other subviews (see `insertSubviewAtIndex`).
    void addSubview(const std::shared_ptr<UIView>& view);
    /// Inserts `view` among the subviews at `index` (0 is behind all; an index past the end puts
    /// it in front). A view that has another superview leaves it first. Null, this view and its
    /// ancestors are refused without change (a view cannot contain itself).
    void insertSubviewAtIndex(const std::shared_ptr<UIView>& view, std::size_t index);
    /// Leaves the superview; nothing when there is none. The view's auto-layout pin ends.
    void removeFromSuperview();

    // Auto-layout.
    bool translatesAutoresizingMaskIntoConstraints() const {
        return translatesAutoresizingMaskIntoConstraints_;
    }
    /// Turns off the translation of the autoresizing mask into constraints, as auto-layout wants
    /// of a view before it is constrained.
    void configureForAutoLayout();
    /// Pins the view's four edges to its superview's: its frame becomes the superview's bounds at
    /// once, and again whenever they change, until the view leaves that superview. A frame set on
    /// the view meanwhile holds until the next change. Returns false, changing nothing, when the
    /// view has no superview.
    bool autoPinEdgesToSuperviewEdges();
    /// Lays out at once what needs it. Layout here is always immediate, so nothing is left to do.
    void layoutIfNeeded() {}

    // Appearance.
    CALayer& layer() { return *layer_; }
    const CALayer& layer() const { return *layer_; }
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    /// Null: no background colour.
    std::shared_ptr<UIColor> backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::shared_ptr<UIColor> color) { backgroundColor_ = std::move(color); }
    UIViewContentMode contentMode() const { return contentMode_; }
    void setContentMode(UIViewContentMode mode) { contentMode_ = mode; }

    // Gestures.
    /// Attaches `recognizer`, taking it from the view it was on; null is ignored.
    void addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);
    void removeGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);
    std::vector<std::shared_ptr<UIGestureRecognizer>> gestureRecognizers() const {
        return gestureRecognizers_;
    }

    /// Called once a view built from an interface file is complete, with its outlets connected.
    /// Does nothing here; subclasses finish their set-up in it.
    virtual void awakeFromNib() {}

  private:
    template <class Visit>
    bool anyAncestorOrSelf(Visit visit) const;
    bool isAncestorOrSelf(const UIView* view) const;
    void detachFromSuperview();
    CGPoint screenOffset() const;
    void boundsDidChange(const CGRect& old);

    CGPoint frameOrigin_;
    CGRect bounds_;
    std::shared_ptr<CALayer> layer_;
    std::weak_ptr<UIView> superview_;
    std::vector<std::shared_ptr<UIView>> subviews_;
    std::vector<std::shared_ptr<UIGestureRecognizer>> gestureRecognizers_;
    std::shared_ptr<UIColor> backgroundColor_;
    UIViewContentMode contentMode_ = UIViewContentMode::scaleToFill;
    bool hidden_ = false;
    bool translatesAutoresizingMaskIntoConstraints_ = true;
    bool pinnedToSuperviewEdges_ = false;
};

}  // namespace kelvane::platform
