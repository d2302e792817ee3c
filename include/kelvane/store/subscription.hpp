#pragma once

#include <concepts>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include <kelvane/platform/object.hpp>
#include <kelvane/store/detail/subscription_steps.hpp>
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

// What may be assigned to an observer: a callable of (old, new) other than an observer itself.
template <class Callable, class State>
concept ObserverCallable =
    !std::same_as<std::remove_cvref_t<Callable>, SubscriptionObserver<State>> &&
    std::constructible_from<std::function<void(const std::optional<State>&, const State&)>,
                            Callable>;

}  // namespace detail

/// What a link calls with each (old, new) pair: any callable of `(const std::optional<State>&,
/// const State&)`, or empty. The transforms set built-in steps that hand both values on by
/// reference; assigning a callable replaces whatever the link did before.
template <class State>
class SubscriptionObserver {
  public:
    using Function = std::function<void(const std::optional<State>&, const State&)>;

    // Implicit, as for std::function: `observer = nullptr;` and `observer = [](...) {...};`.
    SubscriptionObserver() = default;
    SubscriptionObserver(std::nullptr_t) noexcept {}

    template <detail::ObserverCallable<State> Callable>
    SubscriptionObserver(Callable&& callable)
        : how_(std::in_place_type<Function>, std::forward<Callable>(callable)) {}

    explicit operator bool() const noexcept {
        if (const auto* function = std::get_if<Function>(&how_)) {
            return static_cast<bool>(*function);
        }
        return how_.index() != 0;
    }

    void operator()(const std::optional<State>& oldState, const State& newState) const {
        run(detail::OldValue<State>(oldState), newState, nullptr);
    }

  private:
    friend struct detail::LinkAccess;

    // The end of a chain: hands the new value to the subscriber. Kept here rather than in a step
    // of its own, so that the link before it reaches the subscriber without another call.
    struct HandOver {
        std::weak_ptr<AnyStoreSubscriber> subscriber;
        // Compared with the delivery's target only, never followed: the weak pointer decides.
        const AnyStoreSubscriber* connected;
    };
    using Step = std::shared_ptr<const detail::LinkStep<State>>;

    explicit SubscriptionObserver(Step step) noexcept : how_(std::move(step)) {}

    explicit SubscriptionObserver(HandOver handOver) noexcept : how_(std::move(handOver)) {}

    void run(const detail::OldValue<State>& oldValue, const State& newValue,
             AnyStoreSubscriber* target) const {
        if (const auto* handOver = std::get_if<HandOver>(&how_)) {
            // The delivery's target is this box's subscriber, already locked: no second lock.
            if (target != nullptr && target == handOver->connected) {
                target->_newState(AnyStateReference(newValue));
            } else if (const auto live = handOver->subscriber.lock()) {
                live->_newState(AnyStateReference(newValue));
            }
        } else if (const auto* step = std::get_if<Step>(&how_)) {
            (*step)->run(oldValue, newValue, target);
        } else if (const auto* function = std::get_if<Function>(&how_); function && *function) {
            oldValue.asOptional(
                [&](const std::optional<State>& oldState) { (*function)(oldState, newValue); });
        }
    }

    // One of: nothing, a built-in step, a hand-written function, the hand-over.
    std::variant<std::monostate, Step, Function, HandOver> how_;
};

/// One link of a subscriber's chain of state transforms. The head receives the store's old and
/// new state; each transform maps or filters and hands on to the next link; the last one hands
/// the value to the subscriber. Values travel by reference: no link copies the state, and a
/// `select` hands on the member it reads (or the value its function returns) for the call only.
///
/// Each link's `observer` owns the next link, so the store, which owns the head, owns the chain,
/// and the chain never keeps the subscriber alive. Calling a second transform on the same link
/// replaces the first one's result: build chains by calling each transform on the result of the
/// one before. A transform remembers nothing: `skipRepeats` compares the old and new values it is
/// handed, not the last value that reached the subscriber.
template <class State>
class Subscription : public detail::SubscriptionTail {
    struct Key {
        explicit Key() = default;
    };
    template <class>
    friend class Subscription;

  public:
    using Observer = SubscriptionObserver<State>;
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
        Observer forward;
        auto subscription = chain<State, detail::ForwardStep<State>>(forward);
        sink(std::move(forward));
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
        return chain<Substate, detail::SelectStep<State, Substate, Selector>>(observer,
                                                                              std::move(selector));
    }

    /// Drops a pair when `isRepeat(old, new)` is true; a pair without an old state always passes.
    virtual std::shared_ptr<Subscription> skipRepeats(Predicate isRepeat) {
        return filter(std::move(isRepeat));
    }

    /// Drops a pair whose old and new states are equal.
    std::shared_ptr<Subscription> skipRepeats() requires std::equality_comparable<State> {
        return filter(std::equal_to<>{});
    }

    /// Drops a pair when `when(old, new)` is true.
    std::shared_ptr<Subscription> skip(Predicate when) { return filter(std::move(when)); }

    /// Passes a pair only when `when(old, new)` is true.
    std::shared_ptr<Subscription> only(Predicate when) {
        return filter(
            [when = std::move(when)](const State& a, const State& b) { return !when(a, b); });
    }

    void connectTo(std::weak_ptr<AnyStoreSubscriber> subscriber) override {
        observer = detail::LinkAccess::handOverTo<State>(std::move(subscriber));
    }

  private:
    template <class IsRepeat>
    std::shared_ptr<Subscription> filter(IsRepeat isRepeat) {
        return chain<State, detail::FilterStep<State, IsRepeat>>(observer, std::move(isRepeat));
    }

    // Makes the next link together with `Step`, sets `feeding` to run that step, and returns the
    // link. `feeding` owns both; the returned pointer shares that ownership.
    template <class Next, class Step, class... Args>
    static std::shared_ptr<Subscription<Next>> chain(Observer& feeding, Args&&... args) {
        using Node = detail::LinkNode<Next, Step>;
        auto node =
            std::make_shared<Node>(typename Subscription<Next>::Key{}, std::forward<Args>(args)...);
        feeding = detail::LinkAccess::observerOf<State>(
            std::shared_ptr<const detail::LinkStep<State>>(node, &node->step));
        return std::shared_ptr<Subscription<Next>>(node, &node->next);
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

    /// Runs the chain for `target`, this box's subscriber, which the caller keeps alive for the
    /// call (the store locks it once per delivery).
    void deliverTo(AnyStoreSubscriber& target, const std::optional<State>& oldState,
                   const State& newState) const {
        detail::LinkAccess::run(originalSubscription->observer, detail::OldValue<State>(oldState),
                                newState, &target);
    }

    friend bool operator==(const SubscriptionBox& a, const SubscriptionBox& b) noexcept {
        return a.objectIdentifier == b.objectIdentifier;
    }
};

}  // namespace kelvane
