#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <linux/capability.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <kelvane/platform/user_defaults.hpp>

#include <gtest/gtest.h>

#include "case_name.hpp"
#include "fresh_process.hpp"
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
    for (const std::string& text :
         std::vector<std::string>{"", "not json", "{\"a\": 1", "[1, 2]", "{\"a\": {\"nested\": 1}}",
                                  "{\"a\": [1]}", "{\"a\": \"\\ud800\"}", "{\"a\": 1} trailing",
                                  "{\"a\": 1e400}", std::string("\0\xff", 2)}) {
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

TEST_F(UserDefaultsTest, IntegersStayIntegersWhileTheyFitAndBecomeFloatingBeyond) {
    writeFile(
        "{\"max\": 9223372036854775807, \"min\": -9223372036854775808, "
        "\"above\": 9223372036854775808, \"below\": -9223372036854775809, "
        "\"whole\": 2.0, \"exponent\": 1e2}");
    const UserDefaults defaults(file());
    EXPECT_EQ(defaults.objectForKey("max"), UserDefaults::Value(INT64_MAX));
    EXPECT_EQ(defaults.objectForKey("min"), UserDefaults::Value(INT64_MIN));
    EXPECT_EQ(defaults.objectForKey("above"), UserDefaults::Value(9223372036854775808.0));
    EXPECT_EQ(defaults.objectForKey("below"), UserDefaults::Value(-9223372036854775808.0));
    EXPECT_EQ(defaults.objectForKey("whole"), UserDefaults::Value(2.0));
    EXPECT_EQ(defaults.objectForKey("exponent"), UserDefaults::Value(100.0));
}

TEST_F(UserDefaultsTest, TextsThatAreNotUtf8AreWrittenWithReplacementCharacters) {
    {
        UserDefaults defaults(file());
        defaults.setObject(std::string("caf\xe9"), "text");
        defaults.setObject(std::numeric_limits<double>::infinity(), "infinite");
        ASSERT_TRUE(defaults.synchronize());
    }
    const UserDefaults reread(file());
    EXPECT_EQ(reread.objectForKey("text"), UserDefaults::Value(std::string("caf\xef\xbf\xbd")));
    EXPECT_FALSE(reread.objectForKey("infinite").has_value());
}

TEST_F(UserDefaultsTest, OneInstanceServesManyThreadsAtOnce) {
    constexpr int threadCount = 4;
    constexpr int rounds = 200;
    UserDefaults defaults(file());
    std::atomic<int> wrong{0};
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < threadCount; ++t) {
            threads.emplace_back([&, t] {
                const std::string key = "key" + std::to_string(t);
                for (int round = 0; round < rounds; ++round) {
                    defaults.setObject(std::int64_t{round}, key);
                    if (defaults.integerForKey(key) != round ||
                        defaults.doubleForKey(key) != round) {
                        ++wrong;
                    }
                    if (round % 50 == 49 && !defaults.synchronize()) {
                        ++wrong;
                    }
                    defaults.removeObjectForKey("gone" + std::to_string(t));
                }
            });
        }
    }
    EXPECT_EQ(wrong, 0);
    const UserDefaults reread(file());
    for (int t = 0; t < threadCount; ++t) {
        EXPECT_EQ(reread.integerForKey("key" + std::to_string(t)), rounds - 1);
    }
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

// Takes from a root process the power to read and write files whatever their permissions say, so
// that a file's permissions hold for it as for any other user. Only the effective set changes,
// which needs no privilege; without root there is nothing to take.
bool dropPermissionOverride() {
    if (::geteuid() != 0) {
        return true;
    }
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0) {
        return false;
    }
    data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    return ::syscall(SYS_capset, &header, data) == 0;
}

struct BadPathCase {
    const char* name;
    // Puts something that is not a readable regular file at `path`; false when it cannot.
    std::function<bool(const std::filesystem::path& path)> make;
};

void PrintTo(const BadPathCase& c, std::ostream* out) {
    *out << c.name;
}

class BadPath : public ::testing::TestWithParam<BadPathCase> {};

std::set<std::string> entriesOf(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// In a fresh process, so that a reader that blocks is stopped by the alarm, and a dropped
// permission override ends with it.
TEST_P(BadPath, ReadsAsEmptyWithoutBlockingAndIsNeverReplaced) {
    const BadPathCase& c = GetParam();
    kelvane::testing::expectInFreshProcess([&c]() -> std::string {
        ::alarm(30);
        const kelvane::testing::TempHome home;
        const auto path = home.path() / "defaults.json";
        if (!dropPermissionOverride() || !c.make(path)) {
            return "cannot set the case up";
        }
        struct stat before {};
        ::lstat(path.c_str(), &before);
        const auto entries = entriesOf(home.path());

        UserDefaults defaults(path);
        std::string failures;
        if (defaults.objectForKey("a").has_value()) {
            failures += "a value was read\n";
        }
        defaults.setObject(std::int64_t{2}, "a");
        if (defaults.synchronize()) {
            failures += "synchronize() reported success\n";
        }
        if (defaults.integerForKey("a") != 2) {
            failures += "the value set was not kept in memory\n";
        }
        struct stat after {};
        ::lstat(path.c_str(), &after);
        if (entriesOf(home.path()) != entries || after.st_ino != before.st_ino ||
            after.st_mode != before.st_mode || after.st_size != before.st_size) {
            failures += "the folder changed\n";
        }
        return failures;
    });
}

const std::string storedValue = "{\"a\": 1}";

INSTANTIATE_TEST_SUITE_P(
    Paths, BadPath,
    ::testing::Values(
        BadPathCase{"Folder",
                    [](const std::filesystem::path& path) {
                        return std::filesystem::create_directory(path) &&
                               (std::ofstream(path / "inside.json") << storedValue).good();
                    }},
        BadPathCase{
            "Fifo",
            [](const std::filesystem::path& path) { return ::mkfifo(path.c_str(), 0644) == 0; }},
        // A device that never runs dry: a reader that opens and reads it never ends.
        BadPathCase{"Device",
                    [](const std::filesystem::path& path) {
                        return ::symlink("/dev/zero", path.c_str()) == 0;
                    }},
        BadPathCase{"FileWithoutReadPermission",
                    [](const std::filesystem::path& path) {
                        return (std::ofstream(path) << storedValue).good() &&
                               ::chmod(path.c_str(), 0200) == 0 &&
                               ::open(path.c_str(), O_RDONLY | O_CLOEXEC) < 0;
                    }}),
    kelvane::testing::caseName);

// The test's writers each own a key and store in it a text that shows whether it is whole: the
// round it was written in and a long run of one letter.
std::string payload(int writer, int round) {
    return std::to_string(round) + ":" + std::string(4096, static_cast<char>('a' + writer));
}

bool isWhole(const UserDefaults& defaults, int writerCount) {
    for (int writer = 0; writer < writerCount; ++writer) {
        const auto value = defaults.objectForKey("writer" + std::to_string(writer));
        const auto* text = value ? std::get_if<std::string>(&*value) : nullptr;
        if (text == nullptr) {
            return false;
        }
        const int round = std::atoi(text->c_str());
        if (*text != payload(writer, round)) {
            return false;
        }
    }
    return true;
}

constexpr int writerCount = 4;
constexpr int roundsPerWriter = 40;

// Each writer writes its own key `roundsPerWriter` times; true when every synchronize() succeeded.
bool writeRounds(UserDefaults& defaults, int writer) {
    bool allWritten = true;
    for (int round = 1; round <= roundsPerWriter; ++round) {
        defaults.setObject(payload(writer, round), "writer" + std::to_string(writer));
        allWritten = defaults.synchronize() && allWritten;
    }
    return allWritten;
}

struct WritersCase {
    const char* name;
    // Runs the writers, calling `readWhile` until they are done; true when they all succeeded.
    std::function<bool(const std::filesystem::path& file, const std::function<void()>& readOnce)>
        run;
};

void PrintTo(const WritersCase& c, std::ostream* out) {
    *out << c.name;
}

// Two instances, each used by two threads.
bool writeFromTwoInstances(const std::filesystem::path& file,
                           const std::function<void()>& readOnce) {
    UserDefaults first(file);
    UserDefaults second(file);
    std::atomic<int> running{writerCount};
    std::atomic<bool> allWritten{true};
    {
        std::vector<std::jthread> writers;
        for (int writer = 0; writer < writerCount; ++writer) {
            writers.emplace_back([&, writer] {
                if (!writeRounds(writer % 2 == 0 ? first : second, writer)) {
                    allWritten = false;
                }
                --running;
            });
        }
        while (running > 0) {
            readOnce();
        }
    }
    return allWritten;
}

// Two processes with two writers each, one after the other.
bool writeFromTwoProcesses(const std::filesystem::path& file,
                           const std::function<void()>& readOnce) {
    std::vector<pid_t> children;
    for (int process = 0; process < 2; ++process) {
        const pid_t child = ::fork();
        if (child == 0) {
            UserDefaults defaults(file);
            const bool ok =
                writeRounds(defaults, 2 * process) && writeRounds(defaults, 2 * process + 1);
            ::_exit(ok ? 0 : 1);
        }
        if (child < 0) {
            return false;
        }
        children.push_back(child);
    }
    bool allWritten = true;
    for (const pid_t child : children) {
        int status = 0;
        while (::waitpid(child, &status, WNOHANG) == 0) {
            readOnce();
        }
        allWritten = allWritten && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    return allWritten;
}

class ConcurrentWriters : public UserDefaultsTest,
                          public ::testing::WithParamInterface<WritersCase> {};

TEST_P(ConcurrentWriters, NeverDamageTheFileAndLeaveNothingBehind) {
    {
        UserDefaults seed(file());
        for (int writer = 0; writer < writerCount; ++writer) {
            seed.setObject(payload(writer, 0), "writer" + std::to_string(writer));
        }
        ASSERT_TRUE(seed.synchronize());
    }
    int reads = 0;
    int damaged = 0;
    const bool allWritten = GetParam().run(file(), [&] {
        ++reads;
        damaged += isWhole(UserDefaults(file()), writerCount) ? 0 : 1;
    });

    EXPECT_TRUE(allWritten);
    EXPECT_EQ(damaged, 0) << "of " << reads << " reads";
    EXPECT_TRUE(isWhole(UserDefaults(file()), writerCount));
    EXPECT_EQ(entriesOf(home.path()), std::set<std::string>{"defaults.json"});
}

INSTANTIATE_TEST_SUITE_P(Writers, ConcurrentWriters,
                         ::testing::Values(WritersCase{"TwoInstances", writeFromTwoInstances},
                                           WritersCase{"TwoProcesses", writeFromTwoProcesses}),
                         kelvane::testing::caseName);

}  // namespace
