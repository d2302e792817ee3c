#include <cmath>
#include <cstddef>
#include <functional>
#include <utility>

#include <kelvane/core/printed.hpp>
#include <kelvane/framework/component_manager.hpp>
#include <kelvane/platform/dispatch_queue.hpp>
#include <kelvane/platform/user_defaults.hpp>
#include <kelvane/state/app_store.hpp>
#include <kelvane/testscreens/ui_test_root_view_controller.hpp>
#include <kelvane/testscreens/ui_test_root_view_table_view_cell.hpp>

#include "testscreens/console.hpp"

namespace kelvane {

namespace {

using platform::DispatchQueue;
using platform::IndexPath;
using platform::UserDefaults;

template <class List>
bool holdsIndex(const List& list, std::int64_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

// A saved coordinate; an infinite or NaN one would wreck the button's frame.
std::optional<platform::CGFloat> savedCoordinate(const char* key) {
    const auto value = UserDefaults::standard().doubleForKey(key);
    if (!value || !std::isfinite(*value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

UITestRootViewController::UITestRootViewController(std::optional<std::string> nibName,
                                                   std::shared_ptr<platform::Bundle> bundle)
    : UIViewController(std::move(nibName), std::move(bundle)) {}

void UITestRootViewController::viewDidLoad() {
    UIViewController::viewDidLoad();
    setupViews();
}

std::shared_ptr<UITestRootViewController> UITestRootViewController::self() {
    return std::static_pointer_cast<UITestRootViewController>(weak_from_this().lock());
}

void UITestRootViewController::setupViews() {
    const auto controller = self();
    if (controller) {
        // Delivers the current state at once: newState runs before the steps below.
        store()->subscribe(std::static_pointer_cast<StoreSubscriber<AppState>>(controller));
    }
    if (const auto shadow = vwShadow()) {
        shadow->setHidden(true);
    }
    if (const auto table = tblTestRootView()) {
        table->registerNib(UITestRootViewTableViewCell::nib(),
                           UITestRootViewTableViewCell::identifier);
    }
    if (const auto button = btnPlus()) {
        const auto pan = std::make_shared<platform::UIPanGestureRecognizer>(
            controller, &UITestRootViewController::panGestureHandler);
        pan->setMinimumNumberOfTouches(1);
        button->addGestureRecognizer(pan);
    }
    restoreDragButtonPosition();
}

void UITestRootViewController::restoreDragButtonPosition() {
    const auto x = savedCoordinate(dragBtnPositionXKey);
    const auto y = savedCoordinate(dragBtnPositionYKey);
    const auto controller = self();
    if (!x || !y || !controller) {
        return;
    }
    DispatchQueue::main().async([controller, center = platform::CGPoint{*x, *y}] {
        if (const auto button = controller->btnPlus()) {
            button->setCenter(center);
            button->layoutIfNeeded();
        }
    });
}

void UITestRootViewController::newState(const AppState& state) {
    const auto& entries = state.uiTestState().allTestEntries();
    detail::printLine(printed(entries));
    if (entries == arrTestEntries_) {
        return;
    }
    arrTestEntries_ = entries;
    if (const auto back = btnBack()) {
        back->setHidden(true);
    }
    if (const auto row = UserDefaults::standard().integerForKey(lastTestEntryKey)) {
        selectRow(IndexPath{*row, 0});
    }
    reloadTable();
}

void UITestRootViewController::panGestureHandler(platform::UIPanGestureRecognizer& panGesture) {
    if (!std::dynamic_pointer_cast<platform::UIButton>(panGesture.view())) {
        return;
    }
    const auto location = panGesture.locationInView(view().get());
    switch (panGesture.state()) {
        case platform::UIGestureRecognizerState::ended:
        case platform::UIGestureRecognizerState::failed:
        case platform::UIGestureRecognizerState::cancelled: {
            auto& defaults = UserDefaults::standard();
            defaults.setObject(location.x, dragBtnPositionXKey);
            defaults.setObject(location.y, dragBtnPositionYKey);
            defaults.synchronize();
            break;
        }
        default:
            if (const auto button = btnPlus()) {
                button->setCenter(location);
            }
            break;
    }
}

void UITestRootViewController::actionBtnPlus(platform::UIButton& sender) {
    sender.setSelected(!sender.isSelected());
    const bool menuOpen = sender.isSelected();
    if (const auto shadow = vwShadow()) {
        shadow->setHidden(!menuOpen);
    }
    if (childPage_) {
        if (const auto back = btnBack()) {
            back->setHidden(!menuOpen);
        }
    }
}

void UITestRootViewController::actionBtnBack(Object& /*sender*/) {
    if (const auto back = btnBack()) {
        back->setHidden(true);
    }
    childPage_.reset();
    reloadTable();
}

const UITestEntry* UITestRootViewController::openedEntry() const {
    if (!childPage_ || !holdsIndex(arrTestEntries_, *childPage_)) {
        return nullptr;
    }
    return arrTestEntries_[static_cast<std::size_t>(*childPage_)].get();
}

std::int64_t UITestRootViewController::numberOfRowsInSection(platform::UITableView& /*tableView*/,
                                                             std::int64_t /*section*/) {
    if (!childPage_) {
        return static_cast<std::int64_t>(arrTestEntries_.size());
    }
    const auto* entry = openedEntry();
    return entry != nullptr ? static_cast<std::int64_t>(entry->actions.size()) : 0;
}

std::shared_ptr<platform::UITableViewCell> UITestRootViewController::cellForRowAt(
    platform::UITableView& tableView, const IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(UITestRootViewTableViewCell::identifier,
                                                            indexPath);
    const auto label = cell ? cell->textLabel() : nullptr;
    if (!label) {
        return cell;
    }
    std::optional<std::string> title;
    const auto row = indexPath.row;
    if (!childPage_) {
        if (holdsIndex(arrTestEntries_, row)) {
            title = arrTestEntries_[static_cast<std::size_t>(row)]->title;
        }
    } else if (const auto* entry = openedEntry(); entry && holdsIndex(entry->actions, row)) {
        title = entry->actions[static_cast<std::size_t>(row)]->title;
    }
    label->setText(std::move(title));
    return cell;
}

platform::CGFloat UITestRootViewController::heightForRowAt(platform::UITableView& /*tableView*/,
                                                           const IndexPath& /*indexPath*/) {
    return platform::UITableViewAutomaticDimension;
}

void UITestRootViewController::didSelectRowAt(platform::UITableView& /*tableView*/,
                                              const IndexPath& indexPath) {
    selectRow(indexPath);
}

void UITestRootViewController::selectRow(const IndexPath& indexPath) {
    // Handlers and component callbacks may dispatch to the store, which changes the entry list
    // under us: everything used after them is held here first.
    const auto keepAlive = self();
    const auto row = indexPath.row;
    if (childPage_) {
        const auto* entry = openedEntry();
        if (entry == nullptr || !holdsIndex(entry->actions, row)) {
            return;
        }
        const Ref<UITestAction> action = entry->actions[static_cast<std::size_t>(row)];
        ComponentManager::shared()->uninstallAll();
        // A copy: the handler may replace itself on the action while it runs.
        if (const auto handler = action->actionHandler) {
            handler();
        }
        if (const auto button = btnPlus()) {
            actionBtnPlus(*button);
        }
        return;
    }
    if (!holdsIndex(arrTestEntries_, row)) {
        return;
    }
    const Ref<UITestEntry> entry = arrTestEntries_[static_cast<std::size_t>(row)];
    ComponentManager::shared()->uninstallAll();
    openEntry(row, entry);
}

void UITestRootViewController::openEntry(std::int64_t row, const Ref<UITestEntry>& entry) {
    restoreDragButtonPosition();
    if (const auto back = btnBack()) {
        back->setHidden(false);
    }
    childPage_ = row;
    auto& defaults = UserDefaults::standard();
    defaults.setObject(row, lastTestEntryKey);
    defaults.synchronize();
    reloadTable();

    for (const auto& child : childViewControllers()) {
        if (child->isViewLoaded()) {
            child->view()->removeFromSuperview();
        }
        child->removeFromParentViewController();
    }
    const auto child = std::make_shared<platform::UIViewController>();
    addChildViewController(child);
    const auto childView = child->view();
    view()->insertSubviewAtIndex(childView, 0);
    childView->configureForAutoLayout();
    childView->autoPinEdgesToSuperviewEdges();
    child->didMoveToParentViewController(self());

    if (const auto handler = entry->testInitHandler) {
        handler(child);
    }
}

void UITestRootViewController::reloadTable() {
    // Always a hop, also on the main queue: the table reloads once the current work is done.
    if (const auto controller = self()) {
        DispatchQueue::main().async([controller] {
            if (const auto table = controller->tblTestRootView()) {
                table->reloadData();
            }
        });
    }
}

}  // namespace kelvane
