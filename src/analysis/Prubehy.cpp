// End results of a member after the solution, and the table of internal forces and displacements
// along it. Results rows: 0 x (m), 1 M (kNm), 2 N (kN, compression positive), 3 T (kN),
// 4 rotation (mrad), 5 u (mm), 6 w (mm), 7 spare.
#include <cmath>
#include <utility>

#include "model/Prut.h"

void TPrut::KoncoveSily() {
    Sa = NewVector(6);
    Sb = NewVector(6);
    SestavMabL();
    SestavKabL();
    SestavT();
    TReal d[6];
    const TUzel* ends[2] = {NodeA, NodeB};
    for (int e = 0; e < 2; ++e)
        for (int k = 0; k < 3; ++k)
            d[3 * e + k] = ends[e]->Displacement.size() == 3 ? ends[e]->Displacement[k] : 0.0L;
    TReal dl[6] = {0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 6; ++i)
        for (int k = 0; k < 6; ++k) dl[i] += T[i][k] * d[k];
    TReal f[6] = {0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 6; ++i)
        for (int k = 0; k < 6; ++k) f[i] += kabL[i + 1][k + 1] * dl[k];
    for (int i = 0; i < 3; ++i) {
        Sa[i] = MabL[i][1] + f[i];
        Sb[i] = MabL[i + 3][1] + f[i + 3];
        Sa[i + 3] = dl[i];
        Sb[i + 3] = dl[i + 3];
    }
    UvolniMabL();
    UvolniKabL();
    UvolniT();
}

void TPrut::UvolniKoncoveSily() {
    Release(Sa);
    Release(Sb);
}

void TPrut::Prubehy() {
    Release(Results);
    if (!HasResults()) return;
    const TReal e = Section->Material->E;
    const TReal i = SectionTurned ? Section->Iz : Section->Iy;
    const TReal ei = e * i;
    const TReal ea = e * Section->A;
    const TReal l = Length;

    // Candidates: the division points, then every load's start and end.
    std::vector<TReal> cand;
    cand.reserve(static_cast<std::size_t>(Divisions) + 1 + 2 * static_cast<std::size_t>(Loads.Count()));
    for (int k = 0; k <= Divisions; ++k) cand.push_back((l * k) / Divisions);
    for (const TZatizeni* z : Loads) {
        cand.push_back(z->A);
        cand.push_back(z->A + z->C);
    }
    // Bubble passes until one makes no exchange (the order of equal values does not matter).
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (std::size_t k = 0; k + 1 < cand.size(); ++k)
            if (cand[k] > cand[k + 1]) {
                std::swap(cand[k], cand[k + 1]);
                swapped = true;
            }
    }
    // A value met once gives one column, a value met twice or more exactly two.
    std::vector<TReal> xs;
    xs.push_back(cand.front());
    for (std::size_t k = 1; k + 1 < cand.size(); ++k)
        if (cand[k - 1] != cand[k + 1]) xs.push_back(cand[k]);
    xs.push_back(cand.back());

    const std::size_t n = xs.size();
    Results = NewMatrix(8, n);
    TVector& x = Results[0];
    TVector& m = Results[1];
    TVector& nn = Results[2];
    TVector& tt = Results[3];
    TVector& rot = Results[4];
    TVector& u = Results[5];
    TVector& w = Results[6];
    for (std::size_t j = 0; j < n; ++j) x[j] = xs[j];
    for (int r = 1; r <= 6; ++r) Results[r][0] = Sa[r - 1];

    if (HingeA && HingeB) {
        // The rotation of end a: chord rotation plus the end rotation of a simply supported member
        // under its loads, from the fixed-end moments for both ends rigid.
        HingeA = HingeB = false;
        SestavMatice();
        const TReal maStar = MabL[0][1], mbStar = MabL[3][1];
        HingeA = HingeB = true;
        UvolniMatice();
        rot[0] = (Sb[5] - Sa[5]) * 1000 / (1000 * l - Sa[4] + Sb[4]) + (-2 * maStar + mbStar) / (6 * e * i / l);
    }

    for (std::size_t j = 1; j < n; ++j) {
        const TReal t = x[j] - x[j - 1];
        for (const TZatizeni* z : Loads) {
            const TReal angle = DegToRad(z->Angle);
            if (z->Kind == KLoadMoment) {
                if (z->A == x[j] && x[j] == x[j - 1]) m[j] += z->Q1;
            } else if (z->Kind == KLoadForce) {
                if (z->A == x[j] && x[j] == x[j - 1]) {
                    nn[j] += z->Q1 * std::cos(angle);
                    tt[j] += z->Q1 * std::sin(angle);
                }
            } else if (z->Kind == KLoadDistributed || z->Kind == KLoadSelfWeight) {
                if (z->C == 0) continue; // no loaded length: nothing acts along the member
                if (!(x[j - 1] >= z->A - 1e-6L && x[j] <= z->A + z->C + 1e-6L)) continue;
                TReal gx = std::cos(angle) * (z->Q2 - z->Q1) / z->C;
                TReal gz = std::sin(angle) * (z->Q2 - z->Q1) / z->C;
                const TReal q0 = z->Q2 - (z->Q2 - z->Q1) * (z->A + z->C - x[j - 1]) / z->C;
                TReal px = std::cos(angle) * q0;
                TReal pz = std::sin(angle) * q0;
                if (z->Kind == KLoadSelfWeight && z->LoadCase) {
                    const TReal f = z->LoadCase->Factor;
                    gx *= f;
                    gz *= f;
                    px *= f;
                    pz *= f;
                }
                const TReal t2 = t * t, t3 = t2 * t, t4 = t3 * t, t5 = t4 * t;
                m[j] -= t3 / 6 * gz + t2 / 2 * pz;
                nn[j] += t2 / 2 * gx + px * t;
                tt[j] += t2 / 2 * gz + pz * t;
                rot[j] += t4 / 24 * gz / ei + t3 / 6 * pz / ei;
                u[j] -= t3 / 6 * gx / ea + t2 / 2 * px / ea;
                w[j] += t5 / 120 * gz / ei + t4 / 24 * pz / ei;
            }
        }
        m[j] += m[j - 1] - tt[j - 1] * t;
        nn[j] += nn[j - 1];
        tt[j] += tt[j - 1];
        rot[j] += rot[j - 1] - m[j - 1] * t / ei + t * t * tt[j - 1] / (2 * ei);
        u[j] += u[j - 1] - nn[j - 1] * t / ea;
        w[j] += w[j - 1] - t * t * m[j - 1] / (2 * ei) + t * t * t * tt[j - 1] / (6 * ei) + rot[j - 1] * t;
    }
}

void TPrut::UvolniPrubehy() { Release(Results); }
