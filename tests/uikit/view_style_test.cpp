#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <kelvane/platform/ui_view.hpp>
#include <kelvane/uikit/style_value.hpp>
#include <kelvane/uikit/view_style.hpp>

#include <gtest/gtest.h>

#include "case_name.hpp"
#include "geometry_printers.hpp"

namespace {

namespace Kelvane = kelvane::Kelvane;
using Kelvane::StyleValue;
using kelvane::platform::CGColor;
using kelvane::platform::CGSize;
using kelvane::platform::UIColor;
using kelvane::platform::UIView;

struct LayerCase {
    std::string name;
    std::string key;
    StyleValue value;
    std::function<void(const UIView&)> check;
    friend void PrintTo(const LayerCase& c, std::ostream* out) { *out << c.name; }
};

class ViewStyleByName : public ::testing::TestWithParam<LayerCase> {};

// Each property is set by name, as an interface file sets it, on a view whose layer already has a
// border and shadow colour and is masked, and read back through the layer and the accessor.
TEST_P(ViewStyleByName, ReachesTheLayer) {
    const auto view = std::make_shared<UIView>();
    view->layer().setBorderColor(CGColor{0, 1, 0, 1});
    view->layer().setShadowColor(CGColor{0, 1, 0, 1});
    view->layer().setMasksToBounds(true);
    ASSERT_TRUE(Kelvane::setValueForKey(*view, GetParam().key, GetParam().value));
    GetParam().check(*view);
}

const auto red = std::make_shared<UIColor>(1, 0, 0, 1);

INSTANTIATE_TEST_SUITE_P(
    Kelvane, ViewStyleByName,
    ::testing::Values(LayerCase{"BorderColor", "borderColor", red,
                                [](const UIView& v) {
                                    EXPECT_EQ(v.layer().borderColor(), (CGColor{1, 0, 0, 1}));
                                    const auto read = Kelvane::borderColor(v);
                                    ASSERT_NE(read, nullptr);
                                    EXPECT_TRUE(read->isEqual(red.get()));
                                }},
                      LayerCase{"BorderColorNil", "borderColor", std::monostate{},
                                [](const UIView& v) {
                                    EXPECT_EQ(v.layer().borderColor(), std::nullopt);
                                    EXPECT_EQ(Kelvane::borderColor(v), nullptr);
                                }},
                      LayerCase{
                          "BorderColorNullColour", "borderColor", std::shared_ptr<UIColor>(),
                          [](const UIView& v) { EXPECT_EQ(Kelvane::borderColor(v), nullptr); }},
                      LayerCase{"ShadowColor", "shadowColor", red,
                                [](const UIView& v) {
                                    EXPECT_EQ(v.layer().shadowColor(), (CGColor{1, 0, 0, 1}));
                                    EXPECT_TRUE(Kelvane::shadowColor(v)->isEqual(red.get()));
                                }},
                      LayerCase{"ShadowColorNil", "shadowColor", std::monostate{},
                                [](const UIView& v) {
                                    EXPECT_EQ(v.layer().shadowColor(), std::nullopt);
                                    EXPECT_EQ(Kelvane::shadowColor(v), nullptr);
                                }},
                      LayerCase{"BorderWidth", "borderWidth", 2.5,
                                [](const UIView& v) {
                                    EXPECT_EQ(v.layer().borderWidth(), 2.5);
                                    EXPECT_EQ(Kelvane::borderWidth(v), 2.5);
                                }},
                      LayerCase{"BorderWidthFromInteger", "borderWidth", std::int64_t{3},
                                [](const UIView& v) { EXPECT_EQ(Kelvane::borderWidth(v), 3.0); }},
                      LayerCase{"CornerRadiusKeepsMasking", "cornerRadiusView", 8.0,
                                [](const UIView& v) {
                                    EXPECT_EQ(v.layer().cornerRadius(), 8.0);
                                    EXPECT_EQ(Kelvane::cornerRadiusView(v), 8.0);
                                    EXPECT_TRUE(v.layer().masksToBounds());
                                }},
                      LayerCase{"ShadowOpacity", "shadowOpacity", 0.25,
                                [](const UIView& v) {
                                    EXPECT_EQ(v.layer().shadowOpacity(), 0.25F);
                                    EXPECT_EQ(Kelvane::shadowOpacity(v), 0.25F);
                                }},
                      LayerCase{"ShadowOffset", "shadowOffset", CGSize{2, -4},
                                [](const UIView& v) {
                                    EXPECT_EQ(v.layer().shadowOffset(), (CGSize{2, -4}));
                                    EXPECT_EQ(Kelvane::shadowOffset(v), (CGSize{2, -4}));
                                }},
                      LayerCase{"ShadowRadius", "shadowRadius", 6.0,
                                [](const UIView& v) {
                                    EXPECT_EQ(v.layer().shadowRadius(), 6.0);
                                    EXPECT_EQ(Kelvane::shadowRadius(v), 6.0);
                                }},
                      LayerCase{"MaskToBoundsOff", "maskToBounds", false,
                                [](const UIView& v) {
                                    EXPECT_FALSE(v.layer().masksToBounds());
                                    EXPECT_FALSE(Kelvane::maskToBounds(v));
                                }},
                      LayerCase{"MaskToBoundsFromInteger", "maskToBounds", std::int64_t{1},
                                [](const UIView& v) { EXPECT_TRUE(Kelvane::maskToBounds(v)); }}),
    kelvane::testing::caseName);

TEST(ViewStyle, LightWhiteBorderOnlyWritesAndOnlyWhenTrue) {
    const auto owner = std::make_shared<UIView>();
    UIView& view = *owner;
    Kelvane::setLightWhiteborderColor(view, true);
    EXPECT_EQ(view.layer().borderColor(), (CGColor{1, 1, 1, 0.3}));
    EXPECT_FALSE(Kelvane::LightWhiteborderColor(view));

    Kelvane::setBorderColor(view, red);
    Kelvane::setLightWhiteborderColor(view, false);
    EXPECT_EQ(view.layer().borderColor(), (CGColor{1, 0, 0, 1})) << "false changes nothing";

    ASSERT_TRUE(Kelvane::setValueForKey(view, "LightWhiteborderColor", true));
    EXPECT_EQ(view.layer().borderColor(), (CGColor{1, 1, 1, 0.3}));
    ASSERT_TRUE(Kelvane::setValueForKey(view, "LightWhiteborderColor", false));
    EXPECT_EQ(view.layer().borderColor(), (CGColor{1, 1, 1, 0.3}));
}

TEST(ViewStyle, ColourReadBackIsANewEqualObject) {
    const auto owner = std::make_shared<UIView>();
    UIView& view = *owner;
    Kelvane::setShadowColor(view, red);
    const auto read = Kelvane::shadowColor(view);
    EXPECT_NE(read, red) << "the layer keeps components, not the colour object";
    EXPECT_TRUE(read->isEqual(red.get()));
    EXPECT_FALSE(read->isEqual(UIColor::blueColor().get()));
}

}  // namespace
