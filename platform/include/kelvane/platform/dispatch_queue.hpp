#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace kelvane::platform {

/// The main queue: a serial queue of blocks that the host application drains from its main loop
/// (tests drain it explicitly). Blocks run in the order they were enqueued, on the draining thread.
class DispatchQueue {
  public:
    using Block = std::function<void()>;

    /// The one main queue of the process. Never destroyed, so code running at exit (a static
    /// destructor) may still enqueue and drain; blocks left in it at exit are neither run nor
    /// destroyed.
    static DispatchQueue& main();

    DispatchQueue() = default;
    DispatchQueue(const DispatchQueue&) = delete;
    DispatchQueue& operator=(const DispatchQueue&) = delete;

    /// Enqueues `block` to run later; never runs it at once, also when called while draining.
    /// Safe from any thread. An empty block is ignored.
    void async(Block block);

    /// Runs the enqueued blocks, oldest first, until the queue is empty, including blocks that
    /// those blocks enqueue. Returns how many ran. Call it from one thread at a time.
    std::size_t drain();

    /// Blocks waiting to run.
    std::size_t pending() const;

  private:
    mutable std::mutex mutex_;
    std::deque<Block> blocks_;
};

}  // namespace kelvane::platform
