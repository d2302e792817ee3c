// The recording reducer: the session flags, the in-place changes to the current recording that
// an older state shows too, and the index ranges.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <kelvane/state.hpp>

#include <gtest/gtest.h>

#include "state/reducers.hpp"
#include "state_test_support.hpp"

namespace {

using kelvane::Attachment;
using kelvane::makeRef;
using kelvane::Ref;
using kelvane::Sentence;
using statetest::Reduction;

class RecordingReducer : public ::testing::Test {
  protected:
    // A started recording with sentences holding the given numbers of attachments.
    std::vector<Ref<Sentence>> startWithSentences(const std::vector<int>& attachmentCounts) {
        reduction.apply(kelvane::StartRecordingAction());
        std::vector<Ref<Sentence>> sentences;
        for (const int count : attachmentCounts) {
            sentences.push_back(makeRef<Sentence>(static_cast<std::int64_t>(sentences.size())));
            reduction.apply(kelvane::AddRecordingSentenceAction(sentences.back()));
            for (int i = 0; i < count; ++i) {
                reduction.apply(kelvane::AddRecordingAttachmentAction(makeRef<Attachment>("a")));
            }
        }
        return sentences;
    }

    const kelvane::RecordingState& recording() const { return reduction.state().recording(); }

    statetest::LogReader log;
    Reduction reduction;
};

TEST_F(RecordingReducer, PauseAndResumeMatchSubclassesToo) {
    class LongPause : public kelvane::PauseRecordingAction {};
    class QuickResume : public kelvane::ResumeRecordingAction {};
    reduction.apply(LongPause());
    EXPECT_TRUE(recording().isPause());
    reduction.apply(QuickResume());
    EXPECT_FALSE(recording().isPause());
    reduction.apply(kelvane::PauseRecordingAction());
    EXPECT_TRUE(recording().isPause());
    reduction.apply(kelvane::ResumeRecordingAction());
    EXPECT_FALSE(recording().isPause());
}

TEST_F(RecordingReducer, StartAndStopResetTheSessionButKeepPauseAndVolume) {
    reduction.apply(kelvane::PauseRecordingAction());
    reduction.apply(kelvane::UpdateRecordingStateAction(7, 99));
    reduction.apply(kelvane::HighlightRecordingAction(true));
    EXPECT_EQ(recording().volume(), 7);
    EXPECT_EQ(recording().duration(), 99);
    EXPECT_TRUE(recording().highlightRecording());

    reduction.apply(kelvane::StartRecordingAction());
    const auto first = recording().currentRecording();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->sentences().empty());
    EXPECT_TRUE(recording().isRecordingStart());
    EXPECT_TRUE(recording().isPause());
    EXPECT_EQ(recording().volume(), 7);
    EXPECT_EQ(recording().duration(), 0);
    EXPECT_FALSE(recording().highlightRecording());

    reduction.apply(kelvane::AddRecordingSentenceAction(makeRef<Sentence>(0)));
    reduction.apply(kelvane::UpdateRecordingStateAction(3, 40));
    reduction.apply(kelvane::StartRecordingAction());
    EXPECT_NE(recording().currentRecording(), first) << "a fresh recording";
    EXPECT_EQ(first->sentences().size(), 1U) << "the previous one is not touched";
    EXPECT_EQ(recording().duration(), 0);

    reduction.apply(kelvane::StopRecordingAction());
    EXPECT_EQ(recording().currentRecording(), nullptr);
    EXPECT_FALSE(recording().isRecordingStart());
    EXPECT_EQ(recording().duration(), 0);
    EXPECT_EQ(recording().volume(), 3);
    EXPECT_TRUE(recording().isPause());
}

TEST_F(RecordingReducer, SelectAndShareStoreTheirObjects) {
    const auto attachment = makeRef<Attachment>("photo");
    const auto shared = makeRef<kelvane::Recording>();
    reduction.apply(kelvane::SelectRecordingAttachmentAction(attachment));
    reduction.apply(kelvane::ShareRecordingAction(shared));
    EXPECT_EQ(recording().selectedAttachment(), attachment.shared());
    EXPECT_EQ(recording().recordingForShare(), shared.shared());
    reduction.apply(kelvane::StopRecordingAction());
    EXPECT_EQ(recording().recordingForShare(), shared.shared()) << "not a session field";
    EXPECT_TRUE(recording().exportItems().empty());
}

TEST_F(RecordingReducer, TranscriptChangesAreMadeInPlaceAndTheOldStateShowsThem) {
    reduction.apply(kelvane::StartRecordingAction());
    const auto current = recording().currentRecording();

    const auto first = makeRef<Sentence>(0);
    const auto second = makeRef<Sentence>(1);
    reduction.apply(kelvane::AddRecordingSentenceAction(first));
    reduction.apply(kelvane::AddRecordingSentenceAction(second));
    EXPECT_EQ(reduction.previous().recording().currentRecording()->sentences().size(), 2U)
        << "the old state holds the same recording";

    const auto word = makeRef<kelvane::Word>(0, "hello");
    const auto attachment = makeRef<Attachment>("photo");
    reduction.apply(kelvane::AddRecordingWordAction(word));
    reduction.apply(kelvane::AddRecordingAttachmentAction(attachment));
    EXPECT_TRUE(first->words.empty()) << "words go to the last sentence";
    EXPECT_EQ(second->words, std::vector<Ref<kelvane::Word>>{word});
    EXPECT_EQ(second->attachments, std::vector<Ref<Attachment>>{attachment});

    reduction.apply(kelvane::HighlightRecordingSentenceAction(0, true));
    EXPECT_TRUE(first->isHighlight);
    EXPECT_FALSE(second->isHighlight);

    reduction.apply(kelvane::UpdateRecordingTitleAction("Morning"));
    EXPECT_EQ(current->title(), "Morning");
    reduction.apply(kelvane::UpdateRecordingTitleAction(std::nullopt));
    EXPECT_EQ(current->title(), std::nullopt) << "an absent title clears it";
    EXPECT_EQ(recording().currentRecording(), current);
}

TEST_F(RecordingReducer, AddingWordsOrAttachmentsNeedsASentence) {
    reduction.apply(kelvane::AddRecordingWordAction(makeRef<kelvane::Word>(0, "lost")));
    reduction.apply(kelvane::UpdateRecordingTitleAction("lost"));
    EXPECT_EQ(recording().currentRecording(), nullptr);

    reduction.apply(kelvane::StartRecordingAction());
    const std::string before = statetest::snapshot(reduction.state());
    reduction.apply(kelvane::AddRecordingWordAction(makeRef<kelvane::Word>(0, "lost")));
    reduction.apply(kelvane::AddRecordingAttachmentAction(makeRef<Attachment>("lost")));
    EXPECT_EQ(statetest::snapshot(reduction.state()), before);
}

TEST_F(RecordingReducer, HighlightsOnlySentencesInRange) {
    const auto sentences = startWithSentences({0, 0});
    struct Case {
        std::int64_t index;
        std::vector<bool> highlighted;
    };
    const Case cases[] = {{-1, {false, false}},        {2, {false, false}},
                          {INT64_MIN, {false, false}}, {INT64_MAX, {false, false}},
                          {1, {false, true}},          {0, {true, true}}};
    for (const Case& c : cases) {
        reduction.apply(kelvane::HighlightRecordingSentenceAction(c.index, true));
        EXPECT_EQ((std::vector<bool>{sentences[0]->isHighlight, sentences[1]->isHighlight}),
                  c.highlighted)
            << "index " << c.index;
    }
}

TEST_F(RecordingReducer, RemovesOnlyAttachmentsInRangeAndKeepsTheOthersInOrder) {
    struct Case {
        std::int64_t sentenceIndex;
        std::int64_t attachmentIndex;
        std::vector<std::size_t> remaining;  // positions of the original attachments of sentence 1
    };
    const Case cases[] = {
        {1, 0, {1, 2}},
        {1, 1, {0, 2}},
        {1, 2, {0, 1}},
        {1, 3, {0, 1, 2}},
        {1, -1, {0, 1, 2}},
        {-1, 0, {0, 1, 2}},
        {2, 0, {0, 1, 2}},
        {0, 0, {0, 1, 2}},
        {INT64_MAX, INT64_MAX, {0, 1, 2}},
        {1, INT64_MIN, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        reduction = Reduction();
        const auto sentences = startWithSentences({0, 3});
        const auto original = sentences[1]->attachments;
        reduction.apply(
            kelvane::RemoveRecordingAttachmentAction(c.sentenceIndex, c.attachmentIndex));
        std::vector<Ref<Attachment>> expected;
        for (const auto position : c.remaining) {
            expected.push_back(original[position]);
        }
        EXPECT_EQ(sentences[1]->attachments, expected)
            << "sentence " << c.sentenceIndex << ", attachment " << c.attachmentIndex;
        EXPECT_TRUE(sentences[0]->attachments.empty());
    }
}

}  // namespace
