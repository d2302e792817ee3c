// How the store keeps its subscriptions: by identity, in place, with changes made during a
// delivery kept apart from that delivery, and states handed over by reference.
#include <algorithm>
#include <any>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <kelvane/store.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "store_test_support.hpp"

namespace {

using kelvane::Store;
using storetest::Add;
using storetest::Counter;
using storetest::counterReducer;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using Log = std::vector<std::string>;

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
std::shared_ptr<kelvane::Subscription<Counter>> timesHundred(
    const std::shared_ptr<kelvane::Subscription<Counter>>& head) {
    return head->select([](const Counter& state) {
        return Counter{state.value * 100, state.label};
    });
}

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
        Store<Counter>::make(counterReducer, Counter{}, {}, false);
    std::vector<std::shared_ptr<Named>> subscribers;
};

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
                         [](const auto& info) { return std::string(info.param.name); });

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

// Many subscribes and unsubscribes in a random order, checked against a plain ordered list: the
// index must find every box again after entries around it were erased and the list squeezed.
TEST(SubscriptionIndex, AgreesWithAPlainListOverManyRandomChanges) {
    StoreWithSubscribers fixture(0);
    std::vector<std::shared_ptr<Named>> pool;
    for (int i = 0; i < 64; ++i) {
        pool.push_back(std::make_shared<Named>("p" + std::to_string(i), fixture.log));
    }
    std::vector<std::size_t> model;  // indexes into pool, in delivery order
    std::mt19937 random(20240601);
    for (int step = 0; step < 4000; ++step) {
        const std::size_t who = random() % pool.size();
        const auto listed = std::find(model.begin(), model.end(), who);
        if (random() % 2 == 0) {
            fixture.store->subscribe(pool[who]);
            if (listed == model.end()) {
                model.push_back(who);
            }
        } else {
            fixture.store->unsubscribe(pool[who]);
            if (listed != model.end()) {
                model.erase(listed);
            }
        }
        if (step % 97 == 0) {
            fixture.log->clear();
            fixture.store->dispatch(Add(1));
            Log expected;
            for (const std::size_t index : model) {
                expected.push_back(pool[index]->name + ":" +
                                   std::to_string(fixture.store->state()->value));
            }
            ASSERT_EQ(*fixture.log, expected) << "after step " << step;
        }
    }
    EXPECT_EQ(fixture.store->subscriptions().size(), model.size());
}

TEST(StateHandOver, SubscribersReceiveTheStoresOwnValueNotACopy) {
    auto store = Store<Counter>::make(counterReducer, Counter{1, "label"});
    std::vector<bool> wholeIsTheStoresState;
    std::vector<bool> memberIsTheStoresMember;
    auto whole = std::make_shared<storetest::Recorder<Counter>>();
    whole->onNewState = [&](const Counter& state) {
        wholeIsTheStoresState.push_back(&state == &*store->state());
    };
    auto member = std::make_shared<storetest::Recorder<std::string>>();
    member->onNewState = [&](const std::string& label) {
        memberIsTheStoresMember.push_back(&label == &store->state()->label);
    };
    store->subscribe(whole);
    store->subscribe(member, [](auto head) { return head->select(&Counter::label); });
    store->dispatch(storetest::Label("other"));
    EXPECT_THAT(wholeIsTheStoresState, ElementsAre(true, true));
    EXPECT_THAT(memberIsTheStoresMember, ElementsAre(true, true));
}

TEST(StateHandOver, AReferenceToAnotherTypeIsIgnored) {
    auto subscriber = std::make_shared<storetest::Recorder<Counter>>();
    const std::int64_t number = 3;
    const Counter counter{4, ""};
    subscriber->_newState(std::any(kelvane::StateReference<std::int64_t>{&number}));
    subscriber->_newState(std::any(&counter));  // a bare pointer is a value of another type
    EXPECT_TRUE(subscriber->received.empty());
    subscriber->_newState(std::any(kelvane::StateReference<Counter>{&counter}));
    EXPECT_THAT(subscriber->received, ElementsAre(counter));
}

}  // namespace
