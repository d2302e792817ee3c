#pragma once

// Actions of the test value and of the developer test catalogue. Like every action of the
// application state they take effect only when dispatched to the store (`store()->dispatch`), and
// print in the dispatch log line as `TypeName(field: value, ...)`.

#include <cstdint>
#include <memory>
#include <string_view>

#include <kelvane/core/printed.hpp>
#include <kelvane/core/ref.hpp>
#include <kelvane/state/ui_test_entry.hpp>
#include <kelvane/store/action.hpp>

#include <boost/describe/class.hpp>

namespace kelvane {

namespace detail {
struct StateAccess;
}  // namespace detail

/// Leaves the test value as it is.
struct TestAction final : ActionRecord<TestAction> {};
KELVANE_RECORD(TestAction, ())

/// Matched by no reducer: changes nothing, though the store still makes and delivers a new state.
struct TestAction1 final : ActionRecord<TestAction1> {};
KELVANE_RECORD(TestAction1, ())

/// Sets the test value (`VelmoraState::testVal`) to `newVal`, which only the framework can read.
class UpdateTestNumber final : public ActionRecord<UpdateTestNumber> {
  public:
    explicit UpdateTestNumber(std::int64_t newVal) : newVal(newVal) {}

  private:
    friend struct detail::StateAccess;

    std::int64_t newVal;

    // Described from inside, since the field is private.
    BOOST_DESCRIBE_CLASS(UpdateTestNumber, (), (), (), (newVal))
    friend constexpr std::string_view kelvaneRecordName(const UpdateTestNumber*) noexcept {
        return "UpdateTestNumber";
    }
};

/// Appends `testEntry` to the catalogue (duplicates too). Made with an entry; when the field is
/// later set to null, the action is ignored.
struct UITestAddTestEntry final : ActionRecord<UITestAddTestEntry> {
    explicit UITestAddTestEntry(Ref<UITestEntry> testEntry) : testEntry(std::move(testEntry)) {}
    std::shared_ptr<UITestEntry> testEntry;
};
KELVANE_RECORD(UITestAddTestEntry, (testEntry))

/// Makes `testEntry` the last opened entry; a null field clears it.
struct UITestOpenTestEntry final : ActionRecord<UITestOpenTestEntry> {
    explicit UITestOpenTestEntry(Ref<UITestEntry> testEntry) : testEntry(std::move(testEntry)) {}
    std::shared_ptr<UITestEntry> testEntry;
};
KELVANE_RECORD(UITestOpenTestEntry, (testEntry))

}  // namespace kelvane
