#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelvane::detail {

// The one hash of an object identity (an address). Fibonacci hashing: addresses differ mostly in
// their middle bits, and the multiplication carries those into the high bits, which the index
// takes.
inline std::uint64_t identityHash(const void* identity) noexcept {
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(identity)) *
           0x9E3779B97F4A7C15ULL;
}

// Maps an object identity (a non-null address) to a position, in one flat table: open addressing
// with linear probing, kept at most half full, and backward-shift deletion so that an erase leaves
// no tombstones behind. Lookups, inserts and erases take constant time on average and allocate
// only when the table grows.
class IdentityIndex {
  public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // The position stored for `key`, or npos.
    std::size_t find(const void* key) const noexcept {
        if (slots_.empty()) {
            return npos;
        }
        for (std::size_t i = home(key);; i = next(i)) {
            if (slots_[i].key == key) {
                return slots_[i].position;
            }
            if (slots_[i].key == nullptr) {
                return npos;
            }
        }
    }

    // Stores `position` for `key`, replacing the one it had. Allocates only to add a new key.
    void set(const void* key, std::size_t position) {
        if (!slots_.empty()) {
            std::size_t i = home(key);
            for (; slots_[i].key != nullptr; i = next(i)) {
                if (slots_[i].key == key) {
                    slots_[i].position = position;
                    return;
                }
            }
            if ((size_ + 1) * 2 <= slots_.size()) {
                slots_[i] = Slot{key, position};
                ++size_;
                return;
            }
        }
        grow();
        insertNew(key, position);
    }

    // Forgets `key`; does nothing when it is absent.
    void erase(const void* key) noexcept {
        if (slots_.empty()) {
            return;
        }
        std::size_t hole = home(key);
        while (slots_[hole].key != key) {
            if (slots_[hole].key == nullptr) {
                return;
            }
            hole = next(hole);
        }
        // Pull later entries of the same probe run back into the hole, so lookups still find them.
        for (std::size_t i = next(hole); slots_[i].key != nullptr; i = next(i)) {
            const std::size_t wanted = home(slots_[i].key);
            const bool canMove =
                hole <= i ? (wanted <= hole || wanted > i) : (wanted <= hole && wanted > i);
            if (canMove) {
                slots_[hole] = slots_[i];
                hole = i;
            }
        }
        slots_[hole] = Slot{};
        --size_;
    }

    std::size_t size() const noexcept { return size_; }

  private:
    struct Slot {
        const void* key = nullptr;
        std::size_t position = 0;
    };

    std::size_t home(const void* key) const noexcept {
        return static_cast<std::size_t>(identityHash(key) >> shift_);
    }
    std::size_t next(std::size_t i) const noexcept { return (i + 1) & (slots_.size() - 1); }

    void grow() {
        std::vector<Slot> old(slots_.empty() ? 16 : slots_.size() * 2);
        old.swap(slots_);
        shift_ = 64;
        for (std::size_t capacity = slots_.size(); capacity > 1; capacity /= 2) {
            --shift_;
        }
        size_ = 0;
        for (const Slot& slot : old) {
            if (slot.key != nullptr) {
                insertNew(slot.key, slot.position);
            }
        }
    }

    void insertNew(const void* key, std::size_t position) noexcept {
        std::size_t i = home(key);
        while (slots_[i].key != nullptr) {
            i = next(i);
        }
        slots_[i] = Slot{key, position};
        ++size_;
    }

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
    unsigned shift_ = 64;
};

}  // namespace kelvane::detail
