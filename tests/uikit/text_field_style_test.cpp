#include <limits>
#include <memory>

#include <kelvane/platform/ui_text_field.hpp>
#include <kelvane/uikit/style_value.hpp>
#include <kelvane/uikit/text_field_style.hpp>

#include <gtest/gtest.h>

#include "case_name.hpp"
#include "geometry_printers.hpp"

namespace {

namespace Kelvane = kelvane::Kelvane;
using kelvane::platform::CGFloat;
using kelvane::platform::CGRect;
using kelvane::platform::UIColor;
using kelvane::platform::UITextField;
using kelvane::platform::UITextFieldViewMode;
using kelvane::platform::UIView;

TEST(TextFieldStyle, PlaceholderColourColoursThePlaceholderText) {
    const auto field = std::make_shared<UITextField>();
    const auto grey = UIColor::colorWithWhite(0.5, 1);
    field->setPlaceholder("Folder name");
    EXPECT_EQ(Kelvane::placeHolderColor(*field), nullptr) << "a plain placeholder has no colour";

    Kelvane::setPlaceHolderColor(*field, grey);
    const auto placeholder = field->attributedPlaceholder();
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->string(), "Folder name");
    EXPECT_EQ(placeholder->attributes().size(), 1U);
    EXPECT_EQ(Kelvane::placeHolderColor(*field), grey);

    ASSERT_TRUE(Kelvane::setValueForKey(*field, "placeHolderColor", std::monostate{}));
    EXPECT_EQ(field->attributedPlaceholder()->string(), "Folder name") << "the text stays";
    EXPECT_TRUE(field->attributedPlaceholder()->attributes().empty());
    EXPECT_EQ(Kelvane::placeHolderColor(*field), nullptr);

    const auto empty = std::make_shared<UITextField>();
    Kelvane::setPlaceHolderColor(*empty, grey);
    EXPECT_EQ(empty->attributedPlaceholder()->string(), "");
    EXPECT_EQ(empty->placeholder(), "");
}

// The left and right side insets behave alike.
struct Side {
    const char* name;
    CGFloat (*width)(const UITextField&);
    void (*setWidth)(UITextField&, CGFloat);
    std::shared_ptr<UIView> (UITextField::*view)() const;
    void (UITextField::*setView)(std::shared_ptr<UIView>);
    UITextFieldViewMode (UITextField::*mode)() const;
    friend void PrintTo(const Side& side, std::ostream* out) { *out << side.name; }
};

class TextFieldSide : public ::testing::TestWithParam<Side> {};

TEST_P(TextFieldSide, WidthInstallsANewEmptyViewAsHighAsTheFieldThen) {
    const Side& side = GetParam();
    const auto field = std::make_shared<UITextField>(CGRect{{0, 0}, {200, 30}});
    EXPECT_EQ(side.width(*field), 0) << "no side view";
    const auto own = std::make_shared<UIView>(CGRect{{0, 0}, {12, 30}});
    own->addSubview(std::make_shared<UIView>());
    ((*field).*side.setView)(own);
    EXPECT_EQ(side.width(*field), 12) << "whatever code installed the view";

    ASSERT_TRUE(Kelvane::setValueForKey(*field, std::string(side.name) + "ViewWidth", 16.0));
    const auto installed = ((*field).*side.view)();
    ASSERT_NE(installed, own);
    EXPECT_EQ(installed->frame(), (CGRect{{0, 0}, {16, 30}}));
    EXPECT_TRUE(installed->subviews().empty());
    EXPECT_EQ(((*field).*side.mode)(), UITextFieldViewMode::always);

    field->setFrame({{0, 0}, {200, 44}});
    EXPECT_EQ(installed->frame().size.height, 30) << "the height does not follow the field";
    EXPECT_EQ(side.width(*field), 16);

    for (const CGFloat width : {-8.0, std::numeric_limits<CGFloat>::quiet_NaN()}) {
        side.setWidth(*field, width);
        EXPECT_EQ(side.width(*field), 0) << width << " counts as no width";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kelvane, TextFieldSide,
    ::testing::Values(Side{"left", Kelvane::leftViewWidth, Kelvane::setLeftViewWidth,
                           &UITextField::leftView, &UITextField::setLeftView,
                           &UITextField::leftViewMode},
                      Side{"right", Kelvane::rightViewWidth, Kelvane::setRightViewWidth,
                           &UITextField::rightView, &UITextField::setRightView,
                           &UITextField::rightViewMode}),
    kelvane::testing::caseName);

}  // namespace
