#include <kelvane/state/test_actions.hpp>

#include "state/reducers.hpp"
#include "state/state_access.hpp"

namespace kelvane {

using detail::ActionKind;
using detail::StateAccess;

AppState appReducer(const Action& action, const std::optional<AppState>& state) {
    AppState next = state ? *state : StateAccess::initialAppState();
    const ActionKind kind = detail::actionKind(action);
    // TestAction leaves the test value as it is, as does every other action.
    if (kind == ActionKind::UpdateTestNumber) {
        StateAccess::testVal(StateAccess::velmoraState(next)) =
            StateAccess::newVal(detail::actionAs<UpdateTestNumber>(action));
    }
    detail::reduceUITest(kind, action, StateAccess::uiTestState(next));
    detail::reduceFolder(kind, action, StateAccess::folderState(next));
    detail::reduceRecording(kind, action, StateAccess::recording(next));
    return next;
}

}  // namespace kelvane
