#pragma once
// How the process's allocator treats the large buffers of a run (decoded photos, pages,
// strips of tens of megabytes). By default glibc maps each such buffer afresh and unmaps
// it when freed, so every page of an album faults its memory in again: a third of a
// run's time went to the kernel. Kept in the heap instead, a page's buffers are reused
// by the next one.

namespace vellumo::convert {

// Call once at start-up, before any thread is made.
void KeepPageBuffersForReuse();

// Gives the memory a finished run kept back to the system (the window stays open for
// the next run; it need not hold the last one's pages).
void ReleaseRunMemory();

}  // namespace vellumo::convert
