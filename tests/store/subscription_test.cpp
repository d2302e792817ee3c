#include <memory>
#include <utility>
#include <vector>

#include <kelvane/store.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "store_test_support.hpp"

namespace {

using kelvane::Store;
using kelvane::Subscription;
using storetest::Add;
using storetest::Counter;
using storetest::counterReducer;
using storetest::Label;
using storetest::Plain;
using storetest::Recorder;
using ::testing::ElementsAre;

std::vector<std::int64_t> values(const std::vector<Counter>& states) {
    std::vector<std::int64_t> out;
    for (const auto& state : states) {
        out.push_back(state.value);
    }
    return out;
}

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

TEST(Subscribe, SubscriberOfAnotherStateTypeReceivesNothing) {
    auto subscriber = std::make_shared<Recorder<Counter>>();
    subscriber->_newState(std::any(std::int64_t{3}));
    EXPECT_TRUE(subscriber->received.empty());
    subscriber->_newState(std::any(Counter{3, ""}));
    EXPECT_EQ(subscriber->received.size(), 1U);
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

TEST(Delivery, NestedDispatchGivesLaterBoxesTheNewestStateWithTheOuterOldState) {
    auto store = Store<Counter>::make(counterReducer, Counter{});
    std::vector<std::pair<std::optional<std::int64_t>, std::int64_t>> pairsSeenByB;

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
    EXPECT_THAT(pairsSeenByB,
                ElementsAre(std::pair<std::optional<std::int64_t>, std::int64_t>(1, 11),
                            std::pair<std::optional<std::int64_t>, std::int64_t>(0, 11)));
    EXPECT_THAT(values(a->received), ElementsAre(0, 1, 11));
}

TEST(Delivery, BoxRemovedDuringADeliveryIsStillVisitedAndAddedOneIsNot) {
    auto store = Store<Counter>::make(counterReducer, Counter{});
    auto first = std::make_shared<Recorder<Counter>>();
    auto second = std::make_shared<Recorder<Counter>>();
    auto late = std::make_shared<Recorder<Counter>>();
    first->onNewState = [&](const Counter& state) {
        if (state.value == 1) {
            store->unsubscribe(second);
            store->subscribe(late);
        }
    };
    store->subscribe(first);
    store->subscribe(second);
    store->dispatch(Add(1));
    EXPECT_THAT(values(second->received), ElementsAre(0, 1));
    EXPECT_THAT(values(late->received),
                ElementsAre(1));  // only its own hand-over at subscribe time
    store->dispatch(Add(1));
    EXPECT_THAT(values(second->received), ElementsAre(0, 1));
    EXPECT_THAT(values(late->received), ElementsAre(1, 2));
}

TEST(SubscriptionTransforms, SelectMapsTheOldStateBeforeTheNewOne) {
    auto head = Subscription<Counter>::make();
    std::vector<std::int64_t> selectorInputs;
    std::vector<std::pair<std::optional<std::int64_t>, std::int64_t>> out;
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
    EXPECT_THAT(out,
                ElementsAre(std::pair<std::optional<std::int64_t>, std::int64_t>(std::nullopt, 1),
                            std::pair<std::optional<std::int64_t>, std::int64_t>(1, 2)));
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
    const std::vector<std::pair<std::optional<std::int64_t>, std::int64_t>> pairs = {
        {std::nullopt, 0}, {0, 1}, {1, 1}, {1, 3}, {3, 4}};
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
