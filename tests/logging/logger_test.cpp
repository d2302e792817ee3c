// The static logger: which calls leave breadcrumbs, the error prefix, and the log's initial setup.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <kelvane/logging/logger.hpp>
#include <kelvane/platform/bugsnag.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "case_name.hpp"
#include "log_files.hpp"
#include "logging/log.hpp"
#include "temp_home.hpp"

namespace {

namespace fs = std::filesystem;
using kelvane::Logger;
using kelvane::sharedLog;
using kelvane::platform::Bugsnag;
using kelvane::testing::readFile;
using Clock = std::chrono::system_clock;

class LoggerTest : public ::testing::Test {
  protected:
    LoggerTest() {
        kelvane::testing::resetSharedLog();
        Bugsnag::setBreadcrumbSink(
            [this](const std::string& message) { breadcrumbs.push_back(message); });
    }
    ~LoggerTest() override {
        Bugsnag::setBreadcrumbSink({});
        Logger::setIsBugsnagInit(false);
    }

    fs::path logs() const { return home.documents() / "Logs"; }

    std::vector<std::string> messagesIn(const fs::path& file) const {
        return kelvane::testing::messagesIn(file, start);
    }

    kelvane::testing::TempHome home;
    const Clock::time_point start = Clock::now();
    std::vector<std::string> breadcrumbs;
};

struct CallCase {
    const char* name;
    std::function<void(const std::string&)> call;
    std::string message;
    bool bugsnagStarted;
    std::string line;                      // the message as the file shows it
    std::vector<std::string> breadcrumbs;  // what the crash reporter receives
};

void PrintTo(const CallCase& c, std::ostream* out) {
    *out << c.name;
}

class LoggerCall : public LoggerTest, public ::testing::WithParamInterface<CallCase> {};

TEST_P(LoggerCall, WritesTheLineAndLeavesBreadcrumbsOnlyWhenStartedAndAsked) {
    const CallCase& c = GetParam();
    EXPECT_FALSE(Logger::isBugsnagInit()) << "off until the host application says otherwise";
    Logger::setIsBugsnagInit(c.bugsnagStarted);

    c.call(c.message);

    EXPECT_EQ(messagesIn(logs() / "logfile-0.log"), std::vector<std::string>{c.line});
    EXPECT_EQ(breadcrumbs, c.breadcrumbs);
}

const auto print = [](const std::string& m) { Logger::print(m); };
const auto logw = [](const std::string& m) { kelvane::logw(m); };
const auto breadcrumb = [](const std::string& m) { Logger::leaveBreadcrumbs(m); };
const auto error = [](const std::string& m) { Logger::error(m); };

INSTANTIATE_TEST_SUITE_P(
    Calls, LoggerCall,
    ::testing::Values(
        CallCase{"PrintStarted", print, "m", true, "m", {}},
        CallCase{"LogwStarted", logw, "m", true, "m", {}},
        CallCase{"BreadcrumbNotStarted", breadcrumb, "m", false, "m", {}},
        CallCase{"BreadcrumbStarted", breadcrumb, "m", true, "m", {"m"}},
        CallCase{"EmptyBreadcrumbStarted", breadcrumb, "", true, "", {""}},
        CallCase{"ErrorNotStarted", error, "m", false, "Error: m", {}},
        CallCase{"ErrorStarted", error, "no disk", true, "Error: no disk", {"Error: no disk"}},
        CallCase{"EmptyErrorStarted", error, "", true, "Error: ", {"Error: "}}),
    kelvane::testing::caseName);

TEST_F(LoggerTest, BreadcrumbFollowsTheFileLineAndIsSentEvenWhenTheLineIsLost) {
    Logger::setIsBugsnagInit(true);
    std::string fileAtBreadcrumb;
    Bugsnag::setBreadcrumbSink([&](const std::string& message) {
        breadcrumbs.push_back(message);
        fileAtBreadcrumb = readFile(logs() / "logfile-0.log");
    });

    Logger::leaveBreadcrumbs("dispatch");
    EXPECT_THAT(fileAtBreadcrumb, ::testing::EndsWith("]: dispatch\n"));

    sharedLog().setDirectory((home.path() / "missing").string());
    Logger::error("lost line");
    EXPECT_EQ(breadcrumbs, (std::vector<std::string>{"dispatch", "Error: lost line"}));
}

TEST_F(LoggerTest, LogInitializeSwitchesToItsOwnFileWithTwoLines) {
    ::testing::internal::CaptureStdout();
    Logger::logInitialize();
    const std::string console = ::testing::internal::GetCapturedStdout();

    const fs::path file = logs() / "velmora_log-0.log";
    EXPECT_EQ(sharedLog().name(), "velmora_log");
    EXPECT_EQ(sharedLog().maxFileSize(), 4096u);
    EXPECT_EQ(sharedLog().maxFileCount(), 1);
    EXPECT_TRUE(sharedLog().printToConsole());
    EXPECT_EQ(sharedLog().currentLogPath(), file.string());
    EXPECT_EQ(messagesIn(file),
              (std::vector<std::string>{"logger started", "log path " + file.string()}));
    EXPECT_FALSE(fs::exists(logs() / "logfile-0.log"));
    EXPECT_EQ(console, readFile(file));
    EXPECT_TRUE(breadcrumbs.empty());

    sharedLog().setPrintToConsole(false);
    Logger::logInitialize();
    EXPECT_EQ(messagesIn(file).size(), 4u);
    EXPECT_TRUE(sharedLog().printToConsole());
}

TEST_F(LoggerTest, CallsFromManyThreadsWriteEveryLineOnceAndBreadcrumbOnTheCallersThread) {
    constexpr int threadCount = 8;
    constexpr int callsPerThread = 90;
    struct Received {
        std::thread::id thread;
        std::string message;
    };
    std::mutex mutex;
    std::vector<Received> received;
    Bugsnag::setBreadcrumbSink([&](const std::string& message) {
        const std::lock_guard lock(mutex);
        received.push_back({std::this_thread::get_id(), message});
    });
    Logger::setIsBugsnagInit(true);

    std::vector<std::thread::id> ids(threadCount);
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < threadCount; ++t) {
            threads.emplace_back([t, &ids] {
                ids[t] = std::this_thread::get_id();
                for (int i = 0; i < callsPerThread; ++i) {
                    const std::string message = std::to_string(t) + " " + std::to_string(i);
                    switch (i % 3) {
                        case 0:
                            Logger::print(message);
                            break;
                        case 1:
                            Logger::leaveBreadcrumbs(message);
                            break;
                        default:
                            Logger::error(message);
                    }
                }
            });
        }
    }

    std::vector<std::string> lines;
    std::vector<std::string> crumbs;
    for (int t = 0; t < threadCount; ++t) {
        for (int i = 0; i < callsPerThread; ++i) {
            const std::string message = std::to_string(t) + " " + std::to_string(i);
            lines.push_back(i % 3 == 2 ? "Error: " + message : message);
            if (i % 3 != 0) {
                crumbs.push_back(lines.back());
            }
        }
    }
    auto written = messagesIn(logs() / "logfile-0.log");
    std::ranges::sort(written);
    std::ranges::sort(lines);
    EXPECT_EQ(written, lines);

    std::vector<std::string> crumbsReceived;
    for (const auto& [thread, message] : received) {
        const int caller = std::stoi(message.substr(message.starts_with("Error: ") ? 7 : 0));
        EXPECT_EQ(thread, ids[caller]) << message;
        crumbsReceived.push_back(message);
    }
    std::ranges::sort(crumbsReceived);
    std::ranges::sort(crumbs);
    EXPECT_EQ(crumbsReceived, crumbs);
}

}  // namespace
