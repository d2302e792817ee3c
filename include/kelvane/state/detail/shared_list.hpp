#pragma once

#include <memory>
#include <utility>
#include <vector>

#include <kelvane/platform/detail/never_destroyed.hpp>

namespace kelvane::detail {

/// A list held by a state record that the record's copies share until one of them changes it:
/// every new state copies its records, and this way that costs a reference count, not the
/// elements. A shared list is never changed; `toChange` gives the record a list of its own first.
/// So each record keeps its own contents, as a plain vector would, and copies on different
/// threads never write to the same list.
template <class Element>
class SharedList {
  public:
    using List = std::vector<Element>;

    const List& view() const noexcept { return list_ ? *list_ : empty(); }

    /// A list of this record's own, with the same elements, to change in place.
    List& toChange() {
        auto own = list_ ? std::make_shared<List>(*list_) : std::make_shared<List>();
        List& list = *own;
        list_ = std::move(own);
        return list;
    }

  private:
    // Never destroyed: reducers may run at exit too.
    static const List& empty() noexcept {
        static const platform::detail::NeverDestroyed<List> none;
        return *none;
    }

    std::shared_ptr<const List> list_;  // null: empty
};

}  // namespace kelvane::detail
