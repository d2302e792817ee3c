#pragma once

#include <optional>

#include <kelvane/platform/geometry.hpp>
#include <kelvane/platform/object.hpp>
#include <kelvane/platform/ui_color.hpp>

namespace kelvane::platform {

/// A view's Core Animation layer, reduced to the style it keeps: border, corners, shadow and
/// masking. Headless: nothing is drawn, values are stored as given and read back unchanged.
/// Defaults are the platform's: opaque black border and shadow colours, no border, no corner
/// radius, a shadow of opacity 0 with offset (0, -3) and radius 3, no masking.
class CALayer : public Object {
  public:
    /// Absent: no border colour.
    const std::optional<CGColor>& borderColor() const { return borderColor_; }
    void setBorderColor(std::optional<CGColor> color) { borderColor_ = color; }

    CGFloat borderWidth() const { return borderWidth_; }
    void setBorderWidth(CGFloat width) { borderWidth_ = width; }

    CGFloat cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(CGFloat radius) { cornerRadius_ = radius; }

    /// Absent: no shadow colour.
    const std::optional<CGColor>& shadowColor() const { return shadowColor_; }
    void setShadowColor(std::optional<CGColor> color) { shadowColor_ = color; }

    float shadowOpacity() const { return shadowOpacity_; }
    void setShadowOpacity(float opacity) { shadowOpacity_ = opacity; }

    CGSize shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(CGSize offset) { shadowOffset_ = offset; }

    CGFloat shadowRadius() const { return shadowRadius_; }
    void setShadowRadius(CGFloat radius) { shadowRadius_ = radius; }

    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool masks) { masksToBounds_ = masks; }

  private:
    std::optional<CGColor> borderColor_ = CGColor{0, 0, 0, 1};
    CGFloat borderWidth_ = 0;
    CGFloat cornerRadius_ = 0;
    std::optional<CGColor> shadowColor_ = CGColor{0, 0, 0, 1};
    float shadowOpacity_ = 0;
    CGSize shadowOffset_{0, -3};
    CGFloat shadowRadius_ = 3;
    bool masksToBounds_ = false;
};

}  // namespace kelvane::platform
