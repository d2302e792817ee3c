#include <kelvane/platform/ui_text_field.hpp>

namespace kelvane::platform {

void UITextField::setPlaceholder(std::optional<std::string> placeholder) {
    attributedPlaceholder_ =
        placeholder ? std::make_shared<NSAttributedString>(*placeholder) : nullptr;
    placeholder_ = std::move(placeholder);
}

void UITextField::setAttributedPlaceholder(std::shared_ptr<NSAttributedString> placeholder) {
    placeholder_ = placeholder ? std::optional(placeholder->string()) : std::nullopt;
    attributedPlaceholder_ = std::move(placeholder);
}

}  // namespace kelvane::platform
