#pragma once

#include <mutex>
#include <shared_mutex>
#include <utility>

#include <kelvane/store/detail/reader_writer_lock.hpp>

namespace kelvane {

/// A value guarded by its own reader-writer lock: reads may run side by side, a write runs alone.
/// Every cell has its own lock, so cells never wait for each other. A test-and-set must happen
/// inside one `write`, since a `read` followed by a `write` are two separate sections.
template <class Value>
class Synchronized {
  public:
    explicit Synchronized(Value value) : value_(std::move(value)) {}
    Synchronized(const Synchronized&) = delete;
    Synchronized& operator=(const Synchronized&) = delete;

    /// A copy of the value, read under shared access.
    Value read() const {
        const std::shared_lock lock(mutex_);
        return value_;
    }

    /// Runs `change(Value&)` under exclusive access; returns when the change is done.
    template <class Change>
    void write(Change&& change) {
        const std::lock_guard lock(mutex_);
        std::forward<Change>(change)(value_);
    }

  private:
    mutable detail::ReaderWriterLock mutex_;
    Value value_;
};

}  // namespace kelvane
