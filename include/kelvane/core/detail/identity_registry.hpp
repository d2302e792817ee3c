#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include <kelvane/core/detail/identity_index.hpp>

namespace kelvane::detail {

// Entries in the order they were put, one per identity (the address of an object), found by that
// identity in constant time, in a list that walks read while it changes. The store keeps its
// subscriptions in one, the event centre its handlers and each handler's bound objects.
//
// A walk visits the entries that were there when it began, as they were then: one removed or
// replaced meanwhile is still visited in its old form, one put meanwhile is not. To keep that, the
// first change during a walk that would alter what the walk reads moves on to a copy of the list
// and leaves the walked list to the walks until the last one ends: one copy per walk at most,
// whatever the number of changes. Two changes need no copy: putting a new identity (a walk stops
// at the length it began with; the list moves on to a copy only when it must grow) and dropping a
// dead entry (no walk has a use for it any more).
//
// Outside a walk every change happens in place. A removal leaves a hole; the holes are squeezed
// out in one pass once they outnumber the entries and no walk runs.
//
// An entry's destructor may call back into the registry's owner. So what a change takes out is
// handed back, for the caller to destroy once the registry is consistent again, and the lists that
// walks kept are released only after the last walk has left the registry consistent.
//
// The registry never moves or changes an entry that a walk reads, but to drop a dead one, so a
// walk may hold a pointer to its entry across calls into the owner. An owner that changes an
// entry in place through `find` is seen by the walks that read it.
//
// `Entry` is default-constructible (a hole holds one) and copyable.
template <class Entry>
class IdentityRegistry {
    struct Slot {
        const void* identity = nullptr;  // null: a hole
        Entry entry{};
    };
    using Slots = std::vector<Slot>;

  public:
    IdentityRegistry() = default;
    IdentityRegistry(const IdentityRegistry&) = delete;
    IdentityRegistry& operator=(const IdentityRegistry&) = delete;

    // Reads the list as it was when it began, until it ends.
    class Walk {
      public:
        explicit Walk(IdentityRegistry& registry) noexcept
            : registry_(registry), slots_(registry.slots_.data()), size_(registry.slots_.size()) {
            ++registry_.walks_;
            registry_.currentIsWalked_ = true;
        }
        ~Walk() { registry_.endWalk(); }
        Walk(const Walk&) = delete;
        Walk& operator=(const Walk&) = delete;

        std::size_t size() const noexcept { return size_; }

        // The identity at `i`, or null for a hole.
        const void* identity(std::size_t i) const noexcept { return slots_[i].identity; }

        // The entry at `i`, or null for a hole. It stays valid until the walk ends, unless the
        // entry is dropped as dead meanwhile.
        const Entry* at(std::size_t i) const noexcept {
            return slots_[i].identity != nullptr ? &slots_[i].entry : nullptr;
        }

      private:
        IdentityRegistry& registry_;
        const Slot* slots_;
        std::size_t size_;
    };

    // The entries in order, without holes; valid until the registry changes.
    class View {
      public:
        class iterator {
          public:
            using iterator_category = std::forward_iterator_tag;
            using value_type = Entry;
            using difference_type = std::ptrdiff_t;
            using pointer = const Entry*;
            using reference = const Entry&;

            iterator() = default;
            reference operator*() const noexcept { return at_->entry; }
            pointer operator->() const noexcept { return &at_->entry; }
            iterator& operator++() noexcept {
                at_ = skipHoles(at_ + 1, end_);
                return *this;
            }
            iterator operator++(int) noexcept {
                iterator before = *this;
                ++*this;
                return before;
            }
            friend bool operator==(const iterator& a, const iterator& b) noexcept {
                return a.at_ == b.at_;
            }

          private:
            friend class View;
            iterator(const Slot* at, const Slot* end) noexcept
                : at_(skipHoles(at, end)), end_(end) {}
            static const Slot* skipHoles(const Slot* at, const Slot* end) noexcept {
                while (at != end && at->identity == nullptr) {
                    ++at;
                }
                return at;
            }
            const Slot* at_ = nullptr;
            const Slot* end_ = nullptr;
        };

        iterator begin() const noexcept { return iterator(first_, last_); }
        iterator end() const noexcept { return iterator(last_, last_); }
        std::size_t size() const noexcept { return size_; }
        bool empty() const noexcept { return size_ == 0; }

      private:
        friend class IdentityRegistry;
        View(const Slots& slots, std::size_t size) noexcept
            : first_(slots.data()), last_(slots.data() + slots.size()), size_(size) {}
        const Slot* first_;
        const Slot* last_;
        std::size_t size_;
    };

    View entries() const noexcept { return View(slots_, size()); }
    std::size_t size() const noexcept { return slots_.size() - holes_; }
    bool empty() const noexcept { return size() == 0; }

    // The entry of `identity`, or null. Changing it in place is seen by walks under way; change
    // what they must not see through `put`.
    Entry* find(const void* identity) noexcept {
        const std::size_t position = positionOf(identity);
        return position == IdentityIndex::npos ? nullptr : &slots_[position].entry;
    }
    const Entry* find(const void* identity) const noexcept {
        const std::size_t position = positionOf(identity);
        return position == IdentityIndex::npos ? nullptr : &slots_[position].entry;
    }

    // Puts `entry` last, or in the place of the entry of the same identity and hands that one
    // back.
    std::optional<Entry> put(const void* identity, Entry entry) {
        std::size_t position = positionOf(identity);
        if (position == IdentityIndex::npos) {
            append(identity, std::move(entry));
            return std::nullopt;
        }
        if (currentIsWalked_) {
            moveOn();
            position = positionOf(identity);
        }
        return std::exchange(slots_[position].entry, std::move(entry));
    }

    // Puts `entry` last unless `identity` has an entry already, which stays as it is. Says
    // whether it put it.
    bool add(const void* identity, Entry entry) {
        if (positionOf(identity) != IdentityIndex::npos) {
            return false;
        }
        append(identity, std::move(entry));
        return true;
    }

    // Takes out the entry of `identity` (a walk under way still visits it) and hands it back.
    std::optional<Entry> remove(const void* identity) {
        std::size_t position = positionOf(identity);
        if (position == IdentityIndex::npos) {
            return std::nullopt;
        }
        if (currentIsWalked_) {
            moveOn();
            position = positionOf(identity);
        }
        return takeOut(position);
    }

    // Takes out the entry of `identity` when `isDead(entry)` says no walk has a use for it any
    // more, with no copy, and hands it back.
    template <class IsDead>
    std::optional<Entry> removeDead(const void* identity, IsDead&& isDead) {
        const std::size_t position = positionOf(identity);
        if (position == IdentityIndex::npos || !isDead(std::as_const(slots_[position].entry))) {
            return std::nullopt;
        }
        return takeOut(position);
    }

  private:
    static constexpr std::size_t kMaxSize = std::numeric_limits<std::uint32_t>::max() - 1;

    // How the index reads an identity: where this registry keeps it.
    auto identityAt() const noexcept {
        return [this](std::size_t position) { return slots_[position].identity; };
    }

    std::size_t positionOf(const void* identity) const noexcept {
        return index_.find(identity, identityAt());
    }

    void append(const void* identity, Entry entry) {
        if (slots_.size() >= kMaxSize) {
            throw std::length_error("kelvane: an identity registry holds at most 2^32 - 1 entries");
        }
        if (currentIsWalked_ && slots_.size() == slots_.capacity()) {
            moveOn();  // growing would move the list the walks read
        }
        slots_.push_back(Slot{identity, std::move(entry)});
        try {
            index_.insert(identity, slots_.size() - 1, identityAt());
        } catch (...) {
            slots_.pop_back();
            throw;
        }
    }

    std::optional<Entry> takeOut(std::size_t position) {
        Slot& slot = slots_[position];
        index_.erase(slot.identity, identityAt());
        slot.identity = nullptr;
        std::optional<Entry> taken(std::exchange(slot.entry, Entry{}));
        ++holes_;
        squeezeIfWorthIt();
        return taken;
    }

    // Leaves the walked list to its walks and goes on with a copy without holes. Only the copy can
    // fail; indexing the copy allocates nothing.
    void moveOn() {
        Slots copy;
        copy.reserve(std::max<std::size_t>(2 * size(), 8));
        for (const Slot& slot : slots_) {
            if (slot.identity != nullptr) {
                copy.push_back(slot);
            }
        }
        walkedLists_.push_back(std::move(slots_));  // moving keeps the buffer the walks read
        slots_ = std::move(copy);
        holes_ = 0;
        currentIsWalked_ = false;
        index_.rebuild(slots_.size(), identityAt());
    }

    void endWalk() {
        if (--walks_ != 0) {
            return;
        }
        currentIsWalked_ = false;
        if (holes_ > size()) {
            squeeze();
        }
        if (!walkedLists_.empty()) {
            // Released last: an entry's destructor may call the owner, which is consistent now.
            const std::vector<Slots> released = std::exchange(walkedLists_, {});
        }
    }

    // Squeezes the holes out in one pass once they outnumber the entries and no walk runs.
    void squeezeIfWorthIt() noexcept {
        if (walks_ == 0 && holes_ > size()) {
            squeeze();
        }
    }

    void squeeze() noexcept {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < slots_.size(); ++i) {
            if (slots_[i].identity == nullptr) {
                continue;
            }
            if (kept != i) {
                slots_[kept] = std::move(slots_[i]);
            }
            ++kept;
        }
        slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(kept), slots_.end());
        holes_ = 0;
        index_.rebuild(slots_.size(), identityAt());
    }

    Slots slots_;
    IdentityIndex index_;
    std::size_t holes_ = 0;
    // Walks under way; whether one of them reads `slots_` (rather than a list moved on from).
    std::size_t walks_ = 0;
    bool currentIsWalked_ = false;
    std::vector<Slots> walkedLists_;
};

}  // namespace kelvane::detail
