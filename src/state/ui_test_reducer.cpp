#include <kelvane/state/test_actions.hpp>

#include "state/reducers.hpp"
#include "state/state_access.hpp"

namespace kelvane {

using detail::StateAccess;

UITestState detail::nextUITestState(const Action& action, UITestState state) {
    if (const auto* add = dynamic_cast<const UITestAddTestEntry*>(&action)) {
        if (add->testEntry) {
            StateAccess::allTestEntries(state).emplace_back(add->testEntry);
        }
    } else if (const auto* open = dynamic_cast<const UITestOpenTestEntry*>(&action)) {
        StateAccess::lastActiavedTestEntry(state) = open->testEntry;
    }
    return state;
}

UITestState uiTestReducer(const Action& action, const std::optional<UITestState>& state) {
    return detail::nextUITestState(action, state ? *state : StateAccess::initial<UITestState>());
}

}  // namespace kelvane
