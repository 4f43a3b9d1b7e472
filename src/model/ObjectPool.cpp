#include "model/ObjectPool.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define KORVAN_POOL_OFF 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVAN_POOL_OFF 1
#endif
#endif

namespace {
constexpr std::size_t KFirstBlock = std::size_t(256) << 10;
constexpr std::size_t KHugePage = std::size_t(2) << 20;
} // namespace

void TObjectPool::Lock() noexcept {
    while (mLock.test_and_set(std::memory_order_acquire)) {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
}

// The first block is small (most models are); every later one is a huge page, aligned to it and
// offered one.
void TObjectPool::Grow() {
    const std::size_t bytes = mBlock == 0 ? KFirstBlock : KHugePage;
    void* block = nullptr;
#if defined(__linux__)
    if (bytes == KHugePage) {
        // Twice the size mapped, then trimmed to an aligned huge page.
        void* p = mmap(nullptr, 2 * bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::bad_alloc();
        const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(p);
        const std::uintptr_t aligned = (start + KHugePage - 1) & ~(KHugePage - 1);
        if (aligned > start) munmap(p, aligned - start);
        if (aligned + bytes < start + 2 * bytes) munmap(reinterpret_cast<void*>(aligned + bytes), start + 2 * bytes - aligned - bytes);
        block = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
        madvise(block, bytes, MADV_HUGEPAGE);
#endif
    }
#endif
    if (!block) {
        block = std::malloc(bytes);
        if (!block) throw std::bad_alloc();
    }
    mBlock = bytes;
    mNext = static_cast<char*>(block);
    mEnd = mNext + bytes;
}

void* TObjectPool::Allocate(std::size_t size) {
#ifdef KORVAN_POOL_OFF
    return ::operator new(size);
#else
    if (Rounded(size) != mSize) return ::operator new(size);
    Lock();
    void* p = nullptr;
    if (mFree) {
        p = mFree;
        mFree = mFree->Next;
    } else {
        try {
            if (mEnd - mNext < std::ptrdiff_t(mSize)) Grow();
        } catch (...) {
            Unlock();
            throw;
        }
        p = mNext;
        mNext += mSize;
    }
    Unlock();
    return p;
#endif
}

void TObjectPool::Free(void* p, std::size_t size) noexcept {
    if (!p) return;
#ifdef KORVAN_POOL_OFF
    ::operator delete(p, size);
#else
    if (Rounded(size) != mSize) {
        ::operator delete(p, size);
        return;
    }
    Lock();
    mFree = new (p) TFree{mFree};
    Unlock();
#endif
}
