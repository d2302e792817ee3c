#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include <kelvane/store/store_subscriber.hpp>

namespace kelvane {

template <class State>
class Subscription;

template <class State>
class SubscriptionObserver;

namespace detail {

// The old value handed along a chain, without a copy: the optional the store (or a `select` that
// produced a value) holds, or a bare pointer to a selected member. An optional is made only when a
// hand-written observer needs one and none exists.
template <class State>
class OldValue {
  public:
    explicit OldValue(const std::optional<State>& holder) noexcept
        : holder_(&holder), value_(holder ? &*holder : nullptr) {}
    explicit OldValue(const State* value) noexcept : value_(value) {}

    const State* get() const noexcept { return value_; }

    template <class Use>
    void asOptional(Use&& use) const {
        if (holder_ != nullptr) {
            use(*holder_);
        } else {
            const std::optional<State> made = value_ ? std::optional<State>(*value_) : std::nullopt;
            use(made);
        }
    }

  private:
    const std::optional<State>* holder_ = nullptr;
    const State* value_ = nullptr;
};

// One built-in step of a chain (a transform, or a forward made for a sink). `target` is the
// subscriber the store has already locked for this delivery, or null; it is passed down so that the
// hand-over need not lock it a second time.
template <class State>
class LinkStep {
  public:
    virtual ~LinkStep() = default;
    virtual void run(const OldValue<State>& oldValue, const State& newValue,
                     AnyStoreSubscriber* target) const = 0;

  protected:
    LinkStep() = default;
    LinkStep(const LinkStep&) = default;
    LinkStep& operator=(const LinkStep&) = default;
};

// Reaches the internal side of observers for the steps, the links and the boxes.
struct LinkAccess {
    template <class State>
    static void run(const SubscriptionObserver<State>& observer, const OldValue<State>& oldValue,
                    const State& newValue, AnyStoreSubscriber* target) {
        observer.run(oldValue, newValue, target);
    }

    template <class State>
    static SubscriptionObserver<State> observerOf(std::shared_ptr<const LinkStep<State>> step) {
        return SubscriptionObserver<State>(std::move(step));
    }

    template <class State>
    static SubscriptionObserver<State> handOverTo(std::weak_ptr<AnyStoreSubscriber> subscriber) {
        const AnyStoreSubscriber* connected = subscriber.lock().get();
        return SubscriptionObserver<State>(
            typename SubscriptionObserver<State>::HandOver{std::move(subscriber), connected});
    }
};

// Passes each pair on to the next link unchanged (the forward a sink receives).
template <class State>
class ForwardStep final : public LinkStep<State> {
  public:
    explicit ForwardStep(const Subscription<State>& next) : next_(next) {}
    void run(const OldValue<State>& oldValue, const State& newValue,
             AnyStoreSubscriber* target) const override {
        LinkAccess::run(next_.observer, oldValue, newValue, target);
    }

  private:
    const Subscription<State>& next_;
};

// Maps the old value (first) and the new one with the selector. A selector that returns a
// reference (a pointer to member, say) hands the referenced values on without copying them; one
// that returns a value hands on values that live on the stack for the call.
template <class State, class Substate, class Selector>
class SelectStep final : public LinkStep<State> {
  public:
    SelectStep(const Subscription<Substate>& next, Selector selector)
        : next_(next), selector_(std::move(selector)) {}

    void run(const OldValue<State>& oldValue, const State& newValue,
             AnyStoreSubscriber* target) const override {
        using Result = std::invoke_result_t<const Selector&, const State&>;
        if constexpr (std::is_lvalue_reference_v<Result>) {
            const Substate* oldSubstate =
                oldValue.get() != nullptr ? &std::invoke(selector_, *oldValue.get()) : nullptr;
            const Substate& newSubstate = std::invoke(selector_, newValue);
            LinkAccess::run(next_.observer, OldValue<Substate>(oldSubstate), newSubstate, target);
        } else {
            std::optional<Substate> oldSubstate;
            if (oldValue.get() != nullptr) {
                oldSubstate.emplace(std::invoke(selector_, *oldValue.get()));
            }
            const Substate newSubstate = std::invoke(selector_, newValue);
            LinkAccess::run(next_.observer, OldValue<Substate>(oldSubstate), newSubstate, target);
        }
    }

  private:
    const Subscription<Substate>& next_;
    Selector selector_;
};

// Drops a pair when `isRepeat(old, new)`; a pair without an old value always passes.
template <class State, class IsRepeat>
class FilterStep final : public LinkStep<State> {
  public:
    FilterStep(const Subscription<State>& next, IsRepeat isRepeat)
        : next_(next), isRepeat_(std::move(isRepeat)) {}

    void run(const OldValue<State>& oldValue, const State& newValue,
             AnyStoreSubscriber* target) const override {
        if (oldValue.get() == nullptr || !isRepeat_(*oldValue.get(), newValue)) {
            LinkAccess::run(next_.observer, oldValue, newValue, target);
        }
    }

  private:
    const Subscription<State>& next_;
    IsRepeat isRepeat_;
};

// A step and the link it feeds, in one allocation: the observer that holds the step owns the
// next link, and running the step touches memory next to that link.
template <class Next, class Step>
struct LinkNode {
    template <class Key, class... Args>
    explicit LinkNode(Key key, Args&&... args)
        : next(key), step(next, std::forward<Args>(args)...) {}
    Subscription<Next> next;
    Step step;
};

}  // namespace detail
}  // namespace kelvane
