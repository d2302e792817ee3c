#include <memory>

#include <kelvane/platform/ui_image_view.hpp>
#include <kelvane/platform/ui_label.hpp>
#include <kelvane/uikit/image_view_style.hpp>
#include <kelvane/uikit/label_style.hpp>
#include <kelvane/uikit/style_value.hpp>

#include <gtest/gtest.h>

#include "case_name.hpp"
#include "geometry_printers.hpp"

namespace {

namespace Kelvane = kelvane::Kelvane;
using kelvane::platform::CGSize;
using kelvane::platform::UIImage;
using kelvane::platform::UIImageRenderingMode;
using kelvane::platform::UIImageView;
using kelvane::platform::UILabel;

struct TemplateCase {
    const char* name;
    UIImageRenderingMode before;
    bool setting;
    UIImageRenderingMode after;
    friend void PrintTo(const TemplateCase& c, std::ostream* out) { *out << c.name; }
};

class TemplateImage : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(TemplateImage, ReplacesTheImageByACopyInTheChosenMode) {
    const auto original = std::make_shared<UIImage>(CGSize{24, 24}, GetParam().before);
    const auto imageView = std::make_shared<UIImageView>(original);
    ASSERT_TRUE(Kelvane::setValueForKey(*imageView, "templateImage", GetParam().setting));

    const auto image = imageView->image();
    ASSERT_NE(image, original);
    EXPECT_EQ(image->renderingMode(), GetParam().after);
    EXPECT_EQ(image->size(), (CGSize{24, 24}));
    EXPECT_EQ(original->renderingMode(), GetParam().before);
    EXPECT_EQ(Kelvane::templateImage(*imageView),
              GetParam().after == UIImageRenderingMode::alwaysTemplate);
}

INSTANTIATE_TEST_SUITE_P(
    Kelvane, TemplateImage,
    ::testing::Values(TemplateCase{"AutomaticTurnedOn", UIImageRenderingMode::automatic, true,
                                   UIImageRenderingMode::alwaysTemplate},
                      TemplateCase{"TemplateTurnedOff", UIImageRenderingMode::alwaysTemplate, false,
                                   UIImageRenderingMode::automatic},
                      // Off means automatic, not back to what the image had.
                      TemplateCase{"OriginalTurnedOff", UIImageRenderingMode::alwaysOriginal, false,
                                   UIImageRenderingMode::automatic}),
    kelvane::testing::caseName);

TEST(TemplateImageWithoutImage, StaysWithoutImageAndReadsFalse) {
    const auto imageView = std::make_shared<UIImageView>();
    Kelvane::setTemplateImage(*imageView, true);
    EXPECT_EQ(imageView->image(), nullptr);
    EXPECT_FALSE(Kelvane::templateImage(*imageView));
    imageView->setImage(
        std::make_shared<UIImage>(CGSize{1, 1}, UIImageRenderingMode::alwaysOriginal));
    EXPECT_FALSE(Kelvane::templateImage(*imageView));
}

TEST(LabelStyle, FitsTextToWidthByName) {
    const auto label = std::make_shared<UILabel>();
    ASSERT_TRUE(Kelvane::setValueForKey(*label, "adjustsFontSizeToFitWidthText", true));
    EXPECT_TRUE(label->adjustsFontSizeToFitWidth());
    Kelvane::setAdjustsFontSizeToFitWidthText(*label, false);
    EXPECT_FALSE(Kelvane::adjustsFontSizeToFitWidthText(*label));
}

}  // namespace
