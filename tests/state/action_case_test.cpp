// How the reducers find an action's case: the first listed action type, in its reducer's order,
// that the action is an instance of. Every framework action, subclasses of the two class actions
// and actions that no reducer knows, from any thread.
#include "state/action_case.hpp"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <type_traits>
#include <variant>
#include <vector>

#include <kelvane/platform/object.hpp>
#include <kelvane/state.hpp>

#include <gtest/gtest.h>

#include "case_name.hpp"
#include "state_test_support.hpp"

namespace {

using kelvane::Action;
using kelvane::makeRef;
using kelvane::detail::actionCase;
using kelvane::detail::ActionCase;

// "reducer: ListedType", or "none"; and whether the case refers to `action` itself.
std::string describe(const ActionCase& found, const Action& action) {
    static const char* const reducers[] = {"none", "recording", "folders", "test entries", "root"};
    std::string text = reducers[found.index()];
    std::visit(
        [&](const auto& actions) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(actions)>, std::monostate>) {
                std::visit(
                    [&](const auto* listed) {
                        using Listed = std::remove_cvref_t<decltype(*listed)>;
                        text += ": " + kelvane::unqualifiedTypeName(typeid(Listed));
                        if (dynamic_cast<const void*>(listed) !=
                            dynamic_cast<const void*>(&action)) {
                            text += " (another object)";
                        }
                    },
                    actions);
            }
        },
        found);
    return text;
}

struct CaseRow {
    const char* name;
    std::function<std::shared_ptr<const Action>()> make;
    std::string expected;
};

void PrintTo(const CaseRow& row, std::ostream* out) {
    *out << row.name;
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

// Makes a T, seen through its base `Seen` (to pick one of several Action bases).
template <class T, class Seen = T, class... Args>
std::function<std::shared_ptr<const Action>()> make(Args... args) {
    return [=]() -> std::shared_ptr<const Action> {
        const auto made = std::make_shared<const T>(argument(args)...);
        return std::shared_ptr<const Seen>(made, made.get());
    };
}

// Subclasses of the class actions, and actions of a host application.
class LongPause : public kelvane::PauseRecordingAction {};
class QuickResume : public kelvane::ResumeRecordingAction {};
class PauseAndResume : public kelvane::PauseRecordingAction,
                       public kelvane::ResumeRecordingAction {};
struct HostAction : Action {};
struct PauseOnAHostBase : kelvane::PauseRecordingAction, HostAction {};

std::vector<CaseRow> rows() {
    using namespace kelvane;
    using Recordings = std::optional<std::vector<Ref<Recording>>>;
    return {
        {"StoreInit", make<StoreInit>(), "none"},
        {"TestAction1", make<TestAction1>(), "none"},
        {"TestAction", make<TestAction>(), "root: TestAction"},
        {"UpdateTestNumber", make<UpdateTestNumber>(7), "root: UpdateTestNumber"},
        {"UITestAddTestEntry", make<UITestAddTestEntry>(entry), "test entries: UITestAddTestEntry"},
        {"UITestOpenTestEntry", make<UITestOpenTestEntry>(entry),
         "test entries: UITestOpenTestEntry"},
        {"FoldersLoadedAction", make<FoldersLoadedAction>(), "folders: FoldersLoadedAction"},
        {"AddFolderAction", make<AddFolderAction>(folder, 0), "folders: AddFolderAction"},
        {"RemoveFolderAction", make<RemoveFolderAction>(folder), "folders: RemoveFolderAction"},
        {"OpenNewRecordingListAction", make<OpenNewRecordingListAction>(context),
         "folders: OpenNewRecordingListAction"},
        {"CloseRecordingListAction", make<CloseRecordingListAction>(context),
         "folders: CloseRecordingListAction"},
        {"SetRecordingListSelectionAction", make<SetRecordingListSelectionAction>(context, true),
         "folders: SetRecordingListSelectionAction"},
        {"SetRecordingSelectedAction", make<SetRecordingSelectedAction>(context, recording, true),
         "folders: SetRecordingSelectedAction"},
        {"UpdateRecordingListAction", make<UpdateRecordingListAction>(context, Recordings{}),
         "folders: UpdateRecordingListAction"},
        {"AddRecordingToFolderAction", make<AddRecordingToFolderAction>(folder, recording),
         "folders: AddRecordingToFolderAction"},
        {"RemoveRecordingAction", make<RemoveRecordingAction>(recording),
         "folders: RemoveRecordingAction"},
        {"PauseRecordingAction", make<PauseRecordingAction>(), "recording: PauseRecordingAction"},
        {"ResumeRecordingAction", make<ResumeRecordingAction>(),
         "recording: ResumeRecordingAction"},
        {"StopRecordingAction", make<StopRecordingAction>(), "recording: StopRecordingAction"},
        {"StartRecordingAction", make<StartRecordingAction>(), "recording: StartRecordingAction"},
        {"UpdateRecordingStateAction", make<UpdateRecordingStateAction>(1, 2),
         "recording: UpdateRecordingStateAction"},
        {"HighlightRecordingAction", make<HighlightRecordingAction>(true),
         "recording: HighlightRecordingAction"},
        {"HighlightRecordingSentenceAction", make<HighlightRecordingSentenceAction>(0, true),
         "recording: HighlightRecordingSentenceAction"},
        {"UpdateRecordingTitleAction",
         make<UpdateRecordingTitleAction>(std::optional<std::string>("t")),
         "recording: UpdateRecordingTitleAction"},
        {"AddRecordingSentenceAction",
         make<AddRecordingSentenceAction>(std::shared_ptr<Sentence>()),
         "recording: AddRecordingSentenceAction"},
        {"AddRecordingWordAction", make<AddRecordingWordAction>(std::shared_ptr<Word>()),
         "recording: AddRecordingWordAction"},
        {"AddRecordingAttachmentAction", make<AddRecordingAttachmentAction>(attachment),
         "recording: AddRecordingAttachmentAction"},
        {"RemoveRecordingAttachmentAction", make<RemoveRecordingAttachmentAction>(0, 0),
         "recording: RemoveRecordingAttachmentAction"},
        {"SelectRecordingAttachmentAction", make<SelectRecordingAttachmentAction>(attachment),
         "recording: SelectRecordingAttachmentAction"},
        {"ShareRecordingAction", make<ShareRecordingAction>(recording),
         "recording: ShareRecordingAction"},

        {"SubclassOfPause", make<LongPause>(), "recording: PauseRecordingAction"},
        {"SubclassOfResume", make<QuickResume>(), "recording: ResumeRecordingAction"},
        // Both: the pause case comes first, as in the reducer, through either Action base.
        {"PauseAndResumeSeenAsPause", make<PauseAndResume, PauseRecordingAction>(),
         "recording: PauseRecordingAction"},
        {"PauseAndResumeSeenAsResume", make<PauseAndResume, ResumeRecordingAction>(),
         "recording: PauseRecordingAction"},
        {"PauseSeenThroughAHostBase", make<PauseOnAHostBase, HostAction>(),
         "recording: PauseRecordingAction"},
        {"HostAction", make<HostAction>(), "none"},
    };
}

class ActionCaseOf : public ::testing::TestWithParam<CaseRow> {};

TEST_P(ActionCaseOf, IsTheFirstListedTypeTheActionIsAnInstanceOf) {
    const auto action = GetParam().make();
    EXPECT_EQ(describe(actionCase(*action), *action), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(ActionCase, ActionCaseOf, ::testing::ValuesIn(rows()),
                         kelvane::testing::caseName);

TEST(ActionCase, TheTableAboveNamesEveryListedAction) {
    std::set<std::string> named;
    for (const auto& row : rows()) {
        if (row.expected != "none") {
            named.insert(row.expected);
        }
    }
    using namespace kelvane::detail;
    EXPECT_EQ(named.size(), std::variant_size_v<RootActions> + std::variant_size_v<UITestActions> +
                                std::variant_size_v<FolderActions> +
                                std::variant_size_v<RecordingActions>);
}

TEST(ActionCase, AnActionNoReducerKnowsPassesThroughUnchanged) {
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

// Stores on different threads may classify actions at the same moment.
template <int N>
struct ThreadPause : kelvane::PauseRecordingAction {};
template <int N>
struct ThreadHostAction : Action {};

TEST(ActionCase, ActionsClassifiedOnSeveralThreadsAtOnceGetTheirCase) {
    const auto wrongCase = [](const Action& action, const char* expected) {
        return describe(actionCase(action), action) != expected ? 1 : 0;
    };
    std::vector<std::thread> threads;
    std::vector<int> wrong(8, 0);
    for (std::size_t t = 0; t < wrong.size(); ++t) {
        threads.emplace_back([&wrong, &wrongCase, t] {
            for (int round = 0; round < 100; ++round) {
                wrong[t] += wrongCase(ThreadPause<1>(), "recording: PauseRecordingAction");
                wrong[t] += wrongCase(ThreadPause<2>(), "recording: PauseRecordingAction");
                wrong[t] += wrongCase(ThreadHostAction<1>(), "none");
                wrong[t] += wrongCase(ThreadHostAction<2>(), "none");
                wrong[t] +=
                    wrongCase(kelvane::StopRecordingAction(), "recording: StopRecordingAction");
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, std::vector<int>(8, 0));
}

}  // namespace
