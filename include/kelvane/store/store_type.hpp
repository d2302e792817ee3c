#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <kelvane/store/action.hpp>
#include <kelvane/store/store_subscriber.hpp>

namespace kelvane {

template <class State>
class Store;

/// A step that takes an action onward: the store's dispatch function, and the re-dispatching
/// function and the next step that middleware receives. An empty function is an absent one.
using DispatchFunction = std::function<void(const Action&)>;

/// Builds the next state from an action and the current state (absent before the first one).
template <class State>
using Reducer = std::function<State(const Action&, const std::optional<State>&)>;

/// Reads a store's current state; absent when the store is gone or has no state yet.
template <class State>
using GetState = std::function<std::optional<State>()>;

/// Given the store's whole dispatch (re-dispatching from the outermost step; a no-op once the
/// store is gone) and a state reader, returns a wrapper that turns the next step inward into this
/// middleware's own step. A step that never calls its next step swallows the action.
template <class State>
using Middleware = std::function<std::function<DispatchFunction(DispatchFunction)>(
    DispatchFunction, GetState<State>)>;

/// Called with the state after an action made by an action creator was dispatched.
template <class State>
using DispatchCallback = std::function<void(const State&)>;

/// Computes the action to dispatch from the current state, or none (a null pointer).
template <class State>
using ActionCreator = std::function<std::unique_ptr<Action>(const State&, Store<State>&)>;

/// May keep its callback and call it later, any number of times; each call hands over an
/// ActionCreator that the store runs at once.
template <class State>
using AsyncActionCreator =
    std::function<void(const State&, Store<State>&, std::function<void(ActionCreator<State>)>)>;

/// Anything that accepts actions.
class DispatchingStoreType {
  public:
    virtual ~DispatchingStoreType() = default;
    virtual void dispatch(const Action& action) = 0;

  protected:
    DispatchingStoreType() = default;
    DispatchingStoreType(const DispatchingStoreType&) = default;
    DispatchingStoreType& operator=(const DispatchingStoreType&) = default;
};

/// The interface of a store of `State`. `Store` is its implementation; the subscribe form with a
/// transform is a member template of `Store`, since C++ has no virtual templates.
template <class State>
class StoreType : public DispatchingStoreType {
  public:
    using DispatchingStoreType::dispatch;

    virtual const std::optional<State>& state() const = 0;
    virtual DispatchFunction dispatchFunction() = 0;
    virtual void subscribe(std::shared_ptr<StoreSubscriber<State>> subscriber) = 0;
    virtual void unsubscribe(const std::shared_ptr<AnyStoreSubscriber>& subscriber) = 0;
    virtual void dispatch(ActionCreator<State> actionCreator) = 0;
    virtual void dispatch(AsyncActionCreator<State> asyncActionCreator) = 0;
    virtual void dispatch(AsyncActionCreator<State> asyncActionCreator,
                          DispatchCallback<State> callback) = 0;
};

}  // namespace kelvane
