#pragma once

// Which reducer case an action belongs to, found from its dynamic type in near-constant time.
//
//     switch (detail::actionKind(action)) {
//         case ActionKind::StartRecording: ...
//     }

#include <cstdint>
#include <type_traits>

#include <kelvane/store/action.hpp>

namespace kelvane::detail {

/// Every action type that a reducer has a case for, in the order the reducers test them: the
/// test value, then the test catalogue, the folders and the recording.
enum class ActionKind : std::uint8_t {
    None,  // no reducer has a case for it: every reducer passes it through unchanged

    TestAction,
    UpdateTestNumber,

    UITestAddTestEntry,
    UITestOpenTestEntry,

    FoldersLoaded,
    AddFolder,
    RemoveFolder,
    OpenNewRecordingList,
    CloseRecordingList,
    SetRecordingListSelection,
    SetRecordingSelected,
    UpdateRecordingList,
    AddRecordingToFolder,
    RemoveRecording,

    PauseRecording,
    ResumeRecording,
    StopRecording,
    StartRecording,
    UpdateRecordingState,
    HighlightRecording,
    HighlightRecordingSentence,
    UpdateRecordingTitle,
    AddRecordingSentence,
    AddRecordingWord,
    AddRecordingAttachment,
    RemoveRecordingAttachment,
    SelectRecordingAttachment,
    ShareRecording,
};

/// The case of `action`: the first case, in the order above, whose action type `action` is an
/// instance of. Known action types are found in a table built once; any other dynamic type
/// (a subclass of `PauseRecordingAction` or `ResumeRecordingAction`, an action of the host
/// application) is classified by `actionKindByCasts` on first sight and remembered. Safe from
/// any thread.
ActionKind actionKind(const Action& action);

/// The same answer by a chain of `dynamic_cast`s, one per case in order: the definition that the
/// table must agree with.
ActionKind actionKindByCasts(const Action& action);

/// The action as the type of its case. Only for record actions, which are final: their case is
/// found for their exact dynamic type, so the downcast is sound.
template <class Record>
const Record& actionAs(const Action& action) {
    static_assert(std::is_final_v<Record>, "subclasses would need a dynamic_cast");
    return static_cast<const Record&>(action);
}

}  // namespace kelvane::detail
