#pragma once

#include <any>
#include <cstdint>
#include <memory>
#include <vector>

#include <kelvane/model/attachment.hpp>
#include <kelvane/model/recording.hpp>

namespace kelvane {

namespace detail {
struct StateAccess;
}  // namespace detail

/// The recording in progress and what is shown about it. A value made and changed only by the
/// store's reducers (see VelmoraState), without equality. The recording reducer changes the
/// current recording and its sentences in place, so an earlier copy of the state shows those
/// changes too.
class RecordingState final {
  public:
    /// True after `PauseRecordingAction`, false after `ResumeRecordingAction`.
    bool isPause() const noexcept { return isPause_; }
    /// As last reported by `UpdateRecordingStateAction`; `duration` is 0 again when a recording
    /// starts or stops.
    std::int64_t volume() const noexcept { return volume_; }
    std::int64_t duration() const noexcept { return duration_; }
    /// A new recording on `StartRecordingAction`; null after `StopRecordingAction`.
    const std::shared_ptr<Recording>& currentRecording() const noexcept {
        return currentRecording_;
    }
    /// The last `HighlightRecordingAction`; false again when a recording starts or stops.
    bool highlightRecording() const noexcept { return highlightRecording_; }
    /// The attachment of the last `SelectRecordingAttachmentAction`; null before.
    const std::shared_ptr<Attachment>& selectedAttachment() const noexcept {
        return selectedAttachment_;
    }
    /// Items to export; no action writes it, so it stays empty. Valid while the record lives.
    const std::vector<std::any>& exportItems() const noexcept { return exportItems_; }
    /// The recording of the last `ShareRecordingAction`; null before.
    const std::shared_ptr<Recording>& recordingForShare() const noexcept {
        return recordingForShare_;
    }
    /// True from `StartRecordingAction` to `StopRecordingAction`, exactly while
    /// `currentRecording()` is present.
    bool isRecordingStart() const noexcept { return isRecordingStart_; }

  private:
    friend struct detail::StateAccess;
    RecordingState() = default;

    bool isPause_ = false;
    std::int64_t volume_ = 0;
    std::int64_t duration_ = 0;
    std::shared_ptr<Recording> currentRecording_;
    bool highlightRecording_ = false;
    std::shared_ptr<Attachment> selectedAttachment_;
    std::vector<std::any> exportItems_;
    std::shared_ptr<Recording> recordingForShare_;
    bool isRecordingStart_ = false;
};

}  // namespace kelvane
