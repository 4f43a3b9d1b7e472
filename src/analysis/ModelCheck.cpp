#include "analysis/ModelCheck.h"

#include <cmath>
#include <limits>
#include <set>

#include "analysis/MemberMatrices.h"
#include "model/MKPSpace.h"
#include "base/NumberText.h"

namespace {
bool Listed(const TMKPSpace& space, const TUzel* node) {
    return node && node->Number >= 1 && node->Number <= space.Nodes.Count() && space.Nodes[node->Number - 1] == node;
}
} // namespace

std::string NajdiVaduModelu(const TMKPSpace& space) {
    for (int p = 0; p < space.Nodes.Count(); ++p) {
        const TUzel* n = space.Nodes[p];
        const int k = p + 1;
        if (n->Number != k || n->DofRot.Code != 3 * k - 2 || n->DofU.Code != 3 * k - 1 || n->DofW.Code != 3 * k)
            return "Uzel na pozici " + std::to_string(k) + " má číslo " + std::to_string(n->Number) +
                   "; uzly musí být číslovány postupně od 1.";
    }
    for (const TPrut* m : space.Members) {
        const std::string name = "Prut " + std::to_string(m->Number);
        if (!Listed(space, m->NodeA) || !Listed(space, m->NodeB)) return name + " nemá oba koncové uzly.";
        if (m->NodeA == m->NodeB) return name + " začíná i končí v témže uzlu.";
        if (!m->Section) return name + " nemá průřez.";
        if (!m->Section->Material) return name + ": průřez " + m->Section->Name + " nemá materiál.";
    }
    return {};
}

namespace {
bool Finite(TReal v) { return std::isfinite(v); }
bool Positive(TReal v) { return std::isfinite(v) && v > 0; }
// Coordinates, angles, load positions and lengths: within the range of a double, so that the
// powers of them that the fixed-end forces and the stations take stay finite.
bool Measure(TReal v) { return std::isfinite(static_cast<double>(v)); }

bool AllFinite(const TVector& v) {
    for (TReal x : v)
        if (!std::isfinite(x)) return false;
    return true;
}

// A result: finite and within the range of a double, which is what the pictures, the reports and
// the panels can show (a moment of 3E308 kNm is "inf" to all of them).
bool Showable(TReal v) { return std::fabs(v) <= TReal(std::numeric_limits<double>::max()); }
bool AllShowable(const TVector& v) {
    for (TReal x : v)
        if (!Showable(x)) return false;
    return true;
}

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

std::string LoadFault(const TZatizeni& z) {
    if (!Measure(z.A) || !Measure(z.C)) return "poloha nebo délka zatížení není konečné číslo.";
    if (!Finite(z.Q1) || !Finite(z.Q2)) return "hodnota zatížení není konečné číslo.";
    if (!Measure(z.Angle)) return "úhel zatížení není konečné číslo.";
    if (z.LoadCase && !Finite(z.LoadCase->Factor)) return "součinitel zatížení není konečné číslo.";
    return {};
}
} // namespace

std::string NajdiNeplatnouHodnotu(TMKPSpace& space) {
    // Only what the members use: a library may hold entries that no member needs.
    std::set<const TMaterial*> materials;
    std::set<std::pair<const TProfil*, bool>> sections;
    for (const TPrut* m : space.Members)
        if (m->Section) {
            sections.insert({m->Section, m->SectionTurned});
            if (m->Section->Material) materials.insert(m->Section->Material);
        }
    for (const TMaterial* mat : space.Materials) {
        if (!materials.count(mat)) continue;
        if (!Positive(mat->E)) return "Materiál " + Quoted(mat->Name) + ": modul pružnosti musí být kladný.";
        if (!Finite(mat->D)) return "Materiál " + Quoted(mat->Name) + ": hustota není konečné číslo.";
    }
    for (const TProfil* s : space.Sections) {
        const bool straight = sections.count({s, false}) > 0, turned = sections.count({s, true}) > 0;
        if (!straight && !turned) continue;
        if (!Positive(s->A)) return "Profil " + Quoted(s->Name) + ": plocha musí být kladná.";
        if ((straight && !Positive(s->Iy)) || (turned && !Positive(s->Iz)))
            return "Profil " + Quoted(s->Name) + ": moment setrvačnosti musí být kladný.";
    }
    for (const TUzel* n : space.Nodes) {
        const std::string name = "Uzel " + std::to_string(n->Number) + ": ";
        if (!Measure(n->X) || !Measure(n->Y)) return name + "souřadnice není konečné číslo.";
        for (const TNodeDof* dof : {&n->DofRot, &n->DofU, &n->DofW})
            if (!Measure(dof->Angle)) return name + "úhel podpory není konečné číslo.";
        for (const TZatizeni* z : n->Loads)
            if (std::string fault = LoadFault(*z); !fault.empty()) return name + fault;
    }
    for (TPrut* m : space.Members) {
        const std::string name = "Prut " + std::to_string(m->Number) + ": ";
        for (const TZatizeni* z : m->Loads)
            if (std::string fault = LoadFault(*z); !fault.empty()) return name + fault;
        // Each value finite, their products need not be: the stiffness terms and the fixed-end
        // forces must be numbers too.
        if (!m->Section || !m->Section->Material) continue;
        const TReal e = m->Section->Material->E, l = m->Length;
        const TReal i = m->SectionTurned ? m->Section->Iz : m->Section->Iy;
        const TReal terms[] = {e * m->Section->A / l, 12 * e * i / (l * l * l), e * i};
        for (TReal t : terms)
            if (!Positive(t)) return name + "tuhost prutu není konečné kladné číslo.";
        if (!m->Loads.Empty()) {
            m->SestavMabL();
            bool finite = true;
            for (const TVector& row : m->MabL) finite = finite && AllFinite(row);
            m->UvolniMabL();
            if (!finite) return name + "zatížení dává síly, které nejsou konečná čísla.";
        }
    }
    return {};
}

void SrovnejZatizeniSPruty(TMKPSpace& space) {
    for (TPrut* m : space.Members) {
        const TReal length = m->Length;
        for (TZatizeni* z : m->Loads) {
            if (z->Kind == KLoadSelfWeight) {
                z->A = 0;
                z->C = length;
                z->B = length - (z->A + z->C);
                if (m->Section && m->Section->Material) {
                    const TReal q = m->IntenzitaVlastniTihy();
                    if (z->Q1 != q || z->Q2 != q) z->Q1 = z->Q2 = q;
                }
                // A member turned because of its hinge turns its loads by 180°: the same direction.
                const TReal down = 90.0L - m->Angle;
                const TReal turn = std::remainder(z->Angle - down, TReal(360));
                if (!(std::fabs(turn) <= 1e-9L)) z->Angle = down;
            } else if (z->Kind == KLoadDistributed) {
                if (!(std::fabs(z->A + z->B + z->C - length) <= length * TReal(KLoadReachTolerance)))
                    z->B = length - (z->A + z->C);
            }
        }
    }
}

std::string NajdiZatizeniMimoPrut(const TMKPSpace& space, int& member, int& load) {
    member = load = 0;
    for (const TPrut* m : space.Members) {
        const TReal length = m->Length, allowance = length * TReal(KLoadReachTolerance);
        int position = 0;
        for (const TZatizeni* z : m->Loads) {
            ++position;
            // Forces and moments stand at A; distributed loads and self-weight run from A to A + C.
            const bool spread = z->Kind == KLoadDistributed || z->Kind == KLoadSelfWeight;
            const TReal end = spread ? z->A + z->C : z->A;
            if (z->A >= 0 && end <= length + allowance) continue;
            member = m->Number;
            load = position;
            return "Prut " + std::to_string(member) + ", zatížení " + std::to_string(load) +
                   ": Zatížení přesahuje mimo prut (sahá od " + Fixed3(z->A) + " m do " + Fixed3(end) +
                   " m, prut je dlouhý " + Fixed3(length) + " m).";
        }
    }
    return {};
}

namespace {
// A node's reactions at its restrained degrees of freedom are all numbers that can be shown.
bool ReactionsShowable(const TUzel& n) {
    for (const TNodeDof* dof : {&n.DofRot, &n.DofU, &n.DofW})
        if (dof->Fixed && !Showable(dof->Reaction)) return false;
    return true;
}

std::string NodeResultFault(const TUzel& n) {
    return "Uzel " + std::to_string(n.Number) + ": výsledek výpočtu není konečné číslo.";
}
} // namespace

std::string NajdiNekonecnyVysledek(const TMKPSpace& space) {
    for (const TUzel* n : space.Nodes)
        if (!AllShowable(n->Displacement) || !ReactionsShowable(*n)) return NodeResultFault(*n);
    for (const TPrut* m : space.Members)
        if (!AllShowable(m->Sa) || !AllShowable(m->Sb))
            return "Prut " + std::to_string(m->Number) + ": výsledek výpočtu není konečné číslo.";
    return {};
}

std::string NajdiNekonecnouReakci(const TMKPSpace& space) {
    for (const TUzel* n : space.Nodes)
        if (!ReactionsShowable(*n)) return NodeResultFault(*n);
    return {};
}

std::string NajdiNekonecnyPrubeh(TMKPSpace& space) {
    for (TPrut* m : space.Members) {
        // A table that a bound proves finite need not be formed.
        if (!m->HasResults() || TableSurelyShowable(*m)) continue;
        m->Prubehy();
        bool finite = true;
        for (const TVector& row : m->Results) finite = finite && AllShowable(row);
        m->UvolniPrubehy();
        if (!finite)
            return "Prut " + std::to_string(m->Number) + ": vnitřní síly nejsou konečná čísla.";
    }
    return {};
}
