#pragma once

// Internal to the build: the framework and the platform layer share it; it is not installed.

#include <cstddef>
#include <string_view>

namespace kelvane::platform::detail {

/// Writes `bytes` to the open `file` (at its end when it was opened to append), calling again after
/// a short write or an interruption. Returns how many bytes reached the file: all of them, or fewer
/// when the file system refused the rest (full, over the process's file size limit, an I/O error).
std::size_t writeAll(int file, std::string_view bytes);

}  // namespace kelvane::platform::detail
