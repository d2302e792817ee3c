// The date text of log lines: one formatting per second, following a change of TZ or of ICU's
// default locale from the next text on.
#include "logging/line_date.hpp"

#include <chrono>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scoped_default_locale.hpp"
#include "scoped_environment.hpp"

namespace {

using kelvane::LineDate;
using kelvane::platform::DateFormatter;
using kelvane::testing::ScopedDefaultLocale;
using kelvane::testing::ScopedEnvironment;
using namespace std::chrono_literals;

const std::chrono::system_clock::time_point moment{1710074096250ms};  // 2024-03-10 12:34:56.250 UTC

TEST(LineDate, GivesTheFormattersTextForEverySecond) {
    const DateFormatter formatter;
    LineDate date;

    EXPECT_EQ(date.textFor(moment), formatter.stringFromDate(moment));
    EXPECT_EQ(date.textFor(moment + 700ms), formatter.stringFromDate(moment));
    EXPECT_EQ(date.textFor(moment + 750ms), formatter.stringFromDate(moment + 1s));
    EXPECT_EQ(date.textFor(moment - 1h), formatter.stringFromDate(moment - 1h));
}

TEST(LineDate, FollowsAChangeOfZoneFromTheNextSecond) {
    const ScopedEnvironment zone("TZ", "UTC");
    const DateFormatter utc;
    LineDate date;
    EXPECT_EQ(date.textFor(moment), utc.stringFromDate(moment));

    zone.set("Asia/Tokyo");
    EXPECT_EQ(date.textFor(moment + 1s), utc.stringFromDate(moment + 1s + 9h));
    zone.set(std::nullopt);
    EXPECT_EQ(date.textFor(moment + 2s), DateFormatter().stringFromDate(moment + 2s));
}

// Every text for the same moment, so only the zone can change it: zones hours apart, there and
// back, the variable unset and empty.
TEST(LineDate, FollowsEveryChangeOfZoneWithinTheSameSecond) {
    const std::vector<std::optional<std::string>> zones{
        "UTC",        "Asia/Tokyo", "America/New_York", "Asia/Tokyo", "UTC",
        std::nullopt, "",           "America/New_York", std::nullopt};
    const ScopedEnvironment zone("TZ", "UTC");
    LineDate date;
    std::set<std::string> texts;
    for (const auto& name : zones) {
        zone.set(name);
        const std::string expected = DateFormatter().stringFromDate(moment);
        EXPECT_EQ(date.textFor(moment), expected) << name.value_or("(unset)");
        if (name && !name->empty()) {
            texts.insert(expected);
        }
    }
    EXPECT_EQ(texts.size(), 3u) << "the named zones must show three different times";
}

TEST(LineDate, FollowsAChangeOfTheDefaultLocaleWithinTheSameSecond) {
    const ScopedEnvironment zone("TZ", "UTC");
    const ScopedDefaultLocale locale("en_US");
    LineDate date;
    const std::string english = date.textFor(moment);

    locale.set("de_DE");
    const std::string german = DateFormatter().stringFromDate(moment);
    ASSERT_NE(german, english);
    EXPECT_EQ(date.textFor(moment), german);
    locale.set("en_US");
    EXPECT_EQ(date.textFor(moment), english);
}

}  // namespace
