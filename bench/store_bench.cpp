// Store dispatch, side by side with what it is judged against, for four states (8 bytes, 16
// bytes, the application's `AppState`, 10 MB) at 0 / 1 / 10 / 1000 / 10,000 subscribers:
//
// - Floor: the reducer (the same std::function the store holds) and a loop over std::function
//   callbacks, nothing else.
// - MinimalStore: a redux-style store with the same busy flag as ours (a Synchronized<bool>
//   test-and-set and clear around the reducer) and subscribers as std::function taking const
//   State&; it holds its subscribers strongly.
// - MinimalStoreWeak: the same store holding each subscriber weakly, so it pays the one weak_ptr
//   lock per subscriber and dispatch that ours pays because a store must not keep a subscriber
//   alive.
// - Store: kelvane::Store, each subscriber a StoreSubscriber; StoreSelecting adds a `select` and
//   `skipRepeats` to every chain.
//
// Every reducer copies the state it is given (the AppState one does nothing else), so a dispatch
// allocates what that copy allocates; `allocs_per_dispatch` shows it beside the floor's.
//
// Dispatch from inside a delivery, beside the weak minimal store doing the same (which overwrites
// the state a running call was handed, where ours keeps it): steady nesting, a dispatch that nests
// one more from every other notification with 10 subscribers beside it; and 1,000 nested
// dispatches of a 1 MiB state from one notification, with the most states alive at once.
//
// A third of the subscribers unsubscribed from one notification, each after a nested dispatch,
// beside the same calls made apart (every dispatch first, then every unsubscribe).
//
// Goals, as ratios within one run: Store/1000 <= 1.25x MinimalStoreWeak/1000 and Store/1 <= 1.7x
// MinimalStoreWeak/1 (8-byte state); 10 MB state with 10 subscribers <= 1.5x MinimalStore; no
// allocation per dispatch beyond the floor's, nested or not; a few states alive however many
// nested dispatches (`peak_states`); subscribe + unsubscribe per call at 10,000 subscribers <= 2x
// at 100; the first dispatch after half of the subscribers went away <= 3x the next one
// (`first_over_next`); unsubscribing after each nested dispatch <= 2x the same calls made apart,
// in time and in peak heap.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <type_traits>
#include <utility>
#include <vector>

#include <kelvane/state.hpp>
#include <kelvane/store.hpp>

#include <benchmark/benchmark.h>

#include "allocation_counter.hpp"
#include "bench_folder.hpp"
#include "logging/log.hpp"
#include "state/reducers.hpp"

namespace {

struct Tick final : kelvane::ActionRecord<Tick> {};
KELVANE_RECORD(Tick, ())

// ---- The four states. Each kind: the state, its reducer, what a subscriber reads, and the
// chain StoreSelecting subscribes through.

struct Int64Kind {
    using State = std::int64_t;
    static State initial() { return 0; }
    static State reduce(const kelvane::Action&, const std::optional<State>& state) {
        return state.value_or(0) + 1;
    }
    static auto selecting(const std::shared_ptr<kelvane::Subscription<State>>& head) {
        return head->select([](const State& value) { return value / 2; })->skipRepeats();
    }
};

struct Pair {
    std::int64_t a = 0;
    std::int64_t b = 0;
    bool operator==(const Pair&) const = default;
};

struct PairKind {
    using State = Pair;
    static State initial() { return {}; }
    static State reduce(const kelvane::Action&, const std::optional<State>& state) {
        Pair next = state.value_or(Pair{});
        ++next.a;
        return next;
    }
    static auto selecting(const std::shared_ptr<kelvane::Subscription<State>>& head) {
        return head->select(&Pair::b)->skipRepeats();
    }
};

// The application state as the shared store starts out, with a reducer that only copies it: the
// store's own cost, not the application reducers' (state_bench.cpp measures those).
struct AppStateKind {
    using State = kelvane::AppState;
    static State initial() {
        static const State first = [] {
            const bench::BenchFolder folder;
            kelvane::Log& log = kelvane::sharedLog();
            log.setDirectory(folder.path().string());
            log.setPrintToConsole(false);
            return *kelvane::Store<State>::make(kelvane::appReducer)->state();
        }();
        return first;
    }
    static State reduce(const kelvane::Action&, const std::optional<State>& state) {
        return *state;
    }
    static auto selecting(const std::shared_ptr<kelvane::Subscription<State>>& head) {
        // The store adds skipRepeats: VelmoraState has ==.
        return head->select([](const State& state) -> const kelvane::VelmoraState& {
            return state.velmoraState();
        });
    }
};

// 10 MB that every dispatch copies once (the reducer) and changes in one byte. No ==, as with most
// big states: comparing 10 MB per subscriber would dwarf everything else.
struct Big {
    std::vector<char> bytes = std::vector<char>(std::size_t{10} << 20);
    std::int64_t version = 0;
};

struct BigKind {
    using State = Big;
    static State initial() { return {}; }
    static State reduce(const kelvane::Action&, const std::optional<State>& state) {
        Big next = *state;
        next.bytes[static_cast<std::size_t>(next.version) % next.bytes.size()] ^= 1;
        ++next.version;
        return next;
    }
    static auto selecting(const std::shared_ptr<kelvane::Subscription<State>>& head) {
        return head->select(&Big::version);
    }
};

// A subscriber that looks at what it is handed and keeps nothing.
template <class State>
class Sink final : public kelvane::StoreSubscriber<State> {
  public:
    void newState(const State& state) override { benchmark::DoNotOptimize(&state); }
};

template <class Kind>
using StateOf = typename Kind::State;

template <class Tail>
struct TailState;
template <class State>
struct TailState<std::shared_ptr<kelvane::Subscription<State>>> {
    using Type = State;
};

// What the subscribers of StoreSelecting receive.
template <class Kind>
using SelectedOf = typename TailState<decltype(Kind::selecting(
    std::declval<const std::shared_ptr<kelvane::Subscription<StateOf<Kind>>>&>()))>::Type;

// ---- The two stores we are compared with.

template <class State, bool kWeak>
class MinimalStore {
  public:
    using Subscriber = std::function<void(const State&)>;

    MinimalStore(kelvane::Reducer<State> reducer, State state)
        : reducer_(std::move(reducer)), state_(std::move(state)) {}

    template <class Subscriber>
    void subscribe(const std::shared_ptr<Subscriber>& sink) {
        if constexpr (kWeak) {
            subscribers_.push_back(
                {sink, [raw = sink.get()](const State& s) { raw->newState(s); }});
        } else {
            subscribers_.push_back({{}, [sink](const State& s) { sink->newState(s); }});
        }
    }

    void dispatch(const kelvane::Action& action) {
        bool wasBusy = false;
        busy_.write([&wasBusy](bool& flag) {
            wasBusy = flag;
            flag = true;
        });
        if (wasBusy) {
            std::abort();
        }
        State next = reducer_(action, state_);
        busy_.write([](bool& flag) { flag = false; });
        state_ = std::move(next);
        bool anyGone = false;
        for (const auto& entry : subscribers_) {
            if constexpr (kWeak) {
                if (const auto alive = entry.owner.lock()) {
                    entry.call(*state_);
                } else {
                    anyGone = true;
                }
            } else {
                entry.call(*state_);
            }
        }
        if (anyGone) {  // gone subscribers leave in one pass
            std::erase_if(subscribers_, [](const Entry& entry) { return entry.owner.expired(); });
        }
    }

  private:
    struct Entry {
        std::weak_ptr<void> owner;
        Subscriber call;
    };
    kelvane::Reducer<State> reducer_;
    std::optional<State> state_;
    kelvane::Synchronized<bool> busy_{false};
    std::vector<Entry> subscribers_;
};

// ---- Dispatch benchmarks. Args: number of subscribers.

template <class Run>
void countAllocations(benchmark::State& state, Run&& run) {
    const Tick tick;
    run(tick);  // warm up: the first dispatch may grow what later ones reuse
    const auto before = bench::allocationCount();
    for (auto _ : state) {
        run(tick);
    }
    state.counters["allocs_per_dispatch"] = static_cast<double>(bench::allocationCount() - before) /
                                            static_cast<double>(state.iterations());
}

template <class Kind>
std::vector<std::shared_ptr<Sink<StateOf<Kind>>>> sinks(benchmark::State& state) {
    std::vector<std::shared_ptr<Sink<StateOf<Kind>>>> made;
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        made.push_back(std::make_shared<Sink<StateOf<Kind>>>());
    }
    return made;
}

template <class Kind>
void BM_Floor(benchmark::State& state) {
    using State = StateOf<Kind>;
    const kelvane::Reducer<State> reducer = Kind::reduce;
    std::optional<State> current = Kind::initial();
    const auto subscribers = sinks<Kind>(state);
    std::vector<std::function<void(const State&)>> callbacks;
    for (const auto& sink : subscribers) {
        callbacks.emplace_back([raw = sink.get()](const State& s) { raw->newState(s); });
    }
    countAllocations(state, [&](const Tick& tick) {
        current = reducer(tick, current);
        for (const auto& callback : callbacks) {
            callback(*current);
        }
    });
}

template <class Kind, bool kWeak>
void BM_MinimalStore(benchmark::State& state) {
    MinimalStore<StateOf<Kind>, kWeak> store(Kind::reduce, Kind::initial());
    const auto subscribers = sinks<Kind>(state);
    for (const auto& sink : subscribers) {
        store.subscribe(sink);
    }
    countAllocations(state, [&store](const Tick& tick) { store.dispatch(tick); });
}

template <class Kind>
void BM_Store(benchmark::State& state) {
    auto store = kelvane::Store<StateOf<Kind>>::make(Kind::reduce, Kind::initial());
    const auto subscribers = sinks<Kind>(state);
    for (const auto& sink : subscribers) {
        store->subscribe(sink);
    }
    countAllocations(state, [&store](const Tick& tick) { store->dispatch(tick); });
}

template <class Kind>
void BM_StoreSelecting(benchmark::State& state) {
    using Selected = SelectedOf<Kind>;
    auto store = kelvane::Store<StateOf<Kind>>::make(Kind::reduce, Kind::initial());
    std::vector<std::shared_ptr<Sink<Selected>>> subscribers;
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        subscribers.push_back(std::make_shared<Sink<Selected>>());
        store->subscribe(subscribers.back(),
                         [](const auto& head) { return Kind::selecting(head); });
    }
    countAllocations(state, [&store](const Tick& tick) { store->dispatch(tick); });
}

void subscriberCounts(benchmark::internal::Benchmark* b) {
    for (const int count : {0, 1, 10, 1000, 10000}) {
        b->Arg(count);
    }
}

#define KELVANE_STORE_DISPATCH_BENCHMARKS(Kind)                                \
    BENCHMARK_TEMPLATE(BM_Floor, Kind)->Apply(subscriberCounts);               \
    BENCHMARK_TEMPLATE(BM_MinimalStore, Kind, false)->Apply(subscriberCounts); \
    BENCHMARK_TEMPLATE(BM_MinimalStore, Kind, true)->Apply(subscriberCounts);  \
    BENCHMARK_TEMPLATE(BM_Store, Kind)->Apply(subscriberCounts);               \
    BENCHMARK_TEMPLATE(BM_StoreSelecting, Kind)->Apply(subscriberCounts)

KELVANE_STORE_DISPATCH_BENCHMARKS(Int64Kind);
KELVANE_STORE_DISPATCH_BENCHMARKS(PairKind);
KELVANE_STORE_DISPATCH_BENCHMARKS(AppStateKind);
KELVANE_STORE_DISPATCH_BENCHMARKS(BigKind);

kelvane::Middleware<std::int64_t> passThrough() {
    return [](kelvane::DispatchFunction, kelvane::GetState<std::int64_t>) {
        return [](kelvane::DispatchFunction next) -> kelvane::DispatchFunction {
            return [next = std::move(next)](const kelvane::Action& action) { next(action); };
        };
    };
}

void BM_Store_ThreeMiddlewareOneSubscriber(benchmark::State& state) {
    auto store = kelvane::Store<std::int64_t>::make(Int64Kind::reduce, 0,
                                                    {passThrough(), passThrough(), passThrough()});
    auto sink = std::make_shared<Sink<std::int64_t>>();
    store->subscribe(sink);
    countAllocations(state, [&store](const Tick& tick) { store->dispatch(tick); });
}
BENCHMARK(BM_Store_ThreeMiddlewareOneSubscriber);

// ---- Dispatch from inside a delivery

// Dispatches once more from every other notification it receives (the odd values), so that each
// dispatch from outside nests one.
template <class AnyStore>
class OddRedispatcher final : public kelvane::StoreSubscriber<std::int64_t> {
  public:
    explicit OddRedispatcher(AnyStore& store) : store_(store) {}
    void newState(const std::int64_t& value) override {
        if (value % 2 != 0) {
            store_.dispatch(Tick{});
        }
    }

  private:
    AnyStore& store_;
};

// Steady nesting: the redispatcher, then 10 sinks; each iteration is a dispatch from outside and
// the one it nests. Ours keeps the state each call was handed; the minimal store overwrites it.
template <class AnyStore>
void steadyNesting(benchmark::State& state, AnyStore& store) {
    const auto redispatcher = std::make_shared<OddRedispatcher<AnyStore>>(store);
    store.subscribe(redispatcher);
    std::vector<std::shared_ptr<Sink<std::int64_t>>> sinks;
    for (int i = 0; i < 10; ++i) {
        sinks.push_back(std::make_shared<Sink<std::int64_t>>());
        store.subscribe(sinks.back());
    }
    countAllocations(state, [&store](const Tick& tick) { store.dispatch(tick); });
}

void BM_Store_SteadyNesting(benchmark::State& state) {
    const auto store = kelvane::Store<std::int64_t>::make(Int64Kind::reduce, 0);
    steadyNesting(state, *store);
}
BENCHMARK(BM_Store_SteadyNesting);

void BM_MinimalStoreWeak_SteadyNesting(benchmark::State& state) {
    MinimalStore<std::int64_t, true> store(Int64Kind::reduce, 0);
    steadyNesting(state, store);
}
BENCHMARK(BM_MinimalStoreWeak_SteadyNesting);

// 1 MiB that every dispatch copies once (the reducer); the instances that hold their MiB are
// counted, so that a benchmark can report how many were alive at once.
class MiB {
  public:
    MiB() : bytes_(std::size_t{1} << 20) { arrived(); }
    MiB(const MiB& other) : bytes_(other.bytes_) { arrived(); }
    MiB(MiB&& other) noexcept : bytes_(std::move(other.bytes_)) {}
    MiB& operator=(const MiB& other) = delete;
    MiB& operator=(MiB&& other) noexcept {
        left();
        bytes_ = std::move(other.bytes_);
        return *this;
    }
    ~MiB() { left(); }

    void change() { ++bytes_[bytes_.size() / 2]; }

    static std::int64_t peak() noexcept { return peak_; }
    static void resetPeak() noexcept { peak_ = alive_; }

  private:
    void arrived() noexcept { peak_ = std::max(peak_, ++alive_); }
    void left() noexcept { alive_ -= bytes_.empty() ? 0 : 1; }
    std::vector<char> bytes_;
    static inline std::int64_t alive_ = 0;
    static inline std::int64_t peak_ = 0;
};

MiB changedMiB(const kelvane::Action&, const std::optional<MiB>& state) {
    MiB next = *state;
    next.change();
    return next;
}

// Dispatches `kBurst` times from one notification, with one sink beside it; each iteration is a
// dispatch from outside and its burst. `per_dispatch` is the time of one of those dispatches,
// `peak_states` the most MiB states alive at once.
template <class AnyStore>
class Burst final : public kelvane::StoreSubscriber<MiB> {
  public:
    static constexpr int kBurst = 1000;
    explicit Burst(AnyStore& store) : store_(store) {}
    void newState(const MiB&) override {
        if (bursting_) {
            return;
        }
        bursting_ = true;
        for (int i = 0; i < kBurst; ++i) {
            store_.dispatch(Tick{});
        }
        bursting_ = false;
    }

  private:
    AnyStore& store_;
    bool bursting_ = false;
};

template <class AnyStore>
void nestedBurst(benchmark::State& state, AnyStore& store) {
    const auto burst = std::make_shared<Burst<AnyStore>>(store);
    const auto sink = std::make_shared<Sink<MiB>>();
    store.subscribe(burst);
    store.subscribe(sink);
    MiB::resetPeak();
    countAllocations(state, [&store](const Tick& tick) { store.dispatch(tick); });
    // Per dispatch, not per iteration: 1 is the reducer's copy alone.
    state.counters["allocs_per_dispatch"] =
        state.counters["allocs_per_dispatch"].value / (Burst<AnyStore>::kBurst + 1);
    state.counters["per_dispatch"] = benchmark::Counter(
        Burst<AnyStore>::kBurst + 1,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["peak_states"] = static_cast<double>(MiB::peak());
}

void BM_Store_ThousandNestedDispatchesOfAMiB(benchmark::State& state) {
    const auto store = kelvane::Store<MiB>::make(changedMiB, MiB{});
    nestedBurst(state, *store);
}
BENCHMARK(BM_Store_ThousandNestedDispatchesOfAMiB)->Unit(benchmark::kMillisecond);

void BM_MinimalStoreWeak_ThousandNestedDispatchesOfAMiB(benchmark::State& state) {
    MinimalStore<MiB, true> store(changedMiB, MiB{});
    nestedBurst(state, store);
}
BENCHMARK(BM_MinimalStoreWeak_ThousandNestedDispatchesOfAMiB)->Unit(benchmark::kMillisecond);

// ---- Unsubscribing from inside a delivery

// From one notification, a third of the subscribers go: after each, or before all, of as many
// dispatches. Nested: (dispatch; unsubscribe) each time; apart: every dispatch, then every
// unsubscribe. Both make the same calls; a delivery under way keeps the list it walks, so the
// nested form must not keep a list per dispatch. `peak_heap_kib` is the most the run added to the
// heap at once.
class Unsubscriber final : public kelvane::StoreSubscriber<std::int64_t> {
  public:
    Unsubscriber(kelvane::Store<std::int64_t>& store,
                 const std::vector<std::shared_ptr<Sink<std::int64_t>>>& doomed, bool nested)
        : store_(store), doomed_(doomed), nested_(nested) {}
    void newState(const std::int64_t& value) override {
        if (value != 1) {
            return;
        }
        for (const auto& sink : doomed_) {
            store_.dispatch(Tick{});
            if (nested_) {
                store_.unsubscribe(sink);
            }
        }
        if (!nested_) {
            for (const auto& sink : doomed_) {
                store_.unsubscribe(sink);
            }
        }
    }

  private:
    kelvane::Store<std::int64_t>& store_;
    const std::vector<std::shared_ptr<Sink<std::int64_t>>>& doomed_;
    const bool nested_;
};

void unsubscribingFromADelivery(benchmark::State& state, bool nested) {
    const auto count = static_cast<std::size_t>(state.range(0));
    double peakBytes = 0;
    for (auto _ : state) {
        const auto store = kelvane::Store<std::int64_t>::make(Int64Kind::reduce, 0);
        const auto subscribers = sinks<Int64Kind>(state);
        const std::vector doomed(subscribers.begin(), subscribers.begin() + count / 3);
        const auto unsubscriber = std::make_shared<Unsubscriber>(*store, doomed, nested);
        for (std::size_t i = 0; i < count; ++i) {
            store->subscribe(subscribers[i]);
            if (i == count / 2) {
                store->subscribe(unsubscriber);
            }
        }
        const std::size_t before = bench::heapInUse();
        bench::resetHeapPeak();
        const auto start = std::chrono::steady_clock::now();
        store->dispatch(Tick{});
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        peakBytes = std::max(peakBytes, static_cast<double>(bench::heapPeak() - before));
    }
    state.counters["peak_heap_kib"] = peakBytes / 1024;
}

void BM_Store_DispatchThenUnsubscribe_Nested(benchmark::State& state) {
    unsubscribingFromADelivery(state, true);
}
void BM_Store_DispatchThenUnsubscribe_Apart(benchmark::State& state) {
    unsubscribingFromADelivery(state, false);
}

// Args: subscribers; a third of them go, after as many dispatches.
void unsubscribingArgs(benchmark::internal::Benchmark* b) {
    b->UseManualTime()->Unit(benchmark::kMillisecond)->Arg(300)->Arg(1000)->Arg(3000);
}
BENCHMARK(BM_Store_DispatchThenUnsubscribe_Apart)->Apply(unsubscribingArgs);
BENCHMARK(BM_Store_DispatchThenUnsubscribe_Nested)->Apply(unsubscribingArgs);

// ---- Registration. Args: subscribers already there.

// One more subscriber comes and goes: a subscribe and an unsubscribe per iteration, at a steady
// number of subscribers. Both should cost the same at any count.
void BM_Store_SubscribeAndUnsubscribe(benchmark::State& state) {
    auto store = kelvane::Store<std::int64_t>::make(Int64Kind::reduce, 0);
    const auto subscribers = sinks<Int64Kind>(state);
    for (const auto& sink : subscribers) {
        store->subscribe(sink);
    }
    const auto visitor = std::make_shared<Sink<std::int64_t>>();
    for (auto _ : state) {
        store->subscribe(visitor);
        store->unsubscribe(visitor);
    }
}
BENCHMARK(BM_Store_SubscribeAndUnsubscribe)->Arg(100)->Arg(1000)->Arg(10000);

// Half of the subscribers (every other one) went away since the last dispatch: the time is the
// first dispatch after that, which drops them; `next_ns` is the dispatch after it. Beside ours,
// the minimal store that holds its subscribers weakly and drops the gone ones in one pass.
template <class MakeStore>
void firstDispatchAfterHalfWentAway(benchmark::State& state, MakeStore makeStore) {
    const Tick tick;
    double firstSeconds = 0;
    double nextSeconds = 0;
    for (auto _ : state) {
        auto subscribers = sinks<Int64Kind>(state);
        auto store = makeStore(subscribers);
        for (std::size_t i = 0; i < subscribers.size(); i += 2) {
            subscribers[i].reset();
        }
        const auto start = std::chrono::steady_clock::now();
        store->dispatch(tick);
        const auto between = std::chrono::steady_clock::now();
        store->dispatch(tick);
        const auto end = std::chrono::steady_clock::now();
        const double first = std::chrono::duration<double>(between - start).count();
        state.SetIterationTime(first);
        firstSeconds += first;
        nextSeconds += std::chrono::duration<double>(end - between).count();
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["next_ns"] = nextSeconds / iterations * 1e9;
    state.counters["first_over_next"] = nextSeconds > 0 ? firstSeconds / nextSeconds : 0;
}

void BM_Store_FirstDispatchAfterHalfWentAway(benchmark::State& state) {
    firstDispatchAfterHalfWentAway(state, [](const auto& subscribers) {
        auto store = kelvane::Store<std::int64_t>::make(Int64Kind::reduce, 0);
        for (const auto& sink : subscribers) {
            store->subscribe(sink);
        }
        return store;
    });
}

void BM_MinimalStoreWeak_FirstDispatchAfterHalfWentAway(benchmark::State& state) {
    firstDispatchAfterHalfWentAway(state, [](const auto& subscribers) {
        auto store = std::make_unique<MinimalStore<std::int64_t, true>>(Int64Kind::reduce, 0);
        for (const auto& sink : subscribers) {
            store->subscribe(sink);
        }
        return store;
    });
}

// Each iteration builds its store, so the count is fixed rather than grown to a time.
void halfWentAwayArgs(benchmark::internal::Benchmark* b) {
    b->UseManualTime()->Iterations(300)->Arg(100)->Arg(1000)->Arg(10000);
}
BENCHMARK(BM_MinimalStoreWeak_FirstDispatchAfterHalfWentAway)->Apply(halfWentAwayArgs);
BENCHMARK(BM_Store_FirstDispatchAfterHalfWentAway)->Apply(halfWentAwayArgs);

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
