#pragma once

#include <concepts>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <ranges>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include <kelvane/core/ref.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane {

namespace detail {
struct ModelAccess;
}  // namespace detail

/// What a TArray can hold: objects (compared by `Object::isEqual`, which is identity unless the
/// class says otherwise) or values with `==`.
template <class T>
concept TArrayElementType = std::is_base_of_v<Object, T> || std::equality_comparable<T>;

/// One slot of a `TArray<T>`, which may be absent: a `std::shared_ptr<T>` for objects (null is
/// absent), a `std::optional<T>` for values.
template <class T>
using TArrayElement =
    std::conditional_t<std::is_base_of_v<Object, T>, std::shared_ptr<T>, std::optional<T>>;

/// A shared, growable list of elements that may be absent, whose equality is its identity.
///
/// Each list makes its own token object when it is constructed and keeps it for life; `==` is
/// true only when both sides hold the same token, so a list equals itself after any change and
/// never equals another list, whatever the elements. The list is a reference object: share it
/// through `std::shared_ptr` (it can be neither copied nor moved). Lists handed in are copied;
/// elements are held strongly.
///
/// Indexes are signed. Reading outside 0 to `count() - 1` yields an absent element; `insert` with
/// an index outside 0 to `count()` and `remove` with one outside 0 to `count() - 1` change
/// nothing. Not synchronised: keep a list on one thread.
template <TArrayElementType T>
class TArray {
  public:
    using Element = TArrayElement<T>;

    /// An empty list.
    TArray() = default;

    /// A list of the elements of `from`, in order; later changes to `from` do not reach it.
    template <std::ranges::input_range Range>
    requires std::convertible_to<std::ranges::range_reference_t<const Range&>, Element>
    explicit TArray(const Range& from) { appendFromArray(from); }

    TArray(const TArray&) = delete;
    TArray& operator=(const TArray&) = delete;

    /// The element at `index`; absent for every index outside 0 to `count() - 1`.
    Element operator[](std::int64_t index) const {
        if (index < 0 || index >= count()) {
            return Element{};
        }
        return items_[static_cast<std::size_t>(index)];
    }

    /// The number of elements, absent ones included.
    std::int64_t count() const noexcept { return static_cast<std::int64_t>(items_.size()); }

    /// Adds `element` (present or absent) after the last one.
    void append(Element element) { items_.push_back(std::move(element)); }

    /// Removes every element and releases the storage too.
    void removeAll() noexcept { std::vector<Element>().swap(items_); }

    /// Adds the elements of `from` after the last one, in order. `from` may be this list's own
    /// contents: it is copied before anything is added.
    template <std::ranges::input_range Range>
    requires std::convertible_to<std::ranges::range_reference_t<const Range&>, Element>
    void appendFromArray(const Range& from) {
        std::vector<Element> copy;
        for (auto&& element : from) {
            copy.emplace_back(element);
        }
        items_.insert(items_.end(), std::make_move_iterator(copy.begin()),
                      std::make_move_iterator(copy.end()));
    }

    /// Inserts `element` so that it gets index `at`; the elements from `at` on move up by one, and
    /// `at == count()` appends. An index outside 0 to `count()` changes nothing.
    void insert(Element element, std::int64_t at) {
        if (at < 0 || at > count()) {
            return;
        }
        items_.insert(items_.begin() + at, std::move(element));
    }

    /// The lowest index whose element equals `of`, or absent. An absent `of` finds the first
    /// absent element; a present one is never equal to an absent element.
    std::optional<std::int64_t> firstIndex(const Element& of) const {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (same(items_[i], of)) {
                return static_cast<std::int64_t>(i);
            }
        }
        return std::nullopt;
    }

    /// Removes the element at `at`, dropping it; later elements move down by one. An index
    /// outside 0 to `count() - 1` changes nothing.
    void remove(std::int64_t at) {
        if (at < 0 || at >= count()) {
            return;
        }
        items_.erase(items_.begin() + at);
    }

    /// Identity: true only when `a` and `b` are the same list. Elements are never compared.
    friend bool operator==(const TArray& a, const TArray& b) noexcept {
        return a.token_->isEqual(b.token_.get());
    }

  private:
    friend struct detail::ModelAccess;

    static bool same(const Element& element, const Element& of) {
        if (!element || !of) {
            return !element && !of;
        }
        if constexpr (std::is_base_of_v<Object, T>) {
            return element->isEqual(of.get());
        } else {
            return *element == *of;
        }
    }

    std::vector<Element> items_;
    const Ref<const Object> token_ = makeRef<const Object>();
};

/// Printed form: the module-qualified class name with its element type, for example
/// `Kelvane.TArray<Kelvane.Folder>`; the elements are not shown.
template <class T>
void printTo(std::string& out, const TArray<T>&) {
    out += qualifiedTypeName(typeid(TArray<T>));
}

}  // namespace kelvane
