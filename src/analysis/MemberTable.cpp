#include "analysis/MemberTable.h"

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

void SestavPrubehy(TPrut& member) {
    TReal length = 0;
    {
        const TMemberAsComputed computed(member);
        member.Prubehy();
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
