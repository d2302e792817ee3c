// Bad input to the reducers (absent payloads, indexes and positions outside their lists, actions
// that need a current recording when there is none) is ignored as a whole: nothing observable
// changes and nothing is logged.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <kelvane/state.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "case_name.hpp"
#include "state_test_support.hpp"

namespace {

using kelvane::Action;
using kelvane::makeRef;
using kelvane::Ref;

// A state with something in every field: two folders, two open lists and one closed, a current
// recording with two sentences, test entries.
struct Scene {
    explicit Scene(bool recordingStopped) {
        reduction.apply(kelvane::UITestAddTestEntry(entry));
        reduction.apply(kelvane::UITestOpenTestEntry(entry));
        reduction.apply(kelvane::FoldersLoadedAction({inbox, work}));
        reduction.apply(kelvane::OpenNewRecordingListAction(inInbox));
        reduction.apply(kelvane::OpenNewRecordingListAction(inWork));
        reduction.apply(kelvane::StartRecordingAction());
        for (const auto& sentence : {first, second}) {
            reduction.apply(kelvane::AddRecordingSentenceAction(sentence));
            reduction.apply(kelvane::AddRecordingWordAction(makeRef<kelvane::Word>(0, "w")));
            reduction.apply(
                kelvane::AddRecordingAttachmentAction(makeRef<kelvane::Attachment>("a")));
            reduction.apply(
                kelvane::AddRecordingAttachmentAction(makeRef<kelvane::Attachment>("b")));
        }
        if (recordingStopped) {
            reduction.apply(kelvane::StopRecordingAction());
        }
    }

    const Ref<kelvane::UITestEntry> entry = makeRef<kelvane::UITestEntry>("e", [](auto) {});
    const Ref<kelvane::Folder> inbox = makeRef<kelvane::Folder>("Inbox");
    const Ref<kelvane::Folder> work = makeRef<kelvane::Folder>("Work");
    const Ref<kelvane::Recording> a = makeRef<kelvane::Recording>();
    const Ref<kelvane::Recording> b = makeRef<kelvane::Recording>();
    const Ref<kelvane::RecordingListContext> inInbox =
        makeRef<kelvane::RecordingListContext>(inbox, std::vector<Ref<kelvane::Recording>>{a});
    const Ref<kelvane::RecordingListContext> inWork =
        makeRef<kelvane::RecordingListContext>(work, std::vector<Ref<kelvane::Recording>>{a, b});
    const Ref<kelvane::Sentence> first = makeRef<kelvane::Sentence>(0);
    const Ref<kelvane::Sentence> second = makeRef<kelvane::Sentence>(1);
    statetest::Reduction reduction;
};

// Clears an object field that the action's initializer filled.
template <class A, class Field>
std::shared_ptr<Action> cleared(A action, Field A::*field) {
    action.*field = nullptr;
    return std::make_shared<A>(std::move(action));
}

struct BadCase {
    std::string name;
    bool recordingStopped;
    std::function<std::shared_ptr<Action>(const Scene&)> action;
};

void PrintTo(const BadCase& c, std::ostream* out) {
    *out << c.name;
}

template <class A, class... Args>
std::shared_ptr<Action> make(Args&&... args) {
    return std::make_shared<A>(std::forward<Args>(args)...);
}

const BadCase badCases[] = {
    {"test entry absent", false,
     [](const Scene& s) {
         return cleared(kelvane::UITestAddTestEntry(s.entry),
                        &kelvane::UITestAddTestEntry::testEntry);
     }},
    {"folders absent", false, [](const Scene&) { return make<kelvane::FoldersLoadedAction>(); }},
    {"folder position -1", false,
     [](const Scene& s) { return make<kelvane::AddFolderAction>(s.inbox, -1); }},
    {"folder position past the count", false,
     [](const Scene& s) { return make<kelvane::AddFolderAction>(s.inbox, 3); }},
    {"folder position maximum", false,
     [](const Scene& s) { return make<kelvane::AddFolderAction>(s.inbox, INT64_MAX); }},
    {"folder position minimum", false,
     [](const Scene& s) { return make<kelvane::AddFolderAction>(s.inbox, INT64_MIN); }},
    {"open context absent", false,
     [](const Scene&) { return make<kelvane::OpenNewRecordingListAction>(nullptr); }},
    {"close context absent", false,
     [](const Scene&) { return make<kelvane::CloseRecordingListAction>(nullptr); }},
    {"selection context absent", false,
     [](const Scene&) { return make<kelvane::SetRecordingListSelectionAction>(nullptr, true); }},
    {"selected recording absent", false,
     [](const Scene& s) {
         return make<kelvane::SetRecordingSelectedAction>(s.inInbox, nullptr, true);
     }},
    {"update context absent", false,
     [](const Scene& s) {
         return cleared(kelvane::UpdateRecordingListAction(s.inInbox, std::nullopt),
                        &kelvane::UpdateRecordingListAction::context);
     }},
    {"recording for a matching folder absent", false,
     [](const Scene& s) { return make<kelvane::AddRecordingToFolderAction>(s.inbox, nullptr); }},
    {"recording to remove absent", false,
     [](const Scene&) { return make<kelvane::RemoveRecordingAction>(nullptr); }},
    {"sentence absent", false,
     [](const Scene&) { return make<kelvane::AddRecordingSentenceAction>(nullptr); }},
    {"word absent", false,
     [](const Scene&) { return make<kelvane::AddRecordingWordAction>(nullptr); }},
    {"attachment absent", false,
     [](const Scene&) {
         return cleared(kelvane::AddRecordingAttachmentAction(makeRef<kelvane::Attachment>("x")),
                        &kelvane::AddRecordingAttachmentAction::attachment);
     }},
    {"sentence index past the end", false,
     [](const Scene&) { return make<kelvane::HighlightRecordingSentenceAction>(2, true); }},
    {"sentence index negative", false,
     [](const Scene&) { return make<kelvane::HighlightRecordingSentenceAction>(-1, true); }},
    {"attachment index past the end", false,
     [](const Scene&) { return make<kelvane::RemoveRecordingAttachmentAction>(1, 2); }},
    {"attachment of a sentence past the end", false,
     [](const Scene&) { return make<kelvane::RemoveRecordingAttachmentAction>(INT64_MAX, 0); }},
    {"attachment index negative", false,
     [](const Scene&) { return make<kelvane::RemoveRecordingAttachmentAction>(0, INT64_MIN); }},
    {"no current recording: sentence", true,
     [](const Scene&) {
         return make<kelvane::AddRecordingSentenceAction>(makeRef<kelvane::Sentence>(0));
     }},
    {"no current recording: word", true,
     [](const Scene&) {
         return make<kelvane::AddRecordingWordAction>(makeRef<kelvane::Word>(0, "w"));
     }},
    {"no current recording: attachment", true,
     [](const Scene&) {
         return make<kelvane::AddRecordingAttachmentAction>(makeRef<kelvane::Attachment>("x"));
     }},
    {"no current recording: title", true,
     [](const Scene&) { return make<kelvane::UpdateRecordingTitleAction>("t"); }},
    {"no current recording: highlight", true,
     [](const Scene&) { return make<kelvane::HighlightRecordingSentenceAction>(0, true); }},
    {"no current recording: remove attachment", true,
     [](const Scene&) { return make<kelvane::RemoveRecordingAttachmentAction>(0, 0); }},
    {"unknown folder and recording", false,
     [](const Scene&) {
         return make<kelvane::AddRecordingToFolderAction>(makeRef<kelvane::Folder>("Inbox"),
                                                          makeRef<kelvane::Recording>());
     }},
    {"recording in no list", false,
     [](const Scene&) {
         return make<kelvane::RemoveRecordingAction>(makeRef<kelvane::Recording>());
     }},
};

class BadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadInput, IsIgnoredWithoutALogLine) {
    statetest::LogReader log;
    Scene scene(GetParam().recordingStopped);
    const std::string before = statetest::snapshot(scene.reduction.state());

    const auto action = GetParam().action(scene);
    scene.reduction.apply(*action);

    EXPECT_EQ(statetest::snapshot(scene.reduction.state()), before);
    EXPECT_EQ(statetest::snapshot(scene.reduction.previous()), before);
    EXPECT_THAT(log.messages(), ::testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Reducers, BadInput, ::testing::ValuesIn(badCases),
                         kelvane::testing::caseName);

}  // namespace
