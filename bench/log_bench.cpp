// The log's per-line cost beside its floor: the same four system calls that Log::write makes for
// a line (open creating and appending, one write, a size query on the open file, a close), in the
// same folder, with a line built the same way from a date text kept per second and the same
// message. File 0 is dropped when it reaches the same 4 MiB limit. The floor's date text is the
// least one can cost (FloorDate: one formatter for ever, no look at the zone or locale), so the
// log's check that its date still follows them counts against the log.
//
// The two also alternate in one loop (BM_Log_WriteBesideFloor), so that other work on the machine
// slows both alike. Goals: Log::write within 1.1x of the floor; the date text under 5% of a line's
// cost (BM_LineDate_Text against BM_Log_Write; BM_LineDate_FloorText is the floor's date text).
// The formatter benchmarks show why the date text is kept per second rather than formatted, or
// made, per line.
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <kelvane/platform/date_formatter.hpp>

#include <benchmark/benchmark.h>

#include "allocation_counter.hpp"
#include "bench_folder.hpp"
#include "logging/line_date.hpp"
#include "logging/log.hpp"

namespace {

using Clock = std::chrono::system_clock;

const std::string message = "Dispatch action: UpdateTestNumber(number: 42)";
// The settings that start-up gives the log: 4 MiB, then the file starts afresh.
constexpr std::uint64_t maxFileSizeKiB = 4096;
constexpr std::uint64_t maxFileBytes = maxFileSizeKiB * 1024;

using bench::BenchFolder;

// The date text kept per second with one formatter, made once: it never follows a change of zone
// or locale.
class FloorDate {
  public:
    const std::string& textFor(Clock::time_point now) {
        const std::int64_t second =
            std::chrono::floor<std::chrono::seconds>(now.time_since_epoch()).count();
        if (second != second_) {
            text_ = formatter_.stringFromDate(now);
            second_ = second;
        }
        return text_;
    }

  private:
    kelvane::platform::DateFormatter formatter_;
    std::int64_t second_ = std::numeric_limits<std::int64_t>::min();
    std::string text_;
};

// One line the plain way: the four calls, the line built in a kept buffer from the cached date.
class FloorLine {
  public:
    explicit FloorLine(const BenchFolder& folder)
        : path_((folder.path() / "floor-0.log").string()) {}

    void write() {
        const std::string& date = date_.textFor(Clock::now());
        line_.clear();
        line_ += '[';
        line_ += date;
        line_ += "]: ";
        line_ += message;
        line_ += '\n';
        const int file = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        benchmark::DoNotOptimize(::write(file, line_.data(), line_.size()));
        struct stat status {};
        const bool full = ::fstat(file, &status) == 0 &&
                          static_cast<std::uint64_t>(status.st_size) >= maxFileBytes;
        ::close(file);
        if (full) {
            ::unlink(path_.c_str());
        }
    }

  private:
    std::string path_;
    std::string line_;
    FloorDate date_;
};

kelvane::Log& benchLog(const BenchFolder& folder) {
    kelvane::Log& log = kelvane::sharedLog();
    log.setDirectory(folder.path().string());
    log.setName("bench");
    log.setMaxFileSize(maxFileSizeKiB);
    log.setMaxFileCount(1);
    log.setPrintToConsole(false);
    log.write(message);  // the first line builds the date formatter
    return log;
}

void BM_Floor_FourCallsPerLine(benchmark::State& state) {
    const BenchFolder folder;
    FloorLine floor(folder);
    floor.write();
    for (auto _ : state) {
        floor.write();
    }
}
BENCHMARK(BM_Floor_FourCallsPerLine);

void BM_Log_Write(benchmark::State& state) {
    const BenchFolder folder;
    kelvane::Log& log = benchLog(folder);

    const auto allocationsBefore = bench::allocationCount();
    for (auto _ : state) {
        log.write(message);
    }
    state.counters["allocs_per_line"] =
        benchmark::Counter(static_cast<double>(bench::allocationCount() - allocationsBefore) /
                           static_cast<double>(state.iterations()));
}
BENCHMARK(BM_Log_Write);

// Batches of each in turn, in the same folder: a batch is long enough that reading the clock
// costs little beside it.
void BM_Log_WriteBesideFloor(benchmark::State& state) {
    using Steady = std::chrono::steady_clock;
    constexpr int batch = 16;
    const BenchFolder folder;
    kelvane::Log& log = benchLog(folder);
    FloorLine floor(folder);
    floor.write();
    Steady::duration logTime{};
    Steady::duration floorTime{};
    for (auto _ : state) {
        const auto start = Steady::now();
        for (int i = 0; i < batch; ++i) {
            log.write(message);
        }
        const auto middle = Steady::now();
        for (int i = 0; i < batch; ++i) {
            floor.write();
        }
        const auto end = Steady::now();
        logTime += middle - start;
        floorTime += end - middle;
    }
    const double lines = static_cast<double>(state.iterations()) * batch;
    const double logNs = std::chrono::duration<double, std::nano>(logTime).count() / lines;
    const double floorNs = std::chrono::duration<double, std::nano>(floorTime).count() / lines;
    state.counters["log_ns"] = logNs;
    state.counters["floor_ns"] = floorNs;
    state.counters["ratio"] = logNs / floorNs;
}
BENCHMARK(BM_Log_WriteBesideFloor);

void BM_LineDate_Text(benchmark::State& state) {
    kelvane::LineDate date;
    for (auto _ : state) {
        benchmark::DoNotOptimize(date.textFor(Clock::now()).data());
    }
}
BENCHMARK(BM_LineDate_Text);

void BM_LineDate_FloorText(benchmark::State& state) {
    FloorDate date;
    for (auto _ : state) {
        benchmark::DoNotOptimize(date.textFor(Clock::now()).data());
    }
}
BENCHMARK(BM_LineDate_FloorText);

void BM_DateFormatter_FormatEveryLine(benchmark::State& state) {
    const kelvane::platform::DateFormatter formatter;
    for (auto _ : state) {
        benchmark::DoNotOptimize(formatter.stringFromDate(Clock::now()));
    }
}
BENCHMARK(BM_DateFormatter_FormatEveryLine);

void BM_DateFormatter_MakeAndFormatEveryLine(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(kelvane::platform::DateFormatter().stringFromDate(Clock::now()));
    }
}
BENCHMARK(BM_DateFormatter_MakeAndFormatEveryLine);

}  // namespace
