#include "analysis/MemberMatrices.h"

#include <algorithm>
#include <cmath>

#include "model/LoadCases.h"
#include "model/MKPSpace.h"

void ForEachMemberMatrices(TMKPSpace& space, const std::function<void(TPrut&)>& visit) {
    TPrut* last = nullptr;
    for (TPrut* m : space.Members) {
        if (last) last->PredejMatice(*m);
        m->SestavT();
        m->SestavTI();
        m->SestavKabL();
        m->SestavKabG();
        visit(*m);
        last = m;
    }
    if (last) last->UvolniMatice();
}

std::vector<TMemberMatrix> FormMemberMatrices(TMKPSpace& space) {
    std::vector<TMemberMatrix> out(std::size_t(space.Members.Count()));
    std::size_t at = 0;
    ForEachMemberMatrices(space, [&](TPrut& m) {
        TMemberMatrix& c = out[at++];
        for (int i = 0; i < 6; ++i) {
            c.Codes[i] = std::size_t(std::lround(m.kabG[0][std::size_t(i + 1)]));
            for (int j = 0; j < 6; ++j) {
                c.KabG[i][j] = m.kabG[std::size_t(i + 1)][std::size_t(j + 1)];
                c.T[i][j] = m.T[std::size_t(i)][std::size_t(j)];
                c.KabL[i][j] = m.kabL[std::size_t(i + 1)][std::size_t(j + 1)];
            }
        }
    });
    return out;
}

// Sa/Sb[0..2] = fixed-end forces + kab* · dl (moment, force along x, force along z acting on the
// member), Sa/Sb[3..5] = dl, the local end displacements T · d.
void EndResultsFrom(TPrut& member, const TReal (&t)[6][6], const TReal (&kabL)[6][6], const TReal (&fixed)[6]) {
    TReal d[6], local[12];
    for (int i = 0; i < 3; ++i) {
        d[i] = member.NodeA->Displacement[std::size_t(i)];
        d[i + 3] = member.NodeB->Displacement[std::size_t(i)];
    }
    LocalEndProducts(t, kabL, d, local);
    EndResultsFromLocal(member, local, fixed);
}

void LocalEndProducts(const TReal (&t)[6][6], const TReal (&kabL)[6][6], const TReal (&d)[6], TReal* local) {
    TReal dl[6] = {}, f[6] = {};
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j) dl[i] += t[i][j] * d[j];
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j) f[i] += kabL[i][j] * dl[j];
    std::copy(dl, dl + 6, local);
    std::copy(f, f + 6, local + 6);
}

void EndResultsFromLocal(TPrut& member, const TReal* local, const TReal (&fixed)[6]) {
    if (member.Sa.size() != 6) member.Sa.assign(6, 0.0L); // the vectors of an earlier case are reused
    if (member.Sb.size() != 6) member.Sb.assign(6, 0.0L);
    member.ResultsTurned = false;
    for (int i = 0; i < 3; ++i) {
        member.Sa[std::size_t(i)] = fixed[i] + local[6 + i];
        member.Sb[std::size_t(i)] = fixed[i + 3] + local[6 + i + 3];
        member.Sa[std::size_t(i + 3)] = local[i];
        member.Sb[std::size_t(i + 3)] = local[i + 3];
    }
}

namespace {
// Appends the nonzero entries of a 6 × 6 matrix row by row; returns their places.
std::uint64_t AppendNonzero(const TReal (&a)[6][6], std::vector<TReal>& values) {
    std::uint64_t mask = 0;
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            if (a[i][j] != 0) {
                values.push_back(a[i][j]);
                mask |= std::uint64_t(1) << (6 * i + j);
            }
    return mask;
}

} // namespace

TCompactMemberMatrices::TCompactMemberMatrices(const std::vector<TMemberMatrix>& members) {
    mStart.reserve(members.size() + 1);
    mCodes.reserve(6 * members.size());
    mMasks.reserve(3 * members.size());
    for (const TMemberMatrix& c : members) {
        mStart.push_back(mValues.size());
        mCodes.insert(mCodes.end(), c.Codes, c.Codes + 6);
        mMasks.push_back(AppendNonzero(c.KabG, mValues));
        mMasks.push_back(AppendNonzero(c.T, mValues));
        mMasks.push_back(AppendNonzero(c.KabL, mValues));
    }
    mStart.push_back(mValues.size());
}

void TCompactMemberMatrices::LocalProducts(std::size_t m, const TReal (&d)[6], TReal* local) const {
    const std::uint64_t kabG = mMasks[3 * m], t = mMasks[3 * m + 1], kabL = mMasks[3 * m + 2];
    const TReal* v = mValues.data() + mStart[m] + __builtin_popcountll(kabG);
    for (int i = 0; i < 6; ++i) local[i] = RowTimes(t, i, v, [&](int j) { return d[j]; });
    for (int i = 0; i < 6; ++i) local[6 + i] = RowTimes(kabL, i, v, [&](int j) { return local[j]; });
}

namespace {
template <class L> bool AnyActs(const std::shared_ptr<const TLoadFactors>& factors, const L& loads) {
    for (const TZatizeni* z : loads) {
        TReal factor;
        if (LoadActs(factors.get(), *z, factor) && factor != 0) return true;
    }
    return false;
}
} // namespace

bool CarriesLoad(const TPrut& member) { return AnyActs(member.LoadFactors, member.Loads); }
bool CarriesLoad(const TUzel& node) { return AnyActs(node.LoadFactors, node.Loads); }

// Prubehy starts every row at end a (M, N, T, rotation, u, w: Sa[0..5]) and steps over the
// stations, whose steps t add up to at most D = 2X (X: the largest distance of a station from end
// a: the length, or a load's start or end). With T = max(1, D), K = max(1, 1/EI, 1/EA), S the
// largest |Sa| and W the sum over the acting loads of a bound on what a load puts in (a point load
// |f·Q1|; a distributed one |f|·(|Q1| + |Q2|)·(1 + (1 + 2X)/|C|), which bounds its gradient
// (Q2 − Q1)/C and its intensity at any station it reaches, and with it every px, pz, gx, gz):
//   |N|, |T| ≤ S + W·(T²/2 + T) + W            ≤ 3T²(S + W)
//   |M|      ≤ S + max|T|·D + W·T³ + W          ≤ 6T³(S + W)
//   |rot|    ≤ S + K·(max|M|·D + max|T|·D²/2 + W·T⁴)   ≤ 10K·T⁴(S + W)
//   |u|      ≤ S + K·(max|N|·D + W·T³)          ≤ 5K·T³(S + W)
//   |w|      ≤ S + K·(max|M|·D²/2 + max|T|·D³/6 + W·T⁵) + max|rot|·D ≤ 16K·T⁵(S + W)
// (Σt^k ≤ D^k ≤ T^k). Rounding in 80 bits adds a relative 2⁻⁶³ per operation, nothing against the
// margin of 64·K·T⁵·(S + W) ≤ 1e300, and every intermediate product is a term of these bounds, so
// nothing overflows the 80-bit range either.
bool TableSurelyShowable(const TPrut& m) {
    if (!m.HasResults() || (m.HingeA && m.HingeB) || !m.Section || !m.Section->Material) return false;
    const TReal e = m.Section->Material->E;
    const TReal ei = e * (m.SectionTurned ? m.Section->Iz : m.Section->Iy), ea = e * m.Section->A;
    if (!(ei > 0 && ea > 0 && std::isfinite(ei) && std::isfinite(ea))) return false;
    TReal x = std::fabs(m.Length), s = 0, w = 0;
    for (int k = 0; k < 6; ++k) s = std::max(s, std::fabs(m.Sa[std::size_t(k)]));
    const TLoadFactors* factors = m.LoadFactors.get();
    for (const TZatizeni* z : m.Loads) {
        TReal f;
        if (!LoadActs(factors, *z, f)) continue;
        x = std::max({x, std::fabs(z->A), std::fabs(z->A + z->C)});
    }
    for (const TZatizeni* z : m.Loads) {
        TReal f;
        if (!LoadActs(factors, *z, f) || f == 0) continue;
        if (z->Kind == KLoadMoment || z->Kind == KLoadForce)
            w += std::fabs(f * z->Q1);
        else if ((z->Kind == KLoadDistributed || z->Kind == KLoadSelfWeight) && z->C != 0)
            w += std::fabs(f) * (std::fabs(z->Q1) + std::fabs(z->Q2)) * (1 + (1 + 2 * x) / std::fabs(z->C));
    }
    const TReal t = std::max(TReal(1), 2 * x), k = std::max({TReal(1), 1 / ei, 1 / ea});
    const TReal bound = 64 * k * t * t * t * t * t * (s + w);
    return bound <= 1e300L; // false too when any of it is not a number
}
