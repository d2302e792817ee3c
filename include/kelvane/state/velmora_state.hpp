#pragma once

#include <cstdint>

#include <kelvane/store/state_type.hpp>

namespace kelvane {

namespace detail {
struct StateAccess;
}  // namespace detail

/// The test value of the application state. Like every state record it is a value that only the
/// store's reducers make or change: other code reads it through the store (`store()->state()`)
/// or the states delivered to subscribers, and may copy it freely.
class VelmoraState final : public StateType {
  public:
    /// 100 at first; set by `UpdateTestNumber`.
    std::int64_t testVal() const noexcept { return testVal_; }

    /// Equal when the two `testVal` are equal.
    friend bool operator==(const VelmoraState& a, const VelmoraState& b) noexcept {
        return a.testVal_ == b.testVal_;
    }

  private:
    friend struct detail::StateAccess;
    VelmoraState() = default;

    std::int64_t testVal_ = 100;
};

}  // namespace kelvane
