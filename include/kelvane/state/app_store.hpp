#pragma once

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <kelvane/core/ref.hpp>
#include <kelvane/state/app_state.hpp>
#include <kelvane/store/store.hpp>

namespace kelvane {

/// The application's store: a `Store<AppState>` that logs every action before dispatching it.
///
/// `dispatch(action)` first writes "Dispatch action: " + the printed action to the shared log
/// (with ", info: " + the printed action again once the store has a state) and leaves the same
/// text as a crash-reporter breadcrumb while `Logger::isBugsnagInit()` is on; then it runs the
/// base store's dispatch. So an action is logged even when a middleware drops it or when it is
/// refused for being dispatched from a reducer. Every other form of dispatch (action creators,
/// the re-dispatching function of middleware) ends here and is logged too. Everything else is the
/// base store's, including the threading rules.
class AppStore final : public Store<AppState> {
  public:
    using Store<AppState>::Store;
    using Store<AppState>::dispatch;

    /// As `Store::make`, making an AppStore: without `state`, the `StoreInit` dispatch at
    /// construction writes the first line.
    static std::shared_ptr<AppStore> make(Reducer<AppState> reducer,
                                          std::optional<AppState> state = std::nullopt,
                                          std::vector<Middleware<AppState>> middleware = {},
                                          bool automaticallySkipsRepeats = true) {
        return makeStore<AppStore>(std::move(reducer), std::move(state), std::move(middleware),
                                   automaticallySkipsRepeats);
    }

    void dispatch(const Action& action) override;
};

/// The shared store, never null. The first call of `store()` or `setStore()` in the process makes
/// it, once even when threads race: the framework's root reducer, no initial state (so its
/// `StoreInit` line is logged then), no middleware, repeated states skipped automatically.
///
/// Reading and replacing the shared store are safe from any thread; the store itself is used from
/// one thread at a time (see Store). A breadcrumb sink must not reach for `store()` while the first
/// store is being made (its `StoreInit` line): that thread would wait on itself.
///
///     kelvane::store()->dispatch(kelvane::StartRecordingAction{});
///     const auto& recording = kelvane::store()->state()->recording();
std::shared_ptr<AppStore> store();

/// Replaces the shared store for every later `store()`, making (and logging) the first one when
/// this is the first access. The previous store is released: whoever still holds it keeps a
/// working store with its subscriptions, which do not move to the new one.
void setStore(Ref<AppStore> replacement);

}  // namespace kelvane
