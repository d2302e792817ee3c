#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

namespace kelvane::detail {

// A reader-writer lock in one word: shared holders count up from zero, an exclusive holder sets
// the top bit. An uncontended exclusive section is one compare-exchange and one store, several
// times cheaper than std::shared_mutex. Waiters spin briefly, then yield: the sections it guards
// are short.
class ReaderWriterLock {
  public:
    void lock() noexcept {
        std::uint32_t expected = 0;
        while (!state_.compare_exchange_weak(expected, kWriter, std::memory_order_acquire,
                                             std::memory_order_relaxed)) {
            expected = 0;
            backOff();
        }
    }

    void unlock() noexcept { state_.store(0, std::memory_order_release); }

    void lock_shared() noexcept {
        std::uint32_t current = state_.load(std::memory_order_relaxed);
        for (;;) {
            if ((current & kWriter) == 0 &&
                state_.compare_exchange_weak(current, current + 1, std::memory_order_acquire,
                                             std::memory_order_relaxed)) {
                return;
            }
            if ((current & kWriter) != 0) {
                backOff();
                current = state_.load(std::memory_order_relaxed);
            }
        }
    }

    void unlock_shared() noexcept { state_.fetch_sub(1, std::memory_order_release); }

  private:
    static constexpr std::uint32_t kWriter = 1U << 31;

    void backOff() noexcept {
        if (++spins_ % 64 == 0) {
            std::this_thread::yield();
        }
    }

    std::atomic<std::uint32_t> state_{0};
    static thread_local inline std::uint32_t spins_ = 0;
};

}  // namespace kelvane::detail
