// The date text of log lines: one formatting per second, following a change of TZ.
#include "logging/line_date.hpp"

#include <chrono>

#include <gtest/gtest.h>

#include "scoped_environment.hpp"

namespace {

using kelvane::LineDate;
using kelvane::platform::DateFormatter;
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

}  // namespace
