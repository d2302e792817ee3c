#include <kelvane/state/test_actions.hpp>

#include "state/reducers.hpp"
#include "state/state_access.hpp"

namespace kelvane {

using detail::actionAs;
using detail::ActionKind;
using detail::StateAccess;

void detail::reduceUITest(ActionKind kind, const Action& action, UITestState& state) {
    switch (kind) {
        case ActionKind::UITestAddTestEntry:
            if (const auto& entry = actionAs<UITestAddTestEntry>(action).testEntry) {
                StateAccess::allTestEntriesToChange(state).emplace_back(entry);
            }
            break;
        case ActionKind::UITestOpenTestEntry:
            StateAccess::lastActiavedTestEntry(state) =
                actionAs<UITestOpenTestEntry>(action).testEntry;
            break;
        default:
            break;
    }
}

UITestState uiTestReducer(const Action& action, const std::optional<UITestState>& state) {
    UITestState next = state ? *state : StateAccess::initial<UITestState>();
    detail::reduceUITest(detail::actionKind(action), action, next);
    return next;
}

}  // namespace kelvane
