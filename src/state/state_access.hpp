#pragma once

// The framework's write access to the state records, which other code may only read, and to the
// framework-internal field of UpdateTestNumber. Only the reducers (and tests) use it.
//
//     AppState state = StateAccess::initialAppState();
//     StateAccess::testVal(StateAccess::velmoraState(state)) = 7;

#include <cstdint>
#include <utility>

#include <kelvane/state/app_state.hpp>
#include <kelvane/state/test_actions.hpp>

namespace kelvane::detail {

struct StateAccess {
    /// A record holding its defaults (a FolderState with a new, empty folder list).
    template <class Record>
    static Record initial() {
        return Record();
    }

    /// An AppState of the four records' defaults.
    static AppState initialAppState() {
        return AppState(initial<VelmoraState>(), initial<UITestState>(), initial<FolderState>(),
                        initial<RecordingState>());
    }

    static std::int64_t newVal(const UpdateTestNumber& action) { return action.newVal; }

    // The records of a state, to change in place while it is being made.
    static VelmoraState& velmoraState(AppState& state) { return state.velmoraState_; }
    static UITestState& uiTestState(AppState& state) { return state.uiTestState_; }
    static FolderState& folderState(AppState& state) { return state.folderState_; }
    static RecordingState& recording(AppState& state) { return state.recording_; }

    // Each returns the field itself, to assign or to change in place.
    static std::int64_t& testVal(VelmoraState& state) { return state.testVal_; }

    // A list field is unshared first: the record gets a copy of its own to change (see
    // SharedList), since copying the record shared the list. Read lists through the record.
    static std::vector<Ref<UITestEntry>>& allTestEntriesToChange(UITestState& state) {
        return state.allTestEntries_.toChange();
    }
    static std::shared_ptr<UITestEntry>& lastActiavedTestEntry(UITestState& state) {
        return state.lastActiavedTestEntry_;
    }
    static std::int64_t& testNumber(UITestState& state) { return state.testNumber_; }

    static Ref<TArray<Folder>>& folders(FolderState& state) { return state.folders_; }
    static std::shared_ptr<RecordingListContext>& newRecordingListContext(FolderState& state) {
        return state.newRecordingListContext_;
    }
    static std::vector<Ref<RecordingListContext>>& recordingListContextsToChange(
        FolderState& state) {
        return state.recordingListContexts_.toChange();
    }

    static bool& isPause(RecordingState& state) { return state.isPause_; }
    static std::int64_t& volume(RecordingState& state) { return state.volume_; }
    static std::int64_t& duration(RecordingState& state) { return state.duration_; }
    static std::shared_ptr<Recording>& currentRecording(RecordingState& state) {
        return state.currentRecording_;
    }
    static bool& highlightRecording(RecordingState& state) { return state.highlightRecording_; }
    static std::shared_ptr<Attachment>& selectedAttachment(RecordingState& state) {
        return state.selectedAttachment_;
    }
    static std::shared_ptr<Recording>& recordingForShare(RecordingState& state) {
        return state.recordingForShare_;
    }
    static bool& isRecordingStart(RecordingState& state) { return state.isRecordingStart_; }
};

}  // namespace kelvane::detail
