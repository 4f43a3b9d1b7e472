#pragma once
// Large blocks straight from the system. They come zeroed (nothing need be cleared that the user
// overwrites anyway), and from 1 MB up they are whole huge pages, aligned and offered to be backed
// by them, which spares most page faults and TLB misses. The size given back must be the size
// asked for.
#include <cstddef>

void* AllocateLarge(std::size_t bytes);
void FreeLarge(void* p, std::size_t bytes) noexcept;

// Has the system back the block now, its two halves on two threads at once, instead of page by
// page at first touch on whichever thread comes first. For a large block that is then written
// all over by one thread (the assembly of a profile), this halves the time the system spends
// zeroing pages when a second core is idle. Only for blocks from AllocateLarge of 1 MB and more.
void PopulateLarge(void* p, std::size_t bytes);

// Has the system back the whole pages of ordinary memory (from the allocator, not yet written) in
// one call, with huge pages where whole ones fit, instead of page by page at first touch, which a
// virtual machine serves slowly. The contents do not change. Blocks under 1 MB are left as they are.
void PrepareForWriting(void* p, std::size_t bytes);
