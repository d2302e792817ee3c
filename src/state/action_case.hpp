#pragma once

// The framework's actions, listed once: each reducer's action types in the order it tests them.
// A dispatched action is classified once into its case, which is the action itself as the listed
// type it matched, and each reducer visits the cases of its own list with one step per type, so a
// listed type without its step does not compile.
//
// To add an action: declare it beside the others of its reducer (kelvane/state/*_actions.hpp),
// list it below, then give that reducer's step an overload for it.
//
//     visitCase<RecordingActions>(actionCase(action), RecordingStep{state});

#include <variant>

#include <kelvane/state/folder_actions.hpp>
#include <kelvane/state/recording_actions.hpp>
#include <kelvane/state/test_actions.hpp>
#include <kelvane/store/action.hpp>

namespace kelvane::detail {

/// One of a reducer's actions, as the listed type it matched.
template <class... Actions>
using OneOf = std::variant<const Actions*...>;

// `TestAction1`, like `StoreInit`, is matched by no reducer, so it is not listed.
using RootActions = OneOf<TestAction, UpdateTestNumber>;
using UITestActions = OneOf<UITestAddTestEntry, UITestOpenTestEntry>;
using FolderActions =
    OneOf<FoldersLoadedAction, AddFolderAction, RemoveFolderAction, OpenNewRecordingListAction,
          CloseRecordingListAction, SetRecordingListSelectionAction, SetRecordingSelectedAction,
          UpdateRecordingListAction, AddRecordingToFolderAction, RemoveRecordingAction>;
using RecordingActions =
    OneOf<PauseRecordingAction, ResumeRecordingAction, StopRecordingAction, StartRecordingAction,
          UpdateRecordingStateAction, HighlightRecordingAction, HighlightRecordingSentenceAction,
          UpdateRecordingTitleAction, AddRecordingSentenceAction, AddRecordingWordAction,
          AddRecordingAttachmentAction, RemoveRecordingAttachmentAction,
          SelectRecordingAttachmentAction, ShareRecordingAction>;

/// The case of a dispatched action; empty for an action that no reducer knows (`StoreInit`,
/// `TestAction1`, a host's own action), which every reducer passes through. An action can match
/// types of one list only, so one case serves every reducer and the order of the lists changes no
/// answer: the recording's, dispatched most often, are tried first.
using ActionCase =
    std::variant<std::monostate, RecordingActions, FolderActions, UITestActions, RootActions>;

/// The first type of its reducer's list that `action` is an instance of: its exact type for the
/// final record actions, and for `PauseRecordingAction` and `ResumeRecordingAction` their
/// subclasses too. The case refers to `action`. Safe from any thread.
ActionCase actionCase(const Action& action);

/// Calls `step` with the action when its case is one of `Actions`; otherwise does nothing.
template <class Actions, class Step>
void visitCase(const ActionCase& found, Step&& step) {
    if (const auto* actions = std::get_if<Actions>(&found)) {
        // A listed action that `step` has no overload for fails to compile here.
        std::visit([&step](const auto* action) { step(*action); }, *actions);
    }
}

}  // namespace kelvane::detail
