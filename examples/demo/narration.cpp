// The demo's own words around the framework's output: which error lines are planned, and what the
// run showed.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "demo.hpp"

namespace {

int plannedErrors = 0;

// The summary fits a terminal of 80 columns.
constexpr std::size_t kColumns = 80;
// Where a description starts: after the widest area's name and two spaces.
constexpr std::size_t kDescriptionColumn = 17;

// The words of `text` in rows of at most `width` characters, each row as full as it can be. A
// word longer than `width` gets a row of its own.
std::vector<std::string> wrap(std::string_view text, std::size_t width) {
    std::vector<std::string> rows(1);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        const std::string_view word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty()) {
            continue;
        }
        if (!rows.back().empty() && rows.back().size() + 1 + word.size() > width) {
            rows.emplace_back();
        }
        if (!rows.back().empty()) {
            rows.back() += ' ';
        }
        rows.back() += word;
    }
    return rows;
}

// Prints `text` within kColumns: after `area`, from kDescriptionColumn on (or two spaces after a
// longer area); without one, from the left edge.
void printWrapped(std::string_view area, std::string_view text) {
    const std::size_t indent = area.empty() ? 0 : std::max(kDescriptionColumn, area.size() + 2);
    std::string lead(area);
    lead.resize(indent, ' ');
    for (const std::string& row : wrap(text, indent < kColumns ? kColumns - indent : 1)) {
        std::printf("%s%s\n", lead.c_str(), row.c_str());
        lead.assign(indent, ' ');
    }
}

}  // namespace

void demo::expectError(const char* cause) {
    ++plannedErrors;
    std::printf("  (expected: the next line is an error, %s)\n", cause);
}

void demo::printSummary() {
    section("summary");
    struct Shown {
        std::string_view area;
        std::string_view what;
    };
    constexpr std::array shown{
        Shown{"store", "a counter store: reducer, logging middleware, two subscribers"},
        Shown{"logging", "the log: its setup, lines and file, crash-reporter breadcrumbs"},
        Shown{"model", "folders, a recording list, a transcript's words and attachments"},
        Shown{"code blocks", "callbacks for success or error, wrappers that run a closure"},
        Shown{"view extensions", "views styled by name, a small button's enlarged touch area"},
        Shown{"state", "a recording session in the shared store, each dispatch logged"},
        Shown{"framework", "setup() and its version line, components installed by name"},
        Shown{"events", "unbound and bound handlers, a nested send, unbinding"},
        Shown{"test screens", "test entries listed, opened, run, dragged about and reopened"},
    };
    for (const auto& [area, what] : shown) {
        printWrapped(area, what);
    }
    printWrapped("", "Every section ran. The " + std::to_string(plannedErrors) +
                         " error lines marked \"expected\" were caused on purpose.");
}
