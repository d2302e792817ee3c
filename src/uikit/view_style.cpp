#include <kelvane/uikit/view_style.hpp>

namespace kelvane::Kelvane {

using platform::CGColor;
using platform::CGFloat;
using platform::CGSize;
using platform::UIColor;
using platform::UIView;

namespace {

std::shared_ptr<UIColor> colorOf(const std::optional<CGColor>& color) {
    return color ? UIColor::colorWithCGColor(*color) : nullptr;
}

std::optional<CGColor> layerColorOf(const std::shared_ptr<UIColor>& color) {
    return color ? std::optional(color->cgColor()) : std::nullopt;
}

}  // namespace

std::shared_ptr<UIColor> borderColor(const UIView& view) {
    return colorOf(view.layer().borderColor());
}

void setBorderColor(UIView& view, const std::shared_ptr<UIColor>& color) {
    view.layer().setBorderColor(layerColorOf(color));
}

bool LightWhiteborderColor(const UIView& /*view*/) {
    return false;
}

void setLightWhiteborderColor(UIView& view, bool light) {
    if (light) {
        view.layer().setBorderColor(UIColor::colorWithWhite(1.0, 0.3)->cgColor());
    }
}

CGFloat borderWidth(const UIView& view) {
    return view.layer().borderWidth();
}

void setBorderWidth(UIView& view, CGFloat width) {
    view.layer().setBorderWidth(width);
}

CGFloat cornerRadiusView(const UIView& view) {
    return view.layer().cornerRadius();
}

void setCornerRadiusView(UIView& view, CGFloat radius) {
    view.layer().setCornerRadius(radius);
}

std::shared_ptr<UIColor> shadowColor(const UIView& view) {
    return colorOf(view.layer().shadowColor());
}

void setShadowColor(UIView& view, const std::shared_ptr<UIColor>& color) {
    view.layer().setShadowColor(layerColorOf(color));
}

float shadowOpacity(const UIView& view) {
    return view.layer().shadowOpacity();
}

void setShadowOpacity(UIView& view, float opacity) {
    view.layer().setShadowOpacity(opacity);
}

CGSize shadowOffset(const UIView& view) {
    return view.layer().shadowOffset();
}

void setShadowOffset(UIView& view, CGSize offset) {
    view.layer().setShadowOffset(offset);
}

CGFloat shadowRadius(const UIView& view) {
    return view.layer().shadowRadius();
}

void setShadowRadius(UIView& view, CGFloat radius) {
    view.layer().setShadowRadius(radius);
}

bool maskToBounds(const UIView& view) {
    return view.layer().masksToBounds();
}

void setMaskToBounds(UIView& view, bool masks) {
    view.layer().setMasksToBounds(masks);
}

}  // namespace kelvane::Kelvane
