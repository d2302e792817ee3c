#pragma once

#include <any>

namespace kelvane {

/// How a store hands a state over to `_newState`: a reference to the state (or to the value a
/// `select` produced), valid only for the duration of the call. A subscriber that wants to keep
/// the state copies it.
template <class State>
struct StateReference {
    const State* state;
};

/// A subscriber seen without its state type: what a store holds (weakly) and what
/// `Store::unsubscribe` takes. Subscribers are objects owned through `std::shared_ptr` and are
/// told apart by identity.
class AnyStoreSubscriber {
  public:
    virtual ~AnyStoreSubscriber() = default;

    /// Receives a new state, type-erased. A store passes a `StateReference<T>`, valid only during
    /// the call, so that no subscriber costs a copy of the state.
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
    /// the subscription's transforms. `state` refers to the store's own value (or to a value a
    /// transform produced) and is valid only until this call returns: copy it to keep it.
    virtual void newState(const State& state) = 0;

    /// Hands the value on when it is a `StateReference<State>` or holds a `State`; a value of any
    /// other type is ignored.
    void _newState(const std::any& state) override {
        if (const auto* reference = std::any_cast<StateReference<State>>(&state)) {
            if (reference->state != nullptr) {
                newState(*reference->state);
            }
        } else if (const auto* value = std::any_cast<State>(&state)) {
            newState(*value);
        }
    }
};

}  // namespace kelvane
