#include <ctime>
#include <mutex>

#include <kelvane/platform/date_formatter.hpp>
#include <kelvane/platform/detail/never_destroyed.hpp>

#include <unicode/datefmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace kelvane::platform {

struct DateFormatter::Impl {
    std::unique_ptr<icu::DateFormat> format;
};

namespace {

// ICU's host zone detection is not thread-safe (it resets the C library's zone state). Never
// destroyed: the log makes a formatter at exit too.
std::mutex& detectionMutex() {
    static detail::NeverDestroyed<std::mutex> mutex;
    return *mutex;
}

std::string fallbackText(std::chrono::system_clock::time_point date) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(date);
    std::tm parts{};
    char buffer[32] = {};
    ::tzset();
    if (::localtime_r(&seconds, &parts) == nullptr ||
        std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &parts) == 0) {
        return {};
    }
    return buffer;
}

}  // namespace

DateFormatter::DateFormatter() : impl_(std::make_unique<Impl>()) {
    impl_->format.reset(icu::DateFormat::createDateTimeInstance(icu::DateFormat::kMedium,
                                                                icu::DateFormat::kMedium));
    if (impl_->format) {
        // ICU keeps the zone it saw first for the whole process; ask the host afresh instead.
        const std::lock_guard lock(detectionMutex());
        impl_->format->adoptTimeZone(icu::TimeZone::detectHostTimeZone());
    }
}

DateFormatter::~DateFormatter() = default;
DateFormatter::DateFormatter(DateFormatter&&) noexcept = default;
DateFormatter& DateFormatter::operator=(DateFormatter&&) noexcept = default;

std::string DateFormatter::stringFromDate(std::chrono::system_clock::time_point date) const {
    if (!impl_ || !impl_->format) {
        return fallbackText(date);
    }
    const auto milliseconds =
        std::chrono::floor<std::chrono::milliseconds>(date.time_since_epoch()).count();
    icu::UnicodeString text;
    impl_->format->format(static_cast<UDate>(milliseconds), text);
    std::string out;
    text.toUTF8String(out);
    return out;
}

}  // namespace kelvane::platform
