// The medium date and time formatter: whole seconds, the host's zone and ICU's default locale as
// they were when made, and whether a formatter made now would differ.
#include <chrono>
#include <optional>
#include <string>

#include <kelvane/platform/date_formatter.hpp>

#include <gtest/gtest.h>

#include "scoped_default_locale.hpp"
#include "scoped_environment.hpp"

namespace {

using kelvane::platform::DateFormatter;
using kelvane::testing::ScopedDefaultLocale;
using kelvane::testing::ScopedEnvironment;
using namespace std::chrono_literals;

// 2024-03-10 12:34:56.250 UTC: any moment works, a fixed one keeps failures reproducible.
const std::chrono::system_clock::time_point moment{1710074096250ms};

TEST(DateFormatter, ShowsWholeSeconds) {
    const DateFormatter formatter;
    const std::string text = formatter.stringFromDate(moment);

    EXPECT_FALSE(text.empty());
    EXPECT_EQ(formatter.stringFromDate(moment - 250ms), text);
    EXPECT_EQ(formatter.stringFromDate(moment + 749ms), text);
    EXPECT_NE(formatter.stringFromDate(moment + 750ms), text);
    EXPECT_NE(formatter.stringFromDate(moment - 251ms), text);
}

TEST(DateFormatter, UsesTheHostZoneOfTheMomentItIsMade) {
    const ScopedEnvironment zone("TZ", "UTC");
    const DateFormatter utc;
    zone.set("Asia/Tokyo");  // nine hours ahead of UTC all year
    const DateFormatter tokyo;

    EXPECT_EQ(tokyo.stringFromDate(moment), utc.stringFromDate(moment + 9h));
    EXPECT_NE(tokyo.stringFromDate(moment), utc.stringFromDate(moment));
}

TEST(DateFormatter, MatchesTheHostUntilTheZoneVariableChanges) {
    const ScopedEnvironment zone("TZ", std::nullopt);
    const DateFormatter unset;
    EXPECT_TRUE(unset.matchesHost());

    zone.set("Asia/Tokyo");
    EXPECT_FALSE(unset.matchesHost());
    const DateFormatter tokyo;
    EXPECT_TRUE(tokyo.matchesHost());
    zone.set("Asia/Tokyo");  // the same text again, in new storage
    EXPECT_TRUE(tokyo.matchesHost());

    // Texts that share a beginning or an end with the formatter's, and the empty one (which is
    // not the same as no variable).
    for (const char* other : {"Asia/Toky", "Asia/Tokyo ", "", "UTC"}) {
        zone.set(other);
        EXPECT_FALSE(tokyo.matchesHost()) << '"' << other << '"';
    }
    zone.set(std::nullopt);
    EXPECT_FALSE(tokyo.matchesHost());
    EXPECT_TRUE(unset.matchesHost());
}

TEST(DateFormatter, MatchesTheHostUntilTheDefaultLocaleChanges) {
    const ScopedEnvironment zone("TZ", "UTC");
    const ScopedDefaultLocale locale("en_US");
    const DateFormatter english;
    EXPECT_TRUE(english.matchesHost());

    locale.set("de_DE");
    EXPECT_FALSE(english.matchesHost());
    const DateFormatter german;
    EXPECT_TRUE(german.matchesHost());
    EXPECT_NE(german.stringFromDate(moment), english.stringFromDate(moment));

    locale.set("en_US");
    EXPECT_TRUE(english.matchesHost());
    EXPECT_FALSE(german.matchesHost());
}

// The variable comes from outside: a value longer than any zone text formats without harm, and
// only its first 4096 bytes are compared.
TEST(DateFormatter, ReadsAnOverlongZoneVariableOnlyAsFarAsAZoneTextReaches) {
    constexpr std::size_t bytesRead = 4096;
    std::string overlong(bytesRead + 100, 'A');
    const ScopedEnvironment zone("TZ", overlong);
    const DateFormatter formatter;
    EXPECT_FALSE(formatter.stringFromDate(moment).empty());
    EXPECT_TRUE(formatter.matchesHost());

    overlong[bytesRead] = 'B';
    zone.set(overlong);
    EXPECT_TRUE(formatter.matchesHost());
    overlong[bytesRead - 1] = 'B';
    zone.set(overlong);
    EXPECT_FALSE(formatter.matchesHost());
}

}  // namespace
