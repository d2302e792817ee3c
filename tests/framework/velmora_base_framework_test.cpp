// Start-up: the log's first lines in a fresh folder, the version line and the cases without one,
// and the sample factories it registers.
#include <any>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/framework/component_manager.hpp>
#include <kelvane/framework/velmora_base_framework.hpp>
#include <kelvane/logging/logger.hpp>
#include <kelvane/platform/bugsnag.hpp>
#include <kelvane/platform/bundle.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "case_name.hpp"
#include "framework/component_manager_access.hpp"
#include "log_files.hpp"
#include "temp_home.hpp"

namespace {

namespace fs = std::filesystem;
using kelvane::ComponentInfo;
using kelvane::ComponentManager;
using kelvane::makeRef;
using kelvane::Object;
using kelvane::VelmoraBaseFramework;
using kelvane::platform::Bundle;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class StartUp : public ::testing::Test {
  protected:
    StartUp() {
        kelvane::testing::resetSharedLog();
        // Each test starts from nothing registered and the framework's own bundle, also when the
        // whole program runs in one process.
        ComponentManager::setShared(kelvane::detail::ComponentManagerAccess::make());
        VelmoraBaseFramework::setBundle(Bundle::framework());
        ::testing::internal::CaptureStdout();  // start-up turns the console echo on
    }
    ~StartUp() override { ::testing::internal::GetCapturedStdout(); }

    fs::path logFile() const { return home.documents() / "Logs" / "velmora_log-0.log"; }
    std::vector<std::string> logMessages() const {
        return kelvane::testing::messagesIn(logFile(), start);
    }

    kelvane::testing::TempHome home;
    const std::chrono::system_clock::time_point start = std::chrono::system_clock::now();
};

std::string text(const std::any& value) {
    return std::any_cast<std::string>(value);
}

TEST_F(StartUp, WritesTheLoggerLinesThenTheVersionLineInAFreshFolder) {
    std::vector<std::string> breadcrumbs;
    kelvane::platform::Bugsnag::setBreadcrumbSink(
        [&](const std::string& message) { breadcrumbs.push_back(message); });
    kelvane::Logger::setIsBugsnagInit(true);

    VelmoraBaseFramework::setup();

    kelvane::Logger::setIsBugsnagInit(false);
    kelvane::platform::Bugsnag::setBreadcrumbSink({});
    const auto framework = Bundle::framework();
    const std::string version =
        text(framework->objectForInfoDictionaryKey("CFBundleShortVersionString")) + "." +
        text(framework->objectForInfoDictionaryKey("CFBundleVersion"));
    EXPECT_THAT(logMessages(), ElementsAre("logger started", "log path " + logFile().string(),
                                           "Kelvane v " + version));
    EXPECT_THAT(breadcrumbs, IsEmpty());
}

struct BundleCase {
    const char* name;
    std::optional<Bundle::InfoDictionary> info;
    std::optional<std::string> versionLine;
};

void PrintTo(const BundleCase& c, std::ostream* out) {
    *out << c.name;
}

class StartUpWithBundle : public StartUp, public ::testing::WithParamInterface<BundleCase> {};

TEST_P(StartUpWithBundle, WritesTheVersionLineOnlyWithBothTextsAndRegistersTheSamplesAnyway) {
    VelmoraBaseFramework::setBundle(makeRef<Bundle>(GetParam().info));
    VelmoraBaseFramework::setup();

    std::vector<std::string> expected{"logger started", "log path " + logFile().string()};
    if (GetParam().versionLine) {
        expected.push_back(*GetParam().versionLine);
    }
    EXPECT_EQ(logMessages(), expected);
    EXPECT_NE(ComponentManager::shared()->create("TestComponent"), nullptr);
    EXPECT_NE(ComponentManager::shared()->create("TestViewController"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    VelmoraBaseFramework, StartUpWithBundle,
    ::testing::Values(
        BundleCase{"Both",
                   Bundle::InfoDictionary{{"CFBundleShortVersionString", "1.2"},
                                          {"CFBundleVersion", "37"}},
                   "Kelvane v 1.2.37"},
        BundleCase{"EmptyTexts",
                   Bundle::InfoDictionary{{"CFBundleShortVersionString", std::string()},
                                          {"CFBundleVersion", std::string()}},
                   "Kelvane v ."},
        BundleCase{"NoBuild", Bundle::InfoDictionary{{"CFBundleShortVersionString", "1.2"}},
                   std::nullopt},
        BundleCase{"NoVersion", Bundle::InfoDictionary{{"CFBundleVersion", "37"}}, std::nullopt},
        BundleCase{"BuildNotAText",
                   Bundle::InfoDictionary{{"CFBundleShortVersionString", "1.2"},
                                          {"CFBundleVersion", std::int64_t{37}}},
                   std::nullopt},
        BundleCase{"NoDictionary", std::nullopt, std::nullopt}),
    kelvane::testing::caseName);

TEST_F(StartUp, RegistersTheSamplesOnlyUnderFreeNamesAndOnlyOnce) {
    EXPECT_EQ(ComponentManager::shared()->create("TestViewController"), nullptr)
        << "nothing is registered before start-up";

    const auto hostComponent = std::make_shared<Object>();
    ComponentManager::shared()->registerFactory("TestComponent",
                                                [&](const auto&) { return hostComponent; });
    VelmoraBaseFramework::setup();
    const auto controller = ComponentManager::shared()->create("TestViewController");
    VelmoraBaseFramework::setup();

    EXPECT_EQ(ComponentManager::shared()->create("TestComponent"), hostComponent);
    EXPECT_NE(controller, nullptr);
    EXPECT_EQ(logMessages().size(), 6u) << "a second start-up writes its three lines again";
}

}  // namespace
