#pragma once

// Actions of the recording in progress. The store's recording reducer changes the current
// recording and its sentences in place. An action whose needed object is null is ignored as a
// whole; one whose index lies outside its list, or that needs a current recording (or a sentence)
// when there is none, changes nothing.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include <kelvane/core/printed.hpp>
#include <kelvane/core/ref.hpp>
#include <kelvane/model/attachment.hpp>
#include <kelvane/model/recording.hpp>
#include <kelvane/model/sentence.hpp>
#include <kelvane/model/word.hpp>
#include <kelvane/platform/object.hpp>
#include <kelvane/store/action.hpp>

namespace kelvane {

/// Pauses the recording (`isPause`). An object: it prints as its description,
/// `<Kelvane.PauseRecordingAction: 0x…>`, and instances of subclasses match too.
class PauseRecordingAction : public Object, public Action {
  public:
    PauseRecordingAction() = default;
};

/// Resumes the recording. A plain class: it prints as `Kelvane.ResumeRecordingAction`, and
/// instances of subclasses match too.
class ResumeRecordingAction : public Action {
  public:
    ResumeRecordingAction() = default;
};

/// Starts a new, empty current recording; zeroes `duration` and clears `highlightRecording`,
/// keeping `isPause` and `volume`. The recording that was current before is not touched.
struct StartRecordingAction final : ActionRecord<StartRecordingAction> {};
KELVANE_RECORD(StartRecordingAction, ())

/// Drops the current recording; zeroes `duration` and clears `highlightRecording`, keeping
/// `isPause` and `volume`.
struct StopRecordingAction final : ActionRecord<StopRecordingAction> {};
KELVANE_RECORD(StopRecordingAction, ())

/// Reports the recording's volume and duration.
struct UpdateRecordingStateAction final : ActionRecord<UpdateRecordingStateAction> {
    UpdateRecordingStateAction(std::int64_t volume, std::int64_t duration)
        : volume(volume), duration(duration) {}
    std::int64_t volume;
    std::int64_t duration;
};
KELVANE_RECORD(UpdateRecordingStateAction, (volume, duration))

/// Sets `highlightRecording`.
struct HighlightRecordingAction final : ActionRecord<HighlightRecordingAction> {
    explicit HighlightRecordingAction(bool highlight) : highlight(highlight) {}
    bool highlight;
};
KELVANE_RECORD(HighlightRecordingAction, (highlight))

/// Sets `isHighlight` of the current recording's sentence at `sentenceIndex`.
struct HighlightRecordingSentenceAction final : ActionRecord<HighlightRecordingSentenceAction> {
    HighlightRecordingSentenceAction(std::int64_t sentenceIndex, bool highlight)
        : sentenceIndex(sentenceIndex), highlight(highlight) {}
    std::int64_t sentenceIndex;
    bool highlight;
};
KELVANE_RECORD(HighlightRecordingSentenceAction, (sentenceIndex, highlight))

/// Sets the current recording's title; an absent title clears it.
struct UpdateRecordingTitleAction final : ActionRecord<UpdateRecordingTitleAction> {
    explicit UpdateRecordingTitleAction(std::optional<std::string> newTitle)
        : title(std::move(newTitle)) {}
    std::optional<std::string> title;
};
KELVANE_RECORD(UpdateRecordingTitleAction, (title))

/// Appends `sentence` to the current recording.
struct AddRecordingSentenceAction final : ActionRecord<AddRecordingSentenceAction> {
    explicit AddRecordingSentenceAction(std::shared_ptr<Sentence> sentence)
        : sentence(std::move(sentence)) {}
    std::shared_ptr<Sentence> sentence;
};
KELVANE_RECORD(AddRecordingSentenceAction, (sentence))

/// Appends `word` to the last sentence of the current recording.
struct AddRecordingWordAction final : ActionRecord<AddRecordingWordAction> {
    explicit AddRecordingWordAction(std::shared_ptr<Word> word) : word(std::move(word)) {}
    std::shared_ptr<Word> word;
};
KELVANE_RECORD(AddRecordingWordAction, (word))

/// Appends `attachment` to the last sentence of the current recording. Made with an attachment;
/// when the field is later set to null, the action is ignored.
struct AddRecordingAttachmentAction final : ActionRecord<AddRecordingAttachmentAction> {
    explicit AddRecordingAttachmentAction(Ref<Attachment> attachment)
        : attachment(std::move(attachment)) {}
    std::shared_ptr<Attachment> attachment;
};
KELVANE_RECORD(AddRecordingAttachmentAction, (attachment))

/// Removes the attachment at `attachmentIndex` of the current recording's sentence at
/// `sentenceIndex`, the later ones moving down.
struct RemoveRecordingAttachmentAction final : ActionRecord<RemoveRecordingAttachmentAction> {
    RemoveRecordingAttachmentAction(std::int64_t sentenceIndex, std::int64_t attachmentIndex)
        : sentenceIndex(sentenceIndex), attachmentIndex(attachmentIndex) {}
    std::int64_t sentenceIndex;
    std::int64_t attachmentIndex;
};
KELVANE_RECORD(RemoveRecordingAttachmentAction, (sentenceIndex, attachmentIndex))

/// Sets `selectedAttachment`.
struct SelectRecordingAttachmentAction final : ActionRecord<SelectRecordingAttachmentAction> {
    explicit SelectRecordingAttachmentAction(Ref<Attachment> attachment)
        : attachment(std::move(attachment)) {}
    Ref<Attachment> attachment;
};
KELVANE_RECORD(SelectRecordingAttachmentAction, (attachment))

/// Sets `recordingForShare`.
struct ShareRecordingAction final : ActionRecord<ShareRecordingAction> {
    explicit ShareRecordingAction(Ref<Recording> recordingToShare)
        : recordingToShare(std::move(recordingToShare)) {}
    Ref<Recording> recordingToShare;
};
KELVANE_RECORD(ShareRecordingAction, (recordingToShare))

}  // namespace kelvane
