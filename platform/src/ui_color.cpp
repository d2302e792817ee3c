#include <kelvane/platform/ui_color.hpp>

namespace kelvane::platform {

UIColor::UIColor(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
    : color_{red, green, blue, alpha} {}

UIColor::UIColor(const CGColor& color) : color_(color) {}

std::shared_ptr<UIColor> UIColor::colorWithWhite(CGFloat white, CGFloat alpha) {
    return std::make_shared<UIColor>(white, white, white, alpha);
}

std::shared_ptr<UIColor> UIColor::colorWithCGColor(const CGColor& color) {
    return std::make_shared<UIColor>(color);
}

std::shared_ptr<UIColor> UIColor::blackColor() {
    return std::make_shared<UIColor>(0, 0, 0, 1);
}

std::shared_ptr<UIColor> UIColor::whiteColor() {
    return std::make_shared<UIColor>(1, 1, 1, 1);
}

std::shared_ptr<UIColor> UIColor::redColor() {
    return std::make_shared<UIColor>(1, 0, 0, 1);
}

std::shared_ptr<UIColor> UIColor::blueColor() {
    return std::make_shared<UIColor>(0, 0, 1, 1);
}

std::shared_ptr<UIColor> UIColor::clearColor() {
    return std::make_shared<UIColor>(0, 0, 0, 0);
}

bool UIColor::isEqual(const Object* other) const {
    if (Object::isEqual(other)) {
        return true;
    }
    const auto* color = dynamic_cast<const UIColor*>(other);
    return color != nullptr && color->color_ == color_;
}

}  // namespace kelvane::platform
