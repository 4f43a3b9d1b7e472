// The members' matrices held without their zero entries give the products of the full matrices
// to the bit.
#include <gtest/gtest.h>

#include <random>

#include "analysis/Frames.h"
#include "analysis/MemberMatrices.h"

// Random matrices with about half of their entries zero (whole rows too), and displacements with
// exact zeros of either sign and magnitudes far apart, several members adding to the same sums.
TEST(CompactMemberMatrices, ProductsHaveTheBitsOfTheFullMatrices) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> unit(-1, 1);
    const auto value = [&](double zeros) -> TReal {
        if (unit(rng) < 2 * zeros - 1) return 0;
        return TReal(unit(rng)) * std::pow(10.0L, int(rng() % 13) - 6) / 3;
    };
    for (int round = 0; round < 200; ++round) {
        const std::size_t equations = 12;
        std::vector<TMemberMatrix> members(8);
        for (TMemberMatrix& c : members) {
            std::vector<std::size_t> codes(equations);
            for (std::size_t e = 0; e < equations; ++e) codes[e] = e + 1;
            std::shuffle(codes.begin(), codes.end(), rng);
            std::copy_n(codes.begin(), 6, c.Codes);
            const double zeros = (round % 5) / 4.0; // from none to all
            for (int i = 0; i < 6; ++i) {
                const bool zeroRow = rng() % 6 == 0;
                for (int j = 0; j < 6; ++j) {
                    c.KabG[i][j] = zeroRow ? 0 : value(zeros);
                    c.T[i][j] = value(zeros);
                    c.KabL[i][j] = value(zeros);
                }
            }
        }
        TVector u(equations + 1);
        for (TReal& x : u) x = rng() % 4 == 0 ? (rng() % 2 ? 0.0L : -0.0L) : value(0);
        const TCompactMemberMatrices compact(members);
        ASSERT_EQ(compact.Count(), members.size());
        TVector full(u.size(), 0.0L), fromCompact(u.size(), 0.0L);
        for (std::size_t m = 0; m < members.size(); ++m) {
            const TMemberMatrix& c = members[m];
            AddMemberTimes([&c](int i, int j) { return c.KabG[i][j]; }, c.Codes, u, full);
            compact.AddTimes(m, u, fromCompact);
            for (std::size_t e = 0; e < u.size(); ++e) ASSERT_TRUE(SameBits(full[e], fromCompact[e])) << round << ' ' << m << ' ' << e;
            TReal d[6], want[12], got[12];
            for (int j = 0; j < 6; ++j) d[j] = u[c.Codes[j]];
            LocalEndProducts(c.T, c.KabL, d, want);
            compact.LocalProducts(m, d, got);
            for (int k = 0; k < 12; ++k) ASSERT_TRUE(SameBits(want[k], got[k])) << round << ' ' << m << ' ' << k;
        }
    }
}
