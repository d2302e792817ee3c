#include <cstddef>
#include <cstdint>
#include <memory>

#include <kelvane/state/recording_actions.hpp>

#include "model/model_access.hpp"
#include "state/reducers.hpp"
#include "state/state_access.hpp"

namespace kelvane {

using detail::ModelAccess;
using detail::StateAccess;

namespace {

bool inRange(std::int64_t index, std::size_t count) {
    return index >= 0 && static_cast<std::uint64_t>(index) < count;
}

// The sentence at `index` of the current recording; null without one or outside the range.
Sentence* sentenceAt(RecordingState& state, std::int64_t index) {
    const auto& recording = StateAccess::currentRecording(state);
    if (!recording) {
        return nullptr;
    }
    auto& sentences = ModelAccess::sentences(*recording);
    return inRange(index, sentences.size()) ? sentences[static_cast<std::size_t>(index)].get()
                                            : nullptr;
}

Sentence* lastSentence(RecordingState& state) {
    const auto& recording = StateAccess::currentRecording(state);
    if (!recording || ModelAccess::sentences(*recording).empty()) {
        return nullptr;
    }
    return ModelAccess::sentences(*recording).back().get();
}

// Start and stop share this: a recording session begins and ends with no duration or highlight.
void resetSession(RecordingState& state, std::shared_ptr<Recording> recording) {
    StateAccess::isRecordingStart(state) = recording != nullptr;
    StateAccess::currentRecording(state) = std::move(recording);
    StateAccess::duration(state) = 0;
    StateAccess::highlightRecording(state) = false;
}

}  // namespace

RecordingState detail::nextRecordingState(const Action& action, RecordingState state) {
    if (dynamic_cast<const PauseRecordingAction*>(&action) != nullptr) {
        StateAccess::isPause(state) = true;
    } else if (dynamic_cast<const ResumeRecordingAction*>(&action) != nullptr) {
        StateAccess::isPause(state) = false;
    } else if (dynamic_cast<const StopRecordingAction*>(&action) != nullptr) {
        resetSession(state, nullptr);
    } else if (dynamic_cast<const StartRecordingAction*>(&action) != nullptr) {
        resetSession(state, std::make_shared<Recording>());
    } else if (const auto* update = dynamic_cast<const UpdateRecordingStateAction*>(&action)) {
        StateAccess::volume(state) = update->volume;
        StateAccess::duration(state) = update->duration;
    } else if (const auto* highlight = dynamic_cast<const HighlightRecordingAction*>(&action)) {
        StateAccess::highlightRecording(state) = highlight->highlight;
    } else if (const auto* highlightSentence =
                   dynamic_cast<const HighlightRecordingSentenceAction*>(&action)) {
        if (Sentence* sentence = sentenceAt(state, highlightSentence->sentenceIndex)) {
            sentence->isHighlight = highlightSentence->highlight;
        }
    } else if (const auto* title = dynamic_cast<const UpdateRecordingTitleAction*>(&action)) {
        if (const auto& recording = StateAccess::currentRecording(state)) {
            ModelAccess::title(*recording) = title->title;
        }
    } else if (const auto* addSentence = dynamic_cast<const AddRecordingSentenceAction*>(&action)) {
        const auto& recording = StateAccess::currentRecording(state);
        if (recording && addSentence->sentence) {
            ModelAccess::sentences(*recording).emplace_back(addSentence->sentence);
        }
    } else if (const auto* addWord = dynamic_cast<const AddRecordingWordAction*>(&action)) {
        Sentence* sentence = lastSentence(state);
        if (sentence && addWord->word) {
            sentence->words.emplace_back(addWord->word);
        }
    } else if (const auto* addAttachment =
                   dynamic_cast<const AddRecordingAttachmentAction*>(&action)) {
        Sentence* sentence = lastSentence(state);
        if (sentence && addAttachment->attachment) {
            sentence->attachments.emplace_back(addAttachment->attachment);
        }
    } else if (const auto* remove = dynamic_cast<const RemoveRecordingAttachmentAction*>(&action)) {
        Sentence* sentence = sentenceAt(state, remove->sentenceIndex);
        if (sentence && inRange(remove->attachmentIndex, sentence->attachments.size())) {
            sentence->attachments.erase(sentence->attachments.begin() + remove->attachmentIndex);
        }
    } else if (const auto* select = dynamic_cast<const SelectRecordingAttachmentAction*>(&action)) {
        StateAccess::selectedAttachment(state) = select->attachment;
    } else if (const auto* share = dynamic_cast<const ShareRecordingAction*>(&action)) {
        StateAccess::recordingForShare(state) = share->recordingToShare;
    }
    return state;
}

RecordingState recordingReducer(const Action& action, const std::optional<RecordingState>& state) {
    return detail::nextRecordingState(action,
                                      state ? *state : StateAccess::initial<RecordingState>());
}

}  // namespace kelvane
