#pragma once

// What every test of a screen starts from: a fresh HOME (so fresh user defaults and log files), a
// fresh shared store, no installed component, an empty main queue, and a log that does not echo
// to standard output, so that what a test captures there is what the screen printed.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <kelvane/core/ref.hpp>
#include <kelvane/framework/component_manager.hpp>
#include <kelvane/platform/dispatch_queue.hpp>
#include <kelvane/platform/ui_table_view.hpp>
#include <kelvane/platform/user_defaults.hpp>
#include <kelvane/state/app_store.hpp>
#include <kelvane/state/test_actions.hpp>
#include <kelvane/state/ui_test_entry.hpp>

#include <gtest/gtest.h>

#include "logging/log.hpp"
#include "state/reducers.hpp"
#include "temp_home.hpp"

namespace kelvane::testing {

/// A table that counts its reloads, so that tests see each hop to the main queue land.
class CountingTableView : public platform::UITableView {
  public:
    using UITableView::UITableView;
    void reloadData() override {
        ++reloads;
        UITableView::reloadData();
    }
    int reloads = 0;
};

/// The texts of the table's rows as it last loaded them ("<none>" for a row without text).
inline std::vector<std::string> rowTitles(const platform::UITableView& table) {
    std::vector<std::string> titles;
    for (const auto& cell : table.visibleCells()) {
        titles.push_back(cell->textLabel()->text().value_or("<none>"));
    }
    return titles;
}

class ScreenTest : public ::testing::Test {
  protected:
    ScreenTest() {
        sharedLog().setPrintToConsole(false);
        setStore(AppStore::make(appReducer));
        ComponentManager::shared()->uninstallAll();
        auto& defaults = platform::UserDefaults::standard();
        for (const char* key : {"dragBtnPositionX", "dragBtnPositionY", "lastTestEntry"}) {
            defaults.removeObjectForKey(key);
        }
        platform::DispatchQueue::main().drain();
    }

    ~ScreenTest() override {
        // Queued blocks hold screens; run them so that nothing outlives the test.
        platform::DispatchQueue::main().drain();
    }

    /// Adds an entry to the shared store's catalogue, with an action per title in `actions`.
    static Ref<UITestEntry> addEntry(std::string title, UITestEntry::TestInitHandler handler = {},
                                     std::vector<Ref<UITestAction>> actions = {}) {
        auto entry = makeRef<UITestEntry>(std::move(title), std::move(handler));
        entry->actions = std::move(actions);
        store()->dispatch(UITestAddTestEntry(entry));
        return entry;
    }

    static std::vector<Ref<UITestEntry>> storedEntries() {
        return store()->state()->uiTestState().allTestEntries();
    }

    /// What `work` writes to standard output.
    template <class Work>
    static std::string printedBy(Work&& work) {
        ::testing::internal::CaptureStdout();
        std::forward<Work>(work)();
        return ::testing::internal::GetCapturedStdout();
    }

    TempHome home_;
};

}  // namespace kelvane::testing
