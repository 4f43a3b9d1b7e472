#include "model/ObjectPool.h"

#include <atomic>

#include "model/LargeBlock.h"

#if defined(__SANITIZE_ADDRESS__)
#define KORVAN_POOL_OFF 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVAN_POOL_OFF 1
#endif
#endif

#ifndef KORVAN_POOL_OFF
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
    // later one a huge page. The rest of a full block is left.
    void* Carve(std::size_t bytes) {
        if (End - Next < std::ptrdiff_t(bytes)) Grow();
        void* p = Next;
        Next += bytes;
        return p;
    }

    void Grow() {
        const std::size_t bytes = Size == 0 ? KFirstBlock : KHugePage;
        Next = static_cast<char*>(AllocateLarge(bytes));
        Size = bytes;
        End = Next + bytes;
    }
};

constinit TBlocks gBlocks;
} // namespace
#endif

void* TObjectPool::Allocate(std::size_t size) {
#ifdef KORVAN_POOL_OFF
    return ::operator new(size);
#else
    if (Rounded(size) != mSize) return ::operator new(size);
    gBlocks.Lock();
    void* p = nullptr;
    if (mFree) {
        p = mFree;
        mFree = mFree->Next;
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
    gBlocks.Lock();
    mFree = new (p) TFree{mFree};
    gBlocks.Unlock();
#endif
}
