#include <kelvane/model/recording.hpp>

namespace kelvane {

Recording::Recording() : dateCreated_(std::chrono::system_clock::now()) {}

}  // namespace kelvane
