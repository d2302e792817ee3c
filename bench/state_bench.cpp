// The application state's dispatch, in two comparisons.
//
// 1. An AppState action's base dispatch (Store<AppState> with appReducer, no log line) beside a
//    dispatch of an int state (Store<int64_t>) through the same store machinery: what the root
//    reducer and the state record cost on top of the store. Measured at 0, 10 and 100 test
//    entries and open recording lists, which the reducer must carry into every new state: a cost
//    that grows with them is a copy that is not needed. Both are also timed in alternating batches
//    in one loop (BM_State_AppStateBesideInt), so that a noisy machine slows both alike.
//    Goal: AppState dispatch <= 8x the int dispatch. Actions outside the framework's list take a
//    slower way to their case, measured apart: a host's own action and a subclass of a class
//    action (BM_State_BaseDispatch_AppStateOther).
//
// 2. The application store's dispatch (AppStore: the printed action logged, then the base
//    dispatch) beside what it is made of, done the plain way: the same line printed into a kept
//    buffer and written by the shared log, then the base store's dispatch. The two alternate in
//    one loop, writing to the same log file. Goal: AppStore within 1.15x of its parts.
//
// Heap allocations are counted per dispatch for each.
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <kelvane/state.hpp>

#include <benchmark/benchmark.h>

#include "allocation_counter.hpp"
#include "bench_folder.hpp"
#include "logging/log.hpp"
#include "state/reducers.hpp"

namespace {

using Clock = std::chrono::steady_clock;

// A recording's periodic level report: the commonest action while recording.
const kelvane::UpdateRecordingStateAction action(42, 1200);

kelvane::Log& logIn(const bench::BenchFolder& folder) {
    kelvane::Log& log = kelvane::sharedLog();
    log.setDirectory(folder.path().string());
    log.setName("bench");
    log.setMaxFileSize(4096);
    log.setMaxFileCount(1);
    log.setPrintToConsole(false);
    return log;
}

void logOff() {
    kelvane::sharedLog().setDirectory("");  // lines are dropped at once
}

// A recording under way, with `size` test entries and `size` open recording lists.
template <class Store>
void populate(Store& store, std::int64_t size) {
    store.dispatch(kelvane::StartRecordingAction());
    for (std::int64_t i = 0; i < size; ++i) {
        store.dispatch(kelvane::UITestAddTestEntry(
            kelvane::makeRef<kelvane::UITestEntry>("entry", [](auto) {})));
        store.dispatch(
            kelvane::OpenNewRecordingListAction(std::make_shared<kelvane::RecordingListContext>(
                kelvane::makeRef<kelvane::Folder>(),
                std::vector<kelvane::Ref<kelvane::Recording>>{})));
    }
}

std::shared_ptr<kelvane::Store<kelvane::AppState>> appStateStore(std::int64_t size) {
    auto store = kelvane::Store<kelvane::AppState>::make(kelvane::appReducer);
    populate(*store, size);
    return store;
}

std::shared_ptr<kelvane::Store<std::int64_t>> intStore() {
    return kelvane::Store<std::int64_t>::make(
        [](const kelvane::Action&, const std::optional<std::int64_t>& state) {
            return state.value_or(0) + 1;
        });
}

void countAllocations(benchmark::State& state, std::uint64_t before) {
    state.counters["allocs_per_dispatch"] = static_cast<double>(bench::allocationCount() - before) /
                                            static_cast<double>(state.iterations());
}

double nanosecondsPer(Clock::duration total, std::uint64_t count) {
    return std::chrono::duration<double, std::nano>(total).count() / static_cast<double>(count);
}

void BM_State_BaseDispatch_Int(benchmark::State& state) {
    const auto store = intStore();
    const auto before = bench::allocationCount();
    for (auto _ : state) {
        store->dispatch(action);
    }
    countAllocations(state, before);
}
BENCHMARK(BM_State_BaseDispatch_Int);

void BM_State_BaseDispatch_AppState(benchmark::State& state) {
    logOff();
    const auto store = appStateStore(state.range(0));
    const auto before = bench::allocationCount();
    for (auto _ : state) {
        store->dispatch(action);
    }
    countAllocations(state, before);
    state.counters["entries_and_lists"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_State_BaseDispatch_AppState)->Arg(0)->Arg(10)->Arg(100);

// A host's own action, which no reducer knows, and a subclass of a class action.
struct HostAction final : kelvane::ActionRecord<HostAction> {};
KELVANE_RECORD(HostAction, ())
class LongPause final : public kelvane::PauseRecordingAction {};

template <class Other>
void BM_State_BaseDispatch_AppStateOther(benchmark::State& state) {
    logOff();
    const auto store = appStateStore(0);
    const Other other;
    const auto before = bench::allocationCount();
    for (auto _ : state) {
        store->dispatch(other);
    }
    countAllocations(state, before);
}
BENCHMARK(BM_State_BaseDispatch_AppStateOther<HostAction>);
BENCHMARK(BM_State_BaseDispatch_AppStateOther<LongPause>);

// Batches of each in turn: a batch is long enough that reading the clock costs little beside it.
void BM_State_AppStateBesideInt(benchmark::State& state) {
    constexpr int batch = 64;
    logOff();
    const auto appStore = appStateStore(state.range(0));
    const auto ints = intStore();
    Clock::duration appTime{};
    Clock::duration intTime{};
    for (auto _ : state) {
        const auto start = Clock::now();
        for (int i = 0; i < batch; ++i) {
            appStore->dispatch(action);
        }
        const auto middle = Clock::now();
        for (int i = 0; i < batch; ++i) {
            ints->dispatch(action);
        }
        const auto end = Clock::now();
        appTime += middle - start;
        intTime += end - middle;
    }
    const std::uint64_t dispatches = static_cast<std::uint64_t>(state.iterations()) * batch;
    const double app = nanosecondsPer(appTime, dispatches);
    const double ints_ = nanosecondsPer(intTime, dispatches);
    state.counters["appstate_ns"] = app;
    state.counters["int_ns"] = ints_;
    state.counters["ratio"] = app / ints_;
}
BENCHMARK(BM_State_AppStateBesideInt)->Arg(0)->Arg(100);

// The application store beside its parts, alternating in one loop.
void BM_State_AppStoreBesideLogLinePlusBaseDispatch(benchmark::State& state) {
    const bench::BenchFolder folder;
    kelvane::Log& log = logIn(folder);
    const auto appStore = kelvane::AppStore::make(kelvane::appReducer);
    populate(*appStore, 0);
    const auto baseStore = appStateStore(0);
    std::string line;

    Clock::duration appStoreTime{};
    Clock::duration partsTime{};
    std::uint64_t appStoreAllocations = 0;
    std::uint64_t partsAllocations = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const auto allocationsAtStart = bench::allocationCount();
        appStore->dispatch(action);
        const auto allocationsBetween = bench::allocationCount();
        const auto between = Clock::now();
        line.assign("Dispatch action: ");
        action.appendPrinted(line);
        line.append(", info: ");
        action.appendPrinted(line);
        log.write(line);
        baseStore->dispatch(action);
        const auto end = Clock::now();
        appStoreAllocations += allocationsBetween - allocationsAtStart;
        partsAllocations += bench::allocationCount() - allocationsBetween;
        appStoreTime += between - start;
        partsTime += end - between;
    }
    const auto iterations = static_cast<std::uint64_t>(state.iterations());
    const double appStoreNs = nanosecondsPer(appStoreTime, iterations);
    const double partsNs = nanosecondsPer(partsTime, iterations);
    state.counters["appstore_ns"] = appStoreNs;
    state.counters["parts_ns"] = partsNs;
    state.counters["ratio"] = appStoreNs / partsNs;
    state.counters["appstore_allocs"] =
        static_cast<double>(appStoreAllocations) / static_cast<double>(iterations);
    state.counters["parts_allocs"] =
        static_cast<double>(partsAllocations) / static_cast<double>(iterations);
}
BENCHMARK(BM_State_AppStoreBesideLogLinePlusBaseDispatch);

}  // namespace
