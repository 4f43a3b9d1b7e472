#pragma once
// Memory for the model's many small objects of one size (nodes, members, loads). Every pool carves
// them from the same blocks, a small first one and then huge pages (`AllocateLarge`), and keeps
// its freed objects on a list for the next one. A project of ten thousand nodes then costs a few
// dozen page faults instead of thousands, and discarding it is a list push per object. The blocks
// are kept until the program ends. Under AddressSanitizer every object comes from the ordinary heap, so that a
// use after free is still caught.
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

    std::size_t mSize;
    TFree* mFree = nullptr; // guarded by the blocks' lock
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
