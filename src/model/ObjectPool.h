#pragma once
// Memory for the model's many small objects of one size (nodes, members, loads). They are carved
// from blocks that grow to 2 MB, the large ones offered huge pages, and freed objects are kept on
// a list for the next one. A project of ten thousand nodes then costs a few dozen page faults
// instead of thousands, and discarding it is a list push per object. The blocks are kept until
// the program ends. Under AddressSanitizer every object comes from the ordinary heap, so that a
// use after free is still caught.
#include <atomic>
#include <cstddef>

class TObjectPool {
public:
    explicit constexpr TObjectPool(std::size_t size) : mSize(Rounded(size)) {}
    TObjectPool(const TObjectPool&) = delete;
    TObjectPool& operator=(const TObjectPool&) = delete;

    // size is the size the object's class asks for; any other (a derived class) goes to the heap.
    void* Allocate(std::size_t size);
    void Free(void* p, std::size_t size) noexcept;

private:
    struct TFree {
        TFree* Next;
    };
    static constexpr std::size_t Rounded(std::size_t size) {
        return (size + alignof(std::max_align_t) - 1) / alignof(std::max_align_t) * alignof(std::max_align_t);
    }
    void Grow();
    void Lock() noexcept;
    void Unlock() noexcept { mLock.clear(std::memory_order_release); }

    std::size_t mSize;
    TFree* mFree = nullptr;
    char* mNext = nullptr; // the unused rest of the newest block
    char* mEnd = nullptr;
    std::size_t mBlock = 0; // the size of the newest block
    std::atomic_flag mLock = ATOMIC_FLAG_INIT;
};

// Class-wide operators that take the objects of class T from its pool.
#define KORVAN_POOLED(T)                                                                                     \
    static void* operator new(std::size_t size);                                                           \
    static void operator delete(void* p, std::size_t size) noexcept;

#define KORVAN_POOL_DEFINE(T)                                                                                \
    namespace {                                                                                              \
    TObjectPool& T##Pool() {                                                                                 \
        static TObjectPool pool(sizeof(T));                                                                  \
        return pool;                                                                                         \
    }                                                                                                        \
    }                                                                                                        \
    void* T::operator new(std::size_t size) { return T##Pool().Allocate(size); }                            \
    void T::operator delete(void* p, std::size_t size) noexcept { T##Pool().Free(p, size); }
