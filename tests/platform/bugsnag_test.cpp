// The crash reporter's breadcrumb operation and its host-installed sink.
#include <string>
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

}  // namespace
