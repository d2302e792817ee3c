#pragma once

// Setting the `Kelvane` style properties by name, as an interface file sets its runtime
// attributes.

#include <cstdint>
#include <memory>
#include <string_view>
#include <variant>

#include <kelvane/platform/geometry.hpp>
#include <kelvane/platform/ui_color.hpp>
#include <kelvane/platform/ui_view.hpp>

namespace kelvane::Kelvane {

/// A runtime attribute's value: nil, a truth value, a number (integer or floating point), a
/// size or a colour. A null colour counts as nil.
using StyleValue = std::variant<std::monostate, bool, std::int64_t, double, platform::CGSize,
                                std::shared_ptr<platform::UIColor>>;

/// Sets the style property named `key` (the names of the property accessors, for example
/// "borderWidth" or "LightWhiteborderColor") on `view` and returns true; returns false and
/// changes nothing when `view`'s class has no property of that name or `value` does not fit it:
/// - a colour property takes a colour or nil (nil clears, as the accessor does);
/// - a truth value takes a truth value or an integer (non-zero is true);
/// - a floating-point property takes a finite number or a truth value (1 or 0); the 32-bit
///   `shadowOpacity` also needs one within that type's range;
/// - `imageViewContentMode` takes an integer, or a floating-point number with an integral value
///   within the 64-bit range;
/// - a size property takes a size.
bool setValueForKey(platform::UIView& view, std::string_view key, const StyleValue& value);

}  // namespace kelvane::Kelvane
