// The shared log: file names, line format, rotation, console echo, failures and threads.
//
// Every test runs in its own process (gtest_discover_tests), so the shared log is made afresh in
// each, with HOME pointing at the test's own temporary folder; the first-use test relies on that.
#include "logging/log.hpp"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "case_name.hpp"
#include "fresh_process.hpp"
#include "log_files.hpp"
#include "scoped_environment.hpp"
#include "temp_home.hpp"

namespace {

namespace fs = std::filesystem;
using kelvane::Log;
using kelvane::sharedLog;
using kelvane::testing::dateTextsBetween;
using kelvane::testing::messageOf;
using kelvane::testing::numberedFiles;
using kelvane::testing::readFile;
using kelvane::testing::writeFile;
using Clock = std::chrono::system_clock;

// The shared log is made once per process, so its first use is checked in a fresh one.
TEST(SharedLog, FirstUseTakesTheDefaultsAndMakesTheLogFolder) {
    kelvane::testing::expectInFreshProcess([]() -> std::string {
        const kelvane::testing::TempHome home;
        const fs::path logs = home.documents() / "Logs";
        if (fs::exists(home.documents())) {
            return "the documents folder existed before the first use";
        }
        Log& log = sharedLog();
        std::string failures;
        const auto expect = [&failures](bool ok, const char* what) {
            if (!ok) {
                failures += std::string(what) + "\n";
            }
        };
        expect(&log == &sharedLog(), "one shared log");
        expect(log.maxFileSize() == 1024u, "maxFileSize 1024");
        expect(log.maxFileCount() == 4, "maxFileCount 4");
        expect(log.directory() == logs.string(), "directory Documents/Logs");
        expect(log.name() == "logfile", "name logfile");
        expect(log.printToConsole(), "printToConsole on");
        expect(log.currentLogPath() == (logs / "logfile-0.log").string(),
               "current path logfile-0.log");
        expect(fs::is_directory(logs) && fs::is_empty(logs), "an empty Logs folder");
        return failures;
    });
}

class LogTest : public ::testing::Test {
  protected:
    fs::path logs() const { return home.documents() / "Logs"; }
    fs::path file(std::int64_t number) const {
        return logs() / ("logfile-" + std::to_string(number) + ".log");
    }

    kelvane::testing::TempHome home;
    Log& log = kelvane::testing::resetSharedLog();
};

struct MessageCase {
    const char* name;
    const char* message;
    friend void PrintTo(const MessageCase& c, std::ostream* out) { *out << c.name; }
};

class LineFormat : public LogTest, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(LineFormat, FirstLineCreatesFileZeroWithTheDatedMessageUnchanged) {
    const std::string message = GetParam().message;
    const auto before = Clock::now();
    log.write(message);
    const auto dates = dateTextsBetween(before, Clock::now());

    EXPECT_EQ(numberedFiles(logs(), "logfile").size(), 1u);
    const std::string content = readFile(file(0));
    ASSERT_TRUE(content.ends_with('\n'));
    EXPECT_EQ(messageOf(std::string_view(content).substr(0, content.size() - 1), dates), message)
        << content;
}

INSTANTIATE_TEST_SUITE_P(
    Messages, LineFormat,
    ::testing::Values(MessageCase{"Plain", "hello"}, MessageCase{"Empty", ""},
                      MessageCase{"TwoLines", "two\nlines\n"}, MessageCase{"LineBreakOnly", "\n"},
                      MessageCase{"NonAscii", "Grüße ✓ 録音"},
                      MessageCase{"DateLikeWithTab", "[not a date]: tab\there"}),
    kelvane::testing::caseName);

// Zones hours apart, there and back: no zone's text for a second is another's for a nearby one.
TEST_F(LogTest, ALineRightAfterAChangeOfZoneShowsTheNewZonesTime) {
    const std::vector<std::optional<std::string>> zones{"UTC", "Asia/Tokyo", "America/New_York",
                                                        "Asia/Tokyo", "UTC"};
    const kelvane::testing::ScopedEnvironment zone("TZ", "UTC");
    log.write("before");
    // Only lines written within one second show that the text kept for that second gave way to
    // the new zone; a run that crosses into the next second is tried again.
    for (int attempt = 0; attempt < 10; ++attempt) {
        fs::remove(file(0));
        const auto second = std::chrono::floor<std::chrono::seconds>(Clock::now());
        for (const auto& name : zones) {
            zone.set(name);
            log.write(name.value_or("unset"));
        }
        if (std::chrono::floor<std::chrono::seconds>(Clock::now()) != second) {
            continue;
        }
        std::string expected;
        std::set<std::string> texts;
        for (const auto& name : zones) {
            zone.set(name);
            const std::string date = kelvane::platform::DateFormatter().stringFromDate(second);
            texts.insert(date);
            expected += "[" + date + "]: " + name.value_or("unset") + "\n";
        }
        ASSERT_EQ(texts.size(), 3u) << "the zones must show three different times";
        EXPECT_EQ(readFile(file(0)), expected);
        return;
    }
    FAIL() << "no run of lines stayed within one second";
}

TEST_F(LogTest, AppendsToTheFileLeftByAnEarlierProcess) {
    fs::create_directories(logs());
    writeFile(file(0), "earlier\n");
    const auto before = Clock::now();
    log.write("first");
    log.write("second");
    const auto dates = dateTextsBetween(before, Clock::now());

    std::istringstream lines(readFile(file(0)));
    std::vector<std::string> entries;
    for (std::string line; std::getline(lines, line);) {
        entries.push_back(line);
    }
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], "earlier");
    EXPECT_EQ(messageOf(entries[1], dates), "first");
    EXPECT_EQ(messageOf(entries[2], dates), "second");
}

TEST_F(LogTest, ConsoleReceivesExactlyTheBytesOfTheFileWhileEchoIsOn) {
    log.setPrintToConsole(true);
    ::testing::internal::CaptureStdout();
    log.write("one");
    log.write("two\nlines");
    log.write("");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), readFile(file(0)));

    log.setPrintToConsole(false);
    ::testing::internal::CaptureStdout();
    log.write("quiet");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_THAT(readFile(file(0)), ::testing::EndsWith("]: quiet\n"));
}

struct SizeCase {
    const char* name;
    std::uintmax_t bytes;
    bool rotates;
};

void PrintTo(const SizeCase& c, std::ostream* out) {
    *out << c.name;
}

class RotationLimit : public LogTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(RotationLimit, RotatesOnceFileZeroHasAtLeastTheLimit) {
    log.setMaxFileSize(1);
    writeFile(file(0), std::string(GetParam().bytes, 'x'));
    log.rotateIfNeeded();

    const auto files = numberedFiles(logs(), "logfile");
    if (GetParam().rotates) {
        EXPECT_EQ(files,
                  (std::map<std::int64_t, std::string>{{1, std::string(GetParam().bytes, 'x')}}));
    } else {
        EXPECT_EQ(files.size(), 1u);
        EXPECT_TRUE(files.contains(0));
    }
}

INSTANTIATE_TEST_SUITE_P(Bytes, RotationLimit,
                         ::testing::Values(SizeCase{"Size0", 0, false},
                                           SizeCase{"Size1023", 1023, false},
                                           SizeCase{"Size1024", 1024, true},
                                           SizeCase{"Size1025", 1025, true}),
                         kelvane::testing::caseName);

TEST_F(LogTest, TheLineThatReachesTheLimitRotatesAtOnceAndIsKept) {
    log.setMaxFileSize(1);
    const std::string message = "reaching the limit";
    const kelvane::platform::DateFormatter formatter;
    const std::size_t dateSize = formatter.stringFromDate(Clock::now()).size();
    fs::create_directories(logs());
    writeFile(file(0), std::string(1024 - (dateSize + message.size() + 5), 'x'));

    log.write(message);
    const bool dateSizeHeld = formatter.stringFromDate(Clock::now()).size() == dateSize;

    const auto files = numberedFiles(logs(), "logfile");
    ASSERT_EQ(files.size(), 1u);
    const auto& [number, content] = *files.begin();
    EXPECT_THAT(content, ::testing::EndsWith("]: " + message + "\n"));
    EXPECT_EQ(number, content.size() >= 1024 ? 1 : 0);
    if (dateSizeHeld) {
        // The date did not change length meanwhile, so the line brought the file to exactly 1 KiB.
        EXPECT_EQ(content.size(), 1024u);
    }

    log.write("next");
    EXPECT_THAT(readFile(file(0)), ::testing::EndsWith("]: next\n"));
}

struct CascadeCase {
    const char* name;
    std::set<std::int64_t> present;
    std::int64_t maxFileCount;
    std::map<std::int64_t, std::int64_t> expected;  // file number after -> file number before
};

void PrintTo(const CascadeCase& c, std::ostream* out) {
    *out << c.name;
}

class Cascade : public LogTest, public ::testing::WithParamInterface<CascadeCase> {};

TEST_P(Cascade, MovesTheRunFromFileZeroUpAndDeletesFileMaxFileCount) {
    const CascadeCase& c = GetParam();
    log.setMaxFileSize(1);
    log.setMaxFileCount(c.maxFileCount);
    fs::create_directories(logs());
    const auto marker = [](std::int64_t number) {
        std::string text = "file " + std::to_string(number) + "\n";
        return number == 0 ? text + std::string(1024, 'x') : text;
    };
    for (const std::int64_t number : c.present) {
        writeFile(file(number), marker(number));
    }

    log.rotateIfNeeded();

    std::map<std::int64_t, std::string> expected;
    for (const auto& [after, before] : c.expected) {
        expected[after] = marker(before);
    }
    EXPECT_EQ(numberedFiles(logs(), "logfile"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Cascade,
    ::testing::Values(
        CascadeCase{"FullRun", {0, 1, 2, 3}, 4, {{1, 0}, {2, 1}, {3, 2}}},
        CascadeCase{"GapStopsTheRun", {0, 1, 3}, 4, {{1, 0}, {2, 1}, {3, 3}}},
        CascadeCase{"FilesAboveTheCountMoveWhileTheRunReachesThem",
                    {0, 1, 2, 3, 4, 5},
                    4,
                    {{1, 0}, {2, 1}, {3, 2}, {5, 4}, {6, 5}}},
        CascadeCase{"FilesAboveTheCountBeyondAGapStay", {0, 1, 6}, 4, {{1, 0}, {2, 1}, {6, 6}}},
        CascadeCase{"SingleFileIsDiscarded", {0}, 1, {}},
        CascadeCase{"SingleFileLeavesAnOlderRunMovedUp", {0, 1}, 1, {{2, 1}}}),
    kelvane::testing::caseName);

struct NoRotationCase {
    const char* name;
    std::uint64_t maxFileSize;
    std::int64_t maxFileCount;
};

void PrintTo(const NoRotationCase& c, std::ostream* out) {
    *out << c.name;
}

class NoRotation : public LogTest, public ::testing::WithParamInterface<NoRotationCase> {};

TEST_P(NoRotation, FileZeroGrowsWithoutBound) {
    log.setMaxFileSize(GetParam().maxFileSize);
    log.setMaxFileCount(GetParam().maxFileCount);
    fs::create_directories(logs());
    writeFile(file(0), std::string(4096, 'x'));

    log.write("grows");
    log.rotateIfNeeded();

    const auto files = numberedFiles(logs(), "logfile");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_THAT(files.at(0), ::testing::EndsWith("]: grows\n"));
}

constexpr std::uint64_t firstOverflowingSize = std::uint64_t{1} << 54;  // its byte count wraps to 0

INSTANTIATE_TEST_SUITE_P(
    Settings, NoRotation,
    ::testing::Values(NoRotationCase{"SizeZero", 0, 4}, NoRotationCase{"CountZero", 1, 0},
                      NoRotationCase{"CountNegative", 1, -1},
                      NoRotationCase{"CountLowest", 1, std::numeric_limits<std::int64_t>::min()},
                      NoRotationCase{"SizeWhoseBytesWrapToZero", firstOverflowingSize, 4},
                      NoRotationCase{"SizeWhoseBytesWrapToOneKibibyte", firstOverflowingSize + 1,
                                     4},
                      NoRotationCase{"SizeHighest", std::numeric_limits<std::uint64_t>::max(), 4}),
    kelvane::testing::caseName);

TEST_F(LogTest, AFailedMoveNeverLetsALaterMoveReplaceAnOlderFile) {
    // "<name>-9.log" fits in a file name but "<name>-10.log" does not, so moving file 9 fails.
    const std::string name(NAME_MAX - std::string("-9.log").size(), 'n');
    log.setName(name);
    log.setMaxFileSize(1);
    log.setMaxFileCount(20);
    fs::create_directories(logs());
    std::map<std::int64_t, std::string> before;
    for (std::int64_t number = 0; number <= 9; ++number) {
        before[number] = std::to_string(number) + std::string(number == 0 ? 1024 : 0, 'x');
        writeFile(logs() / (name + "-" + std::to_string(number) + ".log"), before[number]);
    }

    log.rotateIfNeeded();

    EXPECT_EQ(numberedFiles(logs(), name), before);
}

TEST_F(LogTest, RenameOfANumberThatNamesNoFileDoesNothing) {
    fs::create_directories(logs());
    writeFile(file(0), "zero");
    log.rename(-1);
    log.rename(std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(numberedFiles(logs(), "logfile"), (std::map<std::int64_t, std::string>{{0, "zero"}}));

    log.rename(0);
    EXPECT_EQ(numberedFiles(logs(), "logfile"), (std::map<std::int64_t, std::string>{{1, "zero"}}));
}

TEST(SharedLogFolder, AFolderThatCannotBeMadeIsStillUsedAndItsLinesAreLost) {
    const kelvane::testing::TempHome home;
    writeFile(home.documents(), "a file where the documents folder should be");
    Log& log = kelvane::testing::resetSharedLog();
    EXPECT_EQ(log.directory(), (home.documents() / "Logs").string());
    log.setPrintToConsole(true);

    ::testing::internal::CaptureStdout();
    log.write("lost");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(fs::is_regular_file(home.documents()));
}

struct LostLineCase {
    const char* name;
    std::string (*directory)(const fs::path& home);
};

void PrintTo(const LostLineCase& c, std::ostream* out) {
    *out << c.name;
}

class LostLine : public LogTest, public ::testing::WithParamInterface<LostLineCase> {};

TEST_P(LostLine, NothingIsWrittenOrEchoedAndNothingBreaks) {
    const std::string name = "kelvane-lost-line-" + std::to_string(::getpid());
    writeFile(home.path() / "plain-file", "");
    log.setDirectory(GetParam().directory(home.path()));
    log.setName(name);
    log.setMaxFileSize(1);
    log.setPrintToConsole(true);

    ::testing::internal::CaptureStdout();
    log.write("lost");
    log.rotateIfNeeded();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(fs::exists(log.currentLogPath()));

    // The log works again as soon as it has a folder.
    log.setDirectory(logs().string());
    log.write("kept");
    EXPECT_THAT(readFile(logs() / (name + "-0.log")), ::testing::EndsWith("]: kept\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, LostLine,
    ::testing::Values(
        LostLineCase{"Missing",
                     [](const fs::path& h) { return (h / "missing" / "Logs").string(); }},
        LostLineCase{"APlainFile", [](const fs::path& h) { return (h / "plain-file").string(); }},
        // Empty names no folder: the file must not land in "/".
        LostLineCase{"Empty", [](const fs::path&) { return std::string(); }}),
    kelvane::testing::caseName);

struct FullFileCase {
    const char* name;
    std::size_t roomLeft;  // bytes that still fit under the file size limit
};

void PrintTo(const FullFileCase& c, std::ostream* out) {
    *out << c.name;
}

class FullFile : public ::testing::TestWithParam<FullFileCase> {};

// The process's file size limit stands in for a full disk: a write past it fails with EFBIG, as
// one past the end of space fails with ENOSPC. It is set in a fresh process so that it ends there.
TEST_P(FullFile, ALineThatDoesNotFitLeavesNoFragmentAndTheLogGoesOnWhenSpaceReturns) {
    const std::size_t roomLeft = GetParam().roomLeft;
    kelvane::testing::expectInFreshProcess([roomLeft]() -> std::string {
        const kelvane::testing::TempHome home;
        Log& log = kelvane::testing::resetSharedLog();
        log.setMaxFileSize(0);
        const fs::path file = home.documents() / "Logs" / "logfile-0.log";
        constexpr rlim_t limit = 16 * 1024;
        const std::string earlier = std::string(limit - roomLeft - 1, 'x') + "\n";
        writeFile(file, earlier);

        rlimit sizeLimit{};
        ::getrlimit(RLIMIT_FSIZE, &sizeLimit);
        const rlim_t hardLimit = sizeLimit.rlim_max;
        sizeLimit.rlim_cur = limit;
        if (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR ||
            ::setrlimit(RLIMIT_FSIZE, &sizeLimit) != 0) {
            return "cannot limit the file size";
        }
        log.setPrintToConsole(true);
        ::testing::internal::CaptureStdout();
        const auto before = Clock::now();
        log.write("a line longer than the room that is left");
        const std::string whenFull = readFile(file);
        sizeLimit.rlim_cur = hardLimit;
        ::setrlimit(RLIMIT_FSIZE, &sizeLimit);
        log.write("space is back");
        const auto dates = dateTextsBetween(before, Clock::now());
        const std::string console = ::testing::internal::GetCapturedStdout();

        if (whenFull != earlier) {
            return "a line that did not fit left bytes behind:\n" + whenFull.substr(earlier.size());
        }
        const std::string content = readFile(file);
        const std::string after = content.substr(std::min(earlier.size(), content.size()));
        if (!content.starts_with(earlier) || !after.ends_with('\n') ||
            messageOf(std::string_view(after).substr(0, after.size() - 1), dates) !=
                "space is back") {
            return "the next line did not follow on a line of its own:\n" + after;
        }
        if (console != after) {
            return "the console showed more than the file holds:\n" + console;
        }
        return {};
    });
}

INSTANTIATE_TEST_SUITE_P(Room, FullFile,
                         ::testing::Values(FullFileCase{"PartOfTheLineFits", 10},
                                           FullFileCase{"NothingFits", 0}),
                         kelvane::testing::caseName);

// Another writer of the same file, as another process would be: it appends one line from the
// SIGXFSZ handler, which runs when the log's write past the file size limit fails, that is after
// the log's fragment reached the file and before the log looks at the file again.
namespace other_writer {
const char* path = nullptr;
const char* line = nullptr;
std::size_t lineSize = 0;
volatile std::sig_atomic_t appended = 0;

void appendOnce(int /*signal*/) {
    if (appended != 0) {
        return;
    }
    appended = 1;
    const int savedErrno = errno;
    rlimit sizeLimit{};
    ::getrlimit(RLIMIT_FSIZE, &sizeLimit);
    const rlim_t full = sizeLimit.rlim_cur;
    sizeLimit.rlim_cur = sizeLimit.rlim_max;  // the other writer has room of its own
    ::setrlimit(RLIMIT_FSIZE, &sizeLimit);
    const int file = ::open(path, O_WRONLY | O_APPEND | O_CLOEXEC);
    if (file >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(file, line, lineSize);
        ::close(file);
    }
    sizeLimit.rlim_cur = full;
    ::setrlimit(RLIMIT_FSIZE, &sizeLimit);
    errno = savedErrno;
}
}  // namespace other_writer

TEST(FullFileSharedWithAnotherWriter,
     TheLogNeverCutsBytesThatAnotherWriterAppendedAfterItsFragment) {
    kelvane::testing::expectInFreshProcess([]() -> std::string {
        const kelvane::testing::TempHome home;
        Log& log = kelvane::testing::resetSharedLog();
        log.setMaxFileSize(0);
        const fs::path file = home.documents() / "Logs" / "logfile-0.log";
        constexpr rlim_t limit = 16 * 1024;
        constexpr std::size_t roomLeft = 10;
        const std::string earlier = std::string(limit - roomLeft - 1, 'x') + "\n";
        writeFile(file, earlier);
        const std::string path = file.string();
        const std::string other = "a line of another process\n";
        other_writer::path = path.c_str();
        other_writer::line = other.data();
        other_writer::lineSize = other.size();

        rlimit sizeLimit{};
        ::getrlimit(RLIMIT_FSIZE, &sizeLimit);
        const rlim_t hardLimit = sizeLimit.rlim_max;
        sizeLimit.rlim_cur = limit;
        if (std::signal(SIGXFSZ, other_writer::appendOnce) == SIG_ERR ||
            ::setrlimit(RLIMIT_FSIZE, &sizeLimit) != 0) {
            return "cannot limit the file size";
        }
        log.write("a line longer than the room that is left");
        sizeLimit.rlim_cur = hardLimit;
        ::setrlimit(RLIMIT_FSIZE, &sizeLimit);
        std::signal(SIGXFSZ, SIG_DFL);

        if (other_writer::appended == 0) {
            return "the other writer never ran: the log did not write past the limit";
        }
        // The fragment cannot go without the other writer's line, so both stay.
        const std::string content = readFile(file);
        if (!content.starts_with(earlier) || !content.ends_with(other) ||
            content.size() != limit + other.size()) {
            return "expected the earlier lines, the fragment and the other writer's line; got:\n" +
                   content.substr(std::min(earlier.size(), content.size()));
        }
        return {};
    });
}

std::string threadLine(int thread, int line) {
    return "thread " + std::to_string(thread) + " line " + std::to_string(line);
}

// Writes `linesPerThread` lines from each of `threadCount` threads, running `meanwhile` over and
// over on this thread until they are done; returns every line the threads wrote.
std::multiset<std::string> writeFromThreads(Log& log, int threadCount, int linesPerThread,
                                            const std::function<void()>& meanwhile = {}) {
    std::atomic<int> writing{threadCount};
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < threadCount; ++t) {
            threads.emplace_back([&log, &writing, t, linesPerThread] {
                for (int i = 0; i < linesPerThread; ++i) {
                    log.write(threadLine(t, i));
                }
                --writing;
            });
        }
        while (meanwhile && writing > 0) {
            meanwhile();
        }
    }
    std::multiset<std::string> lines;
    for (int t = 0; t < threadCount; ++t) {
        for (int i = 0; i < linesPerThread; ++i) {
            lines.insert(threadLine(t, i));
        }
    }
    return lines;
}

// The messages of the lines in `content`; a line without one of `dates` shows as "torn: " + line.
std::multiset<std::string> messagesOfLines(const std::string& content,
                                           const std::set<std::string>& dates) {
    std::multiset<std::string> messages;
    std::istringstream lines(content);
    for (std::string line; std::getline(lines, line);) {
        messages.insert(messageOf(line, dates).value_or("torn: " + line));
    }
    return messages;
}

TEST_F(LogTest, EightThreadsAtOnceLeaveEveryLineWholeAndOnceAcrossRotations) {
    log.setMaxFileSize(4);
    log.setMaxFileCount(1000);
    log.setPrintToConsole(true);

    ::testing::internal::CaptureStdout();
    const auto before = Clock::now();
    const auto written = writeFromThreads(log, 8, 250);
    const auto dates = dateTextsBetween(before, Clock::now());
    const std::string console = ::testing::internal::GetCapturedStdout();

    // Oldest file first gives the order in which the lines were written.
    const auto files = numberedFiles(logs(), "logfile");
    ASSERT_GT(files.size(), 2u) << "the run should have rotated";
    std::string all;
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        all += it->second;
    }
    EXPECT_EQ(all, console);
    EXPECT_EQ(messagesOfLines(all, dates), written);
}

TEST_F(LogTest, SettingsChangedWhileThreadsWriteNeverTearOrLoseALine) {
    log.setMaxFileCount(1000);
    const auto before = Clock::now();
    int round = 0;
    const auto written = writeFromThreads(log, 4, 200, [&] {
        log.setName(round % 2 == 0 ? "logfile" : "other");
        log.setMaxFileSize(round % 3 == 0 ? 1 : 4);
        log.rotateIfNeeded();
        EXPECT_THAT(log.currentLogPath(), ::testing::EndsWith("-0.log"));
        ++round;
    });
    const auto dates = dateTextsBetween(before, Clock::now());

    std::multiset<std::string> messages;
    for (const char* name : {"logfile", "other"}) {
        for (const auto& [number, content] : numberedFiles(logs(), name)) {
            messages.merge(messagesOfLines(content, dates));
        }
    }
    EXPECT_EQ(messages, written);
}

}  // namespace
