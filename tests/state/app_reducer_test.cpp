// The root reducer's test value, its hand-over of every action to the sub-reducers, and the test
// catalogue reducer.
#include <memory>
#include <optional>

#include <kelvane/state.hpp>

#include <gtest/gtest.h>

#include "state/reducers.hpp"
#include "state_test_support.hpp"

namespace {

using kelvane::makeRef;
using kelvane::Ref;
using kelvane::UITestEntry;
using statetest::Reduction;

Ref<UITestEntry> entry() {
    return makeRef<UITestEntry>("entry", [](auto) {});
}

TEST(AppReducer, TestValueFollowsUpdateTestNumberOnly) {
    statetest::LogReader log;
    Reduction reduction;
    EXPECT_EQ(reduction.apply(kelvane::UpdateTestNumber(7)).velmoraState().testVal(), 7);
    EXPECT_EQ(reduction.apply(kelvane::TestAction()).velmoraState().testVal(), 7);
    EXPECT_EQ(reduction.apply(kelvane::StartRecordingAction()).velmoraState().testVal(), 7);
    EXPECT_EQ(reduction.apply(kelvane::FoldersLoadedAction(std::vector<Ref<kelvane::Folder>>{}))
                  .velmoraState()
                  .testVal(),
              7);
    EXPECT_EQ(reduction.apply(kelvane::UpdateTestNumber(-1)).velmoraState().testVal(), -1);
    EXPECT_EQ(reduction.previous().velmoraState().testVal(), 7) << "the old state keeps its value";
}

TEST(AppReducer, HandsEveryActionToEachSubReducerAndUnknownOnesChangeNothing) {
    statetest::LogReader log;
    Reduction reduction;
    const auto first = entry();
    reduction.apply(kelvane::UITestAddTestEntry(first));
    reduction.apply(kelvane::AddFolderAction(makeRef<kelvane::Folder>(), 0));
    reduction.apply(kelvane::StartRecordingAction());
    EXPECT_EQ(reduction.state().uiTestState().allTestEntries().size(), 1U);
    EXPECT_EQ(reduction.state().folderState().folders()->count(), 1);
    EXPECT_TRUE(reduction.state().recording().isRecordingStart());

    const std::string before = statetest::snapshot(reduction.state());
    reduction.apply(kelvane::TestAction1());
    EXPECT_EQ(statetest::snapshot(reduction.state()), before);
    reduction.apply(kelvane::StoreInit());
    EXPECT_EQ(statetest::snapshot(reduction.state()), before) << "StoreInit matches no case";
}

TEST(UITestReducer, AddsEntriesInOrderWithDuplicatesAndOpensOrClearsTheLastOne) {
    const auto first = entry();
    const auto second = entry();
    auto state = kelvane::uiTestReducer(kelvane::UITestAddTestEntry(first), std::nullopt);
    const auto afterFirst = state;
    state = kelvane::uiTestReducer(kelvane::UITestAddTestEntry(second), state);
    state = kelvane::uiTestReducer(kelvane::UITestAddTestEntry(first), state);
    EXPECT_EQ(state.allTestEntries(), (std::vector<Ref<UITestEntry>>{first, second, first}));
    EXPECT_EQ(afterFirst.allTestEntries(), std::vector<Ref<UITestEntry>>{first})
        << "the list is copied with the record, so an older state keeps its own";
    EXPECT_EQ(state.testNumber(), 100);

    state = kelvane::uiTestReducer(kelvane::UITestOpenTestEntry(second), state);
    EXPECT_EQ(state.lastActiavedTestEntry(), second.shared());

    kelvane::UITestOpenTestEntry clear(second);
    clear.testEntry = nullptr;
    state = kelvane::uiTestReducer(clear, state);
    EXPECT_EQ(state.lastActiavedTestEntry(), nullptr);
    EXPECT_EQ(state.allTestEntries().size(), 3U);
}

}  // namespace
