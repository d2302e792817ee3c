#include <fstream>

#include <kelvane/platform/user_defaults.hpp>

#include <gtest/gtest.h>

#include "temp_home.hpp"

namespace {

using kelvane::platform::UserDefaults;

class UserDefaultsTest : public ::testing::Test {
  protected:
    std::filesystem::path file() const { return home.path() / "defaults.json"; }
    void writeFile(const std::string& text) const {
        std::ofstream(file(), std::ios::binary) << text;
    }

    kelvane::testing::TempHome home;
};

TEST_F(UserDefaultsTest, ValuesSurviveSynchronizeAndKeepTheirKinds) {
    {
        UserDefaults defaults(file());
        defaults.setObject(std::int64_t{3}, "lastTestEntry");
        defaults.setObject(12.5, "dragBtnPositionX");
        defaults.setObject(40.0, "dragBtnPositionY");
        defaults.setObject(std::string("quote \" and \\ and \n and \x01 and caf\xc3\xa9"), "text");
        defaults.setObject(true, "flag");
        ASSERT_TRUE(defaults.synchronize());
    }
    const UserDefaults reread(file());
    EXPECT_EQ(reread.objectForKey("lastTestEntry"), UserDefaults::Value(std::int64_t{3}));
    EXPECT_EQ(reread.objectForKey("dragBtnPositionX"), UserDefaults::Value(12.5));
    EXPECT_EQ(reread.objectForKey("dragBtnPositionY"), UserDefaults::Value(40.0));
    EXPECT_EQ(reread.objectForKey("text"),
              UserDefaults::Value(std::string("quote \" and \\ and \n and \x01 and caf\xc3\xa9")));
    EXPECT_EQ(reread.objectForKey("flag"), UserDefaults::Value(true));
    EXPECT_EQ(reread.objectForKey("missing"), std::nullopt);
}

TEST_F(UserDefaultsTest, UnsynchronizedChangesAreNotWritten) {
    UserDefaults defaults(file());
    defaults.setObject(std::int64_t{1}, "a");
    EXPECT_FALSE(UserDefaults(file()).objectForKey("a").has_value());
}

TEST_F(UserDefaultsTest, DamagedOrForeignFilesReadAsEmpty) {
    for (const std::string& text : std::vector<std::string>{
             "", "not json", "{\"a\": 1", "[1, 2]", "{\"a\": {\"nested\": 1}}",
             "{\"a\": \"\\ud800\"}", "{\"a\": 1} trailing", std::string("\0\xff", 2)}) {
        writeFile(text);
        const UserDefaults defaults(file());
        EXPECT_FALSE(defaults.objectForKey("a").has_value()) << text;
    }
    writeFile("{ \"a\" : -2 , \"b\":\"\\u00e9\\ud83d\\ude00\", \"c\": null }");
    const UserDefaults defaults(file());
    EXPECT_EQ(defaults.integerForKey("a"), -2);
    EXPECT_EQ(defaults.objectForKey("b"),
              UserDefaults::Value(std::string("\xc3\xa9\xf0\x9f\x98\x80")));
    EXPECT_FALSE(defaults.objectForKey("c").has_value());
}

TEST_F(UserDefaultsTest, NumberConversions) {
    UserDefaults defaults(file());
    struct Case {
        UserDefaults::Value value;
        std::optional<double> asDouble;
        std::optional<std::int64_t> asInteger;
    };
    const std::vector<Case> cases = {
        {std::int64_t{7}, 7.0, 7},
        {2.0, 2.0, 2},
        {2.5, 2.5, std::nullopt},
        {9223372036854775808.0, 9223372036854775808.0, std::nullopt},
        {std::string("4"), 4.0, 4},
        {std::string("4.5"), 4.5, std::nullopt},
        {std::string("four"), std::nullopt, std::nullopt},
        {std::string(""), std::nullopt, std::nullopt},
        {true, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        defaults.setObject(c.value, "k");
        EXPECT_EQ(defaults.doubleForKey("k"), c.asDouble);
        EXPECT_EQ(defaults.integerForKey("k"), c.asInteger);
    }
    defaults.removeObjectForKey("k");
    EXPECT_EQ(defaults.doubleForKey("k"), std::nullopt);
}

TEST_F(UserDefaultsTest, UnwritableLocationReportsFailureAndKeepsValues) {
    const auto blocker = home.path() / "blocker";
    std::ofstream(blocker) << "a file, not a folder";
    UserDefaults defaults(blocker / "defaults.json");
    defaults.setObject(std::int64_t{1}, "a");
    EXPECT_FALSE(defaults.synchronize());
    EXPECT_EQ(defaults.integerForKey("a"), 1);
}

TEST_F(UserDefaultsTest, StandardDefaultsLiveUnderTheConfigFolder) {
    EXPECT_EQ(UserDefaults::standard().file(),
              home.path() / ".config" / "kelvane" / "user-defaults.json");
}

}  // namespace
