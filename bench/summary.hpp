#pragma once

#include <ostream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace bench {

// Prints the headline figures of `runs`, each beside its floor or peer and the ratio, in at most
// 80 columns; medians where the run has repetitions. A headline that `filter` (the run's
// --benchmark_filter) leaves out is not printed. Returns false when a headline the filter selects
// is not among the runs: its benchmark was renamed, and the table in summary.cpp must follow.
bool printSummary(std::ostream& out, const std::vector<benchmark::BenchmarkReporter::Run>& runs,
                  const std::string& filter);

}  // namespace bench
