#pragma once

#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

namespace bench {

// The display the command line asks for (console, JSON or CSV), which also keeps every run it
// shows, for the summary, and says after the library's DEBUG warning what that warning means here.
class CollectingReporter final : public benchmark::BenchmarkReporter {
  public:
    explicit CollectingReporter(std::unique_ptr<benchmark::BenchmarkReporter> display);

    bool ReportContext(const Context& context) override;
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

    // Every run shown so far, repetitions and aggregates included. Their pointers into the library
    // (statistics, memory_result) are not for use once the benchmarks have run.
    const std::vector<Run>& runs() const { return runs_; }

    // Whether the display is the console table; otherwise standard output is JSON or CSV.
    bool isConsole() const;

  private:
    std::unique_ptr<benchmark::BenchmarkReporter> display_;
    std::vector<Run> runs_;
};

}  // namespace bench
