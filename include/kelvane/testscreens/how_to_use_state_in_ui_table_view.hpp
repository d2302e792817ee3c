#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <kelvane/platform/bundle.hpp>
#include <kelvane/platform/index_path.hpp>
#include <kelvane/platform/ui_table_view.hpp>
#include <kelvane/platform/ui_table_view_cell.hpp>
#include <kelvane/platform/ui_table_view_data_source.hpp>
#include <kelvane/platform/ui_table_view_delegate.hpp>
#include <kelvane/platform/ui_view_controller.hpp>
#include <kelvane/state/app_state.hpp>
#include <kelvane/store/store_subscriber.hpp>

namespace kelvane {

/// A sample screen that shows how a screen works with the shared store.
///
/// Loading its view adds two example entries to the store's test catalogue ("Example Test 1",
/// which paints a controller's view red, and "Example Test 2", blue; each with one action
/// "Action 1" that prints "action 1 execute"), by dispatching `UITestAddTestEntry` twice, then
/// prints "current items " and the catalogue's size. Every load adds two more.
///
/// Its table lists the store's current entries by title, from cells dequeued under "cell" (which
/// the interface file registers); selecting a row calls that entry's `testInitHandler` with this
/// screen. As a subscriber (when a caller subscribes it; it does not subscribe itself),
/// `newState` reloads the table at once, unless the entry list holds the same objects as the
/// previous state's.
///
/// The interface file connects `tableView` and makes the screen its data source and delegate.
/// Outside those limits nothing fails: without a connected table nothing is reloaded, a table
/// that gives no "cell" gets a null cell, a row outside the entry list shows an empty title and
/// opens nothing, and a store without a state counts as an empty catalogue.
///
/// Main thread only; everything runs at once on the caller's thread. Owned through
/// `std::shared_ptr` (made with `std::make_shared`).
class HowToUseStateInUITableView : public platform::UIViewController,
                                   public platform::UITableViewDataSource,
                                   public platform::UITableViewDelegate,
                                   public StoreSubscriber<AppState> {
  public:
    /// The reuse identifier of the table's cells.
    static constexpr const char* cellIdentifier = "cell";

    explicit HowToUseStateInUITableView(std::optional<std::string> nibName = std::nullopt,
                                        std::shared_ptr<platform::Bundle> bundle = nullptr);

    /// The outlet, held weakly (the view owns the table); null when not connected or gone.
    std::shared_ptr<platform::UITableView> tableView() const { return tableView_.lock(); }
    void setTableView(const std::shared_ptr<platform::UITableView>& table) { tableView_ = table; }

    /// The state last given to `newState`; absent before the first.
    const std::optional<AppState>& previousState() const { return previousState_; }

    /// The platform's, then adds the two example entries and prints the entry count.
    void viewDidLoad() override;

    std::int64_t numberOfRowsInSection(platform::UITableView& tableView,
                                       std::int64_t section) override;
    std::shared_ptr<platform::UITableViewCell> cellForRowAt(
        platform::UITableView& tableView, const platform::IndexPath& indexPath) override;
    /// Opens the row's entry on this screen; the row stays selected.
    void didSelectRowAt(platform::UITableView& tableView,
                        const platform::IndexPath& indexPath) override;

    void newState(const AppState& state) override;

  private:
    std::weak_ptr<platform::UITableView> tableView_;
    std::optional<AppState> previousState_;
};

}  // namespace kelvane
