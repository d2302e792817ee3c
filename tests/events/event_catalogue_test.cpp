// The catalogue of events: which constructors each class offers, what they store, and every
// description, character for character.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include <kelvane/events.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "event_test_support.hpp"

// A host application's own events, described without their namespaces too.
namespace host::screens {
class CustomEvent final : public kelvane::Event {};
template <class T>
class Wrapped final : public kelvane::Event {};
}  // namespace host::screens

namespace {

using namespace kelvane;  // NOLINT: the catalogue's names are the subject here
using kelvane::testing::EventTest;
using ::testing::ElementsAre;

using Sender = std::shared_ptr<Object>;

// Payload-free classes offer the base constructors unchanged; payload classes only their own.
template <class E>
constexpr bool offersTheBaseConstructors =
    std::is_default_constructible_v<E>&& std::is_constructible_v<E, Sender>;
template <class E>
constexpr bool offersNoBaseConstructor =
    !std::is_default_constructible_v<E> && !std::is_constructible_v<E, Sender>;

template <class... E>
constexpr bool allOfferTheBaseConstructors = (offersTheBaseConstructors<E> && ...);
template <class... E>
constexpr bool noneOffersABaseConstructor = (offersNoBaseConstructor<E> && ...);

static_assert(
    allOfferTheBaseConstructors<
        Event, UIOpenMenuEvent, UICloseMenuEvent, UIOpenMyConversationsEvent, UIOpenTrashEvent,
        UIOpenSettingsEvent, ExportFilesDidReady, UIAddFolderEvent, RecordingListDidOpen,
        UIPauseRecordingEvent, UIResumeRecordingEvent, UIStopRecordingEvent, UIRecordingTakePhoto,
        UIRecordingHighlight, UIRecordingAttachedDidSelectEvent, UIRecordingCollapsedEvent,
        UIRecordingExpandedEvent, UIRecordingExportAudioEvent, UIOpenRecordingExportTextEvent,
        UIRecordingSaveSelectedAttachmentEvent, UIRecordingRemoveAttachmentEvent,
        UIRecordingShareEvent>);
static_assert(noneOffersABaseConstructor<
              UIOpenFolderEvent, FolderDidAddEvent, FolderDidRemoveEvent, UICreateNewFolderEvent,
              UIRemoveFolderEvent, UIRecordingSentenceDidAddEvent,
              UIRecordingSentenceWordsDidAddEvent, UIRecordingSentenceAttachmentDidAddEvent,
              UIRecordingSentenceAttachmentDidRemoveEvent, UIDeleteRecordingEvent,
              UIOpenRecordingEvent, UIPreviewRecordingEvent, RecordingDidAdd, RecordingDidRemove>);
// Required payload arguments cannot be left out, and the sender-less classes take no sender.
static_assert(!std::is_constructible_v<FolderDidAddEvent, Sender, Ref<Folder>>);
static_assert(!std::is_constructible_v<UIOpenFolderEvent, Sender, std::nullptr_t>);
static_assert(!std::is_constructible_v<UIOpenRecordingEvent, Sender, Ref<Recording>>);
static_assert(!std::is_constructible_v<RecordingDidRemove, Ref<Recording>>);
static_assert(!std::is_convertible_v<Ref<Recording>, UIOpenRecordingEvent>);

// A model object as descriptions show it.
std::string shown(const char* className, const void* address) {
    return std::string("<Kelvane.") + className + ": " + hexAddress(address) + ">";
}

struct DescriptionCase {
    std::shared_ptr<Event> event;
    std::string expected;
};

TEST(EventCatalogue, DescribesEveryEventByItsClassAndItsFormat) {
    const Sender s = std::make_shared<Object>();
    const auto folder = std::make_shared<Folder>("Work");
    const auto sentence = std::make_shared<Sentence>(12);
    const auto word = std::make_shared<Word>(3, "hello");
    const auto attachment = std::make_shared<Attachment>("photo-1");
    const auto recording = std::make_shared<Recording>();
    const std::string f = "Optional(" + shown("Folder", folder.get()) + ")";

    const auto emptied = std::make_shared<FolderDidAddEvent>(s, folder, 4);
    emptied->newFolder = nullptr;
    emptied->position = std::nullopt;
    const auto sentenceWithoutPosition =
        std::make_shared<UIRecordingSentenceDidAddEvent>(s, sentence, 1);
    sentenceWithoutPosition->position = std::nullopt;

    const std::vector<DescriptionCase> cases{
        {std::make_shared<Event>(), "Event"},
        {std::make_shared<host::screens::CustomEvent>(), "CustomEvent"},
        {std::make_shared<host::screens::Wrapped<Folder>>(), "Wrapped<Kelvane.Folder>"},
        {std::make_shared<UIOpenMenuEvent>(), "UIOpenMenuEvent"},
        {std::make_shared<UICloseMenuEvent>(s), "UICloseMenuEvent"},
        {std::make_shared<UIOpenMyConversationsEvent>(), "UIOpenMyConversationsEvent"},
        {std::make_shared<UIOpenTrashEvent>(), "UIOpenTrashEvent"},
        {std::make_shared<UIOpenSettingsEvent>(), "UIOpenSettingsEvent"},
        {std::make_shared<ExportFilesDidReady>(), "ExportFilesDidReady"},
        {std::make_shared<UIOpenFolderEvent>(s, folder), "UIOpenFolderEvent; folder = " + f + ";"},
        {std::make_shared<UIAddFolderEvent>(s), "UIAddFolderEvent"},
        {std::make_shared<FolderDidAddEvent>(s, folder, 2),
         "FolderDidAddEvent; newFolder = " + f + "; Optional(2);"},
        {std::make_shared<FolderDidAddEvent>(nullptr, folder, 0),
         "FolderDidAddEvent; newFolder = " + f + "; Optional(0);"},
        {emptied, "FolderDidAddEvent; newFolder = nil; nil;"},
        {std::make_shared<FolderDidRemoveEvent>(s, folder, -1),
         "FolderDidRemoveEvent; folder = " + f + "; Optional(-1);"},
        {std::make_shared<UICreateNewFolderEvent>(s, "Work"),
         "UICreateNewFolderEvent; Optional(\"Work\");"},
        {std::make_shared<UICreateNewFolderEvent>(s, "say \"hi\"\n\\"),
         R"(UICreateNewFolderEvent; Optional("say \"hi\"\n\\");)"},
        {std::make_shared<UICreateNewFolderEvent>(s, std::nullopt), "UICreateNewFolderEvent; nil;"},
        {std::make_shared<UIRemoveFolderEvent>(s, folder), "UIRemoveFolderEvent; " + f + ";"},
        {std::make_shared<UIRemoveFolderEvent>(s, nullptr), "UIRemoveFolderEvent; nil;"},

        {std::make_shared<RecordingListDidOpen>(), "RecordingListDidOpen"},
        {std::make_shared<UIPauseRecordingEvent>(s), "UIPauseRecordingEvent"},
        {std::make_shared<UIResumeRecordingEvent>(), "UIResumeRecordingEvent"},
        {std::make_shared<UIStopRecordingEvent>(), "UIStopRecordingEvent"},
        {std::make_shared<UIRecordingTakePhoto>(), "UIRecordingTakePhoto"},
        {std::make_shared<UIRecordingHighlight>(), "UIRecordingHighlight"},
        {std::make_shared<UIRecordingSentenceDidAddEvent>(s, sentence, 1),
         "UIRecordingSentenceDidAddEvent; newSentence = Optional(" +
             shown("Sentence", sentence.get()) + "); Optional(1);"},
        {sentenceWithoutPosition, "UIRecordingSentenceDidAddEvent; newSentence = Optional(" +
                                      shown("Sentence", sentence.get()) + "); nil;"},
        {std::make_shared<UIRecordingSentenceWordsDidAddEvent>(s, word),
         "UIRecordingSentenceWordsDidAddEvent; word = Optional(" + shown("Word", word.get()) +
             ");"},
        {std::make_shared<UIRecordingSentenceAttachmentDidAddEvent>(s, attachment, 1),
         "UIRecordingSentenceAttachmentDidAddEvent; attachment = Optional(" +
             shown("Attachment", attachment.get()) + "); Optional(1)"},
        {std::make_shared<UIRecordingSentenceAttachmentDidRemoveEvent>(s, 2, 0),
         "UIRecordingSentenceAttachmentDidRemoveEvent; sentenceIndex = Optional(2); "
         "attachmentIndex = Optional(0)"},
        {std::make_shared<UIRecordingSentenceAttachmentDidRemoveEvent>(nullptr, -3, INT64_MIN),
         "UIRecordingSentenceAttachmentDidRemoveEvent; sentenceIndex = Optional(-3); "
         "attachmentIndex = Optional(-9223372036854775808)"},
        {std::make_shared<UIRecordingAttachedDidSelectEvent>(),
         "UIRecordingAttachedDidSelectEvent"},
        {std::make_shared<UIRecordingCollapsedEvent>(), "UIRecordingCollapsedEvent"},
        {std::make_shared<UIRecordingExpandedEvent>(), "UIRecordingExpandedEvent"},
        {std::make_shared<UIRecordingExportAudioEvent>(), "UIRecordingExportAudioEvent"},
        {std::make_shared<UIOpenRecordingExportTextEvent>(), "UIOpenRecordingExportTextEvent"},
        {std::make_shared<UIRecordingSaveSelectedAttachmentEvent>(),
         "UIRecordingSaveSelectedAttachmentEvent"},
        {std::make_shared<UIRecordingRemoveAttachmentEvent>(), "UIRecordingRemoveAttachmentEvent"},
        {std::make_shared<UIRecordingShareEvent>(), "UIRecordingShareEvent"},
        {std::make_shared<UIDeleteRecordingEvent>(std::vector<Ref<Recording>>{}),
         "UIDeleteRecordingEvent"},
        {std::make_shared<UIDeleteRecordingEvent>(std::vector<Ref<Recording>>{recording}),
         "UIDeleteRecordingEvent"},
        {std::make_shared<UIOpenRecordingEvent>(recording), "UIOpenRecordingEvent"},
        {std::make_shared<UIPreviewRecordingEvent>(recording), "UIPreviewRecordingEvent"},
        {std::make_shared<RecordingDidAdd>(recording), "RecordingDidAdd"},
        {std::make_shared<RecordingDidRemove>(recording, nullptr), "RecordingDidRemove"},
        {std::make_shared<RecordingDidRemove>(recording, folder), "RecordingDidRemove"},
    };
    for (const DescriptionCase& c : cases) {
        EXPECT_EQ(c.event->description(), c.expected);
    }
}

TEST(EventCatalogue, TwoFoldersOfOneNameShowTwoAddresses) {
    const auto work = std::make_shared<Folder>("Work");
    const auto otherWork = std::make_shared<Folder>("Work");
    const UIOpenFolderEvent first(nullptr, work);
    const UIRemoveFolderEvent again(nullptr, work);
    const UIOpenFolderEvent other(nullptr, otherWork);

    EXPECT_THAT(first.description(), ::testing::HasSubstr(hexAddress(work.get())));
    EXPECT_THAT(again.description(), ::testing::HasSubstr(hexAddress(work.get())));
    EXPECT_NE(first.description(), other.description());
}

TEST(EventCatalogue, ConstructorsStoreTheirArgumentsInTheirFields) {
    const Sender s = std::make_shared<Object>();
    const auto folder = std::make_shared<Folder>();
    const auto recording = std::make_shared<Recording>();

    EXPECT_EQ(UIAddFolderEvent(s).sender, s);
    EXPECT_EQ(UIPauseRecordingEvent().sender, nullptr);

    const FolderDidRemoveEvent removed(s, folder, 7);
    EXPECT_EQ(removed.sender, s);
    EXPECT_EQ(removed.folder, folder);
    EXPECT_EQ(removed.position, 7);

    // The sender-less classes, and the fields their `recording` argument lands in.
    const UIOpenRecordingEvent open(recording);
    const UIPreviewRecordingEvent preview(recording);
    const RecordingDidAdd added(recording);
    const RecordingDidRemove removedRecording(recording, nullptr);
    const UIDeleteRecordingEvent deleted({recording, recording});
    EXPECT_EQ(open.recordingForOpen, recording);
    EXPECT_EQ(preview.recordingForPreview, recording);
    EXPECT_EQ(added.newRecording, recording);
    EXPECT_EQ(removedRecording.recording, recording);
    EXPECT_EQ(removedRecording.fromFolder, nullptr);
    EXPECT_EQ(deleted.recordings, (std::vector<Ref<Recording>>{recording, recording}));
    for (const Event* e : std::initializer_list<const Event*>{&open, &preview, &added,
                                                              &removedRecording, &deleted}) {
        EXPECT_EQ(e->sender, nullptr) << e->description();
    }
}

class SenderlessEvent : public EventTest {};

TEST_F(SenderlessEvent, ReachesBoundHandlersOnceItsSenderIsSet) {
    const auto screen = makeRef<Object>();
    center->addEventHandler(handler("all"));
    center->addEventHandler(screen, handler("screen"));
    const auto event = std::make_shared<RecordingDidAdd>(std::make_shared<Recording>());

    center->send(event);
    event->sender = screen.shared();
    center->send(event);

    EXPECT_THAT(*journal, ElementsAre("all:RecordingDidAdd", "all:RecordingDidAdd",
                                      "screen:RecordingDidAdd"));
}

}  // namespace
