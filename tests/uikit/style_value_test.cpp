#include <limits>
#include <memory>
#include <string>

#include <kelvane/platform/ui_button.hpp>
#include <kelvane/platform/ui_label.hpp>
#include <kelvane/platform/ui_text_field.hpp>
#include <kelvane/platform/ui_view.hpp>
#include <kelvane/uikit/style_value.hpp>

#include <gtest/gtest.h>

#include "case_name.hpp"
#include "geometry_printers.hpp"

namespace {

namespace Kelvane = kelvane::Kelvane;
using Kelvane::StyleValue;
using kelvane::platform::CGSize;
using kelvane::platform::UIButton;
using kelvane::platform::UIColor;
using kelvane::platform::UIControlState;
using kelvane::platform::UIImage;
using kelvane::platform::UILabel;
using kelvane::platform::UITextField;
using kelvane::platform::UIView;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

struct Refusal {
    const char* name;
    std::shared_ptr<UIView> (*makeView)();
    const char* key;
    StyleValue value;
    friend void PrintTo(const Refusal& r, std::ostream* out) { *out << r.name; }
};

std::shared_ptr<UIView> plainView() {
    return std::make_shared<UIView>();
}

std::shared_ptr<UIView> labelView() {
    return std::make_shared<UILabel>();
}

std::shared_ptr<UIView> buttonWithImage() {
    auto button = std::make_shared<UIButton>();
    button->setImage(std::make_shared<UIImage>(CGSize{8, 8}), UIControlState::normal);
    return button;
}

// A description of everything the named properties can change, to show that a refusal changed
// nothing.
std::string stateOf(const UIView& view) {
    const auto& layer = view.layer();
    std::string state =
        std::to_string(layer.borderWidth()) + std::to_string(layer.cornerRadius()) +
        std::to_string(layer.shadowOpacity()) + std::to_string(layer.shadowRadius()) +
        std::to_string(layer.masksToBounds()) + std::to_string(layer.borderColor().has_value()) +
        std::to_string(layer.shadowColor().has_value());
    if (const auto* button = dynamic_cast<const UIButton*>(&view);
        button != nullptr && button->imageView()) {
        state += std::to_string(static_cast<std::int64_t>(button->imageView()->contentMode()));
        state += std::to_string(button->imageView()->image()->size().width);
    }
    return state;
}

class StyleValueRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(StyleValueRefusal, ReturnsFalseAndChangesNothing) {
    const auto view = GetParam().makeView();
    const auto before = stateOf(*view);
    EXPECT_FALSE(Kelvane::setValueForKey(*view, GetParam().key, GetParam().value));
    EXPECT_EQ(stateOf(*view), before);
}

INSTANTIATE_TEST_SUITE_P(
    Kelvane, StyleValueRefusal,
    ::testing::Values(
        Refusal{"UnknownKey", plainView, "borderwidth", 2.0},
        Refusal{"EmptyKey", plainView, "", 2.0},
        Refusal{"ButtonKeyOnPlainView", plainView, "sizeImage", CGSize{4, 4}},
        Refusal{"LabelKeyOnButton", buttonWithImage, "adjustsFontSizeToFitWidthText", true},
        Refusal{"TextFieldKeyOnLabel", labelView, "leftViewWidth", 10.0},
        Refusal{"NilForNumber", plainView, "borderWidth", std::monostate{}},
        Refusal{"ColourForNumber", plainView, "cornerRadiusView", UIColor::redColor()},
        Refusal{"NumberForColour", plainView, "borderColor", 1.0},
        Refusal{"NumberForTruthValue", plainView, "maskToBounds", 1.0},
        Refusal{"SizeForNumber", plainView, "shadowRadius", CGSize{1, 1}},
        Refusal{"NumberForSize", plainView, "shadowOffset", 3.0},
        Refusal{"InfiniteNumber", plainView, "borderWidth", inf},
        Refusal{"NanNumber", plainView, "shadowRadius", nan},
        Refusal{"OpacityBeyondFloat", plainView, "shadowOpacity", 1e300},
        Refusal{"FractionalContentMode", buttonWithImage, "imageViewContentMode", 1.5},
        Refusal{"ContentModeBeyondRange", buttonWithImage, "imageViewContentMode", 1e19},
        Refusal{"NilSizeImage", buttonWithImage, "sizeImage", std::monostate{}}),
    kelvane::testing::caseName);

TEST(StyleValue, SubclassesTakeTheirBasesProperties) {
    const auto field = std::make_shared<UITextField>();
    EXPECT_TRUE(Kelvane::setValueForKey(*field, "borderWidth", true));
    EXPECT_EQ(field->layer().borderWidth(), 1.0);
    EXPECT_TRUE(Kelvane::setValueForKey(*field, "shadowOpacity", std::int64_t{1}));
    EXPECT_EQ(field->layer().shadowOpacity(), 1.0F);
}

}  // namespace
