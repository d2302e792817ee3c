#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <kelvane/core/printed.hpp>
#include <kelvane/platform/bundle.hpp>
#include <kelvane/platform/dispatch_queue.hpp>
#include <kelvane/platform/ui_button.hpp>
#include <kelvane/platform/ui_pan_gesture_recognizer.hpp>
#include <kelvane/platform/ui_table_view.hpp>
#include <kelvane/platform/user_defaults.hpp>
#include <kelvane/testscreens/ui_test_root_view_controller.hpp>
#include <kelvane/testscreens/ui_test_root_view_table_view_cell.hpp>

#include <gtest/gtest.h>

#include "case_name.hpp"
#include "geometry_printers.hpp"
#include "screen_test.hpp"

namespace kelvane {
namespace {

using platform::CGPoint;
using platform::CGRect;
using platform::DispatchQueue;
using platform::IndexPath;
using platform::UIButton;
using platform::UIControlEvents;
using platform::UIGestureRecognizerState;
using platform::UIPanGestureRecognizer;
using platform::UITableView;
using platform::UIView;
using platform::UIViewController;
using platform::UserDefaults;

constexpr CGRect kScreenFrame{{0, 0}, {375, 667}};
constexpr CGRect kPlusFrame{{300, 580}, {56, 56}};  // centre (328, 608)
constexpr CGPoint kPlusCenter{328, 608};

// A component that writes its uninstall into the test's event list.
class RecordingComponent : public Object, public InstallableComponent {
  public:
    explicit RecordingComponent(std::vector<std::string>& events) : events_(events) {}
    void onInstall() override {}
    void onUninstall() override { events_.push_back("uninstall"); }

  private:
    std::vector<std::string>& events_;
};

class TestRootScreen : public testing::ScreenTest {
  protected:
    TestRootScreen() {
        bundle_->registerNib("UITestRootViewController",
                             [this](Object* owner) { return buildInterface(owner); });
        screen_ = std::make_shared<UITestRootViewController>("UITestRootViewController", bundle_);
    }

    ~TestRootScreen() override {
        // An installed component writes into events_: uninstall it while events_ still exists.
        ComponentManager::shared()->uninstallAll();
    }

    // What the screen's interface file does: builds the views and, unless told not to,
    // connects the outlets, the table's data source and delegate and the buttons' actions.
    std::vector<std::shared_ptr<Object>> buildInterface(Object* owner) {
        root_ = std::make_shared<UIView>(kScreenFrame);
        table_ = std::make_shared<testing::CountingTableView>(kScreenFrame);
        shadow_ = std::make_shared<UIView>(kScreenFrame);
        back_ = std::make_shared<UIButton>(CGRect{{16, 40}, {44, 44}});
        plus_ = std::make_shared<UIButton>(kPlusFrame);
        for (const std::shared_ptr<UIView>& view :
             {std::shared_ptr<UIView>(table_), shadow_, std::shared_ptr<UIView>(back_),
              std::shared_ptr<UIView>(plus_)}) {
            root_->addSubview(view);
        }
        auto* controller = dynamic_cast<UITestRootViewController*>(owner);
        if (controller == nullptr || !connectOutlets_) {
            return {root_};
        }
        const auto self =
            std::static_pointer_cast<UITestRootViewController>(controller->shared_from_this());
        self->setBtnPlus(plus_);
        self->setVwShadow(shadow_);
        self->setTblTestRootView(table_);
        self->setBtnBack(back_);
        table_->setDataSource(self);
        table_->setDelegate(self);
        plus_->addTarget(self, &UITestRootViewController::actionBtnPlus,
                         UIControlEvents::touchUpInside);
        back_->addTarget(self, &UITestRootViewController::actionBtnBack,
                         UIControlEvents::touchUpInside);
        return {root_};
    }

    /// Loads the screen's view (which subscribes it) and returns what it printed meanwhile.
    std::string load() {
        return printedBy([this] { screen_->loadViewIfNeeded(); });
    }

    /// Runs the main queue and returns the reloads it made.
    int drainReloads() {
        const int before = table_ ? table_->reloads : 0;
        DispatchQueue::main().drain();
        return table_ ? table_->reloads - before : 0;
    }

    /// An entry handler that records the controller it was given.
    UITestEntry::TestInitHandler opener(std::string name) {
        return [this, name](const std::shared_ptr<UIViewController>& controller) {
            events_.push_back("open " + name);
            openedWith_.push_back(controller);
        };
    }

    Ref<UITestAction> action(std::string name) {
        return makeRef<UITestAction>(name, [this, name] {
            events_.push_back("run " + name + (plus_->isSelected() ? " (menu open)" : ""));
        });
    }

    void installComponent() {
        component_ = std::make_shared<RecordingComponent>(events_);
        ComponentManager::shared()->install(component_);
    }

    static std::optional<std::int64_t> savedLastEntry() {
        return UserDefaults::standard().integerForKey("lastTestEntry");
    }

    static std::string printedLine(const std::vector<Ref<UITestEntry>>& entries) {
        return printed(entries) + "\n";
    }

    bool connectOutlets_ = true;
    std::shared_ptr<platform::Bundle> bundle_ = std::make_shared<platform::Bundle>();
    std::shared_ptr<UITestRootViewController> screen_;
    std::shared_ptr<UIView> root_;
    std::shared_ptr<testing::CountingTableView> table_;
    std::shared_ptr<UIView> shadow_;
    std::shared_ptr<UIButton> back_;
    std::shared_ptr<UIButton> plus_;
    std::shared_ptr<RecordingComponent> component_;
    std::vector<std::string> events_;
    std::vector<std::shared_ptr<UIViewController>> openedWith_;
};

TEST_F(TestRootScreen, FirstStateWithAnEmptyListOnlyPrintsIt) {
    EXPECT_EQ(load(), "[]\n");
    EXPECT_EQ(DispatchQueue::main().pending(), 0U);
    EXPECT_FALSE(back_->isHidden());
    EXPECT_TRUE(shadow_->isHidden());  // setupViews, not the state
    EXPECT_TRUE(screen_->childViewControllers().empty());
    EXPECT_EQ(table_->reloads, 0);
}

TEST_F(TestRootScreen, FirstListWithoutSavedEntryIsShownAndOpensNothing) {
    addEntry("Alpha");
    addEntry("Beta");
    installComponent();

    EXPECT_EQ(load(), printedLine(storedEntries()));
    EXPECT_TRUE(back_->isHidden());
    EXPECT_EQ(drainReloads(), 1);
    EXPECT_EQ(rowTitles(*table_), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_FALSE(screen_->childPage());
    EXPECT_TRUE(screen_->childViewControllers().empty());
    EXPECT_TRUE(events_.empty()) << "nothing opened, nothing uninstalled";
    EXPECT_EQ(screen_->arrTestEntries(), storedEntries());
}

TEST_F(TestRootScreen, CellsComeFromTheFrameworkNib) {
    addEntry("Alpha", {}, {action("a0")});
    load();
    drainReloads();
    const auto cell = table_->cellForRowAtIndexPath(IndexPath{0, 0});
    ASSERT_NE(dynamic_cast<UITestRootViewTableViewCell*>(cell.get()), nullptr);
    EXPECT_EQ(cell->reuseIdentifier(), "UITestRootViewTableViewCell");
    EXPECT_EQ(screen_->heightForRowAt(*table_, IndexPath{0, 0}),
              platform::UITableViewAutomaticDimension);
}

TEST_F(TestRootScreen, SameListAgainChangesNothingInEitherMode) {
    addEntry("Alpha", opener("Alpha"), {action("a0")});
    load();
    drainReloads();
    const auto unchanged = [this](const char* mode) {
        SCOPED_TRACE(mode);
        const bool backHidden = back_->isHidden();
        const auto children = screen_->childViewControllers();
        const auto eventCount = events_.size();
        EXPECT_EQ(printedBy([] { store()->dispatch(TestAction1{}); }),
                  printedLine(storedEntries()));
        EXPECT_EQ(DispatchQueue::main().pending(), 0U);
        EXPECT_EQ(back_->isHidden(), backHidden);
        EXPECT_EQ(screen_->childViewControllers(), children);
        EXPECT_EQ(events_.size(), eventCount);
    };
    unchanged("entry list");
    table_->selectRowByUser(IndexPath{0, 0});
    drainReloads();
    ASSERT_EQ(screen_->childPage(), 0);
    unchanged("actions");
}

TEST_F(TestRootScreen, NewListReopensTheSavedEntry) {
    UserDefaults::standard().setObject(std::int64_t{1}, "lastTestEntry");
    addEntry("Alpha", opener("Alpha"));
    addEntry("Beta", opener("Beta"), {action("b0"), action("b1")});
    installComponent();

    load();
    EXPECT_EQ(events_, (std::vector<std::string>{"uninstall", "open Beta"}));
    ASSERT_EQ(screen_->childViewControllers().size(), 1U);
    const auto child = screen_->childViewControllers()[0];
    ASSERT_EQ(openedWith_.size(), 1U);
    EXPECT_EQ(openedWith_[0], child);
    EXPECT_EQ(child->parentViewController(), screen_);
    // Behind every other view, filling the screen's view and following it.
    EXPECT_EQ(root_->subviews().front(), child->view());
    EXPECT_EQ(child->view()->frame(), root_->bounds());
    root_->setFrame({{0, 0}, {800, 600}});
    EXPECT_EQ(child->view()->frame(), root_->bounds());

    EXPECT_FALSE(back_->isHidden()) << "shown again after the new list hid it";
    EXPECT_EQ(savedLastEntry(), 1);
    EXPECT_EQ(screen_->childPage(), 1);
    EXPECT_EQ(DispatchQueue::main().pending(), 2U);
    EXPECT_EQ(drainReloads(), 2);
    EXPECT_EQ(rowTitles(*table_), (std::vector<std::string>{"b0", "b1"}));
}

TEST_F(TestRootScreen, OpeningAnotherEntryReplacesTheChildScreen) {
    addEntry("Alpha", opener("Alpha"));
    addEntry("Beta", opener("Beta"));
    load();
    drainReloads();
    table_->selectRowByUser(IndexPath{0, 0});
    const auto first = screen_->childViewControllers().at(0);
    back_->sendActionsForControlEvents(UIControlEvents::touchUpInside);
    drainReloads();
    table_->selectRowByUser(IndexPath{1, 0});

    ASSERT_EQ(screen_->childViewControllers().size(), 1U);
    const auto second = screen_->childViewControllers()[0];
    EXPECT_NE(second, first);
    EXPECT_EQ(first->parentViewController(), nullptr);
    EXPECT_EQ(first->view()->superview(), nullptr);
    EXPECT_EQ(second->view()->superview(), root_);
    EXPECT_EQ(events_, (std::vector<std::string>{"open Alpha", "open Beta"}));
    EXPECT_EQ(savedLastEntry(), 1);
}

// In actions mode a new list runs the saved row's action of the open entry and toggles the menu,
// which decides whether btnBack ends up shown.
struct ActionsModeListChange {
    const char* name;
    bool menuOpenBefore;
    bool menuOpenAfter;
};

void PrintTo(const ActionsModeListChange& change, std::ostream* out) {
    *out << change.name;
}

class TestRootScreenListChangeInActionsMode
    : public TestRootScreen,
      public ::testing::WithParamInterface<ActionsModeListChange> {};

TEST_P(TestRootScreenListChangeInActionsMode, RunsTheSavedActionAndTogglesTheMenu) {
    addEntry("Alpha", opener("Alpha"), {action("a0"), action("a1")});
    load();
    drainReloads();
    table_->selectRowByUser(IndexPath{0, 0});
    drainReloads();
    plus_->setSelected(GetParam().menuOpenBefore);
    installComponent();
    events_.clear();

    addEntry("Beta");
    EXPECT_EQ(events_, (std::vector<std::string>{
                           "uninstall", std::string("run a0") +
                                            (GetParam().menuOpenBefore ? " (menu open)" : "")}));
    EXPECT_EQ(plus_->isSelected(), GetParam().menuOpenAfter);
    EXPECT_EQ(shadow_->isHidden(), !GetParam().menuOpenAfter);
    EXPECT_EQ(back_->isHidden(), !GetParam().menuOpenAfter);
    EXPECT_EQ(screen_->childPage(), 0);
    EXPECT_EQ(drainReloads(), 1);
    EXPECT_EQ(rowTitles(*table_), (std::vector<std::string>{"a0", "a1"}));
}

INSTANTIATE_TEST_SUITE_P(Menu, TestRootScreenListChangeInActionsMode,
                         ::testing::Values(ActionsModeListChange{"WasClosed", false, true},
                                           ActionsModeListChange{"WasOpen", true, false}),
                         kelvane::testing::caseName);

TEST_F(TestRootScreen, SelectingAnActionUninstallsThenRunsThenTogglesTheMenu) {
    addEntry("Alpha", opener("Alpha"), {action("a0"), action("a1")});
    load();
    drainReloads();
    table_->selectRowByUser(IndexPath{0, 0});
    drainReloads();
    installComponent();
    events_.clear();

    table_->selectRowByUser(IndexPath{1, 0});
    EXPECT_EQ(events_, (std::vector<std::string>{"uninstall", "run a1"}));
    EXPECT_TRUE(plus_->isSelected());
    EXPECT_FALSE(shadow_->isHidden());
    EXPECT_FALSE(back_->isHidden());
    EXPECT_EQ(savedLastEntry(), 0) << "an action does not change the saved entry";
    EXPECT_EQ(screen_->childViewControllers().size(), 1U);
    EXPECT_EQ(drainReloads(), 0);
}

TEST_F(TestRootScreen, BackShowsTheEntryListAndKeepsTheChildScreen) {
    addEntry("Alpha", opener("Alpha"), {action("a0")});
    addEntry("Beta", opener("Beta"));
    load();
    drainReloads();
    table_->selectRowByUser(IndexPath{1, 0});
    drainReloads();
    plus_->sendActionsForControlEvents(UIControlEvents::touchUpInside);  // menu open

    back_->sendActionsForControlEvents(UIControlEvents::touchUpInside);
    EXPECT_TRUE(back_->isHidden());
    EXPECT_FALSE(screen_->childPage());
    EXPECT_EQ(drainReloads(), 1);
    EXPECT_EQ(rowTitles(*table_), (std::vector<std::string>{"Alpha", "Beta"}));
    ASSERT_EQ(screen_->childViewControllers().size(), 1U);
    EXPECT_EQ(screen_->childViewControllers()[0]->view()->superview(), root_);
    EXPECT_TRUE(plus_->isSelected());
    EXPECT_FALSE(shadow_->isHidden());
    EXPECT_EQ(savedLastEntry(), 1);
}

TEST_F(TestRootScreen, MenuButtonMovesBackButtonOnlyInActionsMode) {
    addEntry("Alpha", opener("Alpha"), {action("a0")});
    load();
    drainReloads();
    for (const bool backHidden : {false, true}) {
        back_->setHidden(backHidden);
        for (int press = 1; press <= 2; ++press) {
            plus_->sendActionsForControlEvents(UIControlEvents::touchUpInside);
            EXPECT_EQ(plus_->isSelected(), press == 1);
            EXPECT_EQ(shadow_->isHidden(), press == 2);
            EXPECT_EQ(back_->isHidden(), backHidden) << "entry-list mode never touches it";
        }
    }
    table_->selectRowByUser(IndexPath{0, 0});
    back_->setHidden(true);
    plus_->sendActionsForControlEvents(UIControlEvents::touchUpInside);
    EXPECT_FALSE(back_->isHidden()) << "actions mode: it follows the menu";
    plus_->sendActionsForControlEvents(UIControlEvents::touchUpInside);
    EXPECT_TRUE(back_->isHidden());
}

// A drag ends in one of three states; each saves only the last location and moves nothing.
struct DragEnd {
    const char* name;
    UIGestureRecognizerState state;
};

void PrintTo(const DragEnd& end, std::ostream* out) {
    *out << end.name;
}

class TestRootScreenDrag : public TestRootScreen, public ::testing::WithParamInterface<DragEnd> {};

TEST_P(TestRootScreenDrag, ButtonFollowsAndTheEndSavesTheLastLocation) {
    load();
    ASSERT_EQ(plus_->gestureRecognizers().size(), 1U);
    const auto pan =
        std::dynamic_pointer_cast<UIPanGestureRecognizer>(plus_->gestureRecognizers()[0]);
    ASSERT_NE(pan, nullptr);
    EXPECT_EQ(pan->minimumNumberOfTouches(), 1);

    root_->setBounds(
        {{0, 100}, kScreenFrame.size});  // scrolled: screen and view coordinates differ
    pan->update(UIGestureRecognizerState::began, {200, 300}, root_.get());
    EXPECT_EQ(plus_->center(), (CGPoint{200, 300}));
    pan->update(UIGestureRecognizerState::changed, {150.5, 260.25}, root_.get());
    EXPECT_EQ(plus_->center(), (CGPoint{150.5, 260.25}));
    pan->update(GetParam().state, {90.5, 120.75}, root_.get());
    EXPECT_EQ(plus_->center(), (CGPoint{150.5, 260.25}));

    // Written to the file as two numbers.
    UserDefaults reread(UserDefaults::standard().file());
    EXPECT_EQ(reread.objectForKey("dragBtnPositionX"), UserDefaults::Value(90.5));
    EXPECT_EQ(reread.objectForKey("dragBtnPositionY"), UserDefaults::Value(120.75));
    EXPECT_EQ(DispatchQueue::main().pending(), 0U);
}

INSTANTIATE_TEST_SUITE_P(EndStates, TestRootScreenDrag,
                         ::testing::Values(DragEnd{"Ended", UIGestureRecognizerState::ended},
                                           DragEnd{"Failed", UIGestureRecognizerState::failed},
                                           DragEnd{"Cancelled",
                                                   UIGestureRecognizerState::cancelled}),
                         kelvane::testing::caseName);

TEST_F(TestRootScreen, DragRecognizerOnAnotherViewDoesNothing) {
    load();
    const auto pan = std::make_shared<UIPanGestureRecognizer>(
        screen_, &UITestRootViewController::panGestureHandler);
    shadow_->addGestureRecognizer(pan);
    pan->update(UIGestureRecognizerState::changed, {10, 10}, root_.get());
    pan->update(UIGestureRecognizerState::ended, {10, 10}, root_.get());
    EXPECT_EQ(plus_->center(), kPlusCenter);
    EXPECT_FALSE(UserDefaults::standard().objectForKey("dragBtnPositionX"));
}

// The saved position is placed on the main queue, and only when both coordinates are numbers.
struct SavedPosition {
    const char* name;
    std::optional<UserDefaults::Value> x;
    std::optional<UserDefaults::Value> y;
    std::optional<CGPoint> placed;
};

void PrintTo(const SavedPosition& position, std::ostream* out) {
    *out << position.name;
}

class TestRootScreenSavedPosition : public TestRootScreen,
                                    public ::testing::WithParamInterface<SavedPosition> {};

TEST_P(TestRootScreenSavedPosition, IsRestoredOnLoad) {
    auto& defaults = UserDefaults::standard();
    if (GetParam().x) {
        defaults.setObject(*GetParam().x, "dragBtnPositionX");
    }
    if (GetParam().y) {
        defaults.setObject(*GetParam().y, "dragBtnPositionY");
    }
    load();
    EXPECT_EQ(plus_->center(), kPlusCenter) << "nothing moves before the queue runs";
    DispatchQueue::main().drain();
    EXPECT_EQ(plus_->center(), GetParam().placed.value_or(kPlusCenter));
}

INSTANTIATE_TEST_SUITE_P(
    Values, TestRootScreenSavedPosition,
    ::testing::Values(SavedPosition{"Both", 40.5, std::int64_t{90}, CGPoint{40.5, 90}},
                      SavedPosition{"OnlyX", 40.5, std::nullopt, std::nullopt},
                      SavedPosition{"OnlyY", std::nullopt, 90.0, std::nullopt},
                      SavedPosition{"NotANumber", true, 90.0, std::nullopt},
                      SavedPosition{"NotFinite", std::numeric_limits<double>::infinity(), 90.0,
                                    std::nullopt},
                      SavedPosition{"NaN", std::nan(""), 90.0, std::nullopt}),
    kelvane::testing::caseName);

// A saved row outside the list, or not a number, reopens nothing and uninstalls nothing.
struct BadSavedEntry {
    const char* name;
    UserDefaults::Value value;
    friend void PrintTo(const BadSavedEntry& entry, std::ostream* out) { *out << entry.name; }
};

class TestRootScreenBadSavedEntry : public TestRootScreen,
                                    public ::testing::WithParamInterface<BadSavedEntry> {};

TEST_P(TestRootScreenBadSavedEntry, OpensNothing) {
    UserDefaults::standard().setObject(GetParam().value, "lastTestEntry");
    addEntry("Alpha", opener("Alpha"));
    installComponent();
    load();
    EXPECT_TRUE(events_.empty());
    EXPECT_TRUE(back_->isHidden());
    EXPECT_FALSE(screen_->childPage());
    EXPECT_EQ(drainReloads(), 1);
    EXPECT_EQ(UserDefaults::standard().objectForKey("lastTestEntry"), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TestRootScreenBadSavedEntry,
    ::testing::Values(BadSavedEntry{"Negative", UserDefaults::Value(std::int64_t{-1})},
                      BadSavedEntry{"PastTheList", UserDefaults::Value(std::int64_t{1})},
                      BadSavedEntry{"Huge", UserDefaults::Value(std::int64_t{1} << 62)},
                      BadSavedEntry{"Fraction", UserDefaults::Value(0.5)},
                      BadSavedEntry{"Text", UserDefaults::Value(std::string("first"))}),
    kelvane::testing::caseName);

TEST_F(TestRootScreen, RowsOutsideTheListAreIgnored) {
    addEntry("Alpha", opener("Alpha"), {action("a0")});
    load();
    drainReloads();
    installComponent();
    for (const std::int64_t row : {-1, 1, 99}) {
        screen_->didSelectRowAt(*table_, IndexPath{row, 0});
    }
    table_->selectRowByUser(IndexPath{0, 0});
    drainReloads();
    events_.clear();
    installComponent();
    for (const std::int64_t row : {-1, 1}) {
        screen_->didSelectRowAt(*table_, IndexPath{row, 0});
        EXPECT_EQ(screen_->cellForRowAt(*table_, IndexPath{row, 0})->textLabel()->text(),
                  std::nullopt);
    }
    EXPECT_TRUE(events_.empty()) << "nothing run, nothing uninstalled";
    EXPECT_FALSE(plus_->isSelected());

    // An open entry outside the list: no rows, nothing to select.
    screen_->setChildPage(5);
    EXPECT_EQ(screen_->numberOfRowsInSection(*table_, 0), 0);
    screen_->didSelectRowAt(*table_, IndexPath{0, 0});
    EXPECT_TRUE(events_.empty());
    EXPECT_EQ(screen_->cellForRowAt(*table_, IndexPath{0, 0})->textLabel()->text(), std::nullopt);
}

TEST_F(TestRootScreen, AnEntryMayDispatchWhileItOpens) {
    // The store delivers the new list from inside the handler: the screen, in actions mode by
    // then, runs the saved row's action before the opening has finished.
    addEntry("Alpha",
             [this](const std::shared_ptr<UIViewController>&) {
                 events_.push_back("open Alpha");
                 addEntry("Beta");
             },
             {action("a0")});
    load();
    drainReloads();
    table_->selectRowByUser(IndexPath{0, 0});
    EXPECT_EQ(events_, (std::vector<std::string>{"open Alpha", "run a0"}));
    EXPECT_EQ(screen_->arrTestEntries(), storedEntries());
    EXPECT_EQ(screen_->childPage(), 0);
    EXPECT_EQ(screen_->childViewControllers().size(), 1U);
    EXPECT_EQ(drainReloads(), 2);
    EXPECT_EQ(rowTitles(*table_), (std::vector<std::string>{"a0"}));
}

TEST_F(TestRootScreen, EmptyHandlersAreSkipped) {
    addEntry("Alpha", {}, {makeRef<UITestAction>("a0", UITestAction::ActionHandler{})});
    load();
    drainReloads();
    table_->selectRowByUser(IndexPath{0, 0});
    EXPECT_EQ(screen_->childViewControllers().size(), 1U);
    drainReloads();
    table_->selectRowByUser(IndexPath{0, 0});
    EXPECT_TRUE(plus_->isSelected());
}

TEST_F(TestRootScreen, WorksWithoutConnectedOutlets) {
    connectOutlets_ = false;
    UserDefaults::standard().setObject(1.0, "dragBtnPositionX");
    UserDefaults::standard().setObject(2.0, "dragBtnPositionY");
    addEntry("Alpha", opener("Alpha"), {action("a0")});
    load();
    DispatchQueue::main().drain();
    EXPECT_EQ(table_->reloads, 0);
    EXPECT_EQ(plus_->center(), kPlusCenter);
    EXPECT_FALSE(shadow_->isHidden());

    screen_->didSelectRowAt(*table_, IndexPath{0, 0});
    EXPECT_EQ(events_, (std::vector<std::string>{"open Alpha"}));
    EXPECT_EQ(screen_->childViewControllers().size(), 1U);
    plus_->setSelected(false);
    screen_->didSelectRowAt(*table_, IndexPath{0, 0});  // runs; no menu button to toggle
    screen_->actionBtnPlus(*plus_);
    screen_->actionBtnBack(*back_);
    DispatchQueue::main().drain();
    EXPECT_FALSE(screen_->childPage());
    EXPECT_EQ(table_->reloads, 0);
}

TEST_F(TestRootScreen, IsReleasedWithItsViewsOnceNothingHoldsIt) {
    addEntry("Alpha", opener("Alpha"), {action("a0")});
    load();
    table_->selectRowByUser(IndexPath{0, 0});
    std::weak_ptr<UITestRootViewController> weakScreen = screen_;
    std::weak_ptr<UIView> weakView = root_;
    screen_.reset();
    root_.reset();
    table_.reset();
    shadow_.reset();
    back_.reset();
    plus_.reset();
    openedWith_.clear();
    EXPECT_FALSE(weakScreen.expired()) << "queued reloads hold the screen";
    DispatchQueue::main().drain();
    EXPECT_TRUE(weakScreen.expired());
    EXPECT_TRUE(weakView.expired());
    store()->dispatch(TestAction1{});  // the store drops the gone subscriber
    EXPECT_EQ(store()->subscriptions().size(), 0U);
}

}  // namespace
}  // namespace kelvane
