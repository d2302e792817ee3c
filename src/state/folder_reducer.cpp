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

// One overload per action of the folder list (see FolderActions).
struct FolderStep {
    FolderState& state;

    void operator()(const FoldersLoadedAction& loaded) const {
        if (loaded.folders) {
            StateAccess::folders(state) = makeRef<TArray<Folder>>(*loaded.folders);
        }
    }

    void operator()(const AddFolderAction& add) const {
        TArray<Folder>& folders = *StateAccess::folders(state);
        if (folders.count() == 0) {
            folders.append(add.folder);
        } else {
            folders.insert(add.folder, add.position);  // outside 0...count: no change
        }
    }

    void operator()(const RemoveFolderAction& remove) const {
        TArray<Folder>& folders = *StateAccess::folders(state);
        if (const auto index = folders.firstIndex(remove.folder)) {
            folders.remove(*index);
        }
    }

    void operator()(const OpenNewRecordingListAction& open) const {
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

    void operator()(const CloseRecordingListAction& close) const {
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

    void operator()(const SetRecordingListSelectionAction& selection) const {
        if (selection.context) {
            ModelAccess::isSelectionMode(*selection.context) = selection.selected;
        }
    }

    void operator()(const SetRecordingSelectedAction& selected) const {
        if (selected.recording) {
            ModelAccess::selected(*selected.recording) = selected.selected;
        }
    }

    void operator()(const UpdateRecordingListAction& update) const {
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

    void operator()(const AddRecordingToFolderAction& add) const {
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

    void operator()(const RemoveRecordingAction& remove) const {
        if (!remove.recording) {
            return;
        }
        for (const auto& context : state.recordingListContexts()) {
            removeFirst(ModelAccess::recordings(*context), *remove.recording);
        }
    }
};

}  // namespace

void detail::reduceFolder(const ActionCase& found, FolderState& state) {
    visitCase<FolderActions>(found, FolderStep{state});
}

FolderState folderReducer(const Action& action, const std::optional<FolderState>& state) {
    return detail::reduceOnItsOwn(action, state, detail::reduceFolder);
}

}  // namespace kelvane
