#include "convert/PageMemory.h"

#include <cstdlib>  // defines __GLIBC__ under glibc
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <thread>

namespace vellumo::convert {

void KeepPageBuffersForReuse() {
#if defined(__GLIBC__)
    // Served from the heap up to a gigabyte, and kept there when freed.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    // One heap per core: the default eight per core leaves a freed page in a heap the
    // next page's thread does not use, and the peak memory grows by pages.
    mallopt(M_ARENA_MAX, static_cast<int>(std::max(2u, std::thread::hardware_concurrency())));
#endif
}

void ReleaseRunMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace vellumo::convert
