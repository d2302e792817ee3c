#include <memory>
#include <string>
#include <vector>

#include <kelvane/platform/ui_button.hpp>

#include <gtest/gtest.h>

namespace {

using kelvane::Object;
using kelvane::platform::CGSize;
using kelvane::platform::UIButton;
using kelvane::platform::UIControl;
using kelvane::platform::UIControlEvents;
using kelvane::platform::UIControlState;
using kelvane::platform::UIImage;

class Screen : public Object, public std::enable_shared_from_this<Screen> {
  public:
    virtual ~Screen() = default;
    std::vector<std::string> calls;
};

// Targets are often registered through a base's shared_from_this().
class MenuScreen : public Screen {
  public:
    void actionBtnPlus(UIButton& sender) {
        calls.push_back("plus");
        sender.setSelected(!sender.isSelected());
    }
    void actionBtnBack(Object&) { calls.push_back("back"); }
};

TEST(UIControlActions, SendsToLiveTargetsOfMatchingEventsAndSenders) {
    auto screen = std::make_shared<MenuScreen>();
    auto button = std::make_shared<UIButton>();
    auto plainControl = std::make_shared<UIControl>();
    button->addTarget(std::static_pointer_cast<Screen>(screen), &MenuScreen::actionBtnPlus,
                      UIControlEvents::touchUpInside);
    button->addTarget(screen, &MenuScreen::actionBtnBack, UIControlEvents::valueChanged);
    plainControl->addTarget(screen, &MenuScreen::actionBtnPlus, UIControlEvents::touchUpInside);

    button->sendActionsForControlEvents(UIControlEvents::touchUpInside);
    EXPECT_TRUE(button->isSelected());
    button->sendActionsForControlEvents(UIControlEvents::valueChanged);
    plainControl->sendActionsForControlEvents(UIControlEvents::touchUpInside);  // not a button
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"plus", "back"}));

    std::weak_ptr<MenuScreen> weakScreen = screen;
    screen.reset();
    EXPECT_TRUE(weakScreen.expired()) << "a control must not keep its target alive";
    button->sendActionsForControlEvents(UIControlEvents::touchUpInside);
    EXPECT_TRUE(button->isSelected()) << "a target that is gone gets no action";
}

TEST(UIButtonContent, ImageViewShowsTheCurrentStatesImageOrTheNormalOne) {
    auto button = std::make_shared<UIButton>();
    EXPECT_EQ(button->imageView(), nullptr);
    EXPECT_EQ(button->titleLabel(), nullptr);

    const auto normal = std::make_shared<UIImage>(CGSize{10, 10});
    const auto selected = std::make_shared<UIImage>(CGSize{20, 20});
    button->setImage(normal, UIControlState::normal);
    ASSERT_NE(button->imageView(), nullptr);
    EXPECT_EQ(button->imageView()->superview(), button);
    EXPECT_EQ(button->imageView()->image(), normal);

    button->setSelected(true);
    EXPECT_EQ(button->imageView()->image(), normal)
        << "no selected image: the normal one stands in";
    button->setImage(selected, UIControlState::selected);
    EXPECT_EQ(button->imageView()->image(), selected);
    EXPECT_EQ(button->imageForState(UIControlState::highlighted), nullptr)
        << "no fallback when asked";

    button->setSelected(false);
    EXPECT_EQ(button->imageView()->image(), normal);
    button->setImage(nullptr, UIControlState::normal);
    EXPECT_NE(button->imageView(), nullptr) << "the image view stays";
    EXPECT_EQ(button->imageView()->image(), nullptr);
    EXPECT_EQ(button->imageForState(UIControlState::selected), selected);

    button->setTitle("Add", UIControlState::normal);
    ASSERT_NE(button->titleLabel(), nullptr);
    EXPECT_EQ(button->titleLabel()->text(), "Add");
}

}  // namespace
