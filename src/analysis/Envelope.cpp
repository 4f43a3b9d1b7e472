#include "analysis/Envelope.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <thread>

#include "analysis/CaseResults.h"
#include "analysis/IdleCores.h"
#include "analysis/MemberTable.h"
#include "analysis/ProfileMatrix.h"
#include "model/MKPSpace.h"

void TExtreme::Take(TReal v, int by) {
    if (MaxBy < 0 || v > Max) {
        Max = v;
        MaxBy = by;
    }
    if (MinBy < 0 || v < Min) {
        Min = v;
        MinBy = by;
    }
}

bool TObalka::Table(int member, bool max, TMatrix& table) const {
    if (member < 0 || std::size_t(member) >= Members.size() || Members[std::size_t(member)].X.empty()) return false;
    const TMemberEnvelope& e = Members[std::size_t(member)];
    const std::size_t n = e.X.size();
    table = NewMatrix(8, n);
    for (std::size_t j = 0; j < n; ++j) {
        table[0][j] = e.X[j];
        for (int q = 0; q < KQuantities; ++q) {
            const TExtreme& x = e.Values[j][std::size_t(q)];
            table[std::size_t(KRows[std::size_t(q)])][j] = max ? x.Max : x.Min;
        }
    }
    return true;
}

int ExtremyMeziStanicemi(const TMatrix& table, std::size_t j, std::array<TMomentExtreme, 2>& out) {
    const TReal x0 = table[0][j], x1 = table[0][j + 1];
    const TReal t = x1 - x0;
    if (!(t > 0)) return 0;
    // M(x0 + u t) = M0 + b1 u + b2 u^2 + b3 u^3 on 0 <= u <= 1, from M and dM/dx = -T at both ends.
    const TReal m0 = table[1][j], m1 = table[1][j + 1], t0 = table[3][j], t1 = table[3][j + 1];
    const TReal d1 = m1 - m0 + t0 * t, d2 = (t0 - t1) * t;
    const TReal b1 = -t0 * t, b2 = 3 * d1 - d2, b3 = d2 - 2 * d1;
    if (!std::isfinite(b1) || !std::isfinite(b2) || !std::isfinite(b3)) return 0;
    // The roots of M'(u) = b1 + 2 b2 u + 3 b3 u^2; a cubic term lost in the rounding of the others
    // leaves the parabola's one extreme.
    TReal roots[2];
    int count = 0;
    const TReal size = std::fabs(b1) + std::fabs(b2) + std::fabs(b3);
    if (size == 0) return 0;
    if (std::fabs(b3) <= 1e-15L * size) {
        if (b2 != 0) roots[count++] = -b1 / (2 * b2);
    } else {
        const TReal a = 3 * b3, b = 2 * b2, c = b1;
        const TReal disc = b * b - 4 * a * c;
        if (disc <= 0) return 0; // no extreme, or a point of inflection
        const TReal q = -(b + (b < 0 ? -1 : 1) * std::sqrt(disc)) / 2;
        roots[count++] = q / a;
        if (q != 0) roots[count++] = c / q;
    }
    int found = 0;
    for (int k = 0; k < count; ++k) {
        const TReal u = roots[k];
        if (!(u > 1e-9L && u < 1 - 1e-9L)) continue;
        const TReal curvature = 2 * b2 + 6 * b3 * u;
        if (curvature == 0) continue;
        out[std::size_t(found++)] = {x0 + u * t, m0 + u * (b1 + u * (b2 + u * b3)), curvature < 0};
    }
    return found;
}

namespace {
// Keeps the higher maximum (lower minimum) of a step and side; a tie keeps the earlier combination.
void TakePeak(std::vector<TObalka::TPeak>& peaks, std::size_t step, const TMomentExtreme& m, int by) {
    for (TObalka::TPeak& p : peaks)
        if (p.Step == step && p.Largest == m.Largest) {
            if (m.Largest ? m.Value > p.Value : m.Value < p.Value) p = {step, m.Largest, m.X, m.Value, by};
            return;
        }
    peaks.push_back({step, m.Largest, m.X, m.Value, by});
}

// Keeps the peaks that pass the envelope at both stations of their step, beyond the rounding of
// the member's largest moment; in the order of the steps, the maximum first.
void KeepPeaksBeyondStations(TObalka::TMemberEnvelope& me) {
    TReal largest = 0;
    for (const auto& v : me.Values) largest = std::max({largest, std::fabs(v[0].Max), std::fabs(v[0].Min)});
    const TReal slack = 1e-12L * largest;
    std::vector<TObalka::TPeak> kept;
    for (const TObalka::TPeak& p : me.Peaks) {
        const TExtreme& a = me.Values[p.Step][0];
        const TExtreme& b = me.Values[p.Step + 1][0];
        if (p.Largest ? p.Value > std::max(a.Max, b.Max) + slack : p.Value < std::min(a.Min, b.Min) - slack)
            kept.push_back(p);
    }
    std::sort(kept.begin(), kept.end(), [](const TObalka::TPeak& l, const TObalka::TPeak& r) {
        return l.Step != r.Step ? l.Step < r.Step : l.Largest > r.Largest;
    });
    me.Peaks = std::move(kept);
}

// What the model shows, to be put back exactly afterwards.
struct TShown {
    std::vector<TVector> Displacements;
    std::vector<std::array<TReal, 3>> Reactions;
    std::vector<std::shared_ptr<const TLoadFactors>> NodeFactors, MemberFactors;
    std::vector<TVector> Sa, Sb;
    std::vector<bool> Turned;

    explicit TShown(const TMKPSpace& s) {
        for (const TUzel* n : s.Nodes) {
            Displacements.push_back(n->Displacement);
            Reactions.push_back({n->DofRot.Reaction, n->DofU.Reaction, n->DofW.Reaction});
            NodeFactors.push_back(n->LoadFactors);
        }
        for (const TPrut* m : s.Members) {
            Sa.push_back(m->Sa);
            Sb.push_back(m->Sb);
            Turned.push_back(m->ResultsTurned);
            MemberFactors.push_back(m->LoadFactors);
        }
    }
    void Restore(TMKPSpace& s) const {
        for (int p = 0; p < s.Nodes.Count(); ++p) {
            TUzel* n = s.Nodes[p];
            n->Displacement = Displacements[std::size_t(p)];
            n->DofRot.Reaction = Reactions[std::size_t(p)][0];
            n->DofU.Reaction = Reactions[std::size_t(p)][1];
            n->DofW.Reaction = Reactions[std::size_t(p)][2];
            n->LoadFactors = NodeFactors[std::size_t(p)];
        }
        for (int i = 0; i < s.Members.Count(); ++i) {
            TPrut* m = s.Members[i];
            m->Sa = Sa[std::size_t(i)];
            m->Sb = Sb[std::size_t(i)];
            m->ResultsTurned = Turned[std::size_t(i)];
            m->LoadFactors = MemberFactors[std::size_t(i)];
        }
    }
};
} // namespace

// Members from which the tables of a combination are formed on two threads where a core is idle
// (a member's table needs nothing of another's, so the envelope is the same either way).
constexpr int KEnvelopeThreadsFrom = 2000;

TObalka SestavObalku(TMKPSpace& space, const std::vector<const TKombinace*>& combinations) {
    TObalka e;
    e.Combinations = combinations;
    e.Members.resize(std::size_t(space.Members.Count()));
    e.Nodes.resize(std::size_t(space.Nodes.Count()));
    if (space.CaseResults.Empty()) return e;
    const TShown shown(space);
    // The tables of members [first, last) in the combination shown, k-th of the envelope.
    const auto takeMembers = [&](std::size_t k, int first, int last) {
        const int by = int(k);
        for (int i = first; i < last; ++i) {
            TPrut* m = space.Members[i];
            if (!m->HasResults()) continue;
            SestavPrubehy(*m);
            const TMatrix& r = m->Results;
            TObalka::TMemberEnvelope& me = e.Members[std::size_t(i)];
            const std::size_t n = r.empty() ? 0 : r[0].size();
            if (k == 0) {
                me.X.assign(r[0].begin(), r[0].end());
                me.Values.assign(n, {});
            }
            // Every table has the same stations: the loads of all combinations take part in each.
            if (n == me.X.size()) {
                for (std::size_t j = 0; j < n; ++j)
                    for (int q = 0; q < TObalka::KQuantities; ++q)
                        me.Values[j][std::size_t(q)].Take(r[std::size_t(TObalka::KRows[std::size_t(q)])][j], by);
                std::array<TMomentExtreme, 2> inside;
                for (std::size_t j = 0; j + 1 < n; ++j)
                    for (int f = ExtremyMeziStanicemi(r, j, inside); f-- > 0;)
                        TakePeak(me.Peaks, j, inside[std::size_t(f)], by);
            }
            m->UvolniPrubehy();
        }
    };
    // Two threads as the elimination's setting says: Parallel always, Automatic for a large frame
    // where a core is idle.
    const int members = space.Members.Count();
    bool two = members >= 2 && space.Elimination != TElimination::Serial;
    if (two && space.Elimination == TElimination::Automatic)
        two = members >= KEnvelopeThreadsFrom && combinations.size() >= 2 && SecondCoreIdle(false);
    for (std::size_t k = 0; k < combinations.size(); ++k) {
        const int by = int(k);
        ZobrazSoucet(space, StavyKombinace(space, *combinations[k]),
                     space.FaktoryKombinace(*combinations[k], &combinations));
        for (int p = 0; p < space.Nodes.Count(); ++p) {
            const TUzel* n = space.Nodes[p];
            TObalka::TNodeEnvelope& ne = e.Nodes[std::size_t(p)];
            const TNodeDof* dofs[3] = {&n->DofRot, &n->DofU, &n->DofW};
            for (std::size_t d = 0; d < 3; ++d) {
                if (n->Displacement.size() == 3) ne.Displacement[d].Take(n->Displacement[d], by);
                if (dofs[d]->Fixed) ne.Reaction[d].Take(dofs[d]->Reaction, by);
            }
        }
        if (!two) {
            takeMembers(k, 0, members);
            continue;
        }
        // The second half on another thread; what it throws (no memory) is thrown here.
        std::exception_ptr failed;
        std::thread other([&] {
            try {
                takeMembers(k, members / 2, members);
            } catch (...) {
                failed = std::current_exception();
            }
        });
        try {
            takeMembers(k, 0, members / 2);
        } catch (...) {
            other.join();
            throw;
        }
        other.join();
        if (failed) std::rethrow_exception(failed);
    }
    for (TObalka::TMemberEnvelope& me : e.Members)
        if (!me.X.empty()) KeepPeaksBeyondStations(me);
    shown.Restore(space);
    return e;
}

bool ObalkaVMiste(TMKPSpace& space, const TObalka& envelope, int member, TReal x,
                  std::array<TExtreme, TObalka::KQuantities>& out) {
    out = {};
    if (member < 0 || member >= space.Members.Count() || space.CaseResults.Empty()) return false;
    TPrut* m = space.Members[member];
    if (!m->HasResults()) return false;
    const TVector sa = m->Sa, sb = m->Sb;
    const bool turned = m->ResultsTurned;
    const std::shared_ptr<const TLoadFactors> factors = m->LoadFactors;
    bool any = false;
    TVector v;
    for (std::size_t k = 0; k < envelope.Combinations.size(); ++k) {
        const TKombinace& c = *envelope.Combinations[k];
        ZobrazSoucetPrutu(space, member, StavyKombinace(space, c), space.FaktoryKombinace(c, &envelope.Combinations));
        if (!HodnotyVMiste(*m, x, v)) continue;
        any = true;
        for (int q = 0; q < TObalka::KQuantities; ++q)
            out[std::size_t(q)].Take(v[std::size_t(TObalka::KRows[std::size_t(q)])], int(k));
    }
    m->Sa = sa;
    m->Sb = sb;
    m->ResultsTurned = turned;
    m->LoadFactors = factors;
    return any;
}
