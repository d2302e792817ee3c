// The state records: the initial state, read-only access, the two equalities, and the test
// catalogue's entries and actions.
#include <concepts>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include <kelvane/state.hpp>

#include <gtest/gtest.h>

#include "state/reducers.hpp"
#include "state/state_access.hpp"

namespace {

using kelvane::AppState;
using kelvane::FolderState;
using kelvane::makeRef;
using kelvane::RecordingState;
using kelvane::Ref;
using kelvane::UITestAction;
using kelvane::UITestEntry;
using kelvane::UITestState;
using kelvane::VelmoraState;
using kelvane::detail::StateAccess;

// Only the reducers make state records; everyone may copy them.
template <class Record>
constexpr bool madeOnlyByTheFramework =
    !std::is_default_constructible_v<Record> && std::is_copy_constructible_v<Record> &&
    std::is_copy_assignable_v<Record>;
static_assert(madeOnlyByTheFramework<AppState>);
static_assert(madeOnlyByTheFramework<VelmoraState>);
static_assert(madeOnlyByTheFramework<UITestState>);
static_assert(madeOnlyByTheFramework<FolderState>);
static_assert(madeOnlyByTheFramework<RecordingState>);
static_assert(
    !std::is_constructible_v<AppState, VelmoraState, UITestState, FolderState, RecordingState>);

static_assert(std::equality_comparable<VelmoraState> && std::equality_comparable<UITestState>);
// Without equality a subscriber of these receives every new state.
static_assert(!std::equality_comparable<AppState> && !std::equality_comparable<FolderState> &&
              !std::equality_comparable<RecordingState>);
static_assert(std::is_base_of_v<kelvane::StateType, AppState> &&
              std::is_base_of_v<kelvane::StateType, VelmoraState> &&
              std::is_base_of_v<kelvane::StateType, UITestState>);

static_assert(!std::is_default_constructible_v<UITestEntry> &&
              !std::is_default_constructible_v<UITestAction>);

Ref<UITestEntry> entry(const std::string& title = "entry") {
    return makeRef<UITestEntry>(title, [](auto) {});
}

TEST(StateRecords, FirstReductionYieldsTheInitialState) {
    const AppState state = kelvane::appReducer(kelvane::StoreInit{}, std::nullopt);

    EXPECT_EQ(state.velmoraState().testVal(), 100);
    EXPECT_TRUE(state.uiTestState().allTestEntries().empty());
    EXPECT_EQ(state.uiTestState().lastActiavedTestEntry(), nullptr);
    EXPECT_EQ(state.uiTestState().testNumber(), 100);

    EXPECT_EQ(state.folderState().folders()->count(), 0);
    EXPECT_EQ(state.folderState().newRecordingListContext(), nullptr);
    EXPECT_TRUE(state.folderState().recordingListContexts().empty());

    const RecordingState& recording = state.recording();
    EXPECT_FALSE(recording.isPause());
    EXPECT_FALSE(recording.highlightRecording());
    EXPECT_FALSE(recording.isRecordingStart());
    EXPECT_EQ(recording.volume(), 0);
    EXPECT_EQ(recording.duration(), 0);
    EXPECT_EQ(recording.currentRecording(), nullptr);
    EXPECT_EQ(recording.selectedAttachment(), nullptr);
    EXPECT_EQ(recording.recordingForShare(), nullptr);
    EXPECT_TRUE(recording.exportItems().empty());
}

TEST(StateRecords, VelmoraStatesAreEqualByTheirTestValue) {
    VelmoraState a = StateAccess::initial<VelmoraState>();
    VelmoraState b = StateAccess::initial<VelmoraState>();
    EXPECT_TRUE(a == b) << "100 and 100";
    StateAccess::testVal(b) = 101;
    EXPECT_FALSE(a == b) << "100 and 101";
}

TEST(StateRecords, UITestStatesCompareEntriesByIdentityInOrder) {
    const auto first = entry("same");
    const auto second = entry("other");
    const auto lookalike = makeRef<UITestEntry>(*first->title, first->testInitHandler);

    const auto make = [](std::vector<Ref<UITestEntry>> entries,
                         std::shared_ptr<UITestEntry> last = nullptr, std::int64_t number = 100) {
        UITestState state = StateAccess::initial<UITestState>();
        StateAccess::allTestEntriesToChange(state) = std::move(entries);
        StateAccess::lastActiavedTestEntry(state) = std::move(last);
        StateAccess::testNumber(state) = number;
        return state;
    };
    struct Case {
        const char* title;
        UITestState a;
        UITestState b;
        bool equal;
    };
    const Case cases[] = {
        {"both empty", make({}), make({}), true},
        {"same entries in the same order", make({first, second}), make({first, second}), true},
        {"same entries in another order", make({first, second}), make({second, first}), false},
        {"an entry with equal title and handler is another entry", make({first}), make({lookalike}),
         false},
        {"one entry more", make({first}), make({first, first}), false},
        {"same last opened entry", make({}, first.shared()), make({}, first.shared()), true},
        {"last opened entry absent on one side", make({}), make({}, first.shared()), false},
        {"different last opened entries", make({}, first.shared()), make({}, lookalike.shared()),
         false},
        {"different test numbers", make({}, nullptr, 100), make({}, nullptr, 101), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.a == c.b, c.equal) << c.title;
        EXPECT_EQ(c.b == c.a, c.equal) << c.title << " (reversed)";
    }
}

TEST(StateRecords, TestEntriesAndActionsKeepWhatTheyAreGiven) {
    std::vector<std::string> calls;
    const auto made = makeRef<UITestEntry>(
        "Recorder", [&calls](const std::shared_ptr<kelvane::platform::UIViewController>& host) {
            host->view()->addSubview(std::make_shared<kelvane::platform::UIView>());
            calls.push_back("built");
        });
    EXPECT_EQ(made->title, "Recorder");
    EXPECT_TRUE(made->actions.empty());
    const auto controller = std::make_shared<kelvane::platform::UIViewController>();
    made->testInitHandler(controller);
    EXPECT_EQ(calls, std::vector<std::string>{"built"});
    EXPECT_EQ(controller->view()->subviews().size(), 1U) << "the handler built inside it";

    const auto action = makeRef<UITestAction>("Run", [&calls] { calls.push_back("run"); });
    EXPECT_EQ(action->title, "Run");
    action->actionHandler();
    EXPECT_EQ(calls.back(), "run");

    made->actions.push_back(action);
    made->title = std::nullopt;
    EXPECT_EQ(made->actions.size(), 1U);
    EXPECT_EQ(made->title, std::nullopt);

    // Printed as objects, by identity.
    EXPECT_EQ(kelvane::printed(made),
              "<Kelvane.UITestEntry: " + kelvane::hexAddress(made.get()) + ">");
    EXPECT_EQ(kelvane::printed(action),
              "<Kelvane.UITestAction: " + kelvane::hexAddress(action.get()) + ">");
}

}  // namespace
