#pragma once

#include <memory>
#include <typeinfo>

namespace kelvane {

/// The new state as `AnyStoreSubscriber::_newState` receives it: a reference to a value of some
/// type, valid only during that call. It cannot be copied, so nothing can keep it past the call;
/// read it with `get<T>()` and copy the value to keep it.
///
///     void _newState(const AnyStateReference& state) override {
///         if (const auto* counter = state.get<Counter>()) { ... }
///     }
class AnyStateReference {
  public:
    template <class T>
    explicit AnyStateReference(const T& value) noexcept
        : value_(std::addressof(value)), type_(&typeid(T)) {}
    // A temporary would be gone before the reference is read.
    template <class T>
    explicit AnyStateReference(const T&&) = delete;

    AnyStateReference(const AnyStateReference&) = delete;
    AnyStateReference& operator=(const AnyStateReference&) = delete;

    /// The value, when it is of type `T` exactly; otherwise null.
    template <class T>
    const T* get() const noexcept {
        return *type_ == typeid(T) ? static_cast<const T*>(value_) : nullptr;
    }

  private:
    const void* value_;
    const std::type_info* type_;
};

/// A subscriber seen without its state type: what a store holds (weakly) and what
/// `Store::unsubscribe` takes. Subscribers are objects owned through `std::shared_ptr` and are
/// told apart by identity.
///
/// Implement `StoreSubscriber<State>` and override its `newState`; `_newState` is the store's
/// type-erased entry into it.
class AnyStoreSubscriber {
  public:
    virtual ~AnyStoreSubscriber() = default;

    /// Receives a new state, type-erased, valid only during the call.
    virtual void _newState(const AnyStateReference& state) = 0;

  protected:
    AnyStoreSubscriber() = default;
    AnyStoreSubscriber(const AnyStoreSubscriber&) = default;
    AnyStoreSubscriber& operator=(const AnyStoreSubscriber&) = default;
};

/// A subscriber of states of type `State` (the store's state, or what a transform selects).
/// Override `newState`; the type-erased entry is closed.
template <class State>
class StoreSubscriber : public AnyStoreSubscriber {
  public:
    using StoreSubscriberStateType = State;

    /// Called synchronously, on the thread that assigned the state, with every state that passes
    /// the subscription's transforms. `state` refers to the store's own value (or to a value a
    /// transform produced): it stays alive and unchanged until this call returns, whatever the
    /// call does (dispatch to the same store, subscribe, unsubscribe, release this subscriber).
    /// Copy what you keep beyond the call.
    virtual void newState(const State& state) = 0;

    /// Hands the value to `newState` when it is a `State`; a value of any other type is ignored.
    void _newState(const AnyStateReference& state) final {
        if (const auto* value = state.get<State>()) {
            newState(*value);
        }
    }
};

}  // namespace kelvane
