#pragma once

#include <cstddef>
#include <cstdint>

namespace bench {

// Heap allocations made by the benchmark program so far (operator new replaced in
// allocation_counter.cpp).
std::uint64_t allocationCount() noexcept;

// Bytes allocated through operator new and not freed yet, and the most there were at once since
// the last `resetHeapPeak` (as the allocator sizes the blocks).
std::size_t heapInUse() noexcept;
std::size_t heapPeak() noexcept;
void resetHeapPeak() noexcept;

}  // namespace bench
