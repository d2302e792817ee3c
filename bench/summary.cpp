#include "summary.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <regex>
#include <string_view>
#include <utility>

namespace bench {
namespace {

using Run = benchmark::BenchmarkReporter::Run;

// A figure of one benchmark: a counter in nanoseconds, or (no counter) the run's real time.
struct Figure {
    std::string_view benchmark;
    std::string_view counter;
};

struct Headline {
    std::string_view label;
    Figure ours;
    std::string_view floorName;
    Figure floor;
};

// Each headline beside what its bench file judges it against, by the benchmarks' own names: a
// renamed benchmark shows as missing. Where a file times ours and the floor alternately in one
// loop, the figures come from that loop, which a busy machine slows alike.
constexpr std::array headlines{
    Headline{"dispatch, 0 subscribers",
             {"BM_Store<Int64Kind>/0", ""},
             "minimal store",
             {"BM_MinimalStore<Int64Kind, true>/0", ""}},
    Headline{"dispatch, 1 subscriber",
             {"BM_Store<Int64Kind>/1", ""},
             "minimal store",
             {"BM_MinimalStore<Int64Kind, true>/1", ""}},
    Headline{"dispatch, 1000 subscribers",
             {"BM_Store<Int64Kind>/1000", ""},
             "minimal store",
             {"BM_MinimalStore<Int64Kind, true>/1000", ""}},
    Headline{"AppState dispatch",
             {"BM_State_AppStateBesideInt/0", "appstate_ns"},
             "int store",
             {"BM_State_AppStateBesideInt/0", "int_ns"}},
    Headline{"AppStore dispatch",
             {"BM_State_AppStoreBesideLogLinePlusBaseDispatch", "appstore_ns"},
             "its parts",
             {"BM_State_AppStoreBesideLogLinePlusBaseDispatch", "parts_ns"}},
    Headline{"log line",
             {"BM_Log_WriteBesideFloor", "log_ns"},
             "floor",
             {"BM_Log_WriteBesideFloor", "floor_ns"}},
    Headline{"send, 100 handlers",
             {"BM_EventCenter_BeyondTheLogLine_Unbound/100", "send_ns"},
             "log line",
             {"BM_EventCenter_BeyondTheLogLine_Unbound/100", "log_ns"}},
    Headline{"registration at 10,000",
             {"BM_EventCenter_AddEventHandler/10000/manual_time", "ns_per_call"},
             "Signals2",
             {"BM_Signals2_Connect/10000/manual_time", "ns_per_call"}},
};

enum class Outcome { measured, leftOut, failed, missing };

struct Reading {
    Outcome outcome = Outcome::missing;
    double ns = 0;
    double spread = -1;  // coefficient of variation across repetitions; negative: none
};

// Whether `filter` selects `name` as the library decides: an extended regular expression searched
// for in the name, a leading '-' inverting it; empty and "all" select everything.
bool selected(std::string filter, std::string_view name) {
    if (filter.empty() || filter == "all") {
        return true;
    }
    const bool inverted = filter.front() == '-';
    if (inverted) {
        filter.erase(0, 1);
    }
    try {
        const std::regex pattern(filter, std::regex::extended);
        return std::regex_search(name.begin(), name.end(), pattern) != inverted;
    } catch (const std::regex_error&) {
        return true;  // rather say a headline is missing than leave it out unsaid
    }
}

const Run* aggregate(const std::vector<const Run*>& named, std::string_view statistic) {
    const auto found = std::find_if(named.begin(), named.end(), [statistic](const Run* run) {
        return run->run_type == Run::RT_Aggregate && run->aggregate_name == statistic;
    });
    return found == named.end() ? nullptr : *found;
}

// The counter's value, or for no counter the real time per iteration in nanoseconds (a time
// statistic) or as a fraction (a percentage statistic such as cv).
bool valueOf(const Run& run, std::string_view counter, double& value) {
    if (counter.empty()) {
        value =
            run.aggregate_unit == benchmark::kPercentage
                ? run.real_accumulated_time
                : run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
        return true;
    }
    const auto found = run.counters.find(std::string(counter));
    if (found == run.counters.end()) {
        return false;
    }
    value = found->second.value;
    return true;
}

Reading read(const std::vector<Run>& runs, const Figure& figure, const std::string& filter) {
    std::vector<const Run*> named;
    for (const Run& run : runs) {
        if (run.run_name.str() == figure.benchmark) {
            named.push_back(&run);
        }
    }
    if (named.empty()) {
        return {selected(filter, figure.benchmark) ? Outcome::missing : Outcome::leftOut};
    }
    if (std::any_of(named.begin(), named.end(),
                    [](const Run* run) { return run->error_occurred; })) {
        return {Outcome::failed};
    }
    // Without repetitions there is one run and no aggregate.
    const Run* median = aggregate(named, "median");
    Reading reading{Outcome::measured};
    if (!valueOf(median != nullptr ? *median : *named.front(), figure.counter, reading.ns)) {
        return {Outcome::missing};
    }
    if (const Run* cv = aggregate(named, "cv"); cv != nullptr) {
        valueOf(*cv, figure.counter, reading.spread);
    }
    return reading;
}

// Terminal columns of UTF-8 text (µ and × are one column, two bytes).
std::size_t columns(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;
    }));
}

std::string padded(std::string_view text, std::size_t width, bool right) {
    const std::string fill(width - std::min(width, columns(text)), ' ');
    return right ? fill + std::string(text) : std::string(text) + fill;
}

std::string formatted(const char* format, double value, std::string_view unit = {}) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), format, value);
    return std::string(text.data()) + std::string(unit);
}

// Three significant figures in the unit that keeps them under 1000: "843 ns", "12.0 µs".
std::string duration(double ns) {
    constexpr std::array<std::string_view, 4> units{" ns", " µs", " ms", " s"};
    std::size_t unit = 0;
    while (ns >= 999.5 && unit + 1 < units.size()) {
        ns /= 1000;
        ++unit;
    }
    const char* format = ns >= 99.95 ? "%.0f" : ns >= 9.995 ? "%.1f" : "%.2f";
    return formatted(format, ns, units[unit]);
}

constexpr std::size_t durationWidth = 7;  // "12.3 µs"
constexpr std::size_t spreadWidth = 6;    // " ±1.2%"

std::string cell(const Reading& reading, bool withSpread) {
    const std::size_t width = durationWidth + (withSpread ? spreadWidth : 0);
    switch (reading.outcome) {
        case Outcome::measured: {
            std::string text = padded(duration(reading.ns), durationWidth, true);
            if (withSpread && reading.spread >= 0) {
                const double percent = reading.spread * 100;
                text += " ±" + formatted(percent < 9.95 ? "%.1f" : "%.0f", percent, "%");
            }
            return padded(text, width, false);
        }
        case Outcome::leftOut:
            return padded("not run", width, false);
        case Outcome::failed:
            return padded("failed", width, false);
        case Outcome::missing:
            return padded("missing", width, false);
    }
    return {};
}

std::string trimmed(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

std::string note(Outcome outcome, const Figure& figure) {
    if (outcome == Outcome::failed) {
        return "  failed: " + std::string(figure.benchmark) + " (its error is above)";
    }
    std::string text = "  missing: " + std::string(figure.benchmark);
    if (!figure.counter.empty()) {
        text += " [" + std::string(figure.counter) + "]";
    }
    return text;
}

}  // namespace

bool printSummary(std::ostream& out, const std::vector<Run>& runs, const std::string& filter) {
    struct Line {
        const Headline& headline;
        Reading ours;
        Reading floor;
    };
    std::vector<Line> lines;
    for (const Headline& headline : headlines) {
        Line line{headline, read(runs, headline.ours, filter), read(runs, headline.floor, filter)};
        if (line.ours.outcome != Outcome::leftOut || line.floor.outcome != Outcome::leftOut) {
            lines.push_back(line);
        }
    }
    if (lines.empty()) {
        out << "Summary: the filter left out every headline figure\n";
        return true;
    }
    const bool withSpread = std::any_of(lines.begin(), lines.end(), [](const Line& line) {
        return line.ours.spread >= 0 || line.floor.spread >= 0;
    });
    std::size_t labelWidth = 0;
    std::size_t floorWidth = 0;
    for (const Line& line : lines) {
        labelWidth = std::max(labelWidth, columns(line.headline.label));
        floorWidth = std::max(floorWidth, columns(line.headline.floorName));
    }

    out << "Summary: ours, its floor or peer, and ours / floor\n";
    if (withSpread) {
        out << "(medians of the repetitions, ± their coefficient of variation)\n";
    }
    std::vector<std::string> notes;
    bool allFound = true;
    for (const Line& line : lines) {
        std::string text = padded(line.headline.label, labelWidth, false) + "  " +
                           cell(line.ours, withSpread) + "  " +
                           padded(line.headline.floorName, floorWidth, false) + " " +
                           cell(line.floor, withSpread);
        if (line.ours.outcome == Outcome::measured && line.floor.outcome == Outcome::measured &&
            line.floor.ns > 0) {
            text += "  " + formatted("%.2f", line.ours.ns / line.floor.ns, "×");
        }
        out << trimmed(text) << '\n';
        for (const auto& [reading, figure] : {std::pair{line.ours, line.headline.ours},
                                              std::pair{line.floor, line.headline.floor}}) {
            if (reading.outcome == Outcome::failed || reading.outcome == Outcome::missing) {
                allFound = allFound && reading.outcome != Outcome::missing;
                const std::string noted = note(reading.outcome, figure);
                if (std::find(notes.begin(), notes.end(), noted) == notes.end()) {
                    notes.push_back(noted);
                }
            }
        }
    }
    for (const std::string& noted : notes) {
        out << noted << '\n';
    }
    if (!allFound) {
        out << "  (a benchmark renamed? the headlines name theirs in bench/summary.cpp)\n";
    }
    return allFound;
}

}  // namespace bench
