#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include <kelvane/store/detail/identity_index.hpp>

namespace kelvane::detail {

// A store's subscription boxes in insertion order, one per subscriber identity (the box's
// `objectIdentifier`), with an index from identity to position.
//
// Outside a delivery every change happens in place: adding, replacing (the new box takes the old
// one's place) and removing (the slot is emptied) take amortised constant time, and empty slots
// are squeezed out in one pass once they outnumber the boxes. A delivery walks a `Snapshot`; while
// one is walking, a replacement or removal first copies the list (copy on write), so the walk
// still visits what it started with. Two changes need no copy even then: adding a new identity
// (a walk stops at the length it started with) and dropping a box whose subscriber is gone (no
// walk could deliver to it any more).
template <class Box>
class SubscriptionList {
  public:
    using Boxes = std::vector<std::shared_ptr<Box>>;

    // What one delivery walks: the list as it was when the walk began, kept alive by the walk.
    class Snapshot {
      public:
        explicit Snapshot(std::shared_ptr<Boxes> boxes)
            : boxes_(std::move(boxes)), size_(boxes_->size()) {}
        std::size_t size() const noexcept { return size_; }
        // The box at `i`, or null for an emptied slot. Read it again after any call that may
        // change the list: adding a box may move the slots.
        Box* at(std::size_t i) const noexcept { return (*boxes_)[i].get(); }

      private:
        std::shared_ptr<Boxes> boxes_;
        std::size_t size_;
    };

    Snapshot snapshot() const { return Snapshot(boxes_); }

    // Adds `box`, or puts it in the place of the box of the same identity and returns that one
    // (for the caller to drop once the list is consistent again).
    std::shared_ptr<Box> put(std::shared_ptr<Box> box) {
        const void* identity = box->objectIdentifier;
        std::size_t position = index_.find(identity);
        if (position == IdentityIndex::npos) {
            boxes_->push_back(box);
            try {
                index_.set(identity, boxes_->size() - 1);
            } catch (...) {
                boxes_->pop_back();
                throw;
            }
            return nullptr;
        }
        if (walked()) {
            copyForWrite();
            position = index_.find(identity);
        }
        return std::exchange((*boxes_)[position], std::move(box));
    }

    // The box listed for `identity`, or null.
    Box* find(const void* identity) const noexcept {
        const std::size_t position = index_.find(identity);
        return position == IdentityIndex::npos ? nullptr : (*boxes_)[position].get();
    }

    // Takes out the box listed for `identity` (a walk in progress still visits it) and returns it.
    std::shared_ptr<Box> remove(const void* identity) {
        if (index_.find(identity) == IdentityIndex::npos) {
            return nullptr;
        }
        if (walked()) {
            copyForWrite();
        }
        return takeOut(index_.find(identity));
    }

    // Takes out `box` when it is still listed (not replaced meanwhile): for a box whose subscriber
    // is gone, found by a delivery. No copy: no walk can deliver to it any more.
    std::shared_ptr<Box> removeGone(const Box* box) {
        const std::size_t position = index_.find(box->objectIdentifier);
        if (position == IdentityIndex::npos || (*boxes_)[position].get() != box) {
            return nullptr;
        }
        return takeOut(position);
    }

    // Squeezes out empty slots once they outnumber the boxes and no walk is running.
    void tidy() {
        if (holes_ * 2 > boxes_->size() && !walked()) {
            compact();
        }
    }

    // The boxes in order, without empty slots.
    const Boxes& boxes() {
        if (holes_ > 0) {
            if (walked()) {
                copyForWrite();
            } else {
                compact();
            }
        }
        return *boxes_;
    }

  private:
    bool walked() const noexcept { return boxes_.use_count() > 1; }

    std::shared_ptr<Box> takeOut(std::size_t position) {
        auto box = std::move((*boxes_)[position]);
        index_.erase(box->objectIdentifier);
        ++holes_;
        tidy();
        return box;
    }

    // Leaves the walked list to its walks and continues on a copy without empty slots. Only the
    // copy can fail; updating the positions of known identities allocates nothing.
    void copyForWrite() {
        auto copy = std::make_shared<Boxes>();
        copy->reserve(boxes_->size() - holes_);
        for (const auto& box : *boxes_) {
            if (box) {
                copy->push_back(box);
            }
        }
        for (std::size_t i = 0; i < copy->size(); ++i) {
            index_.set((*copy)[i]->objectIdentifier, i);
        }
        boxes_ = std::move(copy);
        holes_ = 0;
    }

    void compact() {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < boxes_->size(); ++i) {
            auto& box = (*boxes_)[i];
            if (!box) {
                continue;
            }
            if (kept != i) {
                index_.set(box->objectIdentifier, kept);
                (*boxes_)[kept] = std::move(box);
            }
            ++kept;
        }
        boxes_->resize(kept);
        holes_ = 0;
    }

    std::shared_ptr<Boxes> boxes_ = std::make_shared<Boxes>();
    IdentityIndex index_;
    std::size_t holes_ = 0;
};

}  // namespace kelvane::detail
