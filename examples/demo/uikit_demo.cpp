// The view extensions at work: views styled by name as an interface file would, and the enlarged
// touch area of a small button.
#include <cstdio>
#include <memory>

#include <kelvane/core/printed.hpp>
#include <kelvane/platform/uikit.hpp>
#include <kelvane/uikit.hpp>

#include "demo.hpp"

namespace {

namespace Kelvane = kelvane::Kelvane;
namespace platform = kelvane::platform;

void printColor(const char* what, const std::shared_ptr<platform::UIColor>& color) {
    if (color) {
        const auto& c = color->cgColor();
        std::printf("%s: rgba(%g, %g, %g, %g)\n", what, c.red, c.green, c.blue, c.alpha);
    } else {
        std::printf("%s: none\n", what);
    }
}

void styleCard() {
    // What an interface file's runtime attributes do to a card view.
    const auto card = std::make_shared<platform::UIView>(platform::CGRect{{0, 0}, {320, 120}});
    Kelvane::setValueForKey(*card, "LightWhiteborderColor", true);
    Kelvane::setValueForKey(*card, "borderWidth", 1.0);
    Kelvane::setValueForKey(*card, "cornerRadiusView", 12.0);
    Kelvane::setValueForKey(*card, "shadowColor", platform::UIColor::blackColor());
    Kelvane::setValueForKey(*card, "shadowOpacity", 0.2);
    Kelvane::setValueForKey(*card, "shadowOffset", platform::CGSize{0, 2});
    const bool typo = Kelvane::setValueForKey(*card, "borderwidth", 3.0);

    printColor("card border colour", Kelvane::borderColor(*card));
    std::printf("card LightWhiteborderColor reads %s (it only writes)\n",
                Kelvane::LightWhiteborderColor(*card) ? "true" : "false");
    std::printf("card border width %g, corner radius %g, masks to bounds %s\n",
                Kelvane::borderWidth(*card), Kelvane::cornerRadiusView(*card),
                Kelvane::maskToBounds(*card) ? "true" : "false");
    printColor("card shadow colour", Kelvane::shadowColor(*card));
    std::printf("card shadow opacity %g, offset (%g, %g), radius %g\n",
                Kelvane::shadowOpacity(*card), Kelvane::shadowOffset(*card).width,
                Kelvane::shadowOffset(*card).height, Kelvane::shadowRadius(*card));
    std::printf("misspelt key \"borderwidth\" accepted: %s\n", typo ? "true" : "false");
}

void styleControls() {
    const auto field = std::make_shared<platform::UITextField>(platform::CGRect{{0, 0}, {280, 36}});
    field->setPlaceholder("Recording title");
    Kelvane::setValueForKey(*field, "leftViewWidth", 12.0);
    Kelvane::setValueForKey(*field, "placeHolderColor", platform::UIColor::colorWithWhite(0.6, 1));
    const auto leftFrame = field->leftView()->frame();
    std::printf("text field left view (%g, %g, %g x %g), always shown: %s\n", leftFrame.origin.x,
                leftFrame.origin.y, leftFrame.size.width, leftFrame.size.height,
                field->leftViewMode() == platform::UITextFieldViewMode::always ? "true" : "false");
    printColor("text field placeholder colour", Kelvane::placeHolderColor(*field));

    const auto icon = std::make_shared<platform::UIImageView>(
        std::make_shared<platform::UIImage>(platform::CGSize{24, 24}));
    Kelvane::setValueForKey(*icon, "templateImage", true);
    std::printf("image view templateImage: %s\n", Kelvane::templateImage(*icon) ? "true" : "false");

    const auto button = std::make_shared<platform::UIButton>();
    button->setImage(std::make_shared<platform::UIImage>(platform::CGSize{96, 96}),
                     platform::UIControlState::normal);
    Kelvane::setValueForKey(*button, "sizeImage", platform::CGSize{32, 32});
    std::printf("button sizeImage after setting (32, 32): (%g, %g)\n",
                Kelvane::sizeImage(*button).width, Kelvane::sizeImage(*button).height);
}

void touchSmallButton() {
    const auto small = std::make_shared<kelvane::DKButton>(platform::CGRect{{200, 40}, {24, 24}});
    const auto plain = std::make_shared<platform::UIButton>(platform::CGRect{{200, 40}, {24, 24}});
    std::printf("%s, bounds 24 x 24\n", kelvane::printed(*small).c_str());
    for (const platform::CGPoint point :
         {platform::CGPoint{12, 12}, platform::CGPoint{-20, -20}, platform::CGPoint{43.9, 12},
          platform::CGPoint{44, 12}, platform::CGPoint{-20.5, 0}}) {
        std::printf("touch at (%g, %g): DKButton %s, plain button %s\n", point.x, point.y,
                    small->pointInside(point, nullptr) ? "hit" : "miss",
                    plain->pointInside(point, nullptr) ? "hit" : "miss");
    }
}

}  // namespace

void demo::runUIKitDemo() {
    section("view extensions");
    styleCard();
    styleControls();
    touchSmallButton();
}
