// Store dispatch, beside the floor its design sets: the reducer run between a test-and-set and a
// clear of a flag under a std::mutex, then one callback through std::function.
//
// Goals: one-subscriber dispatch within 3x the floor; no heap allocation in a one-subscriber
// dispatch of a small state (the allocs_per_dispatch counter); under 15 ns per subscriber at
// 1000 subscribers.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <vector>

#include <kelvane/store.hpp>

#include <benchmark/benchmark.h>

#include "allocation_counter.hpp"

namespace {

struct Tick final : kelvane::ActionRecord<Tick> {};
KELVANE_RECORD(Tick, ())

std::int64_t reduce(const kelvane::Action&, const std::optional<std::int64_t>& state) {
    return state.value_or(0) + 1;
}

class Sink final : public kelvane::StoreSubscriber<std::int64_t> {
  public:
    void newState(const std::int64_t& state) override { benchmark::DoNotOptimize(last = state); }
    std::int64_t last = 0;
};

kelvane::Middleware<std::int64_t> passThrough() {
    return [](kelvane::DispatchFunction, kelvane::GetState<std::int64_t>) {
        return [](kelvane::DispatchFunction next) -> kelvane::DispatchFunction {
            return [next = std::move(next)](const kelvane::Action& action) { next(action); };
        };
    };
}

void runDispatches(benchmark::State& state, kelvane::Store<std::int64_t>& store) {
    const Tick tick;
    const auto allocationsBefore = bench::allocationCount();
    for (auto _ : state) {
        store.dispatch(tick);
    }
    state.counters["allocs_per_dispatch"] =
        benchmark::Counter(static_cast<double>(bench::allocationCount() - allocationsBefore) /
                           static_cast<double>(state.iterations()));
}

void BM_Floor_MutexFlagReducerCallback(benchmark::State& state) {
    std::mutex mutex;
    bool busy = false;
    std::optional<std::int64_t> current = 0;
    Sink sink;
    const std::function<void(const std::int64_t&)> callback = [&sink](const std::int64_t& value) {
        sink.newState(value);
    };
    const Tick tick;
    for (auto _ : state) {
        {
            const std::lock_guard lock(mutex);
            if (busy) {
                std::abort();
            }
            busy = true;
        }
        const std::int64_t next = reduce(tick, current);
        {
            const std::lock_guard lock(mutex);
            busy = false;
        }
        current = next;
        callback(*current);
    }
}
BENCHMARK(BM_Floor_MutexFlagReducerCallback);

void BM_StoreDispatch_NoSubscriber(benchmark::State& state) {
    auto store = kelvane::Store<std::int64_t>::make(reduce, 0);
    runDispatches(state, *store);
}
BENCHMARK(BM_StoreDispatch_NoSubscriber);

void BM_StoreDispatch_OneSubscriber(benchmark::State& state) {
    auto store = kelvane::Store<std::int64_t>::make(reduce, 0);
    auto sink = std::make_shared<Sink>();
    store->subscribe(sink);
    runDispatches(state, *store);
}
BENCHMARK(BM_StoreDispatch_OneSubscriber);

void BM_StoreDispatch_ThreeMiddlewareOneSubscriber(benchmark::State& state) {
    auto store = kelvane::Store<std::int64_t>::make(reduce, 0,
                                                    {passThrough(), passThrough(), passThrough()});
    auto sink = std::make_shared<Sink>();
    store->subscribe(sink);
    runDispatches(state, *store);
}
BENCHMARK(BM_StoreDispatch_ThreeMiddlewareOneSubscriber);

void BM_StoreDispatch_OneSubscriberSelectSkipRepeats(benchmark::State& state) {
    auto store = kelvane::Store<std::int64_t>::make(reduce, 0);
    auto sink = std::make_shared<Sink>();
    store->subscribe(sink, [](const auto& head) {
        return head->select([](const std::int64_t& value) { return value / 2; })->skipRepeats();
    });
    runDispatches(state, *store);
}
BENCHMARK(BM_StoreDispatch_OneSubscriberSelectSkipRepeats);

void BM_StoreDispatch_1000Subscribers(benchmark::State& state) {
    constexpr int kSubscribers = 1000;
    auto store = kelvane::Store<std::int64_t>::make(reduce, 0);
    std::vector<std::shared_ptr<Sink>> sinks;
    for (int i = 0; i < kSubscribers; ++i) {
        sinks.push_back(std::make_shared<Sink>());
        store->subscribe(sinks.back());
    }
    runDispatches(state, *store);
    state.counters["per_subscriber"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kSubscribers,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_StoreDispatch_1000Subscribers);

}  // namespace

namespace {

// The busy flag's cell: one exclusive test-and-set, beside the same section on std::shared_mutex.
void BM_Synchronized_ExclusiveTestAndSet(benchmark::State& state) {
    kelvane::Synchronized<bool> cell(false);
    for (auto _ : state) {
        bool was = false;
        cell.write([&was](bool& flag) {
            was = flag;
            flag = !flag;
        });
        benchmark::DoNotOptimize(was);
    }
}
BENCHMARK(BM_Synchronized_ExclusiveTestAndSet);

void BM_SharedMutex_ExclusiveTestAndSet(benchmark::State& state) {
    std::shared_mutex mutex;
    bool flag = false;
    for (auto _ : state) {
        bool was = false;
        {
            const std::lock_guard lock(mutex);
            was = flag;
            flag = !flag;
        }
        benchmark::DoNotOptimize(was);
    }
}
BENCHMARK(BM_SharedMutex_ExclusiveTestAndSet);

void BM_Synchronized_Read(benchmark::State& state) {
    const kelvane::Synchronized<bool> cell(true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(cell.read());
    }
}
BENCHMARK(BM_Synchronized_Read)->Threads(1)->Threads(4);

}  // namespace
