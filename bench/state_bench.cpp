// The application store's dispatch of a typical action, with its log line, beside what it is
// made of: the shared log writing the same line, and the base store dispatching the same action
// through the same reducer, separately and summed in one loop.
//
// Goal: BM_State_AppStoreDispatch within 1.15x of BM_State_LogWritePlusBaseDispatch.
#include <memory>
#include <string>

#include <kelvane/state.hpp>

#include <benchmark/benchmark.h>

#include "bench_folder.hpp"
#include "logging/log.hpp"
#include "state/reducers.hpp"

namespace {

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

std::string dispatchLine() {
    const std::string printed = kelvane::printed(static_cast<const kelvane::Action&>(action));
    return "Dispatch action: " + printed + ", info: " + printed;
}

void BM_State_AppStoreDispatch(benchmark::State& state) {
    const bench::BenchFolder folder;
    logIn(folder);
    const auto store = kelvane::AppStore::make(kelvane::appReducer);
    store->dispatch(kelvane::StartRecordingAction());
    for (auto _ : state) {
        store->dispatch(action);
    }
}
BENCHMARK(BM_State_AppStoreDispatch);

void BM_State_LogWrite(benchmark::State& state) {
    const bench::BenchFolder folder;
    kelvane::Log& log = logIn(folder);
    const std::string line = dispatchLine();
    log.write(line);
    for (auto _ : state) {
        log.write(line);
    }
}
BENCHMARK(BM_State_LogWrite);

void BM_State_BaseStoreDispatch(benchmark::State& state) {
    const auto store = kelvane::Store<kelvane::AppState>::make(kelvane::appReducer);
    store->dispatch(kelvane::StartRecordingAction());
    for (auto _ : state) {
        store->dispatch(action);
    }
}
BENCHMARK(BM_State_BaseStoreDispatch);

void BM_State_LogWritePlusBaseDispatch(benchmark::State& state) {
    const bench::BenchFolder folder;
    kelvane::Log& log = logIn(folder);
    const std::string line = dispatchLine();
    const auto store = kelvane::Store<kelvane::AppState>::make(kelvane::appReducer);
    store->dispatch(kelvane::StartRecordingAction());
    for (auto _ : state) {
        log.write(line);
        store->dispatch(action);
    }
}
BENCHMARK(BM_State_LogWritePlusBaseDispatch);

}  // namespace
