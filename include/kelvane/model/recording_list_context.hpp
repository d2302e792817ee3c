#pragma once

#include <vector>

#include <kelvane/core/ref.hpp>
#include <kelvane/model/folder.hpp>
#include <kelvane/model/recording.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane {

namespace detail {
struct ModelAccess;
}  // namespace detail

/// One open list of the recordings of a folder, with its selection mode.
///
/// The host application makes a context and opens it with an action; from then on the store's
/// folder reducer changes this same object in place (its recordings and selection mode), so every
/// holder sees the changes. The folder never changes. A context keeps its folder and recordings
/// alive. Readers return copies. Compared by identity; prints as
/// `<Kelvane.RecordingListContext: 0x…>`. Not synchronised.
class RecordingListContext final : public Object {
  public:
    /// A context of `folder` showing `recordings`, not in selection mode. A null folder or
    /// recording is a programming error that halts (see Ref).
    RecordingListContext(Ref<Folder> folder, std::vector<Ref<Recording>> recordings);

    const Ref<Folder>& folder() const noexcept { return folder_; }
    std::vector<Ref<Recording>> recordings() const { return recordings_; }
    bool isSelectionMode() const noexcept { return isSelectionMode_; }

  private:
    friend struct detail::ModelAccess;

    const Ref<Folder> folder_;
    std::vector<Ref<Recording>> recordings_;
    bool isSelectionMode_ = false;
};

}  // namespace kelvane
