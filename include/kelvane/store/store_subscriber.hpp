#pragma once

#include <any>

namespace kelvane {

/// A subscriber seen without its state type: what a store holds (weakly) and what
/// `Store::unsubscribe` takes. Subscribers are objects owned through `std::shared_ptr` and are
/// told apart by identity.
class AnyStoreSubscriber {
  public:
    virtual ~AnyStoreSubscriber() = default;

    /// Receives a new state, type-erased.
    virtual void _newState(const std::any& state) = 0;

  protected:
    AnyStoreSubscriber() = default;
    AnyStoreSubscriber(const AnyStoreSubscriber&) = default;
    AnyStoreSubscriber& operator=(const AnyStoreSubscriber&) = default;
};

/// A subscriber of states of type `State` (the store's state, or what a transform selects).
template <class State>
class StoreSubscriber : public AnyStoreSubscriber {
  public:
    using StoreSubscriberStateType = State;

    /// Called synchronously, on the thread that assigned the state, with every state that passes
    /// the subscription's transforms.
    virtual void newState(const State& state) = 0;

    /// Hands the value on when it holds a `State`; a value of any other type is ignored.
    void _newState(const std::any& state) override {
        if (const auto* value = std::any_cast<State>(&state)) {
            newState(*value);
        }
    }
};

}  // namespace kelvane
