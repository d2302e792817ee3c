#include <memory>
#include <string>
#include <vector>

#include <kelvane/platform/bundle.hpp>
#include <kelvane/platform/ui_label.hpp>
#include <kelvane/platform/ui_view_controller.hpp>

#include <gtest/gtest.h>

namespace {

using kelvane::Object;
using kelvane::platform::Bundle;
using kelvane::platform::UILabel;
using kelvane::platform::UIView;
using kelvane::platform::UIViewController;

// A screen with an outlet, recording what it is told.
class RecordingController : public UIViewController {
  public:
    using UIViewController::UIViewController;

    void viewDidLoad() override {
        UIViewController::viewDidLoad();
        events.push_back("viewDidLoad");
    }
    void willMoveToParentViewController(const std::shared_ptr<UIViewController>& parent) override {
        events.push_back(std::string("will ") + (parent ? "parent" : "nil") + " children=" +
                         std::to_string(parent ? parent->childViewControllers().size() : 0));
    }
    void didMoveToParentViewController(const std::shared_ptr<UIViewController>& parent) override {
        events.push_back(std::string("did ") + (parent ? "parent" : "nil") +
                         (parentViewController() ? " attached" : " detached"));
    }

    std::weak_ptr<UILabel> titleLabel;  // an outlet, connected by the nib
    std::vector<std::string> events;
};

TEST(UIViewControllerView, LoadsOnceOnFirstUse) {
    auto controller = std::make_shared<RecordingController>();
    EXPECT_FALSE(controller->isViewLoaded());
    const auto view = controller->view();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(controller->view(), view);
    EXPECT_EQ(controller->events, std::vector<std::string>{"viewDidLoad"});
}

TEST(UIViewControllerView, NibConnectsViewAndOutletsBeforeViewDidLoad) {
    auto bundle = std::make_shared<Bundle>();
    auto screen = std::make_shared<UIView>();
    bundle->registerNib("Screen", [screen](Object* owner) -> std::vector<std::shared_ptr<Object>> {
        auto label = std::make_shared<UILabel>();
        screen->addSubview(label);
        auto* controller = dynamic_cast<RecordingController*>(owner);
        controller->titleLabel = label;
        controller->setView(screen);
        controller->events.push_back("nib loaded");
        return {screen};
    });
    auto controller = std::make_shared<RecordingController>("Screen", bundle);

    EXPECT_EQ(controller->view(), screen);
    EXPECT_NE(controller->titleLabel.lock(), nullptr);
    EXPECT_EQ(controller->events, (std::vector<std::string>{"nib loaded", "viewDidLoad"}));
}

TEST(UIViewControllerView, FallsBackToTheNibsViewOrAPlainOne) {
    auto bundle = std::make_shared<Bundle>();
    auto topLevel = std::make_shared<UIView>();
    bundle->registerNib("Unconnected", [topLevel](Object*) -> std::vector<std::shared_ptr<Object>> {
        return {std::make_shared<UILabel>() /* not a plain view, still a view */, topLevel};
    });
    auto unconnected = std::make_shared<UIViewController>("Unconnected", bundle);
    EXPECT_NE(std::dynamic_pointer_cast<UILabel>(unconnected->view()), nullptr)
        << "the first top-level view stands in for an unconnected view outlet";

    // A nib name that no bundle holds (the empty name included) and no nib name at all.
    for (const auto& controller : {std::make_shared<UIViewController>("", nullptr),
                                   std::make_shared<UIViewController>("Missing", bundle),
                                   std::make_shared<UIViewController>()}) {
        const auto view = controller->view();
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(view->subviews().empty());
    }
}

TEST(UIViewControllerContainment, AddAndRemoveTellTheChildInOrder) {
    auto parent = std::make_shared<UIViewController>();
    auto child = std::make_shared<RecordingController>();

    parent->addChildViewController(child);
    parent->addChildViewController(child);  // already its child: nothing
    EXPECT_EQ(parent->childViewControllers(),
              std::vector<std::shared_ptr<UIViewController>>{child});
    EXPECT_EQ(child->parentViewController(), parent);
    child->didMoveToParentViewController(parent);  // the container's part, as on the platform

    child->willMoveToParentViewController(nullptr);
    child->removeFromParentViewController();
    child->removeFromParentViewController();  // no parent: nothing
    EXPECT_TRUE(parent->childViewControllers().empty());
    EXPECT_EQ(child->parentViewController(), nullptr);
    EXPECT_EQ(child->events,
              (std::vector<std::string>{"will parent children=0", "did parent attached",
                                        "will nil children=0", "did nil detached"}));
}

TEST(UIViewControllerContainment, ParentIsWeakChildrenAreStrong) {
    std::weak_ptr<UIViewController> weakChild;
    auto child = std::make_shared<UIViewController>();
    {
        auto parent = std::make_shared<UIViewController>();
        auto held = std::make_shared<UIViewController>();
        weakChild = held;
        parent->addChildViewController(held);
        parent->addChildViewController(child);
        held.reset();
        EXPECT_FALSE(weakChild.expired());
        // The parent holds the last reference: leaving must not use the child after it is freed.
        UIViewController* const raw = weakChild.lock().get();
        raw->removeFromParentViewController();
        EXPECT_TRUE(weakChild.expired());
    }
    EXPECT_EQ(child->parentViewController(), nullptr) << "a child must not keep its parent alive";
}

TEST(UIViewControllerContainment, MovesBetweenParentsAndRefusesCycles) {
    auto first = std::make_shared<UIViewController>();
    auto second = std::make_shared<UIViewController>();
    auto child = std::make_shared<RecordingController>();
    first->addChildViewController(child);
    second->addChildViewController(child);
    EXPECT_TRUE(first->childViewControllers().empty());
    EXPECT_EQ(child->parentViewController(), second);
    EXPECT_EQ(child->events, (std::vector<std::string>{"will parent children=0", "did nil detached",
                                                       "will parent children=0"}));

    child->addChildViewController(second);  // its own ancestor
    child->addChildViewController(child);
    child->addChildViewController(nullptr);
    EXPECT_TRUE(child->childViewControllers().empty());
    EXPECT_EQ(second->parentViewController(), nullptr);
}

}  // namespace
