#include <kelvane/state/recording_actions.hpp>

namespace kelvane {

void PauseRecordingAction::appendPrinted(std::string& out) const {
    out += description();
}

}  // namespace kelvane
