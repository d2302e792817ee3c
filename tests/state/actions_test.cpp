// The action types: their printed form in the dispatch log line, and their initializers.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/core/printed.hpp>
#include <kelvane/state.hpp>

#include <gtest/gtest.h>

#include "case_name.hpp"
#include "state/state_access.hpp"
#include "state_test_support.hpp"

namespace {

using kelvane::Action;
using kelvane::makeRef;
using kelvane::printed;
using kelvane::Ref;

// `<Kelvane.Class: 0x…>` for an object, written out rather than computed by the printing code.
template <class T>
std::string object(const char* className, const T& pointer) {
    return std::string("<Kelvane.") + className + ": " + kelvane::hexAddress(pointer.get()) + ">";
}

// UpdateTestNumber's field is framework-internal.
template <class A>
concept NewValReadable = requires(A action) {
    action.newVal;
};
static_assert(!NewValReadable<kelvane::UpdateTestNumber>);

struct PrintCase {
    std::string name;
    std::shared_ptr<const Action> action;
    std::string expected;
};

void PrintTo(const PrintCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<PrintCase> printCases() {
    using namespace kelvane;
    const auto entry = makeRef<UITestEntry>("entry", [](auto) {});
    const auto folder = makeRef<Folder>("Interviews");
    const auto recording = makeRef<Recording>();
    const auto context = makeRef<RecordingListContext>(folder, std::vector<Ref<Recording>>{});
    const auto sentence = makeRef<Sentence>(0);
    const auto word = makeRef<Word>(0, "hello");
    const auto attachment = makeRef<Attachment>("photo");
    const auto pause = std::make_shared<PauseRecordingAction>();

    const std::string ctx = object("RecordingListContext", context);
    const std::string rec = object("Recording", recording);
    return {
        {"StoreInit", std::make_shared<StoreInit>(), "StoreInit()"},
        {"TestAction", std::make_shared<TestAction>(), "TestAction()"},
        {"TestAction1", std::make_shared<TestAction1>(), "TestAction1()"},
        {"UpdateTestNumber", std::make_shared<UpdateTestNumber>(7), "UpdateTestNumber(newVal: 7)"},
        {"UpdateTestNumber negative", std::make_shared<UpdateTestNumber>(-3),
         "UpdateTestNumber(newVal: -3)"},
        {"UITestAddTestEntry", std::make_shared<UITestAddTestEntry>(entry),
         "UITestAddTestEntry(testEntry: Optional(" + object("UITestEntry", entry) + "))"},
        {"UITestOpenTestEntry", std::make_shared<UITestOpenTestEntry>(entry),
         "UITestOpenTestEntry(testEntry: Optional(" + object("UITestEntry", entry) + "))"},
        {"FoldersLoadedAction()", std::make_shared<FoldersLoadedAction>(),
         "FoldersLoadedAction(folders: nil)"},
        {"FoldersLoadedAction empty",
         std::make_shared<FoldersLoadedAction>(std::vector<Ref<Folder>>{}),
         "FoldersLoadedAction(folders: Optional([]))"},
        {"FoldersLoadedAction two",
         std::make_shared<FoldersLoadedAction>(std::vector<Ref<Folder>>{folder, folder}),
         "FoldersLoadedAction(folders: Optional([" + object("Folder", folder) + ", " +
             object("Folder", folder) + "]))"},
        {"AddFolderAction", std::make_shared<AddFolderAction>(folder, 0),
         "AddFolderAction(folder: " + object("Folder", folder) + ", position: 0)"},
        {"RemoveFolderAction", std::make_shared<RemoveFolderAction>(folder),
         "RemoveFolderAction(folder: " + object("Folder", folder) + ")"},
        {"OpenNewRecordingListAction", std::make_shared<OpenNewRecordingListAction>(context),
         "OpenNewRecordingListAction(context: Optional(" + ctx + "))"},
        {"CloseRecordingListAction absent", std::make_shared<CloseRecordingListAction>(nullptr),
         "CloseRecordingListAction(context: nil)"},
        {"SetRecordingListSelectionAction",
         std::make_shared<SetRecordingListSelectionAction>(context, true),
         "SetRecordingListSelectionAction(context: Optional(" + ctx + "), selected: true)"},
        {"SetRecordingSelectedAction",
         std::make_shared<SetRecordingSelectedAction>(nullptr, recording, false),
         "SetRecordingSelectedAction(context: nil, recording: Optional(" + rec +
             "), selected: false)"},
        {"UpdateRecordingListAction",
         std::make_shared<UpdateRecordingListAction>(context,
                                                     std::vector<Ref<Recording>>{recording}),
         "UpdateRecordingListAction(context: Optional(" + ctx + "), recordings: Optional([" + rec +
             "]))"},
        {"UpdateRecordingListAction without recordings",
         std::make_shared<UpdateRecordingListAction>(context, std::nullopt),
         "UpdateRecordingListAction(context: Optional(" + ctx + "), recordings: nil)"},
        {"AddRecordingToFolderAction",
         std::make_shared<AddRecordingToFolderAction>(nullptr, recording),
         "AddRecordingToFolderAction(folder: nil, recording: Optional(" + rec + "))"},
        {"RemoveRecordingAction", std::make_shared<RemoveRecordingAction>(recording),
         "RemoveRecordingAction(recording: Optional(" + rec + "))"},
        {"PauseRecordingAction", pause, object("PauseRecordingAction", pause)},
        {"ResumeRecordingAction", std::make_shared<ResumeRecordingAction>(),
         "Kelvane.ResumeRecordingAction"},
        {"StartRecordingAction", std::make_shared<StartRecordingAction>(),
         "StartRecordingAction()"},
        {"StopRecordingAction", std::make_shared<StopRecordingAction>(), "StopRecordingAction()"},
        {"UpdateRecordingStateAction", std::make_shared<UpdateRecordingStateAction>(-5, 1200),
         "UpdateRecordingStateAction(volume: -5, duration: 1200)"},
        {"HighlightRecordingAction", std::make_shared<HighlightRecordingAction>(false),
         "HighlightRecordingAction(highlight: false)"},
        {"HighlightRecordingSentenceAction",
         std::make_shared<HighlightRecordingSentenceAction>(2, true),
         "HighlightRecordingSentenceAction(sentenceIndex: 2, highlight: true)"},
        {"UpdateRecordingTitleAction absent",
         std::make_shared<UpdateRecordingTitleAction>(std::nullopt),
         "UpdateRecordingTitleAction(title: nil)"},
        {"UpdateRecordingTitleAction quoted",
         std::make_shared<UpdateRecordingTitleAction>("it's \"new\"\n"),
         R"(UpdateRecordingTitleAction(title: Optional("it\'s \"new\"\n")))"},
        {"AddRecordingSentenceAction", std::make_shared<AddRecordingSentenceAction>(sentence),
         "AddRecordingSentenceAction(sentence: Optional(" + object("Sentence", sentence) + "))"},
        {"AddRecordingWordAction absent", std::make_shared<AddRecordingWordAction>(nullptr),
         "AddRecordingWordAction(word: nil)"},
        {"AddRecordingWordAction", std::make_shared<AddRecordingWordAction>(word),
         "AddRecordingWordAction(word: Optional(" + object("Word", word) + "))"},
        {"AddRecordingAttachmentAction", std::make_shared<AddRecordingAttachmentAction>(attachment),
         "AddRecordingAttachmentAction(attachment: Optional(" + object("Attachment", attachment) +
             "))"},
        {"RemoveRecordingAttachmentAction",
         std::make_shared<RemoveRecordingAttachmentAction>(1, -1),
         "RemoveRecordingAttachmentAction(sentenceIndex: 1, attachmentIndex: -1)"},
        {"SelectRecordingAttachmentAction",
         std::make_shared<SelectRecordingAttachmentAction>(attachment),
         "SelectRecordingAttachmentAction(attachment: " + object("Attachment", attachment) + ")"},
        {"ShareRecordingAction", std::make_shared<ShareRecordingAction>(recording),
         "ShareRecordingAction(recordingToShare: " + rec + ")"},
    };
}

class ActionPrintedForm : public ::testing::TestWithParam<PrintCase> {};

TEST_P(ActionPrintedForm, PrintsAsTheDispatchLineShowsIt) {
    EXPECT_EQ(printed(*GetParam().action), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(EveryActionType, ActionPrintedForm, ::testing::ValuesIn(printCases()),
                         kelvane::testing::caseName);

TEST(Actions, InitializersStoreTheirArgumentsAsGiven) {
    EXPECT_EQ(kelvane::UpdateRecordingTitleAction("Morning").title, "Morning");
    EXPECT_EQ(kelvane::UpdateRecordingTitleAction(std::nullopt).title, std::nullopt);
    EXPECT_EQ(kelvane::FoldersLoadedAction().folders, std::nullopt);
    const auto emptyList = kelvane::FoldersLoadedAction(std::vector<Ref<kelvane::Folder>>{});
    ASSERT_TRUE(emptyList.folders.has_value());
    EXPECT_TRUE(emptyList.folders->empty());
    EXPECT_EQ(kelvane::detail::StateAccess::newVal(kelvane::UpdateTestNumber(7)), 7);

    // Made with an object, the optional fields may be cleared later.
    const auto entry = makeRef<kelvane::UITestEntry>("entry", [](auto) {});
    kelvane::UITestAddTestEntry add(entry);
    EXPECT_EQ(add.testEntry, entry.shared());
    add.testEntry = nullptr;
    EXPECT_EQ(printed(add), "UITestAddTestEntry(testEntry: nil)");
}

TEST(Actions, EachPauseActionIsItsOwnObject) {
    const kelvane::PauseRecordingAction first;
    const kelvane::PauseRecordingAction second;
    EXPECT_FALSE(first.isEqual(&second));
    EXPECT_NE(printed(static_cast<const Action&>(first)),
              printed(static_cast<const Action&>(second)));
    // The same object seen as an action and as an object prints the same.
    EXPECT_EQ(printed(static_cast<const Action&>(first)), first.description());
}

}  // namespace
