#pragma once

// Actions of the folder list and the open recording lists. Folders, contexts and recordings are
// compared by identity, and the store's folder reducer changes them in place. An action whose
// needed object is null (or an AddFolderAction position outside the list) is ignored as a whole:
// nothing changes and nothing is logged.

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <kelvane/core/printed.hpp>
#include <kelvane/core/ref.hpp>
#include <kelvane/model/folder.hpp>
#include <kelvane/model/recording.hpp>
#include <kelvane/model/recording_list_context.hpp>
#include <kelvane/store/action.hpp>

namespace kelvane {

/// Replaces the folder list by a new list of `folders`, in order; the previous list object is
/// left as it was. Made without folders (`FoldersLoadedAction()`), it is ignored.
struct FoldersLoadedAction final : ActionRecord<FoldersLoadedAction> {
    FoldersLoadedAction() = default;
    explicit FoldersLoadedAction(std::vector<Ref<Folder>> folders) : folders(std::move(folders)) {}
    std::optional<std::vector<Ref<Folder>>> folders;
};
KELVANE_RECORD(FoldersLoadedAction, (folders))

/// Inserts `folder` at `position` (0 to the folder count; the count appends), in place, without a
/// test for duplicates. Into an empty list the folder is appended whatever `position` says; on a
/// non-empty list a position outside 0 to the count is ignored.
struct AddFolderAction final : ActionRecord<AddFolderAction> {
    AddFolderAction(Ref<Folder> folder, std::int64_t position)
        : folder(std::move(folder)), position(position) {}
    Ref<Folder> folder;
    std::int64_t position;
};
KELVANE_RECORD(AddFolderAction, (folder, position))

/// Removes the first occurrence of this very folder from the list, in place; none: no change.
struct RemoveFolderAction final : ActionRecord<RemoveFolderAction> {
    explicit RemoveFolderAction(Ref<Folder> folder) : folder(std::move(folder)) {}
    Ref<Folder> folder;
};
KELVANE_RECORD(RemoveFolderAction, (folder))

/// Opens `context`: appends it to the open lists and makes it the newest. One already open is
/// logged as "context already exist " + the printed context and changes nothing.
struct OpenNewRecordingListAction final : ActionRecord<OpenNewRecordingListAction> {
    explicit OpenNewRecordingListAction(std::shared_ptr<RecordingListContext> context)
        : context(std::move(context)) {}
    std::shared_ptr<RecordingListContext> context;
};
KELVANE_RECORD(OpenNewRecordingListAction, (context))

/// Closes `context` and clears the newest context, whichever it was. One not open is logged as
/// "context not exist" + the printed context and changes nothing.
struct CloseRecordingListAction final : ActionRecord<CloseRecordingListAction> {
    explicit CloseRecordingListAction(std::shared_ptr<RecordingListContext> context)
        : context(std::move(context)) {}
    std::shared_ptr<RecordingListContext> context;
};
KELVANE_RECORD(CloseRecordingListAction, (context))

/// Sets the selection mode of `context`, open or not, in place.
struct SetRecordingListSelectionAction final : ActionRecord<SetRecordingListSelectionAction> {
    SetRecordingListSelectionAction(std::shared_ptr<RecordingListContext> context, bool selected)
        : context(std::move(context)), selected(selected) {}
    std::shared_ptr<RecordingListContext> context;
    bool selected;
};
KELVANE_RECORD(SetRecordingListSelectionAction, (context, selected))

/// Sets `selected` of `recording`, in place; `context` is carried but not used.
struct SetRecordingSelectedAction final : ActionRecord<SetRecordingSelectedAction> {
    SetRecordingSelectedAction(std::shared_ptr<RecordingListContext> context,
                               std::shared_ptr<Recording> recording, bool selected)
        : context(std::move(context)), recording(std::move(recording)), selected(selected) {}
    std::shared_ptr<RecordingListContext> context;
    std::shared_ptr<Recording> recording;
    bool selected;
};
KELVANE_RECORD(SetRecordingSelectedAction, (context, recording, selected))

/// Replaces the recordings of the open `context` by `recordings` (none: an empty list), in
/// place. A context not open is logged as "context not exist" + the printed context.
struct UpdateRecordingListAction final : ActionRecord<UpdateRecordingListAction> {
    UpdateRecordingListAction(Ref<RecordingListContext> context,
                              std::optional<std::vector<Ref<Recording>>> recordings)
        : context(std::move(context)), recordings(std::move(recordings)) {}
    std::shared_ptr<RecordingListContext> context;
    std::optional<std::vector<Ref<Recording>>> recordings;
};
KELVANE_RECORD(UpdateRecordingListAction, (context, recordings))

/// Appends `recording` to every open context of `folder`, in place, without a test for
/// duplicates. A null `folder` matches no context, since every context has a folder.
struct AddRecordingToFolderAction final : ActionRecord<AddRecordingToFolderAction> {
    AddRecordingToFolderAction(std::shared_ptr<Folder> folder, std::shared_ptr<Recording> recording)
        : folder(std::move(folder)), recording(std::move(recording)) {}
    std::shared_ptr<Folder> folder;
    std::shared_ptr<Recording> recording;
};
KELVANE_RECORD(AddRecordingToFolderAction, (folder, recording))

/// Removes the first occurrence of `recording` from each open context, in place.
struct RemoveRecordingAction final : ActionRecord<RemoveRecordingAction> {
    explicit RemoveRecordingAction(std::shared_ptr<Recording> recording)
        : recording(std::move(recording)) {}
    std::shared_ptr<Recording> recording;
};
KELVANE_RECORD(RemoveRecordingAction, (recording))

}  // namespace kelvane
