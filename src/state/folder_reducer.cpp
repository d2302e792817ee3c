#include <algorithm>
#include <string>
#include <vector>

#include <kelvane/core/printed.hpp>
#include <kelvane/state/folder_actions.hpp>

#include "logging/log.hpp"
#include "model/model_access.hpp"
#include "state/reducers.hpp"
#include "state/state_access.hpp"

namespace kelvane {

using detail::ModelAccess;
using detail::StateAccess;

namespace {

using Contexts = std::vector<Ref<RecordingListContext>>;

Contexts::iterator findContext(Contexts& contexts, const RecordingListContext& context) {
    return std::find_if(contexts.begin(), contexts.end(),
                        [&context](const auto& open) { return open->isEqual(&context); });
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
    Contexts& contexts = StateAccess::recordingListContexts(state);
    if (findContext(contexts, *open.context) != contexts.end()) {
        logContext("context already exist ", open.context);
        return;
    }
    StateAccess::newRecordingListContext(state) = open.context;
    contexts.emplace_back(open.context);
}

void closeList(FolderState& state, const CloseRecordingListAction& close) {
    if (!close.context) {
        return;
    }
    Contexts& contexts = StateAccess::recordingListContexts(state);
    const auto found = findContext(contexts, *close.context);
    if (found == contexts.end()) {
        logContext("context not exist", close.context);
        return;
    }
    contexts.erase(found);
    StateAccess::newRecordingListContext(state) = nullptr;
}

void updateList(FolderState& state, const UpdateRecordingListAction& update) {
    if (!update.context) {
        return;
    }
    Contexts& contexts = StateAccess::recordingListContexts(state);
    if (findContext(contexts, *update.context) == contexts.end()) {
        logContext("context not exist", update.context);
        return;
    }
    ModelAccess::recordings(*update.context) =
        update.recordings.value_or(std::vector<Ref<Recording>>{});
}

void addRecordingToFolder(FolderState& state, const AddRecordingToFolderAction& add) {
    // Every context has a folder, so an absent folder matches none.
    if (!add.folder || !add.recording) {
        return;
    }
    for (const auto& context : StateAccess::recordingListContexts(state)) {
        if (context->folder()->isEqual(add.folder.get())) {
            ModelAccess::recordings(*context).emplace_back(add.recording);
        }
    }
}

void removeRecording(FolderState& state, const RemoveRecordingAction& remove) {
    if (!remove.recording) {
        return;
    }
    for (const auto& context : StateAccess::recordingListContexts(state)) {
        removeFirst(ModelAccess::recordings(*context), *remove.recording);
    }
}

}  // namespace

FolderState detail::nextFolderState(const Action& action, FolderState state) {
    if (const auto* loaded = dynamic_cast<const FoldersLoadedAction*>(&action)) {
        if (loaded->folders) {
            StateAccess::folders(state) = makeRef<TArray<Folder>>(*loaded->folders);
        }
    } else if (const auto* add = dynamic_cast<const AddFolderAction*>(&action)) {
        addFolder(state, *add);
    } else if (const auto* remove = dynamic_cast<const RemoveFolderAction*>(&action)) {
        removeFolder(state, *remove);
    } else if (const auto* open = dynamic_cast<const OpenNewRecordingListAction*>(&action)) {
        openList(state, *open);
    } else if (const auto* close = dynamic_cast<const CloseRecordingListAction*>(&action)) {
        closeList(state, *close);
    } else if (const auto* selection =
                   dynamic_cast<const SetRecordingListSelectionAction*>(&action)) {
        if (selection->context) {
            ModelAccess::isSelectionMode(*selection->context) = selection->selected;
        }
    } else if (const auto* selected = dynamic_cast<const SetRecordingSelectedAction*>(&action)) {
        if (selected->recording) {
            ModelAccess::selected(*selected->recording) = selected->selected;
        }
    } else if (const auto* update = dynamic_cast<const UpdateRecordingListAction*>(&action)) {
        updateList(state, *update);
    } else if (const auto* addRecording =
                   dynamic_cast<const AddRecordingToFolderAction*>(&action)) {
        addRecordingToFolder(state, *addRecording);
    } else if (const auto* removeRecordingAction =
                   dynamic_cast<const RemoveRecordingAction*>(&action)) {
        removeRecording(state, *removeRecordingAction);
    }
    return state;
}

FolderState folderReducer(const Action& action, const std::optional<FolderState>& state) {
    return detail::nextFolderState(action, state ? *state : StateAccess::initial<FolderState>());
}

}  // namespace kelvane
