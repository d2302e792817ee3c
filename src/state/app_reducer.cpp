#include <kelvane/state/test_actions.hpp>

#include "state/reducers.hpp"
#include "state/state_access.hpp"

namespace kelvane {

using detail::StateAccess;

namespace {

// One overload per action of the test value (see RootActions).
struct RootStep {
    VelmoraState& state;

    void operator()(const TestAction& /*action*/) const {}  // the test value stays as it is
    void operator()(const UpdateTestNumber& update) const {
        StateAccess::testVal(state) = StateAccess::newVal(update);
    }
};

}  // namespace

AppState appReducer(const Action& action, const std::optional<AppState>& state) {
    AppState next = state ? *state : StateAccess::initialAppState();
    const detail::ActionCase found = detail::actionCase(action);
    detail::visitCase<detail::RootActions>(found, RootStep{StateAccess::velmoraState(next)});
    detail::reduceUITest(found, StateAccess::uiTestState(next));
    detail::reduceFolder(found, StateAccess::folderState(next));
    detail::reduceRecording(found, StateAccess::recording(next));
    return next;
}

}  // namespace kelvane
