// The event bus: a host screen bound to its menu button, a handler for every event, events of the
// catalogue with their descriptions, a nested send, and what unbinding does. Each send writes its
// "send event " line (echoed here) before any handler runs.
#include <cstdio>
#include <memory>
#include <string>

#include <kelvane/events.hpp>
#include <kelvane/model.hpp>

#include "demo.hpp"

namespace {

using kelvane::Event;
using kelvane::EventCenter;
using kelvane::Ref;

// A screen that hears only what its own button sends.
class MenuScreen final : public kelvane::Object, public kelvane::EventHandler {
  public:
    void onEvent(const Ref<Event>& event) override {
        std::printf("  MenuScreen got %s\n", event->description().c_str());
    }
};

// Hears everything; answers a stop request with a notice, sent from inside the delivery.
class Monitor final : public kelvane::EventHandler {
  public:
    void onEvent(const Ref<Event>& event) override {
        std::printf("  Monitor got %s\n", event->description().c_str());
        if (dynamic_cast<const kelvane::UIStopRecordingEvent*>(event.get()) != nullptr) {
            EventCenter::shared()->send(
                std::make_shared<kelvane::ExportFilesDidReady>(event->sender));
        }
    }
};

}  // namespace

void demo::runEventsDemo() {
    section("events");
    const auto center = EventCenter::shared();
    const auto menuButton = std::make_shared<kelvane::Object>();
    const auto screen = std::make_shared<MenuScreen>();
    center->addEventHandler(std::make_shared<Monitor>());
    center->addEventHandler(menuButton, screen);

    std::printf("from the menu button (both hear it):\n");
    center->send(std::make_shared<kelvane::UIOpenMenuEvent>(menuButton));
    std::printf("without sender (the monitor only):\n");
    center->send(std::make_shared<kelvane::UICloseMenuEvent>());

    std::printf("payload events describe their fields:\n");
    const auto work = std::make_shared<kelvane::Folder>("Work");
    center->send(std::make_shared<kelvane::FolderDidAddEvent>(menuButton, work, 0));
    center->send(std::make_shared<kelvane::UICreateNewFolderEvent>(nullptr, "Q3 \"final\""));
    center->send(std::make_shared<kelvane::UIRemoveFolderEvent>(nullptr, nullptr));
    const auto sentence = std::make_shared<kelvane::Sentence>(1200);
    center->send(std::make_shared<kelvane::UIRecordingSentenceDidAddEvent>(nullptr, sentence, 3));
    center->send(
        std::make_shared<kelvane::UIRecordingSentenceAttachmentDidRemoveEvent>(nullptr, 3, 0));

    std::printf("a notice built without sender, then given the button as its sender:\n");
    const auto added =
        std::make_shared<kelvane::RecordingDidAdd>(std::make_shared<kelvane::Recording>());
    center->send(added);
    added->sender = menuButton;
    center->send(added);

    std::printf("a send from inside a delivery completes before the screen hears the first:\n");
    center->send(std::make_shared<kelvane::UIStopRecordingEvent>(menuButton));

    std::printf("unbinding the screen's last object unregisters it:\n");
    center->removeEventHandler(menuButton, screen);
    center->send(std::make_shared<kelvane::UIOpenMenuEvent>(menuButton));
}
