#include <memory>
#include <vector>

#include <kelvane/platform/ui_button.hpp>
#include <kelvane/platform/ui_pan_gesture_recognizer.hpp>
#include <kelvane/platform/ui_view_controller.hpp>

#include <gtest/gtest.h>

#include "geometry_printers.hpp"

namespace {

using kelvane::platform::CGPoint;
using kelvane::platform::CGRect;
using kelvane::platform::UIButton;
using kelvane::platform::UIGestureRecognizerState;
using kelvane::platform::UIPanGestureRecognizer;
using kelvane::platform::UIView;
using kelvane::platform::UIViewController;

struct Step {
    UIGestureRecognizerState state;
    CGPoint location;
    bool onButton;
};

// A screen that drags its button, as the test root screen does.
class DragScreen : public UIViewController {
  public:
    void panGestureHandler(UIPanGestureRecognizer& pan) {
        const auto onView = pan.view();
        steps.push_back({pan.state(), pan.locationInView(view().get()),
                         std::dynamic_pointer_cast<UIButton>(onView) != nullptr});
    }
    std::vector<Step> steps;
};

TEST(UIPanGestureRecognizer, SendsEveryStepWithItsLocationInTheAskedView) {
    auto screen = std::make_shared<DragScreen>();
    screen->view()->setFrame({{50, 50}, {300, 300}});
    auto button = std::make_shared<UIButton>(CGRect{{10, 10}, {44, 44}});
    screen->view()->addSubview(button);

    auto pan = std::make_shared<UIPanGestureRecognizer>(screen->shared_from_this(),
                                                        &DragScreen::panGestureHandler);
    EXPECT_EQ(pan->minimumNumberOfTouches(), 1);
    button->addGestureRecognizer(pan);
    EXPECT_EQ(pan->view(), button);

    pan->update(UIGestureRecognizerState::began, {5, 5}, button.get());   // in the button
    pan->update(UIGestureRecognizerState::changed, {100, 120}, nullptr);  // on the screen
    pan->update(UIGestureRecognizerState::failed, {0, 0}, screen->view().get());
    ASSERT_EQ(screen->steps.size(), 3U);
    EXPECT_EQ(screen->steps[0].state, UIGestureRecognizerState::began);
    EXPECT_EQ(screen->steps[0].location, (CGPoint{15, 15}));
    EXPECT_TRUE(screen->steps[0].onButton);
    EXPECT_EQ(screen->steps[1].location, (CGPoint{50, 70}));
    EXPECT_EQ(screen->steps[2].state, UIGestureRecognizerState::failed);
    EXPECT_EQ(pan->state(), UIGestureRecognizerState::failed);

    auto other = std::make_shared<UIView>();
    other->addGestureRecognizer(pan);  // moves: one view at a time
    EXPECT_TRUE(button->gestureRecognizers().empty());
    EXPECT_EQ(pan->view(), other);
}

TEST(UIPanGestureRecognizer, HoldsItsTargetWeakly) {
    auto screen = std::make_shared<DragScreen>();
    auto button = std::make_shared<UIButton>();
    screen->view()->addSubview(button);
    button->addGestureRecognizer(std::make_shared<UIPanGestureRecognizer>(
        screen->shared_from_this(), &DragScreen::panGestureHandler));
    const auto pan = button->gestureRecognizers().front();

    std::weak_ptr<DragScreen> weakScreen = screen;
    screen.reset();  // the screen owns the view that owns the button that owns the recognizer
    EXPECT_TRUE(weakScreen.expired()) << "a recognizer must not keep its target alive";
    pan->update(UIGestureRecognizerState::ended, {1, 1}, nullptr);  // and sends nothing
}

}  // namespace
