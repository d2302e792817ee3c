#pragma once

#include <cstdint>

namespace kelvane::platform {

/// The place of a row in a table: its row within its section. `item` is the row under the name
/// that collections use.
struct IndexPath {
    std::int64_t row = 0;
    std::int64_t section = 0;

    std::int64_t item() const { return row; }
    bool operator==(const IndexPath&) const = default;
};

}  // namespace kelvane::platform
