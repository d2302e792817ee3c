#pragma once

#include <memory>

#include <kelvane/platform/geometry.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane::platform {

/// The components of a colour as layers keep it: red, green, blue and alpha. A plain value.
struct CGColor {
    CGFloat red = 0;
    CGFloat green = 0;
    CGFloat blue = 0;
    CGFloat alpha = 1;
    bool operator==(const CGColor&) const = default;
};

/// A colour. Immutable; components are kept as given (no clamping), as in an extended colour space.
/// Two colours are equal (`isEqual`) when their components are, so a colour read back from a
/// layer equals the one that was set although it is a new object.
class UIColor : public Object {
  public:
    UIColor(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    explicit UIColor(const CGColor& color);

    /// A grey: `white` in each of red, green and blue.
    static std::shared_ptr<UIColor> colorWithWhite(CGFloat white, CGFloat alpha);
    static std::shared_ptr<UIColor> colorWithCGColor(const CGColor& color);
    static std::shared_ptr<UIColor> blackColor();
    static std::shared_ptr<UIColor> whiteColor();
    static std::shared_ptr<UIColor> redColor();
    static std::shared_ptr<UIColor> blueColor();
    static std::shared_ptr<UIColor> clearColor();

    /// The colour's components, as a layer takes them.
    const CGColor& cgColor() const { return color_; }

    bool isEqual(const Object* other) const override;

  private:
    CGColor color_;
};

}  // namespace kelvane::platform
