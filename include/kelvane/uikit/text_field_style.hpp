#pragma once

// The `Kelvane` style properties of text fields: placeholder colour and side insets. Main thread
// only.

#include <memory>

#include <kelvane/platform/geometry.hpp>
#include <kelvane/platform/ui_color.hpp>
#include <kelvane/platform/ui_text_field.hpp>

namespace kelvane::Kelvane {

/// The text colour of the field's attributed placeholder; null when it has none (also when the
/// field has no placeholder, or its placeholder was set as plain text since).
std::shared_ptr<platform::UIColor> placeHolderColor(const platform::UITextField& field);
/// Makes the attributed placeholder the field's placeholder text ("" when it has none) with
/// `color` as its only attribute, the text colour. Null gives the text without attributes, so
/// the placeholder takes the default look again.
void setPlaceHolderColor(platform::UITextField& field,
                         const std::shared_ptr<platform::UIColor>& color);

/// The frame width of the field's left view, whichever code installed it; 0 without one.
platform::CGFloat leftViewWidth(const platform::UITextField& field);
/// Installs a new, empty plain view as the left view, always shown, framed (0, 0, width, the
/// field's height now). The height does not follow later changes of the field. A negative or
/// non-finite width counts as 0.
void setLeftViewWidth(platform::UITextField& field, platform::CGFloat width);

/// The same as `leftViewWidth`, for the right view.
platform::CGFloat rightViewWidth(const platform::UITextField& field);
/// The same as `setLeftViewWidth`, for the right view.
void setRightViewWidth(platform::UITextField& field, platform::CGFloat width);

}  // namespace kelvane::Kelvane
