#pragma once

// A process-wide instance made on first use and replaceable afterwards: the shared event centre,
// the shared component registry, the framework's bundle.

#include <functional>
#include <mutex>
#include <optional>
#include <utility>

#include <kelvane/core/ref.hpp>

namespace kelvane::detail {

/// Holds the instance behind a lock, so first uses that race make it once and reads never see a
/// half-made replacement. Readers get their own reference: an instance replaced meanwhile stays
/// alive for as long as they hold it. Meant to be kept in a never-destroyed static
/// (`platform::detail::NeverDestroyed`), so that code running at exit still finds it.
template <class T>
class SharedInstance {
  public:
    explicit SharedInstance(std::function<Ref<T>()> make) : make_(std::move(make)) {}

    Ref<T> get() {
        const std::lock_guard lock(mutex_);
        if (!instance_) {
            instance_.emplace(make_());
        }
        return *instance_;
    }

    void set(Ref<T> instance) {
        std::optional<Ref<T>> previous;  // released after the lock, since its end may call back
        const std::lock_guard lock(mutex_);
        previous = std::exchange(instance_, std::move(instance));
    }

  private:
    std::mutex mutex_;
    std::function<Ref<T>()> make_;
    std::optional<Ref<T>> instance_;
};

}  // namespace kelvane::detail
