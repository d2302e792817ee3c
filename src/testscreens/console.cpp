#include "testscreens/console.hpp"

#include <cstdio>
#include <string>

namespace kelvane::detail {

void printLine(std::string_view text) {
    // One write, so that a line is never split by another thread's output.
    std::string line(text);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
}

}  // namespace kelvane::detail
