#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace kelvane::detail {

// Where a store keeps the states assigned while a delivery is under way. That delivery may still
// refer to the state before (handed to a subscriber that is dispatching now), so each such state
// takes a slot of its own instead of overwriting it.
//
// A slot counts its holders: the store while its state is current, each delivery that pairs it as
// the old state, and each call it is handed to. The last holder's release destroys the state at
// once, so the states alive are what is still referred to (a few per level of nesting), however
// many dispatches a call makes. Free slots are kept at their addresses for the next nested
// assignment, so steady nesting allocates nothing after its first use; `trim`, once no delivery
// is under way, frees those beyond the most that were taken at once since the last trim (keeping
// two, for the common single level of nesting that comes and goes), so that one deep delivery does
// not leave its slots behind for the store's life.
template <class State>
class NestedStates {
  public:
    struct Slot {
        std::optional<State> state;
        std::size_t holders = 0;
    };

    NestedStates() = default;
    NestedStates(const NestedStates&) = delete;
    NestedStates& operator=(const NestedStates&) = delete;

    // An empty slot with one holder, the caller. Only making a new slot can fail
    // (std::bad_alloc), and then nothing has changed.
    Slot& take() {
        if (free_.empty()) {
            auto made = std::make_unique<Slot>();
            if (slots_.size() == slots_.capacity()) {
                slots_.reserve(2 * slots_.size() + 1);
            }
            // Room for every slot, so that a release never allocates.
            free_.reserve(slots_.capacity());
            slots_.push_back(std::move(made));
            free_.push_back(slots_.back().get());
        }
        Slot* const slot = free_.back();
        free_.pop_back();
        slot->holders = 1;
        peak_ = std::max(peak_, slots_.size() - free_.size());
        return *slot;
    }

    // One more holder of `slot`; null (the store's own place, not a slot) is not counted.
    static void hold(Slot* slot) noexcept {
        if (slot != nullptr) {
            ++slot->holders;
        }
    }

    // One holder less; the last one destroys the state and frees the slot. The slot is freed only
    // after the state's destructor returned: that destructor may reach the store, which may then
    // take a slot, but never this one.
    void release(Slot* slot) noexcept {
        if (slot == nullptr || --slot->holders != 0) {
            return;
        }
        slot->state.reset();
        free_.push_back(slot);
    }

    // Frees the slots beyond the most that were taken at once since the last trim, keeping at
    // least `kAlwaysKept`. Does nothing while a slot is taken (or being released: a state's
    // destructor may dispatch and end a delivery of its own). Allocates nothing.
    void trim() noexcept {
        if (free_.size() != slots_.size()) {
            return;
        }
        const std::size_t kept = std::max(peak_, kAlwaysKept);
        peak_ = 0;
        if (slots_.size() <= kept) {
            return;  // the common case, at the end of every outermost delivery: nothing to free
        }
        slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(kept), slots_.end());
        free_.clear();
        for (const auto& slot : slots_) {
            free_.push_back(slot.get());
        }
    }

  private:
    static constexpr std::size_t kAlwaysKept = 2;

    std::vector<std::unique_ptr<Slot>> slots_;
    std::vector<Slot*> free_;
    std::size_t peak_ = 0;  // the most taken at once since the last trim
};

}  // namespace kelvane::detail
