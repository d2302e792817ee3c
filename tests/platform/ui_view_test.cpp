#include <memory>

#include <kelvane/platform/ui_view.hpp>

#include <gtest/gtest.h>

#include "geometry_printers.hpp"

namespace {

using kelvane::platform::CGPoint;
using kelvane::platform::CGRect;
using kelvane::platform::UIView;

std::shared_ptr<UIView> makeView(CGRect frame = {}) {
    return std::make_shared<UIView>(frame);
}

TEST(UIViewHierarchy, SuperviewHoldsSubviewsAndIsHeldWeakly) {
    auto child = makeView();
    std::weak_ptr<UIView> weakParent;
    {
        auto parent = makeView();
        weakParent = parent;
        parent->addSubview(child);
        EXPECT_EQ(child->superview(), parent);
    }
    EXPECT_TRUE(weakParent.expired()) << "a subview must not keep its superview alive";
    EXPECT_EQ(child->superview(), nullptr);

    auto parent = makeView();
    std::weak_ptr<UIView> weakChild;
    {
        auto held = makeView();
        weakChild = held;
        parent->addSubview(held);
    }
    EXPECT_FALSE(weakChild.expired()) << "the superview holds its subviews";
    // The superview holds the last reference (as when a view removes itself from inside one of
    // its own operations): removing must not use the view after it is freed.
    UIView* const held = weakChild.lock().get();
    held->removeFromSuperview();
    EXPECT_TRUE(weakChild.expired());
    EXPECT_TRUE(parent->subviews().empty());
}

TEST(UIViewHierarchy, InsertingOrdersAndMovesViews) {
    auto first = makeView();
    auto other = makeView();
    auto a = makeView();
    auto b = makeView();
    auto c = makeView();
    first->addSubview(a);
    first->addSubview(b);
    first->insertSubviewAtIndex(c, 0);
    EXPECT_EQ(first->subviews(), (std::vector{c, a, b}));
    first->insertSubviewAtIndex(c, 99);  // past the end: in front
    EXPECT_EQ(first->subviews(), (std::vector{a, b, c}));

    other->addSubview(a);  // leaves its old superview first
    EXPECT_EQ(first->subviews(), (std::vector{b, c}));
    EXPECT_EQ(a->superview(), other);
}

TEST(UIViewHierarchy, RefusesToContainItselfOrAnAncestor) {
    auto root = makeView();
    auto middle = makeView();
    auto leaf = makeView();
    root->addSubview(middle);
    middle->addSubview(leaf);

    leaf->addSubview(root);
    leaf->addSubview(leaf);
    leaf->addSubview(nullptr);
    EXPECT_TRUE(leaf->subviews().empty());
    EXPECT_EQ(root->superview(), nullptr);
    EXPECT_EQ(middle->superview(), root);
}

TEST(UIViewGeometry, FrameBoundsAndCentreStayConsistent) {
    auto view = makeView({{10, 20}, {100, 50}});
    EXPECT_EQ(view->bounds(), (CGRect{{0, 0}, {100, 50}}));
    EXPECT_EQ(view->center(), (CGPoint{60, 45}));

    view->setBounds({{5, 5}, {40, 30}});  // keeps the centre
    EXPECT_EQ(view->center(), (CGPoint{60, 45}));
    EXPECT_EQ(view->frame(), (CGRect{{40, 30}, {40, 30}}));

    view->setCenter({0, 0});
    EXPECT_EQ(view->frame(), (CGRect{{-20, -15}, {40, 30}}));
    EXPECT_EQ(view->bounds().origin, (CGPoint{5, 5}));
}

TEST(UIViewGeometry, ConvertsPointsAcrossTheHierarchy) {
    auto root = makeView({{100, 100}, {500, 500}});
    auto panel = makeView({{10, 20}, {200, 200}});
    auto button = makeView({{30, 40}, {44, 44}});
    root->addSubview(panel);
    panel->addSubview(button);
    panel->setBounds({{0, 5}, {200, 200}});  // scrolled down by 5: its content moves up

    EXPECT_EQ(button->convertPointToView({1, 1}, root.get()), (CGPoint{41, 56}));
    EXPECT_EQ(button->convertPointToView({1, 1}, nullptr), (CGPoint{141, 156}));
    EXPECT_EQ(root->convertPointToView({41, 56}, button.get()), (CGPoint{1, 1}));
    EXPECT_EQ(button->convertPointFromView({141, 156}, nullptr), (CGPoint{1, 1}));

    auto elsewhere = makeView({{0, 0}, {10, 10}});  // another hierarchy: through the screen
    EXPECT_EQ(button->convertPointToView({1, 1}, elsewhere.get()), (CGPoint{141, 156}));
}

TEST(UIViewAutoLayout, PinnedViewFollowsItsSuperviewsBoundsUntilItLeaves) {
    auto screen = makeView({{0, 0}, {320, 480}});
    auto child = makeView({{5, 5}, {1, 1}});
    auto grandchild = makeView();
    EXPECT_FALSE(child->autoPinEdgesToSuperviewEdges()) << "no superview: nothing to pin to";
    EXPECT_EQ(child->frame(), (CGRect{{5, 5}, {1, 1}}));

    screen->insertSubviewAtIndex(child, 0);
    child->configureForAutoLayout();
    EXPECT_FALSE(child->translatesAutoresizingMaskIntoConstraints());
    ASSERT_TRUE(child->autoPinEdgesToSuperviewEdges());
    EXPECT_EQ(child->frame(), (CGRect{{0, 0}, {320, 480}}));
    child->addSubview(grandchild);
    ASSERT_TRUE(grandchild->autoPinEdgesToSuperviewEdges());

    screen->setFrame({{0, 0}, {1024, 768}});
    EXPECT_EQ(child->frame(), (CGRect{{0, 0}, {1024, 768}}));
    EXPECT_EQ(grandchild->frame(), (CGRect{{0, 0}, {1024, 768}})) << "pins chain down the tree";
    screen->setBounds({{0, 10}, {1024, 768}});
    EXPECT_EQ(child->frame(), (CGRect{{0, 10}, {1024, 768}}));

    screen->addSubview(child);  // moving within the same superview keeps the pin
    screen->setFrame({{0, 0}, {800, 600}});
    EXPECT_EQ(child->frame().size, (kelvane::platform::CGSize{800, 600}));

    child->removeFromSuperview();
    screen->addSubview(child);
    screen->setFrame({{0, 0}, {100, 100}});
    EXPECT_EQ(child->frame().size, (kelvane::platform::CGSize{800, 600}))
        << "the pin ends on leaving";
}

}  // namespace
