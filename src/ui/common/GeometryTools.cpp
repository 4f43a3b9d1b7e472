#include "ui/common/GeometryTools.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/NumberText.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "units/Prevody.h"

namespace {

const char* const KNeedAuxiliary = "Nejdříve vyberte pomocný prut.(Shift + left click)";
const char* const KParallelAtOpening = "Není možno prodloužit k ose. Zkontrolujte, zda pruty nejsou rvnoběžné.";
const char* const KParallelAtOk = "Nelze prodloužit k ose. Zkontrolujte, zda pruty nejsou rovnoběžné.";
const char* const KSplitAtEndFraction = "Nelze vložit uzel na konec prutu. nulová délka není povolena.";
const char* const KSplitAtEndDistance = "Nelze vložit uzel na konec prutu. Nulová délka není povolena.";
const char* const KInvalid = "Neplatné zadání.";
const char* const KZeroLength = "Nulová délka prutu není dovolena.";

struct TToolRow {
    TGeometryTool Tool;
    const char* Button;
    const char* Caption;
};
const TToolRow KTools[] = {
    {TGeometryTool::Length, "sbDDelka1", "Délka"},
    {TGeometryTool::LengthByMember, "sbDDelka2", "Délka"},
    {TGeometryTool::ExtendToAxis, "sbDDelka3", "Délka"},
    {TGeometryTool::Orientation, "sbDUhel3", "Úhel"},
    {TGeometryTool::Perpendicular, "sbDUhel1", "Úhel"},
    {TGeometryTool::Parallel, "sbDUhel2", "Úhel"},
    {TGeometryTool::AngleToMember, "sbDUhel4", "Úhel"},
    {TGeometryTool::SplitMember, "sbPInsN", "Vytvořit uzel"},
    {TGeometryTool::SupportAbsolute, "sbPdpRot1", "Natočení podpory"},
    {TGeometryTool::SupportRelative, "sbPdpRot2", "Natočení podpory"},
    {TGeometryTool::MoveNode, "sbNCoorCh1", "Souřadnice"},
    {TGeometryTool::NewNode, "sbNewNCoor", "Nový uzel"},
};

std::string Trimmed(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t'))
        --e;
    return text.substr(b, e - b);
}

// A plain number in the program's separator, finite.
bool ReadNumber(const std::string& text, TReal& value) {
    TReal v = 0.0L;
    if (!TryStrToFloat(text, v) || !std::isfinite(v)) return false;
    value = v;
    return true;
}

TPrut* Auxiliary(const TMKPSpace& space) { return space.SelectedMembers.First(); }

// A length shown in a read-only field: fixed-3 metres, or feet and inches in the imperial system
// (the unit its entries are typed in).
std::string LengthText(const TMKPSpace& space, TReal metres) {
    return space.UnitSystem == 1 ? MetryNaFtIn(metres) : Fixed3(metres);
}

// Where node "b" of the member lies for the length l and the angle γ (cos γ, sin γ) from node "a".
TMKPSpace::TModelPoint EndFromA(const TPrut& m, TReal l, TReal cosA, TReal sinA) {
    return {m.NodeA->X + l * cosA, m.NodeA->Y - l * sinA};
}

// cos γ and sin γ of a new direction. On the axes they are exactly 0 and ±1 (the cosine of the
// 80-bit value of 90° is about −2.5e-20, not 0), so that a node put at 0°, 90°, 180° or 270° from
// node "a" lies exactly on the axis through it. An angle counts as on an axis when it is one up to
// the rounding of degrees computed from member directions (1e-12°).
void DirectionCosSin(TReal angle, TReal& c, TReal& s) {
    const TReal quarters = angle / 90.0L;
    const TReal k = std::nearbyint(quarters);
    if (std::fabs(angle - k * 90.0L) <= 1e-12L) {
        static constexpr TReal KCos[4] = {1, 0, -1, 0};
        static constexpr TReal KSin[4] = {0, 1, 0, -1};
        const long q = ((static_cast<long>(std::fmod(k, 4.0L)) % 4) + 4) % 4;
        c = KCos[q];
        s = KSin[q];
        return;
    }
    c = std::cos(DegToRad(angle));
    s = std::sin(DegToRad(angle));
}

// cos γ and sin γ of the member's own direction, exactly 0 and ±1 when its ends share an x or a y
// coordinate (its CosA and SinA are those of its angle in degrees, not exact there).
void MemberCosSin(const TPrut& m, TReal& c, TReal& s) {
    const TReal xa = m.NodeA->X, ya = m.NodeA->Y, xb = m.NodeB->X, yb = m.NodeB->Y;
    if (xa == xb && ya != yb) {
        c = 0;
        s = ya > yb ? 1 : -1; // γ = 90° points down: the model's y grows upward
    } else if (ya == yb && xa != xb) {
        c = xb > xa ? 1 : -1;
        s = 0;
    } else {
        c = m.CosA;
        s = m.SinA;
    }
}

// Whether a member has loads that a move of its end would delete for good (a self-weight load
// is given back).
bool HasPlacedLoads(const TPrut& m) {
    for (const TZatizeni* z : m.Loads)
        if (z->Kind != KLoadSelfWeight) return true;
    return false;
}

// The loads of every member at the node deleted (SmazZatizeniPrutuVUzlu); the numbers of the
// members that lost loads placed by the user are added to lost.
std::vector<TPrut*> DeleteLoadsAt(TMKPSpace& space, const TUzel* node, std::vector<int>& lost) {
    for (const TPrut* m : space.Members)
        if ((m->NodeA == node || m->NodeB == node) && HasPlacedLoads(*m)) lost.push_back(m->Number);
    return SmazZatizeniPrutuVUzlu(space, node);
}

// Self-weight is a setting of the whole model, not a load the user placed: a member whose loads a
// tool deleted gets its self-weight load back, for its new length and angle, while it is on.
void RestoreSelfWeight(TMKPSpace& space, const std::vector<TPrut*>& members) {
    if (!space.SelfWeight) return;
    for (TPrut* m : members)
        if (m->Section && m->Section->Material) m->PridejVlastniTihu(&space.WeightCase);
}

// Node "b" of the current member to p, the members renumbered (their geometry recomputed), and
// the loads of every member at node "b" deleted. Refused, with nothing changed, when a member at
// node "b" would get zero length.
bool MoveNodeB(TMKPSpace& space, TPrut& m, TMKPSpace::TModelPoint p, std::vector<int>& lost) {
    if (ZeroLengthAt(space, m.NodeB, p.X, p.Y)) {
        Dialogs().Inform(KZeroLength);
        return false;
    }
    m.NodeB->X = p.X;
    m.NodeB->Y = p.Y;
    space.Members.Precisluj();
    RestoreSelfWeight(space, DeleteLoadsAt(space, m.NodeB, lost));
    return true;
}

bool SetLength(TMKPSpace& space, TPrut& m, TReal length, std::vector<int>& lost) {
    if (length == 0.0L) {
        Dialogs().Inform(KZeroLength);
        return false;
    }
    TReal c = 0.0L, s = 0.0L;
    MemberCosSin(m, c, s);
    const TMKPSpace::TModelPoint p = EndFromA(m, length, c, s);
    if (ZeroLengthAt(space, m.NodeB, p.X, p.Y)) {
        Dialogs().Inform(KZeroLength);
        return false;
    }
    m.NastavDelku(length);
    return MoveNodeB(space, m, p, lost);
}

bool SetAngle(TMKPSpace& space, TPrut& m, TReal angle, std::vector<int>& lost) {
    TReal c = 0.0L, s = 0.0L;
    DirectionCosSin(angle, c, s);
    const TMKPSpace::TModelPoint p = EndFromA(m, m.Length, c, s);
    if (ZeroLengthAt(space, m.NodeB, p.X, p.Y)) {
        Dialogs().Inform(KZeroLength);
        return false;
    }
    m.NastavUhel(angle);
    return MoveNodeB(space, m, p, lost);
}

void SetSupportRotation(TUzel& node, TReal angle) {
    node.DofU.Angle = angle;
    node.DofW.Angle = angle;
    node.DofRot.Angle = angle;
}

// The split of the current member at the distance d from node "a" (the fraction entry has
// already been checked and the loads at node "b" deleted for it: those members are touched).
bool Split(TMKPSpace& space, TPrut& m, TReal d, bool absolute, std::vector<int>& lost,
           std::vector<TPrut*> touched = {}) {
    TReal c = 0.0L, s = 0.0L;
    MemberCosSin(m, c, s);
    const TMKPSpace::TModelPoint p = EndFromA(m, d, c, s);
    // A position on one of the ends (also one that a distance very close to the length rounds
    // onto) would make a member of zero length.
    if (Coincide(p.X, p.Y, m.NodeA->X, m.NodeA->Y) || Coincide(p.X, p.Y, m.NodeB->X, m.NodeB->Y)) {
        Dialogs().Inform(KZeroLength);
        return false;
    }
    TUzel* oldB = m.NodeB;
    TUzel* node = space.PridejUzel(space.Nodes.Count() + 1, p.X, p.Y);
    m.NodeB = node;
    if (absolute) touched = DeleteLoadsAt(space, node, lost);
    touched.push_back(
        space.PridejPrut(node, oldB, m.Section, m.SectionTurned, space.Members.Count() + 1, false, false));
    space.Members.Precisluj();
    RestoreSelfWeight(space, touched);
    return true;
}

TToolOutcome SplitMember(TMKPSpace& space, TPrut& m, const std::string& text) {
    TToolOutcome out;
    if (!text.empty() && text.back() == '/') {
        TReal t = 0.0L;
        if (!ReadNumber(text.substr(0, text.size() - 1), t)) {
            // Nothing is deleted for a fraction that does not read.
            Dialogs().Inform(KInvalid);
            return out;
        }
        if (t == 0.0L || t == 1.0L) {
            Dialogs().Inform(KSplitAtEndFraction);
            return out;
        }
        const TReal d = m.Length * t;
        TReal c = 0.0L, s = 0.0L;
        MemberCosSin(m, c, s);
        const TMKPSpace::TModelPoint p = EndFromA(m, d, c, s);
        if (Coincide(p.X, p.Y, m.NodeA->X, m.NodeA->Y) || Coincide(p.X, p.Y, m.NodeB->X, m.NodeB->Y)) {
            Dialogs().Inform(KZeroLength);
            return out;
        }
        std::vector<TPrut*> touched = DeleteLoadsAt(space, m.NodeB, out.LostLoads);
        out.Edited = out.MemberDisplay = true;
        Split(space, m, d, false, out.LostLoads, std::move(touched));
        return out;
    }
    TReal d = 0.0L;
    if (!ReadLength(text, space, d)) {
        Dialogs().Inform(KInvalid);
        return out;
    }
    // A distance that equals the length up to the rounding of a typed value means the end.
    if (d == 0.0L || std::fabs(d - m.Length) <= 1e-12L * m.Length) {
        Dialogs().Inform(KSplitAtEndDistance);
        return out;
    }
    if (Split(space, m, d, true, out.LostLoads)) out.Edited = out.MemberDisplay = true;
    return out;
}

} // namespace

TGeometryTool GeometryToolOf(const std::string& button) {
    for (const TToolRow& r : KTools)
        if (button == r.Button) return r.Tool;
    return TGeometryTool::None;
}

const char* GeometryToolButton(TGeometryTool tool) {
    for (const TToolRow& r : KTools)
        if (r.Tool == tool) return r.Button;
    return "";
}

const char* GeometryToolCaption(TGeometryTool tool) {
    for (const TToolRow& r : KTools)
        if (r.Tool == tool) return r.Caption;
    return "";
}

bool IsCoordinatesTool(TGeometryTool tool) {
    return tool == TGeometryTool::MoveNode || tool == TGeometryTool::NewNode;
}

TReal TEntry::Apply(TReal current) const {
    switch (Kind) {
    case KAdd:
        return current + Value;
    case KSubtract:
        return current - Value;
    default:
        return Value;
    }
}

TReal TEntry::Signed() const { return Kind == KSubtract ? -Value : Value; }

bool ReadLength(const std::string& input, const TMKPSpace& space, TReal& value) {
    const std::string text = Trimmed(input);
    if (space.UnitSystem == 1) return TryFtInNaMetry(text, value);
    return ReadNumber(text, value);
}

TEntry ReadEntry(const std::string& input, bool isLength, const TMKPSpace& space) {
    std::string text = Trimmed(input);
    TEntry e;
    TEntry::TKind kind = TEntry::KAbsolute;
    if (!text.empty() && (text.back() == '+' || text.back() == '-')) {
        kind = text.back() == '+' ? TEntry::KAdd : TEntry::KSubtract;
        text.pop_back();
    }
    TReal v = 0.0L;
    const bool ok = isLength ? ReadLength(text, space, v) : ReadNumber(Trimmed(text), v);
    if (!ok) return e;
    e.Kind = kind;
    e.Value = v;
    return e;
}

TIntersection PrusecikOs(const TPrut& current, const TPrut& auxiliary) {
    const TReal xa = current.NodeA->X, ya = current.NodeA->Y;
    const TReal xb = current.NodeB->X, yb = current.NodeB->Y;
    const TReal xp = auxiliary.NodeA->X, yp = auxiliary.NodeA->Y;
    const TReal xq = auxiliary.NodeB->X, yq = auxiliary.NodeB->Y;
    TIntersection r;
    const bool currentVertical = xb == xa;
    const bool auxiliaryVertical = xq == xp;
    if (currentVertical && auxiliaryVertical) return r;
    if (!currentVertical && !auxiliaryVertical) {
        const TReal k1 = (yb - ya) / (xb - xa);
        const TReal k2 = (yq - yp) / (xq - xp);
        const TReal c1 = ya - k1 * xa;
        const TReal c2 = yp - k2 * xp;
        if (k1 == k2) return r;
        r.X = (c1 - c2) / (k2 - k1);
        r.Y = (c1 * k2 - c2 * k1) / (k2 - k1);
    } else if (currentVertical) {
        const TReal k2 = (yq - yp) / (xq - xp);
        const TReal c2 = yp - k2 * xp;
        r.X = xb;
        r.Y = k2 * r.X + c2;
    } else {
        const TReal k1 = (yb - ya) / (xb - xa);
        const TReal c1 = ya - k1 * xa;
        r.X = xq;
        r.Y = k1 * r.X + c1;
    }
    r.Parallel = false;
    return r;
}

TSingleValueOpening OpenSingleValue(const TMKPSpace& space, TGeometryTool tool) {
    TSingleValueOpening o;
    const bool readOnly = tool == TGeometryTool::Perpendicular || tool == TGeometryTool::Parallel ||
                          tool == TGeometryTool::LengthByMember || tool == TGeometryTool::ExtendToAxis;
    if (!readOnly) return o;
    const TPrut* aux = Auxiliary(space);
    if (!aux) {
        Dialogs().Inform(KNeedAuxiliary);
        o.Shown = false;
        return o;
    }
    o.ReadOnly = true;
    switch (tool) {
    case TGeometryTool::Perpendicular:
        o.Text = Fixed3(aux->Angle + 90.0L);
        break;
    case TGeometryTool::Parallel:
        o.Text = Fixed3(aux->Angle);
        break;
    case TGeometryTool::LengthByMember:
        o.Text = LengthText(space, aux->Length);
        break;
    default: {
        const TPrut* m = space.CurrentMember;
        if (!m) break;
        const TIntersection p = PrusecikOs(*m, *aux);
        if (p.Parallel) {
            Dialogs().Inform(KParallelAtOpening);
            break;
        }
        const TReal dx = p.X - m->NodeA->X;
        const TReal dy = p.Y - m->NodeA->Y;
        o.Text = LengthText(space, std::sqrt(dx * dx + dy * dy));
        break;
    }
    }
    return o;
}

TToolOutcome ApplySingleValue(TMKPSpace& space, TGeometryTool tool, const std::string& input) {
    TToolOutcome out;
    const std::string text = Trimmed(input);
    TPrut* m = space.CurrentMember;
    TUzel* node = space.CurrentNode;
    TPrut* aux = Auxiliary(space);
    const bool needsText = tool == TGeometryTool::Length || tool == TGeometryTool::Orientation ||
                           tool == TGeometryTool::AngleToMember || tool == TGeometryTool::SplitMember ||
                           tool == TGeometryTool::SupportAbsolute || tool == TGeometryTool::SupportRelative;
    const bool needsMember = tool != TGeometryTool::SupportAbsolute && tool != TGeometryTool::SupportRelative;
    const bool needsNode = !needsMember;
    const bool needsAux = tool == TGeometryTool::LengthByMember || tool == TGeometryTool::ExtendToAxis ||
                          tool == TGeometryTool::Perpendicular || tool == TGeometryTool::Parallel ||
                          tool == TGeometryTool::AngleToMember || tool == TGeometryTool::SupportRelative;
    if (tool == TGeometryTool::None || IsCoordinatesTool(tool)) return out;
    if ((needsText && text.empty()) || (needsMember && !m) || (needsNode && !node) || (needsAux && !aux))
        return out;

    const bool angle = tool == TGeometryTool::Orientation || tool == TGeometryTool::AngleToMember ||
                       tool == TGeometryTool::SupportAbsolute || tool == TGeometryTool::SupportRelative;
    TEntry entry;
    if (tool == TGeometryTool::Length || angle) {
        entry = ReadEntry(text, !angle, space);
        if (!entry.Valid()) {
            Dialogs().Inform(KInvalid);
            return out;
        }
    }

    bool changed = false;
    switch (tool) {
    case TGeometryTool::Length:
        changed = SetLength(space, *m, entry.Apply(m->Length), out.LostLoads);
        break;
    case TGeometryTool::LengthByMember:
        changed = SetLength(space, *m, aux->Length, out.LostLoads);
        break;
    case TGeometryTool::ExtendToAxis: {
        const TIntersection p = PrusecikOs(*m, *aux);
        if (p.Parallel) {
            Dialogs().Inform(KParallelAtOk);
            out.KeepOpen = true;
            return out;
        }
        changed = MoveNodeB(space, *m, {p.X, p.Y}, out.LostLoads);
        break;
    }
    case TGeometryTool::Orientation:
        changed = SetAngle(space, *m, entry.Apply(m->Angle), out.LostLoads);
        break;
    case TGeometryTool::Perpendicular:
        changed = SetAngle(space, *m, aux->Angle + 90.0L, out.LostLoads);
        break;
    case TGeometryTool::Parallel:
        changed = SetAngle(space, *m, aux->Angle, out.LostLoads);
        break;
    case TGeometryTool::AngleToMember:
        changed = SetAngle(space, *m, aux->Angle + entry.Signed(), out.LostLoads);
        break;
    case TGeometryTool::SplitMember:
        return SplitMember(space, *m, text);
    case TGeometryTool::SupportAbsolute:
        SetSupportRotation(*node, entry.Apply(node->DofU.Angle));
        out.Edited = out.NodeDisplay = true;
        return out;
    case TGeometryTool::SupportRelative:
        SetSupportRotation(*node, aux->Angle + entry.Signed());
        out.Edited = out.NodeDisplay = true;
        return out;
    default:
        break;
    }
    out.Edited = out.MemberDisplay = changed;
    return out;
}

TToolOutcome ApplyCoordinates(TMKPSpace& space, TGeometryTool tool, const std::string& xInput,
                              const std::string& yInput) {
    TToolOutcome out;
    const std::string xText = Trimmed(xInput);
    const std::string yText = Trimmed(yInput);
    if (tool == TGeometryTool::NewNode) {
        if (xText.empty() || yText.empty()) return out;
        TReal x = 0.0L, y = 0.0L;
        if (!ReadLength(xText, space, x) || !ReadLength(yText, space, y)) {
            Dialogs().Inform(KInvalid);
            return out;
        }
        space.CurrentNode = space.PridejUzel(space.Nodes.Count() + 1, x, y);
        out.Edited = out.NodeDisplay = true;
        return out;
    }
    if (tool != TGeometryTool::MoveNode || !space.CurrentNode) return out;
    TUzel& node = *space.CurrentNode;
    const TReal oldX = node.X, oldY = node.Y;
    auto field = [&](const std::string& text, TReal& coordinate) {
        if (text.empty()) return;
        const TEntry e = ReadEntry(text, true, space);
        if (!e.Valid()) {
            Dialogs().Inform(KInvalid);
            return;
        }
        coordinate = e.Apply(coordinate);
        out.NodeDisplay = true;
    };
    TReal x = oldX, y = oldY;
    field(xText, x);
    field(yText, y);
    if (x == oldX && y == oldY) return out;
    // The node is never put where one of its members would have zero length.
    if (ZeroLengthAt(space, &node, x, y)) {
        Dialogs().Inform(KZeroLength);
        return out;
    }
    node.X = x;
    node.Y = y;
    space.Members.Precisluj();
    out.Edited = true;
    return out;
}

std::string LostLoadsNote(const std::vector<int>& members) {
    if (members.empty()) return {};
    std::string numbers;
    for (int n : members)
        numbers += (numbers.empty() ? "" : ", ") + std::to_string(n);
    return (members.size() == 1 ? "Smazána zatížení prutu " : "Smazána zatížení prutů ") + numbers + ".";
}

std::vector<TPrut*> SmazZatizeniPrutuVUzlu(TMKPSpace& space, const TUzel* node, int* deleted) {
    std::vector<TPrut*> members;
    if (!node) return members;
    for (TPrut* m : space.Members) {
        if (m->NodeA != node && m->NodeB != node) continue;
        if (deleted) *deleted += m->Loads.Count();
        m->Loads.DestroyAll();
        m->CurrentLoad = nullptr;
        members.push_back(m);
    }
    return members;
}

bool ZeroLengthAt(const TMKPSpace& space, const TUzel* node, TReal x, TReal y) {
    for (const TPrut* m : space.Members) {
        const TUzel* other = m->NodeA == node ? m->NodeB : m->NodeB == node ? m->NodeA : nullptr;
        if (other && Coincide(other->X, other->Y, x, y)) return true;
    }
    return false;
}
