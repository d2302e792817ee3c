#pragma once

// Fixtures shared by the state tests: a reduction that keeps the previous state, a text snapshot
// of everything a state shows (objects by identity, and the model objects' contents), and the
// messages of the shared log file.

#include <cctype>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/core/printed.hpp>
#include <kelvane/state.hpp>
#include <kelvane/store/action.hpp>

#include <gtest/gtest.h>

#include "log_files.hpp"
#include "state/reducers.hpp"
#include "temp_home.hpp"

namespace statetest {

using kelvane::AppState;

/// Everything `state` shows, as text: equal snapshots mean nothing observable differs. Objects
/// appear by address, so a replaced object shows as a change.
inline std::string snapshot(const AppState& state) {
    using kelvane::appendPrinted;
    std::string out;
    const auto field = [&out](const char* name, const auto& value) {
        out += name;
        out += ": ";
        appendPrinted(out, value);
        out += '\n';
    };
    const auto recordingContents = [&](const kelvane::Recording& recording) {
        field("  title", recording.title());
        field("  selected", recording.selected());
        for (const auto& sentence : recording.sentences()) {
            field("  sentence", sentence);
            field("    isHighlight", sentence->isHighlight);
            field("    words", sentence->words);
            field("    attachments", sentence->attachments);
        }
    };

    field("testVal", state.velmoraState().testVal());
    const auto& uiTest = state.uiTestState();
    field("allTestEntries", uiTest.allTestEntries());
    field("lastActiavedTestEntry", uiTest.lastActiavedTestEntry());
    field("testNumber", uiTest.testNumber());

    const auto& folderState = state.folderState();
    const auto& folders = *folderState.folders();
    field("folders", kelvane::hexAddress(&folders));
    for (std::int64_t i = 0; i < folders.count(); ++i) {
        field("  folder", folders[i]);
    }
    field("newRecordingListContext", folderState.newRecordingListContext());
    for (const auto& context : folderState.recordingListContexts()) {
        field("context", context);
        field("  isSelectionMode", context->isSelectionMode());
        for (const auto& recording : context->recordings()) {
            field(" recording", recording);
            recordingContents(*recording);
        }
    }

    const auto& recording = state.recording();
    field("isPause", recording.isPause());
    field("volume", recording.volume());
    field("duration", recording.duration());
    field("currentRecording", recording.currentRecording());
    if (recording.currentRecording()) {
        recordingContents(*recording.currentRecording());
    }
    field("highlightRecording", recording.highlightRecording());
    field("selectedAttachment", recording.selectedAttachment());
    field("exportItems", recording.exportItems().size());
    field("recordingForShare", recording.recordingForShare());
    field("isRecordingStart", recording.isRecordingStart());
    return out;
}

/// Runs actions through the root reducer as the store would, keeping the state before the last.
class Reduction {
  public:
    Reduction() : state_(kelvane::appReducer(kelvane::StoreInit{}, std::nullopt)) {}

    const AppState& apply(const kelvane::Action& action) {
        previous_ = state_;
        state_ = kelvane::appReducer(action, state_);
        return state_;
    }

    const AppState& state() const { return state_; }
    const AppState& previous() const { return *previous_; }

  private:
    AppState state_;
    std::optional<AppState> previous_;
};

/// A fresh HOME with the shared log in it, echo off; reads back the messages written since.
class LogReader {
  public:
    LogReader() { kelvane::testing::resetSharedLog(); }

    std::vector<std::string> messages() const {
        return kelvane::testing::messagesIn(home_.documents() / "Logs" / "logfile-0.log", start_);
    }

  private:
    using Clock = std::chrono::system_clock;
    kelvane::testing::TempHome home_;
    Clock::time_point start_ = Clock::now();
};

}  // namespace statetest
