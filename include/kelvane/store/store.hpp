#pragma once

#include <concepts>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <kelvane/core/detail/first_failure.hpp>
#include <kelvane/core/detail/identity_registry.hpp>
#include <kelvane/core/printed.hpp>
#include <kelvane/store/action.hpp>
#include <kelvane/store/assertions.hpp>
#include <kelvane/store/detail/nested_states.hpp>
#include <kelvane/store/store_subscriber.hpp>
#include <kelvane/store/store_type.hpp>
#include <kelvane/store/subscription.hpp>
#include <kelvane/store/synchronized.hpp>

namespace kelvane {

namespace detail {
inline constexpr const char* kConcurrentMutationError =
    "Store:ConcurrentMutationError- Action has been dispatched while a previous action is being "
    "processed. A reducer is dispatching an action, or the store is used in a concurrent context "
    "(e.g. from multiple threads). Action: ";
}  // namespace detail

/// Holds one state value of type `State` and changes it only by dispatching actions.
///
/// `dispatch` runs the action through the middleware (first entry outermost) to the default
/// dispatch, which runs the reducer under a busy flag and assigns the result; the assignment
/// delivers the new state to every live subscriber. All of it happens on the caller's thread
/// before `dispatch` returns. A subscriber or a middleware may dispatch again; a reducer may not
/// (that halts through the fatal-error hook, see Assertions).
///
/// Subscribers receive the state (or what their transforms select) by reference: a dispatch
/// copies the state once, in the reducer, whatever the number of subscribers and however deep it
/// is nested. What a subscriber, a transform or an observer is handed stays alive and unchanged
/// until its call returns, also when the call dispatches to this store again: a state assigned
/// during a delivery takes a place of its own, and lives only while the store or a call under way
/// still refers to it. A subscriber that wants to keep the state copies it.
///
/// What the store keeps alive grows with the deliveries under way (D, the nesting depth), never
/// with the number of dispatches, subscribes or unsubscribes a call makes:
/// - states: at most 2D + 2, and one more while a reducer runs (the state it builds);
/// - lists of subscriptions: at most D + 1. A delivery walks the list as it was when the
///   delivery began; the first subscribe or unsubscribe after that goes to a copy, which later
///   ones change in place while no delivery walks it. The list a delivery walked dies when the
///   delivery ends (or with the last one walking it).
/// - places for nested states: once the outermost delivery has ended, as many as it used at once
///   (at least two) stay for the next nesting, so that steady nesting allocates nothing.
///
/// A subscriber (or one of its transforms or observers) that throws does not keep the others from
/// the delivery: the delivery goes on to every live subscriber, then the first exception leaves
/// `dispatch`; later ones from the same delivery are dropped. The state is assigned all the same,
/// and the store stays consistent, so the next dispatch is delivered as usual. An exception from a
/// nested dispatch reaches the subscriber that dispatched, as any exception from a call would. A
/// reducer that throws assigns nothing. A thread cancelled (or ended by `pthread_exit`) inside a
/// subscriber ends the delivery there, the store left consistent.
///
/// `State`'s move constructor, move assignment and swap must not throw (checked when the store is
/// instantiated): states move between the store's places during a delivery.
///
/// Threads: only the busy flag is synchronised. State, subscriptions and middleware are not, so a
/// store is used from one thread at a time; a dispatch from a second thread while a reducer runs
/// halts instead of corrupting the state.
///
/// Stores are owned through `std::shared_ptr` and made with `make` (subclasses: `makeStore`),
/// because the dispatch chain, which a store without an initial state builds during
/// construction, refers back to the store weakly.
template <class State>
class Store : public StoreType<State>, public std::enable_shared_from_this<Store<State>> {
    class ConstructionKey {
        explicit ConstructionKey() = default;
        friend class Store;
    };

  public:
    using StateTypeOf = State;

  private:
    using Registry = detail::IdentityRegistry<std::shared_ptr<SubscriptionBox<State>>>;
    using NestedStates = detail::NestedStates<State>;
    using Slot = typename NestedStates::Slot;

    static_assert(std::is_nothrow_move_constructible_v<State> &&
                      std::is_nothrow_move_assignable_v<State> &&
                      std::is_nothrow_swappable_v<State>,
                  "a store's state must move and swap without throwing");

  public:
    /// The boxes, as `subscriptions()` shows them: a range of `std::shared_ptr` to each box.
    using Subscriptions = typename Registry::View;
    using StoreType<State>::dispatch;

    /// Makes a store. With an initial state the store holds it and nothing is dispatched; without
    /// one, `StoreInit` is dispatched through `dispatch` (overrides included), so the reducer
    /// builds the first state. `automaticallySkipsRepeats`: subscribers of a selected (or whole)
    /// state that has `==` receive a state only when it differs from the one before.
    static std::shared_ptr<Store> make(Reducer<State> reducer,
                                       std::optional<State> state = std::nullopt,
                                       std::vector<Middleware<State>> middleware = {},
                                       bool automaticallySkipsRepeats = true) {
        return makeStore<Store>(std::move(reducer), std::move(state), std::move(middleware),
                                automaticallySkipsRepeats);
    }

    /// Only `make`/`makeStore` can call this (the key is private).
    Store(ConstructionKey, Reducer<State> reducer, std::optional<State> state,
          std::vector<Middleware<State>> middleware, bool automaticallySkipsRepeats)
        : state_(std::move(state)),
          reducer_(std::move(reducer)),
          subscriptionsAutomaticallySkipRepeats_(automaticallySkipsRepeats),
          middleware_(std::move(middleware)) {}

    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    /// The current state; absent only when no initial state was given and middleware kept
    /// `StoreInit` from the reducer. Read outside a delivery, the reference stays valid for the
    /// store's life and shows the current state whenever no delivery runs; during a delivery in
    /// which a nested dispatch happened it may show an earlier one, so read `state()` anew there.
    /// Read during a delivery (from a subscriber, say), it stays valid until the call that read
    /// it returns or dispatches to this store again, whichever comes first. A reference kept
    /// longer dangles.
    const std::optional<State>& state() const override { return current(); }

    /// The composed dispatch chain, built on first use. Empty after `setDispatchFunction({})`.
    DispatchFunction dispatchFunction() override { return *currentDispatchFunction(); }

    /// Replaces the chain by hand; an empty function makes `dispatch` halt (see there).
    virtual void setDispatchFunction(DispatchFunction function) { install(std::move(function)); }

    const std::vector<Middleware<State>>& middleware() const { return middleware_; }

    /// Stores the list and rebuilds the chain from it, replacing a hand-set dispatch function.
    virtual void setMiddleware(std::vector<Middleware<State>> middleware) {
        middleware_ = std::move(middleware);
        install(buildDispatchFunction());
    }

    /// Runs `action` through the chain. Halts with a clear message when the dispatch function
    /// was set to an empty one.
    void dispatch(const Action& action) override {
        if (chainIsDefaultDispatch_) {
            // The chain is the default dispatch alone, which needs no chain to run: nothing is
            // kept for a subscriber that replaces the chain meanwhile.
            _defaultDispatch(action);
            return;
        }
        // A copy of the pointer keeps the chain alive while it runs, even if a middleware
        // replaces the store's middleware during its own step.
        const auto function = currentDispatchFunction();
        if (!*function) {
            haltWithFatalError(
                "Store: dispatch found no dispatch function (it was set to an empty "
                "function). Action: " +
                printed(action));
        }
        (*function)(action);
    }

    /// Calls `actionCreator` with a copy of the current state and dispatches what it returns
    /// (nothing when it returns null). With no state yet the creator is not called. The store
    /// stays alive until this returns, whatever the creator or the subscribers release.
    void dispatch(ActionCreator<State> actionCreator) override {
        if (!state()) {
            return;
        }
        const auto storeKeptForTheCall = this->shared_from_this();
        // A copy: the creator may keep it, and dispatch, as long as it likes.
        const State current = *state();
        if (const auto action = actionCreator(current, *this)) {
            dispatch(*action);
        }
    }

    void dispatch(AsyncActionCreator<State> asyncActionCreator) override {
        dispatch(std::move(asyncActionCreator), DispatchCallback<State>{});
    }

    /// Calls `asyncActionCreator` with the current state, the store and a callback. Each call of
    /// the callback runs the ActionCreator it is given and, when that returns an action,
    /// dispatches it and then calls `callback` (when given) with the state after that dispatch.
    /// The callback keeps the store alive. With no state, creators are not called. Every state
    /// handed over is a copy, unchanged by later dispatches.
    void dispatch(AsyncActionCreator<State> asyncActionCreator,
                  DispatchCallback<State> callback) override {
        if (!state()) {
            return;
        }
        auto self = this->shared_from_this();
        const State current = *state();
        asyncActionCreator(
            current, *this,
            [self, callback = std::move(callback)](const ActionCreator<State>& actionCreator) {
                if (!self->state()) {
                    return;
                }
                const State before = *self->state();
                const auto action = actionCreator(before, *self);
                if (!action) {
                    return;
                }
                self->dispatch(*action);
                if (callback && self->state()) {
                    const State after = *self->state();
                    callback(after);
                }
            });
    }

    /// The innermost step of every chain: runs the reducer under the busy flag, then assigns the
    /// new state, which delivers it. Called directly it bypasses the middleware. The store stays
    /// alive until this returns, also when a subscriber releases its last owner.
    virtual void _defaultDispatch(const Action& action) {
        const auto storeKeptForTheCall = this->shared_from_this();
        bool wasDispatching = false;
        isDispatching_.write([&wasDispatching](bool& flag) {
            wasDispatching = flag;
            flag = true;
        });
        if (wasDispatching) {
            haltWithFatalError(detail::kConcurrentMutationError + printed(action));
        }
        // Built in place: the reducer's copy of the state is the only one a dispatch makes.
        State next = reduce(action);
        isDispatching_.write([](bool& flag) { flag = false; });
        assignState(std::move(next));
    }

    /// Subscribes to the whole state. When `State` has `==` and the store skips repeats
    /// automatically, an assignment equal to the state before is not delivered. The subscriber
    /// receives the current state at once, when there is one; when that call throws, the
    /// subscription stays and the exception leaves `subscribe`. A second subscribe of the same
    /// object replaces its earlier chain, in its place. Amortised constant time, the one copy of
    /// the list a delivery may cost counted to that delivery (see above); during a delivery,
    /// that delivery does not visit the new box (nor a replacing one).
    void subscribe(std::shared_ptr<StoreSubscriber<State>> subscriber) override {
        auto head = Subscription<State>::make();
        std::shared_ptr<detail::SubscriptionTail> tail;
        if constexpr (std::equality_comparable<State>) {
            if (subscriptionsAutomaticallySkipRepeats_) {
                tail = head->skipRepeats();
            }
        }
        addSubscription(std::move(subscriber), std::move(head), std::move(tail));
    }

    /// Subscribes through a transform, called once, now, with the chain's head; it returns the
    /// chain's tail, whose state type must be the subscriber's. When that type has `==` and the
    /// store skips repeats automatically, a `skipRepeats()` is added after the tail.
    ///
    ///     store->subscribe(counterView, [](auto head) { return head->select(&AppState::count); });
    template <class Subscriber, class Transform>
    requires std::derived_from<Subscriber,
                               StoreSubscriber<typename Subscriber::StoreSubscriberStateType>>
    void subscribe(std::shared_ptr<Subscriber> subscriber, Transform&& transform) {
        using Selected = typename Subscriber::StoreSubscriberStateType;
        auto head = Subscription<State>::make();
        std::shared_ptr<Subscription<Selected>> tail = std::forward<Transform>(transform)(head);
        if constexpr (std::equality_comparable<Selected>) {
            if (tail && subscriptionsAutomaticallySkipRepeats_) {
                tail = tail->skipRepeats();
            }
        }
        addSubscription(std::move(subscriber), std::move(head), std::move(tail));
    }

    /// Removes the subscription of this very object (identity); does nothing when it has none.
    /// Amortised constant time, as `subscribe`. Called during a delivery, that delivery still
    /// visits the box.
    void unsubscribe(const std::shared_ptr<AnyStoreSubscriber>& subscriber) override {
        const void* identity = identityOf(subscriber.get());
        const auto* box = subscriptions_.find(identity);
        // A box left by an earlier object at the same address never matches.
        if (box != nullptr && !(*box)->subscriber.expired()) {
            // Dropped once the list is consistent again.
            const auto removedKeptUntilConsistent = subscriptions_.remove(identity);
        }
    }

    /// The boxes in their current order (insertion order, a replaced box keeping its place;
    /// callers must not rely on the order), valid until the next subscribe, unsubscribe or
    /// dispatch. Copy the pointers to keep them.
    Subscriptions subscriptions() const { return subscriptions_.entries(); }

    bool subscriptionsAutomaticallySkipRepeats() const {
        return subscriptionsAutomaticallySkipRepeats_;
    }

  protected:
    /// Makes a store of a subclass `Derived` (which inherits Store's constructor) and, when it has
    /// no state, dispatches `StoreInit` through its `dispatch` override.
    template <class Derived>
    static std::shared_ptr<Derived> makeStore(Reducer<State> reducer, std::optional<State> state,
                                              std::vector<Middleware<State>> middleware,
                                              bool automaticallySkipsRepeats) {
        const bool dispatchInit = !state.has_value();
        auto store =
            std::make_shared<Derived>(ConstructionKey{}, std::move(reducer), std::move(state),
                                      std::move(middleware), automaticallySkipsRepeats);
        if (dispatchInit) {
            store->dispatch(StoreInit{});
        }
        return store;
    }

    /// Composes `middleware()` into one function: the first middleware outermost, the default
    /// dispatch innermost. Every function in the chain holds the store weakly and does nothing
    /// once it is gone.
    virtual DispatchFunction buildDispatchFunction() {
        const std::weak_ptr<Store> weakStore = this->weak_from_this();
        DispatchFunction step = DefaultDispatchStep{weakStore, this};
        for (auto it = middleware_.rbegin(); it != middleware_.rend(); ++it) {
            DispatchFunction redispatch = [weakStore](const Action& action) {
                if (const auto store = weakStore.lock()) {
                    store->dispatch(action);
                }
            };
            GetState<State> getState = [weakStore]() -> std::optional<State> {
                if (const auto store = weakStore.lock()) {
                    return store->state();
                }
                return std::nullopt;
            };
            step = (*it)(std::move(redispatch), std::move(getState))(std::move(step));
        }
        return step;
    }

    /// Adds the box for `subscriber` (replacing the box of the same object) and delivers the
    /// current state to it at once, with no old state, when there is one.
    virtual void addSubscription(
        std::shared_ptr<AnyStoreSubscriber> subscriber,
        std::shared_ptr<Subscription<State>> originalSubscription,
        std::shared_ptr<detail::SubscriptionTail> transformedSubscription) {
        auto box = makeSubscriptionBox(originalSubscription, transformedSubscription, subscriber);
        // The replaced box (if any) is dropped only after the list is consistent again.
        const auto replacedKeptUntilConsistent = subscriptions_.put(box->objectIdentifier, box);
        if (current()) {
            // The subscriber may release the store's last owner from its call.
            const auto storeKeptForTheCall = this->shared_from_this();
            const Delivery delivering(*this, nullptr);
            const Handed handed(*this);
            const std::optional<State> none;
            box->deliverTo(*subscriber, none, handed.state());
        }
    }

    virtual std::shared_ptr<SubscriptionBox<State>> makeSubscriptionBox(
        std::shared_ptr<Subscription<State>> originalSubscription,
        const std::shared_ptr<detail::SubscriptionTail>& transformedSubscription,
        const std::shared_ptr<AnyStoreSubscriber>& subscriber) {
        return std::make_shared<SubscriptionBox<State>>(std::move(originalSubscription),
                                                        transformedSubscription, subscriber);
    }

  private:
    // The innermost step of every chain. Only checked here: `_defaultDispatch` keeps the store
    // alive for its own run.
    struct DefaultDispatchStep {
        std::weak_ptr<Store> weakStore;
        Store* store;
        void operator()(const Action& action) const {
            if (!weakStore.expired()) {
                store->_defaultDispatch(action);
            }
        }
    };

    const std::shared_ptr<const DispatchFunction>& currentDispatchFunction() {
        if (!dispatchFunction_) {
            install(buildDispatchFunction());
        }
        return dispatchFunction_;
    }

    // Makes `function` the chain, noting whether it is this store's default dispatch step alone
    // (no middleware, and no override of `buildDispatchFunction` that wraps it).
    void install(DispatchFunction function) {
        const auto* const step = function.template target<DefaultDispatchStep>();
        dispatchFunction_ = std::make_shared<const DispatchFunction>(std::move(function));
        chainIsDefaultDispatch_ = step != nullptr && step->store == this;
    }

    // Where the current state is: a slot while a delivery runs and a state was assigned during
    // it, else `state_`.
    const std::optional<State>& current() const noexcept {
        return currentSlot_ != nullptr ? currentSlot_->state : state_;
    }

    // Runs the reducer; its result is built straight into the caller's variable.
    State reduce(const Action& action) {
        try {
            return reducer_(action, current());
        } catch (...) {
            // A reducer that throws must not leave the store busy for ever.
            isDispatching_.write([](bool& flag) { flag = false; });
            throw;
        }
    }

    // One delivery under way: it counts in `delivering_` and holds its old state when that is in
    // a slot. Its end releases that state; the end of the outermost one moves the newest state
    // home to `state_` and trims the slots. Nothing here can throw: states move and swap without
    // throwing, and releasing and trimming never allocate.
    class Delivery {
      public:
        Delivery(Store& store, Slot* oldSlot) noexcept : store_(store), oldSlot_(oldSlot) {
            ++store_.delivering_;
        }
        ~Delivery() {
            store_.nested_.release(oldSlot_);
            if (--store_.delivering_ != 0) {
                return;
            }
            if (Slot* const newest = std::exchange(store_.currentSlot_, nullptr)) {
                store_.state_.swap(newest->state);
                // The state it replaces goes last, in its slot, once the store is consistent: its
                // destructor may dispatch.
                store_.nested_.release(newest);
            }
            store_.nested_.trim();
        }
        Delivery(const Delivery&) = delete;
        Delivery& operator=(const Delivery&) = delete;

      private:
        Store& store_;
        Slot* const oldSlot_;
    };

    // The current state, held for one call that it is handed to, so that the call's own
    // dispatches cannot release it.
    class Handed {
      public:
        explicit Handed(Store& store) noexcept : store_(store), slot_(store.currentSlot_) {
            NestedStates::hold(slot_);
        }
        ~Handed() { store_.nested_.release(slot_); }
        Handed(const Handed&) = delete;
        Handed& operator=(const Handed&) = delete;

        const State& state() const noexcept {
            return slot_ != nullptr ? *slot_->state : *store_.state_;
        }

      private:
        Store& store_;
        Slot* const slot_;
    };

    // Stores the new state and delivers it. With no delivery under way it goes to `state_`, and
    // the old state waits in a local for this delivery. During a delivery the current state may
    // be in a subscriber's hands, so the new one takes a slot of its own, and the current one,
    // left in place, is this delivery's old state: the store's hold on it passes to the delivery.
    void assignState(State&& next) {
        if (delivering_ == 0) {
            std::optional<State> oldState = std::move(state_);
            state_ = std::move(next);
            deliver(oldState, nullptr);
        } else {
            Slot& slot = nested_.take();  // the only step that can fail; nothing has changed then
            slot.state.emplace(std::move(next));
            Slot* const oldSlot = std::exchange(currentSlot_, &slot);
            deliver(oldSlot != nullptr ? oldSlot->state : state_, oldSlot);
        }
    }

    // Delivers to a snapshot of the boxes. The current state is read again for each box, so when
    // a subscriber dispatches from its notification, the boxes after it receive the newest state,
    // still paired with this assignment's old state. Each subscriber is locked once and handed the
    // state by reference. A box whose subscriber is gone is dropped here, at the first delivery
    // after it went. A box that throws does not stop the delivery: the first exception leaves
    // once every box was visited and the delivery has ended.
    void deliver(const std::optional<State>& oldState, Slot* oldSlot) {
        detail::FirstFailure failures;
        {
            const Delivery delivering(*this, oldSlot);
            const typename Registry::Walk walk(subscriptions_);
            for (std::size_t i = 0; i < walk.size(); ++i) {
                const auto* entry = walk.at(i);
                if (entry == nullptr) {
                    continue;
                }
                const SubscriptionBox<State>& box = **entry;
                if (const auto target = box.subscriber.lock()) {
                    const Handed handed(*this);
                    failures.call([&] { box.deliverTo(*target, oldState, handed.state()); });
                } else {
                    dropIfGone(box.objectIdentifier);
                }
            }
        }
        failures.rethrowIfAny();
    }

    // Drops the box listed for `identity` when its subscriber is gone. The box the walk found
    // gone may have been replaced meanwhile by one of a new object at the same address, which
    // stays.
    void dropIfGone(const void* identity) {
        const auto* listed = subscriptions_.find(identity);
        if (listed != nullptr && (*listed)->subscriber.expired()) {
            // Dropped once the list is consistent again.
            const auto goneKeptUntilConsistent = subscriptions_.remove(identity);
        }
    }

    // The home of the state: the current one whenever no delivery runs.
    std::optional<State> state_;
    // Null while the current state is `state_`.
    Slot* currentSlot_ = nullptr;
    NestedStates nested_;
    std::size_t delivering_ = 0;
    // Null: not built yet. Otherwise the chain, or an empty function once set to absent.
    std::shared_ptr<const DispatchFunction> dispatchFunction_;
    bool chainIsDefaultDispatch_ = false;
    const Reducer<State> reducer_;
    Registry subscriptions_;
    Synchronized<bool> isDispatching_{false};
    const bool subscriptionsAutomaticallySkipRepeats_;
    std::vector<Middleware<State>> middleware_;
};

}  // namespace kelvane
