// Uses the installed package as a host application would.
#include <cstdio>
#include <memory>

#include <kelvane/events.hpp>
#include <kelvane/framework.hpp>
#include <kelvane/logging.hpp>
#include <kelvane/store.hpp>

namespace {

struct Tick final : kelvane::ActionRecord<Tick> {};
KELVANE_RECORD(Tick, ())

struct Counter final : kelvane::EventHandler {
    void onEvent(const kelvane::Ref<kelvane::Event>& /*event*/) override { ++events; }
    int events = 0;
};

}  // namespace

int main() {
    auto store = kelvane::Store<int>::make(
        [](const kelvane::Action& action, const std::optional<int>& state) {
            return state.value_or(0) + (dynamic_cast<const Tick*>(&action) != nullptr ? 1 : 0);
        });
    store->dispatch(Tick{});
    std::printf("consumer: %s -> state %d\n", kelvane::printed(Tick{}).c_str(), *store->state());
    kelvane::VelmoraBaseFramework::setup();
    const auto counter = std::make_shared<Counter>();
    kelvane::EventCenter::shared()->addEventHandler(counter);
    kelvane::EventCenter::shared()->send(std::make_shared<kelvane::UIOpenMenuEvent>());
    const bool created = kelvane::ComponentManager::shared()->create("TestComponent") != nullptr;
    return *store->state() == 1 && counter->events == 1 && created ? 0 : 1;
}
