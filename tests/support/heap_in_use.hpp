#pragma once

// The bytes the process has allocated from the heap and not freed yet, for tests of what an
// object keeps alive. Read from the sanitizer's allocator in the sanitizer builds, from glibc's
// malloc otherwise; either way the figure covers every thread's allocations.

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KELVANE_TEST_SANITIZER_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define KELVANE_TEST_SANITIZER_HEAP 1
#endif
#endif

#ifdef KELVANE_TEST_SANITIZER_HEAP
// Exported by the address and thread sanitizer runtimes; GCC ships no header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace kelvane::testing {

inline std::size_t heapInUse() {
#ifdef KELVANE_TEST_SANITIZER_HEAP
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;  // small blocks in the arenas, large ones mapped apart
#endif
}

}  // namespace kelvane::testing
