#include <limits>
#include <memory>

#include <kelvane/platform/ui_button.hpp>
#include <kelvane/uikit/button_style.hpp>
#include <kelvane/uikit/style_value.hpp>

#include <gtest/gtest.h>

#include "geometry_printers.hpp"

namespace {

namespace Kelvane = kelvane::Kelvane;
using kelvane::platform::CGSize;
using kelvane::platform::UIButton;
using kelvane::platform::UIControlState;
using kelvane::platform::UIImage;
using kelvane::platform::UIImageRenderingMode;
using kelvane::platform::UIViewContentMode;

class ButtonStyle : public ::testing::Test {
  protected:
    ButtonStyle() {
        button->setImage(original, UIControlState::normal);
        button->setImage(selected, UIControlState::selected);
    }

    std::shared_ptr<UIImage> original =
        std::make_shared<UIImage>(CGSize{64, 48}, UIImageRenderingMode::alwaysTemplate);
    std::shared_ptr<UIImage> selected = std::make_shared<UIImage>(CGSize{10, 10});
    std::shared_ptr<UIButton> button = std::make_shared<UIButton>();
};

TEST_F(ButtonStyle, SizeImageRedrawsTheShownImageForTheNormalStateOnly) {
    EXPECT_EQ(Kelvane::sizeImage(*button), (CGSize{64, 48}));

    Kelvane::setSizeImage(*button, {32, 24});
    const auto first = button->imageForState(UIControlState::normal);
    ASSERT_NE(first, original);
    EXPECT_EQ(first->size(), (CGSize{32, 24}));
    EXPECT_EQ(first->renderingMode(), UIImageRenderingMode::automatic) << "a drawn bitmap";
    EXPECT_EQ(original->size(), (CGSize{64, 48})) << "the old image is not changed";
    EXPECT_EQ(button->imageForState(UIControlState::selected), selected);
    EXPECT_EQ(Kelvane::sizeImage(*button), (CGSize{32, 24}));

    // The second setting draws from what the image view shows now: the first setting's image.
    ASSERT_EQ(button->imageView()->image(), first);
    ASSERT_TRUE(Kelvane::setValueForKey(*button, "sizeImage", CGSize{16, 12}));
    EXPECT_NE(button->imageForState(UIControlState::normal), first);
    EXPECT_EQ(Kelvane::sizeImage(*button), (CGSize{16, 12}));
}

TEST_F(ButtonStyle, SizeImageWithoutABitmapSizeKeepsTheImage) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    for (const CGSize size :
         {CGSize{0, 0}, CGSize{0, 10}, CGSize{-5, 10}, CGSize{10, nan}, CGSize{inf, 10}}) {
        Kelvane::setSizeImage(*button, size);
        EXPECT_EQ(button->imageForState(UIControlState::normal), original);
    }
}

TEST(ButtonStyleWithoutParts, ReadsZeroAndIgnoresSettings) {
    const auto bare = std::make_shared<UIButton>();
    EXPECT_EQ(Kelvane::sizeImage(*bare), (CGSize{0, 0}));
    Kelvane::setSizeImage(*bare, {20, 20});
    Kelvane::setAdjustsFontSizeToFitWidth(*bare, true);
    Kelvane::setImageViewContentMode(*bare, 1);
    EXPECT_EQ(bare->imageView(), nullptr) << "no image view is made";
    EXPECT_EQ(bare->titleLabel(), nullptr) << "no title label is made";
    EXPECT_FALSE(Kelvane::adjustsFontSizeToFitWidth(*bare));
    EXPECT_EQ(Kelvane::imageViewContentMode(*bare), 0);

    // An image view without an image: nothing to draw.
    bare->setImage(std::make_shared<UIImage>(CGSize{5, 5}), UIControlState::normal);
    bare->setImage(nullptr, UIControlState::normal);
    Kelvane::setSizeImage(*bare, {20, 20});
    EXPECT_EQ(bare->imageForState(UIControlState::normal), nullptr);
    EXPECT_EQ(Kelvane::sizeImage(*bare), (CGSize{0, 0}));
}

TEST_F(ButtonStyle, TitleFittingAndContentModeReachTheirViews) {
    button->setTitle("Record", UIControlState::normal);
    Kelvane::setAdjustsFontSizeToFitWidth(*button, true);
    EXPECT_TRUE(button->titleLabel()->adjustsFontSizeToFitWidth());
    EXPECT_TRUE(Kelvane::adjustsFontSizeToFitWidth(*button));

    // Raw values pass without a range check, as the platform's setter takes them.
    for (const std::int64_t mode : {std::int64_t{2}, std::int64_t{99}, std::int64_t{-1}}) {
        Kelvane::setImageViewContentMode(*button, mode);
        EXPECT_EQ(static_cast<std::int64_t>(button->imageView()->contentMode()), mode);
        EXPECT_EQ(Kelvane::imageViewContentMode(*button), mode);
    }
    ASSERT_TRUE(Kelvane::setValueForKey(*button, "imageViewContentMode", 1.0));
    EXPECT_EQ(button->imageView()->contentMode(), UIViewContentMode::scaleAspectFit);
}

}  // namespace
