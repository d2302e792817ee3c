#pragma once

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
// identity in constant time, and walked while they change. The store keeps its subscriptions in
// one, the event centre its handlers and each handler's bound objects.
//
// The rule: a list that a walk reads never changes. A walk holds the list it begins with; a change
// made while a walk holds the current list goes to a copy of it, which becomes the current list.
// A list dies with its last holder: the registry while the list is current, and each walk that
// reads it. So
// - a walk visits exactly the entries that were there when it began, as they were then: one
//   removed or replaced meanwhile is still visited in its old form, one put meanwhile is not;
// - the lists alive are the current one and at most one per walk under way;
// - a walk costs at most one copy, of its own list, made by the first change after it began:
//   after that the current list is another one, which later changes alter in place until a walk
//   holds it in turn. So however the changes and walks nest, the copies cost no more than the
//   walks themselves, and add, put and remove take amortised constant time.
//
// A removal leaves a hole; the holes are squeezed out in one pass once they outnumber the entries.
//
// An entry's destructor may call back into the registry's owner. So what a change takes out is
// handed back, for the caller to destroy once the registry is consistent again; and the list a
// walk held dies at that walk's end, outside any change.
//
// `Entry` is default-constructible (a hole holds one) and copyable.
template <class Entry>
class IdentityRegistry {
    struct Slot {
        const void* identity = nullptr;  // null: a hole
        Entry entry{};
    };
    using Slots = std::vector<Slot>;

    // One version of the list, with the count of its holders.
    struct List {
        Slots slots;
        std::size_t holders = 1;
    };

    static void hold(List* list) noexcept {
        if (list != nullptr) {
            ++list->holders;
        }
    }
    static void release(List* list) noexcept {
        if (list != nullptr && --list->holders == 0) {
            delete list;
        }
    }

  public:
    IdentityRegistry() = default;
    ~IdentityRegistry() { release(list_); }
    IdentityRegistry(const IdentityRegistry&) = delete;
    IdentityRegistry& operator=(const IdentityRegistry&) = delete;

    // Holds the current list, as it is now, until the walk ends; the registry may change or go
    // meanwhile.
    class Walk {
      public:
        explicit Walk(IdentityRegistry& registry) noexcept
            : list_(registry.list_),
              slots_(list_ != nullptr ? list_->slots.data() : nullptr),
              size_(list_ != nullptr ? list_->slots.size() : 0) {
            hold(list_);
        }
        ~Walk() { release(list_); }
        Walk(const Walk&) = delete;
        Walk& operator=(const Walk&) = delete;

        std::size_t size() const noexcept { return size_; }

        // The identity at `i`, or null for a hole.
        const void* identity(std::size_t i) const noexcept { return slots_[i].identity; }

        // The entry at `i`, or null for a hole; valid until the walk ends.
        const Entry* at(std::size_t i) const noexcept {
            return slots_[i].identity != nullptr ? &slots_[i].entry : nullptr;
        }

      private:
        List* const list_;
        // Where the list keeps its slots, read once: a list that a walk holds never changes.
        const Slot* const slots_;
        const std::size_t size_;
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
        View(const Slot* first, const Slot* last, std::size_t size) noexcept
            : first_(first), last_(last), size_(size) {}
        const Slot* first_;
        const Slot* last_;
        std::size_t size_;
    };

    View entries() const noexcept {
        if (list_ == nullptr) {
            return View(nullptr, nullptr, 0);
        }
        const Slot* first = list_->slots.data();
        return View(first, first + list_->slots.size(), size());
    }
    std::size_t size() const noexcept {
        return list_ != nullptr ? list_->slots.size() - holes_ : 0;
    }
    bool empty() const noexcept { return size() == 0; }

    // The entry of `identity`, or null; valid until the registry changes.
    const Entry* find(const void* identity) const noexcept {
        const std::size_t position = positionOf(identity);
        return position == IdentityIndex::npos ? nullptr : &list_->slots[position].entry;
    }

    // Puts `entry` last, or in the place of the entry of the same identity and hands that one
    // back.
    std::optional<Entry> put(const void* identity, Entry entry) {
        if (positionOf(identity) == IdentityIndex::npos) {
            append(identity, std::move(entry));
            return std::nullopt;
        }
        Slots& slots = writable();  // may move the entries: find the position afterwards
        return std::exchange(slots[positionOf(identity)].entry, std::move(entry));
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

    // Takes out the entry of `identity` and hands it back.
    std::optional<Entry> remove(const void* identity) {
        if (positionOf(identity) == IdentityIndex::npos) {
            return std::nullopt;
        }
        Slots& slots = writable();  // may move the entries: find the position afterwards
        Slot& slot = slots[positionOf(identity)];
        index_.erase(identity, identityAt());
        slot.identity = nullptr;
        std::optional<Entry> taken(std::exchange(slot.entry, Entry{}));
        ++holes_;
        if (holes_ > size()) {
            squeeze();
        }
        return taken;
    }

  private:
    static constexpr std::size_t kMaxSize = std::numeric_limits<std::uint32_t>::max() - 1;

    // How the index reads an identity: where the current list keeps it.
    auto identityAt() const noexcept {
        return [this](std::size_t position) { return list_->slots[position].identity; };
    }

    std::size_t positionOf(const void* identity) const noexcept {
        return index_.find(identity, identityAt());
    }

    // The current list, for a change: a copy of it when a walk holds it. Only making the copy can
    // fail, and then nothing has changed; indexing the copy allocates nothing.
    Slots& writable() {
        if (list_ == nullptr) {
            list_ = new List;
        } else if (list_->holders > 1) {
            List* const copy = new List;
            try {
                copy->slots.reserve(size() + 1);
                for (const Slot& slot : list_->slots) {
                    if (slot.identity != nullptr) {
                        copy->slots.push_back(slot);
                    }
                }
            } catch (...) {
                delete copy;
                throw;
            }
            release(std::exchange(list_, copy));  // never the last holder: a walk holds it
            holes_ = 0;
            index_.rebuild(list_->slots.size(), identityAt());
        }
        return list_->slots;
    }

    void append(const void* identity, Entry entry) {
        Slots& slots = writable();
        if (slots.size() >= kMaxSize) {
            throw std::length_error("kelvane: an identity registry holds at most 2^32 - 1 entries");
        }
        slots.push_back(Slot{identity, std::move(entry)});
        try {
            index_.insert(identity, slots.size() - 1, identityAt());
        } catch (...) {
            slots.pop_back();
            throw;
        }
    }

    // Squeezes the holes out of the current list, which no walk holds, in one pass.
    void squeeze() noexcept {
        Slots& slots = list_->slots;
        std::size_t kept = 0;
        for (std::size_t i = 0; i < slots.size(); ++i) {
            if (slots[i].identity == nullptr) {
                continue;
            }
            if (kept != i) {
                slots[kept] = std::move(slots[i]);
            }
            ++kept;
        }
        slots.erase(slots.begin() + static_cast<std::ptrdiff_t>(kept), slots.end());
        holes_ = 0;
        index_.rebuild(slots.size(), identityAt());
    }

    // The current list; null until the first entry is put.
    List* list_ = nullptr;
    IdentityIndex index_;
    std::size_t holes_ = 0;
};

}  // namespace kelvane::detail
