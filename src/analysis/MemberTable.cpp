#include "analysis/MemberTable.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/Material.h"
#include "model/Profil.h"
#include "model/Prut.h"

TVector ReversedEndResults(const TVector& s) {
    TVector r = s;
    for (std::size_t i : {std::size_t(1), std::size_t(2), std::size_t(4), std::size_t(5)})
        r[i] = -r[i];
    return r;
}

TMemberAsComputed::TMemberAsComputed(TPrut& member)
    : mMember(member), mTurned(member.ResultsTurned && member.HasResults()) {
    if (!mTurned) return;
    TPrut& m = mMember;
    mLoads.reserve(std::size_t(m.Loads.Count()));
    for (const TZatizeni* z : m.Loads)
        mLoads.push_back({z->A, z->B, z->C, z->Q1, z->Q2, z->Angle});
    mAngle = m.Angle, mCosA = m.CosA, mSinA = m.SinA, mLength = m.Length;
    mSa = m.Sa;
    mSb = m.Sb;
    m.OtocPrut();
    m.UpravPolohyZatizeni();
    m.Sa = ReversedEndResults(mSb);
    m.Sb = ReversedEndResults(mSa);
}

TMemberAsComputed::~TMemberAsComputed() {
    if (!mTurned) return;
    TPrut& m = mMember;
    m.OtocPrut();
    std::size_t i = 0;
    for (TZatizeni* z : m.Loads) {
        const TLoad& l = mLoads[i++];
        z->A = l.A, z->B = l.B, z->C = l.C, z->Q1 = l.Q1, z->Q2 = l.Q2, z->Angle = l.Angle;
    }
    m.Angle = mAngle, m.CosA = mCosA, m.SinA = mSinA, m.Length = mLength;
    m.Sa = std::move(mSa);
    m.Sb = std::move(mSb);
}

void SestavPrubehy(TPrut& member, const TReal* extraStation) {
    TReal length = 0;
    {
        const TMemberAsComputed computed(member);
        // On the turned member the place lies at L − x from its node a; it is kept on the member
        // as the table has it (the turned member's length may differ from this one's in the last
        // bit).
        TReal extra = 0;
        if (extraStation)
            extra = std::clamp<TReal>(computed.Turned() ? member.Length - *extraStation : *extraStation, 0,
                                      member.Length);
        member.Prubehy(extraStation ? &extra : nullptr);
        if (!computed.Turned()) return;
        length = member.Length;
    }
    const TMatrix& turned = member.Results;
    const std::size_t n = turned[0].size();
    TMatrix r = NewMatrix(turned.size(), n);
    static const TReal KSign[7] = {1, -1, 1, 1, 1, -1, -1}; // x, M, N, T, rotation, u, w
    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t k = n - 1 - j;
        r[0][j] = length - turned[0][k];
        for (std::size_t row = 1; row < 7; ++row)
            r[row][j] = KSign[row] * turned[row][k];
    }
    member.Results = std::move(r);
}

bool HodnotyVMiste(TPrut& member, TReal x, TVector& values) {
    if (!member.HasResults() || !member.Section || !member.Section->Material) return false;
    if (!std::isfinite(x) || !std::isfinite(member.Length)) return false;
    TMatrix kept;
    std::swap(kept, member.Results);
    // A station of the table is read as it stands. Elsewhere the table gets a station at x: on a
    // turned member its place L − (L − x) may differ from x in the last bit, so the nearest
    // column is read (the first of equals, the side of node a).
    SestavPrubehy(member);
    const auto at = [&]() -> std::size_t {
        const TMatrix& r = member.Results;
        if (r.size() < 7 || r[0].empty()) return std::size_t(-1);
        std::size_t best = 0;
        for (std::size_t j = 1; j < r[0].size(); ++j)
            if (std::fabs(r[0][j] - x) < std::fabs(r[0][best] - x)) best = j;
        return best;
    };
    std::size_t column = at();
    if (column != std::size_t(-1) && member.Results[0][column] != x) {
        SestavPrubehy(member, &x);
        column = at();
    }
    const bool found = column != std::size_t(-1);
    if (found) {
        values.assign(7, 0.0L);
        for (std::size_t row = 0; row < 7; ++row) values[row] = member.Results[row][column];
    }
    member.Results = std::move(kept);
    return found;
}
