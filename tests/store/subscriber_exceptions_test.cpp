// A subscriber, a transform or an observer that throws: the delivery goes on to every other
// subscriber, the first exception leaves the dispatch once it is done, and the store is ready for
// the next one.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <pthread.h>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <kelvane/store.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "case_name.hpp"
#include "store_test_support.hpp"

namespace {

using kelvane::Store;
using kelvane::Subscription;
using storetest::Add;
using storetest::Counter;
using storetest::counterReducer;
using storetest::Label;
using storetest::Recorder;
using storetest::values;
using ::testing::ElementsAre;

using Log = std::vector<std::string>;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Where the throwing link sits in its chain.
enum class Thrower { Subscriber, Transform, Observer };

// Three subscribers: `first` (which may dispatch from its notification, nesting deliveries),
// `middle`, whose chain throws, and `last`, which selects the label and skips repeats of it: had
// it missed a state, it would take that state's label for a repeat later.
// Each logs what it receives; once armed, the throwing link throws when it meets `throwsAt`, the
// first time only or every time.
class ThreeSubscribers {
  public:
    ThreeSubscribers(Thrower thrower, std::int64_t throwsAt, bool everyTime)
        : throwsAt_(throwsAt), everyTime_(everyTime) {
        first->onNewState = [this](const Counter& state) {
            log.push_back("first:" + std::to_string(state.value));
            if (dispatchesAt && dispatchesAt(state.value)) {
                store->dispatch(Add(nextStep(state.value)));
            }
        };
        middle->onNewState = [this](const Counter& state) {
            log.push_back("middle:" + std::to_string(state.value));
            if (thrower_ == Thrower::Subscriber) {
                throwIfDue(state.value);
            }
        };
        last->onNewState = [this](const std::string& label) { log.push_back("last:" + label); };
        thrower_ = thrower;
        store->subscribe(first);
        switch (thrower) {
            case Thrower::Subscriber:
                store->subscribe(middle);
                break;
            case Thrower::Transform:
                store->subscribe(middle, [this](auto head) {
                    return head->select([this](const Counter& state) -> const Counter& {
                        throwIfDue(state.value);
                        return state;
                    });
                });
                break;
            case Thrower::Observer:
                store->subscribe(middle, [this](auto head) {
                    return Subscription<Counter>::make([&head, this](auto forward) {
                        head->observer = [this, forward](const std::optional<Counter>& oldState,
                                                         const Counter& newState) {
                            throwIfDue(newState.value);
                            forward(oldState, newState);
                        };
                    });
                });
                break;
        }
        store->subscribe(last, [](auto head) { return head->select(&Counter::label); });
        log.clear();
    }

    // The dispatch `first` makes at `value`: to 11, then to 111.
    static std::int64_t nextStep(std::int64_t value) { return value == 1 ? 10 : 100; }

    // Dispatches and says what left the dispatch: "" when nothing did.
    std::string dispatch(const kelvane::Action& action) {
        try {
            store->dispatch(action);
        } catch (const Failure& failure) {
            return failure.what();
        }
        return "";
    }

    void throwIfDue(std::int64_t value) {
        if (armed && value == throwsAt_ && (everyTime_ || thrown_++ == 0)) {
            throw Failure("thrown at " + std::to_string(value));
        }
    }

    // Each added value gets a label of its own, which `last` receives.
    std::shared_ptr<Store<Counter>> store = Store<Counter>::make(
        [](const kelvane::Action& action, const std::optional<Counter>& state) {
            Counter next = counterReducer(action, state);
            if (dynamic_cast<const Add*>(&action) != nullptr) {
                next.label = "v" + std::to_string(next.value);
            }
            return next;
        },
        Counter{});
    std::shared_ptr<Recorder<Counter>> first = std::make_shared<Recorder<Counter>>();
    std::shared_ptr<Recorder<Counter>> middle = std::make_shared<Recorder<Counter>>();
    std::shared_ptr<Recorder<std::string>> last = std::make_shared<Recorder<std::string>>();
    std::function<bool(std::int64_t)> dispatchesAt;
    bool armed = false;
    Log log;

  private:
    Thrower thrower_ = Thrower::Subscriber;
    const std::int64_t throwsAt_;
    const bool everyTime_;
    int thrown_ = 0;
};

// What the two others receive, with and without the throw, must be the same; only the caller
// learns of it, and only of the first exception. After it comes a dispatch that repeats the
// label, then one more.
struct ThrowCase {
    std::string name;
    Thrower thrower;
    // `first` dispatches at 1 and at 11, so the middle link meets only 111, three levels deep
    // first, then in the two deliveries around that one.
    bool nested;
    bool everyTime;
    Log others;  // what `first` and `last` receive, throw or not
};

std::vector<ThrowCase> throwCases() {
    const std::pair<const char*, Thrower> throwers[] = {{"Subscriber", Thrower::Subscriber},
                                                        {"Transform", Thrower::Transform},
                                                        {"Observer", Thrower::Observer}};
    std::vector<ThrowCase> cases;
    const Log atTheTop = {"first:1", "last:v1", "first:1001", "last:v1001"};
    // `last` receives the newest state in each of the three deliveries.
    const Log nested = {"first:1",   "first:11",  "first:111",  "last:v111",
                        "last:v111", "last:v111", "first:1111", "last:v1111"};
    for (const auto& [name, thrower] : throwers) {
        cases.push_back({std::string(name) + "AtTheTop", thrower, false, true, atTheTop});
        cases.push_back({std::string(name) + "TwoLevelsInOnce", thrower, true, false, nested});
        cases.push_back(
            {std::string(name) + "TwoLevelsInAtEveryLevel", thrower, true, true, nested});
    }
    return cases;
}

// The lines of the subscribers that never throw.
Log others(const Log& log) {
    Log kept;
    std::copy_if(log.begin(), log.end(), std::back_inserter(kept),
                 [](const std::string& line) { return !line.starts_with("middle:"); });
    return kept;
}

class ThrowingLink : public ::testing::TestWithParam<ThrowCase> {};

TEST_P(ThrowingLink, KeepsNoOtherSubscriberFromTheDeliveryAndLeavesOnceItIsDone) {
    const ThrowCase& how = GetParam();
    // The same subscribers and dispatches, once throwing and once not.
    Log logs[2];
    const std::int64_t throwsAt = how.nested ? 111 : 1;
    for (const bool throwing : {false, true}) {
        ThreeSubscribers fixture(how.thrower, throwsAt, how.everyTime);
        if (how.nested) {
            fixture.dispatchesAt = [](std::int64_t value) { return value == 1 || value == 11; };
        }
        fixture.armed = throwing;
        EXPECT_EQ(fixture.dispatch(Add(1)),
                  throwing ? "thrown at " + std::to_string(throwsAt) : "");
        EXPECT_EQ(fixture.store->state()->value, how.nested ? 111 : 1);
        // Not busy, no nested state left over, every chain as it was: the next dispatches are
        // delivered as usual, and a repeated label reaches nobody.
        fixture.armed = false;
        EXPECT_EQ(fixture.dispatch(Label(fixture.store->state()->label)), "");
        EXPECT_EQ(fixture.dispatch(Add(1000)), "");
        EXPECT_EQ(fixture.store->subscriptions().size(), 3U);
        logs[throwing ? 1 : 0] = others(fixture.log);
    }
    EXPECT_EQ(logs[0], how.others);
    EXPECT_EQ(logs[1], logs[0]);
}

INSTANTIATE_TEST_SUITE_P(Store, ThrowingLink, ::testing::ValuesIn(throwCases()),
                         kelvane::testing::caseName);

// Throwing subscribers on both sides of one that receives: the first exception leaves, the later
// one is dropped, and neither keeps anyone from the state.
TEST(SubscriberExceptions, FirstOfSeveralLeavesTheDispatch) {
    auto store = Store<Counter>::make(counterReducer, Counter{});
    Log log;
    const auto subscriber = [&log](std::string name, bool throws) {
        auto made = std::make_shared<Recorder<Counter>>();
        made->onNewState = [&log, name, throws](const Counter& state) {
            log.push_back(name + ":" + std::to_string(state.value));
            if (throws && state.value == 1) {
                throw Failure(name);
            }
        };
        return made;
    };
    const auto a = subscriber("a", true);
    const auto b = subscriber("b", false);
    const auto c = subscriber("c", true);
    store->subscribe(a);
    store->subscribe(b);
    store->subscribe(c);
    log.clear();
    try {
        store->dispatch(Add(1));
        ADD_FAILURE() << "nothing left the dispatch";
    } catch (const Failure& failure) {
        EXPECT_STREQ(failure.what(), "a");
    }
    store->dispatch(Add(1));
    EXPECT_THAT(log, ElementsAre("a:1", "b:1", "c:1", "a:2", "b:2", "c:2"));
}

// subscribe's first delivery throws: the exception leaves subscribe, and the subscription stays.
TEST(SubscriberExceptions, FirstDeliveryThatThrowsLeavesSubscribeAndKeepsTheSubscription) {
    auto store = Store<Counter>::make(counterReducer, Counter{});
    auto subscriber = std::make_shared<Recorder<Counter>>();
    subscriber->onNewState = [&store](const Counter& state) {
        if (state.value == 0) {
            store->dispatch(Add(5));  // a nested state, which must move home all the same
            throw Failure("first delivery");
        }
    };
    EXPECT_THROW(store->subscribe(subscriber), Failure);
    EXPECT_EQ(store->subscriptions().size(), 1U);
    const std::optional<Counter>& state = store->state();
    EXPECT_EQ(state->value, 5);
    store->dispatch(Add(1));
    EXPECT_EQ(state->value, 6) << "the state is home again: the reference follows";
    EXPECT_EQ(subscriber->received.back().value, 6);
}

// A thread ended inside a subscriber unwinds through the delivery, which ends there and leaves the
// store consistent: the next dispatch, from the test's own thread, is delivered as usual.
TEST(SubscriberExceptions, ThreadEndedInsideASubscriberEndsTheDeliveryAndLeavesTheStoreUsable) {
    auto store = Store<Counter>::make(counterReducer, Counter{});
    auto exits = std::make_shared<Recorder<Counter>>();
    exits->onNewState = [&store](const Counter& state) {
        if (state.value == 1) {
            store->dispatch(Add(10));  // a nested state, which must move home all the same
        } else if (state.value == 11) {
            pthread_exit(nullptr);
        }
    };
    auto after = std::make_shared<Recorder<Counter>>();
    store->subscribe(exits);
    store->subscribe(after);
    std::thread([&store] { store->dispatch(Add(1)); }).join();
    const std::optional<Counter>& state = store->state();
    EXPECT_EQ(state->value, 11);
    store->dispatch(Add(100));
    EXPECT_EQ(state->value, 111);
    EXPECT_THAT(values(after->received), ElementsAre(0, 111));
}

}  // namespace
