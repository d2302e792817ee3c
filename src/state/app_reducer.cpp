#include <kelvane/state/test_actions.hpp>

#include "state/reducers.hpp"
#include "state/state_access.hpp"

namespace kelvane {

using detail::StateAccess;

AppState appReducer(const Action& action, const std::optional<AppState>& state) {
    VelmoraState velmora = state ? state->velmoraState() : StateAccess::initial<VelmoraState>();
    if (dynamic_cast<const TestAction*>(&action) != nullptr) {
        // Leaves the test value as it is.
    } else if (const auto* update = dynamic_cast<const UpdateTestNumber*>(&action)) {
        StateAccess::testVal(velmora) = StateAccess::newVal(*update);
    }
    UITestState uiTest = detail::nextUITestState(
        action, state ? state->uiTestState() : StateAccess::initial<UITestState>());
    FolderState folder = detail::nextFolderState(
        action, state ? state->folderState() : StateAccess::initial<FolderState>());
    RecordingState recording = detail::nextRecordingState(
        action, state ? state->recording() : StateAccess::initial<RecordingState>());
    return StateAccess::appState(std::move(velmora), std::move(uiTest), std::move(folder),
                                 std::move(recording));
}

}  // namespace kelvane
