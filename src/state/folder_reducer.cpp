#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include <kelvane/core/printed.hpp>
#include <kelvane/state/folder_actions.hpp>

#include "logging/log.hpp"
#include "model/model_access.hpp"
#include "state/reducers.hpp"
#include "state/state_access.hpp"

namespace kelvane {

using detail::actionAs;
using detail::ActionKind;
using detail::ModelAccess;
using detail::StateAccess;

namespace {

using Contexts = std::vector<Ref<RecordingListContext>>;

// The position of `context` among the open contexts; their count when it is not open.
std::size_t findContext(const Contexts& contexts, const RecordingListContext& context) {
    return static_cast<std::size_t>(
        std::find_if(contexts.begin(), contexts.end(),
                     [&context](const auto& open) { return open->isEqual(&context); }) -
        contexts.begin());
}

// The context as an optional object prints: "Optional(<Kelvane.RecordingListContext: 0x…>)".
void logContext(const char* message, const std::shared_ptr<RecordingListContext>& context) {
    std::string line = message;
    appendPrinted(line, context);
    sharedLog().write(line);
}

void removeFirst(std::vector<Ref<Recording>>& recordings, const Recording& recording) {
    const auto found =
        std::find_if(recordings.begin(), recordings.end(),
                     [&recording](const auto& each) { return each->isEqual(&recording); });
    if (found != recordings.end()) {
        recordings.erase(found);
    }
}

void addFolder(FolderState& state, const AddFolderAction& add) {
    TArray<Folder>& folders = *StateAccess::folders(state);
    if (folders.count() == 0) {
        folders.append(add.folder);
    } else {
        folders.insert(add.folder, add.position);  // outside 0...count: no change
    }
}

void removeFolder(FolderState& state, const RemoveFolderAction& remove) {
    TArray<Folder>& folders = *StateAccess::folders(state);
    if (const auto index = folders.firstIndex(remove.folder)) {
        folders.remove(*index);
    }
}

void openList(FolderState& state, const OpenNewRecordingListAction& open) {
    if (!open.context) {
        return;
    }
    const Contexts& contexts = state.recordingListContexts();
    if (findContext(contexts, *open.context) != contexts.size()) {
        logContext("context already exist ", open.context);
        return;
    }
    StateAccess::newRecordingListContext(state) = open.context;
    StateAccess::recordingListContextsToChange(state).emplace_back(open.context);
}

void closeList(FolderState& state, const CloseRecordingListAction& close) {
    if (!close.context) {
        return;
    }
    const std::size_t found = findContext(state.recordingListContexts(), *close.context);
    if (found == state.recordingListContexts().size()) {
        logContext("context not exist", close.context);
        return;
    }
    Contexts& contexts = StateAccess::recordingListContextsToChange(state);
    contexts.erase(contexts.begin() + static_cast<std::ptrdiff_t>(found));
    StateAccess::newRecordingListContext(state) = nullptr;
}

void updateList(FolderState& state, const UpdateRecordingListAction& update) {
    if (!update.context) {
        return;
    }
    const Contexts& contexts = state.recordingListContexts();
    if (findContext(contexts, *update.context) == contexts.size()) {
        logContext("context not exist", update.context);
        return;
    }
    ModelAccess::recordings(*update.context) =
        update.recordings.value_or(std::vector<Ref<Recording>>{});
}

void addRecordingToFolder(const FolderState& state, const AddRecordingToFolderAction& add) {
    // Every context has a folder, so an absent folder matches none.
    if (!add.folder || !add.recording) {
        return;
    }
    for (const auto& context : state.recordingListContexts()) {
        if (context->folder()->isEqual(add.folder.get())) {
            ModelAccess::recordings(*context).emplace_back(add.recording);
        }
    }
}

void removeRecording(const FolderState& state, const RemoveRecordingAction& remove) {
    if (!remove.recording) {
        return;
    }
    for (const auto& context : state.recordingListContexts()) {
        removeFirst(ModelAccess::recordings(*context), *remove.recording);
    }
}

}  // namespace

void detail::reduceFolder(ActionKind kind, const Action& action, FolderState& state) {
    switch (kind) {
        case ActionKind::FoldersLoaded:
            if (const auto& folders = actionAs<FoldersLoadedAction>(action).folders) {
                StateAccess::folders(state) = makeRef<TArray<Folder>>(*folders);
            }
            break;
        case ActionKind::AddFolder:
            addFolder(state, actionAs<AddFolderAction>(action));
            break;
        case ActionKind::RemoveFolder:
            removeFolder(state, actionAs<RemoveFolderAction>(action));
            break;
        case ActionKind::OpenNewRecordingList:
            openList(state, actionAs<OpenNewRecordingListAction>(action));
            break;
        case ActionKind::CloseRecordingList:
            closeList(state, actionAs<CloseRecordingListAction>(action));
            break;
        case ActionKind::SetRecordingListSelection: {
            const auto& selection = actionAs<SetRecordingListSelectionAction>(action);
            if (selection.context) {
                ModelAccess::isSelectionMode(*selection.context) = selection.selected;
            }
            break;
        }
        case ActionKind::SetRecordingSelected: {
            const auto& selected = actionAs<SetRecordingSelectedAction>(action);
            if (selected.recording) {
                ModelAccess::selected(*selected.recording) = selected.selected;
            }
            break;
        }
        case ActionKind::UpdateRecordingList:
            updateList(state, actionAs<UpdateRecordingListAction>(action));
            break;
        case ActionKind::AddRecordingToFolder:
            addRecordingToFolder(state, actionAs<AddRecordingToFolderAction>(action));
            break;
        case ActionKind::RemoveRecording:
            removeRecording(state, actionAs<RemoveRecordingAction>(action));
            break;
        default:
            break;
    }
}

FolderState folderReducer(const Action& action, const std::optional<FolderState>& state) {
    FolderState next = state ? *state : StateAccess::initial<FolderState>();
    detail::reduceFolder(detail::actionKind(action), action, next);
    return next;
}

}  // namespace kelvane
