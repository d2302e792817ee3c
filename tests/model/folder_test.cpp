#include <memory>
#include <type_traits>
#include <vector>

#include <kelvane/model/folder.hpp>
#include <kelvane/model/recording_list_context.hpp>
#include <kelvane/model/tarray.hpp>

#include <gtest/gtest.h>

#include "model/model_access.hpp"

namespace {

using kelvane::Folder;
using kelvane::Recording;
using kelvane::RecordingListContext;
using kelvane::Ref;
using kelvane::detail::ModelAccess;

TEST(Folder, IsNamedByItsInitializer) {
    EXPECT_EQ(Folder().name(), "Default Folder");
    EXPECT_EQ(Folder("").name(), "");
    EXPECT_EQ(Folder("Work").name(), "Work");

    const auto folder = std::make_shared<Folder>();
    EXPECT_EQ(folder->description(), "<Kelvane.Folder: " + kelvane::hexAddress(folder.get()) + ">");
}

TEST(Folder, SameNameIsAnotherFolder) {
    const auto work = std::make_shared<Folder>("Work");
    const auto otherWork = std::make_shared<Folder>("Work");
    EXPECT_FALSE(work->isEqual(otherWork.get()));

    kelvane::TArray<Folder> folders;
    folders.append(otherWork);
    folders.append(work);
    EXPECT_EQ(folders.firstIndex(work), 1);
    EXPECT_EQ(folders.firstIndex(std::make_shared<Folder>("Work")), std::nullopt);
}

TEST(RecordingListContext, StartsWithItsArguments) {
    static_assert(!std::is_default_constructible_v<RecordingListContext>);
    const auto folder = std::make_shared<Folder>("Inbox");
    const auto recording = std::make_shared<Recording>();

    const auto empty =
        std::make_shared<RecordingListContext>(folder, std::vector<Ref<Recording>>{});
    EXPECT_EQ(empty->folder(), folder);
    EXPECT_TRUE(empty->recordings().empty());
    EXPECT_FALSE(empty->isSelectionMode());

    const RecordingListContext filled(folder, {recording, recording});
    EXPECT_EQ(filled.recordings(), (std::vector<Ref<Recording>>{recording, recording}));
    EXPECT_EQ(empty->description(),
              "<Kelvane.RecordingListContext: " + kelvane::hexAddress(empty.get()) + ">");
}

TEST(RecordingListContext, RecordingsReadAsACopyWhileInPlaceChangesReachEveryHolder) {
    const auto context = std::make_shared<RecordingListContext>(std::make_shared<Folder>(),
                                                                std::vector<Ref<Recording>>{});
    const auto sameContext = context;
    const auto recording = std::make_shared<Recording>();

    auto copy = context->recordings();
    copy.push_back(recording);
    EXPECT_TRUE(context->recordings().empty());

    ModelAccess::recordings(*context).push_back(recording);
    ModelAccess::isSelectionMode(*context) = true;
    EXPECT_EQ(sameContext->recordings(), std::vector<Ref<Recording>>{recording});
    EXPECT_TRUE(sameContext->isSelectionMode());
}

TEST(RecordingListContext, KeepsItsFolderAliveWhereParentFolderDoesNot) {
    auto folder = std::make_shared<Folder>("Kept");
    auto recording = std::make_shared<Recording>();
    ModelAccess::parentFolder(*recording) = folder;
    auto context =
        std::make_shared<RecordingListContext>(folder, std::vector<Ref<Recording>>{recording});
    const std::weak_ptr<Folder> watchFolder = folder;
    const std::weak_ptr<Recording> watchRecording = recording;

    folder.reset();
    recording.reset();
    ASSERT_FALSE(watchFolder.expired());
    EXPECT_EQ(context->recordings().front()->parentFolder(), context->folder().shared());

    // No cycle through parentFolder: dropping the context releases the folder and the recording.
    context.reset();
    EXPECT_TRUE(watchFolder.expired());
    EXPECT_TRUE(watchRecording.expired());
}

}  // namespace
