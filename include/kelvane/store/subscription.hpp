#pragma once

#include <concepts>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include <kelvane/platform/object.hpp>
#include <kelvane/store/store_subscriber.hpp>

namespace kelvane {

namespace detail {

// The end of a subscription chain, whatever its state type: the store connects it to the
// subscriber without knowing that type.
class SubscriptionTail {
  public:
    virtual ~SubscriptionTail() = default;
    // Makes this subscription hand every new value to the subscriber, as long as it exists.
    virtual void connectTo(std::weak_ptr<AnyStoreSubscriber> subscriber) = 0;

  protected:
    SubscriptionTail() = default;
};

}  // namespace detail

/// One link of a subscriber's chain of state transforms. The head receives the store's old and
/// new state; each transform maps or filters and hands on to the next link; the last one hands
/// the value to the subscriber.
///
/// Each link's `observer` owns the next link, so the store, which owns the head, owns the chain,
/// and the chain never keeps the subscriber alive. Calling a second transform on the same link
/// replaces the first one's result: build chains by calling each transform on the result of the
/// one before. A transform remembers nothing: `skipRepeats` compares the old and new values it is
/// handed, not the last value that reached the subscriber.
template <class State>
class Subscription : public detail::SubscriptionTail,
                     public std::enable_shared_from_this<Subscription<State>> {
    struct Key {
        explicit Key() = default;
    };

  public:
    using Observer =
        std::function<void(const std::optional<State>& oldState, const State& newState)>;
    using Sink = std::function<void(Observer forward)>;
    using Predicate = std::function<bool(const State& oldState, const State& newState)>;

    /// Called with each (old, new) pair delivered to this link; absent: the pair goes nowhere.
    Observer observer;

    explicit Subscription(Key) {}

    /// A link with no observer yet; the store makes every head this way.
    static std::shared_ptr<Subscription> make() { return std::make_shared<Subscription>(Key{}); }

    /// The building block of every transform: makes a link and calls `sink` once, at once, with
    /// a function that passes each (old, new) pair to the new link (and keeps it alive).
    static std::shared_ptr<Subscription> make(const Sink& sink) {
        auto subscription = make();
        sink([subscription](const std::optional<State>& oldState, const State& newState) {
            subscription->deliver(oldState, newState);
        });
        return subscription;
    }

    /// Passes the pair to `observer`, when there is one.
    void deliver(const std::optional<State>& oldState, const State& newState) const {
        if (observer) {
            observer(oldState, newState);
        }
    }

    /// Maps both states with `selector` (a callable or a pointer to member), the old one first
    /// when present.
    template <class Selector>
    requires std::invocable<const Selector&, const State&>
    auto select(Selector selector) {
        using Substate = std::remove_cvref_t<std::invoke_result_t<const Selector&, const State&>>;
        return Subscription<Substate>::make([this, selector = std::move(selector)](
                                                typename Subscription<Substate>::Observer forward) {
            observer = [selector, forward = std::move(forward)](
                           const std::optional<State>& oldState, const State& newState) {
                std::optional<Substate> oldSubstate;
                if (oldState) {
                    oldSubstate = std::invoke(selector, *oldState);
                }
                forward(oldSubstate, std::invoke(selector, newState));
            };
        });
    }

    /// Drops a pair when `isRepeat(old, new)` is true; a pair without an old state always passes.
    virtual std::shared_ptr<Subscription> skipRepeats(Predicate isRepeat) {
        return make([this, isRepeat = std::move(isRepeat)](Observer forward) {
            observer = [isRepeat, forward = std::move(forward)](
                           const std::optional<State>& oldState, const State& newState) {
                if (!oldState || !isRepeat(*oldState, newState)) {
                    forward(oldState, newState);
                }
            };
        });
    }

    /// Drops a pair whose old and new states are equal.
    std::shared_ptr<Subscription> skipRepeats() requires std::equality_comparable<State> {
        return skipRepeats([](const State& a, const State& b) { return a == b; });
    }

    /// Drops a pair when `when(old, new)` is true.
    std::shared_ptr<Subscription> skip(Predicate when) { return skipRepeats(std::move(when)); }

    /// Passes a pair only when `when(old, new)` is true.
    std::shared_ptr<Subscription> only(Predicate when) {
        return skipRepeats(
            [when = std::move(when)](const State& a, const State& b) { return !when(a, b); });
    }

    void connectTo(std::weak_ptr<AnyStoreSubscriber> subscriber) override {
        observer = [subscriber = std::move(subscriber)](const std::optional<State>&,
                                                        const State& newState) {
            if (const auto target = subscriber.lock()) {
                target->_newState(std::any(newState));
            }
        };
    }
};

/// Ties one subscriber to its chain inside a store. Two boxes for the same subscriber object
/// are equal, whatever their chains.
template <class State>
class SubscriptionBox {
  public:
    /// Connects the tail (`transformedSubscription`, or the head when there is none) to the
    /// subscriber, which is held weakly.
    SubscriptionBox(std::shared_ptr<Subscription<State>> originalSubscription,
                    const std::shared_ptr<detail::SubscriptionTail>& transformedSubscription,
                    const std::shared_ptr<AnyStoreSubscriber>& subscriber)
        : originalSubscription(std::move(originalSubscription)),
          subscriber(subscriber),
          objectIdentifier(identityOf(subscriber.get())) {
        detail::SubscriptionTail& tail =
            transformedSubscription ? *transformedSubscription : *this->originalSubscription;
        tail.connectTo(this->subscriber);
    }

    const std::shared_ptr<Subscription<State>> originalSubscription;
    const std::weak_ptr<AnyStoreSubscriber> subscriber;
    const void* const objectIdentifier;

    void deliver(const std::optional<State>& oldState, const State& newState) const {
        originalSubscription->deliver(oldState, newState);
    }

    friend bool operator==(const SubscriptionBox& a, const SubscriptionBox& b) noexcept {
        return a.objectIdentifier == b.objectIdentifier;
    }
};

}  // namespace kelvane
