#pragma once

// Sets ICU's default locale for a scope and puts the earlier one back afterwards.

#include <stdexcept>

#include <unicode/locid.h>

namespace kelvane::testing {

class ScopedDefaultLocale {
  public:
    explicit ScopedDefaultLocale(const char* name) : earlier_(icu::Locale::getDefault()) {
        set(name);
    }
    ~ScopedDefaultLocale() { setDefault(earlier_); }

    ScopedDefaultLocale(const ScopedDefaultLocale&) = delete;
    ScopedDefaultLocale& operator=(const ScopedDefaultLocale&) = delete;

    void set(const char* name) const {
        if (!setDefault(icu::Locale(name))) {
            throw std::runtime_error("cannot set ICU's default locale");
        }
    }

  private:
    static bool setDefault(const icu::Locale& locale) {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(locale, status);
        return U_SUCCESS(status);
    }

    icu::Locale earlier_;
};

}  // namespace kelvane::testing
