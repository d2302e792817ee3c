#include "collecting_reporter.hpp"

#include <sstream>
#include <string>
#include <string_view>
#include <utility>

namespace bench {
namespace {

// The library prints this when it was compiled without NDEBUG, as Debian's package is: its own
// assert()s are on. The timed loop (`for (auto _ : state)`) is inline in benchmark.h, so it is
// compiled here, with this program's flags; the library's code runs only before and after it.
constexpr std::string_view debugWarning = "***WARNING*** Library was built as DEBUG";

#if defined(NDEBUG) && defined(__OPTIMIZE__)
constexpr std::string_view debugNote =
    "note: only the library's own asserts are on; the timed loops are ours, optimised";
#else
constexpr std::string_view debugNote =
    "note: this program itself is a debug build: for timings, use the release preset";
#endif

// `context` with the note on the line after the library's DEBUG warning, when it has one.
std::string withDebugNote(std::string context) {
    const auto warning = context.find(debugWarning);
    if (warning == std::string::npos) {
        return context;
    }
    const auto lineEnd = context.find('\n', warning);
    const std::string note = std::string(debugNote) + '\n';
    if (lineEnd == std::string::npos) {
        return context + '\n' + note;
    }
    return context.insert(lineEnd + 1, note);
}

}  // namespace

CollectingReporter::CollectingReporter(std::unique_ptr<benchmark::BenchmarkReporter> display)
    : display_(std::move(display)) {}

bool CollectingReporter::ReportContext(const Context& context) {
    // The console prints the context, the warning among it, on its error stream.
    std::ostringstream captured;
    display_->SetErrorStream(&captured);
    const bool proceed = display_->ReportContext(context);
    display_->SetErrorStream(&GetErrorStream());
    GetErrorStream() << withDebugNote(captured.str()) << std::flush;
    return proceed;
}

void CollectingReporter::ReportRuns(const std::vector<Run>& runs) {
    runs_.insert(runs_.end(), runs.begin(), runs.end());
    display_->ReportRuns(runs);
}

void CollectingReporter::Finalize() {
    display_->Finalize();
}

bool CollectingReporter::isConsole() const {
    return dynamic_cast<const benchmark::ConsoleReporter*>(display_.get()) != nullptr;
}

}  // namespace bench
