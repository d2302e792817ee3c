#include <algorithm>

#include <kelvane/state/ui_test_state.hpp>

namespace kelvane {

bool operator==(const UITestState& a, const UITestState& b) noexcept {
    const auto sameEntry = [](const Ref<UITestEntry>& x, const Ref<UITestEntry>& y) {
        return x->isEqual(y.get());
    };
    const auto& last = a.lastActiavedTestEntry_;
    const auto& otherLast = b.lastActiavedTestEntry_;
    const auto& entries = a.allTestEntries_.view();
    const auto& otherEntries = b.allTestEntries_.view();
    return std::equal(entries.begin(), entries.end(), otherEntries.begin(), otherEntries.end(),
                      sameEntry) &&
           (last && otherLast ? last->isEqual(otherLast.get()) : !last && !otherLast) &&
           a.testNumber_ == b.testNumber_;
}

}  // namespace kelvane
