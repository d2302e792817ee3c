// Long seeded runs of random actions of every type, valid and invalid, through the root reducer.
// After every action the state must hold what the reducers promise: each open context once, the
// newest context absent or open, no absent folder, a current recording exactly while recording;
// and an invalid action must leave everything as it was. A failure names its seed and step.
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <kelvane/state.hpp>

#include <gtest/gtest.h>

#include "case_name.hpp"
#include "state/state_access.hpp"
#include "state_test_support.hpp"

namespace {

using kelvane::Action;
using kelvane::makeRef;
using kelvane::Ref;

constexpr int kSteps = 20000;

class RandomActions {
  public:
    explicit RandomActions(std::uint64_t seed) : random_(seed) {
        for (int i = 0; i < 4; ++i) {
            folders_.push_back(makeRef<kelvane::Folder>(i % 2 == 0 ? "Same name" : "Other"));
        }
        for (int i = 0; i < 5; ++i) {
            recordings_.push_back(makeRef<kelvane::Recording>());
        }
        for (int i = 0; i < 6; ++i) {
            contexts_.push_back(makeRef<kelvane::RecordingListContext>(
                folders_[pick(folders_.size())], std::vector<Ref<kelvane::Recording>>{}));
        }
        for (int i = 0; i < 3; ++i) {
            entries_.push_back(makeRef<kelvane::UITestEntry>("entry", [](auto) {}));
            attachments_.push_back(makeRef<kelvane::Attachment>("a"));
        }
    }

    struct Step {
        std::shared_ptr<Action> action;
        bool invalid = false;  // must change nothing
    };

    // One random action for `state`; about one in four is invalid.
    Step next(const kelvane::AppState& state) {
        const bool invalid = chance(4);
        switch (pick(30)) {
            case 0:
                return {std::make_shared<kelvane::StoreInit>()};
            case 1:
                return {std::make_shared<kelvane::TestAction>()};
            case 2:
                return {std::make_shared<kelvane::TestAction1>()};
            case 3:
                return {std::make_shared<kelvane::UpdateTestNumber>(wildNumber())};
            case 4: {
                auto action = std::make_shared<kelvane::UITestAddTestEntry>(anyOf(entries_));
                if (invalid) {
                    action->testEntry = nullptr;
                }
                return {action, invalid};
            }
            case 5: {
                auto action = std::make_shared<kelvane::UITestOpenTestEntry>(anyOf(entries_));
                if (chance(4)) {
                    action->testEntry = nullptr;  // clears: a valid action
                }
                return {action};
            }
            case 6: {
                if (invalid) {
                    return {std::make_shared<kelvane::FoldersLoadedAction>(), true};
                }
                std::vector<Ref<kelvane::Folder>> loaded;
                for (std::size_t n = pick(4); n > 0; --n) {
                    loaded.push_back(anyOf(folders_));
                }
                return {std::make_shared<kelvane::FoldersLoadedAction>(loaded)};
            }
            case 7: {
                const std::int64_t count = state.folderState().folders()->count();
                const bool outside = invalid && count > 0;
                const std::int64_t position =
                    outside ? outsideOf(count + 1) : static_cast<std::int64_t>(pick(count + 1));
                return {std::make_shared<kelvane::AddFolderAction>(anyOf(folders_), position),
                        outside};
            }
            case 8:
                return {std::make_shared<kelvane::RemoveFolderAction>(anyOf(folders_))};
            case 9:
                return {std::make_shared<kelvane::OpenNewRecordingListAction>(context(invalid)),
                        invalid};
            case 10:
                return {std::make_shared<kelvane::CloseRecordingListAction>(context(invalid)),
                        invalid};
            case 11:
                return {std::make_shared<kelvane::SetRecordingListSelectionAction>(context(invalid),
                                                                                   chance(2)),
                        invalid};
            case 12:
                return {std::make_shared<kelvane::SetRecordingSelectedAction>(
                            context(chance(2)), recording(invalid), chance(2)),
                        invalid};
            case 13: {
                auto action = std::make_shared<kelvane::UpdateRecordingListAction>(
                    anyOf(contexts_), chance(4) ? std::nullopt : std::optional(someRecordings()));
                if (invalid) {
                    action->context = nullptr;
                }
                return {action, invalid};
            }
            case 14:
                return {std::make_shared<kelvane::AddRecordingToFolderAction>(
                            chance(5) ? nullptr : anyOf(folders_).shared(), recording(invalid)),
                        invalid};
            case 15:
                return {std::make_shared<kelvane::RemoveRecordingAction>(recording(invalid)),
                        invalid};
            case 16:
                return {std::make_shared<kelvane::PauseRecordingAction>()};
            case 17:
                return {std::make_shared<kelvane::ResumeRecordingAction>()};
            case 18:
                return {std::make_shared<kelvane::StartRecordingAction>()};
            case 19:
                // Stopping is rarer, so that recordings grow.
                return {chance(3) ? std::shared_ptr<Action>(
                                        std::make_shared<kelvane::StopRecordingAction>())
                                  : std::make_shared<kelvane::TestAction>()};
            case 20:
                return {std::make_shared<kelvane::UpdateRecordingStateAction>(wildNumber(),
                                                                              wildNumber())};
            case 21:
                return {std::make_shared<kelvane::HighlightRecordingAction>(chance(2))};
            case 22: {
                const std::int64_t count = sentenceCount(state);
                return {std::make_shared<kelvane::HighlightRecordingSentenceAction>(
                            index(count, invalid), chance(2)),
                        invalid || count == 0};
            }
            case 23:
                return {std::make_shared<kelvane::UpdateRecordingTitleAction>(
                            chance(3) ? std::nullopt : std::optional<std::string>("title")),
                        !state.recording().currentRecording()};
            case 24:
                return {std::make_shared<kelvane::AddRecordingSentenceAction>(
                            invalid ? nullptr : std::make_shared<kelvane::Sentence>(0)),
                        invalid || !state.recording().currentRecording()};
            case 25:
                return {std::make_shared<kelvane::AddRecordingWordAction>(
                            invalid ? nullptr : std::make_shared<kelvane::Word>(0, "w")),
                        invalid || sentenceCount(state) == 0};
            case 26: {
                auto action =
                    std::make_shared<kelvane::AddRecordingAttachmentAction>(anyOf(attachments_));
                if (invalid) {
                    action->attachment = nullptr;
                }
                return {action, invalid || sentenceCount(state) == 0};
            }
            case 27: {
                const std::int64_t sentences = sentenceCount(state);
                const bool badSentence = invalid && chance(2);
                const std::int64_t sentenceIndex = index(sentences, badSentence);
                const std::int64_t attachments =
                    badSentence ? 0 : attachmentCount(state, sentenceIndex);
                const std::int64_t attachmentIndex = index(attachments, invalid);
                return {std::make_shared<kelvane::RemoveRecordingAttachmentAction>(sentenceIndex,
                                                                                   attachmentIndex),
                        invalid || sentences == 0 || attachments == 0};
            }
            case 28:
                return {std::make_shared<kelvane::SelectRecordingAttachmentAction>(
                    anyOf(attachments_))};
            default:
                return {std::make_shared<kelvane::ShareRecordingAction>(anyOf(recordings_))};
        }
    }

  private:
    std::size_t pick(std::uint64_t bound) {
        return static_cast<std::size_t>(
            std::uniform_int_distribution<std::uint64_t>(0, bound - 1)(random_));
    }
    bool chance(std::uint64_t oneIn) { return pick(oneIn) == 0; }

    template <class T>
    const Ref<T>& anyOf(const std::vector<Ref<T>>& pool) {
        return pool[pick(pool.size())];
    }

    std::shared_ptr<kelvane::RecordingListContext> context(bool absent) {
        return absent ? nullptr : anyOf(contexts_).shared();
    }
    std::shared_ptr<kelvane::Recording> recording(bool absent) {
        return absent ? nullptr : anyOf(recordings_).shared();
    }
    std::vector<Ref<kelvane::Recording>> someRecordings() {
        std::vector<Ref<kelvane::Recording>> some;
        for (std::size_t n = pick(4); n > 0; --n) {
            some.push_back(anyOf(recordings_));
        }
        return some;
    }

    std::int64_t wildNumber() {
        static constexpr std::int64_t kEdges[] = {0, -1, 1,
                                                  std::numeric_limits<std::int64_t>::min(),
                                                  std::numeric_limits<std::int64_t>::max()};
        return chance(2) ? kEdges[pick(std::size(kEdges))]
                         : std::uniform_int_distribution<std::int64_t>(-1000, 1000)(random_);
    }
    // An index outside 0 to `count` - 1.
    std::int64_t outsideOf(std::int64_t count) {
        static constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
        static constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
        switch (pick(5)) {
            case 0:
                return -1;
            case 1:
                return count;
            case 2:
                return kMin;
            case 3:
                return kMax;
            default:
                return count + static_cast<std::int64_t>(pick(1000));
        }
    }
    std::int64_t index(std::int64_t count, bool outside) {
        return outside || count == 0 ? outsideOf(count) : static_cast<std::int64_t>(pick(count));
    }

    static std::int64_t sentenceCount(const kelvane::AppState& state) {
        const auto& current = state.recording().currentRecording();
        return current ? static_cast<std::int64_t>(current->sentences().size()) : 0;
    }
    static std::int64_t attachmentCount(const kelvane::AppState& state, std::int64_t sentence) {
        if (sentence < 0 || sentence >= sentenceCount(state)) {
            return 0;
        }
        const auto sentences = state.recording().currentRecording()->sentences();
        return static_cast<std::int64_t>(
            sentences[static_cast<std::size_t>(sentence)]->attachments.size());
    }

    std::mt19937_64 random_;
    std::vector<Ref<kelvane::Folder>> folders_;
    std::vector<Ref<kelvane::Recording>> recordings_;
    std::vector<Ref<kelvane::RecordingListContext>> contexts_;
    std::vector<Ref<kelvane::UITestEntry>> entries_;
    std::vector<Ref<kelvane::Attachment>> attachments_;
};

// The invariants every state must hold; empty when it does.
std::string brokenInvariant(const kelvane::AppState& state) {
    const auto& folderState = state.folderState();
    std::set<const void*> open;
    for (const auto& context : folderState.recordingListContexts()) {
        if (!open.insert(context.get()).second) {
            return "a context is open twice";
        }
    }
    if (const auto& newest = folderState.newRecordingListContext();
        newest && !open.contains(newest.get())) {
        return "the newest context is not open";
    }
    const auto& folders = *folderState.folders();
    for (std::int64_t i = 0; i < folders.count(); ++i) {
        if (!folders[i]) {
            return "an absent folder in the list";
        }
    }
    if (state.recording().isRecordingStart() != (state.recording().currentRecording() != nullptr)) {
        return "isRecordingStart disagrees with currentRecording";
    }
    if (state.uiTestState().testNumber() != 100) {
        return "testNumber changed";
    }
    if (!state.recording().exportItems().empty()) {
        return "exportItems written";
    }
    return {};
}

struct Seed {
    std::string name;
    std::uint64_t value;
};

void PrintTo(const Seed& seed, std::ostream* out) {
    *out << seed.name;
}

Seed seed(std::uint64_t value) {
    return {"Seed" + std::to_string(value), value};
}

class RandomActionsTest : public ::testing::TestWithParam<Seed> {};

TEST_P(RandomActionsTest, KeepTheStateConsistentAndIgnoreInvalidOnes) {
    const statetest::LogReader log;
    RandomActions actions(GetParam().value);
    statetest::Reduction reduction;
    std::int64_t testVal = 100;
    int invalidCount = 0;
    for (int step = 0; step < kSteps; ++step) {
        const auto next = actions.next(reduction.state());
        const std::string before = next.invalid ? statetest::snapshot(reduction.state()) : "";
        if (const auto* update =
                dynamic_cast<const kelvane::UpdateTestNumber*>(next.action.get())) {
            testVal = kelvane::detail::StateAccess::newVal(*update);
        }

        const auto& state = reduction.apply(*next.action);

        const std::string where = "seed " + std::to_string(GetParam().value) + ", step " +
                                  std::to_string(step) + ", " + kelvane::printed(*next.action);
        const std::string broken = brokenInvariant(state);
        ASSERT_EQ(broken, "") << where;
        ASSERT_EQ(state.velmoraState().testVal(), testVal) << where;
        if (next.invalid) {
            ++invalidCount;
            ASSERT_EQ(statetest::snapshot(state), before)
                << "an invalid action changed the state; " << where;
        }
    }
    EXPECT_GT(invalidCount, kSteps / 10) << "the run must exercise invalid actions";
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomActionsTest,
                         ::testing::Values(seed(1U), seed(20240601U), seed(0xC0FFEEU)),
                         kelvane::testing::caseName);

}  // namespace
