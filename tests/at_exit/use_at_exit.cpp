// A host that uses the framework from a static destructor. The object below is made before main
// first uses the framework, so it is destroyed after every static that this use made: the store,
// the log, breadcrumbs, the shared event centre and the fatal-error hook must still work then.
// ctest runs the program and checks its exit status and its output against use_at_exit.expected.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <kelvane/events.hpp>
#include <kelvane/logging.hpp>
#include <kelvane/platform/bugsnag.hpp>
#include <kelvane/state.hpp>
#include <kelvane/store/assertions.hpp>

#include "temp_home.hpp"

namespace {

using kelvane::Action;

// Standard output, where the log echoes its lines too, so the two keep their order.
void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
}

class PrintingHandler final : public kelvane::EventHandler {
  public:
    void onEvent(const kelvane::Ref<kelvane::Event>& event) override {
        say("handler received " + event->description());
    }
};

// A class action, a record action, a line, a breadcrumb, an event and the fatal-error hook.
void useTheFramework(const std::string& when, const Action& classAction, std::int64_t volume) {
    say(when + ": dispatching");
    kelvane::store()->dispatch(classAction);
    kelvane::store()->dispatch(kelvane::UpdateRecordingStateAction(volume, volume * 2));
    const auto& recording = kelvane::store()->state()->recording();
    say(when + ": paused " + (recording.isPause() ? "true" : "false") + ", volume " +
        std::to_string(recording.volume()) + ", duration " + std::to_string(recording.duration()));
    kelvane::logw(when + ": a logged line");
    kelvane::Logger::leaveBreadcrumbs(when + ": a breadcrumb");
    kelvane::EventCenter::shared()->send(kelvane::makeRef<kelvane::UIOpenMenuEvent>());
    kelvane::Assertions::fatalErrorHook()(when + ": a call", __FILE__, __LINE__);
}

// The log formats its date once a second: a new second and a new zone make it format afresh, with
// a new formatter, at exit.
void startAFreshLogDate() {
    ::setenv("TZ", "UTC", 1);
    const auto second = [] {
        return std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    };
    const auto started = second();
    while (second() == started) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

struct UseAtExit {
    UseAtExit() = default;
    UseAtExit(const UseAtExit&) = delete;
    UseAtExit& operator=(const UseAtExit&) = delete;
    ~UseAtExit() {
        startAFreshLogDate();
        useTheFramework("at exit", kelvane::ResumeRecordingAction(), 7);
        kelvane::Assertions::setFatalErrorHook({});
        say("at exit: done");
    }
};

// In this order: the folder outlives the use at exit, which writes the log into it.
const kelvane::testing::TempHome home;
const UseAtExit atExit;

}  // namespace

int main() {
    // Line by line, so that a sanitizer's report follows what was printed before it.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    kelvane::platform::Bugsnag::setBreadcrumbSink(
        [](const std::string& message) { say("breadcrumb: " + message); });
    kelvane::Logger::setIsBugsnagInit(true);
    kelvane::EventCenter::shared()->addEventHandler(kelvane::makeRef<PrintingHandler>());
    // A hook that keeps a text of its own, as a host's would.
    kelvane::Assertions::setFatalErrorHook([prefix = std::string("the host's fatal-error hook: ")](
                                               const std::string& message, const char* /*file*/,
                                               std::uint32_t /*line*/) { say(prefix + message); });
    useTheFramework("in main", kelvane::PauseRecordingAction(), 1);
    say("main returns");
}
