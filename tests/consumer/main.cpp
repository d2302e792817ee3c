// Uses the installed package as a host application would.
#include <cstdio>

#include <kelvane/logging.hpp>
#include <kelvane/store.hpp>

namespace {

struct Tick final : kelvane::ActionRecord<Tick> {};
KELVANE_RECORD(Tick, ())

}  // namespace

int main() {
    auto store = kelvane::Store<int>::make(
        [](const kelvane::Action& action, const std::optional<int>& state) {
            return state.value_or(0) + (dynamic_cast<const Tick*>(&action) != nullptr ? 1 : 0);
        });
    store->dispatch(Tick{});
    std::printf("consumer: %s -> state %d\n", kelvane::printed(Tick{}).c_str(), *store->state());
    kelvane::Logger::logInitialize();
    return *store->state() == 1 ? 0 : 1;
}
