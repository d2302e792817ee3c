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

// One overload per action of the recording (see RecordingActions).
struct RecordingStep {
    RecordingState& state;

    void operator()(const PauseRecordingAction& /*pause*/) const {
        StateAccess::isPause(state) = true;
    }
    void operator()(const ResumeRecordingAction& /*resume*/) const {
        StateAccess::isPause(state) = false;
    }
    void operator()(const StopRecordingAction& /*stop*/) const { resetSession(state, nullptr); }
    void operator()(const StartRecordingAction& /*start*/) const {
        resetSession(state, std::make_shared<Recording>());
    }

    void operator()(const UpdateRecordingStateAction& update) const {
        StateAccess::volume(state) = update.volume;
        StateAccess::duration(state) = update.duration;
    }

    void operator()(const HighlightRecordingAction& highlight) const {
        StateAccess::highlightRecording(state) = highlight.highlight;
    }

    void operator()(const HighlightRecordingSentenceAction& highlight) const {
        if (Sentence* sentence = sentenceAt(state, highlight.sentenceIndex)) {
            sentence->isHighlight = highlight.highlight;
        }
    }

    void operator()(const UpdateRecordingTitleAction& update) const {
        if (const auto& recording = StateAccess::currentRecording(state)) {
            ModelAccess::title(*recording) = update.title;
        }
    }

    void operator()(const AddRecordingSentenceAction& add) const {
        const auto& recording = StateAccess::currentRecording(state);
        if (recording && add.sentence) {
            ModelAccess::sentences(*recording).emplace_back(add.sentence);
        }
    }

    void operator()(const AddRecordingWordAction& add) const {
        Sentence* sentence = lastSentence(state);
        if (sentence && add.word) {
            sentence->words.emplace_back(add.word);
        }
    }

    void operator()(const AddRecordingAttachmentAction& add) const {
        Sentence* sentence = lastSentence(state);
        if (sentence && add.attachment) {
            sentence->attachments.emplace_back(add.attachment);
        }
    }

    void operator()(const RemoveRecordingAttachmentAction& remove) const {
        Sentence* sentence = sentenceAt(state, remove.sentenceIndex);
        if (sentence && inRange(remove.attachmentIndex, sentence->attachments.size())) {
            sentence->attachments.erase(sentence->attachments.begin() + remove.attachmentIndex);
        }
    }

    void operator()(const SelectRecordingAttachmentAction& select) const {
        StateAccess::selectedAttachment(state) = select.attachment;
    }

    void operator()(const ShareRecordingAction& share) const {
        StateAccess::recordingForShare(state) = share.recordingToShare;
    }
};

}  // namespace

void detail::reduceRecording(const ActionCase& found, RecordingState& state) {
    visitCase<RecordingActions>(found, RecordingStep{state});
}

RecordingState recordingReducer(const Action& action, const std::optional<RecordingState>& state) {
    return detail::reduceOnItsOwn(action, state, detail::reduceRecording);
}

}  // namespace kelvane
