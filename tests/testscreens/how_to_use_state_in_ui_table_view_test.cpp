#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/platform/bundle.hpp>
#include <kelvane/platform/dispatch_queue.hpp>
#include <kelvane/platform/ui_color.hpp>
#include <kelvane/platform/ui_nib.hpp>
#include <kelvane/platform/ui_table_view.hpp>
#include <kelvane/testscreens/how_to_use_state_in_ui_table_view.hpp>

#include <gtest/gtest.h>

#include "screen_test.hpp"

namespace kelvane {
namespace {

using platform::CGRect;
using platform::IndexPath;
using platform::UIColor;
using platform::UITableView;
using platform::UITableViewCell;
using platform::UIView;

class SampleScreen : public testing::ScreenTest {
  protected:
    SampleScreen() {
        bundle_->registerNib("SampleCell", [](Object*) -> std::vector<std::shared_ptr<Object>> {
            return {std::make_shared<UITableViewCell>()};
        });
        bundle_->registerNib("HowToUseStateInUITableView",
                             [this](Object* owner) { return buildInterface(owner); });
        screen_ =
            std::make_shared<HowToUseStateInUITableView>("HowToUseStateInUITableView", bundle_);
    }

    // What the sample's interface file does; `registerCell_` false leaves out the "cell" cell.
    std::vector<std::shared_ptr<Object>> buildInterface(Object* owner) {
        root_ = std::make_shared<UIView>(CGRect{{0, 0}, {375, 667}});
        table_ = std::make_shared<testing::CountingTableView>(root_->bounds());
        root_->addSubview(table_);
        if (registerCell_) {
            table_->registerNib(platform::UINib::nibWithNibName("SampleCell", bundle_), "cell");
        }
        if (auto* controller = dynamic_cast<HowToUseStateInUITableView*>(owner);
            controller != nullptr && connectTable_) {
            const auto self = std::static_pointer_cast<HowToUseStateInUITableView>(
                controller->shared_from_this());
            self->setTableView(table_);
            table_->setDataSource(self);
            table_->setDelegate(self);
        }
        return {root_};
    }

    std::string load() {
        return printedBy([this] { screen_->loadViewIfNeeded(); });
    }

    bool registerCell_ = true;
    bool connectTable_ = true;
    std::shared_ptr<platform::Bundle> bundle_ = std::make_shared<platform::Bundle>();
    std::shared_ptr<HowToUseStateInUITableView> screen_;
    std::shared_ptr<UIView> root_;
    std::shared_ptr<testing::CountingTableView> table_;
};

TEST_F(SampleScreen, LoadingAddsTwoExampleEntriesEachTime) {
    EXPECT_EQ(load(), "current items 2\n");
    const auto entries = storedEntries();
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_EQ(entries[0]->title, "Example Test 1");
    EXPECT_EQ(entries[1]->title, "Example Test 2");
    for (const auto& entry : entries) {
        ASSERT_EQ(entry->actions.size(), 1U);
        EXPECT_EQ(entry->actions[0]->title, "Action 1");
        EXPECT_EQ(printedBy(entry->actions[0]->actionHandler), "action 1 execute\n");
    }
    EXPECT_NE(entries[0]->actions[0].get(), entries[1]->actions[0].get());
    EXPECT_EQ(table_->reloads, 0) << "loading does not subscribe the screen";

    const auto second = std::make_shared<HowToUseStateInUITableView>();
    EXPECT_EQ(printedBy([&] { second->loadViewIfNeeded(); }), "current items 4\n");
}

TEST_F(SampleScreen, SelectingARowOpensItsEntryOnTheScreen) {
    load();
    table_->reloadData();
    EXPECT_EQ(rowTitles(*table_), (std::vector<std::string>{"Example Test 1", "Example Test 2"}));
    const struct {
        std::int64_t row;
        std::shared_ptr<UIColor> color;
    } cases[] = {{0, UIColor::redColor()}, {1, UIColor::blueColor()}, {0, UIColor::redColor()}};
    for (const auto& [row, color] : cases) {
        table_->selectRowByUser(IndexPath{row, 0});
        ASSERT_NE(root_->backgroundColor(), nullptr);
        EXPECT_TRUE(root_->backgroundColor()->isEqual(color.get())) << "row " << row;
        EXPECT_EQ(table_->indexPathForSelectedRow(), (IndexPath{row, 0}));
    }
}

TEST_F(SampleScreen, NewStateReloadsOnlyWhenTheEntryListChanges) {
    load();
    store()->subscribe(screen_);
    EXPECT_EQ(table_->reloads, 1) << "the first state always reloads, at once";
    EXPECT_EQ(platform::DispatchQueue::main().pending(), 0U);
    EXPECT_EQ(rowTitles(*table_).size(), 2U);

    store()->dispatch(UpdateTestNumber(7));
    EXPECT_EQ(table_->reloads, 1);
    ASSERT_TRUE(screen_->previousState());
    EXPECT_EQ(screen_->previousState()->velmoraState().testVal(), 7);

    addEntry("Third");
    EXPECT_EQ(table_->reloads, 2);
    EXPECT_EQ(rowTitles(*table_).back(), "Third");
    EXPECT_EQ(screen_->previousState()->uiTestState().allTestEntries(), storedEntries());
}

TEST_F(SampleScreen, OutsideItsLimitsNothingFails) {
    connectTable_ = false;
    registerCell_ = false;
    load();
    store()->subscribe(screen_);  // no table to reload
    EXPECT_EQ(table_->reloads, 0);
    EXPECT_EQ(screen_->numberOfRowsInSection(*table_, 0), 2);
    EXPECT_EQ(screen_->cellForRowAt(*table_, IndexPath{0, 0}), nullptr) << "no \"cell\" cell";

    table_->registerNib(platform::UINib::nibWithNibName("SampleCell", bundle_), "cell");
    for (const std::int64_t row : {-1, 2}) {
        screen_->didSelectRowAt(*table_, IndexPath{row, 0});
        EXPECT_EQ(screen_->cellForRowAt(*table_, IndexPath{row, 0})->textLabel()->text(),
                  std::nullopt);
    }
    EXPECT_EQ(root_->backgroundColor(), nullptr);
}

}  // namespace
}  // namespace kelvane
