#pragma once
// Model builders for the analysis tests, the random frame generator and the dense reference
// elimination that the profile solver must reproduce bit for bit.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "analysis/Diagnostics.h"
#include "analysis/ProfileMatrix.h"
#include "model/MKPSpace.h"

struct TFrame {
    TMKPSpace Space;
    TMaterial* Mat;
    TProfil* Sec;
    explicit TFrame(TReal e = 210000, TReal a = 0.01, TReal i = 1e-4, TReal density = 7850) {
        Space.TraceEnabled = false;
        Mat = Space.PridejMaterial("S", e, density);
        Sec = Space.PridejProfil("P", Mat, a, i, i / 2);
    }
    TUzel* Node(TReal x, TReal y) { return Space.PridejUzel(Space.Nodes.Count() + 1, x, y); }
    TPrut* Member(TUzel* a, TUzel* b, bool hingeA = false, bool hingeB = false) {
        return Space.PridejPrut(a, b, Sec, false, Space.Members.Count() + 1, hingeA, hingeB);
    }
    static void Support(TUzel* n, bool u, bool w, bool rot, TReal angle = 0) {
        n->DofU.Fixed = u;
        n->DofW.Fixed = w;
        n->DofRot.Fixed = rot;
        n->DofU.Angle = n->DofW.Angle = n->DofRot.Angle = angle;
    }
    // E·I and E·A of the default section.
    TReal EI() const { return Mat->E * Sec->Iy; }
    TReal EA() const { return Mat->E * Sec->A; }
};

inline double D(TReal v) { return static_cast<double>(v); }

// The same 80-bit value (sign of zero included); the padding bytes are not compared.
inline bool SameBits(TReal a, TReal b) { return std::memcmp(&a, &b, 10) == 0; }

// A random frame: nodes on a 0.5 m grid in random order, a spanning tree of members plus a few
// more, random hinges and turned sections, supports of every kind at random angles, and loads of
// every kind (self-weight with a coefficient). With stable set, node 1 is fixed and the members
// at it are rigid, so most of these frames can be solved.
inline void RandomFrame(TFrame& f, unsigned seed, bool stable) {
    std::mt19937 rng(seed);
    auto uni = [&](double lo, double hi) { return lo + (hi - lo) * (double(rng()) / 4294967296.0); };
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const int nodes = 4 + pick(11);
    std::vector<std::pair<int, int>> used;
    while (int(f.Space.Nodes.Count()) < nodes) {
        int gx = pick(21), gy = pick(13);
        if (std::find(used.begin(), used.end(), std::make_pair(gx, gy)) != used.end()) continue;
        used.emplace_back(gx, gy);
        f.Node(gx * 0.5L, gy * 0.5L);
    }
    TProfil* turned = f.Space.PridejProfil("Q", f.Mat, 0.02, 3e-4, 5e-5);
    auto connected = [&](TUzel* a, TUzel* b) {
        for (TPrut* m : f.Space.Members)
            if ((m->NodeA == a && m->NodeB == b) || (m->NodeA == b && m->NodeB == a)) return true;
        return false;
    };
    auto addMember = [&](TUzel* a, TUzel* b) {
        bool rigidA = stable && a->Number == 1, rigidB = stable && b->Number == 1;
        TPrut* m = f.Space.PridejPrut(a, b, pick(3) == 0 ? turned : f.Sec, pick(4) == 0, f.Space.Members.Count() + 1,
                                      !rigidA && pick(4) == 0, !rigidB && pick(4) == 0);
        m->NastavDeleni(10 + pick(5));
    };
    // Sometimes one node joined to no member: its equations have an envelope of their own.
    const int isolated = pick(3) == 0 ? 1 + pick(nodes - 1) : -1;
    for (int i = 1; i < nodes; ++i) {
        if (i == isolated) continue;
        int parent = pick(i);
        while (parent == isolated) parent = pick(i);
        addMember(f.Space.Nodes[i], f.Space.Nodes[parent]);
    }
    for (int extra = pick(4); extra > 0; --extra) {
        TUzel* a = f.Space.Nodes[pick(nodes)];
        TUzel* b = f.Space.Nodes[pick(nodes)];
        if (a != b && a->Number - 1 != isolated && b->Number - 1 != isolated && !connected(a, b)) addMember(a, b);
    }
    const TReal angles[] = {0, 30, 45, -20, 90, 12.5};
    const bool kinds[6][3] = {{1, 1, 1}, {1, 1, 0}, {1, 0, 0}, {0, 1, 0}, {1, 0, 1}, {0, 0, 0}};
    if (stable) TFrame::Support(f.Space.Nodes[0], true, true, true, angles[pick(6)]);
    for (int s = 1 + pick(3); s > 0; --s) {
        const bool* k = kinds[pick(6)];
        TFrame::Support(f.Space.Nodes[1 + pick(nodes - 1)], k[0], k[1], k[2], angles[pick(6)]);
    }
    for (TUzel* n : f.Space.Nodes) {
        if (pick(3) == 0) n->PridejZatizeni(KLoadForce, nullptr, uni(-50, 50), uni(0, 360));
        if (pick(4) == 0) n->PridejZatizeni(KLoadMoment, nullptr, uni(-20, 20), 0);
    }
    for (TPrut* m : f.Space.Members) {
        const TReal l = m->Length;
        switch (pick(5)) {
        case 0:
            m->PridejZatizeni(KLoadForce, nullptr, uni(0, 1) * l, 0, uni(-40, 40), 0, uni(0, 360));
            break;
        case 1:
            m->PridejZatizeni(KLoadMoment, nullptr, uni(0, 1) * l, 0, uni(-30, 30), 0, 0);
            break;
        case 2: {
            TReal a = uni(0, 0.5) * l, c = uni(0.1, 0.5) * l;
            m->PridejZatizeni(KLoadDistributed, nullptr, a, c, uni(-20, 20), uni(-20, 20), uni(0, 360));
            break;
        }
        case 3:
            m->PridejZatizeni(KLoadDistributed, nullptr, 0, l, uni(1, 10), uni(1, 10), 90);
            break;
        default:
            break;
        }
    }
    f.Space.WeightCase.Factor = 1.35L;
    if (pick(2) == 0) f.Space.NastavVlastniTihu(true);
}

// The dense elimination exactly as the computation is defined: (3N+1)² matrix, supports by
// zeroing rows and columns, degrees of freedom without stiffness, elimination without pivoting,
// the two checks, back substitution. Returns the status and fills rg.
inline TSolveStatus DenseElimination(TMKPSpace& s, TVector& rg) {
    const int n = 3 * s.Nodes.Count();
    TMatrix kg = NewMatrix(std::size_t(n + 1), std::size_t(n + 1));
    TVector mg = NewVector(std::size_t(n + 1)), pg = NewVector(std::size_t(n + 1)),
            fg = NewVector(std::size_t(n + 1));
    rg = NewVector(std::size_t(n + 1));
    for (TPrut* m : s.Members) {
        m->SestavMatice();
        for (int i = 1; i <= 6; ++i)
            for (int j = 1; j <= 6; ++j)
                kg[std::size_t(std::lround(m->kabG[i][0]))][std::size_t(std::lround(m->kabG[0][j]))] += m->kabG[i][j];
        for (int i = 0; i < 6; ++i) mg[std::size_t(std::lround(m->MabG[i][0]))] += m->MabG[i][1];
        m->UvolniMatice();
    }
    for (TUzel* node : s.Nodes) {
        node->SestavVektorZatizeni();
        for (int r = 0; r < 3; ++r) pg[std::size_t(std::lround(node->LoadVector[r][0]))] = node->LoadVector[r][1];
        node->UvolniVektorZatizeni();
    }
    for (int k = 1; k <= n; ++k) fg[k] = pg[k] - mg[k];
    auto clear = [&](int k) {
        for (int i = 1; i <= n; ++i) kg[k][i] = kg[i][k] = 0;
        kg[k][k] = 1;
    };
    for (TUzel* node : s.Nodes)
        for (TNodeDof* d : {&node->DofRot, &node->DofU, &node->DofW})
            if (d->Fixed) {
                clear(d->Code);
                fg[d->Code] = 0;
            }
    // A degree of freedom without stiffness gets a unit diagonal; a load on one (beyond the
    // trigonometric residue of a load at right angles to it) makes a mechanism.
    TReal largest = 1;
    for (int k = 1; k <= n; ++k) largest = std::max(largest, std::fabs(fg[k]));
    int unresisted = 0;
    for (int k = 1; k <= n; ++k)
        if (kg[k][k] == 0) {
            if (!unresisted && std::fabs(fg[k]) > 1e-12L * largest) unresisted = k;
            clear(k);
        }
    if (unresisted) return {TSolveResult::Mechanism, unresisted};
    std::vector<TReal> original(std::size_t(n) + 1);
    for (int k = 1; k <= n; ++k) original[std::size_t(k)] = kg[k][k];
    for (int k = 1; k <= n - 1; ++k)
        for (int i = k + 1; i <= n; ++i) {
            if (kg[k][k] == 0) return {TSolveResult::ZeroPivot, k};
            TReal f = -(kg[i][k] / kg[k][k]);
            for (int j = k; j <= n; ++j) kg[i][j] += f * kg[k][j];
            fg[i] += f * fg[k];
        }
    // A diagonal below 1e-15, or below 1e-14 of what the row had before the elimination.
    for (int k = 1; k <= n; ++k)
        if (kg[k][k] < 1e-15L || kg[k][k] < 1e-14L * original[std::size_t(k)]) return {TSolveResult::Mechanism, k};
    rg[n] = fg[n] / kg[n][n];
    for (int i = n - 1; i >= 1; --i) {
        for (int j = n; j >= i + 1; --j) fg[i] -= kg[i][j] * rg[j];
        rg[i] = fg[i] / kg[i][i];
    }
    return {};
}

// The dense elimination's status with the place a refusal names: a part without support.
inline TSolveStatus DenseReference(TMKPSpace& s, TVector& rg) {
    TSolveStatus status = DenseElimination(s, rg);
    if (status.Result != TSolveResult::Ok) status.Unsupported = NepodeprenaCast(s, MistoRovnice(status.Equation).Node);
    return status;
}
