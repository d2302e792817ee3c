// How the reducers find an action's case: the table of known types must give what the chain of
// dynamic_casts in the reducers' order gives, for every known action, for subclasses of the two
// class actions and for actions no reducer knows, from any thread.
#include "state/action_kind.hpp"

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include <kelvane/state.hpp>

#include <gtest/gtest.h>

#include "case_name.hpp"
#include "state_test_support.hpp"

namespace {

using kelvane::Action;
using kelvane::makeRef;
using kelvane::detail::actionKind;
using kelvane::detail::actionKindByCasts;
using Kind = kelvane::detail::ActionKind;

struct KindCase {
    const char* name;
    std::function<std::shared_ptr<Action>()> make;
    Kind expected;
};

void PrintTo(const KindCase& c, std::ostream* out) {
    *out << c.name;
}

class KnownAction : public ::testing::TestWithParam<KindCase> {};

TEST_P(KnownAction, FindsTheCaseTheCastChainFinds) {
    const auto action = GetParam().make();
    EXPECT_EQ(actionKindByCasts(*action), GetParam().expected);
    EXPECT_EQ(actionKind(*action), GetParam().expected);
}

// The objects the actions carry, made on first use rather than at static initialisation.
struct Objects {
    kelvane::Ref<kelvane::Folder> folder = makeRef<kelvane::Folder>();
    kelvane::Ref<kelvane::RecordingListContext> context = makeRef<kelvane::RecordingListContext>(
        folder, std::vector<kelvane::Ref<kelvane::Recording>>{});
    kelvane::Ref<kelvane::Recording> recording = makeRef<kelvane::Recording>();
    kelvane::Ref<kelvane::Attachment> attachment = makeRef<kelvane::Attachment>("a");
    kelvane::Ref<kelvane::UITestEntry> entry = makeRef<kelvane::UITestEntry>("entry", [](auto) {});
};
const Objects& objects() {
    static const Objects made;
    return made;
}
auto folder() {
    return objects().folder;
}
auto context() {
    return objects().context;
}
auto recording() {
    return objects().recording;
}
auto attachment() {
    return objects().attachment;
}
auto entry() {
    return objects().entry;
}

// An argument as given, or what a function given for it returns.
template <class Arg>
auto argument(const Arg& arg) {
    if constexpr (std::is_invocable_v<Arg>) {
        return arg();
    } else {
        return arg;
    }
}

template <class T, class... Args>
std::function<std::shared_ptr<Action>()> make(Args... args) {
    return [=] { return std::make_shared<T>(argument(args)...); };
}

INSTANTIATE_TEST_SUITE_P(
    ActionKind, KnownAction,
    ::testing::Values(
        KindCase{"StoreInit", make<kelvane::StoreInit>(), Kind::None},
        KindCase{"TestAction1", make<kelvane::TestAction1>(), Kind::None},
        KindCase{"TestAction", make<kelvane::TestAction>(), Kind::TestAction},
        KindCase{"UpdateTestNumber", make<kelvane::UpdateTestNumber>(7), Kind::UpdateTestNumber},
        KindCase{"UITestAddTestEntry", make<kelvane::UITestAddTestEntry>(entry),
                 Kind::UITestAddTestEntry},
        KindCase{"UITestOpenTestEntry", make<kelvane::UITestOpenTestEntry>(entry),
                 Kind::UITestOpenTestEntry},
        KindCase{"FoldersLoadedAction", make<kelvane::FoldersLoadedAction>(), Kind::FoldersLoaded},
        KindCase{"AddFolderAction", make<kelvane::AddFolderAction>(folder, 0), Kind::AddFolder},
        KindCase{"RemoveFolderAction", make<kelvane::RemoveFolderAction>(folder),
                 Kind::RemoveFolder},
        KindCase{"OpenNewRecordingListAction", make<kelvane::OpenNewRecordingListAction>(context),
                 Kind::OpenNewRecordingList},
        KindCase{"CloseRecordingListAction", make<kelvane::CloseRecordingListAction>(context),
                 Kind::CloseRecordingList},
        KindCase{"SetRecordingListSelectionAction",
                 make<kelvane::SetRecordingListSelectionAction>(context, true),
                 Kind::SetRecordingListSelection},
        KindCase{"SetRecordingSelectedAction",
                 make<kelvane::SetRecordingSelectedAction>(context, recording, true),
                 Kind::SetRecordingSelected},
        KindCase{"UpdateRecordingListAction",
                 make<kelvane::UpdateRecordingListAction>(
                     context, std::optional<std::vector<kelvane::Ref<kelvane::Recording>>>{}),
                 Kind::UpdateRecordingList},
        KindCase{"AddRecordingToFolderAction",
                 make<kelvane::AddRecordingToFolderAction>(folder, recording),
                 Kind::AddRecordingToFolder},
        KindCase{"RemoveRecordingAction", make<kelvane::RemoveRecordingAction>(recording),
                 Kind::RemoveRecording},
        KindCase{"PauseRecordingAction", make<kelvane::PauseRecordingAction>(),
                 Kind::PauseRecording},
        KindCase{"ResumeRecordingAction", make<kelvane::ResumeRecordingAction>(),
                 Kind::ResumeRecording},
        KindCase{"StopRecordingAction", make<kelvane::StopRecordingAction>(), Kind::StopRecording},
        KindCase{"StartRecordingAction", make<kelvane::StartRecordingAction>(),
                 Kind::StartRecording},
        KindCase{"UpdateRecordingStateAction", make<kelvane::UpdateRecordingStateAction>(1, 2),
                 Kind::UpdateRecordingState},
        KindCase{"HighlightRecordingAction", make<kelvane::HighlightRecordingAction>(true),
                 Kind::HighlightRecording},
        KindCase{"HighlightRecordingSentenceAction",
                 make<kelvane::HighlightRecordingSentenceAction>(0, true),
                 Kind::HighlightRecordingSentence},
        KindCase{"UpdateRecordingTitleAction",
                 make<kelvane::UpdateRecordingTitleAction>(std::optional<std::string>("t")),
                 Kind::UpdateRecordingTitle},
        KindCase{"AddRecordingSentenceAction",
                 make<kelvane::AddRecordingSentenceAction>(std::shared_ptr<kelvane::Sentence>()),
                 Kind::AddRecordingSentence},
        KindCase{"AddRecordingWordAction",
                 make<kelvane::AddRecordingWordAction>(std::shared_ptr<kelvane::Word>()),
                 Kind::AddRecordingWord},
        KindCase{"AddRecordingAttachmentAction",
                 make<kelvane::AddRecordingAttachmentAction>(attachment),
                 Kind::AddRecordingAttachment},
        KindCase{"RemoveRecordingAttachmentAction",
                 make<kelvane::RemoveRecordingAttachmentAction>(0, 0),
                 Kind::RemoveRecordingAttachment},
        KindCase{"SelectRecordingAttachmentAction",
                 make<kelvane::SelectRecordingAttachmentAction>(attachment),
                 Kind::SelectRecordingAttachment},
        KindCase{"ShareRecordingAction", make<kelvane::ShareRecordingAction>(recording),
                 Kind::ShareRecording}),
    kelvane::testing::caseName);

// Types outside the table: classified by the chain when first seen, then remembered.
class LongPause : public kelvane::PauseRecordingAction {};
class QuickResume : public kelvane::ResumeRecordingAction {};
class PauseAndResume : public kelvane::PauseRecordingAction,
                       public kelvane::ResumeRecordingAction {};
struct HostAction : Action {};

TEST(ActionKind, OtherTypesTakeTheFirstCaseTheyConvertToAndKeepIt) {
    const LongPause longPause;
    const QuickResume quickResume;
    const PauseAndResume both;
    const HostAction host;
    // Through either Action base of `both`: the pause case comes first, as in the reducer.
    const Action& bothAsResume = static_cast<const kelvane::ResumeRecordingAction&>(both);
    for (int sight = 0; sight < 2; ++sight) {
        EXPECT_EQ(actionKind(longPause), Kind::PauseRecording);
        EXPECT_EQ(actionKind(quickResume), Kind::ResumeRecording);
        EXPECT_EQ(actionKind(bothAsResume), Kind::PauseRecording);
        EXPECT_EQ(actionKind(host), Kind::None);
    }
    EXPECT_EQ(actionKindByCasts(bothAsResume), Kind::PauseRecording);
}

TEST(ActionKind, AnActionNoReducerKnowsPassesThroughUnchanged) {
    statetest::LogReader log;
    statetest::Reduction reduction;
    reduction.apply(kelvane::UITestAddTestEntry(entry()));
    reduction.apply(kelvane::OpenNewRecordingListAction(context()));
    reduction.apply(kelvane::StartRecordingAction());
    const std::string before = statetest::snapshot(reduction.state());

    reduction.apply(HostAction());
    EXPECT_EQ(statetest::snapshot(reduction.state()), before);
    EXPECT_TRUE(log.messages().empty());

    const PauseAndResume both;
    reduction.apply(static_cast<const kelvane::ResumeRecordingAction&>(both));
    EXPECT_TRUE(reduction.state().recording().isPause());
}

// Stores on different threads may meet a new type at the same moment.
template <int N>
struct ThreadPause : kelvane::PauseRecordingAction {};
template <int N>
struct ThreadHostAction : Action {};

TEST(ActionKind, NewTypesMetOnSeveralThreadsAtOnceAreClassifiedAlike) {
    std::vector<std::thread> threads;
    std::vector<int> wrong(8, 0);
    for (std::size_t t = 0; t < wrong.size(); ++t) {
        threads.emplace_back([&wrong, t] {
            for (int round = 0; round < 100; ++round) {
                wrong[t] += actionKind(ThreadPause<1>()) != Kind::PauseRecording;
                wrong[t] += actionKind(ThreadPause<2>()) != Kind::PauseRecording;
                wrong[t] += actionKind(ThreadHostAction<1>()) != Kind::None;
                wrong[t] += actionKind(ThreadHostAction<2>()) != Kind::None;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, std::vector<int>(8, 0));
}

}  // namespace
