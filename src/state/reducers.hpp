#pragma once

// The reducers of the application state. `appReducer` is the shared store's one reducer: it
// computes the test value itself and hands every action to the three sub-reducers, in the order
// test catalogue, folders, recording. Each tests its cases in a fixed order, applies the first
// whose action type matches (subclasses of the two class actions match too), and carries every
// other field over. Given no previous value, each starts from the records' defaults. The case is
// found once per action (see action_case.hpp), and each reducer has one step per action it lists.
//
// The returned records are new values, but the shared model objects they refer to (the folder
// list, recording-list contexts, recordings, sentences) are changed in place, so the previous
// state shows those changes too. Only the folder reducer logs: "context already exist " or
// "context not exist" followed by the printed context, to the log file only (no breadcrumb).
//
// Bad input is ignored as a whole, so the state stays consistent and nothing is half applied:
// - an action whose needed object is null: `UITestAddTestEntry` without an entry;
//   `FoldersLoadedAction` without folders; the four context actions without a context;
//   `SetRecordingSelectedAction` without a recording; `AddRecordingToFolderAction` without a
//   recording when some open context matches its folder; `RemoveRecordingAction` without a
//   recording while any context is open; `AddRecordingSentenceAction`, `AddRecordingWordAction`
//   and `AddRecordingAttachmentAction` without their object;
// - `AddFolderAction` with a position outside 0 to the folder count on a non-empty list;
// - an index outside its list in `HighlightRecordingSentenceAction` and
//   `RemoveRecordingAttachmentAction`, or a recording action that needs a current recording (or
//   sentence) when there is none.
// Such an action changes nothing and logs nothing (beyond the store's own dispatch line).
//
// Reducers run inside the store's dispatch, on its thread, and take no locks.

#include <optional>

#include <kelvane/state/app_state.hpp>
#include <kelvane/store/action.hpp>

#include "state/action_case.hpp"
#include "state/state_access.hpp"

namespace kelvane {

AppState appReducer(const Action& action, const std::optional<AppState>& state);
UITestState uiTestReducer(const Action& action, const std::optional<UITestState>& state);
FolderState folderReducer(const Action& action, const std::optional<FolderState>& state);
RecordingState recordingReducer(const Action& action, const std::optional<RecordingState>& state);

namespace detail {

// The sub-reducers' step, applied in place to a record the caller has made for the new state, so
// that appReducer copies the previous state once, as a whole, and finds the case once.
void reduceUITest(const ActionCase& found, UITestState& state);
void reduceFolder(const ActionCase& found, FolderState& state);
void reduceRecording(const ActionCase& found, RecordingState& state);

// A sub-reducer run on its own: its step applied to a copy of the previous record, or to the
// record's defaults when there is none.
template <class Record>
Record reduceOnItsOwn(const Action& action, const std::optional<Record>& state,
                      void (&step)(const ActionCase&, Record&)) {
    Record next = state ? *state : StateAccess::initial<Record>();
    step(actionCase(action), next);
    return next;
}

}  // namespace detail

}  // namespace kelvane
