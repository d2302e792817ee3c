#include "logging/line_date.hpp"

#include <cstdlib>

namespace kelvane {

bool LineDate::zoneVariableChanged() const {
    const char* zone = std::getenv("TZ");
    return zone == nullptr ? zoneVariable_.has_value() : !zoneVariable_ || *zoneVariable_ != zone;
}

const std::string& LineDate::textFor(std::chrono::system_clock::time_point now) {
    const std::int64_t second =
        std::chrono::floor<std::chrono::seconds>(now.time_since_epoch()).count();
    if (second_ == second) {
        return text_;
    }
    if (!formatter_ || zoneVariableChanged()) {
        const char* zone = std::getenv("TZ");
        zoneVariable_ = zone == nullptr ? std::nullopt : std::optional<std::string>(zone);
        formatter_.emplace();
    }
    text_ = formatter_->stringFromDate(now);
    second_ = second;
    return text_;
}

}  // namespace kelvane
