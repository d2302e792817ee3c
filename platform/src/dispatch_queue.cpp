#include <utility>

#include <kelvane/platform/detail/never_destroyed.hpp>
#include <kelvane/platform/dispatch_queue.hpp>

namespace kelvane::platform {

DispatchQueue& DispatchQueue::main() {
    // Never destroyed: screens still alive at exit queue their work here too.
    static detail::NeverDestroyed<DispatchQueue> queue;
    return *queue;
}

void DispatchQueue::async(Block block) {
    if (!block) {
        return;
    }
    const std::lock_guard lock(mutex_);
    blocks_.push_back(std::move(block));
}

std::size_t DispatchQueue::drain() {
    std::size_t ran = 0;
    for (;;) {
        Block next;
        {
            const std::lock_guard lock(mutex_);
            if (blocks_.empty()) {
                return ran;
            }
            next = std::move(blocks_.front());
            blocks_.pop_front();
        }
        // Run outside the lock, so that a block may enqueue more.
        next();
        ++ran;
    }
}

std::size_t DispatchQueue::pending() const {
    const std::lock_guard lock(mutex_);
    return blocks_.size();
}

}  // namespace kelvane::platform
