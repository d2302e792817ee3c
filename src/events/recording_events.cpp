#include <utility>

#include <kelvane/events/recording_events.hpp>

#include "events/event_description.hpp"

namespace kelvane {

using detail::describe;

UIRecordingSentenceDidAddEvent::UIRecordingSentenceDidAddEvent(std::shared_ptr<Object> sender,
                                                               Ref<Sentence> newSentence,
                                                               std::int64_t position)
    : Event(std::move(sender)), newSentence(std::move(newSentence)), position(position) {}

std::string UIRecordingSentenceDidAddEvent::description() const {
    return describe(*this, "; newSentence = ", newSentence, "; ", position, ";");
}

UIRecordingSentenceWordsDidAddEvent::UIRecordingSentenceWordsDidAddEvent(
    std::shared_ptr<Object> sender, Ref<Word> word)
    : Event(std::move(sender)), word(std::move(word)) {}

std::string UIRecordingSentenceWordsDidAddEvent::description() const {
    return describe(*this, "; word = ", word, ";");
}

UIRecordingSentenceAttachmentDidAddEvent::UIRecordingSentenceAttachmentDidAddEvent(
    std::shared_ptr<Object> sender, Ref<Attachment> attachment, std::int64_t position)
    : Event(std::move(sender)), attachment(std::move(attachment)), position(position) {}

std::string UIRecordingSentenceAttachmentDidAddEvent::description() const {
    return describe(*this, "; attachment = ", attachment, "; ", position);
}

UIRecordingSentenceAttachmentDidRemoveEvent::UIRecordingSentenceAttachmentDidRemoveEvent(
    std::shared_ptr<Object> sender, std::int64_t sentenceIndex, std::int64_t attachmentIndex)
    : Event(std::move(sender)), sentenceIndex(sentenceIndex), attachmentIndex(attachmentIndex) {}

std::string UIRecordingSentenceAttachmentDidRemoveEvent::description() const {
    return describe(*this, "; sentenceIndex = ", sentenceIndex,
                    "; attachmentIndex = ", attachmentIndex);
}

UIDeleteRecordingEvent::UIDeleteRecordingEvent(std::vector<Ref<Recording>> recordings)
    : recordings(std::move(recordings)) {}

UIOpenRecordingEvent::UIOpenRecordingEvent(Ref<Recording> recording)
    : recordingForOpen(std::move(recording)) {}

UIPreviewRecordingEvent::UIPreviewRecordingEvent(Ref<Recording> recording)
    : recordingForPreview(std::move(recording)) {}

RecordingDidAdd::RecordingDidAdd(Ref<Recording> recording) : newRecording(std::move(recording)) {}

RecordingDidRemove::RecordingDidRemove(Ref<Recording> recording, std::shared_ptr<Folder> fromFolder)
    : recording(std::move(recording)), fromFolder(std::move(fromFolder)) {}

}  // namespace kelvane
