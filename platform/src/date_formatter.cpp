#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <optional>
#include <string_view>

#include <kelvane/platform/date_formatter.hpp>
#include <kelvane/platform/detail/never_destroyed.hpp>

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace kelvane::platform {

namespace {

// No zone name, rule or zone file path is longer than a path can be; reading `TZ` stops there, so
// an overlong value costs no more than that to compare.
constexpr std::size_t zoneVariableLimit = PATH_MAX;

std::optional<std::string_view> zoneVariable() {
    const char* zone = std::getenv("TZ");
    if (zone == nullptr) {
        return std::nullopt;
    }
    return std::string_view(zone, ::strnlen(zone, zoneVariableLimit));
}

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

struct DateFormatter::Impl {
    // What the formatter was made from, to tell whether a new one would differ.
    std::optional<std::string> zoneVariable;
    std::string localeName;
    std::unique_ptr<icu::DateFormat> format;
};

DateFormatter::DateFormatter() : impl_(std::make_unique<Impl>()) {
    const icu::Locale locale = icu::Locale::getDefault();
    impl_->localeName = locale.getName();
    impl_->format.reset(icu::DateFormat::createDateTimeInstance(icu::DateFormat::kMedium,
                                                                icu::DateFormat::kMedium, locale));
    // ICU keeps the zone it saw first for the whole process; ask the host afresh instead. The
    // variable is read in the same step as the detection, so that both see the same value.
    const std::lock_guard lock(detectionMutex());
    impl_->zoneVariable = zoneVariable();
    if (impl_->format) {
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

bool DateFormatter::matchesHost() const {
    return impl_ && zoneVariable() == impl_->zoneVariable &&
           std::strcmp(icu::Locale::getDefault().getName(), impl_->localeName.c_str()) == 0;
}

}  // namespace kelvane::platform
