#pragma once

#include <string_view>

namespace kelvane::detail {

/// Writes `text` and a line feed to standard output, as the test screens' console messages go.
void printLine(std::string_view text);

}  // namespace kelvane::detail
