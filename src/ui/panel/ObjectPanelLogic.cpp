#include "ui/panel/ObjectPanelLogic.h"

#include <cmath>

#include "base/NumberText.h"
#include "model/MKPSpace.h"
#include "units/Prevody.h"

namespace {

bool Imperial(const TMKPSpace& space) {
    return space.UnitSystem == 1;
}

// sci: exponent(3, 2), as in 2,10E+05.
std::string Sci(TReal v) {
    return FormatExponent(v, 3, 2);
}

// A position along a member: fixed-2 with the length unit in the metric system (with or without a
// space between them), feet and inches without a unit in the imperial one.
std::string PositionText(const TMKPSpace& space, TReal a, const char* gap) {
    if (Imperial(space)) return MetryNaFtIn(a);
    return Fixed2(a) + gap + space.LengthLabel;
}

// A load value in the display units: forces in lb, moments in lb.ft, intensities of distributed
// loads (and of the self-weight) in lb/ft.
TReal LoadValue(const TMKPSpace& space, std::uint8_t kind, TReal q) {
    if (!Imperial(space)) return q;
    switch (kind) {
    case KLoadMoment:
        return KNmNaLbFt(q);
    case KLoadForce:
        return KNNaLb(q);
    default:
        return KNPerMNaLbPerFt(q);
    }
}

} // namespace

TMemberTexts MemberTexts(const TMKPSpace& space) {
    TMemberTexts t;
    const TPrut* m = space.CurrentMember;
    if (!m) return t;
    t.Number = std::to_string(m->Number);
    t.NodeA = m->NodeA ? std::to_string(m->NodeA->Number) : std::string();
    t.NodeB = m->NodeB ? std::to_string(m->NodeB->Number) : std::string();
    t.Section = m->Section ? m->Section->Name : std::string();
    t.Length = Imperial(space) ? MetryNaFtIn(m->Length) : Fixed3(m->Length) + space.LengthLabel;
    t.Angle = Fixed3(m->Angle) + " \u00b0";
    t.Sin = Fixed3(m->SinA);
    t.Cos = Fixed3(m->CosA);
    t.SectionTurn = m->SectionTurned ? "90\u00b0" : "0\u00b0";
    t.Divisions = std::to_string(m->Divisions);
    t.HingeA = m->HingeA;
    t.HingeB = m->HingeB;
    return t;
}

std::string LoadCounterText(const TLoadList& loads, const TZatizeni* current) {
    int i = current ? loads.IndexOf(current) : -1;
    if (i < 0) return {};
    return std::to_string(i + 1) + "/" + std::to_string(loads.Count());
}

std::string LoadCaseText(const TMKPSpace& space, const TZatizeni& load) {
    if (space.LoadCases.Empty()) return {};
    if (load.Kind == KLoadSelfWeight) return "Vlastní tíha";
    return load.LoadCase ? load.LoadCase->Name : space.LoadCases[0]->Name;
}

TMemberLoadTexts MemberLoadTexts(const TMKPSpace& space) {
    TMemberLoadTexts t;
    const TPrut* m = space.CurrentMember;
    if (!m || !m->CurrentLoad) return t;
    const TZatizeni& z = *m->CurrentLoad;
    const std::string& f = space.ForceLabel;
    t.HasFactor = true;
    t.Factor = "1,0";
    switch (z.Kind) {
    case KLoadMoment:
        t.Magnitude = Fixed2(LoadValue(space, z.Kind, z.Q1)) + " " + f + space.LengthLabel;
        t.Position = PositionText(space, z.A, " ");
        t.Type = "Moment";
        t.Direction = std::string(1, 'x'); // moments have no direction
        break;
    case KLoadForce:
        t.Magnitude = Fixed2(LoadValue(space, z.Kind, z.Q1)) + f;
        t.Position = PositionText(space, z.A, "");
        t.Type = "Os.s\u00edla";
        t.Direction = Fixed2(z.Angle);
        break;
    default: // distributed and self-weight: start / end value over start / end position
        if (Imperial(space)) // the unit has a slash of its own
            t.Magnitude = Fixed2(LoadValue(space, z.Kind, z.Q1)) + f + "/" + space.LengthLabel + " / " +
                          Fixed2(LoadValue(space, z.Kind, z.Q2)) + f + "/" + space.LengthLabel;
        else
            t.Magnitude = Fixed2(z.Q1) + f + "/" + Fixed2(z.Q2) + f;
        t.Position = PositionText(space, z.A, "") + "/" + PositionText(space, z.A + z.C, "");
        t.Direction = Fixed2(z.Angle);
        if (z.Kind == KLoadSelfWeight) {
            t.Type = "Vl.t\u00edha kce.";
            t.Factor = Fixed2(space.WeightCase.Factor);
        } else {
            t.Type = "Spojit\u00e9";
        }
        break;
    }
    t.Counter = LoadCounterText(m->Loads, m->CurrentLoad);
    t.Case = LoadCaseText(space, z);
    return t;
}

std::string SupportCaption(const TUzel& node) {
    bool u = node.DofU.Fixed, w = node.DofW.Fixed, r = node.DofRot.Fixed;
    if (!u && !w && !r) return "\u017e\u00e1dn\u00e1";
    if (u && w && r) return "Vetknut\u00ed";
    if (u && w) return "Kloub";
    if (u && r) return "Pos.vetknut\u00ed";
    if (u) return "Pos.kloub (u)";
    // The two combinations no support kind creates come only from project files.
    if (w && r) return "Pos.vetknut\u00ed (w)";
    if (w) return "Pos.kloub (w)";
    return "Jen rotace";
}

TNodeTexts NodeTexts(const TMKPSpace& space) {
    TNodeTexts t;
    const TUzel* n = space.CurrentNode;
    if (!n) return t;
    t.Number = std::to_string(n->Number);
    // Absolute coordinates: the anchor does not apply on the panel.
    if (Imperial(space))
        t.Coordinates = "( " + MetryNaFtIn(n->X) + " ; " + MetryNaFtIn(n->Y) + " )";
    else
        t.Coordinates = "( " + Fixed3(n->X) + " ; " + Fixed3(n->Y) + " )";
    t.Support = SupportCaption(*n);
    t.SupportAngle = Fixed3(n->DofU.Angle) + "\u00b0";
    return t;
}

TNodeLoadTexts NodeLoadTexts(const TMKPSpace& space) {
    TNodeLoadTexts t;
    const TUzel* n = space.CurrentNode;
    if (!n || !n->CurrentLoad) return t;
    const TZatizeni& z = *n->CurrentLoad;
    if (z.Kind == KLoadMoment) {
        t.Magnitude = Fixed2(LoadValue(space, z.Kind, z.Q1)) + space.ForceLabel + space.LengthLabel;
        t.Type = "Moment";
        t.Direction = std::string(1, 'x'); // moments have no direction
    } else {
        t.Magnitude = Fixed2(LoadValue(space, z.Kind, z.Q1)) + space.ForceLabel;
        t.Type = "Os.s\u00edla";
        t.Direction = Fixed2(z.Angle);
    }
    t.Counter = LoadCounterText(n->Loads, n->CurrentLoad);
    t.Case = LoadCaseText(space, z);
    return t;
}

TSectionTexts SectionTexts(const TMKPSpace& space) {
    TSectionTexts t;
    const TProfil* s = space.CurrentSection;
    if (!s) return t;
    t.Name = s->Name;
    const std::string& l = space.SectionLabel;
    if (Imperial(space)) {
        t.Area = FormatFixed(M2NaIn2(s->A), 18, 6) + " " + l + "2";
        t.Iy = Sci(M4NaIn4(s->Iy)) + " " + l + "4";
        t.Iz = Sci(M4NaIn4(s->Iz)) + " " + l + "4";
        if (s->Material) t.Mass = Fixed3(M2NaFt2(s->A) * KgM3NaLbFt3(s->Material->D)) + " lb/ft";
    } else {
        t.Area = FormatFixed(s->A, 18, 6) + " " + l + "2";
        t.Iy = Sci(s->Iy) + " " + l + "4";
        t.Iz = Sci(s->Iz) + " " + l + "4";
        if (s->Material) t.Mass = Fixed3(s->Material->D * s->A) + " kg/m";
    }
    return t;
}

TMaterialTexts MaterialTexts(const TMKPSpace& space) {
    TMaterialTexts t;
    const TMaterial* m = space.CurrentMaterial;
    if (!m) return t;
    t.Name = m->Name;
    if (Imperial(space)) {
        t.E = Sci(MPaNaPsi(m->E)) + " " + space.StressLabel;
        t.Density = Sci(KgM3NaLbFt3(m->D)) + " lb/ft3";
    } else {
        t.E = Sci(m->E) + " " + space.StressLabel;
        t.Density = Sci(m->D) + " kg/m3";
    }
    return t;
}

std::string LoadCaseFactorText(const TMKPSpace& space) {
    return Fixed2(space.WeightCase.Factor);
}

std::string AuxiliaryMemberText(const TMKPSpace& space) {
    const TPrut* m = space.SelectedMembers.First();
    return m ? std::to_string(m->Number) : std::string();
}

bool SetSupportKind(TUzel& node, int kind) {
    // Restraints u, w, rotation of each kind, in menu order.
    static constexpr bool KFlags[KSupportKindCount][3] = {{false, false, false}, {true, true, true},
                                                          {true, true, false},   {true, false, false},
                                                          {false, true, false},  {true, false, true}};
    if (kind < 0 || kind >= KSupportKindCount) return false;
    node.DofU.Fixed = KFlags[kind][0];
    node.DofW.Fixed = KFlags[kind][1];
    node.DofRot.Fixed = KFlags[kind][2];
    if (kind == KSupportNone) node.DofU.Angle = node.DofW.Angle = node.DofRot.Angle = 0.0L;
    return true;
}

bool StepCurrentLoad(const TLoadList& loads, TZatizeni*& current, int step) {
    int i = current ? loads.IndexOf(current) : -1;
    int next = i + step;
    if (next < 0 || next >= loads.Count() || next == i) return false;
    current = loads[next];
    return true;
}

TAssignNodeResult AssignCurrentNodeToEnd(TMKPSpace& space, bool endA) {
    TUzel* node = space.CurrentNode;
    TPrut* m = space.CurrentMember;
    if (!node || !m) return TAssignNodeResult::NothingToDo;
    TUzel* other = endA ? m->NodeB : m->NodeA;
    // A member never gets zero length: neither the other end itself nor a distinct node lying at
    // the same point may take this end.
    if (node == other || (other && Coincide(*node, *other)))
        return TAssignNodeResult::Refused;
    (endA ? m->NodeA : m->NodeB) = node;
    m->Geometrie();
    return TAssignNodeResult::Assigned;
}

bool ToggleCurrentMemberHinge(TMKPSpace& space, bool endA) {
    TPrut* m = space.CurrentMember;
    if (!m) return false;
    bool& hinge = endA ? m->HingeA : m->HingeB;
    hinge = !hinge;
    return true;
}

bool TurnCurrentMemberSection(TMKPSpace& space) {
    TPrut* m = space.CurrentMember;
    if (!m) return false;
    m->SectionTurned = !m->SectionTurned;
    return true;
}

bool SwapCurrentMemberNodes(TMKPSpace& space) {
    if (!space.CurrentMember) return false;
    space.OtocAktualniPrut();
    space.CurrentMember->Geometrie();
    return true;
}

void CopySectionOfCurrentMember(TMKPSpace& space) {
    if (space.CurrentMember) space.SectionClipboard = space.CurrentMember->Section;
}

bool PasteSectionToCurrentMember(TMKPSpace& space) {
    TPrut* m = space.CurrentMember;
    if (!m || !space.SectionClipboard || m->Section == space.SectionClipboard) return false;
    m->Section = space.SectionClipboard;
    return true;
}

bool AssignCurrentSectionToCurrentMember(TMKPSpace& space) {
    TPrut* m = space.CurrentMember;
    if (!m || !space.CurrentSection || m->Section == space.CurrentSection) return false;
    m->Section = space.CurrentSection;
    return true;
}

void MakeMemberSectionCurrent(TMKPSpace& space) {
    if (space.CurrentMember) space.CurrentSection = space.CurrentMember->Section;
}

int AssignCurrentSectionToAll(TMKPSpace& space) {
    int changed = 0;
    if (!space.CurrentSection) return 0;
    for (TPrut* m : space.Members)
        if (m->Section != space.CurrentSection) {
            m->Section = space.CurrentSection;
            ++changed;
        }
    return changed;
}

int AssignCurrentSectionToSelected(TMKPSpace& space) {
    int changed = 0;
    if (!space.CurrentSection) return 0;
    for (TPrut* m : space.SelectedMembers)
        if (m->Section != space.CurrentSection) {
            m->Section = space.CurrentSection;
            ++changed;
        }
    return changed;
}

bool ChooseSection(TMKPSpace& space, const std::string& name) {
    TProfil* s = space.Sections.NajdiProfil(name);
    if (!s) return false;
    space.CurrentSection = s;
    space.CurrentMaterial = s->Material;
    return true;
}

bool ChooseMaterial(TMKPSpace& space, const std::string& name) {
    TMaterial* m = space.Materials.NajdiMaterial(name);
    space.CurrentMaterial = m;
    if (!m) return false;
    if (space.CurrentSection) space.CurrentSection->Material = m;
    return true;
}
