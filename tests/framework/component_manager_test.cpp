// The component registry: factories by name, the error for a missing one, the installed list and
// the order of log line, list change and callback, also when callbacks call the registry again.
#include <algorithm>
#include <any>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/framework/component_manager.hpp>
#include <kelvane/logging/logger.hpp>
#include <kelvane/platform/bugsnag.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "case_name.hpp"
#include "framework/component_manager_access.hpp"
#include "framework/test_component.hpp"
#include "framework/test_view_controller_component.hpp"
#include "log_files.hpp"
#include "temp_home.hpp"

// A host application's components: one that is an Object, one that is not.
namespace host {

class Probe final : public kelvane::Object, public kelvane::InstallableComponent {
  public:
    using Callback = std::function<void(Probe& self, const char* call)>;

    explicit Probe(Callback callback) : callback_(std::move(callback)) {}
    void onInstall() override { callback_(*this, "onInstall"); }
    void onUninstall() override { callback_(*this, "onUninstall"); }

  private:
    Callback callback_;
};

class PlainComponent final : public kelvane::InstallableComponent {
  public:
    void onInstall() override {}
    void onUninstall() override {}
};

}  // namespace host

namespace {

using kelvane::ComponentInfo;
using kelvane::ComponentManager;
using kelvane::hexAddress;
using kelvane::identityOf;
using kelvane::InstallableComponent;
using kelvane::Object;
using kelvane::Ref;
using kelvane::detail::ComponentManagerAccess;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string missingFactory =
    ", please don't forget to call setup() of framework, also add factory regster code in "
    "setup()";

class ComponentManagerTest : public ::testing::Test {
  protected:
    ComponentManagerTest() {
        kelvane::testing::resetSharedLog();
        kelvane::platform::Bugsnag::setBreadcrumbSink(
            [this](const std::string& message) { breadcrumbs.push_back(message); });
    }
    ~ComponentManagerTest() override {
        kelvane::platform::Bugsnag::setBreadcrumbSink({});
        kelvane::Logger::setIsBugsnagInit(false);
    }

    std::vector<std::string> logMessages() const {
        const auto file = home.documents() / "Logs" / "logfile-0.log";
        return std::filesystem::exists(file) ? kelvane::testing::messagesIn(file, start)
                                             : std::vector<std::string>{};
    }

    // A probe that notes each callback with what the log and the list showed at that moment.
    std::shared_ptr<host::Probe> probe(const std::string& name,
                                       std::function<void(const char* call)> then = {}) {
        return std::make_shared<host::Probe>([this, name, then](host::Probe& self,
                                                                const char* call) {
            const auto installed = ComponentManagerAccess::installed(*registry);
            const bool listed =
                std::find(installed.begin(), installed.end(), identityOf(&self)) != installed.end();
            const auto lines = logMessages();
            journal.push_back(name + "." + call + (listed ? " listed" : " unlisted") + " after \"" +
                              (lines.empty() ? std::string() : lines.back()) + "\"");
            if (then) {
                then(call);
            }
        });
    }

    static std::string shown(const std::shared_ptr<host::Probe>& p) {
        return "<host.Probe: " + hexAddress(p.get()) + ">";
    }

    kelvane::testing::TempHome home;
    const std::chrono::system_clock::time_point start = std::chrono::system_clock::now();
    const Ref<ComponentManager> registry = ComponentManagerAccess::make();
    std::vector<std::string> breadcrumbs;
    std::vector<std::string> journal;
};

TEST_F(ComponentManagerTest, CreateWithoutAFactoryLogsTheErrorAndGivesNull) {
    EXPECT_EQ(registry->create("Missing"), nullptr);
    kelvane::Logger::setIsBugsnagInit(true);
    EXPECT_EQ(registry->create("TestComponent", ComponentInfo{{"title", std::string("x")}}),
              nullptr);

    EXPECT_THAT(logMessages(),
                ElementsAre("Error: fail to find component Missing" + missingFactory,
                            "Error: fail to find component TestComponent" + missingFactory));
    EXPECT_THAT(breadcrumbs,
                ElementsAre("Error: fail to find component TestComponent" + missingFactory));
}

TEST_F(ComponentManagerTest, CreateGivesTheFactoryTheInfoAndReturnsItsObjectAsItIs) {
    const auto made = std::make_shared<Object>();
    std::vector<std::optional<std::size_t>> infoSizes;
    registry->registerFactory("Made", [&](const std::optional<ComponentInfo>& info) {
        infoSizes.push_back(info ? std::optional(info->size()) : std::nullopt);
        return made;
    });
    registry->registerFactory("Nothing", [](const auto&) { return std::shared_ptr<Object>(); });

    EXPECT_EQ(registry->create("Made"), made);
    EXPECT_EQ(registry->create("Made", ComponentInfo{}), made);
    EXPECT_EQ(registry->create("Made", ComponentInfo{{"a", 1}, {"b", 2}}), made);
    EXPECT_EQ(registry->create("Nothing"), nullptr);

    EXPECT_THAT(infoSizes, ElementsAre(std::nullopt, 0u, 2u));
    EXPECT_THAT(logMessages(), IsEmpty()) << "creating is not logged, even when it gives null";
}

TEST_F(ComponentManagerTest, TheFirstFactoryOfANameWinsAndAnEmptyOneRegistersNothing) {
    const auto first = std::make_shared<Object>();
    registry->registerFactory("Empty", {});
    registry->registerFactory("Empty", [&](const auto&) { return first; });
    registry->registerFactory("Empty", [](const auto&) { return std::make_shared<Object>(); });

    EXPECT_EQ(registry->create("Empty"), first);
    EXPECT_THAT(logMessages(), IsEmpty());
}

TEST_F(ComponentManagerTest, InstallAndUninstallLogThenChangeTheListThenTell) {
    const auto p = probe("p");
    kelvane::Logger::setIsBugsnagInit(true);
    registry->install(p);
    registry->install(p);
    registry->uninstall(p);
    registry->uninstall(p);
    registry->uninstall(std::make_shared<host::PlainComponent>());

    const std::string installed = "component installed - " + shown(p);
    const std::string uninstalled = "component uninstalled - " + shown(p);
    EXPECT_THAT(journal, ElementsAre("p.onInstall listed after \"" + installed + "\"",
                                     "p.onUninstall unlisted after \"" + uninstalled + "\""));
    EXPECT_THAT(logMessages(), ElementsAre(installed, uninstalled));
    EXPECT_THAT(breadcrumbs, ElementsAre(installed, uninstalled));
}

TEST_F(ComponentManagerTest, PrintsComponentsByDescriptionOrElseByClassName) {
    const auto plain = std::make_shared<host::PlainComponent>();
    const auto sample = std::make_shared<kelvane::TestComponent>();
    registry->install(plain);
    registry->install(sample);
    registry->uninstallAll();

    EXPECT_THAT(
        logMessages(),
        ElementsAre(
            "component installed - host.PlainComponent",
            "component installed - <Kelvane.TestComponent: " + hexAddress(sample.get()) + ">",
            "component uninstalled - host.PlainComponent",
            "component uninstalled - <Kelvane.TestComponent: " + hexAddress(sample.get()) + ">"));
}

TEST_F(ComponentManagerTest, UninstallAllSkipsWhatACallbackUninstalledAndKeepsWhatOneInstalled) {
    const auto b = probe("b");
    const auto d = probe("d");
    const auto a = probe("a", [&](const char* call) {
        if (std::string(call) == "onUninstall") {
            registry->uninstall(b);
            registry->install(d);
        }
    });
    const auto c = probe("c");
    registry->uninstallAll();
    EXPECT_THAT(logMessages(), IsEmpty()) << "nothing installed, nothing written";

    registry->install(a);
    registry->install(b);
    registry->install(c);
    journal.clear();
    registry->uninstallAll();

    EXPECT_THAT(ComponentManagerAccess::installed(*registry), ElementsAre(identityOf(d.get())));
    EXPECT_THAT(
        journal,
        ElementsAre("a.onUninstall unlisted after \"component uninstalled - " + shown(a) + "\"",
                    "b.onUninstall unlisted after \"component uninstalled - " + shown(b) + "\"",
                    "d.onInstall listed after \"component installed - " + shown(d) + "\"",
                    "c.onUninstall unlisted after \"component uninstalled - " + shown(c) + "\""));
    EXPECT_EQ(logMessages().size(), 3u + 4u) << "b is logged once, by a's callback";
}

TEST_F(ComponentManagerTest, KeepsInstalledComponentsAliveUntilUninstalled) {
    std::weak_ptr<host::PlainComponent> component;
    {
        const auto plain = std::make_shared<host::PlainComponent>();
        component = plain;
        registry->install(plain);
    }
    EXPECT_FALSE(component.expired());
    registry->uninstallAll();
    EXPECT_TRUE(component.expired());
}

struct TitleCase {
    const char* name;
    std::optional<ComponentInfo> info;
    std::optional<std::string> expected;
};

void PrintTo(const TitleCase& c, std::ostream* out) {
    *out << c.name;
}

class TestComponentFactory : public ::testing::TestWithParam<TitleCase> {};

TEST_P(TestComponentFactory, TakesTheTitleOnlyFromAText) {
    const auto made = kelvane::makeTestComponent(GetParam().info);
    const auto component = std::dynamic_pointer_cast<kelvane::TestComponent>(made);
    ASSERT_NE(component, nullptr);
    EXPECT_EQ(component->title, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    ComponentManager, TestComponentFactory,
    ::testing::Values(
        TitleCase{"NoInfo", std::nullopt, std::nullopt},
        TitleCase{"EmptyInfo", ComponentInfo{}, std::nullopt},
        TitleCase{"OtherKey", ComponentInfo{{"name", std::string("Notes")}}, std::nullopt},
        TitleCase{"Text", ComponentInfo{{"title", std::string("Notes")}}, "Notes"},
        TitleCase{"EmptyText", ComponentInfo{{"title", std::string()}}, ""},
        TitleCase{"CString", ComponentInfo{{"title", "Notes"}}, "Notes"},
        TitleCase{"NullCString", ComponentInfo{{"title", static_cast<const char*>(nullptr)}},
                  std::nullopt},
        TitleCase{"Number", ComponentInfo{{"title", 42}}, std::nullopt},
        TitleCase{"NoValue", ComponentInfo{{"title", std::any()}}, std::nullopt}),
    kelvane::testing::caseName);

TEST(TestViewControllerFactory, MakesAControllerWithAnEmptyNibNameAndNoBundle) {
    const auto made = kelvane::makeTestViewControllerComponent(ComponentInfo{{"title", 1}});
    const auto controller = std::dynamic_pointer_cast<kelvane::TestViewControllerComponent>(made);
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller->nibName(), std::optional<std::string>(""));
    EXPECT_EQ(controller->nibBundle(), nullptr);
    EXPECT_EQ(std::dynamic_pointer_cast<InstallableComponent>(made), nullptr);
    EXPECT_NE(controller->view(), nullptr) << "a plain view: no nib has the empty name";
}

TEST(ComponentManagerShared, IsOneRegistryUntilReplaced) {
    const auto first = ComponentManager::shared();
    EXPECT_EQ(ComponentManager::shared().get(), first.get());
    const auto replacement = ComponentManagerAccess::make();
    ComponentManager::setShared(replacement);
    EXPECT_EQ(ComponentManager::shared().get(), replacement.get());
}

}  // namespace
