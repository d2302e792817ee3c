// The folder reducer: the folder list's identity and in-place edits, the open recording lists and
// their log lines.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/state.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "state/reducers.hpp"
#include "state_test_support.hpp"

namespace {

using kelvane::Folder;
using kelvane::makeRef;
using kelvane::Recording;
using kelvane::RecordingListContext;
using kelvane::Ref;
using kelvane::TArray;
using statetest::Reduction;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Folders = std::vector<std::shared_ptr<Folder>>;
using Recordings = std::vector<Ref<Recording>>;

Folders elementsOf(const TArray<Folder>& list) {
    Folders elements;
    for (std::int64_t i = 0; i < list.count(); ++i) {
        elements.push_back(list[i]);
    }
    return elements;
}

Ref<RecordingListContext> contextOf(const Ref<Folder>& folder, Recordings recordings = {}) {
    return makeRef<RecordingListContext>(folder, std::move(recordings));
}

std::string printedContext(const Ref<RecordingListContext>& context) {
    return "Optional(<Kelvane.RecordingListContext: " + kelvane::hexAddress(context.get()) + ">)";
}

class FolderReducer : public ::testing::Test {
  protected:
    const kelvane::FolderState& folders() const { return reduction.state().folderState(); }
    const std::vector<Ref<RecordingListContext>>& open() const {
        return folders().recordingListContexts();
    }

    statetest::LogReader log;
    Reduction reduction;
    const Ref<Folder> inbox = makeRef<Folder>("Inbox");
    const Ref<Folder> work = makeRef<Folder>("Work");
};

TEST_F(FolderReducer, FolderListsCompareByIdentity) {
    const auto first = kelvane::folderReducer(kelvane::StoreInit(), std::nullopt);
    const auto second = kelvane::folderReducer(kelvane::StoreInit(), std::nullopt);
    EXPECT_FALSE(*first.folders() == *second.folders()) << "each first reduction has its own list";

    reduction.apply(kelvane::AddFolderAction(inbox, 0));
    const auto before = reduction.state().folderState().folders();
    reduction.apply(kelvane::FoldersLoadedAction({inbox}));
    const auto& after = folders().folders();
    EXPECT_FALSE(*before == *after) << "loading makes a new list, even with the same folders";
    EXPECT_TRUE(*before == *reduction.previous().folderState().folders());
    EXPECT_EQ(elementsOf(*before), Folders{inbox}) << "the old list is unchanged";
    EXPECT_EQ(elementsOf(*after), Folders{inbox});

    reduction.apply(kelvane::AddFolderAction(work, 1));
    EXPECT_TRUE(*folders().folders() == *after) << "adding edits the same list in place";
    EXPECT_EQ(elementsOf(*reduction.previous().folderState().folders()), (Folders{inbox, work}))
        << "the old state holds the same list and shows the new folder";
}

TEST_F(FolderReducer, LoadsFoldersInOrderAndEditsThemInPlace) {
    const Ref<Folder> archive = makeRef<Folder>("Archive");
    reduction.apply(kelvane::FoldersLoadedAction({inbox, work}));
    EXPECT_EQ(elementsOf(*folders().folders()), (Folders{inbox, work}));

    reduction.apply(kelvane::AddFolderAction(archive, 2));  // the count appends
    reduction.apply(kelvane::AddFolderAction(archive, 0));  // no test for duplicates
    EXPECT_EQ(elementsOf(*folders().folders()), (Folders{archive, inbox, work, archive}));

    reduction.apply(kelvane::RemoveFolderAction(archive));
    EXPECT_EQ(elementsOf(*folders().folders()), (Folders{inbox, work, archive}))
        << "only the first occurrence goes";
    reduction.apply(kelvane::RemoveFolderAction(makeRef<Folder>("Inbox")));
    EXPECT_EQ(elementsOf(*folders().folders()), (Folders{inbox, work, archive}))
        << "a folder with the same name is another folder";

    reduction.apply(kelvane::FoldersLoadedAction(std::vector<Ref<Folder>>{}));
    EXPECT_EQ(folders().folders()->count(), 0);
    reduction.apply(kelvane::AddFolderAction(work, 5));
    EXPECT_EQ(elementsOf(*folders().folders()), Folders{work})
        << "an empty list ignores the position";
}

TEST_F(FolderReducer, OpensAndClosesRecordingListsAndLogsMisuse) {
    const auto first = contextOf(inbox);
    const auto second = contextOf(work);
    reduction.apply(kelvane::OpenNewRecordingListAction(first));
    reduction.apply(kelvane::OpenNewRecordingListAction(second));
    EXPECT_EQ(open(), (std::vector<Ref<RecordingListContext>>{first, second}));
    EXPECT_EQ(folders().newRecordingListContext(), second.shared());
    EXPECT_THAT(log.messages(), IsEmpty());

    reduction.apply(kelvane::OpenNewRecordingListAction(first));
    EXPECT_EQ(open(), (std::vector<Ref<RecordingListContext>>{first, second}));
    EXPECT_EQ(folders().newRecordingListContext(), second.shared()) << "nothing changes";

    reduction.apply(kelvane::CloseRecordingListAction(first));
    EXPECT_EQ(open(), std::vector<Ref<RecordingListContext>>{second});
    EXPECT_EQ(folders().newRecordingListContext(), nullptr)
        << "closing any list clears the newest one";
    EXPECT_EQ(reduction.previous().folderState().recordingListContexts().size(), 2U)
        << "the list of open contexts is copied with the record";

    reduction.apply(kelvane::CloseRecordingListAction(first));
    reduction.apply(kelvane::UpdateRecordingListAction(first, Recordings{makeRef<Recording>()}));
    EXPECT_THAT(first->recordings(), IsEmpty());
    EXPECT_EQ(open(), std::vector<Ref<RecordingListContext>>{second});

    EXPECT_THAT(log.messages(), ElementsAre("context already exist " + printedContext(first),
                                            "context not exist" + printedContext(first),
                                            "context not exist" + printedContext(first)));
}

TEST_F(FolderReducer, ChangesContextsAndRecordingsInPlace) {
    const auto a = makeRef<Recording>();
    const auto b = makeRef<Recording>();
    const auto inInbox = contextOf(inbox, {a});
    const auto alsoInbox = contextOf(inbox);
    const auto inWork = contextOf(work, {a, b, a});
    const auto closed = contextOf(inbox);
    for (const auto& context : {inInbox, alsoInbox, inWork}) {
        reduction.apply(kelvane::OpenNewRecordingListAction(context));
    }

    reduction.apply(kelvane::SetRecordingListSelectionAction(closed, true));
    reduction.apply(kelvane::SetRecordingListSelectionAction(inWork, true));
    EXPECT_TRUE(closed->isSelectionMode()) << "open or not";
    EXPECT_TRUE(inWork->isSelectionMode());
    EXPECT_FALSE(inInbox->isSelectionMode());

    reduction.apply(kelvane::SetRecordingSelectedAction(nullptr, b, true));
    EXPECT_TRUE(b->selected());
    EXPECT_FALSE(a->selected());

    reduction.apply(kelvane::AddRecordingToFolderAction(inbox, a));
    EXPECT_EQ(inInbox->recordings(), (Recordings{a, a})) << "no test for duplicates";
    EXPECT_EQ(alsoInbox->recordings(), Recordings{a});
    EXPECT_EQ(inWork->recordings(), (Recordings{a, b, a}));
    EXPECT_THAT(closed->recordings(), IsEmpty()) << "only open lists";

    reduction.apply(kelvane::AddRecordingToFolderAction(nullptr, b));
    EXPECT_EQ(inInbox->recordings(), (Recordings{a, a})) << "every context has a folder";

    reduction.apply(kelvane::RemoveRecordingAction(a));
    EXPECT_EQ(inInbox->recordings(), Recordings{a}) << "one occurrence per context";
    EXPECT_THAT(alsoInbox->recordings(), IsEmpty());
    EXPECT_EQ(inWork->recordings(), (Recordings{b, a}));

    reduction.apply(kelvane::UpdateRecordingListAction(inWork, Recordings{a}));
    EXPECT_EQ(inWork->recordings(), Recordings{a});
    EXPECT_EQ(reduction.previous().folderState().recordingListContexts().back()->recordings(),
              Recordings{a})
        << "the old state holds the same context and shows the change";
    reduction.apply(kelvane::UpdateRecordingListAction(inWork, std::nullopt));
    EXPECT_THAT(inWork->recordings(), IsEmpty()) << "absent recordings empty the list";
    EXPECT_THAT(log.messages(), IsEmpty());
}

}  // namespace
