#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <kelvane/core/ref.hpp>
#include <kelvane/state/detail/shared_list.hpp>
#include <kelvane/state/ui_test_entry.hpp>
#include <kelvane/store/state_type.hpp>

namespace kelvane {

namespace detail {
struct StateAccess;
}  // namespace detail

/// The developer test catalogue. A value made and changed only by the store's reducers (see
/// VelmoraState); the entries are shared objects.
class UITestState final : public StateType {
  public:
    /// The entries in the order they were added (`UITestAddTestEntry`), duplicates included. The
    /// record's own list, valid while the record lives.
    const std::vector<Ref<UITestEntry>>& allTestEntries() const noexcept {
        return allTestEntries_.view();
    }
    /// The entry opened last (`UITestOpenTestEntry`); null when none is.
    const std::shared_ptr<UITestEntry>& lastActiavedTestEntry() const noexcept {
        return lastActiavedTestEntry_;
    }
    /// 100; no action changes it.
    std::int64_t testNumber() const noexcept { return testNumber_; }

    /// Equal when both hold the same entry objects in the same order, the same last opened entry
    /// (or none) and the same `testNumber`. Entries compare by identity, never by content.
    friend bool operator==(const UITestState& a, const UITestState& b) noexcept;

  private:
    friend struct detail::StateAccess;
    UITestState() = default;

    detail::SharedList<Ref<UITestEntry>> allTestEntries_;
    std::shared_ptr<UITestEntry> lastActiavedTestEntry_;
    std::int64_t testNumber_ = 100;
};

}  // namespace kelvane
