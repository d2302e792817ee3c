// The medium date and time formatter: whole seconds, and the host's zone as it was when made.
#include <chrono>

#include <kelvane/platform/date_formatter.hpp>

#include <gtest/gtest.h>

#include "scoped_environment.hpp"

namespace {

using kelvane::platform::DateFormatter;
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

}  // namespace
