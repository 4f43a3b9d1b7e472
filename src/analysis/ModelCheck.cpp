#include "analysis/ModelCheck.h"

#include "model/MKPSpace.h"

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
