// The benchmark program: Google Benchmark's run and table as usual, then a summary of the headline
// figures, each beside its floor or peer.
#include <iostream>
#include <memory>
#include <ostream>

#include <benchmark/benchmark.h>

#include "collecting_reporter.hpp"
#include "summary.hpp"

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    bench::CollectingReporter reporter{
        std::unique_ptr<benchmark::BenchmarkReporter>(benchmark::CreateDefaultDisplayReporter())};
    benchmark::RunSpecifiedBenchmarks(&reporter);
    bool allFound = true;
    if (!reporter.runs().empty()) {
        // JSON or CSV keeps standard output to itself.
        std::ostream& out = reporter.isConsole() ? std::cout : std::cerr;
        out << '\n';
        allFound = bench::printSummary(out, reporter.runs(), benchmark::GetBenchmarkFilter());
    }
    benchmark::Shutdown();
    return allFound ? 0 : 1;
}
