#include <cstddef>
#include <cstdint>
#include <memory>

#include <kelvane/state/recording_actions.hpp>

#include "model/model_access.hpp"
#include "state/reducers.hpp"
#include "state/state_access.hpp"

namespace kelvane {

using detail::actionAs;
using detail::ActionKind;
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

void detail::reduceRecording(ActionKind kind, const Action& action, RecordingState& state) {
    switch (kind) {
        case ActionKind::PauseRecording:
            StateAccess::isPause(state) = true;
            break;
        case ActionKind::ResumeRecording:
            StateAccess::isPause(state) = false;
            break;
        case ActionKind::StopRecording:
            resetSession(state, nullptr);
            break;
        case ActionKind::StartRecording:
            resetSession(state, std::make_shared<Recording>());
            break;
        case ActionKind::UpdateRecordingState: {
            const auto& update = actionAs<UpdateRecordingStateAction>(action);
            StateAccess::volume(state) = update.volume;
            StateAccess::duration(state) = update.duration;
            break;
        }
        case ActionKind::HighlightRecording:
            StateAccess::highlightRecording(state) =
                actionAs<HighlightRecordingAction>(action).highlight;
            break;
        case ActionKind::HighlightRecordingSentence: {
            const auto& highlight = actionAs<HighlightRecordingSentenceAction>(action);
            if (Sentence* sentence = sentenceAt(state, highlight.sentenceIndex)) {
                sentence->isHighlight = highlight.highlight;
            }
            break;
        }
        case ActionKind::UpdateRecordingTitle:
            if (const auto& recording = StateAccess::currentRecording(state)) {
                ModelAccess::title(*recording) = actionAs<UpdateRecordingTitleAction>(action).title;
            }
            break;
        case ActionKind::AddRecordingSentence: {
            const auto& recording = StateAccess::currentRecording(state);
            const auto& sentence = actionAs<AddRecordingSentenceAction>(action).sentence;
            if (recording && sentence) {
                ModelAccess::sentences(*recording).emplace_back(sentence);
            }
            break;
        }
        case ActionKind::AddRecordingWord: {
            Sentence* sentence = lastSentence(state);
            const auto& word = actionAs<AddRecordingWordAction>(action).word;
            if (sentence && word) {
                sentence->words.emplace_back(word);
            }
            break;
        }
        case ActionKind::AddRecordingAttachment: {
            Sentence* sentence = lastSentence(state);
            const auto& attachment = actionAs<AddRecordingAttachmentAction>(action).attachment;
            if (sentence && attachment) {
                sentence->attachments.emplace_back(attachment);
            }
            break;
        }
        case ActionKind::RemoveRecordingAttachment: {
            const auto& remove = actionAs<RemoveRecordingAttachmentAction>(action);
            Sentence* sentence = sentenceAt(state, remove.sentenceIndex);
            if (sentence && inRange(remove.attachmentIndex, sentence->attachments.size())) {
                sentence->attachments.erase(sentence->attachments.begin() + remove.attachmentIndex);
            }
            break;
        }
        case ActionKind::SelectRecordingAttachment:
            StateAccess::selectedAttachment(state) =
                actionAs<SelectRecordingAttachmentAction>(action).attachment;
            break;
        case ActionKind::ShareRecording:
            StateAccess::recordingForShare(state) =
                actionAs<ShareRecordingAction>(action).recordingToShare;
            break;
        default:
            break;
    }
}

RecordingState recordingReducer(const Action& action, const std::optional<RecordingState>& state) {
    RecordingState next = state ? *state : StateAccess::initial<RecordingState>();
    detail::reduceRecording(detail::actionKind(action), action, next);
    return next;
}

}  // namespace kelvane
