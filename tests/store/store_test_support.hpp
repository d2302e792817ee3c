#pragma once

// Small fixtures shared by the store tests: a counter state, a member that counts the states
// alive and their copies, a few actions, a recording subscriber and a fatal-error hook that
// records instead of aborting.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <kelvane/store.hpp>

#include <gtest/gtest.h>

namespace storetest {

struct Counter {
    std::int64_t value = 0;
    std::string label;
    bool operator==(const Counter&) const = default;
};
KELVANE_RECORD(Counter, (value, label))

// A member that makes a state countable: how many instances hold a payload, and how many copies
// were made. A moved-from one holds none, as a moved-from vector holds no memory, so `live` is
// the number of states whose memory is still in use. Copies can be made to throw, as a copy that
// runs out of memory would.
class Tally {
  public:
    struct Counts {
        std::int64_t live = 0;
        std::int64_t copies = 0;
        bool copiesThrow = false;
    };
    // One set of counts per test process; a test resets it first.
    static Counts& counts() noexcept {
        static Counts counts;
        return counts;
    }

    Tally() noexcept { ++counts().live; }
    Tally(const Tally& other) : holds_(other.holds_) {
        countCopy();
        counts().live += holds_ ? 1 : 0;
    }
    Tally(Tally&& other) noexcept : holds_(std::exchange(other.holds_, false)) {}
    Tally& operator=(const Tally& other) {
        if (this != &other) {
            countCopy();
            counts().live += (other.holds_ ? 1 : 0) - (holds_ ? 1 : 0);
            holds_ = other.holds_;
        }
        return *this;
    }
    Tally& operator=(Tally&& other) noexcept {
        if (this != &other) {
            counts().live -= holds_ ? 1 : 0;
            holds_ = std::exchange(other.holds_, false);
        }
        return *this;
    }
    ~Tally() { counts().live -= holds_ ? 1 : 0; }
    friend bool operator==(const Tally&, const Tally&) noexcept { return true; }

  private:
    static void countCopy() {
        if (counts().copiesThrow) {
            throw std::bad_alloc();
        }
        ++counts().copies;
    }
    bool holds_ = true;
};

// A state without ==, so no automatic skipping applies.
struct Plain {
    std::int64_t value = 0;
};

struct Add final : kelvane::ActionRecord<Add> {
    explicit Add(std::int64_t amount) : amount(amount) {}
    std::int64_t amount;
};
KELVANE_RECORD(Add, (amount))

struct Label final : kelvane::ActionRecord<Label> {
    explicit Label(std::string text) : text(std::move(text)) {}
    std::string text;
};
KELVANE_RECORD(Label, (text))

inline Counter counterReducer(const kelvane::Action& action, const std::optional<Counter>& state) {
    Counter next = state.value_or(Counter{});
    if (const auto* add = dynamic_cast<const Add*>(&action)) {
        next.value += add->amount;
    } else if (const auto* label = dynamic_cast<const Label*>(&action)) {
        next.label = label->text;
    }
    return next;
}

// The values of the counters, in order.
inline std::vector<std::int64_t> values(const std::vector<Counter>& states) {
    std::vector<std::int64_t> out;
    for (const auto& state : states) {
        out.push_back(state.value);
    }
    return out;
}

template <class State>
class Recorder : public kelvane::StoreSubscriber<State> {
  public:
    void newState(const State& state) override {
        received.push_back(state);
        if (onNewState) {
            onNewState(state);
        }
    }
    std::vector<State> received;
    std::function<void(const State&)> onNewState;
};

struct Halt {
    std::string message;
    std::string file;
    std::uint32_t line = 0;
};

// Replaces the fatal-error hook with one that records the halt and returns; restores the default
// on destruction. Halting code runs on a detached thread (a halt never returns).
class HaltRecorder {
  public:
    HaltRecorder() {
        kelvane::Assertions::setFatalErrorHook(
            [this](const std::string& message, const char* file, std::uint32_t line) {
                const std::lock_guard lock(mutex_);
                halts_.push_back(Halt{message, file, line});
                changed_.notify_all();
            });
    }
    ~HaltRecorder() { kelvane::Assertions::setFatalErrorHook({}); }
    HaltRecorder(const HaltRecorder&) = delete;
    HaltRecorder& operator=(const HaltRecorder&) = delete;

    // Runs `body` on a thread of its own; returns the first halt, or nothing when `body` finished
    // without halting. `afterHalt` turns true if code after the halt ever runs.
    std::optional<Halt> runExpectingHalt(std::function<void()> body) {
        auto finished = std::make_shared<std::atomic<bool>>(false);
        std::thread([body = std::move(body), finished] {
            body();
            finished->store(true);
        }).detach();
        std::unique_lock lock(mutex_);
        const bool halted =
            changed_.wait_for(lock, std::chrono::seconds(10), [this] { return !halts_.empty(); });
        if (!halted) {
            return std::nullopt;
        }
        lock.unlock();
        // Give the halted thread a moment: it must not come back.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(finished->load()) << "code after a halt ran";
        lock.lock();
        return halts_.front();
    }

    std::size_t count() {
        const std::lock_guard lock(mutex_);
        return halts_.size();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Halt> halts_;
};

}  // namespace storetest
