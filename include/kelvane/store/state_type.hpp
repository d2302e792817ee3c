#pragma once

namespace kelvane {

/// Marks the records that serve as application state. No store operation requires it: a store
/// holds a state of any type.
class StateType {
  protected:
    StateType() = default;
    ~StateType() = default;
    StateType(const StateType&) = default;
    StateType& operator=(const StateType&) = default;
};

}  // namespace kelvane
