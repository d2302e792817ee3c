#include <memory>

#include <kelvane/core/printed.hpp>
#include <kelvane/uikit/dk_button.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "case_name.hpp"
#include "geometry_printers.hpp"

namespace {

using kelvane::DKButton;
using kelvane::platform::CGPoint;
using kelvane::platform::CGRect;
using kelvane::platform::UIButton;
using kelvane::platform::UIEvent;

struct TouchCase {
    const char* name;
    CGRect frame;
    CGPoint point;
    bool inside;
    friend void PrintTo(const TouchCase& c, std::ostream* out) { *out << c.name; }
};

class DKButtonTouch : public ::testing::TestWithParam<TouchCase> {};

TEST_P(DKButtonTouch, AnswersForItsBoundsGrownByTwentyPoints) {
    const std::shared_ptr<UIButton> button = std::make_shared<DKButton>(GetParam().frame);
    const auto event = std::make_shared<UIEvent>();
    EXPECT_EQ(button->pointInside(GetParam().point, nullptr), GetParam().inside);
    EXPECT_EQ(button->pointInside(GetParam().point, event.get()), GetParam().inside)
        << "the event is not looked at";
}

constexpr CGRect square{{100, 100}, {44, 44}};  // the frame's origin plays no part
constexpr CGRect empty{{100, 100}, {0, 0}};

INSTANTIATE_TEST_SUITE_P(
    Kelvane, DKButtonTouch,
    ::testing::Values(TouchCase{"MinimumCorner", square, {-20, -20}, true},
                      TouchCase{"JustLeftOfMinimum", square, {-20.5, 0}, false},
                      TouchCase{"JustAboveMinimum", square, {0, -20.01}, false},
                      TouchCase{"JustInsideMaximum", square, {63.9, 0}, true},
                      TouchCase{"MaximumX", square, {64, 0}, false},
                      TouchCase{"MaximumY", square, {0, 64}, false},
                      TouchCase{"Centre", square, {22, 22}, true},
                      TouchCase{"ZeroSizeMinimumCorner", empty, {-20, -20}, true},
                      TouchCase{"ZeroSizeOrigin", empty, {0, 0}, true},
                      TouchCase{"ZeroSizeJustInside", empty, {19.99, 19.99}, true},
                      TouchCase{"ZeroSizeMaximum", empty, {20, 0}, false}),
    kelvane::testing::caseName);

TEST(DKButton, UsesItsBoundsNotItsFrame) {
    const auto button = std::make_shared<DKButton>(CGRect{{0, 0}, {10, 10}});
    button->setBounds({{50, 50}, {10, 10}});  // its own space now starts at (50, 50)
    EXPECT_TRUE(button->pointInside({30, 30}, nullptr));
    EXPECT_FALSE(button->pointInside({-5, -5}, nullptr));
    const auto plain = std::make_shared<UIButton>(CGRect{{0, 0}, {10, 10}});
    EXPECT_FALSE(plain->pointInside({-5, -5}, nullptr)) << "plain buttons keep the bounds test";
}

TEST(DKButton, PrintsUnderItsClassName) {
    EXPECT_THAT(kelvane::printed(*std::make_shared<DKButton>()),
                ::testing::MatchesRegex("<Kelvane\\.DKButton: 0x[0-9a-f]+>"));
}

}  // namespace
