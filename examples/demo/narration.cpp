// The demo's own words around the framework's output: which error lines are planned, and what the
// run showed.
#include <cstdio>

#include "demo.hpp"

namespace {

int plannedErrors = 0;

}  // namespace

void demo::expectError(const char* cause) {
    ++plannedErrors;
    std::printf("  (expected: the next line is an error, %s)\n", cause);
}

void demo::printSummary() {
    section("summary");
    std::printf(
        "store            a counter store: reducer, logging middleware, two subscribers\n"
        "logging          the log's setup, lines, breadcrumbs to a crash-reporter sink, its file\n"
        "model            folders, a recording list, a transcript's sentences, words, attachments\n"
        "code blocks      work reporting success or error through callbacks, or returning it\n"
        "view extensions  views styled by name, a small button's enlarged touch area\n"
        "state            a recording session through the shared store, each dispatch logged\n"
        "framework        setup() and its version line; components created and installed by name\n"
        "events           handlers for every event and bound to senders, a nested send, unbinding\n"
        "test screens     test entries listed, opened, run, dragged about and reopened\n");
    std::printf(
        "Every section ran. The %d error lines marked \"expected\" were caused on purpose.\n",
        plannedErrors);
}
