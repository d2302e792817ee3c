#include <string>
#include <string_view>

#include <kelvane/logging/logger.hpp>
#include <kelvane/platform/detail/never_destroyed.hpp>
#include <kelvane/state/app_store.hpp>

#include "core/shared_instance.hpp"
#include "state/reducers.hpp"

namespace kelvane {

namespace {

constexpr std::string_view kDispatchPrefix = "Dispatch action: ";
constexpr std::string_view kInfoSeparator = ", info: ";

// Never destroyed, so code running at exit may still use the store.
detail::SharedInstance<AppStore>& sharedStore() {
    static platform::detail::NeverDestroyed<detail::SharedInstance<AppStore>> holder(
        [] { return Ref<AppStore>(AppStore::make(appReducer)); });
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
    return sharedStore().get();
}

void setStore(Ref<AppStore> replacement) {
    // A first call still makes (and logs) the default store before replacing it.
    sharedStore().get();
    sharedStore().set(std::move(replacement));
}

}  // namespace kelvane
