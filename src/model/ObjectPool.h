#pragma once
// Memory for the model's many small objects of one size (nodes, members, loads). Every pool carves
// them from the same blocks, a small first one and then huge pages (`AllocateLarge`), and keeps
// its freed objects on a list for the next one. A project of ten thousand nodes then costs a few
// dozen page faults instead of thousands, and discarding it is a list push per object. The blocks
// are kept until the program ends.
//
// Under AddressSanitizer the pools poison what they do not hand out (the unused rest of a block,
// freed objects until they are taken again), so that a use after free is still caught. The class
// pools of the model then give their objects from the ordinary heap instead, so that
// LeakSanitizer sees them, unless the build keeps them pooled (KORVAN_ASAN_POOLS: the fuzz
// targets run the pools under AddressSanitizer).
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define KORVAN_POOL_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVAN_POOL_UNDER_ASAN 1
#endif
#endif

class TObjectPool {
public:
#if defined(KORVAN_POOL_UNDER_ASAN) && !defined(KORVAN_ASAN_POOLS)
    static constexpr bool KClassPoolsOnHeap = true;
#else
    static constexpr bool KClassPoolsOnHeap = false;
#endif
    // classPool: a pool of a class's operator new, which goes to the heap where KClassPoolsOnHeap.
    explicit constexpr TObjectPool(std::size_t size, bool classPool = false)
        : mSize(Rounded(size)), mHeap(classPool && KClassPoolsOnHeap) {}
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

    std::size_t mSize;
    bool mHeap;
    TFree* mFree = nullptr; // guarded by the blocks' lock
    TFree* mLast = nullptr; // the list's last object, kept under AddressSanitizer only
};

// Class-wide operators that take the objects of class T from its pool.
#define KORVAN_POOLED(T)                                                                                     \
    static void* operator new(std::size_t size);                                                           \
    static void operator delete(void* p, std::size_t size) noexcept;

#define KORVAN_POOL_DEFINE(T)                                                                                \
    namespace {                                                                                              \
    TObjectPool& T##Pool() {                                                                                 \
        static TObjectPool pool(sizeof(T), true);                                                            \
        return pool;                                                                                         \
    }                                                                                                        \
    }                                                                                                        \
    void* T::operator new(std::size_t size) { return T##Pool().Allocate(size); }                            \
    void T::operator delete(void* p, std::size_t size) noexcept { T##Pool().Free(p, size); }
