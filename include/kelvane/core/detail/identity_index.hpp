#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace kelvane::detail {

// The one hash of an object identity (an address). Fibonacci hashing: addresses differ mostly in
// their middle bits, and the multiplication carries those into the high bits, which the index
// takes.
inline std::uint64_t identityHash(const void* identity) noexcept {
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(identity)) *
           0x9E3779B97F4A7C15ULL;
}

// Finds the position of an identity in its owner's list, through one flat table: open addressing
// with linear probing, at most half full, and backward-shift deletion, so that an erase leaves no
// tombstones. The table holds positions only and reads each identity where the owner keeps it
// (`identityAt(position)`), so an entry costs it 8 bytes: small tables stay in cache, and large
// ones do not make the allocator fetch fresh pages as they grow. Lookups, inserts and erases take
// constant time on average; only growing allocates.
class IdentityIndex {
  public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // The position of `key`, or npos.
    template <class IdentityAt>
    std::size_t find(const void* key, const IdentityAt& identityAt) const noexcept {
        if (table_.empty()) {
            return npos;
        }
        for (std::size_t i = home(key);; i = next(i)) {
            const Position position = table_[i];
            if (position == kEmpty) {
                return npos;
            }
            if (identityAt(position) == key) {
                return position;
            }
        }
    }

    // Adds `key`, which is not indexed yet and stands at `position`.
    template <class IdentityAt>
    void insert(const void* key, std::size_t position, const IdentityAt& identityAt) {
        if ((size_ + 1) * 2 > table_.size()) {
            grow(identityAt);
        }
        place(key, position);
        ++size_;
    }

    // Forgets `key`; does nothing when it is absent. Its identity must still stand at its
    // position.
    template <class IdentityAt>
    void erase(const void* key, const IdentityAt& identityAt) noexcept {
        if (table_.empty()) {
            return;
        }
        std::size_t hole = home(key);
        for (;; hole = next(hole)) {
            if (table_[hole] == kEmpty) {
                return;
            }
            if (identityAt(table_[hole]) == key) {
                break;
            }
        }
        // Pull later entries of the same probe run back into the hole, so lookups still find them.
        for (std::size_t i = next(hole); table_[i] != kEmpty; i = next(i)) {
            const std::size_t wanted = home(identityAt(table_[i]));
            const bool canMove =
                hole <= i ? (wanted <= hole || wanted > i) : (wanted <= hole && wanted > i);
            if (canMove) {
                table_[hole] = table_[i];
                hole = i;
            }
        }
        table_[hole] = kEmpty;
        --size_;
    }

    // Indexes anew the identities at positions 0 to `count` - 1, skipping null ones (holes), after
    // the owner moved its entries. Allocates nothing: the table keeps its size.
    template <class IdentityAt>
    void rebuild(std::size_t count, const IdentityAt& identityAt) noexcept {
        table_.assign(table_.size(), kEmpty);
        size_ = 0;
        for (std::size_t position = 0; position < count; ++position) {
            if (const void* key = identityAt(position)) {
                place(key, position);
                ++size_;
            }
        }
    }

    std::size_t size() const noexcept { return size_; }

  private:
    using Position = std::uint32_t;
    static constexpr Position kEmpty = std::numeric_limits<Position>::max();

    std::size_t home(const void* key) const noexcept {
        return static_cast<std::size_t>(identityHash(key) >> shift_);
    }
    std::size_t next(std::size_t i) const noexcept { return (i + 1) & (table_.size() - 1); }

    template <class IdentityAt>
    void grow(const IdentityAt& identityAt) {
        std::vector<Position> old(table_.empty() ? 16 : table_.size() * 2, kEmpty);
        old.swap(table_);
        shift_ = 64;
        for (std::size_t capacity = table_.size(); capacity > 1; capacity /= 2) {
            --shift_;
        }
        for (const Position position : old) {
            if (position != kEmpty) {
                place(identityAt(position), position);
            }
        }
    }

    void place(const void* key, std::size_t position) noexcept {
        std::size_t i = home(key);
        while (table_[i] != kEmpty) {
            i = next(i);
        }
        table_[i] = static_cast<Position>(position);
    }

    std::vector<Position> table_;
    std::size_t size_ = 0;
    unsigned shift_ = 64;
};

}  // namespace kelvane::detail
