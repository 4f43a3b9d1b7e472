// Internal forces and deformations along a member: the table Results (rows x, M, N, T, rotation,
// u, w; row 7 unused), built by stepping from end a to end b and integrating the beam equations
// exactly over every step: dM/dx = -T, dN/dx = px, dT/dx = pz, d(rotation)/dx = -M/EI,
// du/dx = -N/EA, dw/dx = rotation. Units: kNm, kN, mrad, mm without factors.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "model/LoadCases.h"
#include "model/Prut.h"
#include "model/Trig.h"

namespace {
enum { RowX = 0, RowM = 1, RowN = 2, RowT = 3, RowRot = 4, RowU = 5, RowW = 6 };
}

void TPrut::Prubehy(const TReal* extraStation) {
    const TReal e = Section->Material->E;
    const TReal i = SectionTurned ? Section->Iz : Section->Iy;
    const TReal ei = e * i;
    const TReal ea = e * Section->A;
    const TReal l = Length;
    const int divisions = Divisions > 0 ? Divisions : 1;

    // The loads of the member's state with their factors; the others take no part, not even in
    // the stations (a load with the factor 0 still gives its stations: an envelope compares the
    // tables of several states station by station).
    const int loadCount = Loads.Count();
    std::vector<TReal> factors(std::size_t(loadCount), 1.0L);
    std::vector<char> acts(std::size_t(loadCount), 1);
    for (int k = 0; k < loadCount; ++k)
        acts[std::size_t(k)] = LoadActs(LoadFactors.get(), *Loads[k], factors[std::size_t(k)]);

    // Candidates: the division points, then the start and end of every load.
    std::vector<TReal> cand;
    cand.reserve(std::size_t(divisions) + 2 + 2 * std::size_t(Loads.Count()));
    for (int k = 0; k <= divisions; ++k) cand.push_back((l * k) / divisions);
    for (int k = 0; k < loadCount; ++k) {
        if (!acts[std::size_t(k)]) continue;
        const TZatizeni* z = Loads[k];
        cand.push_back(z->A);
        cand.push_back(z->A + z->C);
    }
    if (extraStation) cand.push_back(*extraStation);
    // Ascending; a stable sort keeps equal values (a -0 beside a 0) in the order they were added.
    std::stable_sort(cand.begin(), cand.end());
    // A value that occurs once gives one column; one that occurs twice or more gives two, so
    // that a point load makes a step of zero length across which the table jumps.
    std::vector<TReal> xs;
    xs.push_back(cand.front());
    for (std::size_t k = 1; k + 1 < cand.size(); ++k)
        if (cand[k - 1] != cand[k + 1]) xs.push_back(cand[k]);
    xs.push_back(cand.back());

    const std::size_t n = xs.size();
    Results = NewMatrix(8, n);
    TMatrix& r = Results;
    for (std::size_t j = 0; j < n; ++j) r[RowX][j] = xs[j];
    for (int k = 0; k < 6; ++k) r[std::size_t(k + 1)][0] = Sa[std::size_t(k)];

    // A pin-pin member: the node's rotation is not the member's; take the chord rotation plus the
    // end rotation of a simply supported member under the loads, from the rigid-end moments.
    if (HingeA && HingeB) {
        HingeA = false;
        HingeB = false;
        SestavMatice();
        const TReal maRigid = MabL[0][1], mbRigid = MabL[3][1];
        r[RowRot][0] = (Sb[5] - Sa[5]) * 1000 / (1000 * l - Sa[4] + Sb[4]) + (-2 * maRigid + mbRigid) / (6 * e * i / l);
        HingeA = true;
        HingeB = true;
        UvolniMatice();
    }

    // The cosine and sine of each load's angle, the same at every station.
    const std::size_t loads = std::size_t(Loads.Count());
    std::vector<std::pair<TReal, TReal>> directions;
    directions.reserve(loads);
    for (const TZatizeni* z : Loads) {
        const TReal rad = DegToRad(z->Angle);
        directions.emplace_back(CosRad(rad), SinRad(rad));
    }

    // What one load adds to column j, the step from column j - 1 to j; nothing where it does not act.
    auto addLoad = [&](std::size_t load, std::size_t j) {
        const TZatizeni* z = Loads[int(load)];
        const TReal f = factors[load];
        if (f == 0) return;
        const auto [co, si] = directions[load];
        const TReal x0 = r[RowX][j - 1], x1 = r[RowX][j];
        const TReal t = x1 - x0;
        const TReal q1 = f != 1 ? z->Q1 * f : z->Q1;
        switch (z->Kind) {
        case KLoadMoment:
            if (z->A == x1 && x1 == x0) r[RowM][j] += q1;
            break;
        case KLoadForce:
            if (z->A == x1 && x1 == x0) {
                r[RowN][j] += q1 * co;
                r[RowT][j] += q1 * si;
            }
            break;
        case KLoadDistributed:
        case KLoadSelfWeight: {
            // A load of zero length has no intensity to integrate (and no fixed-end forces).
            if (z->C == 0) break;
            if (!(x0 >= z->A - 1e-6L && x1 <= z->A + z->C + 1e-6L)) break;
            TReal gx = co * (z->Q2 - z->Q1) / z->C;
            TReal gz = si * (z->Q2 - z->Q1) / z->C;
            const TReal q0 = z->Q2 - (z->Q2 - z->Q1) * (z->A + z->C - x0) / z->C;
            TReal px = co * q0;
            TReal pz = si * q0;
            if (f != 1) {
                gx *= f;
                gz *= f;
                px *= f;
                pz *= f;
            }
            r[RowM][j] -= t * t * t / 6 * gz + t * t / 2 * pz;
            r[RowN][j] += t * t / 2 * gx + px * t;
            r[RowT][j] += t * t / 2 * gz + pz * t;
            r[RowRot][j] += t * t * t * t / 24 * gz / ei + t * t * t / 6 * pz / ei;
            r[RowU][j] -= t * t * t / 6 * gx / ea + t * t / 2 * px / ea;
            r[RowW][j] += t * t * t * t * t / 120 * gz / ei + t * t * t * t / 24 * pz / ei;
            break;
        }
        default:
            break;
        }
    };

    // The steps each load can act on form one run of columns [first, last] (first 0: none): a
    // point force or moment only the step of zero length at its position, a distributed load the
    // steps inside its loaded length and tolerance. The positions are sorted, so binary searches
    // find the runs; each step then visits only its own loads, in list order, and adds the same
    // terms in the same order as a loop over all loads would. A position that is not a number
    // leaves no order to search: then every load is visited at every step.
    const std::vector<TReal>& x = xs;
    const bool ordered = std::none_of(x.begin(), x.end(), [](TReal v) { return std::isnan(v); });
    std::vector<std::pair<std::size_t, std::size_t>> runs(loads, {0, 0});
    for (std::size_t load = 0; load < loads; ++load) {
        const TZatizeni* z = Loads[int(load)];
        if (!acts[load]) continue;
        if (!ordered) {
            runs[load] = {1, n - 1};
            continue;
        }
        TReal lo, hi;
        if (z->Kind == KLoadMoment || z->Kind == KLoadForce) {
            lo = hi = z->A; // both ends of the step at A
        } else if ((z->Kind == KLoadDistributed || z->Kind == KLoadSelfWeight) && z->C != 0) {
            lo = z->A - 1e-6L; // the start of the step at or after lo, its end at or before hi
            hi = z->A + z->C + 1e-6L;
        } else {
            continue;
        }
        if (std::isnan(lo) || std::isnan(hi)) continue;
        const std::size_t first = std::size_t(std::lower_bound(x.begin(), x.end(), lo) - x.begin()) + 1;
        const std::size_t end = std::size_t(std::upper_bound(x.begin(), x.end(), hi) - x.begin());
        if (first < end) runs[load] = {first, end - 1};
    }
    // The loads by the column their run starts at, in list order (a counting sort).
    std::vector<std::size_t> startsAt(n + 1, 0), byStart(loads);
    for (const auto& run : runs)
        if (run.first) ++startsAt[run.first];
    for (std::size_t j = 1; j <= n; ++j)
        startsAt[j] += startsAt[j - 1];
    for (std::size_t load = loads; load-- > 0;)
        if (runs[load].first) byStart[--startsAt[runs[load].first]] = load;

    // The loads acting on the current step, in list order: those still running merged with those
    // that start here. Each step costs as much as the loads it visits.
    std::vector<std::size_t> active, next;
    for (std::size_t j = 1; j < n; ++j) {
        next.clear();
        auto a = active.begin();
        const std::size_t* s = byStart.data() + startsAt[j];
        const std::size_t* sEnd = byStart.data() + startsAt[j + 1];
        while (a != active.end() || s != sEnd) {
            if (a != active.end() && runs[*a].second < j) {
                ++a;
            } else if (s == sEnd || (a != active.end() && *a < *s)) {
                next.push_back(*a++);
            } else {
                next.push_back(*s++);
            }
        }
        active.swap(next);
        for (const std::size_t load : active)
            addLoad(load, j);

        // Carry over from the previous column.
        const TReal t = r[RowX][j] - r[RowX][j - 1];
        r[RowM][j] += r[RowM][j - 1] - r[RowT][j - 1] * t;
        r[RowN][j] += r[RowN][j - 1];
        r[RowT][j] += r[RowT][j - 1];
        r[RowRot][j] += r[RowRot][j - 1] - r[RowM][j - 1] * t / ei + t * t * r[RowT][j - 1] / (2 * ei);
        r[RowU][j] += r[RowU][j - 1] - r[RowN][j - 1] * t / ea;
        r[RowW][j] += r[RowW][j - 1] - t * t * r[RowM][j - 1] / (2 * ei) + t * t * t * r[RowT][j - 1] / (6 * ei) +
                      r[RowRot][j - 1] * t;
    }
}

void TPrut::UvolniPrubehy() { Release(Results); }
