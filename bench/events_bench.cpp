// The event centre's registration beside Boost.Signals2's, and its send beside the log line every
// send writes, in the same binary, the same folder and with the same text.
//
// Registration: addEventHandler per call while filling a centre to 100, 1,000 and 10,000 handlers,
// beside connecting as many slots (each holding its handler, as the centre does) to a
// Boost.Signals2 signal; removing them all again in a shuffled order, beside disconnecting.
// Heap allocations and page faults are counted per call. Goal: addEventHandler per call at 10,000
// <= 2x its cost at 100 (a cost that grows with the count is a scan). At 10,000 the registrations'
// arrays outgrow what the allocator keeps between iterations, so each iteration's growth faults in
// fresh pages: `page_faults_per_call` shows that share. Removal in a shuffled order reaches memory
// at random: past a few thousand handlers cache misses, not the work, make it dearer.
//
// Goal: what a send costs beyond its log line (BM_EventCenter_Send* minus BM_Log_WriteSendLine)
// stays within 3 ns per handler at 100 handlers, unbound or bound. General-purpose dispatch
// libraries take 5 to 13 ns per handler here. A file write varies by more than that from run to
// run, so BM_EventCenter_BeyondTheLogLine times the plain line and a send alternately in one loop
// and reports the difference per handler; the *_LinesLost variants send with a log that drops its
// lines at once (no folder), which shows the centre's own cost alone. `allocs_per_send` counts the
// heap allocations of a send: the text of its log line, and nothing per handler.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <sys/resource.h>
#include <vector>

#include <kelvane/events/event_center.hpp>
#include <kelvane/events/menu_events.hpp>

#include <benchmark/benchmark.h>
#include <boost/signals2.hpp>

#include "allocation_counter.hpp"
#include "bench_folder.hpp"
#include "logging/log.hpp"

namespace {

using kelvane::Event;
using kelvane::EventCenter;
using kelvane::EventHandler;
using kelvane::Object;
using kelvane::Ref;

class CountingHandler final : public EventHandler {
  public:
    void onEvent(const Ref<Event>& /*event*/) override { ++deliveries; }
    std::int64_t deliveries = 0;
};

// The shared log as start-up leaves it, in `directory` (empty: lines are dropped), echo off.
void configureLog(const std::string& directory) {
    kelvane::Log& log = kelvane::sharedLog();
    log.setDirectory(directory);
    log.setName("bench");
    log.setMaxFileSize(4096);
    log.setMaxFileCount(1);
    log.setPrintToConsole(false);
}

// --- Registration ----------------------------------------------------------------------------

using Clock = std::chrono::steady_clock;
using Signal = boost::signals2::signal<void(const Ref<Event>&)>;

std::vector<Ref<EventHandler>> makeHandlers(std::int64_t count) {
    std::vector<Ref<EventHandler>> handlers;
    for (std::int64_t i = 0; i < count; ++i) {
        handlers.push_back(kelvane::makeRef<CountingHandler>());
    }
    return handlers;
}

void addAll(EventCenter& center, const std::vector<Ref<EventHandler>>& handlers) {
    for (const auto& handler : handlers) {
        center.addEventHandler(handler);
    }
}

// A signal's slot for `handler`, holding it as the centre's registration does.
auto slotFor(const Ref<EventHandler>& handler) {
    return [handler](const Ref<Event>& event) { handler->onEvent(event); };
}

// The same shuffled order for every removal benchmark.
template <class T>
std::vector<T> shuffled(std::vector<T> items) {
    std::shuffle(items.begin(), items.end(), std::mt19937(42));
    return items;
}

// Pages the kernel had to hand this process so far: memory the allocator gave back between
// iterations and asks for again costs one each, a few hundred nanoseconds.
long minorPageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Times `work` alone in each iteration (`setUp` and the subject's destruction untimed) and reports
// the time and the heap allocations per call, `calls` being the calls `work` makes.
template <class SetUp, class Work>
void perCall(benchmark::State& state, std::int64_t calls, SetUp setUp, Work work) {
    Clock::duration total{};
    std::uint64_t allocations = 0;
    long pageFaults = 0;
    for (auto _ : state) {
        auto subject = setUp();
        const auto allocationsBefore = bench::allocationCount();
        const long pageFaultsBefore = minorPageFaults();
        const auto start = Clock::now();
        work(subject);
        const auto end = Clock::now();
        pageFaults += minorPageFaults() - pageFaultsBefore;
        allocations += bench::allocationCount() - allocationsBefore;
        total += end - start;
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    const double count = static_cast<double>(state.iterations()) * static_cast<double>(calls);
    state.counters["ns_per_call"] = std::chrono::duration<double, std::nano>(total).count() / count;
    state.counters["allocs_per_call"] = static_cast<double>(allocations) / count;
    state.counters["page_faults_per_call"] = static_cast<double>(pageFaults) / count;
}

void BM_EventCenter_AddEventHandler(benchmark::State& state) {
    const auto handlers = makeHandlers(state.range(0));
    perCall(
        state, state.range(0), [] { return std::make_shared<EventCenter>(); },
        [&](const std::shared_ptr<EventCenter>& center) { addAll(*center, handlers); });
}
BENCHMARK(BM_EventCenter_AddEventHandler)->Arg(100)->Arg(1000)->Arg(10000)->UseManualTime();

void BM_Signals2_Connect(benchmark::State& state) {
    const auto handlers = makeHandlers(state.range(0));
    perCall(
        state, state.range(0), [] { return std::make_unique<Signal>(); },
        [&](const std::unique_ptr<Signal>& signal) {
            for (const auto& handler : handlers) {
                signal->connect(slotFor(handler));
            }
        });
}
BENCHMARK(BM_Signals2_Connect)->Arg(100)->Arg(1000)->Arg(10000)->UseManualTime();

void BM_EventCenter_RemoveEventHandler(benchmark::State& state) {
    const auto handlers = makeHandlers(state.range(0));
    const auto order = shuffled(handlers);
    perCall(
        state, state.range(0),
        [&] {
            auto center = std::make_shared<EventCenter>();
            addAll(*center, handlers);
            return center;
        },
        [&](const std::shared_ptr<EventCenter>& center) {
            for (const auto& handler : order) {
                center->removeEventHandler(handler);
            }
        });
}
BENCHMARK(BM_EventCenter_RemoveEventHandler)->Arg(100)->Arg(1000)->Arg(10000)->UseManualTime();

void BM_Signals2_Disconnect(benchmark::State& state) {
    const auto handlers = makeHandlers(state.range(0));
    struct Connected {
        std::unique_ptr<Signal> signal = std::make_unique<Signal>();
        std::vector<boost::signals2::connection> connections;
    };
    perCall(
        state, state.range(0),
        [&] {
            Connected connected;
            for (const auto& handler : handlers) {
                connected.connections.push_back(connected.signal->connect(slotFor(handler)));
            }
            connected.connections = shuffled(std::move(connected.connections));
            return connected;
        },
        [](Connected& connected) {
            for (auto& connection : connected.connections) {
                connection.disconnect();
            }
        });
}
BENCHMARK(BM_Signals2_Disconnect)->Arg(100)->Arg(1000)->Arg(10000)->UseManualTime();

// --- Send --------------------------------------------------------------------------------------

void BM_Log_WriteSendLine(benchmark::State& state) {
    const bench::BenchFolder folder;
    configureLog(folder.path().string());
    for (auto _ : state) {
        kelvane::sharedLog().write("send event UIOpenMenuEvent");
    }
}
BENCHMARK(BM_Log_WriteSendLine);

void BM_Log_WriteSendLine_LinesLost(benchmark::State& state) {
    configureLog("");
    for (auto _ : state) {
        kelvane::sharedLog().write("send event UIOpenMenuEvent");
    }
}
BENCHMARK(BM_Log_WriteSendLine_LinesLost);

// A centre with `count` handlers, each with an object of its own. Bound handlers are bound to
// their object; the event's sender is the last handler's object, so one bound handler matches.
struct Registrations {
    Registrations(std::int64_t count, bool bound) {
        for (std::int64_t i = 0; i < count; ++i) {
            handlers.push_back(std::make_shared<CountingHandler>());
            senders.push_back(std::make_shared<Object>());
            if (bound) {
                center->addEventHandler(senders.back(), handlers.back());
            } else {
                center->addEventHandler(handlers.back());
            }
        }
        event = std::make_shared<kelvane::UIOpenMenuEvent>(senders.back());
    }

    const std::shared_ptr<EventCenter> center = std::make_shared<EventCenter>();
    std::vector<std::shared_ptr<CountingHandler>> handlers;
    std::vector<std::shared_ptr<Object>> senders;
    std::shared_ptr<Event> event;
};

void send(benchmark::State& state, bool bound, const std::string& logDirectory) {
    configureLog(logDirectory);
    const Registrations registrations(state.range(0), bound);
    const Ref<Event> event = registrations.event;
    registrations.center->send(event);  // warm up: the first send may grow what later ones reuse
    const auto before = bench::allocationCount();
    for (auto _ : state) {
        registrations.center->send(event);
    }
    state.counters["allocs_per_send"] = static_cast<double>(bench::allocationCount() - before) /
                                        static_cast<double>(state.iterations());
    if (registrations.handlers.back()->deliveries - 1 !=
        static_cast<std::int64_t>(state.iterations())) {
        state.SkipWithError("the last handler missed events");
    }
    state.counters["handlers"] = static_cast<double>(state.range(0));
}

// Alternates the plain log line and a send, and reports what the send costs beyond the line.
void beyondTheLogLine(benchmark::State& state, bool bound) {
    using Clock = std::chrono::steady_clock;
    const bench::BenchFolder folder;
    configureLog(folder.path().string());
    const Registrations registrations(state.range(0), bound);
    const Ref<Event> event = registrations.event;
    Clock::duration logTime{};
    Clock::duration sendTime{};
    for (auto _ : state) {
        const auto start = Clock::now();
        kelvane::sharedLog().write("send event UIOpenMenuEvent");
        const auto logged = Clock::now();
        registrations.center->send(event);
        const auto sent = Clock::now();
        logTime += logged - start;
        sendTime += sent - logged;
    }
    const auto perIteration = [&](Clock::duration total) {
        return std::chrono::duration<double, std::nano>(total).count() /
               static_cast<double>(state.iterations());
    };
    state.counters["log_ns"] = perIteration(logTime);
    state.counters["send_ns"] = perIteration(sendTime);
    state.counters["beyond_ns_per_handler"] =
        (perIteration(sendTime) - perIteration(logTime)) / static_cast<double>(state.range(0));
}

void BM_EventCenter_BeyondTheLogLine_Unbound(benchmark::State& state) {
    beyondTheLogLine(state, false);
}
BENCHMARK(BM_EventCenter_BeyondTheLogLine_Unbound)->Arg(100);

void BM_EventCenter_BeyondTheLogLine_BoundOneMatching(benchmark::State& state) {
    beyondTheLogLine(state, true);
}
BENCHMARK(BM_EventCenter_BeyondTheLogLine_BoundOneMatching)->Arg(100);

void BM_EventCenter_SendUnbound(benchmark::State& state) {
    const bench::BenchFolder folder;
    send(state, false, folder.path().string());
}
BENCHMARK(BM_EventCenter_SendUnbound)->Arg(1)->Arg(10)->Arg(100);

void BM_EventCenter_SendBoundOneMatching(benchmark::State& state) {
    const bench::BenchFolder folder;
    send(state, true, folder.path().string());
}
BENCHMARK(BM_EventCenter_SendBoundOneMatching)->Arg(100);

void BM_EventCenter_SendUnbound_LinesLost(benchmark::State& state) {
    send(state, false, "");
}
BENCHMARK(BM_EventCenter_SendUnbound_LinesLost)->Arg(1)->Arg(10)->Arg(100);

void BM_EventCenter_SendBoundOneMatching_LinesLost(benchmark::State& state) {
    send(state, true, "");
}
BENCHMARK(BM_EventCenter_SendBoundOneMatching_LinesLost)->Arg(1)->Arg(100);

}  // namespace
