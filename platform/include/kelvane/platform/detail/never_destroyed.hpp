#pragma once

#include <new>
#include <utility>

namespace kelvane::platform::detail {

/// A `T` made in place and never destroyed, for the process-wide statics that code running at exit
/// may still use: a static destructor runs after the destructors of every static made after its
/// object, so anything it reaches must not be torn down. This holder's own destructor is trivial;
/// what the `T` owns stays reachable through it, so leak checkers count none of it as lost.
///
/// Kept in a function-local static, it is made once on first use, also when threads race:
///
///     Cache& cache() {
///         static NeverDestroyed<Cache> cache;  // never destroyed: used at exit too
///         return *cache;
///     }
template <class T>
class NeverDestroyed {
  public:
    template <class... Args>
    explicit NeverDestroyed(Args&&... args) {
        ::new (static_cast<void*>(storage_)) T(std::forward<Args>(args)...);
    }

    NeverDestroyed(const NeverDestroyed&) = delete;
    NeverDestroyed& operator=(const NeverDestroyed&) = delete;
    ~NeverDestroyed() = default;

    T& operator*() noexcept { return *get(); }
    const T& operator*() const noexcept { return *get(); }
    T* operator->() noexcept { return get(); }
    const T* operator->() const noexcept { return get(); }

  private:
    T* get() noexcept { return std::launder(reinterpret_cast<T*>(storage_)); }
    const T* get() const noexcept { return std::launder(reinterpret_cast<const T*>(storage_)); }

    alignas(T) unsigned char storage_[sizeof(T)];
};

}  // namespace kelvane::platform::detail
