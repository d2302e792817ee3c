// The generic store at work: a counter state, a reducer, a logging middleware and two subscribers.
#include <cstdio>

#include <kelvane/store.hpp>

#include "demo.hpp"

namespace {

struct CounterState {
    std::int64_t count = 0;
    std::string label = "idle";
    bool operator==(const CounterState&) const = default;
};
KELVANE_RECORD(CounterState, (count, label))

struct Increment final : kelvane::ActionRecord<Increment> {
    explicit Increment(std::int64_t by) : by(by) {}
    std::int64_t by;
};
KELVANE_RECORD(Increment, (by))

struct Rename final : kelvane::ActionRecord<Rename> {
    explicit Rename(std::string label) : label(std::move(label)) {}
    std::string label;
};
KELVANE_RECORD(Rename, (label))

CounterState counterReducer(const kelvane::Action& action,
                            const std::optional<CounterState>& current) {
    CounterState next = current.value_or(CounterState{});
    if (const auto* increment = dynamic_cast<const Increment*>(&action)) {
        next.count += increment->by;
    } else if (const auto* rename = dynamic_cast<const Rename*>(&action)) {
        next.label = rename->label;
    }
    return next;
}

kelvane::Middleware<CounterState> loggingMiddleware() {
    return [](kelvane::DispatchFunction, kelvane::GetState<CounterState> getState) {
        return [getState](kelvane::DispatchFunction next) -> kelvane::DispatchFunction {
            return [getState, next](const kelvane::Action& action) {
                std::printf("middleware: %s arrives, state %s\n", kelvane::printed(action).c_str(),
                            kelvane::printed(getState()).c_str());
                next(action);
            };
        };
    };
}

class WholeStatePrinter final : public kelvane::StoreSubscriber<CounterState> {
  public:
    void newState(const CounterState& state) override {
        std::printf("whole-state subscriber: %s\n", kelvane::printed(state).c_str());
    }
};

class CountPrinter final : public kelvane::StoreSubscriber<std::int64_t> {
  public:
    void newState(const std::int64_t& count) override {
        std::printf("count subscriber: %lld\n", static_cast<long long>(count));
    }
};

}  // namespace

void demo::runStoreDemo() {
    section("store");
    auto store =
        kelvane::Store<CounterState>::make(counterReducer, std::nullopt, {loggingMiddleware()});
    auto whole = std::make_shared<WholeStatePrinter>();
    auto count = std::make_shared<CountPrinter>();
    store->subscribe(whole);
    // select + skipRepeats: the count subscriber hears only changes of the count.
    store->subscribe(count,
                     [](auto head) { return head->select(&CounterState::count)->skipRepeats(); });

    store->dispatch(Increment(2));
    store->dispatch(Rename("recording"));
    store->dispatch(Increment(-1));
    std::printf("final state: %s\n", kelvane::printed(store->state()).c_str());
}
