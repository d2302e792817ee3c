// A host that uses the framework from static destructors. The objects below are made before main
// first uses the framework, so they are destroyed after every static that this use made: the
// store, the log, breadcrumbs, the shared event centre, the fatal-error hook, the user defaults
// and the main queue must still work then.
//
// Run with --with-user-defaults, it first writes a user-defaults file, so that the test root
// screen reads saved values (and reopens the saved entry) in main and at exit.
// ctest runs it both ways and checks its exit status and its output against the .expected files.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <kelvane/events.hpp>
#include <kelvane/logging.hpp>
#include <kelvane/platform/bugsnag.hpp>
#include <kelvane/platform/dispatch_queue.hpp>
#include <kelvane/platform/uikit.hpp>
#include <kelvane/platform/user_defaults.hpp>
#include <kelvane/state.hpp>
#include <kelvane/store/assertions.hpp>
#include <kelvane/testscreens.hpp>

#include "temp_home.hpp"

namespace {

namespace platform = kelvane::platform;
using kelvane::Action;
using kelvane::UITestRootViewController;

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

// What the host's interface file of the test root screen holds.
struct RootScreenViews {
    std::shared_ptr<platform::UITableView> table;
    std::shared_ptr<platform::UIButton> plus;
    std::shared_ptr<platform::UIButton> back;
};

// The interface file: builds the screen's views and connects its outlets and actions.
std::vector<std::shared_ptr<kelvane::Object>> buildRootScreen(kelvane::Object* owner,
                                                              RootScreenViews& views) {
    const platform::CGRect screen{{0, 0}, {375, 667}};
    const auto root = std::make_shared<platform::UIView>(screen);
    views.table = std::make_shared<platform::UITableView>(screen);
    views.plus = std::make_shared<platform::UIButton>(platform::CGRect{{300, 580}, {56, 56}});
    views.back = std::make_shared<platform::UIButton>(platform::CGRect{{16, 40}, {44, 44}});
    const auto shadow = std::make_shared<platform::UIView>(screen);
    for (const std::shared_ptr<platform::UIView>& view :
         {std::shared_ptr<platform::UIView>(views.table), shadow,
          std::shared_ptr<platform::UIView>(views.back),
          std::shared_ptr<platform::UIView>(views.plus)}) {
        root->addSubview(view);
    }
    if (auto* controller = dynamic_cast<UITestRootViewController*>(owner)) {
        const auto self =
            std::static_pointer_cast<UITestRootViewController>(controller->shared_from_this());
        self->setTblTestRootView(views.table);
        self->setBtnPlus(views.plus);
        self->setBtnBack(views.back);
        self->setVwShadow(shadow);
        views.table->setDataSource(self);
        views.table->setDelegate(self);
        views.plus->addTarget(self, &UITestRootViewController::actionBtnPlus,
                              platform::UIControlEvents::touchUpInside);
        views.back->addTarget(self, &UITestRootViewController::actionBtnBack,
                              platform::UIControlEvents::touchUpInside);
    }
    return {root};
}

// An entry with one action, both saying when they run.
kelvane::Ref<kelvane::UITestEntry> makeEntry(const std::string& title) {
    auto entry = kelvane::makeRef<kelvane::UITestEntry>(
        title, [title](const std::shared_ptr<platform::UIViewController>&) {
            say("entry " + title + " opened");
        });
    entry->actions.push_back(kelvane::makeRef<kelvane::UITestAction>(
        title + "'s action", [title] { say("action of " + title + " ran"); }));
    return entry;
}

// Runs the main queue and shows what the screen's table and menu button show afterwards.
void drainAndShow(const std::string& when, const RootScreenViews& views) {
    const auto ran = platform::DispatchQueue::main().drain();
    std::string rows;
    for (const auto& cell : views.table->visibleCells()) {
        rows += " \"" + cell->textLabel()->text().value_or("") + "\",";
    }
    const auto centre = views.plus->center();
    // No semicolons or brackets: the expected lines are read as a CMake list.
    say(when + ": the main queue ran " + std::to_string(ran) + " block(s), rows:" + rows +
        " menu button at (" + std::to_string(static_cast<int>(centre.x)) + ", " +
        std::to_string(static_cast<int>(centre.y)) + ")");
}

// The test root screen, loaded (so subscribed to the shared store) in main and held until exit,
// when a new entry arrives: the screen then reads the user defaults and reloads its table on the
// main queue.
class RootScreenAtExit {
  public:
    RootScreenAtExit() = default;
    RootScreenAtExit(const RootScreenAtExit&) = delete;
    RootScreenAtExit& operator=(const RootScreenAtExit&) = delete;

    void load() {
        // A bundle of the host's own, so that the builder goes with the object it writes into.
        interfaceFiles_ = std::make_shared<platform::Bundle>();
        interfaceFiles_->registerNib("UITestRootViewController", [this](kelvane::Object* owner) {
            return buildRootScreen(owner, views_);
        });
        kelvane::store()->dispatch(kelvane::UITestAddTestEntry(makeEntry("first")));
        screen_ =
            std::make_shared<UITestRootViewController>("UITestRootViewController", interfaceFiles_);
        say("in main: loading the test root screen");
        screen_->loadViewIfNeeded();
        drainAndShow("in main", views_);
        // With the entry list shown, a saved entry is opened afresh when the next list arrives.
        say("in main: back to the entry list");
        views_.back->sendActionsForControlEvents(platform::UIControlEvents::touchUpInside);
        drainAndShow("in main", views_);
    }

    ~RootScreenAtExit() {
        if (!screen_) {
            return;
        }
        say("screen at exit: adding an entry");
        kelvane::store()->dispatch(kelvane::UITestAddTestEntry(makeEntry("second")));
        drainAndShow("screen at exit", views_);
        screen_.reset();
        say("screen at exit: done");
    }

  private:
    std::shared_ptr<platform::Bundle> interfaceFiles_;
    RootScreenViews views_;
    std::shared_ptr<UITestRootViewController> screen_;
};

// Saved as the screen saves them: the first entry was the last one opened, and the menu button
// was dragged.
void writeUserDefaults(const kelvane::testing::TempHome& home) {
    platform::UserDefaults saved(home.path() / ".config" / "kelvane" / "user-defaults.json");
    saved.setObject(std::int64_t{0}, UITestRootViewController::lastTestEntryKey);
    saved.setObject(40.0, UITestRootViewController::dragBtnPositionXKey);
    saved.setObject(60.0, UITestRootViewController::dragBtnPositionYKey);
    if (!saved.synchronize()) {
        say("cannot write the user defaults");
        std::exit(2);
    }
}

// In this order: the folder outlives the uses at exit, which write the log (and the user
// defaults) into it; the screen goes before the rest.
const kelvane::testing::TempHome home;
const UseAtExit atExit;
RootScreenAtExit rootScreen;

}  // namespace

int main(int argc, char** argv) {
    // Line by line, so that a sanitizer's report follows what was printed before it.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc > 1 && std::string_view(argv[1]) == "--with-user-defaults") {
        writeUserDefaults(home);
    }
    platform::Bugsnag::setBreadcrumbSink(
        [](const std::string& message) { say("breadcrumb: " + message); });
    kelvane::Logger::setIsBugsnagInit(true);
    kelvane::EventCenter::shared()->addEventHandler(kelvane::makeRef<PrintingHandler>());
    // A hook that keeps a text of its own, as a host's would.
    kelvane::Assertions::setFatalErrorHook([prefix = std::string("the host's fatal-error hook: ")](
                                               const std::string& message, const char* /*file*/,
                                               std::uint32_t /*line*/) { say(prefix + message); });
    useTheFramework("in main", kelvane::PauseRecordingAction(), 1);
    rootScreen.load();
    say("main returns");
}
