#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include <kelvane/platform/date_formatter.hpp>

namespace kelvane {

/// The date text of log lines: a moment in the medium date and time style of the current locale
/// and time zone.
///
/// The style shows whole seconds, so the text is formatted once per second and kept, and so is
/// the formatter (making one costs far more than a line's file work). Both are kept only while a
/// formatter made now would be the same (`DateFormatter::matchesHost()`, checked for every text):
/// a change of `TZ` or of ICU's default locale shows from the next text on, within the same second
/// too. A change of the system's zone file with `TZ` unset is seen by a new process. One thread
/// at a time.
class LineDate {
  public:
    /// The text for `now`; valid until the next call.
    const std::string& textFor(std::chrono::system_clock::time_point now);

  private:
    std::optional<platform::DateFormatter> formatter_;
    std::optional<std::int64_t> second_;  // of text_; none when text_ is of no formatter kept
    std::string text_;
};

}  // namespace kelvane
