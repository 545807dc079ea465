// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CompactHeap.h"

#include <cstdlib> // says whether this is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace q905 {

void keepHeapCompact() {
#if defined(__GLIBC__)
    // A handful of threads that seldom allocate at once: one arena, not one per thread, each
    // keeping its own free memory.
    mallopt(M_ARENA_MAX, 1);
    // Free memory above this at the top of the heap is returned; fixed, the threshold no longer
    // grows with the largest block ever freed (the start-up reads and files).
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
#endif
}

} // namespace q905
