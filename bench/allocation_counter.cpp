#include "allocation_counter.hpp"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {
std::atomic<std::uint64_t> allocations{0};
std::atomic<std::size_t> inUse{0};
std::atomic<std::size_t> peak{0};

void counted(void* p) noexcept {
    const std::size_t size = malloc_usable_size(p);
    const std::size_t now = inUse.fetch_add(size, std::memory_order_relaxed) + size;
    std::size_t seen = peak.load(std::memory_order_relaxed);
    while (now > seen && !peak.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
    }
}

void released(void* p) noexcept {
    if (p != nullptr) {
        inUse.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
        std::free(p);
    }
}
}  // namespace

std::uint64_t bench::allocationCount() noexcept {
    return allocations.load(std::memory_order_relaxed);
}

std::size_t bench::heapInUse() noexcept {
    return inUse.load(std::memory_order_relaxed);
}

std::size_t bench::heapPeak() noexcept {
    return peak.load(std::memory_order_relaxed);
}

void bench::resetHeapPeak() noexcept {
    peak.store(inUse.load(std::memory_order_relaxed), std::memory_order_relaxed);
}

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        counted(p);
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    released(p);
}

void operator delete(void* p, std::size_t) noexcept {
    released(p);
}
