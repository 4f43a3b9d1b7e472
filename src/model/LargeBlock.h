#pragma once
// Large blocks straight from the system. They come zeroed (nothing need be cleared that the user
// overwrites anyway), and from 1 MB up they are whole huge pages, aligned and offered to be backed
// by them, which spares most page faults and TLB misses. The size given back must be the size
// asked for.
#include <cstddef>

void* AllocateLarge(std::size_t bytes);
void FreeLarge(void* p, std::size_t bytes) noexcept;
