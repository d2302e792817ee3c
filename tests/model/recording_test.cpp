#include <chrono>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include <kelvane/core/printed.hpp>
#include <kelvane/model/recording.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/model_access.hpp"

namespace {

using kelvane::Attachment;
using kelvane::Folder;
using kelvane::Recording;
using kelvane::Ref;
using kelvane::Sentence;
using kelvane::Word;
using kelvane::detail::ModelAccess;

TEST(RecordingModel, NewRecordingHasItsDefaultsAndTheMomentOfConstruction) {
    const auto before = std::chrono::system_clock::now();
    const auto recording = std::make_shared<Recording>();
    const auto after = std::chrono::system_clock::now();

    EXPECT_EQ(recording->title(), std::nullopt);
    EXPECT_EQ(recording->duration(), std::nullopt);
    EXPECT_EQ(recording->resourcePath(), std::nullopt);
    EXPECT_TRUE(recording->sentences().empty());
    EXPECT_TRUE(recording->keywords().empty());
    EXPECT_FALSE(recording->selected());
    EXPECT_EQ(recording->parentFolder(), nullptr);
    ASSERT_TRUE(recording->dateCreated().has_value());
    EXPECT_GE(*recording->dateCreated(), before);
    EXPECT_LE(*recording->dateCreated(), after);
}

TEST(RecordingModel, TranscriptPartsKeepTheirArgumentsEvenWhenZeroOrEmpty) {
    // Only the initializers with arguments are offered.
    static_assert(!std::is_default_constructible_v<Sentence>);
    static_assert(!std::is_default_constructible_v<Word>);
    static_assert(!std::is_default_constructible_v<Attachment>);

    const Sentence sentence(0);
    EXPECT_EQ(sentence.time, 0);
    EXPECT_TRUE(sentence.words.empty());
    EXPECT_TRUE(sentence.attachments.empty());
    EXPECT_FALSE(sentence.isHighlight);

    const Word word(0, "");
    EXPECT_EQ(word.time, 0);
    EXPECT_EQ(word.str, "");
    EXPECT_FALSE(word.isHighlight);

    EXPECT_EQ(Attachment("").id, "");
    EXPECT_EQ(Attachment("photo-1").id, "photo-1");
}

TEST(RecordingModel, ObjectsWithEqualFieldsAreDistinct) {
    const std::vector<std::shared_ptr<kelvane::Object>> first{
        std::make_shared<Recording>(), std::make_shared<Sentence>(1),
        std::make_shared<Word>(1, "a"), std::make_shared<Attachment>("a")};
    const std::vector<std::shared_ptr<kelvane::Object>> twins{
        std::make_shared<Recording>(), std::make_shared<Sentence>(1),
        std::make_shared<Word>(1, "a"), std::make_shared<Attachment>("a")};
    for (std::size_t i = 0; i < first.size(); ++i) {
        SCOPED_TRACE(first[i]->description());
        EXPECT_TRUE(first[i]->isEqual(first[i].get()));
        EXPECT_FALSE(first[i]->isEqual(twins[i].get()));
    }
}

TEST(RecordingModel, ListsReadAsCopiesWhileInPlaceChangesReachEveryHolder) {
    const auto recording = std::make_shared<Recording>();
    const auto sameRecording = recording;  // another holder, as a later state would be
    const auto sentence = std::make_shared<Sentence>(10);

    auto copy = recording->sentences();
    copy.push_back(sentence);
    EXPECT_TRUE(recording->sentences().empty());

    ModelAccess::sentences(*recording).push_back(sentence);
    ModelAccess::title(*recording) = "Interview";
    ModelAccess::selected(*recording) = true;
    ASSERT_EQ(sameRecording->sentences().size(), 1U);
    EXPECT_EQ(sameRecording->title(), "Interview");
    EXPECT_TRUE(sameRecording->selected());

    // The list is a copy, its elements are the shared sentence: changing one reaches the recording.
    sameRecording->sentences().front()->words.push_back(std::make_shared<Word>(11, "hello"));
    sentence->isHighlight = true;
    EXPECT_EQ(recording->sentences().front()->words.size(), 1U);
    EXPECT_TRUE(recording->sentences().front()->isHighlight);
}

TEST(RecordingModel, ParentFolderDoesNotKeepItsFolderAlive) {
    const auto recording = std::make_shared<Recording>();
    ModelAccess::title(*recording) = "Kept";
    auto folder = std::make_shared<Folder>("Work");
    ModelAccess::parentFolder(*recording) = folder;
    EXPECT_EQ(recording->parentFolder(), folder);

    const std::weak_ptr<Folder> watch = folder;
    folder.reset();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(recording->parentFolder(), nullptr);
    EXPECT_EQ(recording->title(), "Kept");
}

TEST(RecordingModel, DroppingTheRecordingReleasesItsWholeTranscript) {
    auto recording = std::make_shared<Recording>();
    auto sentence = std::make_shared<Sentence>(0);
    auto word = std::make_shared<Word>(0, "a");
    auto attachment = std::make_shared<Attachment>("x");
    sentence->words.push_back(word);
    sentence->attachments.push_back(attachment);
    ModelAccess::sentences(*recording).push_back(sentence);
    const std::weak_ptr<Recording> watchRecording = recording;
    const std::weak_ptr<Sentence> watchSentence = sentence;
    const std::weak_ptr<Word> watchWord = word;
    const std::weak_ptr<Attachment> watchAttachment = attachment;

    sentence.reset();
    word.reset();
    attachment.reset();
    EXPECT_FALSE(watchWord.expired()) << "a sentence keeps its words alive";
    recording.reset();
    EXPECT_TRUE(watchRecording.expired());
    EXPECT_TRUE(watchSentence.expired());
    EXPECT_TRUE(watchWord.expired());
    EXPECT_TRUE(watchAttachment.expired());
}

TEST(RecordingModel, PrintsInTheRootObjectForm) {
    const auto recording = std::make_shared<Recording>();
    const auto sentence = std::make_shared<Sentence>(0);
    const auto word = std::make_shared<Word>(0, "a");
    const auto attachment = std::make_shared<Attachment>("x");
    EXPECT_EQ(recording->description(),
              "<Kelvane.Recording: " + kelvane::hexAddress(recording.get()) + ">");
    EXPECT_EQ(sentence->description(),
              "<Kelvane.Sentence: " + kelvane::hexAddress(sentence.get()) + ">");
    EXPECT_EQ(attachment->description(),
              "<Kelvane.Attachment: " + kelvane::hexAddress(attachment.get()) + ">");

    const std::string wordForm = "<Kelvane.Word: " + kelvane::hexAddress(word.get()) + ">";
    EXPECT_THAT(wordForm, ::testing::MatchesRegex("<Kelvane\\.Word: 0x[0-9a-f]+>"));
    EXPECT_EQ(kelvane::printed(word), "Optional(" + wordForm + ")");
    EXPECT_EQ(kelvane::printed(std::shared_ptr<Word>{}), "nil");
    EXPECT_EQ(kelvane::printed(std::vector<Ref<Word>>{word}), "[" + wordForm + "]");
}

}  // namespace
