#include "analysis/Envelope.h"

#include "analysis/CaseResults.h"
#include "analysis/MemberTable.h"
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

namespace {
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

TObalka SestavObalku(TMKPSpace& space, const std::vector<const TKombinace*>& combinations) {
    TObalka e;
    e.Combinations = combinations;
    e.Members.resize(std::size_t(space.Members.Count()));
    e.Nodes.resize(std::size_t(space.Nodes.Count()));
    if (space.CaseResults.Empty()) return e;
    const TShown shown(space);
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
        for (int i = 0; i < space.Members.Count(); ++i) {
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
            if (n == me.X.size())
                for (std::size_t j = 0; j < n; ++j)
                    for (int q = 0; q < TObalka::KQuantities; ++q)
                        me.Values[j][std::size_t(q)].Take(r[std::size_t(TObalka::KRows[std::size_t(q)])][j], by);
            m->UvolniPrubehy();
        }
    }
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
