#include "analysis/MemberTable.h"

#include <vector>

#include "model/Prut.h"

TVector ReversedEndResults(const TVector& s) {
    TVector r = s;
    for (std::size_t i : {std::size_t(1), std::size_t(2), std::size_t(4), std::size_t(5)})
        r[i] = -r[i];
    return r;
}

namespace {
// What turning a member round and the computation's load adjustment change on it.
struct TMemberState {
    struct TLoad {
        TReal A, B, C, Q1, Q2, Angle;
    };
    std::vector<TLoad> Loads;
    TReal Angle, CosA, SinA, Length;
    TVector Sa, Sb;

    explicit TMemberState(const TPrut& m)
        : Angle(m.Angle), CosA(m.CosA), SinA(m.SinA), Length(m.Length), Sa(m.Sa), Sb(m.Sb) {
        Loads.reserve(std::size_t(m.Loads.Count()));
        for (const TZatizeni* z : m.Loads) Loads.push_back({z->A, z->B, z->C, z->Q1, z->Q2, z->Angle});
    }
    void Restore(TPrut& m) const {
        std::size_t i = 0;
        for (TZatizeni* z : m.Loads) {
            const TLoad& l = Loads[i++];
            z->A = l.A, z->B = l.B, z->C = l.C, z->Q1 = l.Q1, z->Q2 = l.Q2, z->Angle = l.Angle;
        }
        m.Angle = Angle, m.CosA = CosA, m.SinA = SinA, m.Length = Length;
        m.Sa = Sa;
        m.Sb = Sb;
    }
};
} // namespace

void SestavPrubehy(TPrut& member) {
    if (!member.ResultsTurned || !member.HasResults()) {
        member.Prubehy();
        return;
    }
    const TMemberState state(member);
    // The member as the computation had it: turned round, point loads adjusted as the fixed-end
    // forces leave them, the end results those of the turned member.
    member.OtocPrut();
    member.UpravPolohyZatizeni();
    member.Sa = ReversedEndResults(state.Sb);
    member.Sb = ReversedEndResults(state.Sa);
    member.Prubehy();
    const TReal length = member.Length;
    member.OtocPrut();
    state.Restore(member);

    const TMatrix& turned = member.Results;
    const std::size_t n = turned[0].size();
    TMatrix r = NewMatrix(turned.size(), n);
    static const TReal KSign[7] = {1, -1, 1, 1, 1, -1, -1}; // x, M, N, T, rotation, u, w
    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t k = n - 1 - j;
        r[0][j] = length - turned[0][k];
        for (std::size_t row = 1; row < 7; ++row) r[row][j] = KSign[row] * turned[row][k];
    }
    member.Results = std::move(r);
}
