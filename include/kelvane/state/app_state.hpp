#pragma once

#include <utility>

#include <kelvane/state/folder_state.hpp>
#include <kelvane/state/recording_state.hpp>
#include <kelvane/state/ui_test_state.hpp>
#include <kelvane/state/velmora_state.hpp>
#include <kelvane/store/state_type.hpp>

namespace kelvane {

namespace detail {
struct StateAccess;
}  // namespace detail

/// The application state that the shared store holds, made only by its reducers: every dispatch
/// makes a new one. Read it through `store()->state()` or the states delivered to subscribers;
/// copies are cheap (the model objects in it are shared, not copied).
///
/// It has no equality, so a subscriber of the whole state receives every new state; select a
/// `VelmoraState` or `UITestState` to skip repeated values.
///
///     const kelvane::AppState& state = *kelvane::store()->state();
///     bool paused = state.recording().isPause();
class AppState final : public StateType {
  public:
    const VelmoraState& velmoraState() const noexcept { return velmoraState_; }
    const UITestState& uiTestState() const noexcept { return uiTestState_; }
    const FolderState& folderState() const noexcept { return folderState_; }
    const RecordingState& recording() const noexcept { return recording_; }

  private:
    friend struct detail::StateAccess;
    AppState(VelmoraState velmoraState, UITestState uiTestState, FolderState folderState,
             RecordingState recording)
        : velmoraState_(std::move(velmoraState)),
          uiTestState_(std::move(uiTestState)),
          folderState_(std::move(folderState)),
          recording_(std::move(recording)) {}

    VelmoraState velmoraState_;
    UITestState uiTestState_;
    FolderState folderState_;
    RecordingState recording_;
};

}  // namespace kelvane
