#pragma once

// Handlers that write what they receive into a shared journal, and a fixture that gives each test
// its own log folder.

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <kelvane/events/event_center.hpp>

#include <gtest/gtest.h>

#include "log_files.hpp"
#include "temp_home.hpp"

namespace kelvane::testing {

using Journal = std::vector<std::string>;

/// Writes "<name>:<event description>" for every delivery, then runs its reaction, if any.
class JournalHandler : public EventHandler {
  public:
    using Reaction = std::function<void(JournalHandler& self, const Ref<Event>& event)>;

    JournalHandler(std::string name, std::shared_ptr<Journal> journal, Reaction reaction = {})
        : name(std::move(name)), journal(std::move(journal)), reaction(std::move(reaction)) {}

    void onEvent(const Ref<Event>& event) override {
        journal->push_back(name + ":" + event->description());
        if (reaction) {
            reaction(*this, event);
        }
    }

    std::string name;
    std::shared_ptr<Journal> journal;
    Reaction reaction;
};

class EventTest : public ::testing::Test {
  protected:
    EventTest() { resetSharedLog(); }

    std::shared_ptr<JournalHandler> handler(std::string name,
                                            JournalHandler::Reaction reaction = {}) const {
        return std::make_shared<JournalHandler>(std::move(name), journal, std::move(reaction));
    }

    std::filesystem::path logFile() const { return home.documents() / "Logs" / "logfile-0.log"; }
    std::vector<std::string> logMessages() const { return messagesIn(logFile(), start); }

    TempHome home;
    const std::chrono::system_clock::time_point start = std::chrono::system_clock::now();
    const std::shared_ptr<Journal> journal = std::make_shared<Journal>();
    const Ref<EventCenter> center = makeRef<EventCenter>();
};

}  // namespace kelvane::testing
