// The application store: its dispatch line before every action, breadcrumbs, and the shared store's
// creation on first access and its replacement.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <kelvane/logging/logger.hpp>
#include <kelvane/platform/bugsnag.hpp>
#include <kelvane/state.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../store/store_test_support.hpp"
#include "case_name.hpp"
#include "fresh_process.hpp"
#include "state/reducers.hpp"
#include "state_test_support.hpp"

namespace {

using kelvane::Action;
using kelvane::AppState;
using kelvane::AppStore;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string line(const std::string& printedAction) {
    return "Dispatch action: " + printedAction + ", info: " + printedAction;
}

using kelvane::testing::expectInFreshProcess;

std::string describe(const std::vector<std::string>& messages) {
    std::ostringstream out;
    out << "log messages:\n";
    for (const auto& message : messages) {
        out << "  " << message << '\n';
    }
    return out.str();
}

TEST(SharedStore, FirstAccessMakesItOnceWithOneDispatchLine) {
    expectInFreshProcess([] {
        const statetest::LogReader log;
        std::vector<std::shared_ptr<AppStore>> seen(8);
        std::vector<std::thread> threads;
        for (auto& slot : seen) {
            threads.emplace_back([&slot] { slot = kelvane::store(); });
        }
        for (auto& thread : threads) {
            thread.join();
        }
        const auto messages = log.messages();
        if (messages != std::vector<std::string>{"Dispatch action: StoreInit()"}) {
            return "expected exactly the StoreInit line; " + describe(messages);
        }
        for (const auto& each : seen) {
            if (each != seen.front() || each != kelvane::store()) {
                return std::string("racing first accesses saw different stores");
            }
        }
        const auto& state = kelvane::store()->state();
        if (!state || state->velmoraState().testVal() != 100 ||
            state->uiTestState().testNumber() != 100 ||
            state->folderState().folders()->count() != 0 || state->recording().isRecordingStart()) {
            return std::string("the first state is not the initial state");
        }
        if (log.messages().size() != 1) {
            return "a later access logged again; " + describe(log.messages());
        }
        return std::string();
    });
}

TEST(SharedStore, ReplacingItFirstStillMakesAndLogsTheDefaultStore) {
    expectInFreshProcess([] {
        const statetest::LogReader log;
        auto own = AppStore::make(kelvane::appReducer);
        kelvane::setStore(own);
        if (kelvane::store() != own) {
            return std::string("the replacement is not the shared store");
        }
        const auto messages = log.messages();
        if (messages != std::vector<std::string>{"Dispatch action: StoreInit()",
                                                 "Dispatch action: StoreInit()"}) {
            return "expected the new store's line, then the default store's; " + describe(messages);
        }
        return std::string();
    });
}

class AppStoreTest : public ::testing::Test {
  protected:
    AppStoreTest() {
        kelvane::platform::Bugsnag::setBreadcrumbSink(
            [this](const std::string& message) { breadcrumbs.push_back(message); });
    }
    ~AppStoreTest() override {
        kelvane::platform::Bugsnag::setBreadcrumbSink({});
        kelvane::Logger::setIsBugsnagInit(false);
    }

    statetest::LogReader log;
    std::vector<std::string> breadcrumbs;
};

struct LineCase {
    std::string name;
    std::function<std::shared_ptr<Action>()> make;
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.name;
}

class DispatchLine : public AppStoreTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(DispatchLine, RepeatsThePrintedActionOnceTheStoreHasAState) {
    auto store = AppStore::make(kelvane::appReducer);
    const auto action = GetParam().make();
    store->dispatch(*action);
    const std::string printedAction = kelvane::printed(*action);
    EXPECT_THAT(log.messages(), ElementsAre("Dispatch action: StoreInit()", line(printedAction)));
}

INSTANTIATE_TEST_SUITE_P(
    Actions, DispatchLine,
    ::testing::Values(
        LineCase{"TestAction", [] { return std::make_shared<kelvane::TestAction>(); }},
        LineCase{"ResumeRecordingAction",
                 [] { return std::make_shared<kelvane::ResumeRecordingAction>(); }},
        LineCase{"PauseRecordingAction",
                 [] { return std::make_shared<kelvane::PauseRecordingAction>(); }},
        LineCase{"AddFolderAction",
                 [] {
                     return std::make_shared<kelvane::AddFolderAction>(
                         kelvane::makeRef<kelvane::Folder>(), 0);
                 }},
        LineCase{"UpdateRecordingTitleAction with a line feed",
                 [] { return std::make_shared<kelvane::UpdateRecordingTitleAction>("a\nb"); }}),
    kelvane::testing::caseName);

TEST_F(AppStoreTest, ExactLinesForKnownActions) {
    auto store = AppStore::make(kelvane::appReducer);
    store->dispatch(kelvane::TestAction());
    store->dispatch(kelvane::ResumeRecordingAction());
    store->dispatch(kelvane::UpdateTestNumber(7));
    EXPECT_THAT(log.messages(), ElementsAre("Dispatch action: StoreInit()",
                                            "Dispatch action: TestAction(), info: TestAction()",
                                            "Dispatch action: Kelvane.ResumeRecordingAction, info: "
                                            "Kelvane.ResumeRecordingAction",
                                            "Dispatch action: UpdateTestNumber(newVal: 7), info: "
                                            "UpdateTestNumber(newVal: 7)"));
    EXPECT_EQ(store->state()->velmoraState().testVal(), 7);
}

TEST_F(AppStoreTest, LeavesBreadcrumbsWithTheLineTextOnlyWhileTheCrashReporterRuns) {
    auto store = AppStore::make(kelvane::appReducer);
    store->dispatch(kelvane::TestAction());
    EXPECT_THAT(breadcrumbs, IsEmpty());

    kelvane::Logger::setIsBugsnagInit(true);
    store->dispatch(kelvane::UpdateTestNumber(3));
    auto second = AppStore::make(kelvane::appReducer);
    EXPECT_THAT(breadcrumbs,
                ElementsAre(line("UpdateTestNumber(newVal: 3)"), "Dispatch action: StoreInit()"));

    // The folder reducer's own lines go to the file only.
    store->dispatch(kelvane::CloseRecordingListAction(nullptr));
    store->dispatch(
        kelvane::CloseRecordingListAction(kelvane::makeRef<kelvane::RecordingListContext>(
            kelvane::makeRef<kelvane::Folder>(), std::vector<kelvane::Ref<kelvane::Recording>>{})));
    EXPECT_EQ(breadcrumbs.size(), 4U);
    EXPECT_EQ(log.messages().size(), 7U) << "two StoreInit, four dispatches, one context line";
}

TEST_F(AppStoreTest, WithAnInitialStateItLogsNothingUntilItsFirstDispatch) {
    const auto first = AppStore::make(kelvane::appReducer);
    const auto own = AppStore::make(kelvane::appReducer, first->state());
    EXPECT_EQ(log.messages().size(), 1U);
    own->dispatch(kelvane::TestAction());
    EXPECT_EQ(log.messages().back(), line("TestAction()"));
}

TEST_F(AppStoreTest, EveryFormOfDispatchIsLoggedEvenWhenAMiddlewareDropsTheAction) {
    // Drops TestAction1; turns TestAction into a second dispatch of UpdateTestNumber(9).
    kelvane::Middleware<AppState> middleware = [](kelvane::DispatchFunction redispatch,
                                                  kelvane::GetState<AppState>) {
        return [redispatch](kelvane::DispatchFunction next) -> kelvane::DispatchFunction {
            return [redispatch, next](const Action& action) {
                if (dynamic_cast<const kelvane::TestAction1*>(&action) != nullptr) {
                    return;
                }
                if (dynamic_cast<const kelvane::TestAction*>(&action) != nullptr) {
                    redispatch(kelvane::UpdateTestNumber(9));
                }
                next(action);
            };
        };
    };
    auto store = AppStore::make(kelvane::appReducer, std::nullopt, {middleware});
    auto subscriber = std::make_shared<storetest::Recorder<AppState>>();
    store->subscribe(subscriber);

    store->dispatch(kelvane::TestAction1());
    store->dispatch(kelvane::TestAction());
    store->dispatch(
        [](const AppState& state, kelvane::Store<AppState>&) -> std::unique_ptr<Action> {
            return std::make_unique<kelvane::UpdateTestNumber>(state.velmoraState().testVal() + 1);
        });

    EXPECT_THAT(
        log.messages(),
        ElementsAre("Dispatch action: StoreInit()", line("TestAction1()"), line("TestAction()"),
                    line("UpdateTestNumber(newVal: 9)"), line("UpdateTestNumber(newVal: 10)")));
    EXPECT_EQ(subscriber->received.size(), 4U)
        << "the current state, then the three reduced actions; not the dropped one";
    EXPECT_EQ(store->state()->velmoraState().testVal(), 10);
}

TEST_F(AppStoreTest, ADispatchFromAReducerIsLoggedBeforeTheStoreHalts) {
    storetest::HaltRecorder halts;
    auto self = std::make_shared<std::weak_ptr<AppStore>>();
    auto store = AppStore::make([self](const Action& action, const std::optional<AppState>& state) {
        if (dynamic_cast<const kelvane::TestAction1*>(&action) != nullptr) {
            if (const auto store = self->lock()) {
                store->dispatch(kelvane::TestAction());
            }
        }
        return kelvane::appReducer(action, state);
    });
    *self = store;

    const auto halt = halts.runExpectingHalt([store] { store->dispatch(kelvane::TestAction1()); });
    ASSERT_TRUE(halt.has_value());
    EXPECT_THAT(halt->message, ::testing::EndsWith("Action: TestAction()"));
    EXPECT_THAT(log.messages(), ElementsAre("Dispatch action: StoreInit()", line("TestAction1()"),
                                            line("TestAction()")));
}

TEST_F(AppStoreTest, ReplacingTheSharedStoreLeavesTheOldOneWithItsSubscribers) {
    const auto old = kelvane::store();
    auto oldSubscriber = std::make_shared<storetest::Recorder<AppState>>();
    old->subscribe(oldSubscriber);
    const std::weak_ptr<AppStore> oldWeak = old;

    auto replacement = AppStore::make(kelvane::appReducer);
    kelvane::setStore(replacement);
    EXPECT_EQ(kelvane::store(), replacement);
    kelvane::store()->dispatch(kelvane::UpdateTestNumber(5));
    EXPECT_EQ(oldSubscriber->received.size(), 1U) << "only its subscription's current state";
    EXPECT_EQ(replacement->state()->velmoraState().testVal(), 5);

    old->dispatch(kelvane::TestAction());
    EXPECT_EQ(oldSubscriber->received.size(), 2U) << "the old store still works for its holders";
    EXPECT_NE(old->state()->velmoraState().testVal(), 5);
    kelvane::setStore(AppStore::make(kelvane::appReducer));
    EXPECT_NE(kelvane::store(), replacement);
}

TEST_F(AppStoreTest, EveryDispatchDeliversANewStateSinceAppStateHasNoEquality) {
    auto store = AppStore::make(kelvane::appReducer);
    auto subscriber = std::make_shared<storetest::Recorder<AppState>>();
    store->subscribe(subscriber);
    store->dispatch(kelvane::TestAction1());
    store->dispatch(kelvane::TestAction1());
    EXPECT_EQ(subscriber->received.size(), 3U);
}

}  // namespace
