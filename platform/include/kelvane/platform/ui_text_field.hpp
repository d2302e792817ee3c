#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <kelvane/platform/ns_attributed_string.hpp>
#include <kelvane/platform/ui_view.hpp>

namespace kelvane::platform {

/// When a text field shows a side view. Raw values are the platform's.
enum class UITextFieldViewMode : std::int64_t {
    never = 0,
    whileEditing = 1,
    unlessEditing = 2,
    always = 3,
};

/// A one-line text entry, reduced to its placeholder and its side views.
///
/// The placeholder and the attributed placeholder are one value seen two ways, as on the
/// platform: setting the placeholder replaces the attributed one by its text without attributes;
/// setting the attributed placeholder makes its text the placeholder (null clears both).
class UITextField : public UIView {
  public:
    using UIView::UIView;

    const std::optional<std::string>& placeholder() const { return placeholder_; }
    void setPlaceholder(std::optional<std::string> placeholder);
    /// Null: no placeholder.
    std::shared_ptr<NSAttributedString> attributedPlaceholder() const {
        return attributedPlaceholder_;
    }
    void setAttributedPlaceholder(std::shared_ptr<NSAttributedString> placeholder);

    /// The view at the field's left end, held by the field; null: none.
    std::shared_ptr<UIView> leftView() const { return leftView_; }
    void setLeftView(std::shared_ptr<UIView> view) { leftView_ = std::move(view); }
    UITextFieldViewMode leftViewMode() const { return leftViewMode_; }
    void setLeftViewMode(UITextFieldViewMode mode) { leftViewMode_ = mode; }

    /// The view at the field's right end, held by the field; null: none.
    std::shared_ptr<UIView> rightView() const { return rightView_; }
    void setRightView(std::shared_ptr<UIView> view) { rightView_ = std::move(view); }
    UITextFieldViewMode rightViewMode() const { return rightViewMode_; }
    void setRightViewMode(UITextFieldViewMode mode) { rightViewMode_ = mode; }

  private:
    std::optional<std::string> placeholder_;
    std::shared_ptr<NSAttributedString> attributedPlaceholder_;
    std::shared_ptr<UIView> leftView_;
    std::shared_ptr<UIView> rightView_;
    UITextFieldViewMode leftViewMode_ = UITextFieldViewMode::never;
    UITextFieldViewMode rightViewMode_ = UITextFieldViewMode::never;
};

}  // namespace kelvane::platform
