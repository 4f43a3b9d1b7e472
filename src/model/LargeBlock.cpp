#include "model/LargeBlock.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <system_error>
#include <thread>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {
constexpr std::size_t KMapFrom = std::size_t(1) << 20;
constexpr std::size_t KHugePage = std::size_t(2) << 20;

std::size_t Mapped(std::size_t bytes) {
    return (bytes + KHugePage - 1) & ~(KHugePage - 1);
}
} // namespace

void* AllocateLarge(std::size_t bytes) {
    if (bytes == 0) return nullptr;
#if defined(__linux__)
    if (bytes >= KMapFrom) {
        // One huge page more is mapped, then the ends are trimmed to an aligned run.
        const std::size_t size = Mapped(bytes);
        void* p = mmap(nullptr, size + KHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::bad_alloc();
        const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(p);
        const std::uintptr_t aligned = (start + KHugePage - 1) & ~(KHugePage - 1);
        if (aligned > start) munmap(p, aligned - start);
        const std::uintptr_t tail = start + size + KHugePage - (aligned + size);
        if (tail > 0) munmap(reinterpret_cast<void*>(aligned + size), tail);
#ifdef MADV_HUGEPAGE
        madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
#endif
        return reinterpret_cast<void*>(aligned);
    }
#endif
    void* p = std::calloc(1, bytes);
    if (!p) throw std::bad_alloc();
    return p;
}

void FreeLarge(void* p, std::size_t bytes) noexcept {
    if (!p) return;
#if defined(__linux__)
    if (bytes >= KMapFrom) {
        munmap(p, Mapped(bytes));
        return;
    }
#endif
    std::free(p);
}

namespace {
// Touches every page of [p, p + bytes): the system asked to back it all in one call where it can.
void Populate(char* p, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    if (madvise(p, bytes, MADV_POPULATE_WRITE) == 0) return;
#endif
    // Zero written over zero: the page is backed and keeps its value.
    for (std::size_t at = 0; at < bytes; at += 4096) reinterpret_cast<volatile char*>(p)[at] = 0;
}
} // namespace

void PopulateLarge(void* p, std::size_t bytes) {
    if (!p || bytes < KMapFrom) return;
    const std::size_t size = Mapped(bytes);
    const std::size_t half = size / 2 / KHugePage * KHugePage;
    char* const base = static_cast<char*>(p);
    try {
        std::thread second([base, half, size] { Populate(base + half, size - half); });
        Populate(base, half);
        second.join();
    } catch (const std::system_error&) {
        Populate(base, size); // no second thread to be had
    }
}

void PrepareForWriting(void* p, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    if (!p || bytes < KMapFrom) return;
    constexpr std::uintptr_t KPage = 4096;
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(p), end = start + bytes;
    const std::uintptr_t first = (start + KPage - 1) & ~(KPage - 1), last = end & ~(KPage - 1);
    if (last <= first) return;
#ifdef MADV_HUGEPAGE
    const std::uintptr_t hugeFirst = (start + KHugePage - 1) & ~(KHugePage - 1), hugeLast = end & ~(KHugePage - 1);
    if (hugeLast > hugeFirst) madvise(reinterpret_cast<void*>(hugeFirst), hugeLast - hugeFirst, MADV_HUGEPAGE);
#endif
    madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE); // a refusal leaves it to first touch
#else
    (void)p;
    (void)bytes;
#endif
}
