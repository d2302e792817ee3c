#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <kelvane/store.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "case_name.hpp"
#include "store_test_support.hpp"

namespace {

using kelvane::Action;
using kelvane::DispatchFunction;
using kelvane::GetState;
using kelvane::Middleware;
using kelvane::Store;
using storetest::Add;
using storetest::Counter;
using storetest::counterReducer;
using storetest::Label;
using ::testing::ElementsAre;

// A subclass that sees every action through the overridable dispatch, as an application store does.
class RecordingStore final : public Store<Counter> {
  public:
    using Store<Counter>::Store;
    using Store<Counter>::dispatch;

    static std::shared_ptr<RecordingStore> make(kelvane::Reducer<Counter> reducer,
                                                std::optional<Counter> state,
                                                std::vector<Middleware<Counter>> middleware = {}) {
        return makeStore<RecordingStore>(std::move(reducer), std::move(state),
                                         std::move(middleware), true);
    }

    void dispatch(const Action& action) override {
        seen.push_back(kelvane::printed(action));
        Store<Counter>::dispatch(action);
    }

    std::vector<std::string> seen;
};

// A middleware that records its name before and after the rest of the chain.
Middleware<Counter> tracing(std::string name, std::shared_ptr<std::vector<std::string>> trace) {
    return [name, trace](DispatchFunction, GetState<Counter>) {
        trace->push_back("build " + name);
        return [name, trace](DispatchFunction next) -> DispatchFunction {
            return [name, trace, next](const Action& action) {
                trace->push_back(name + " before");
                next(action);
                trace->push_back(name + " after");
            };
        };
    };
}

Middleware<Counter> swallowing() {
    return [](DispatchFunction, GetState<Counter>) {
        return [](DispatchFunction) -> DispatchFunction { return [](const Action&) {}; };
    };
}

TEST(StoreConstruction, WithInitialStateRunsNothing) {
    int reducerCalls = 0;
    auto store = RecordingStore::make(
        [&reducerCalls](const Action& action, const std::optional<Counter>& state) {
            ++reducerCalls;
            return counterReducer(action, state);
        },
        Counter{5, "start"});
    EXPECT_EQ(store->state(), (Counter{5, "start"}));
    EXPECT_EQ(reducerCalls, 0);
    EXPECT_TRUE(store->seen.empty());
}

TEST(StoreConstruction, WithoutStateDispatchesStoreInitThroughTheOverride) {
    std::vector<std::pair<std::string, bool>> calls;
    auto store = RecordingStore::make(
        [&calls](const Action& action, const std::optional<Counter>& state) {
            calls.emplace_back(kelvane::printed(action), state.has_value());
            return Counter{1, "built"};
        },
        std::nullopt);
    EXPECT_THAT(calls, ElementsAre(std::pair<std::string, bool>("StoreInit()", false)));
    EXPECT_THAT(store->seen, ElementsAre("StoreInit()"));
    EXPECT_EQ(store->state(), (Counter{1, "built"}));
}

TEST(StoreConstruction, MiddlewareIsNotComposedUntilFirstUse) {
    auto trace = std::make_shared<std::vector<std::string>>();
    auto store = Store<Counter>::make(counterReducer, Counter{}, {tracing("A", trace)});
    EXPECT_TRUE(trace->empty());
    store->dispatch(Add(1));
    store->dispatch(Add(1));
    EXPECT_EQ(std::count(trace->begin(), trace->end(), "build A"), 1);
}

TEST(StoreMiddleware, FirstEntryIsOutermost) {
    auto trace = std::make_shared<std::vector<std::string>>();
    auto store = Store<Counter>::make(
        [trace](const Action& action, const std::optional<Counter>& state) {
            trace->push_back("reducer");
            return counterReducer(action, state);
        },
        Counter{}, {tracing("A", trace), tracing("B", trace)});
    store->dispatch(Add(2));
    EXPECT_THAT(*trace, ElementsAre("build B", "build A", "A before", "B before", "reducer",
                                    "B after", "A after"));
    EXPECT_EQ(store->state()->value, 2);
}

TEST(StoreMiddleware, SwallowedActionChangesNothingAndDeliversNothing) {
    auto store = Store<Counter>::make(counterReducer, Counter{}, {swallowing()});
    auto subscriber = std::make_shared<storetest::Recorder<Counter>>();
    store->subscribe(subscriber);
    store->dispatch(Add(3));
    EXPECT_EQ(store->state()->value, 0);
    EXPECT_EQ(subscriber->received.size(), 1U);  // only the state handed over at subscribe time
}

TEST(StoreMiddleware, RedispatchRunsTheWholeChainAndStopsOnceTheStoreIsGone) {
    DispatchFunction keptRedispatch;
    GetState<Counter> keptGetState;
    const Middleware<Counter> doubling = [&](DispatchFunction redispatch,
                                             GetState<Counter> getState) {
        keptRedispatch = redispatch;
        keptGetState = getState;
        return [redispatch](DispatchFunction next) -> DispatchFunction {
            return [redispatch, next](const Action& action) {
                // Turns a Label into an extra Add(10) through the whole chain, then passes it on.
                if (dynamic_cast<const Label*>(&action) != nullptr) {
                    redispatch(Add(10));
                }
                next(action);
            };
        };
    };
    auto store = Store<Counter>::make(counterReducer, Counter{}, {doubling});
    store->dispatch(Label("x"));
    EXPECT_EQ(store->state(), (Counter{10, "x"}));
    ASSERT_TRUE(keptGetState().has_value());

    std::weak_ptr<Store<Counter>> weak = store;
    store.reset();
    EXPECT_TRUE(weak.expired()) << "the chain must not keep its store alive";
    keptRedispatch(Add(1));  // nothing to reach: does nothing
    EXPECT_EQ(keptGetState(), std::nullopt);
}

TEST(StoreMiddleware, AssigningMiddlewareReplacesAHandSetDispatchFunction) {
    auto store = Store<Counter>::make(counterReducer, Counter{});
    int handSetCalls = 0;
    store->setDispatchFunction([&handSetCalls](const Action&) { ++handSetCalls; });
    store->dispatch(Add(1));
    EXPECT_EQ(handSetCalls, 1);
    EXPECT_EQ(store->state()->value, 0);

    auto trace = std::make_shared<std::vector<std::string>>();
    store->setMiddleware({tracing("A", trace)});
    store->dispatch(Add(1));
    EXPECT_EQ(handSetCalls, 1);
    EXPECT_EQ(store->state()->value, 1);
    EXPECT_THAT(*trace, ElementsAre("build A", "A before", "A after"));
}

TEST(StoreMiddleware, ReplacingMiddlewareDuringItsOwnStepIsSafe) {
    std::shared_ptr<Store<Counter>> store;
    const Middleware<Counter> replacing = [&store](DispatchFunction, GetState<Counter>) {
        return [&store](DispatchFunction next) -> DispatchFunction {
            return [&store, next](const Action& action) {
                store->setMiddleware({});  // destroys the chain this step belongs to
                next(action);
            };
        };
    };
    store = Store<Counter>::make(counterReducer, Counter{}, {replacing});
    store->dispatch(Add(4));
    store->dispatch(Add(1));
    EXPECT_EQ(store->state()->value, 5);
}

TEST(StoreDispatch, KeptDispatchFunctionDoesNothingAfterTheStoreIsGone) {
    auto store = Store<Counter>::make(counterReducer, Counter{});
    const DispatchFunction kept = store->dispatchFunction();
    store.reset();
    kept(Add(1));  // no store to reach, no crash
    SUCCEED();
}

TEST(StoreDispatch, ReducerThatDispatchesHaltsWithTheConcurrentMutationMessage) {
    storetest::HaltRecorder recorder;
    std::shared_ptr<Store<Counter>> store;
    store = Store<Counter>::make(
        [&store](const Action& action, const std::optional<Counter>& state) {
            if (dynamic_cast<const Label*>(&action) != nullptr) {
                store->dispatch(Add(1));
            }
            return counterReducer(action, state);
        },
        Counter{});
    const auto halt = recorder.runExpectingHalt([store] { store->dispatch(Label("inner")); });
    ASSERT_TRUE(halt.has_value());
    EXPECT_EQ(halt->message,
              "Store:ConcurrentMutationError- Action has been dispatched while a previous action "
              "is being "
              "processed. A reducer is dispatching an action, or the store is used in a concurrent "
              "context "
              "(e.g. from multiple threads). Action: Add(amount: 1)");
    EXPECT_THAT(halt->file, ::testing::EndsWith("store.hpp"));
    EXPECT_GT(halt->line, 0U);
    EXPECT_EQ(store->state()->value, 0) << "the halted dispatch changes no state";
}

TEST(StoreDispatch, EmptyDispatchFunctionHaltsWithAClearMessage) {
    storetest::HaltRecorder recorder;
    auto store = Store<Counter>::make(counterReducer, Counter{});
    store->setDispatchFunction({});
    const auto halt = recorder.runExpectingHalt([store] { store->dispatch(Add(1)); });
    ASSERT_TRUE(halt.has_value());
    EXPECT_THAT(halt->message, ::testing::HasSubstr("no dispatch function"));
    EXPECT_THAT(halt->message, ::testing::EndsWith("Action: Add(amount: 1)"));
}

TEST(StoreDispatch, ReducerThatThrowsLeavesTheStoreUsable) {
    auto store = Store<Counter>::make(
        [](const Action& action, const std::optional<Counter>& state) {
            if (dynamic_cast<const Label*>(&action) != nullptr) {
                throw std::runtime_error("bad label");
            }
            return counterReducer(action, state);
        },
        Counter{});
    EXPECT_THROW(store->dispatch(Label("x")), std::runtime_error);
    store->dispatch(Add(1));
    EXPECT_EQ(store->state()->value, 1);
}

TEST(StoreDispatch, SubscriberMayDispatchFromItsNotification) {
    auto store = Store<Counter>::make(counterReducer, Counter{});
    auto subscriber = std::make_shared<storetest::Recorder<Counter>>();
    subscriber->onNewState = [&store](const Counter& state) {
        if (state.value == 1) {
            store->dispatch(Add(1));
        }
    };
    store->subscribe(subscriber);
    store->dispatch(Add(1));
    EXPECT_EQ(store->state()->value, 2);
    EXPECT_EQ(subscriber->received.back().value, 2);
}

// ---- A store without middleware runs its default dispatch straight away

// What a subscriber does to the chain while a dispatch that took the short way delivers.
struct ChainChangeCase {
    const char* name;
    std::function<void(Store<Counter>&, std::shared_ptr<std::vector<std::string>>&)> change;
    std::vector<std::string> traceAfter;  // of the next dispatch
    std::int64_t valueAfter;
};

class ChainReplacedDuringADelivery : public ::testing::TestWithParam<ChainChangeCase> {};

TEST_P(ChainReplacedDuringADelivery, LetsTheRunningDispatchFinishAndServesTheNextOneByIt) {
    auto trace = std::make_shared<std::vector<std::string>>();
    auto store = Store<Counter>::make(counterReducer, Counter{});
    store->dispatch(Add(0));  // builds the chain: from now on, dispatches take the short way
    auto changer = std::make_shared<storetest::Recorder<Counter>>();
    changer->onNewState = [&](const Counter& state) {
        if (state.value == 1) {
            GetParam().change(*store, trace);
        }
    };
    auto after = std::make_shared<storetest::Recorder<Counter>>();
    store->subscribe(changer);
    store->subscribe(after);
    store->dispatch(Add(1));
    EXPECT_EQ(after->received.back().value, 1) << "the running dispatch delivers to the end";
    trace->clear();
    store->dispatch(Add(1));
    EXPECT_EQ(*trace, GetParam().traceAfter);
    EXPECT_EQ(store->state()->value, GetParam().valueAfter);
}

const ChainChangeCase kChainChangeCases[] = {
    {"Middleware",
     [](Store<Counter>& store, auto& trace) { store.setMiddleware({tracing("A", trace)}); },
     {"A before", "A after"},
     2},
    {"HandSetFunction",
     [](Store<Counter>& store, auto& trace) {
         store.setDispatchFunction([trace](const Action&) { trace->push_back("hand-set"); });
     },
     {"hand-set"},
     1},
    {"MiddlewareThenNoneAgain",
     [](Store<Counter>& store, auto& trace) {
         store.setMiddleware({tracing("A", trace)});
         store.setMiddleware({});
     },
     {},
     2},
};

INSTANTIATE_TEST_SUITE_P(Store, ChainReplacedDuringADelivery,
                         ::testing::ValuesIn(kChainChangeCases), kelvane::testing::caseName);

// A subclass whose chain wraps the default one is served through its wrapper, never straight.
TEST(StoreDispatch, ChainThatWrapsTheDefaultDispatchIsNotSkipped) {
    class Wrapping final : public Store<Counter> {
      public:
        using Store<Counter>::Store;
        static std::shared_ptr<Wrapping> make() {
            return makeStore<Wrapping>(counterReducer, Counter{}, {}, true);
        }
        int wrapped = 0;

      protected:
        DispatchFunction buildDispatchFunction() override {
            return [this, inner = Store<Counter>::buildDispatchFunction()](const Action& action) {
                ++wrapped;
                inner(action);
            };
        }
    };
    auto store = Wrapping::make();
    store->dispatch(Add(1));
    store->dispatch(Add(1));
    EXPECT_EQ(store->wrapped, 2);
    EXPECT_EQ(store->state()->value, 2);
}

// ---- Every dispatch path keeps the store alive while it delivers

// A path into the store, called through a plain pointer while `owner` is the store's only owner.
// A subscriber releases `owner` when it receives the value 1 (the new one, when the path
// subscribes). Under AddressSanitizer, a path that touched the store afterwards would fail here.
struct LastOwnerCase {
    const char* name;
    std::function<void(Store<Counter>& store, std::shared_ptr<Store<Counter>>& owner)> path;
    std::int64_t lastValue;  // what the subscriber after the releaser received last
};

class ReleasingTheLastOwner : public ::testing::TestWithParam<LastOwnerCase> {};

TEST_P(ReleasingTheLastOwner, DuringTheDeliveryLeavesTheStoreUntilItsCallReturns) {
    // Passes Label("again") on as an Add(1), dispatched again from the outermost step.
    const Middleware<Counter> redispatching = [](DispatchFunction redispatch, GetState<Counter>) {
        return [redispatch](DispatchFunction next) -> DispatchFunction {
            return [redispatch, next](const Action& action) {
                if (dynamic_cast<const Label*>(&action) != nullptr) {
                    redispatch(Add(1));
                    return;
                }
                next(action);
            };
        };
    };
    auto owner = Store<Counter>::make(counterReducer, Counter{}, {redispatching});
    const std::weak_ptr<Store<Counter>> watch = owner;
    Store<Counter>& store = *owner;
    auto releaser = std::make_shared<storetest::Recorder<Counter>>();
    releaser->onNewState = [&owner](const Counter& state) {
        if (state.value == 1) {
            owner.reset();
        }
    };
    auto after = std::make_shared<storetest::Recorder<Counter>>();
    store.subscribe(releaser);
    store.subscribe(after);

    GetParam().path(store, owner);
    EXPECT_EQ(owner, nullptr);
    EXPECT_TRUE(watch.expired()) << "nothing keeps the store alive once its call returned";
    ASSERT_FALSE(after->received.empty());
    EXPECT_EQ(after->received.back().value, GetParam().lastValue)
        << "the boxes after the releaser are served";
}

const LastOwnerCase kLastOwnerCases[] = {
    {"Dispatch", [](Store<Counter>& store, auto&) { store.dispatch(Add(1)); }, 1},
    {"DefaultDispatch", [](Store<Counter>& store, auto&) { store._defaultDispatch(Add(1)); }, 1},
    {"MiddlewareRedispatch", [](Store<Counter>& store, auto&) { store.dispatch(Label("again")); },
     1},
    {"ActionCreator",
     [](Store<Counter>& store, auto&) {
         store.dispatch(kelvane::ActionCreator<Counter>(
             [](const Counter&, Store<Counter>&) -> std::unique_ptr<Action> {
                 return std::make_unique<Add>(1);
             }));
     },
     1},
    {"AsyncActionCreator",
     [](Store<Counter>& store, auto&) {
         store.dispatch(
             [](const Counter&, Store<Counter>&,
                const std::function<void(kelvane::ActionCreator<Counter>)>& callback) {
                 callback([](const Counter&, Store<Counter>&) -> std::unique_ptr<Action> {
                     return std::make_unique<Add>(1);
                 });
             },
             [](const Counter&) {});
     },
     1},
    {"SubscribesFirstDelivery",
     [](Store<Counter>& store, std::shared_ptr<Store<Counter>>& owner) {
         auto late = std::make_shared<storetest::Recorder<Counter>>();
         late->onNewState = [&owner](const Counter&) { owner.reset(); };
         store.subscribe(late);
     },
     0},
};

INSTANTIATE_TEST_SUITE_P(Store, ReleasingTheLastOwner, ::testing::ValuesIn(kLastOwnerCases),
                         kelvane::testing::caseName);

TEST(StoreActionCreators, CreatorResultIsDispatchedAndNoneIsDropped) {
    auto store = RecordingStore::make(counterReducer, Counter{3, ""});
    store->dispatch(kelvane::ActionCreator<Counter>(
        [](const Counter& state, Store<Counter>&) -> std::unique_ptr<Action> {
            return std::make_unique<Add>(state.value);
        }));
    EXPECT_EQ(store->state()->value, 6);
    store->dispatch(kelvane::ActionCreator<Counter>(
        [](const Counter&, Store<Counter>&) -> std::unique_ptr<Action> { return nullptr; }));
    EXPECT_EQ(store->state()->value, 6);
    EXPECT_THAT(store->seen, ElementsAre("Add(amount: 3)"));
}

TEST(StoreActionCreators, AsyncCallbackDispatchesEachTimeAndReportsTheStateAfter) {
    auto store = Store<Counter>::make(counterReducer, Counter{});
    std::function<void(kelvane::ActionCreator<Counter>)> kept;
    std::vector<std::int64_t> callbackStates;
    store->dispatch(
        [&kept](const Counter&, Store<Counter>&,
                std::function<void(kelvane::ActionCreator<Counter>)> callback) {
            kept = std::move(callback);
        },
        [&callbackStates](const Counter& state) { callbackStates.push_back(state.value); });
    const kelvane::ActionCreator<Counter> addTwo = [](const Counter&,
                                                      Store<Counter>&) -> std::unique_ptr<Action> {
        return std::make_unique<Add>(2);
    };
    const kelvane::ActionCreator<Counter> none =
        [](const Counter&, Store<Counter>&) -> std::unique_ptr<Action> { return nullptr; };

    std::weak_ptr<Store<Counter>> weak = store;
    store.reset();
    ASSERT_FALSE(weak.expired()) << "the kept callback keeps the store alive";
    kept(addTwo);
    kept(none);
    kept(addTwo);
    EXPECT_THAT(callbackStates, ElementsAre(2, 4));
    EXPECT_EQ(weak.lock()->state()->value, 4);
    kept = nullptr;
    EXPECT_TRUE(weak.expired());
}

TEST(StoreActionCreators, CreatorsAreNotCalledWithoutAState) {
    auto store = Store<Counter>::make(counterReducer, std::nullopt, {swallowing()});
    ASSERT_FALSE(store->state().has_value());
    bool called = false;
    store->dispatch(kelvane::ActionCreator<Counter>(
        [&called](const Counter&, Store<Counter>&) -> std::unique_ptr<Action> {
            called = true;
            return nullptr;
        }));
    store->dispatch(kelvane::AsyncActionCreator<Counter>(
        [&called](const Counter&, Store<Counter>&,
                  std::function<void(kelvane::ActionCreator<Counter>)>) { called = true; }));
    EXPECT_FALSE(called);
}

}  // namespace

// Creators get the state as a value: a dispatch they make meanwhile does not change what they
// were handed.
TEST(StoreActionCreators, CreatorsKeepTheStateTheyWereHandedAcrossTheirOwnDispatches) {
    auto store = Store<Counter>::make(counterReducer, Counter{3, ""});
    store->dispatch(kelvane::ActionCreator<Counter>(
        [](const Counter& state, Store<Counter>& sameStore) -> std::unique_ptr<Action> {
            sameStore.dispatch(Add(1));
            return std::make_unique<Add>(state.value);
        }));
    EXPECT_EQ(store->state()->value, 7);

    std::vector<std::int64_t> handed;
    const kelvane::ActionCreator<Counter> addTen =
        [&handed](const Counter& state, Store<Counter>&) -> std::unique_ptr<Action> {
        handed.push_back(state.value);
        return std::make_unique<Add>(10);
    };
    store->dispatch(kelvane::AsyncActionCreator<Counter>(
        [&](const Counter& state, Store<Counter>&,
            std::function<void(kelvane::ActionCreator<Counter>)> callback) {
            callback(addTen);
            handed.push_back(state.value);
        }));
    EXPECT_THAT(handed, ElementsAre(7, 7));
    EXPECT_EQ(store->state()->value, 17);
}
