#include "model/ObjectPool.h"

#include <atomic>
#include <new>

#include "model/LargeBlock.h"

#ifdef KORVAN_POOL_UNDER_ASAN
#include <sanitizer/asan_interface.h>
#include <sanitizer/lsan_interface.h>
#define KORVAN_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define KORVAN_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#define KORVAN_KEEP(p) __lsan_ignore_object(p)
#else
#define KORVAN_POISON(p, n) ((void)(p), (void)(n))
#define KORVAN_UNPOISON(p, n) ((void)(p), (void)(n))
#define KORVAN_KEEP(p) ((void)(p))
#endif

namespace {
constexpr std::size_t KFirstBlock = std::size_t(256) << 10;
constexpr std::size_t KHugePage = std::size_t(2) << 20;

// The blocks all pools carve from, and the lock of the pools' lists.
struct TBlocks {
    char* Next = nullptr; // the unused rest of the newest block
    char* End = nullptr;
    std::size_t Size = 0; // the size of the newest block
    std::atomic_flag Busy = ATOMIC_FLAG_INIT;

    void Lock() noexcept {
        while (Busy.test_and_set(std::memory_order_acquire)) {
#if defined(__x86_64__) || defined(__i386__)
            __builtin_ia32_pause();
#endif
        }
    }
    void Unlock() noexcept { Busy.clear(std::memory_order_release); }

    // bytes from the newest block, or from a new one: the first small (most models are), every
    // later one a huge page. The rest of a full block is left. Under AddressSanitizer a block is
    // poisoned whole and each object unpoisoned as it is carved.
    void* Carve(std::size_t bytes) {
        if (End - Next < std::ptrdiff_t(bytes)) Grow();
        void* p = Next;
        Next += bytes;
        KORVAN_UNPOISON(p, bytes);
        return p;
    }

    void Grow() {
        const std::size_t bytes = Size == 0 ? KFirstBlock : KHugePage;
        Next = static_cast<char*>(AllocateLarge(bytes));
        // Kept to the end on purpose; once the next block is taken nothing may point into it.
        KORVAN_KEEP(Next);
        Size = bytes;
        End = Next + bytes;
        KORVAN_POISON(Next, bytes);
    }
};

constinit TBlocks gBlocks;

#ifdef KORVAN_POOL_UNDER_ASAN
constexpr bool KFirstInFirstOut = true;
#else
constexpr bool KFirstInFirstOut = false;
#endif
} // namespace

void* TObjectPool::Allocate(std::size_t size) {
    if (mHeap || Rounded(size) != mSize) return ::operator new(size);
    gBlocks.Lock();
    void* p = nullptr;
    if (mFree) {
        TFree* f = mFree;
        KORVAN_UNPOISON(f, mSize);
        p = f;
        mFree = f->Next;
        if (!mFree) mLast = nullptr;
    } else {
        try {
            p = gBlocks.Carve(mSize);
        } catch (...) {
            gBlocks.Unlock();
            throw;
        }
    }
    gBlocks.Unlock();
    return p;
}

// A freed object goes on the list, poisoned under AddressSanitizer: a use after free is reported
// until the object is handed out again. There the list is first in, first out, so that this comes
// as late as it can; otherwise the object freed last is taken first (still in the cache).
void TObjectPool::Free(void* p, std::size_t size) noexcept {
    if (!p) return;
    if (mHeap || Rounded(size) != mSize) {
        ::operator delete(p, size);
        return;
    }
    gBlocks.Lock();
    TFree* f = new (p) TFree{nullptr};
    if (KFirstInFirstOut) {
        if (mLast) {
            KORVAN_UNPOISON(mLast, sizeof(TFree));
            mLast->Next = f;
            KORVAN_POISON(mLast, mSize);
        } else {
            mFree = f;
        }
        mLast = f;
    } else {
        f->Next = mFree;
        mFree = f;
    }
    KORVAN_POISON(f, mSize);
    gBlocks.Unlock();
}
