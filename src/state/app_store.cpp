#include <atomic>
#include <string>
#include <string_view>

#include <kelvane/logging/logger.hpp>
#include <kelvane/state/app_store.hpp>

#include "state/reducers.hpp"

namespace kelvane {

namespace {

constexpr std::string_view kDispatchPrefix = "Dispatch action: ";
constexpr std::string_view kInfoSeparator = ", info: ";

// The shared store's holder: made on first use (the language's one-time initialisation) and never
// destroyed, so code running at exit may still use the store.
std::atomic<std::shared_ptr<AppStore>>& sharedStore() {
    static auto* const holder =
        new std::atomic<std::shared_ptr<AppStore>>(AppStore::make(appReducer));
    return *holder;
}

}  // namespace

void AppStore::dispatch(const Action& action) {
    std::string message(kDispatchPrefix);
    action.appendPrinted(message);
    if (state()) {
        // The printed action is written twice; the state itself is not printed.
        const std::size_t printedLength = message.size() - kDispatchPrefix.size();
        message.reserve(message.size() + kInfoSeparator.size() + printedLength);
        message += kInfoSeparator;
        // No reallocation after the reserve, so appending from itself is safe.
        message.append(message, kDispatchPrefix.size(), printedLength);
    }
    Logger::leaveBreadcrumbs(message);
    Store<AppState>::dispatch(action);
}

std::shared_ptr<AppStore> store() {
    return sharedStore().load(std::memory_order_acquire);
}

void setStore(Ref<AppStore> replacement) {
    auto previous = sharedStore().exchange(replacement.shared(), std::memory_order_acq_rel);
    // Released after the exchange, so that its destruction never runs under the holder's lock.
    previous.reset();
}

}  // namespace kelvane
