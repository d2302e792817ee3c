// The store's subscriptions: subscribing and unsubscribing by identity, delivery order while the
// list changes, what a subscriber is handed and how long it stays valid, and the transforms.
#include <algorithm>
#include <any>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include <kelvane/store.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "case_name.hpp"
#include "store_test_support.hpp"

namespace {

using kelvane::AnyStateReference;
using kelvane::Store;
using kelvane::Subscription;
using storetest::Add;
using storetest::Counter;
using storetest::counterReducer;
using storetest::Label;
using storetest::Plain;
using storetest::Recorder;
using storetest::values;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using Log = std::vector<std::string>;
using Pair = std::pair<std::optional<std::int64_t>, std::int64_t>;

// A label long enough to live on the heap, so that a view of a label that was freed or
// overwritten shows under AddressSanitizer, or reads another label.
std::string labelFor(std::int64_t value) {
    return "state number " + std::to_string(value) + ", with a label that lives on the heap";
}

// Counts like counterReducer, and gives every new state a label of its own.
Counter labellingReducer(const kelvane::Action& action, const std::optional<Counter>& state) {
    Counter next = counterReducer(action, state);
    if (dynamic_cast<const Add*>(&action) != nullptr) {
        next.label = labelFor(next.value);
    }
    return next;
}

// Writes "name:value" to a shared log for every state it receives, so that one log shows who
// received what, in which order.
class Named final : public kelvane::StoreSubscriber<Counter> {
  public:
    Named(std::string name, std::shared_ptr<Log> log)
        : name(std::move(name)), log_(std::move(log)) {}
    void newState(const Counter& state) override {
        log_->push_back(name + ":" + std::to_string(state.value));
        if (onNewState) {
            onNewState(state);
        }
    }
    const std::string name;
    std::function<void(const Counter&)> onNewState;

  private:
    std::shared_ptr<Log> log_;
};

// A chain that shows which chain delivered: it multiplies the value by 100.
std::shared_ptr<Subscription<Counter>> timesHundred(
    const std::shared_ptr<Subscription<Counter>>& head) {
    return head->select([](const Counter& state) {
        return Counter{state.value * 100, state.label};
    });
}

// A store without automatic skipping, and `count` Named subscribers s0, s1, ... in that order.
class StoreWithSubscribers {
  public:
    explicit StoreWithSubscribers(int count) {
        for (int i = 0; i < count; ++i) {
            subscribers.push_back(std::make_shared<Named>("s" + std::to_string(i), log));
            store->subscribe(subscribers.back());
        }
        log->clear();
    }
    std::shared_ptr<Log> log = std::make_shared<Log>();
    std::shared_ptr<Store<Counter>> store =
        Store<Counter>::make(labellingReducer, Counter{0, labelFor(0)}, {}, false);
    std::vector<std::shared_ptr<Named>> subscribers;
};

// ---- Subscribing and unsubscribing

TEST(Subscribe, StoreWithStateDeliversItAtOnceThroughTheTransforms) {
    auto store = Store<Counter>::make(counterReducer, Counter{4, "x"});
    auto subscriber = std::make_shared<Recorder<std::int64_t>>();
    store->subscribe(subscriber, [](auto head) {
        return head->select(&Counter::value)->only([](std::int64_t, std::int64_t) {
            return false;
        });
    });
    EXPECT_THAT(subscriber->received, ElementsAre(4));
    // only(when:) never true: nothing after the first hand-over.
    store->dispatch(Add(1));
    EXPECT_THAT(subscriber->received, ElementsAre(4));
}

TEST(Subscribe, StoreWithoutStateDeliversNothingUntilTheFirstAssignment) {
    const kelvane::Middleware<Counter> holdInit = [](kelvane::DispatchFunction,
                                                     kelvane::GetState<Counter>) {
        return [](kelvane::DispatchFunction next) -> kelvane::DispatchFunction {
            return [next](const kelvane::Action& action) {
                if (dynamic_cast<const kelvane::StoreInit*>(&action) == nullptr) {
                    next(action);
                }
            };
        };
    };
    auto store = Store<Counter>::make(counterReducer, std::nullopt, {holdInit});
    auto subscriber = std::make_shared<Recorder<Counter>>();
    store->subscribe(subscriber);
    EXPECT_TRUE(subscriber->received.empty());
    // The first assignment has no old state: it is delivered all the same.
    store->dispatch(Add(2));
    EXPECT_THAT(values(subscriber->received), ElementsAre(2));
}

TEST(Subscribe, SecondSubscribeOfTheSameObjectReplacesItsChain) {
    auto store = Store<Counter>::make(counterReducer, Counter{1, ""});
    auto subscriber = std::make_shared<Recorder<std::int64_t>>();
    store->subscribe(subscriber, [](auto head) { return head->select(&Counter::value); });
    store->subscribe(subscriber, [](auto head) {
        return head->select([](const Counter& state) { return state.value * 100; });
    });
    EXPECT_EQ(store->subscriptions().size(), 1U);
    subscriber->received.clear();
    store->dispatch(Add(1));
    EXPECT_THAT(subscriber->received, ElementsAre(200));
}

TEST(Subscribe, EquatableStateSkipsRepeatsAutomatically) {
    auto store = Store<Counter>::make(counterReducer, Counter{});
    auto subscriber = std::make_shared<Recorder<Counter>>();
    store->subscribe(subscriber);
    store->dispatch(Label(""));  // equal state: not delivered
    store->dispatch(Add(1));
    store->dispatch(Add(0));  // equal again
    EXPECT_THAT(values(subscriber->received), ElementsAre(0, 1));
}

TEST(Subscribe, AutomaticSkippingOffDeliversEveryAssignment) {
    auto store = Store<Counter>::make(counterReducer, Counter{}, {}, false);
    auto subscriber = std::make_shared<Recorder<Counter>>();
    store->subscribe(subscriber);
    store->dispatch(Add(0));
    store->dispatch(Add(0));
    EXPECT_EQ(subscriber->received.size(), 3U);
}

TEST(Subscribe, StateWithoutEqualityIsDeliveredOnEveryAssignment) {
    auto store = Store<Plain>::make(
        [](const kelvane::Action&, const std::optional<Plain>& state) {
            return state.value_or(Plain{});
        },
        Plain{});
    auto subscriber = std::make_shared<Recorder<Plain>>();
    store->subscribe(subscriber);
    store->dispatch(Add(0));
    store->dispatch(Add(0));
    EXPECT_EQ(subscriber->received.size(), 3U);
}

TEST(Subscribe, SelectedEquatableStateSkipsUnchangedSelections) {
    auto store = Store<Counter>::make(counterReducer, Counter{});
    auto subscriber = std::make_shared<Recorder<std::string>>();
    store->subscribe(subscriber, [](auto head) { return head->select(&Counter::label); });
    store->dispatch(Add(1));  // label unchanged
    store->dispatch(Label("a"));
    store->dispatch(Add(1));
    EXPECT_THAT(subscriber->received, ElementsAre("", "a"));
}

TEST(Subscribe, GoneSubscriberIsDroppedAtTheNextAssignment) {
    auto store = Store<Counter>::make(counterReducer, Counter{});
    auto subscriber = std::make_shared<Recorder<Counter>>();
    std::weak_ptr<Recorder<Counter>> weak = subscriber;
    store->subscribe(subscriber);
    subscriber.reset();
    EXPECT_TRUE(weak.expired()) << "the store must not keep a subscriber alive";
    EXPECT_EQ(store->subscriptions().size(), 1U);
    store->dispatch(Add(1));
    EXPECT_TRUE(store->subscriptions().empty());
}

TEST(Unsubscribe, RemovesOnlyThatObject) {
    auto store = Store<Counter>::make(counterReducer, Counter{});
    auto first = std::make_shared<Recorder<Counter>>();
    auto second = std::make_shared<Recorder<Counter>>();
    store->subscribe(first);
    store->subscribe(second);
    store->unsubscribe(first);
    store->unsubscribe(std::make_shared<Recorder<Counter>>());  // never subscribed: nothing happens
    store->dispatch(Add(1));
    EXPECT_EQ(first->received.size(), 1U);
    EXPECT_EQ(second->received.size(), 2U);
}

TEST(SubscriptionIndex, ResubscribeReplacesTheChainInItsPlaceAfterTheListWasSqueezed) {
    StoreWithSubscribers fixture(8);
    auto& s = fixture.subscribers;
    // Five of eight leave: enough empty places for the list to be squeezed.
    for (int i = 1; i <= 5; ++i) {
        fixture.store->unsubscribe(s[static_cast<std::size_t>(i)]);
    }
    fixture.store->subscribe(s[6], timesHundred);
    fixture.store->unsubscribe(s[7]);
    fixture.store->subscribe(s[1]);
    fixture.store->subscribe(s[6], timesHundred);  // again: still one box, still in its place
    fixture.log->clear();

    fixture.store->dispatch(Add(1));
    EXPECT_THAT(*fixture.log, ElementsAre("s0:1", "s6:100", "s1:1"));
    std::vector<const void*> order;
    for (const auto& box : fixture.store->subscriptions()) {
        order.push_back(box->objectIdentifier);
    }
    EXPECT_THAT(order, ElementsAre(s[0].get(), s[6].get(), s[1].get()));
}

TEST(SubscriptionIndex, GoneSubscribersAreDroppedInOnePassWhileTheRestReceiveTheState) {
    StoreWithSubscribers fixture(10);
    for (std::size_t i = 0; i < fixture.subscribers.size(); i += 2) {
        fixture.subscribers[i].reset();
    }
    EXPECT_EQ(fixture.store->subscriptions().size(), 10U) << "dropped at the next delivery only";
    fixture.store->dispatch(Add(1));
    EXPECT_THAT(*fixture.log, ElementsAre("s1:1", "s3:1", "s5:1", "s7:1", "s9:1"));
    EXPECT_EQ(fixture.store->subscriptions().size(), 5U);
    fixture.log->clear();
    fixture.store->unsubscribe(fixture.subscribers[3]);
    fixture.store->dispatch(Add(1));
    EXPECT_THAT(*fixture.log, ElementsAre("s1:2", "s5:2", "s7:2", "s9:2"));
}

// ---- Delivery while the list changes

// What s1 does while it receives the first dispatch's state (value 1), with s0 before it and s2
// after it in the list.
struct DuringDelivery {
    const char* name;
    std::function<void(StoreWithSubscribers&)> act;
    Log expected;  // the log of that dispatch and of one more
    std::size_t boxesAfter;
};

class ChangeDuringDelivery : public ::testing::TestWithParam<DuringDelivery> {};

TEST_P(ChangeDuringDelivery, KeepsTheRunningDeliveryAsItStartedAndCountsForTheNext) {
    StoreWithSubscribers fixture(3);
    auto& s1 = *fixture.subscribers[1];
    s1.onNewState = [&fixture](const Counter& state) {
        if (state.value == 1) {
            GetParam().act(fixture);
        }
    };
    fixture.store->dispatch(Add(1));
    fixture.store->dispatch(Add(1));
    EXPECT_THAT(*fixture.log, ElementsAreArray(GetParam().expected));
    EXPECT_EQ(fixture.store->subscriptions().size(), GetParam().boxesAfter);
}

const DuringDelivery kDuringDelivery[] = {
    {"UnsubscribeOneAlreadyVisited",
     [](StoreWithSubscribers& f) { f.store->unsubscribe(f.subscribers[0]); },
     {"s0:1", "s1:1", "s2:1", "s1:2", "s2:2"},
     2},
    {"UnsubscribeOneNotYetVisited",
     [](StoreWithSubscribers& f) { f.store->unsubscribe(f.subscribers[2]); },
     {"s0:1", "s1:1", "s2:1", "s0:2", "s1:2"},
     2},
    {"UnsubscribeItself",
     [](StoreWithSubscribers& f) { f.store->unsubscribe(f.subscribers[1]); },
     {"s0:1", "s1:1", "s2:1", "s0:2", "s2:2"},
     2},
    {"ResubscribeItselfWithAnotherChain",
     [](StoreWithSubscribers& f) { f.store->subscribe(f.subscribers[1], timesHundred); },
     {"s0:1", "s1:1", "s1:100", "s2:1", "s0:2", "s1:200", "s2:2"},
     3},
    {"SubscribeANewOne",
     [](StoreWithSubscribers& f) {
         f.subscribers.push_back(std::make_shared<Named>("late", f.log));
         f.store->subscribe(f.subscribers.back());
     },
     {"s0:1", "s1:1", "late:1", "s2:1", "s0:2", "s1:2", "s2:2", "late:2"},
     4},
    {"DropTheLastReferenceToOneNotYetVisited",
     [](StoreWithSubscribers& f) { f.subscribers[2].reset(); },
     {"s0:1", "s1:1", "s0:2", "s1:2"},
     2},
    {"UnsubscribeAllThenDispatchInside",
     [](StoreWithSubscribers& f) {
         for (const auto& subscriber : f.subscribers) {
             f.store->unsubscribe(subscriber);
         }
         f.store->dispatch(Add(10));  // nobody is subscribed any more
     },
     {"s0:1", "s1:1", "s2:11"},
     0},
};

INSTANTIATE_TEST_SUITE_P(Store, ChangeDuringDelivery, ::testing::ValuesIn(kDuringDelivery),
                         kelvane::testing::caseName);

TEST(NestedDelivery, GivesLaterBoxesTheNewestStateWithTheOuterOldState) {
    auto store = Store<Counter>::make(counterReducer, Counter{});
    std::vector<Pair> pairsSeenByB;

    auto a = std::make_shared<Recorder<Counter>>();
    a->onNewState = [&store](const Counter& state) {
        if (state.value == 1) {
            store->dispatch(Add(10));
        }
    };
    auto b = std::make_shared<Recorder<Counter>>();
    store->subscribe(a);
    // B records the raw pairs its chain receives, ahead of the automatic skipRepeats.
    store->subscribe(b, [&pairsSeenByB](auto head) {
        return Subscription<Counter>::make([&head, &pairsSeenByB](auto forward) {
            head->observer = [&pairsSeenByB, forward](const std::optional<Counter>& oldState,
                                                      const Counter& newState) {
                pairsSeenByB.emplace_back(oldState ? std::optional(oldState->value) : std::nullopt,
                                          newState.value);
                forward(oldState, newState);
            };
        });
    });
    pairsSeenByB.clear();
    store->dispatch(Add(1));
    // Nested delivery (old 1, new 11) first, then the outer one: old 0 paired with the newest 11.
    EXPECT_THAT(pairsSeenByB, ElementsAre(Pair(1, 11), Pair(0, 11)));
    EXPECT_THAT(values(a->received), ElementsAre(0, 1, 11));
}

// ---- What a subscriber is handed stays alive and unchanged until its call returns

// What a subscriber keeps of what it is handed: views into it, not copies. `read` goes through
// the views.
template <class T>
struct Kept;

template <>
struct Kept<Counter> {
    explicit Kept(const Counter& state) : label(state.label), value(state.value) {}
    std::string read() const { return std::to_string(value) + " " + std::string(label); }
    std::string_view label;
    const std::int64_t& value;
};

template <>
struct Kept<std::string> {
    explicit Kept(const std::string& text) : text(text) {}
    std::string read() const { return std::string(text); }
    std::string_view text;
};

// What a kept view read before and after the subscriber's own dispatches.
struct Reading {
    std::string before;
    std::string after;
};

// Once armed with `inside`, keeps views of the next value it is handed, runs `inside` (which
// dispatches, and may release this subscriber) and reads the views again.
template <class T>
class ViewKeeper final : public kelvane::StoreSubscriber<T> {
  public:
    explicit ViewKeeper(std::shared_ptr<std::vector<Reading>> readings)
        : readings_(std::move(readings)) {}
    void newState(const T& state) override {
        if (!inside) {
            return;
        }
        const auto run = std::exchange(inside, nullptr);
        const Kept<T> kept(state);
        const std::string before = kept.read();
        run();
        readings_->push_back({before, kept.read()});
    }
    std::function<void()> inside;

  private:
    std::shared_ptr<std::vector<Reading>> readings_;
};

using LabelledStore = std::shared_ptr<Store<Counter>>;

std::vector<Reading> keepViewsWhile(bool atSubscribe, int dispatches, bool releaseItself,
                                    const auto& subscribe) {
    using Keeper = typename std::remove_cvref_t<decltype(subscribe)>::Keeper;
    auto store = Store<Counter>::make(labellingReducer, Counter{0, labelFor(0)});
    auto readings = std::make_shared<std::vector<Reading>>();
    auto keeper = std::make_shared<Keeper>(readings);
    const auto inside = [&store, &keeper, dispatches, releaseItself] {
        if (releaseItself) {
            keeper.reset();  // the store keeps it alive for the call
        }
        for (int i = 0; i < dispatches; ++i) {
            store->dispatch(Add(1));
        }
    };
    if (atSubscribe) {
        keeper->inside = inside;
        subscribe(store, keeper);
    } else {
        subscribe(store, keeper);
        keeper->inside = inside;
        store->dispatch(Add(1));
    }
    return *readings;
}

struct WholeState {
    using Keeper = ViewKeeper<Counter>;
    void operator()(const LabelledStore& store, const std::shared_ptr<Keeper>& keeper) const {
        store->subscribe(keeper);
    }
};

struct SelectedMember {
    using Keeper = ViewKeeper<std::string>;
    void operator()(const LabelledStore& store, const std::shared_ptr<Keeper>& keeper) const {
        store->subscribe(keeper, [](auto head) { return head->select(&Counter::label); });
    }
};

struct ComputedSelection {
    using Keeper = ViewKeeper<std::string>;
    void operator()(const LabelledStore& store, const std::shared_ptr<Keeper>& keeper) const {
        store->subscribe(keeper, [](auto head) {
            return head->select([](const Counter& state) { return state.label + " (computed)"; });
        });
    }
};

struct HandedValueCase {
    std::string name;
    std::function<std::vector<Reading>()> run;
};

std::vector<HandedValueCase> handedValueCases() {
    struct Inside {
        const char* name;
        int dispatches;
        bool releaseItself;
    };
    const Inside insides[] = {{"DispatchesOnce", 1, false},
                              {"DispatchesTwice", 2, false},
                              {"ReleasesItselfAndDispatches", 2, true}};
    std::vector<HandedValueCase> cases;
    const auto add = [&](const char* kind, const auto& subscribe) {
        for (const bool atSubscribe : {false, true}) {
            for (const Inside& inside : insides) {
                cases.push_back(
                    {std::string(kind) + (atSubscribe ? "AtSubscribe" : "OnDispatch") + inside.name,
                     [=] {
                         return keepViewsWhile(atSubscribe, inside.dispatches, inside.releaseItself,
                                               subscribe);
                     }});
            }
        }
    };
    add("WholeState", WholeState{});
    add("SelectedMember", SelectedMember{});
    add("ComputedSelection", ComputedSelection{});
    return cases;
}

class HandedValue : public ::testing::TestWithParam<HandedValueCase> {};

TEST_P(HandedValue, StaysIntactThroughTheSubscribersOwnCall) {
    const auto readings = GetParam().run();
    ASSERT_EQ(readings.size(), 1U);
    EXPECT_EQ(readings[0].after, readings[0].before);
}

INSTANTIATE_TEST_SUITE_P(Store, HandedValue, ::testing::ValuesIn(handedValueCases()),
                         kelvane::testing::caseName);

TEST(NestedDelivery, ObserverThatDispatchesBeforeItForwardsKeepsBothStates) {
    auto store = Store<Counter>::make(labellingReducer, Counter{0, labelFor(0)});
    auto subscriber = std::make_shared<Recorder<Counter>>();
    std::vector<Reading> readings;
    bool armed = false;
    store->subscribe(subscriber, [&](auto head) {
        return Subscription<Counter>::make([&](auto forward) {
            head->observer = [&, forward](const std::optional<Counter>& oldState,
                                          const Counter& newState) {
                if (!std::exchange(armed, false) || !oldState) {
                    forward(oldState, newState);
                    return;
                }
                const Kept<Counter> keptOld(*oldState);
                const Kept<Counter> keptNew(newState);
                const Reading before{keptOld.read(), keptNew.read()};
                store->dispatch(Add(1));
                store->dispatch(Add(1));
                readings.push_back({before.before, keptOld.read()});
                readings.push_back({before.after, keptNew.read()});
                forward(oldState, newState);
            };
        });
    });
    armed = true;
    store->dispatch(Add(1));
    ASSERT_EQ(readings.size(), 2U);
    EXPECT_EQ(readings[0].after, readings[0].before) << "the old state";
    EXPECT_EQ(readings[1].after, readings[1].before) << "the new state";
    // Forwarded after the nested dispatches: the subscriber still gets the pair it was meant for.
    EXPECT_THAT(values(subscriber->received), ElementsAre(0, 2, 3, 1));
    EXPECT_EQ(subscriber->received.back().label, labelFor(1));
}

// A dispatches when it receives 1; B dispatches when it receives 11, inside A's nested delivery.
// Every link logs the pair it is handed, keeps views of it, and reads them again once the
// subscriber behind it returns.
TEST(NestedDelivery, TwoLevelsOfNestingKeepTheOrderAndThePairs) {
    auto store = Store<Counter>::make(labellingReducer, Counter{0, labelFor(0)}, {}, false);
    Log log;
    std::vector<Reading> readings;
    const auto logged = [&](std::string name) {
        return [&, name](auto head) {
            return Subscription<Counter>::make([&, name](auto forward) {
                head->observer = [&, name, forward](const std::optional<Counter>& oldState,
                                                    const Counter& newState) {
                    log.push_back(name + ":" + std::to_string(oldState ? oldState->value : -1) +
                                  ">" + std::to_string(newState.value));
                    const std::optional<Kept<Counter>> keptOld =
                        oldState ? std::optional<Kept<Counter>>(*oldState) : std::nullopt;
                    const Kept<Counter> keptNew(newState);
                    const std::string before = keptNew.read() + (keptOld ? keptOld->read() : "");
                    forward(oldState, newState);
                    readings.push_back({before, keptNew.read() + (keptOld ? keptOld->read() : "")});
                };
            });
        };
    };
    auto a = std::make_shared<Recorder<Counter>>();
    auto b = std::make_shared<Recorder<Counter>>();
    auto c = std::make_shared<Recorder<Counter>>();
    a->onNewState = [&](const Counter& state) {
        if (state.value == 1) {
            store->dispatch(Add(10));
        }
    };
    b->onNewState = [&](const Counter& state) {
        if (state.value == 11) {
            store->dispatch(Add(100));
        }
    };
    store->subscribe(a, logged("A"));
    store->subscribe(b, logged("B"));
    store->subscribe(c, logged("C"));
    log.clear();
    readings.clear();

    store->dispatch(Add(1));
    EXPECT_THAT(log, ElementsAre("A:0>1", "A:1>11", "B:1>11", "A:11>111", "B:11>111", "C:11>111",
                                 "C:1>111", "B:0>111", "C:0>111"));
    ASSERT_EQ(readings.size(), log.size());
    for (const Reading& reading : readings) {
        EXPECT_EQ(reading.after, reading.before);
    }
    EXPECT_EQ(store->state()->value, 111);
    EXPECT_EQ(store->state()->label, labelFor(111));
}

// The store's state, read through `state()` outside any delivery, stays valid and shows the
// current state whenever no delivery runs, also after deliveries that dispatched. During a
// delivery in which a nested dispatch happened it shows the outer delivery's state: there the
// current one is read anew.
TEST(NestedDelivery, StateOutsideADeliveryFollowsEveryDispatch) {
    auto store = Store<Counter>::make(labellingReducer, Counter{0, labelFor(0)});
    const std::optional<Counter>& state = store->state();
    std::vector<std::pair<std::int64_t, std::int64_t>> keptAndAnew;
    auto subscriber = std::make_shared<Recorder<Counter>>();
    subscriber->onNewState = [&](const Counter& received) {
        keptAndAnew.emplace_back(state->value, store->state()->value);
        if (received.value % 2 == 1) {
            store->dispatch(Add(1));
        }
    };
    store->subscribe(subscriber);
    keptAndAnew.clear();
    store->dispatch(Add(1));
    EXPECT_EQ(state->value, 2);
    EXPECT_EQ(state->label, labelFor(2));
    EXPECT_THAT(keptAndAnew, ElementsAre(std::pair{1, 1}, std::pair{1, 2}));
    store->dispatch(Add(2));
    EXPECT_EQ(state->value, 4);
    EXPECT_EQ(state->label, labelFor(4));
}

// ---- The type-erased entry point

static_assert(!std::is_copy_constructible_v<AnyStateReference>,
              "a copy would outlive the value it refers to");
static_assert(!std::is_convertible_v<const AnyStateReference&, std::any>,
              "reading it as a std::any must not compile");
static_assert(!std::is_constructible_v<AnyStateReference, Counter&&>,
              "a temporary is gone before the reference is read");

TEST(StateHandOver, ErasedEntryPassesOnlyAValueOfTheSubscribersType) {
    auto subscriber = std::make_shared<Recorder<Counter>>();
    const std::int64_t number = 3;
    const Counter counter{4, "x"};
    const Counter* const pointer = &counter;
    subscriber->_newState(AnyStateReference(number));
    subscriber->_newState(AnyStateReference(pointer));  // a pointer is a value of another type
    EXPECT_TRUE(subscriber->received.empty());
    subscriber->_newState(AnyStateReference(counter));
    EXPECT_THAT(subscriber->received, ElementsAre(counter));
}

// A subscriber written against the erased interface alone reads the state by its type.
TEST(StateHandOver, ErasedSubscriberReadsTheStateByItsType) {
    class Erased final : public kelvane::AnyStoreSubscriber {
      public:
        void _newState(const AnyStateReference& state) override {
            if (const auto* counter = state.get<Counter>()) {
                received.push_back(counter->value);
            }
            ignored += state.get<std::int64_t>() != nullptr ? 1 : 0;
        }
        std::vector<std::int64_t> received;
        int ignored = 0;
    };
    Erased erased;
    const Counter counter{5, ""};
    erased._newState(AnyStateReference(counter));
    EXPECT_THAT(erased.received, ElementsAre(5));
    EXPECT_EQ(erased.ignored, 0);
}

TEST(StateHandOver, SubscribersReceiveTheStoresOwnValueNotACopy) {
    auto store = Store<Counter>::make(counterReducer, Counter{1, "label"});
    std::vector<bool> wholeIsTheStoresState;
    std::vector<bool> memberIsTheStoresMember;
    auto whole = std::make_shared<Recorder<Counter>>();
    whole->onNewState = [&](const Counter& state) {
        wholeIsTheStoresState.push_back(&state == &*store->state());
    };
    auto member = std::make_shared<Recorder<std::string>>();
    member->onNewState = [&](const std::string& label) {
        memberIsTheStoresMember.push_back(&label == &store->state()->label);
    };
    store->subscribe(whole);
    store->subscribe(member, [](auto head) { return head->select(&Counter::label); });
    store->dispatch(Label("other"));
    EXPECT_THAT(wholeIsTheStoresState, ElementsAre(true, true));
    EXPECT_THAT(memberIsTheStoresMember, ElementsAre(true, true));
}

// ---- Against a model

// A counter whose states alive are counted, for the model below.
struct TalliedCounter {
    Counter counter;
    storetest::Tally tally;
};

struct ModelFailure {};

// Subscribes and unsubscribes in a random order, checked against a plain ordered list: the index
// must find every box again after entries around it were erased and the list squeezed. Every
// delivery may dispatch again from inside (up to two levels deep); each subscriber that does
// checks that what it was handed is intact after its dispatch, and the whole log of deliveries,
// nested ones included, must match the model's. Some subscribers throw after they logged: the
// delivery goes on as if they had not, and the step that started it throws. The states alive are
// counted in every call and after every step: at most two per delivery under way (its old state
// and the one it handed over), the current one and the one the outermost delivery began with.
TEST(SubscriptionModel, AgreesWithAPlainListOverRandomChangesNestedDispatchesAndThrows) {
    storetest::Tally::counts() = {};
    const auto log = std::make_shared<Log>();
    const auto store = Store<TalliedCounter>::make(
        [](const kelvane::Action& action, const std::optional<TalliedCounter>& state) {
            TalliedCounter next = *state;
            next.counter = labellingReducer(action, next.counter);
            return next;
        },
        TalliedCounter{Counter{0, labelFor(0)}, {}}, {}, false);
    const auto subscribe = [&store](const std::shared_ptr<Named>& subscriber) {
        store->subscribe(subscriber,
                         [](auto head) { return head->select(&TalliedCounter::counter); });
    };
    std::vector<std::shared_ptr<Named>> pool;
    std::vector<std::size_t> model;  // indexes into pool, in delivery order
    constexpr int kMaxDepth = 2;
    int depth = 0;
    const auto dispatchesInside = [](std::size_t who, std::int64_t value) {
        return (static_cast<std::int64_t>(who) * 13 + value) % 11 == 0;
    };
    const auto throwsAt = [](std::size_t who, std::int64_t value) {
        return (static_cast<std::int64_t>(who) * 7 + value) % 17 == 0;
    };
    std::int64_t peakAlive = 0;
    const auto checkAlive = [&](int deliveries) {
        const std::int64_t alive = storetest::Tally::counts().live;
        peakAlive = std::max(peakAlive, alive);
        ASSERT_LE(alive, 2 * deliveries + 2) << "states alive in " << deliveries << " deliveries";
    };
    int intactChecks = 0;
    for (std::size_t who = 0; who < 64; ++who) {
        pool.push_back(std::make_shared<Named>("p" + std::to_string(who), log));
        pool.back()->onNewState = [&, who](const Counter& state) {
            checkAlive(depth + 1);
            if (depth < kMaxDepth && dispatchesInside(who, state.value)) {
                const Kept<Counter> kept(state);
                const std::string before = kept.read();
                ++depth;
                std::exception_ptr failure;
                try {
                    store->dispatch(Add(1));
                } catch (const ModelFailure&) {
                    failure = std::current_exception();
                }
                --depth;
                ASSERT_EQ(kept.read(), before);
                ++intactChecks;
                checkAlive(depth + 1);
                if (failure) {
                    std::rethrow_exception(failure);
                }
            }
            if (throwsAt(who, state.value)) {
                throw ModelFailure();
            }
        };
    }

    // The model's deliveries: the current value to each listed subscriber in order, and a nested
    // delivery wherever one dispatches. A throw changes none of it: it only reaches the step.
    std::int64_t modelValue = store->state()->counter.value;
    Log expected;
    bool modelThrew = false;
    int throwingSteps = 0;
    std::function<void(int)> modelDelivery;
    const auto modelHandOver = [&](std::size_t who, int level) {
        expected.push_back(pool[who]->name + ":" + std::to_string(modelValue));
        const std::int64_t handed = modelValue;
        if (level < kMaxDepth && dispatchesInside(who, modelValue)) {
            ++modelValue;
            modelDelivery(level + 1);
        }
        modelThrew = modelThrew || throwsAt(who, handed);
    };
    modelDelivery = [&](int level) {
        for (const std::size_t who : model) {
            modelHandOver(who, level);
        }
    };
    // Runs one step of the store and says whether it threw.
    const auto threw = [](const auto& step) {
        try {
            step();
        } catch (const ModelFailure&) {
            return true;
        }
        return false;
    };

    std::mt19937 random(20240601);
    for (int step = 0; step < 4000; ++step) {
        const std::size_t who = random() % pool.size();
        const auto listed = std::find(model.begin(), model.end(), who);
        modelThrew = false;
        if (random() % 2 == 0) {
            if (listed == model.end()) {
                model.push_back(who);
            }
            // Hands over the current state at once.
            ASSERT_EQ(threw([&] { subscribe(pool[who]); }), (modelHandOver(who, 0), modelThrew))
                << "step " << step;
        } else {
            store->unsubscribe(pool[who]);
            if (listed != model.end()) {
                model.erase(listed);
            }
        }
        throwingSteps += modelThrew ? 1 : 0;
        ASSERT_EQ(storetest::Tally::counts().live, 1) << "after step " << step;
        if (step % 97 == 0) {
            modelThrew = false;
            const bool storeThrew = threw([&] { store->dispatch(Add(1)); });
            ++modelValue;
            modelDelivery(0);
            ASSERT_EQ(storeThrew, modelThrew) << "step " << step;
            throwingSteps += modelThrew ? 1 : 0;
            ASSERT_EQ(*log, expected) << "up to step " << step;
            ASSERT_EQ(store->state()->counter.value, modelValue);
            ASSERT_EQ(storetest::Tally::counts().live, 1) << "after the dispatch at " << step;
            log->clear();
            expected.clear();
        }
    }
    EXPECT_EQ(store->subscriptions().size(), model.size());
    EXPECT_GT(intactChecks, 40) << "the model should have nested often";
    EXPECT_GT(throwingSteps, 40) << "the model should have thrown often";
    EXPECT_GE(peakAlive, 4) << "the model should have nested two levels deep";
}

// ---- The transforms

TEST(SubscriptionTransforms, SelectMapsTheOldStateBeforeTheNewOne) {
    auto head = Subscription<Counter>::make();
    std::vector<std::int64_t> selectorInputs;
    std::vector<Pair> out;
    auto selected = head->select([&selectorInputs](const Counter& state) {
        selectorInputs.push_back(state.value);
        return state.value;
    });
    selected->observer = [&out](const std::optional<std::int64_t>& oldValue,
                                const std::int64_t& newValue) {
        out.emplace_back(oldValue, newValue);
    };
    head->deliver(std::nullopt, Counter{1, ""});
    head->deliver(Counter{1, ""}, Counter{2, ""});
    EXPECT_THAT(selectorInputs, ElementsAre(1, 1, 2));
    EXPECT_THAT(out, ElementsAre(Pair(std::nullopt, 1), Pair(1, 2)));
}

TEST(SubscriptionTransforms, FiltersCompareTheStatesTheyAreHanded) {
    struct Case {
        const char* name;
        std::function<std::shared_ptr<Subscription<std::int64_t>>(
            const std::shared_ptr<Subscription<std::int64_t>>&)>
            make;
        std::vector<std::int64_t> expected;
    };
    const auto bigStep = [](std::int64_t a, std::int64_t b) { return b - a >= 2; };
    const std::vector<Case> cases = {
        {"skipRepeats", [](const auto& head) { return head->skipRepeats(); }, {0, 1, 3, 4}},
        {"skip(when)", [&](const auto& head) { return head->skip(bigStep); }, {0, 1, 1, 4}},
        {"only(when)", [&](const auto& head) { return head->only(bigStep); }, {0, 3}},
    };
    // Pairs (old, new): the first has no old state and always passes.
    const std::vector<Pair> pairs = {{std::nullopt, 0}, {0, 1}, {1, 1}, {1, 3}, {3, 4}};
    for (const auto& c : cases) {
        auto head = Subscription<std::int64_t>::make();
        std::vector<std::int64_t> passed;
        c.make(head)->observer = [&passed](const std::optional<std::int64_t>&,
                                           const std::int64_t& value) { passed.push_back(value); };
        for (const auto& [oldValue, newValue] : pairs) {
            head->deliver(oldValue, newValue);
        }
        EXPECT_EQ(passed, c.expected) << c.name;
    }
}

TEST(SubscriptionTransforms, SecondTransformOnTheSameLinkCutsOffTheFirst) {
    auto head = Subscription<std::int64_t>::make();
    auto first = head->skipRepeats();
    auto second = head->select([](std::int64_t value) { return value * 2; });
    int firstCalls = 0;
    std::vector<std::int64_t> secondValues;
    first->observer = [&firstCalls](const auto&, const auto&) { ++firstCalls; };
    second->observer = [&secondValues](const auto&, const std::int64_t& value) {
        secondValues.push_back(value);
    };
    head->deliver(std::nullopt, 3);
    EXPECT_EQ(firstCalls, 0);
    EXPECT_THAT(secondValues, ElementsAre(6));
}

TEST(SubscriptionTransforms, ChainDiesWithItsHead) {
    auto head = Subscription<std::int64_t>::make();
    std::weak_ptr<Subscription<std::int64_t>> tail =
        head->skipRepeats()->select([](std::int64_t v) { return v; });
    EXPECT_FALSE(tail.expired()) << "each link owns the next";
    head.reset();
    EXPECT_TRUE(tail.expired());
}

}  // namespace
