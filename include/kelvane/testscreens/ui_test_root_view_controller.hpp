#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/core/ref.hpp>
#include <kelvane/platform/bundle.hpp>
#include <kelvane/platform/geometry.hpp>
#include <kelvane/platform/index_path.hpp>
#include <kelvane/platform/ui_button.hpp>
#include <kelvane/platform/ui_pan_gesture_recognizer.hpp>
#include <kelvane/platform/ui_table_view.hpp>
#include <kelvane/platform/ui_table_view_cell.hpp>
#include <kelvane/platform/ui_table_view_data_source.hpp>
#include <kelvane/platform/ui_table_view_delegate.hpp>
#include <kelvane/platform/ui_view.hpp>
#include <kelvane/platform/ui_view_controller.hpp>
#include <kelvane/state/app_state.hpp>
#include <kelvane/state/ui_test_entry.hpp>
#include <kelvane/store/store_subscriber.hpp>

namespace kelvane {

/// The developer test harness: one table that lists the test entries of the shared store's
/// state (`UITestState::allTestEntries`) or, once an entry is opened, that entry's actions.
///
/// Opening an entry uninstalls every installed component, puts a fresh child view controller
/// behind every other view of the screen, pinned to fill it, and calls the entry's
/// `testInitHandler` with that child. Selecting an action row uninstalls every component, runs the
/// action and toggles the menu. The menu button (`btnPlus`) can be dragged; it toggles the overlay
/// (`vwShadow`) and, while actions are shown, the back button (`btnBack`).
///
/// Standard user defaults: "dragBtnPositionX" and "dragBtnPositionY" keep the menu button's
/// centre (in the screen view's coordinates) from the end of the last drag; "lastTestEntry" keeps
/// the row of the last opened entry, which is reopened whenever a new entry list arrives.
///
/// The interface file (the host application, or a test) builds the views, connects the four
/// outlets, makes the controller the table's data source and delegate, and sends `btnPlus`'s
/// action to `actionBtnPlus` and `btnBack`'s to `actionBtnBack`. Loading the view subscribes the
/// controller to the shared store; it never unsubscribes (the store holds it weakly).
///
/// Threads: main thread only. The table reload and the placing of the saved button position are
/// enqueued on `platform::DispatchQueue::main()` (each block holds the controller until it has
/// run); everything else runs at once, on the caller's thread.
///
/// Outside its limits the screen does nothing rather than fail:
/// - an outlet that is not connected (or is gone) is skipped wherever it is used;
/// - a row outside the current list, a `childPage` outside `arrTestEntries`, or a stored
///   "lastTestEntry" that is negative or too large opens nothing, runs nothing and uninstalls
///   nothing; the table then shows no rows for an invalid `childPage`;
/// - an entry or action whose handler is empty is opened or selected without calling it;
/// - a saved button position that is missing, unconvertible, one-sided or not finite leaves the
///   button where it is.
///
/// Controllers are owned through `std::shared_ptr` (made with `std::make_shared`).
class UITestRootViewController : public platform::UIViewController,
                                 public StoreSubscriber<AppState>,
                                 public platform::UITableViewDataSource,
                                 public platform::UITableViewDelegate {
  public:
    /// User-defaults keys.
    static constexpr const char* dragBtnPositionXKey = "dragBtnPositionX";
    static constexpr const char* dragBtnPositionYKey = "dragBtnPositionY";
    static constexpr const char* lastTestEntryKey = "lastTestEntry";

    /// A controller whose view comes from the nib `nibName` of `bundle` (see UIViewController).
    /// It starts with no outlets, no entries and in entry-list mode.
    explicit UITestRootViewController(std::optional<std::string> nibName = std::nullopt,
                                      std::shared_ptr<platform::Bundle> bundle = nullptr);

    // Outlets, held weakly: the screen's view owns them. Null when not connected or gone.
    std::shared_ptr<platform::UIButton> btnPlus() const { return btnPlus_.lock(); }
    void setBtnPlus(const std::shared_ptr<platform::UIButton>& button) { btnPlus_ = button; }
    std::shared_ptr<platform::UIView> vwShadow() const { return vwShadow_.lock(); }
    void setVwShadow(const std::shared_ptr<platform::UIView>& view) { vwShadow_ = view; }
    std::shared_ptr<platform::UITableView> tblTestRootView() const {
        return tblTestRootView_.lock();
    }
    void setTblTestRootView(const std::shared_ptr<platform::UITableView>& table) {
        tblTestRootView_ = table;
    }
    std::shared_ptr<platform::UIButton> btnBack() const { return btnBack_.lock(); }
    void setBtnBack(const std::shared_ptr<platform::UIButton>& button) { btnBack_ = button; }

    /// The entry list last taken from the state.
    const std::vector<Ref<UITestEntry>>& arrTestEntries() const { return arrTestEntries_; }
    void setArrTestEntries(std::vector<Ref<UITestEntry>> entries) {
        arrTestEntries_ = std::move(entries);
    }
    /// Absent: the entry list is shown. n: the actions of `arrTestEntries()[n]` are shown.
    const std::optional<std::int64_t>& childPage() const { return childPage_; }
    void setChildPage(std::optional<std::int64_t> childPage) { childPage_ = childPage; }

    /// Subscribes to the shared store (whose first state arrives at once, before the steps
    /// after it), hides the overlay, registers the cell nib on the table, adds the drag
    /// recognizer to `btnPlus` and restores the saved button position.
    virtual void setupViews();
    /// Moves `btnPlus`'s centre to the saved position, on the main queue; nothing without one.
    virtual void restoreDragButtonPosition();

    /// Prints the state's entry list (`[<Kelvane.UITestEntry: 0x…>, …]`) to standard output,
    /// then, when it differs from `arrTestEntries()` (other objects or another order): takes it,
    /// hides `btnBack`, selects the row saved under "lastTestEntry" in the current mode (opening
    /// that entry, or running that action of the open entry), and reloads the table.
    void newState(const AppState& state) override;

    /// Target of the drag recognizer on `btnPlus`: the button's centre follows the touch; at the
    /// end (also when failed or cancelled) the touch's location is saved instead. A recognizer
    /// whose view is not a button does nothing.
    virtual void panGestureHandler(platform::UIPanGestureRecognizer& panGesture);
    /// Toggles the menu: inverts `sender`'s selection and shows the overlay while it is selected;
    /// while actions are shown, `btnBack` follows it too.
    virtual void actionBtnPlus(platform::UIButton& sender);
    /// Leaves the actions of the opened entry: hides `btnBack` and shows the entry list again.
    /// The child screen, the menu and "lastTestEntry" stay as they are.
    virtual void actionBtnBack(Object& sender);

    // The table's data source and delegate.
    std::int64_t numberOfRowsInSection(platform::UITableView& tableView,
                                       std::int64_t section) override;
    /// A "UITestRootViewTableViewCell" cell titled with the entry or action of the row; null
    /// when `tableView` has no such cell to give.
    std::shared_ptr<platform::UITableViewCell> cellForRowAt(
        platform::UITableView& tableView, const platform::IndexPath& indexPath) override;
    platform::CGFloat heightForRowAt(platform::UITableView& tableView,
                                     const platform::IndexPath& indexPath) override;
    /// Selects the row as described above; the row stays selected in the table.
    void didSelectRowAt(platform::UITableView& tableView,
                        const platform::IndexPath& indexPath) override;

    /// The platform's, then `setupViews()`.
    void viewDidLoad() override;

  private:
    std::shared_ptr<UITestRootViewController> self();
    void selectRow(const platform::IndexPath& indexPath);
    void openEntry(std::int64_t row, const Ref<UITestEntry>& entry);
    void reloadTable();
    const UITestEntry* openedEntry() const;

    std::weak_ptr<platform::UIButton> btnPlus_;
    std::weak_ptr<platform::UIView> vwShadow_;
    std::weak_ptr<platform::UITableView> tblTestRootView_;
    std::weak_ptr<platform::UIButton> btnBack_;
    std::vector<Ref<UITestEntry>> arrTestEntries_;
    std::optional<std::int64_t> childPage_;
};

}  // namespace kelvane
