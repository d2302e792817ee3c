// How each kind of action prints wherever the store shows it: the dispatch line (with and without a
// state), its breadcrumb, and the halt messages. Value records print their fields, classes that
// derive from kelvane::Object their description, other classes their qualified name; host classes
// get this without overriding anything.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <kelvane/logging/logger.hpp>
#include <kelvane/platform/bugsnag.hpp>
#include <kelvane/platform/object.hpp>
#include <kelvane/state.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../store/store_test_support.hpp"
#include "case_name.hpp"
#include "state_test_support.hpp"

// Actions a host application declares in its own namespace.
namespace hostapp {

struct Rename final : kelvane::ActionRecord<Rename> {
    explicit Rename(std::string title) : title(std::move(title)) {}
    std::string title;
};
KELVANE_RECORD(Rename, (title))

class PlainPing : public kelvane::Action {};

// Describes itself the way a plain class can: by printing itself.
class PlainDescribedPing : public kelvane::Action {
  public:
    void appendPrinted(std::string& out) const override { out += "plain ping from the menu"; }
};

class ObjectPing : public kelvane::Object, public kelvane::Action {};

// Action first, so the Object part does not start at the object's address.
class ActionFirstPing : public kelvane::Action, public kelvane::Object {};

class DescribedPing : public kelvane::Object, public kelvane::Action {
  public:
    std::string description() const override { return "ping #3 from the toolbar"; }
};

class LongPause : public kelvane::PauseRecordingAction {};

class QuickResume : public kelvane::ResumeRecordingAction {};

}  // namespace hostapp

namespace {

using kelvane::Action;
using kelvane::AppState;
using kelvane::AppStore;

// "0x" and the address of the whole object in lower-case hexadecimal, written out here rather than
// taken from the printing code.
std::string address(const void* object) {
    std::ostringstream out;
    out << "0x" << std::hex << reinterpret_cast<std::uintptr_t>(object);
    return out.str();
}

std::string line(const std::string& printedAction) {
    return "Dispatch action: " + printedAction + ", info: " + printedAction;
}

struct Made {
    std::shared_ptr<const Action> action;
    std::string expected;
};

struct KindCase {
    std::string name;
    std::function<Made()> make;
};

void PrintTo(const KindCase& c, std::ostream* out) {
    *out << c.name;
}

template <class T>
Made object(const char* qualifiedName) {
    auto action = std::make_shared<T>();
    return {action, std::string("<") + qualifiedName + ": " + address(action.get()) + ">"};
}

template <class T>
Made plain(std::string expected) {
    return {std::make_shared<T>(), std::move(expected)};
}

const std::vector<KindCase> kKinds = {
    {"framework value record",
     [] {
         return Made{std::make_shared<kelvane::UpdateTestNumber>(7), "UpdateTestNumber(newVal: 7)"};
     }},
    {"framework value record with objects",
     [] {
         const auto folder = kelvane::makeRef<kelvane::Folder>("Interviews");
         return Made{std::make_shared<kelvane::AddFolderAction>(folder, 2),
                     "AddFolderAction(folder: <Kelvane.Folder: " + address(folder.get()) +
                         ">, position: 2)"};
     }},
    {"host value record",
     [] {
         return Made{std::make_shared<hostapp::Rename>("it's"), R"(Rename(title: "it\'s"))"};
     }},
    {"PauseRecordingAction",
     [] { return object<kelvane::PauseRecordingAction>("Kelvane.PauseRecordingAction"); }},
    {"ResumeRecordingAction",
     [] { return plain<kelvane::ResumeRecordingAction>("Kelvane.ResumeRecordingAction"); }},
    {"host plain class", [] { return plain<hostapp::PlainPing>("hostapp.PlainPing"); }},
    {"host plain class describing itself",
     [] { return plain<hostapp::PlainDescribedPing>("plain ping from the menu"); }},
    {"host Object class", [] { return object<hostapp::ObjectPing>("hostapp.ObjectPing"); }},
    {"host Object class deriving from Action first",
     [] { return object<hostapp::ActionFirstPing>("hostapp.ActionFirstPing"); }},
    {"host Object class with its own description",
     [] { return plain<hostapp::DescribedPing>("ping #3 from the toolbar"); }},
    {"host subclass of PauseRecordingAction",
     [] { return object<hostapp::LongPause>("hostapp.LongPause"); }},
    {"host subclass of ResumeRecordingAction",
     [] { return plain<hostapp::QuickResume>("hostapp.QuickResume"); }},
};

// Breadcrumbs on and collected; the shared log in a fresh HOME.
class ActionKind : public ::testing::TestWithParam<KindCase> {
  protected:
    ActionKind() {
        kelvane::platform::Bugsnag::setBreadcrumbSink(
            [this](const std::string& message) { breadcrumbs_.push_back(message); });
        kelvane::Logger::setIsBugsnagInit(true);
    }
    ~ActionKind() override {
        kelvane::platform::Bugsnag::setBreadcrumbSink({});
        kelvane::Logger::setIsBugsnagInit(false);
    }

    // The last log message and the last breadcrumb are both `expected`.
    void expectLastLineAndBreadcrumb(const std::string& expected) const {
        const auto messages = log_.messages();
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.back(), expected);
        ASSERT_FALSE(breadcrumbs_.empty());
        EXPECT_EQ(breadcrumbs_.back(), expected);
    }

    const Made made_ = GetParam().make();

  private:
    statetest::LogReader log_;
    std::vector<std::string> breadcrumbs_;
};

TEST_P(ActionKind, PrintsAsExpectedThroughTheActionInterface) {
    EXPECT_EQ(kelvane::printed(*made_.action), made_.expected);
}

TEST_P(ActionKind, DispatchLineAndBreadcrumbRepeatItOnceTheStoreHasAState) {
    const auto store = AppStore::make(kelvane::appReducer);
    store->dispatch(*made_.action);
    expectLastLineAndBreadcrumb(line(made_.expected));
}

TEST_P(ActionKind, DispatchLineAndBreadcrumbShowItOnceWhileTheStoreHasNoState) {
    // Swallows every action, the store's StoreInit included, so the store never gets a state.
    const kelvane::Middleware<AppState> swallow = [](kelvane::DispatchFunction,
                                                     kelvane::GetState<AppState>) {
        return [](kelvane::DispatchFunction) -> kelvane::DispatchFunction {
            return [](const Action&) {};
        };
    };
    const auto store = AppStore::make(kelvane::appReducer, std::nullopt, {swallow});
    store->dispatch(*made_.action);
    ASSERT_FALSE(store->state().has_value());
    expectLastLineAndBreadcrumb("Dispatch action: " + made_.expected);
}

TEST_P(ActionKind, HaltMessageWhenAReducerDispatchesIt) {
    storetest::HaltRecorder halts;
    const auto self = std::make_shared<std::weak_ptr<AppStore>>();
    const auto offending = made_.action;
    const auto store = AppStore::make(
        [self, offending](const Action& action, const std::optional<AppState>& state) {
            if (dynamic_cast<const kelvane::TestAction1*>(&action) != nullptr) {
                if (const auto current = self->lock()) {
                    current->dispatch(*offending);
                }
            }
            return kelvane::appReducer(action, state);
        });
    *self = store;

    // The halted thread keeps the store and the action for as long as it waits.
    const auto halt = halts.runExpectingHalt([store] { store->dispatch(kelvane::TestAction1()); });
    ASSERT_TRUE(halt.has_value());
    EXPECT_EQ(halt->message, kelvane::detail::kConcurrentMutationError + made_.expected);
    expectLastLineAndBreadcrumb(line(made_.expected));
}

TEST_P(ActionKind, HaltMessageWhenDispatchFindsNoDispatchFunction) {
    storetest::HaltRecorder halts;
    const auto store = AppStore::make(kelvane::appReducer);
    store->setDispatchFunction({});

    const auto halt =
        halts.runExpectingHalt([store, action = made_.action] { store->dispatch(*action); });
    ASSERT_TRUE(halt.has_value());
    EXPECT_EQ(halt->message,
              "Store: dispatch found no dispatch function (it was set to an empty function). "
              "Action: " +
                  made_.expected);
    expectLastLineAndBreadcrumb(line(made_.expected));
}

INSTANTIATE_TEST_SUITE_P(Kinds, ActionKind, ::testing::ValuesIn(kKinds),
                         kelvane::testing::caseName);

}  // namespace
