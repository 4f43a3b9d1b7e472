// The pool behind nodes, members and loads: every object aligned for its 80-bit members, no two
// overlapping across the blocks, freed ones taken again, and other sizes left to the heap.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "model/MKPSpace.h"
#include "model/ObjectPool.h"

#ifdef KORVAN_POOL_UNDER_ASAN
#include <sanitizer/asan_interface.h>
#endif

TEST(ObjectPool, ObjectsAreAlignedAndDisjointOverManyBlocks) {
    for (std::size_t size : {sizeof(TPrut), sizeof(TUzel), sizeof(TZatizeni), std::size_t(16), std::size_t(24)}) {
        TObjectPool pool(size);
        std::vector<unsigned char*> objects;
        // Far more than the first block and two huge pages hold.
        const std::size_t count = (std::size_t(6) << 20) / size + 1000;
        for (std::size_t i = 0; i < count; ++i) {
            auto* p = static_cast<unsigned char*>(pool.Allocate(size));
            ASSERT_EQ(reinterpret_cast<std::uintptr_t>(p) % alignof(TReal), 0u) << size;
            std::memset(p, int(i % 251), size);
            objects.push_back(p);
        }
        for (std::size_t i = 0; i < count; ++i)
            for (std::size_t b = 0; b < size; ++b) ASSERT_EQ(objects[i][b], i % 251) << size << " object " << i;
        // Freed objects are handed out again before new memory is used (the pool keeps them).
        std::set<unsigned char*> freed;
        for (std::size_t i = 0; i < count; i += 3) {
            pool.Free(objects[i], size);
            freed.insert(objects[i]);
        }
        for (std::size_t i = 0; i < count; i += 3) {
            objects[i] = static_cast<unsigned char*>(pool.Allocate(size));
            EXPECT_TRUE(freed.count(objects[i])) << size;
        }
        for (unsigned char* p : objects) pool.Free(p, size);
    }
}

// A class derived from a pooled one is larger; its objects come from the heap and go back there.
TEST(ObjectPool, OtherSizesGoToTheHeap) {
    TObjectPool pool(sizeof(TUzel));
    void* small = pool.Allocate(sizeof(TUzel));
    void* large = pool.Allocate(sizeof(TUzel) + 64);
    std::memset(large, 1, sizeof(TUzel) + 64);
    pool.Free(large, sizeof(TUzel) + 64);
    pool.Free(small, sizeof(TUzel));
    // A model's objects go through the class's own pool: a full project built and torn down twice.
    for (int round = 0; round < 2; ++round) {
        TMKPSpace space;
        TUzel* a = space.PridejUzel(1, 0, 0);
        TUzel* b = space.PridejUzel(2, 3, 4);
        TMaterial* m = space.PridejMaterial("S235", 210000, 7850);
        TProfil* s = space.PridejProfil("R1", m, 0.01L, 1e-4L, 5e-5L);
        TPrut* p = space.PridejPrut(a, b, s, false, 1, false, false);
        p->PridejZatizeni(KLoadDistributed, nullptr, 0, 5, 1, 2, 90);
        EXPECT_EQ(p->Length, 5);
        EXPECT_EQ(p->Loads.Count(), 1);
    }
}

// Under AddressSanitizer the pool poisons what it does not hand out: the rest of a block, and a
// freed object until it is taken again (the freed objects in the order they were freed).
TEST(ObjectPool, FreedObjectsArePoisonedUnderAddressSanitizer) {
#ifdef KORVAN_POOL_UNDER_ASAN
    TObjectPool pool(48);
    auto* a = static_cast<char*>(pool.Allocate(48));
    auto* b = static_cast<char*>(pool.Allocate(48));
    EXPECT_EQ(__asan_region_is_poisoned(a, 48), nullptr);
    EXPECT_TRUE(__asan_address_is_poisoned(b + 48));
    pool.Free(a, 48);
    pool.Free(b, 48);
    EXPECT_EQ(__asan_region_is_poisoned(a, 48), a);
    EXPECT_EQ(__asan_region_is_poisoned(b, 48), b);
    EXPECT_DEATH(a[8] = 1, "use-after-poison");
    EXPECT_EQ(pool.Allocate(48), a);
    EXPECT_EQ(__asan_region_is_poisoned(a, 48), nullptr);
    EXPECT_TRUE(__asan_address_is_poisoned(b));
    pool.Free(a, 48);
#else
    GTEST_SKIP() << "not built with AddressSanitizer";
#endif
}
