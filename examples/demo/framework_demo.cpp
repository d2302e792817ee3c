// Start-up and components: the framework's setup (the log's first lines and the version line),
// then components created by name, installed and uninstalled, with the log lines that result.
// Every log line is echoed to standard output from setup() on.
#include <cstdio>
#include <memory>
#include <string>

#include <kelvane/framework.hpp>
#include <kelvane/logging.hpp>

#include "demo.hpp"

namespace demo {

// A host application's component: says when the registry tells it something.
class NotesPanel final : public kelvane::Object, public kelvane::InstallableComponent {
  public:
    void onInstall() override { std::printf("  NotesPanel: installed\n"); }
    void onUninstall() override { std::printf("  NotesPanel: uninstalled\n"); }
};

}  // namespace demo

void demo::runFrameworkDemo() {
    section("framework entry and components");
    auto& registry = *kelvane::ComponentManager::shared();

    std::printf("create(\"TestComponent\") before setup():\n");
    expectError("no factory is registered before setup()");
    const auto early = registry.create("TestComponent");
    std::printf("  -> %s\n", early ? early->description().c_str() : "null");

    std::printf("VelmoraBaseFramework::setup():\n");
    kelvane::VelmoraBaseFramework::setup();

    std::printf("create(\"TestComponent\", {title: \"Notes\"}) and install it twice:\n");
    const auto made = registry.create("TestComponent", kelvane::ComponentInfo{{"title", "Notes"}});
    const auto sample = std::dynamic_pointer_cast<kelvane::InstallableComponent>(made);
    registry.install(sample);
    registry.install(sample);  // already installed: nothing happens

    std::printf("install a host component, then uninstallAll():\n");
    registry.install(std::make_shared<NotesPanel>());
    registry.uninstallAll();

    const auto controller = registry.create("TestViewController");
    std::printf("create(\"TestViewController\") -> %s\n", controller->description().c_str());
    std::printf("create(\"Recorder\"), which has no factory:\n");
    expectError("\"Recorder\" has no factory");
    registry.create("Recorder");
}
