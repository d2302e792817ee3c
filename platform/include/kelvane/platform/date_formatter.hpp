#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace kelvane::platform {

/// Formats moments as text with the medium date style and the medium time style (whole seconds)
/// of the current locale (ICU's default locale) in the host's time zone, both as they are when the
/// formatter is made (so a formatter made after `TZ` changes follows the new zone).
/// The exact text is the locale's.
///
/// Making one costs far more than using one: keep it, and ask `matchesHost()` before a use that
/// must follow the host. One thread at a time per formatter; making formatters is safe from any
/// thread. Where no locale data can be loaded, the text falls back to "YYYY-MM-DD hh:mm:ss" in
/// local time.
class DateFormatter {
  public:
    DateFormatter();
    ~DateFormatter();
    DateFormatter(DateFormatter&&) noexcept;
    DateFormatter& operator=(DateFormatter&&) noexcept;

    /// The text of `date`; sub-second parts are not shown.
    std::string stringFromDate(std::chrono::system_clock::time_point date) const;

    /// Whether a formatter made now would take the same zone and locale: false once the `TZ`
    /// variable (set, unset or another text) or ICU's default locale has changed since this one
    /// was made, and for a moved-from formatter. Cheap (no system call, no allocation), so that a
    /// kept formatter can be checked before every use. Only the first 4096 bytes of `TZ` are read:
    /// a change beyond them is not seen (no zone name, rule or file path is that long). A change
    /// of the system's zone file while `TZ` is unset is not seen either. Like any reading of the
    /// environment, it must not run while another thread changes the environment.
    bool matchesHost() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kelvane::platform
