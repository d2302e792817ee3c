#pragma once

#include <cstdint>

namespace bench {

// Heap allocations made by the benchmark program so far (operator new replaced in
// allocation_counter.cpp).
std::uint64_t allocationCount() noexcept;

}  // namespace bench
