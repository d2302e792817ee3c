// What a dispatch from inside a delivery costs: the states and the subscription lists it keeps
// alive, bounded by the nesting depth however many dispatches a call makes, and the copies of the
// state it makes, one per reducer run.
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/store.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "case_name.hpp"
#include "heap_in_use.hpp"
#include "store_test_support.hpp"

namespace {

using kelvane::Store;
using storetest::Add;
using storetest::Tally;
using ::testing::ElementsAre;

// A state whose instances and copies are counted.
struct Tallied {
    std::int64_t value = 0;
    Tally tally;
    bool operator==(const Tallied&) const = default;
};

// While a reducer runs, the state it builds is alive beside what the deliveries under way keep:
// at most 2D + 3 states, D being the deliveries under way.
struct InsideReducers {
    const int* depth = nullptr;  // the deliveries under way; not checked while null
    std::int64_t peak = 0;
    int checks = 0;
    int overBound = 0;

    void check() {
        if (depth == nullptr) {
            return;
        }
        ++checks;
        const std::int64_t bound = 2 * *depth + 3;
        peak = std::max(peak, Tally::counts().live);
        if (Tally::counts().live > bound) {
            ++overBound;
            ADD_FAILURE() << Tally::counts().live << " states alive inside a reducer at depth "
                          << *depth << " (at most " << bound << ")";
        }
    }
};

// Copies the state once, as any reducer of a value state does, and counts its runs.
struct TalliedReducer {
    std::shared_ptr<int> runs = std::make_shared<int>(0);
    std::shared_ptr<InsideReducers> inside = std::make_shared<InsideReducers>();
    Tallied operator()(const kelvane::Action& action, const std::optional<Tallied>& state) const {
        ++*runs;
        Tallied next = *state;
        if (const auto* add = dynamic_cast<const Add*>(&action)) {
            next.value += add->amount;
        }
        inside->check();
        return next;
    }
};

// Counts afresh from before the fixture's store is made.
struct FreshCounts {
    FreshCounts() noexcept { Tally::counts() = {}; }
};

class NestedDispatch : public ::testing::Test {
  protected:
    static std::int64_t live() { return Tally::counts().live; }
    static std::int64_t copies() { return Tally::counts().copies; }

    FreshCounts fresh;
    TalliedReducer reducer;
    std::shared_ptr<Store<Tallied>> store = Store<Tallied>::make(reducer, Tallied{}, {}, false);
};

// A subscriber that knows how deep in deliveries it runs (one call per delivery on the stack, as
// only one subscriber of each delivery runs at a time) and checks the states alive against that.
class DepthAware final : public kelvane::StoreSubscriber<Tallied> {
  public:
    explicit DepthAware(int& depth) : depth_(depth) {}
    void newState(const Tallied& state) override {
        ++depth_;
        check("on arrival");
        received.push_back(state.value);
        if (onNewState) {
            onNewState(state);
        }
        --depth_;
    }
    // Each delivery on the stack holds at most its old state and the state it handed over; two
    // more are the current state and the one the outermost delivery began with.
    void check(const char* when) {
        const std::int64_t bound = 2 * depth_ + 2;
        peak = std::max(peak, Tally::counts().live);
        if (Tally::counts().live > bound) {
            ++overBound;
            ADD_FAILURE() << Tally::counts().live << " states alive " << when << " at depth "
                          << depth_ << " (at most " << bound << ")";
        }
    }
    std::vector<std::int64_t> received;
    std::function<void(const Tallied&)> onNewState;
    std::int64_t peak = 0;
    int overBound = 0;

  private:
    int& depth_;
};

// ---- One copy per reducer run

struct CopyCase {
    const char* name;
    // What the first subscriber does with each value it receives.
    std::function<void(Store<Tallied>&, std::int64_t)> react;
    int reducerRuns;
};

class CopiesPerReducerRun : public NestedDispatch,
                            public ::testing::WithParamInterface<CopyCase> {};

TEST_P(CopiesPerReducerRun, AreOneWithOrWithoutNesting) {
    int depth = 0;
    auto first = std::make_shared<DepthAware>(depth);
    auto second = std::make_shared<DepthAware>(depth);
    first->onNewState = [this](const Tallied& state) { GetParam().react(*store, state.value); };
    store->subscribe(first);
    store->subscribe(second);
    Tally::counts().copies = 0;
    *reducer.runs = 0;

    store->dispatch(Add(1));
    EXPECT_EQ(*reducer.runs, GetParam().reducerRuns);
    EXPECT_EQ(copies(), *reducer.runs);
    EXPECT_EQ(live(), 1) << "the store's state only";
}

const CopyCase kCopyCases[] = {
    {"NoNesting", [](Store<Tallied>&, std::int64_t) {}, 1},
    {"OneNestedDispatch",
     [](Store<Tallied>& store, std::int64_t value) {
         if (value == 1) {
             store.dispatch(Add(10));
         }
     },
     2},
    {"TwoLevels",
     [](Store<Tallied>& store, std::int64_t value) {
         if (value == 1 || value == 11) {
             store.dispatch(Add(10));
         }
     },
     3},
    {"TenFromOneCall",
     [](Store<Tallied>& store, std::int64_t value) {
         if (value == 1) {
             for (int i = 0; i < 10; ++i) {
                 store.dispatch(Add(10));
             }
         }
     },
     11},
};

INSTANTIATE_TEST_SUITE_P(Store, CopiesPerReducerRun, ::testing::ValuesIn(kCopyCases),
                         kelvane::testing::caseName);

// ---- States alive while one call dispatches 1,000 times

struct ManyCase {
    const char* name;
    bool fromSubscribe;  // the dispatching call is subscribe's first delivery, not a dispatch's
    bool twoLevels;      // the dispatches come from a delivery that is itself nested
    // The dispatching call is handed the state that a subscriber before it dispatched, so it holds
    // a nested state of its own while its dispatches make more.
    bool afterASibling = false;
    std::int64_t peakInSubscribers;
    std::int64_t peakInReducers;
};

class StatesAlive : public NestedDispatch, public ::testing::WithParamInterface<ManyCase> {};

TEST_P(StatesAlive, StayBoundedByTheDepthHoweverManyDispatchesACallMakes) {
    constexpr int kDispatches = 1000;
    const ManyCase& how = GetParam();
    int depth = 0;
    reducer.inside->depth = &depth;
    auto dispatcher = std::make_shared<DepthAware>(depth);
    auto bystander = std::make_shared<DepthAware>(depth);
    if (how.afterASibling) {
        bystander->onNewState = [&](const Tallied& state) {
            if (state.value == 1) {
                store->dispatch(Add(10));
            }
        };
    }
    // Dispatches many times from the call it is triggered in, checking after each dispatch.
    const std::int64_t trigger =
        how.twoLevels || how.afterASibling ? 11 : (how.fromSubscribe ? 0 : 1);
    dispatcher->onNewState = [&, trigger](const Tallied& state) {
        if (how.twoLevels && state.value == (how.fromSubscribe ? 0 : 1)) {
            store->dispatch(Add(11 - state.value));  // one level in: the next state is 11
            return;
        }
        if (state.value != trigger || (how.afterASibling && depth != 1)) {
            return;
        }
        for (int i = 0; i < kDispatches; ++i) {
            store->dispatch(Add(1000));
            dispatcher->check("after a nested dispatch");
        }
    };
    store->subscribe(bystander);
    if (how.fromSubscribe) {
        store->subscribe(dispatcher);
    } else {
        store->subscribe(dispatcher);
        store->dispatch(Add(1));
    }

    const std::int64_t last = trigger + std::int64_t{1000} * kDispatches;
    EXPECT_EQ(store->state()->value, last);
    EXPECT_EQ(bystander->received.back(), last);
    EXPECT_EQ(bystander->overBound + dispatcher->overBound + reducer.inside->overBound, 0);
    EXPECT_GE(reducer.inside->checks, kDispatches);
    EXPECT_EQ(std::max(bystander->peak, dispatcher->peak), how.peakInSubscribers);
    EXPECT_EQ(reducer.inside->peak, how.peakInReducers);
    EXPECT_EQ(live(), 1) << "once the outermost delivery ended";
}

const ManyCase kManyCases[] = {
    {"FromADispatch", false, false, false, 4, 4},
    {"FromSubscribesFirstDelivery", true, false, false, 3, 3},
    {"FromADispatchTwoLevelsIn", false, true, false, 5, 5},
    {"FromSubscribesFirstDeliveryTwoLevelsIn", true, true, false, 4, 4},
    {"FromACallHandedANestedState", false, false, true, 5, 5},
};

INSTANTIATE_TEST_SUITE_P(Store, StatesAlive, ::testing::ValuesIn(kManyCases),
                         kelvane::testing::caseName);

// ---- A copy that throws

// The subscriber dispatches once from its notification; the state's copies throw either during
// the nested dispatch (its reducer's copy) or only after it, when the newest state moves home,
// which copies nothing.
struct ThrowingCopyCase {
    const char* name;
    bool throwInTheNestedReducer;
    bool subscriberCatches;
    bool callerSeesIt;
    std::int64_t valueAfter;
};

class ThrowingCopy : public NestedDispatch,
                     public ::testing::WithParamInterface<ThrowingCopyCase> {};

TEST_P(ThrowingCopy, ReachesTheCallerOrIsNeverMadeAndTheStoreGoesOn) {
    const ThrowingCopyCase& how = GetParam();
    int depth = 0;
    auto subscriber = std::make_shared<DepthAware>(depth);
    auto bystander = std::make_shared<DepthAware>(depth);
    bool caught = false;
    subscriber->onNewState = [&](const Tallied& state) {
        if (state.value != 1) {
            return;
        }
        if (how.throwInTheNestedReducer) {
            Tally::counts().copiesThrow = true;
        }
        try {
            store->dispatch(Add(10));
        } catch (const std::bad_alloc&) {
            caught = true;
            if (!how.subscriberCatches) {
                throw;
            }
        }
        Tally::counts().copiesThrow = true;  // from here on, until the dispatch returns
    };
    store->subscribe(subscriber);
    store->subscribe(bystander);

    bool callerSaw = false;
    try {
        store->dispatch(Add(1));
    } catch (const std::bad_alloc&) {
        callerSaw = true;
    }
    Tally::counts().copiesThrow = false;
    EXPECT_EQ(caught, how.throwInTheNestedReducer);
    EXPECT_EQ(callerSaw, how.callerSeesIt);
    EXPECT_EQ(store->state()->value, how.valueAfter);
    EXPECT_EQ(live(), 1);

    // Not busy, nothing left over: the next dispatch is served as usual.
    store->dispatch(Add(100));
    EXPECT_EQ(store->state()->value, how.valueAfter + 100);
    EXPECT_EQ(bystander->received.back(), how.valueAfter + 100);
    EXPECT_EQ(live(), 1);
}

const ThrowingCopyCase kThrowingCopyCases[] = {
    {"NestedReducerCopyThrowsThroughTheSubscriber", true, false, true, 1},
    {"NestedReducerCopyThrowsAndTheSubscriberCatchesIt", true, true, false, 1},
    {"CopiesThrowOnceTheNestedDispatchIsDone", false, false, false, 11},
};

INSTANTIATE_TEST_SUITE_P(Store, ThrowingCopy, ::testing::ValuesIn(kThrowingCopyCases),
                         kelvane::testing::caseName);

// ---- Subscription lists alive

// Counts what it receives and checks, in every call, the subscription lists alive against the
// deliveries under way: one list per delivery (what it walks), plus the current one.
class ListChecker final : public kelvane::StoreSubscriber<storetest::Counter> {
  public:
    struct Shared {
        int depth = 0;
        // Every list alive holds this box: its count of owners is the number of lists alive.
        std::weak_ptr<const kelvane::SubscriptionBox<storetest::Counter>> sentinel;
        long peak = 0;
        int overBound = 0;

        void check(const char* when) {
            const long lists = sentinel.use_count();
            peak = std::max(peak, lists);
            if (lists > depth + 1) {
                ++overBound;
                ADD_FAILURE() << lists << " subscription lists alive " << when << " at depth "
                              << depth;
            }
        }
    };

    explicit ListChecker(Shared& shared) : shared_(shared) {}
    void newState(const storetest::Counter& state) override {
        ++shared_.depth;
        shared_.check("in a subscriber");
        ++received;
        if (onNewState) {
            onNewState(state);
        }
        --shared_.depth;
    }
    int received = 0;
    std::function<void(const storetest::Counter&)> onNewState;

  private:
    Shared& shared_;
};

// One subscriber, from one notification, a thousand times: a nested dispatch, then an unsubscribe.
// Each unsubscribe but the first finds the list free again, so nothing is copied for it.
TEST(NestedDispatchLists, StayOnePerDeliveryUnderWayWhenACallDispatchesAndUnsubscribes) {
    constexpr int kSubscribers = 3000;
    constexpr int kRounds = 1000;
    auto store =
        Store<storetest::Counter>::make(storetest::counterReducer, storetest::Counter{}, {}, false);
    ListChecker::Shared shared;
    std::vector<std::shared_ptr<ListChecker>> subscribers;
    for (int i = 0; i < kSubscribers; ++i) {
        subscribers.push_back(std::make_shared<ListChecker>(shared));
    }
    ListChecker& dispatcher = *subscribers[kSubscribers / 2];
    dispatcher.onNewState = [&](const storetest::Counter& state) {
        if (state.value != 1) {
            return;
        }
        for (int round = 0; round < kRounds; ++round) {
            store->dispatch(Add(1000));
            shared.check("after a nested dispatch");
            // Before and after the dispatcher in the list, in turn.
            const int doomed = round % 2 == 0 ? round / 2 + 1 : kSubscribers - 1 - round / 2;
            store->unsubscribe(subscribers[static_cast<std::size_t>(doomed)]);
            shared.check("after an unsubscribe");
        }
    };
    for (const auto& subscriber : subscribers) {
        store->subscribe(subscriber);
    }
    for (const auto& box : store->subscriptions()) {
        if (box->subscriber.lock() == subscribers.front()) {
            shared.sentinel = box;
        }
    }
    ASSERT_EQ(shared.sentinel.use_count(), 1);

    store->dispatch(Add(1));

    EXPECT_EQ(shared.overBound, 0);
    EXPECT_LE(shared.peak, 3);
    EXPECT_EQ(shared.sentinel.use_count(), 1) << "once the outermost delivery ended";
    EXPECT_EQ(store->subscriptions().size(), static_cast<std::size_t>(kSubscribers - kRounds));
    EXPECT_EQ(subscribers.front()->received, 2 + kRounds);
    // Subscribed, two nested dispatches before it was unsubscribed, and the outer delivery, which
    // still visits it.
    EXPECT_EQ(subscribers.back()->received, 4);
}

// ---- The places of nested states

// A state whose payload is held inline, as the places of nested states hold it.
struct Wide {
    std::int64_t value = 0;
    std::array<char, 16 * 1024> payload{};
};

Wide wideReducer(const kelvane::Action& action, const std::optional<Wide>& state) {
    Wide next = *state;
    if (const auto* add = dynamic_cast<const Add*>(&action)) {
        next.value += add->amount;
    }
    return next;
}

// Nests each outermost dispatch (to the next multiple of 1,000) the given number of levels deep,
// one dispatch (by 1) per level.
class Nester final : public kelvane::StoreSubscriber<Wide> {
  public:
    Nester(Store<Wide>& store, int& levels) : store_(store), levels_(levels) {}
    void newState(const Wide& state) override {
        if (state.value % 1000 < levels_) {
            store_.dispatch(Add(1));
        }
    }

  private:
    Store<Wide>& store_;
    int& levels_;
};

// Once the outermost delivery has ended, the store keeps the places that delivery used at once
// (at least two), not those of the deepest delivery it ever made.
TEST(NestedDispatchPlaces, AreTrimmedToWhatTheLastOutermostDeliveryUsed) {
    auto store = Store<Wide>::make(wideReducer, Wide{}, {}, false);
    int levels = 0;
    auto nester = std::make_shared<Nester>(*store, levels);
    store->subscribe(nester);
    store->dispatch(Add(1000));
    const std::size_t before = kelvane::testing::heapInUse();

    for (const int depth : {40, 1, 0, 5, 40, 3, 2}) {
        levels = depth;
        store->dispatch(Add(1000 - store->state()->value % 1000));
        ASSERT_EQ(store->state()->value % 1000, depth);
        const std::size_t kept = kelvane::testing::heapInUse() - before;
        const std::size_t places = static_cast<std::size_t>(std::max(depth, 2)) + 1;
        // A quarter more for the allocator's rounding of each place (the thread sanitizer's rounds
        // up to its size classes).
        EXPECT_LE(kept, places * sizeof(Wide) * 5 / 4 + 4096)
            << "after a delivery " << depth << " deep";
    }
}

// ---- state() during a delivery

// Read during a delivery, the state is the one being delivered, and after the reader's own
// dispatch it is read anew: each reference holds until the reader dispatches or returns.
TEST(NestedDispatchState, ReadDuringADeliveryIsTheNewestUntilTheReaderDispatches) {
    auto store = Store<storetest::Counter>::make(
        [](const kelvane::Action& action, const std::optional<storetest::Counter>& state) {
            storetest::Counter next = storetest::counterReducer(action, state);
            next.label = "label of state " + std::to_string(next.value) + ", on the heap";
            return next;
        },
        storetest::Counter{}, {}, false);
    std::vector<std::string> seen;
    auto reader = std::make_shared<storetest::Recorder<storetest::Counter>>();
    reader->onNewState = [&](const storetest::Counter& state) {
        if (state.value != 1) {
            return;
        }
        seen.push_back(store->state()->label);
        store->dispatch(Add(10));
        const std::optional<storetest::Counter>& newest = store->state();
        seen.push_back(newest->label);
        store->dispatch(Add(100));
        seen.push_back(store->state()->label);
    };
    auto after = std::make_shared<storetest::Recorder<storetest::Counter>>();
    after->onNewState = [&](const storetest::Counter&) { seen.push_back(store->state()->label); };
    store->subscribe(reader);
    store->subscribe(after);
    seen.clear();
    store->dispatch(Add(1));
    EXPECT_THAT(seen,
                ElementsAre("label of state 1, on the heap", "label of state 11, on the heap",
                            "label of state 11, on the heap", "label of state 111, on the heap",
                            "label of state 111, on the heap", "label of state 111, on the heap"));
}

}  // namespace
