#pragma once

#include <memory>
#include <vector>

#include <kelvane/core/ref.hpp>
#include <kelvane/model/folder.hpp>
#include <kelvane/model/recording_list_context.hpp>
#include <kelvane/model/tarray.hpp>
#include <kelvane/state/detail/shared_list.hpp>

namespace kelvane {

namespace detail {
struct StateAccess;
}  // namespace detail

/// The folders and the open recording lists. A value made and changed only by the store's
/// reducers (see VelmoraState), without equality. The folder list and the contexts are shared
/// objects that the folder reducer changes in place, so an earlier copy of the state shows those
/// changes too; the list of open contexts itself is the record's own value, so a later state's
/// opening or closing never shows in an earlier copy.
class FolderState final {
  public:
    /// The folder list: one shared, identity-compared list, edited in place by `AddFolderAction`
    /// and `RemoveFolderAction` and replaced by a new list on `FoldersLoadedAction`. Its elements
    /// are never absent.
    const Ref<TArray<Folder>>& folders() const noexcept { return folders_; }
    /// The recording list opened last; null when none is, or after a `CloseRecordingListAction`.
    /// When present it is one of `recordingListContexts()`.
    const std::shared_ptr<RecordingListContext>& newRecordingListContext() const noexcept {
        return newRecordingListContext_;
    }
    /// The open recording lists in opening order, each object at most once. The record's own
    /// list, valid while the record lives.
    const std::vector<Ref<RecordingListContext>>& recordingListContexts() const noexcept {
        return recordingListContexts_.view();
    }

  private:
    friend struct detail::StateAccess;
    FolderState() = default;

    Ref<TArray<Folder>> folders_ = makeRef<TArray<Folder>>();
    std::shared_ptr<RecordingListContext> newRecordingListContext_;
    detail::SharedList<Ref<RecordingListContext>> recordingListContexts_;
};

}  // namespace kelvane
