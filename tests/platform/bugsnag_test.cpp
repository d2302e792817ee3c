// The crash reporter's breadcrumb operation and its host-installed sink.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <kelvane/platform/bugsnag.hpp>

#include <gtest/gtest.h>

namespace {

using kelvane::platform::Bugsnag;

TEST(Bugsnag, BreadcrumbsReachTheInstalledSinkInOrderAndNothingWithoutOne) {
    Bugsnag::leaveBreadcrumbWithMessage("before any sink");

    std::vector<std::string> received;
    Bugsnag::setBreadcrumbSink([&](const std::string& message) { received.push_back(message); });
    Bugsnag::leaveBreadcrumbWithMessage("one");
    Bugsnag::leaveBreadcrumbWithMessage("");
    Bugsnag::setBreadcrumbSink({});
    Bugsnag::leaveBreadcrumbWithMessage("after removal");

    EXPECT_EQ(received, (std::vector<std::string>{"one", ""}));
}

TEST(Bugsnag, ASinkMayReplaceItselfWhileItRuns) {
    std::vector<std::string> received;
    Bugsnag::setBreadcrumbSink([&](const std::string& message) {
        received.push_back("first " + message);
        Bugsnag::setBreadcrumbSink(
            [&](const std::string& next) { received.push_back("second " + next); });
    });
    Bugsnag::leaveBreadcrumbWithMessage("a");
    Bugsnag::leaveBreadcrumbWithMessage("b");
    Bugsnag::setBreadcrumbSink({});

    EXPECT_EQ(received, (std::vector<std::string>{"first a", "second b"}));
}

TEST(Bugsnag, BreadcrumbsFromManyThreadsEachReachOneSinkWhileSinksAreReplaced) {
    constexpr int threadCount = 6;
    constexpr int breadcrumbsPerThread = 2000;
    std::atomic<int> received{0};
    // Each sink owns a text on the heap and reads it on every call: a sink released while it
    // still runs would show up as a use after free.
    const auto sink = [&received](char mark) {
        return [&received, owned = std::string(64, mark)](const std::string& message) {
            if (owned.size() == 64 && !message.empty()) {
                ++received;
            }
        };
    };
    Bugsnag::setBreadcrumbSink(sink('a'));
    std::atomic<int> sending{threadCount};
    {
        std::vector<std::jthread> senders;
        for (int t = 0; t < threadCount; ++t) {
            senders.emplace_back([&sending] {
                for (int i = 0; i < breadcrumbsPerThread; ++i) {
                    Bugsnag::leaveBreadcrumbWithMessage("crumb");
                }
                --sending;
            });
        }
        for (char mark = 'b'; sending > 0; mark = mark == 'z' ? 'b' : static_cast<char>(mark + 1)) {
            Bugsnag::setBreadcrumbSink(sink(mark));
        }
    }
    Bugsnag::setBreadcrumbSink({});

    EXPECT_EQ(received, threadCount * breadcrumbsPerThread);
}

}  // namespace
