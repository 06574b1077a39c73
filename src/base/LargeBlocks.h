#pragma once
// Pixel buffers of tens of megabytes (pages, decoded photos, indexed bitmaps) ask the
// kernel for huge pages. Faulted in 4 KB at a time, a 20-megapixel page takes 15,000
// faults; that was a sixth of a palette conversion's time and a seventh of an album's.
// Header only, and free of every library, so the indexed-bitmap engine can use it too.

#include <cstddef>
#include <cstdint>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vellumo::base {

inline constexpr size_t kHugePageBytes = size_t{2} << 20;

// A hint for the whole huge pages inside [data, data + bytes): call it before the block
// is first written. Blocks under 8 MB, and systems that do not take the hint, are left
// as they are; nothing depends on it but speed.
inline void AdviseHugePages(void* data, size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (data == nullptr || bytes < 4 * kHugePageBytes) {
        return;
    }
    const uintptr_t first = reinterpret_cast<uintptr_t>(data);
    const uintptr_t start = (first + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
    const uintptr_t end = (first + bytes) & ~(kHugePageBytes - 1);
    if (end > start) {
        // A refusal (no transparent huge pages here) changes nothing but speed.
        (void)madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    }
#else
    (void)data;
    (void)bytes;
#endif
}

}  // namespace vellumo::base
