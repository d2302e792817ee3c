#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace kelvane::platform {

/// Formats moments as text with the medium date style and the medium time style (whole seconds)
/// of the current locale, in the host's time zone as it is when the formatter is made (so a
/// formatter made after `TZ` changes follows the new zone). The exact text is the locale's.
///
/// Making one costs far more than using one: keep it. One thread at a time per formatter; making
/// formatters is safe from any thread. Where no locale data can be loaded, the text falls back to
/// "YYYY-MM-DD hh:mm:ss" in local time.
class DateFormatter {
  public:
    DateFormatter();
    ~DateFormatter();
    DateFormatter(DateFormatter&&) noexcept;
    DateFormatter& operator=(DateFormatter&&) noexcept;

    /// The text of `date`; sub-second parts are not shown.
    std::string stringFromDate(std::chrono::system_clock::time_point date) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kelvane::platform
