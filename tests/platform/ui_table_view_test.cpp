#include <memory>
#include <string>
#include <vector>

#include <kelvane/platform/bundle.hpp>
#include <kelvane/platform/ui_table_view.hpp>

#include <gtest/gtest.h>

namespace {

using kelvane::Object;
using kelvane::platform::Bundle;
using kelvane::platform::IndexPath;
using kelvane::platform::UINib;
using kelvane::platform::UITableView;
using kelvane::platform::UITableViewCell;
using kelvane::platform::UITableViewDataSource;
using kelvane::platform::UITableViewDelegate;

class CountingCell : public UITableViewCell {
  public:
    using UITableViewCell::UITableViewCell;
    void awakeFromNib() override { ++awoken; }
    void prepareForReuse() override { ++reused; }
    int awoken = 0;
    int reused = 0;
};

// A screen that lists titles, as the test screens do, and records selections.
class TitlesScreen : public UITableViewDataSource, public UITableViewDelegate {
  public:
    std::int64_t numberOfRowsInSection(UITableView&, std::int64_t) override { return rowCount; }
    std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& table,
                                                  const IndexPath& indexPath) override {
        auto cell = table.dequeueReusableCellWithIdentifier("Cell", indexPath);
        if (cell) {
            cell->textLabel()->setText(titles.at(static_cast<std::size_t>(indexPath.row)));
        }
        return cell;
    }
    void didSelectRowAt(UITableView&, const IndexPath& indexPath) override {
        selected.push_back(indexPath.row);
    }

    std::vector<std::string> titles;
    std::int64_t rowCount = 0;
    std::vector<std::int64_t> selected;
};

class UITableViewTest : public ::testing::Test {
  protected:
    UITableViewTest() {
        bundle->registerNib("CountingCell",
                            [this](Object*) -> std::vector<std::shared_ptr<Object>> {
                                ++nibLoads;
                                return {std::make_shared<CountingCell>()};
                            });
        table->registerNib(UINib::nibWithNibName("CountingCell", bundle), "Cell");
        table->setDataSource(screen);
        table->setDelegate(screen);
    }

    void show(std::vector<std::string> titles) {
        screen->rowCount = static_cast<std::int64_t>(titles.size());
        screen->titles = std::move(titles);
        table->reloadData();
    }

    std::vector<std::string> shownTitles() const {
        std::vector<std::string> shown;
        for (const auto& cell : table->visibleCells()) {
            shown.push_back(cell->textLabel()->text().value_or("<none>"));
        }
        return shown;
    }

    std::shared_ptr<Bundle> bundle = std::make_shared<Bundle>();
    std::shared_ptr<UITableView> table = std::make_shared<UITableView>();
    std::shared_ptr<TitlesScreen> screen = std::make_shared<TitlesScreen>();
    int nibLoads = 0;
};

TEST_F(UITableViewTest, ReloadBuildsEveryRowAndReusesCells) {
    show({"one", "two"});
    EXPECT_EQ(shownTitles(), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(nibLoads, 2);
    const auto firstCell =
        std::dynamic_pointer_cast<CountingCell>(table->cellForRowAtIndexPath({0, 0}));
    ASSERT_NE(firstCell, nullptr);
    EXPECT_EQ(firstCell->awoken, 1);
    EXPECT_EQ(firstCell->reuseIdentifier(), "Cell");

    show({"three", "four", "five"});
    EXPECT_EQ(shownTitles(), (std::vector<std::string>{"three", "four", "five"}));
    EXPECT_EQ(nibLoads, 3) << "two cells come back from the reuse queue, one is new";
    EXPECT_EQ(firstCell->reused, 1);
    EXPECT_EQ(table->numberOfRowsInSection(0), 3);
    EXPECT_EQ(table->numberOfRowsInSection(1), 0);
}

TEST_F(UITableViewTest, RowCountsAndSourcesThatGiveNothing) {
    screen->rowCount = -4;
    table->reloadData();
    EXPECT_EQ(table->numberOfRowsInSection(0), 0);

    EXPECT_EQ(table->dequeueReusableCellWithIdentifier("Unregistered"), nullptr);
    table->registerNib(nullptr, "Cell");
    show({"lost"});
    EXPECT_EQ(table->numberOfRowsInSection(0), 1);
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 0}), nullptr) << "no registration, no cell";
    EXPECT_TRUE(table->visibleCells().empty());

    screen.reset();  // held weakly by the table
    table->reloadData();
    EXPECT_EQ(table->numberOfRowsInSection(0), 0);
}

TEST_F(UITableViewTest, UserSelectionTellsTheDelegateAndReloadClearsIt) {
    show({"a", "b", "c"});
    table->selectRowByUser({1, 0});
    table->selectRowByUser({2, 0});
    table->selectRowByUser({3, 0});   // outside: nothing
    table->selectRowByUser({-1, 0});  // outside: nothing
    EXPECT_EQ(screen->selected, (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{2, 0}));
    EXPECT_FALSE(table->cellForRowAtIndexPath({1, 0})->isSelected());
    EXPECT_TRUE(table->cellForRowAtIndexPath({2, 0})->isSelected());

    show({"a", "b", "c"});
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
    for (const auto& cell : table->visibleCells()) {
        EXPECT_FALSE(cell->isSelected());
    }
}

}  // namespace
