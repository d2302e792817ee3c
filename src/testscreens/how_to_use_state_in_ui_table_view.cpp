#include <cstddef>
#include <utility>
#include <vector>

#include <kelvane/platform/ui_color.hpp>
#include <kelvane/state/app_store.hpp>
#include <kelvane/state/test_actions.hpp>
#include <kelvane/testscreens/how_to_use_state_in_ui_table_view.hpp>

#include "testscreens/console.hpp"

namespace kelvane {

namespace {

std::vector<Ref<UITestEntry>> currentEntries() {
    const auto& state = store()->state();
    return state ? state->uiTestState().allTestEntries() : std::vector<Ref<UITestEntry>>{};
}

std::shared_ptr<UITestEntry> entryAt(std::int64_t row) {
    auto entries = currentEntries();
    if (row < 0 || static_cast<std::size_t>(row) >= entries.size()) {
        return nullptr;
    }
    return entries[static_cast<std::size_t>(row)];
}

Ref<UITestEntry> makeExampleEntry(std::string title, std::shared_ptr<platform::UIColor> color) {
    auto entry = makeRef<UITestEntry>(
        std::move(title), [color](const std::shared_ptr<platform::UIViewController>& controller) {
            if (controller) {
                controller->view()->setBackgroundColor(color);
            }
        });
    entry->actions.push_back(
        makeRef<UITestAction>("Action 1", [] { detail::printLine("action 1 execute"); }));
    return entry;
}

}  // namespace

HowToUseStateInUITableView::HowToUseStateInUITableView(std::optional<std::string> nibName,
                                                       std::shared_ptr<platform::Bundle> bundle)
    : UIViewController(std::move(nibName), std::move(bundle)) {}

void HowToUseStateInUITableView::viewDidLoad() {
    UIViewController::viewDidLoad();
    const auto first = makeExampleEntry("Example Test 1", platform::UIColor::redColor());
    const auto second = makeExampleEntry("Example Test 2", platform::UIColor::blueColor());
    store()->dispatch(UITestAddTestEntry(first));
    store()->dispatch(UITestAddTestEntry(second));
    detail::printLine("current items " + std::to_string(currentEntries().size()));
}

std::int64_t HowToUseStateInUITableView::numberOfRowsInSection(platform::UITableView& /*tableView*/,
                                                               std::int64_t /*section*/) {
    return static_cast<std::int64_t>(currentEntries().size());
}

std::shared_ptr<platform::UITableViewCell> HowToUseStateInUITableView::cellForRowAt(
    platform::UITableView& tableView, const platform::IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(cellIdentifier);
    if (const auto label = cell ? cell->textLabel() : nullptr) {
        const auto entry = entryAt(indexPath.item());
        label->setText(entry ? entry->title : std::nullopt);
    }
    return cell;
}

void HowToUseStateInUITableView::didSelectRowAt(platform::UITableView& /*tableView*/,
                                                const platform::IndexPath& indexPath) {
    const auto entry = entryAt(indexPath.item());
    const auto self = weak_from_this().lock();
    if (!entry || !self) {
        return;
    }
    // A copy: the handler may replace itself on the entry while it runs.
    if (const auto handler = entry->testInitHandler) {
        handler(self);
    }
}

void HowToUseStateInUITableView::newState(const AppState& state) {
    const bool sameEntries = previousState_ && previousState_->uiTestState().allTestEntries() ==
                                                   state.uiTestState().allTestEntries();
    if (!sameEntries) {
        if (const auto table = tableView()) {
            table->reloadData();
        }
    }
    previousState_ = state;
}

}  // namespace kelvane
