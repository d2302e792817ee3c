#pragma once

#include <concepts>
#include <memory>
#include <source_location>

#include <kelvane/store/assertions.hpp>

namespace kelvane {

/// A shared reference that is never null: the type of record fields and list elements that always
/// hold an object (where `std::shared_ptr<T>` is one that may be absent).
///
/// It converts to and from `std::shared_ptr<T>`. Making one from a null pointer is a programming
/// error and halts through the fatal-error hook (see Assertions). A moved-from `Ref` still holds
/// its object: `Ref` has no empty state.
template <class T>
class Ref {
  public:
    using element_type = T;

    template <class U>
    requires std::convertible_to<U*, T*> Ref(
        std::shared_ptr<U>
            pointer,  // NOLINT(google-explicit-constructor): converts like shared_ptr
        std::source_location location = std::source_location::current())
        : pointer_(std::move(pointer)) {
        if (!pointer_) {
            haltWithFatalError("Kelvane.Ref made from a null pointer", location);
        }
    }

    template <class U>
    requires std::convertible_to<U*, T*> Ref(
        const Ref<U>& other)  // NOLINT(google-explicit-constructor)
        : pointer_(other.shared()) {}

    Ref(const Ref&) = default;
    Ref& operator=(const Ref&) = default;
    // Copies on move, so that no Ref is ever left empty.
    Ref(Ref&& other) noexcept : pointer_(other.pointer_) {}
    Ref& operator=(Ref&& other) noexcept {
        pointer_ = other.pointer_;
        return *this;
    }

    T* get() const noexcept { return pointer_.get(); }
    T* operator->() const noexcept { return pointer_.get(); }
    T& operator*() const noexcept { return *pointer_; }
    const std::shared_ptr<T>& shared() const noexcept { return pointer_; }
    operator std::shared_ptr<T>() const noexcept { return pointer_; }  // NOLINT

    /// Identity: equal when both refer to the same object.
    template <class U>
    friend bool operator==(const Ref& a, const Ref<U>& b) noexcept {
        return a.get() == b.get();
    }
    template <class U>
    friend bool operator==(const Ref& a, const std::shared_ptr<U>& b) noexcept {
        return a.get() == b.get();
    }

  private:
    std::shared_ptr<T> pointer_;
};

template <class T, class... Args>
Ref<T> makeRef(Args&&... args) {
    return Ref<T>(std::make_shared<T>(std::forward<Args>(args)...));
}

}  // namespace kelvane
