#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include <kelvane/uikit/button_style.hpp>
#include <kelvane/uikit/image_view_style.hpp>
#include <kelvane/uikit/label_style.hpp>
#include <kelvane/uikit/style_value.hpp>
#include <kelvane/uikit/text_field_style.hpp>
#include <kelvane/uikit/view_style.hpp>

namespace kelvane::Kelvane {

using platform::CGSize;
using platform::UIButton;
using platform::UIColor;
using platform::UIImageView;
using platform::UILabel;
using platform::UITextField;
using platform::UIView;

namespace {

// Each conversion gives nothing for a value that does not fit the property's type.

std::optional<std::shared_ptr<UIColor>> asColor(const StyleValue& value) {
    if (std::holds_alternative<std::monostate>(value)) {
        return std::shared_ptr<UIColor>();
    }
    if (const auto* color = std::get_if<std::shared_ptr<UIColor>>(&value)) {
        return *color;
    }
    return std::nullopt;
}

std::optional<bool> asBool(const StyleValue& value) {
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return *integer != 0;
    }
    return std::nullopt;
}

std::optional<double> asDouble(const StyleValue& value) {
    if (const auto* number = std::get_if<double>(&value)) {
        return std::isfinite(*number) ? std::optional(*number) : std::nullopt;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return static_cast<double>(*integer);
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? 1.0 : 0.0;
    }
    return std::nullopt;
}

std::optional<float> asFloat(const StyleValue& value) {
    const auto number = asDouble(value);
    if (!number || std::fabs(*number) > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    return static_cast<float>(*number);
}

std::optional<std::int64_t> asInteger(const StyleValue& value) {
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return *integer;
    }
    if (const auto* number = std::get_if<double>(&value)) {
        // 2^63 is exact as a double; the range is [-2^63, 2^63).
        constexpr double limit = 9223372036854775808.0;
        if (std::isfinite(*number) && std::trunc(*number) == *number && *number >= -limit &&
            *number < limit) {
            return static_cast<std::int64_t>(*number);
        }
    }
    return std::nullopt;
}

std::optional<CGSize> asSize(const StyleValue& value) {
    if (const auto* size = std::get_if<CGSize>(&value)) {
        return *size;
    }
    return std::nullopt;
}

// Sets one property on a view of class `View` when the value converts.
template <class View, auto convert, auto set>
bool apply(UIView& view, const StyleValue& value) {
    auto* target = dynamic_cast<View*>(&view);
    if (target == nullptr) {
        return false;
    }
    const auto converted = convert(value);
    if (!converted) {
        return false;
    }
    set(*target, *converted);
    return true;
}

struct Property {
    std::string_view name;
    bool (*set)(UIView& view, const StyleValue& value);
};

constexpr Property properties[] = {
    {"borderColor", apply<UIView, asColor, setBorderColor>},
    {"LightWhiteborderColor", apply<UIView, asBool, setLightWhiteborderColor>},
    {"borderWidth", apply<UIView, asDouble, setBorderWidth>},
    {"cornerRadiusView", apply<UIView, asDouble, setCornerRadiusView>},
    {"shadowColor", apply<UIView, asColor, setShadowColor>},
    {"shadowOpacity", apply<UIView, asFloat, setShadowOpacity>},
    {"shadowOffset", apply<UIView, asSize, setShadowOffset>},
    {"shadowRadius", apply<UIView, asDouble, setShadowRadius>},
    {"maskToBounds", apply<UIView, asBool, setMaskToBounds>},
    {"sizeImage", apply<UIButton, asSize, setSizeImage>},
    {"adjustsFontSizeToFitWidth", apply<UIButton, asBool, setAdjustsFontSizeToFitWidth>},
    {"imageViewContentMode", apply<UIButton, asInteger, setImageViewContentMode>},
    {"adjustsFontSizeToFitWidthText", apply<UILabel, asBool, setAdjustsFontSizeToFitWidthText>},
    {"placeHolderColor", apply<UITextField, asColor, setPlaceHolderColor>},
    {"leftViewWidth", apply<UITextField, asDouble, setLeftViewWidth>},
    {"rightViewWidth", apply<UITextField, asDouble, setRightViewWidth>},
    {"templateImage", apply<UIImageView, asBool, setTemplateImage>},
};

}  // namespace

bool setValueForKey(UIView& view, std::string_view key, const StyleValue& value) {
    const auto* property = std::find_if(std::begin(properties), std::end(properties),
                                        [key](const Property& entry) { return entry.name == key; });
    return property != std::end(properties) && property->set(view, value);
}

}  // namespace kelvane::Kelvane
