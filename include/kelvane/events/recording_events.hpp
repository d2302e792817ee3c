#pragma once

// Recording events: the recording in progress, its transcript's sentences, words and attachments,
// and whole recordings opened, previewed, deleted, added or removed.
//
// Events without payload can be made without sender or with one and describe themselves by their
// class name. Payload events are made only with their one constructor, which sets every field;
// the fields stay public and may be changed at any time (an absent value is null or empty), and a
// description shows them as they are when asked. The last five classes take no sender: they reach
// only unbound handlers until the host application sets `sender`. Events hold their model objects
// strongly and never look into them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/core/ref.hpp>
#include <kelvane/events/event.hpp>
#include <kelvane/model/attachment.hpp>
#include <kelvane/model/folder.hpp>
#include <kelvane/model/recording.hpp>
#include <kelvane/model/sentence.hpp>
#include <kelvane/model/word.hpp>

namespace kelvane {

/// Notice: a recording list was opened.
class RecordingListDidOpen final : public Event {
  public:
    using Event::Event;
};

/// Request: pause the recording.
class UIPauseRecordingEvent final : public Event {
  public:
    using Event::Event;
};

/// Request: resume the recording.
class UIResumeRecordingEvent final : public Event {
  public:
    using Event::Event;
};

/// Request: stop the recording.
class UIStopRecordingEvent final : public Event {
  public:
    using Event::Event;
};

/// Request: take a photo for the recording.
class UIRecordingTakePhoto final : public Event {
  public:
    using Event::Event;
};

/// Request: highlight the recording.
class UIRecordingHighlight final : public Event {
  public:
    using Event::Event;
};

/// Notice: `newSentence` was added to the recording at `position`. Described as
/// "UIRecordingSentenceDidAddEvent; newSentence = Optional(<Kelvane.Sentence: 0x…>); Optional(1);"
/// (the position without label).
class UIRecordingSentenceDidAddEvent final : public Event {
  public:
    UIRecordingSentenceDidAddEvent(std::shared_ptr<Object> sender, Ref<Sentence> newSentence,
                                   std::int64_t position);
    std::string description() const override;

    std::shared_ptr<Sentence> newSentence;
    std::optional<std::int64_t> position;
};

/// Notice: `word` was added to a sentence of the recording. Described as
/// "UIRecordingSentenceWordsDidAddEvent; word = Optional(<Kelvane.Word: 0x…>);".
class UIRecordingSentenceWordsDidAddEvent final : public Event {
  public:
    UIRecordingSentenceWordsDidAddEvent(std::shared_ptr<Object> sender, Ref<Word> word);
    std::string description() const override;

    std::shared_ptr<Word> word;
};

/// Notice: `attachment` was added to a sentence at `position`. Described as
/// "UIRecordingSentenceAttachmentDidAddEvent; attachment = Optional(<Kelvane.Attachment: 0x…>);
/// Optional(1)": the position without label, and no ";" at the end.
class UIRecordingSentenceAttachmentDidAddEvent final : public Event {
  public:
    UIRecordingSentenceAttachmentDidAddEvent(std::shared_ptr<Object> sender,
                                             Ref<Attachment> attachment, std::int64_t position);
    std::string description() const override;

    std::shared_ptr<Attachment> attachment;
    std::optional<std::int64_t> position;
};

/// Notice: the attachment at `attachmentIndex` of the sentence at `sentenceIndex` was removed.
/// Described as "UIRecordingSentenceAttachmentDidRemoveEvent; sentenceIndex = Optional(2);
/// attachmentIndex = Optional(0)", with no ";" at the end.
class UIRecordingSentenceAttachmentDidRemoveEvent final : public Event {
  public:
    UIRecordingSentenceAttachmentDidRemoveEvent(std::shared_ptr<Object> sender,
                                                std::int64_t sentenceIndex,
                                                std::int64_t attachmentIndex);
    std::string description() const override;

    std::optional<std::int64_t> sentenceIndex;
    std::optional<std::int64_t> attachmentIndex;
};

/// Notice: an attached item was selected.
class UIRecordingAttachedDidSelectEvent final : public Event {
  public:
    using Event::Event;
};

/// Notice: the recording was collapsed.
class UIRecordingCollapsedEvent final : public Event {
  public:
    using Event::Event;
};

/// Notice: the recording was expanded.
class UIRecordingExpandedEvent final : public Event {
  public:
    using Event::Event;
};

/// Request: export the recording's audio.
class UIRecordingExportAudioEvent final : public Event {
  public:
    using Event::Event;
};

/// Request: open the text export of the recording.
class UIOpenRecordingExportTextEvent final : public Event {
  public:
    using Event::Event;
};

/// Request: save the selected attachment.
class UIRecordingSaveSelectedAttachmentEvent final : public Event {
  public:
    using Event::Event;
};

/// Request: remove an attachment.
class UIRecordingRemoveAttachmentEvent final : public Event {
  public:
    using Event::Event;
};

/// Request: share the recording.
class UIRecordingShareEvent final : public Event {
  public:
    using Event::Event;
};

/// Request: delete `recordings`. No sender; described by its class name.
class UIDeleteRecordingEvent final : public Event {
  public:
    explicit UIDeleteRecordingEvent(std::vector<Ref<Recording>> recordings);

    std::vector<Ref<Recording>> recordings;
};

/// Request: open a recording, kept in `recordingForOpen`. No sender; described by its class name.
class UIOpenRecordingEvent final : public Event {
  public:
    explicit UIOpenRecordingEvent(Ref<Recording> recording);

    std::shared_ptr<Recording> recordingForOpen;
};

/// Request: preview a recording, kept in `recordingForPreview`. No sender; described by its class
/// name.
class UIPreviewRecordingEvent final : public Event {
  public:
    explicit UIPreviewRecordingEvent(Ref<Recording> recording);

    std::shared_ptr<Recording> recordingForPreview;
};

/// Notice: a recording was added, kept in `newRecording`. No sender; described by its class name.
class RecordingDidAdd final : public Event {
  public:
    explicit RecordingDidAdd(Ref<Recording> recording);

    std::shared_ptr<Recording> newRecording;
};

/// Notice: `recording` was removed, from `fromFolder` when that is given. No sender; described by
/// its class name.
class RecordingDidRemove final : public Event {
  public:
    RecordingDidRemove(Ref<Recording> recording, std::shared_ptr<Folder> fromFolder);

    std::shared_ptr<Recording> recording;
    std::shared_ptr<Folder> fromFolder;
};

}  // namespace kelvane
