#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace kelvane::detail {

// Where a store keeps the states assigned while a delivery is under way. That delivery may still
// refer to the state before (handed to a subscriber that is dispatching now), so each such state
// takes a slot of its own instead of overwriting it. The slots are emptied together once no
// delivery runs, and kept for next time, so that steady nesting allocates nothing either.
template <class State>
class NestedStates {
  public:
    // A slot that no delivery refers to: empty, and at a fixed address until `emptyAll`.
    std::optional<State>& take() {
        if (used_ == slots_.size()) {
            slots_.push_back(std::make_unique<std::optional<State>>());
        }
        return *slots_[used_++];
    }

    // Empties every slot taken. Only while no delivery runs, so nothing refers to them.
    void emptyAll() {
        while (used_ > 0) {
            // Destroyed once its slot is free again: a state's destructor may reach the store,
            // which may then dispatch and take a slot.
            [[maybe_unused]] const std::optional<State> leaving = std::move(*slots_[used_ - 1]);
            slots_[used_ - 1]->reset();
            --used_;
        }
    }

  private:
    std::vector<std::unique_ptr<std::optional<State>>> slots_;
    std::size_t used_ = 0;
};

}  // namespace kelvane::detail
