#include "analysis/Diagnostics.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/MemberTable.h"
#include "model/MKPSpace.h"
#include "base/NumberText.h"

TDofPlace MistoRovnice(int equation) {
    if (equation <= 0) return {};
    const int k = equation - 1;
    const TDofKind kinds[3] = {TDofKind::Rotation, TDofKind::U, TDofKind::W};
    return {k / 3 + 1, kinds[k % 3]};
}

TDofPlace MistoOdmitnuti(const TSolveStatus& status) {
    TDofPlace place;
    if (status.Member > 0) {
        place.Member = status.Member;
        place.Load = status.Load;
        return place;
    }
    if (status.Unsupported == TUnsupported::No) return MistoRovnice(status.Equation);
    // The whole structure: nothing to point at. A part of it: the node where it moves.
    if (status.Unsupported == TUnsupported::Part) place = MistoRovnice(status.Equation);
    place.Unsupported = status.Unsupported;
    return place;
}

std::string PopisMista(const TDofPlace& place) {
    if (place.Member > 0) {
        const std::string member = "Prut " + std::to_string(place.Member);
        return place.Load > 0 ? member + ": zatížení " + std::to_string(place.Load) : member;
    }
    if (place.Unsupported == TUnsupported::Whole) return "Konstrukce nemá žádnou podporu.";
    if (place.Unsupported == TUnsupported::Part && place.Node > 0)
        return "Uzel " + std::to_string(place.Node) + ": část konstrukce bez podpory";
    if (place.Node <= 0) return {};
    const char* what = place.Kind == TDofKind::U   ? "posun u"
                       : place.Kind == TDofKind::W ? "posun w"
                                                   : "pootočení";
    return "Uzel " + std::to_string(place.Node) + ": " + what;
}

TUnsupported NepodeprenaCast(const TMKPSpace& space, int node) {
    bool anySupport = false;
    for (const TUzel* n : space.Nodes)
        anySupport = anySupport || n->DofRot.Fixed || n->DofU.Fixed || n->DofW.Fixed;
    if (!anySupport) return TUnsupported::Whole;
    const int count = space.Nodes.Count();
    if (node < 1 || node > count) return TUnsupported::No;
    // The nodes joined to node: a search over the members at each node reached.
    std::vector<std::vector<int>> links(std::size_t(count) + 1);
    for (const TPrut* m : space.Members) {
        links[std::size_t(m->NodeA->Number)].push_back(m->NodeB->Number);
        links[std::size_t(m->NodeB->Number)].push_back(m->NodeA->Number);
    }
    std::vector<char> reached(std::size_t(count) + 1, 0);
    std::vector<int> open{node};
    reached[std::size_t(node)] = 1;
    while (!open.empty()) {
        const TUzel* n = space.Nodes[open.back() - 1];
        open.pop_back();
        if (n->DofRot.Fixed || n->DofU.Fixed || n->DofW.Fixed) return TUnsupported::No;
        for (int next : links[std::size_t(n->Number)])
            if (!reached[std::size_t(next)]) {
                reached[std::size_t(next)] = 1;
                open.push_back(next);
            }
    }
    return TUnsupported::Part;
}

namespace {
TReal LongestMember(const TMKPSpace& space) {
    TReal longest = 0;
    for (const TPrut* m : space.Members) longest = std::max(longest, m->Length);
    return longest;
}
} // namespace

const TPrut* NajdiKratkyPrut(const TMKPSpace& space, int node) {
    const TReal limit = LongestMember(space) * TReal(KShortMemberRatio);
    const TPrut* atNode = nullptr;
    const TPrut* anywhere = nullptr;
    for (const TPrut* m : space.Members) {
        if (!(m->Length < limit)) continue;
        if (!anywhere || m->Length < anywhere->Length) anywhere = m;
        const bool ends = m->NodeA->Number == node || m->NodeB->Number == node;
        if (ends && (!atNode || m->Length < atNode->Length)) atNode = m;
    }
    return atNode ? atNode : anywhere;
}

std::string PopisKratkehoPrutu(const TMKPSpace& space, const TPrut& member) {
    return "Prut " + std::to_string(member.Number) + " je příliš krátký (" + FormatGeneral(member.Length, 3) +
           " m, nejdelší prut " + FormatGeneral(LongestMember(space), 3) +
           " m): jeho tuhost převyšuje tuhost ostatních prutů tolik, že soustavu rovnic nelze spolehlivě "
           "vyřešit. Prodlužte jej, nebo jeho uzly spojte.";
}

namespace {
int Code(TReal v) {
    return int(std::lround(v));
}

TReal Rad(TReal degrees) {
    return degrees * 3.14159265358979323846264338327950288L / 180.0L;
}

// A force given along a node's u and w axes, in global x and y (y up). The axes are turned
// clockwise by their support angles; w lies 90° clockwise from its own angle.
void ToGlobal(const TUzel& n, TReal fu, TReal fw, TReal& fx, TReal& fy) {
    const TReal au = Rad(n.DofU.Angle), aw = Rad(n.DofW.Angle);
    fx = fu * std::cos(au) - fw * std::sin(aw);
    fy = -fu * std::sin(au) - fw * std::cos(aw);
}

// The stations check of one member (see TEquilibrium::Stations). The table holds the forces on
// the part towards end a, so at end b it meets the end forces with the opposite sign. The
// structure's largest force and node displacement are the least scales, so that a member that
// carries nothing is not judged by its rounding noise. A member hinged at both ends takes the
// rotation at a from its chord over the deformed length: its w misses end b by about its axial
// strain, which is no fault.
TReal StationsMiss(TPrut& m, TReal leastForce, TReal leastDisplacement) {
    SestavPrubehy(m);
    const TMatrix& r = m.Results;
    const std::size_t last = r[0].size() - 1;
    const TReal l = m.Length;
    TReal forces = leastForce, displacements = leastDisplacement;
    auto widen = [&](TReal mo, TReal n, TReal t, TReal rot, TReal u, TReal w) {
        forces = std::max({forces, std::fabs(mo) / l, std::fabs(n), std::fabs(t)});
        displacements = std::max({displacements, std::fabs(rot) * l, std::fabs(u), std::fabs(w)});
    };
    for (std::size_t j = 0; j <= last; ++j)
        widen(r[1][j], r[2][j], r[3][j], r[4][j], r[5][j], r[6][j]);
    widen(m.Sa[0], m.Sa[1], m.Sa[2], m.Sa[3], m.Sa[4], m.Sa[5]);
    widen(m.Sb[0], m.Sb[1], m.Sb[2], m.Sb[3], m.Sb[4], m.Sb[5]);
    auto part = [](TReal d, TReal scale) { return scale > 0 ? std::fabs(d) / scale : std::fabs(d); };
    TReal miss = 0;
    auto end = [&](std::size_t j, TReal sign, const TVector& s, bool hinge, bool chord) {
        miss = std::max({miss, part(r[1][j] - sign * s[0], forces * l), part(r[2][j] - sign * s[1], forces),
                         part(r[3][j] - sign * s[2], forces), part(r[5][j] - s[4], displacements)});
        if (!chord) miss = std::max(miss, part(r[6][j] - s[5], displacements));
        if (!hinge) miss = std::max(miss, part((r[4][j] - s[3]) * l, displacements));
    };
    end(0, 1, m.Sa, m.HingeA, false);
    end(last, -1, m.Sb, m.HingeB, m.HingeA && m.HingeB);
    m.UvolniPrubehy();
    return miss;
}
} // namespace

bool KontrolaRovnovahy(TMKPSpace& space, TEquilibrium& out) {
    out = {};
    if (space.Members.Empty()) return false;
    for (const TUzel* n : space.Nodes)
        if (n->Displacement.size() != 3) return false;
    const std::size_t size = std::size_t(3 * space.Nodes.Count()) + 1;
    std::vector<TReal> u(size, 0.0L), ku(size, 0.0L), f(size, 0.0L), r(size, 0.0L);
    for (const TUzel* n : space.Nodes) {
        const TNodeDof* dofs[3] = {&n->DofRot, &n->DofU, &n->DofW};
        for (int k = 0; k < 3; ++k) {
            const int c = dofs[k]->Code;
            if (c < 1 || std::size_t(c) >= size) return false;
            u[std::size_t(c)] = n->Displacement[std::size_t(k)];
            if (dofs[k]->Fixed) r[std::size_t(c)] = dofs[k]->Reaction;
        }
    }
    for (TPrut* m : space.Members) {
        // A member turned round for the computation and back is assembled as it was computed.
        const TMemberAsComputed computed(*m);
        m->SestavMatice();
        int codes[7] = {};
        for (int i = 1; i <= 6; ++i)
            codes[i] = Code(m->kabG[0][std::size_t(i)]);
        for (int i = 1; i <= 6; ++i) {
            TReal sum = 0.0L;
            for (int j = 1; j <= 6; ++j)
                sum += m->kabG[std::size_t(i)][std::size_t(j)] * u[std::size_t(codes[j])];
            ku[std::size_t(codes[i])] += sum;
        }
        for (std::size_t i = 0; i < 6; ++i)
            f[std::size_t(Code(m->MabG[i][0]))] -= m->MabG[i][1];
        m->UvolniMatice();
    }
    for (TUzel* n : space.Nodes) {
        n->SestavVektorZatizeni();
        for (std::size_t k = 0; k < 3; ++k)
            f[std::size_t(Code(n->LoadVector[k][0]))] += n->LoadVector[k][1];
        n->UvolniVektorZatizeni();
    }

    TReal residual2 = 0.0L, load2 = 0.0L;
    for (std::size_t c = 1; c < size; ++c) {
        const TReal rc = ku[c] - f[c] + r[c];
        residual2 += rc * rc;
        load2 += f[c] * f[c];
    }
    out.ResidualNorm = std::sqrt(residual2);
    out.LoadNorm = std::sqrt(load2);
    out.Residual = out.LoadNorm > 0 ? out.ResidualNorm / out.LoadNorm : out.ResidualNorm;

    // Loads and support forces (the support pushes back against the stored reaction) per node.
    for (const TUzel* n : space.Nodes) {
        const std::size_t cr = std::size_t(n->DofRot.Code), cu = std::size_t(n->DofU.Code),
                          cw = std::size_t(n->DofW.Code);
        const TReal parts[2][3] = {{f[cr], f[cu], f[cw]}, {-r[cr], -r[cu], -r[cw]}};
        for (const auto& p : parts) {
            TReal fx = 0, fy = 0;
            ToGlobal(*n, p[1], p[2], fx, fy);
            const TReal moment = p[0] + n->Y * fx - n->X * fy; // clockwise about the origin
            out.SumFx += fx;
            out.SumFy += fy;
            out.SumM += moment;
            out.ForceScale = std::max(out.ForceScale, std::hypot(fx, fy));
            out.MomentScale = std::max({out.MomentScale, std::fabs(p[0]), std::fabs(n->Y * fx - n->X * fy)});
        }
    }
    const TReal forces = std::max(std::fabs(out.SumFx), std::fabs(out.SumFy));
    const TReal moments = std::fabs(out.SumM);
    out.Relative = std::max(out.ForceScale > 0 ? forces / out.ForceScale : forces,
                            out.MomentScale > 0 ? moments / out.MomentScale : moments);

    TReal leastDisplacement = 0;
    for (const TUzel* n : space.Nodes)
        leastDisplacement =
            std::max({leastDisplacement, std::fabs(n->Displacement[1]), std::fabs(n->Displacement[2])});
    for (TPrut* m : space.Members) {
        if (!m->HasResults()) continue;
        const TReal miss = StationsMiss(*m, out.ForceScale, leastDisplacement);
        if (miss > out.Stations || !(miss == miss)) {
            out.Stations = miss;
            out.StationsMember = m->Number;
        }
    }
    return true;
}
