#include "logging/line_date.hpp"

namespace kelvane {

const std::string& LineDate::textFor(std::chrono::system_clock::time_point now) {
    if (!formatter_ || !formatter_->matchesHost()) {
        formatter_.emplace();
        second_.reset();
    }
    const std::int64_t second =
        std::chrono::floor<std::chrono::seconds>(now.time_since_epoch()).count();
    if (second_ != second) {
        text_ = formatter_->stringFromDate(now);
        second_ = second;
    }
    return text_;
}

}  // namespace kelvane
