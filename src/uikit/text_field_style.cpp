#include <cmath>

#include <kelvane/uikit/text_field_style.hpp>

namespace kelvane::Kelvane {

using platform::CGFloat;
using platform::CGRect;
using platform::NSAttributedString;
using platform::UIColor;
using platform::UITextField;
using platform::UITextFieldViewMode;
using platform::UIView;

namespace {

std::shared_ptr<UIView> sideView(const UITextField& field, CGFloat width) {
    const CGFloat kept = std::isfinite(width) && width > 0 ? width : 0;
    return std::make_shared<UIView>(CGRect{{0, 0}, {kept, field.frame().height()}});
}

CGFloat widthOf(const std::shared_ptr<UIView>& view) {
    return view ? view->frame().width() : 0;
}

}  // namespace

std::shared_ptr<UIColor> placeHolderColor(const UITextField& field) {
    const auto placeholder = field.attributedPlaceholder();
    if (!placeholder) {
        return nullptr;
    }
    const auto color = placeholder->attribute(platform::NSForegroundColorAttributeName);
    const auto* value = std::any_cast<std::shared_ptr<UIColor>>(&color);
    return value != nullptr ? *value : nullptr;
}

void setPlaceHolderColor(UITextField& field, const std::shared_ptr<UIColor>& color) {
    NSAttributedString::Attributes attributes;
    if (color) {
        attributes.emplace(platform::NSForegroundColorAttributeName, color);
    }
    field.setAttributedPlaceholder(std::make_shared<NSAttributedString>(
        field.placeholder().value_or(""), std::move(attributes)));
}

CGFloat leftViewWidth(const UITextField& field) {
    return widthOf(field.leftView());
}

void setLeftViewWidth(UITextField& field, CGFloat width) {
    field.setLeftView(sideView(field, width));
    field.setLeftViewMode(UITextFieldViewMode::always);
}

CGFloat rightViewWidth(const UITextField& field) {
    return widthOf(field.rightView());
}

void setRightViewWidth(UITextField& field, CGFloat width) {
    field.setRightView(sideView(field, width));
    field.setRightViewMode(UITextFieldViewMode::always);
}

}  // namespace kelvane::Kelvane
