// The log's per-line cost, beside the floor its design sets: the POSIX calls that one line needs
// (an existence check, an open for append, one write, a close, a size query), made in the same
// folder with a line of the same length.
//
// Goals: Log::write within 1.2x of that floor; the date text under 5% of a line's cost
// (BM_LineDate_Text against BM_Log_Write). The formatter benchmarks show why the date text is
// kept per second rather than formatted, or made, per line.
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
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

namespace fs = std::filesystem;
using Clock = std::chrono::system_clock;

const std::string message = "Dispatch action: UpdateTestNumber(number: 42)";
// The settings that start-up gives the log: 4 MiB, then the file starts afresh.
constexpr std::uint64_t maxFileSizeKiB = 4096;
constexpr std::uint64_t maxFileBytes = maxFileSizeKiB * 1024;

using bench::BenchFolder;

std::string lineAsTheLogWritesIt() {
    std::string line = "[";
    line.append(kelvane::platform::DateFormatter().stringFromDate(Clock::now()))
        .append("]: ")
        .append(message);
    line += '\n';
    return line;
}

void BM_Floor_PosixLinePerLine(benchmark::State& state) {
    const BenchFolder folder;
    const std::string path = (folder.path() / "floor-0.log").string();
    const std::string line = lineAsTheLogWritesIt();
    for (auto _ : state) {
        struct stat status {};
        const int flags = ::stat(path.c_str(), &status) == 0 ? O_WRONLY | O_APPEND
                                                             : O_WRONLY | O_APPEND | O_CREAT;
        const int file = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
        benchmark::DoNotOptimize(::write(file, line.data(), line.size()));
        ::close(file);
        if (::stat(path.c_str(), &status) == 0 &&
            static_cast<std::uint64_t>(status.st_size) >= maxFileBytes) {
            ::unlink(path.c_str());
        }
    }
}
BENCHMARK(BM_Floor_PosixLinePerLine);

// The fewest calls that do the same (the log's own way): open creating and appending, one write,
// a size query on the open file, a close. Log::write against this shows the log's own overhead.
void BM_Floor_PosixFewestCalls(benchmark::State& state) {
    const BenchFolder folder;
    const std::string path = (folder.path() / "floor-0.log").string();
    const std::string line = lineAsTheLogWritesIt();
    for (auto _ : state) {
        const int file = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        benchmark::DoNotOptimize(::write(file, line.data(), line.size()));
        struct stat status {};
        const bool full = ::fstat(file, &status) == 0 &&
                          static_cast<std::uint64_t>(status.st_size) >= maxFileBytes;
        ::close(file);
        if (full) {
            ::unlink(path.c_str());
        }
    }
}
BENCHMARK(BM_Floor_PosixFewestCalls);

void BM_Log_Write(benchmark::State& state) {
    const BenchFolder folder;
    kelvane::Log& log = kelvane::sharedLog();
    log.setDirectory(folder.path().string());
    log.setName("bench");
    log.setMaxFileSize(maxFileSizeKiB);
    log.setMaxFileCount(1);
    log.setPrintToConsole(false);
    log.write(message);  // the first line builds the date formatter

    const auto allocationsBefore = bench::allocationCount();
    for (auto _ : state) {
        log.write(message);
    }
    state.counters["allocs_per_line"] =
        benchmark::Counter(static_cast<double>(bench::allocationCount() - allocationsBefore) /
                           static_cast<double>(state.iterations()));
}
BENCHMARK(BM_Log_Write);

void BM_LineDate_Text(benchmark::State& state) {
    kelvane::LineDate date;
    for (auto _ : state) {
        benchmark::DoNotOptimize(date.textFor(Clock::now()).data());
    }
}
BENCHMARK(BM_LineDate_Text);

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
