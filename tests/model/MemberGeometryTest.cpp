// A member's direction and length are remembered for the last few differences of its ends; what
// a member gets must be what a fresh computation gives, to the bit, whatever came before it.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <thread>

#include "model/MKPSpace.h"

namespace {
struct TGeometry {
    TReal Angle, Length, Cos, Sin;
};

bool SameBits(TReal a, TReal b) {
    return std::memcmp(&a, &b, 10) == 0;
}

TGeometry Of(const TPrut& p) {
    return {p.Angle, p.Length, p.CosA, p.SinA};
}

// The member's geometry formed on a thread of its own, where nothing has been remembered yet.
TGeometry Fresh(TPrut& p) {
    TGeometry g{};
    std::thread([&] {
        p.Geometrie();
        g = Of(p);
    }).join();
    return g;
}
} // namespace

TEST(MemberGeometry, RememberedValuesEqualFreshOnes) {
    std::mt19937 rng(7);
    TMKPSpace space;
    TMaterial* m = space.PridejMaterial("S235", 210000, 7850);
    TProfil* s = space.PridejProfil("R1", m, 0.01L, 1e-4L, 5e-5L);
    // A few directions that repeat (bays, storeys, both senses, signed zero differences) mixed with
    // more than can be remembered, so that entries are replaced too.
    const TReal ends[][4] = {{0, 0, 6, 0},    {0, 0, 0, 3.5L}, {6, 0, 0, 0},     {0, 3.5L, 0, 0},
                             {0, 0, 3, 4},    {-0.0L, 0, 0, 5}, {0, -0.0L, 7, 0}, {1, 1, 4, 5},
                             {0.1L, 0.2L, 0.3L, 0.7L}};
    int number = 0;
    for (int i = 0; i < 400; ++i) {
        const auto& e = ends[rng() % (sizeof ends / sizeof ends[0])];
        const TReal shift = TReal(rng() % 5);
        TUzel* a = space.PridejUzel(++number, e[0] + shift, e[1]);
        TUzel* b = space.PridejUzel(++number, e[2] + shift, e[3]);
        TPrut* p = space.PridejPrut(a, b, s, false, i + 1, false, false);
        const TGeometry got = Of(*p), fresh = Fresh(*p);
        ASSERT_TRUE(SameBits(got.Angle, fresh.Angle)) << i;
        ASSERT_TRUE(SameBits(got.Length, fresh.Length)) << i;
        ASSERT_TRUE(SameBits(got.Cos, fresh.Cos)) << i;
        ASSERT_TRUE(SameBits(got.Sin, fresh.Sin)) << i;
    }
}
