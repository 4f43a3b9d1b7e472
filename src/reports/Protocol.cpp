#include "reports/Protocol.h"

#include "reports/CaseReports.h"

#include <string>

#include "units/Prevody.h"

namespace {
struct TFormats {
    char Sep;
    bool Imperial;

    std::string Exp(TReal v) const { return FormatExponent(v, 4, 1, Sep); }
    std::string Fix(TReal v, int p, int d) const { return FormatFixed(v, p, d, Sep); }
    std::string Angle(TReal v) const { return FormatFixed(v, 6, 2, Sep); }
    std::string FtIn(TReal v) const { return MetryNaFtIn(v, Sep); }
};

std::string Index(int i) {
    std::string s(1, '[');
    s += std::to_string(i);
    s += ']';
    return s;
}

std::string MaterialLine(const TFormats& f, int i, const TMaterial& m) {
    if (f.Imperial)
        return Index(i) + " " + m.Name + ": E=" + f.Exp(MPaNaPsi(m.E)) + "psi, D=" + f.Exp(KgM3NaLbFt3(m.D)) +
               "lb/ft3";
    return Index(i) + " " + m.Name + ": E=" + f.Exp(m.E) + "MPa, D=" + f.Exp(m.D) + "kg/m3";
}

std::string SectionLine(const TFormats& f, int i, const TProfil& s) {
    const std::string material = s.Material ? s.Material->Name : std::string();
    if (f.Imperial)
        return Index(i) + " " + s.Name + ": A=" + f.Exp(M2NaIn2(s.A)) + "in2, Iy=" + f.Exp(M4NaIn4(s.Iy)) +
               "in4, Iz=" + f.Exp(M4NaIn4(s.Iz)) + "in4, (" + material + ")";
    return Index(i) + " " + s.Name + ": A=" + f.Exp(s.A) + "m2, Iy=" + f.Exp(s.Iy) + "m4, Iz=" + f.Exp(s.Iz) +
           "m4, (" + material + ")";
}

std::string NodeLine(const TFormats& f, const TUzel& n) {
    const std::string x = f.Imperial ? f.FtIn(n.X) : f.Fix(n.X, 5, 3);
    const std::string y = f.Imperial ? f.FtIn(n.Y) : f.Fix(n.Y, 5, 3);
    return Index(n.Number) + ": (" + x + ";" + y + "), Podpora: " + SupportName(n) +
           ", Rotace podpory: " + f.Angle(n.DofU.Angle) + "°";
}

// A nodal load line; loads of other kinds than force and moment give none.
std::string NodalLoadLine(const TFormats& f, int i, const TZatizeni& z) {
    const std::string head = "    " + Index(i);
    if (z.Kind == KLoadForce) {
        if (f.Imperial)
            return head + " P: " + f.Fix(KNNaLb(z.Q1), 6, 3) + "lb, orientace: " + f.Angle(z.Angle) + "°";
        return head + " P: " + f.Fix(z.Q1, 6, 3) + "kN, orientace: " + f.Angle(z.Angle) + "°";
    }
    if (z.Kind == KLoadMoment) {
        if (f.Imperial) return head + " M: " + f.Fix(KNmNaLbFt(z.Q1), 6, 3) + "lb.ft";
        return head + " M: " + f.Fix(z.Q1, 6, 3) + "kNm";
    }
    return {};
}

std::string MemberLine(const TFormats& f, const TPrut& m) {
    const std::string section = m.Section ? m.Section->Name : std::string();
    const std::string length = f.Imperial ? f.FtIn(m.Length) : f.Fix(m.Length, 6, 3) + "m";
    return Index(m.Number) + ": " + section + ", l=" + length + ", orientace: " + f.Angle(m.Angle) +
           "°, uzel \"a\" " + Index(m.NodeA->Number) + " (" + (m.HingeA ? "kloub" : "pevné") +
           "), uzel \"b\" " + Index(m.NodeB->Number) + " (" + (m.HingeB ? "kloub" : "pevné") + ")";
}

// A member load line; the self-weight load gives none.
std::string MemberLoadLine(const TFormats& f, int i, const TZatizeni& z) {
    const std::string head = "    " + Index(i);
    const std::string position = f.Imperial ? f.FtIn(z.A) : f.Fix(z.A, 6, 3) + "m";
    switch (z.Kind) {
    case KLoadForce:
        if (f.Imperial)
            return head + " P: " + f.Fix(KNNaLb(z.Q1), 6, 3) + "lb, poloha: " + position +
                   ", orientace: " + f.Angle(z.Angle) + "°";
        return head + " P: " + f.Fix(z.Q1, 6, 3) + "kN, poloha: " + position +
               ", orientace: " + f.Angle(z.Angle) + "°";
    case KLoadMoment:
        if (f.Imperial) return head + " M: " + f.Fix(KNmNaLbFt(z.Q1), 6, 3) + "lb.ft, poloha: " + position;
        return head + " M: " + f.Fix(z.Q1, 6, 3) + "kNm, poloha: " + position;
    case KLoadDistributed: {
        const std::string length = f.Imperial ? f.FtIn(z.C) : f.Fix(z.C, 6, 3) + "m";
        if (f.Imperial)
            return head + " q: " + f.Fix(KNPerMNaLbPerFt(z.Q1), 6, 3) + "lb/ft/ " +
                   f.Fix(KNPerMNaLbPerFt(z.Q2), 6, 3) + "lb/ft, poloha: " + position +
                   ", zatěžovací délka: " + length + ", orientace: " + f.Angle(z.Angle) + "°";
        return head + " q: " + f.Fix(z.Q1, 6, 3) + "kN/ " + f.Fix(z.Q2, 6, 3) + "kN, poloha: " + position +
               ", zatěžovací délka: " + length + ", orientace: " + f.Angle(z.Angle) + "°";
    }
    default:
        return {};
    }
}

// "    Zatížení:", then the lines of the loads numbered by list position, or "    (žádné)" for an
// empty list. A load without a line (self-weight) still counts for the numbering and the list.
template <class TLineOf> void AppendLoads(TStyledDocument& doc, const TLoadList& loads, TLineOf lineOf) {
    doc.AppendLine("    Zatížení:");
    if (loads.Empty()) {
        doc.AppendLine("    (žádné)");
        return;
    }
    for (int i = 0; i < loads.Count(); ++i) {
        std::string line = lineOf(i + 1, *loads[i]);
        if (!line.empty()) doc.AppendLine(line);
    }
}
} // namespace

std::string SupportName(const TUzel& node) {
    const bool u = node.DofU.Fixed, w = node.DofW.Fixed, r = node.DofRot.Fixed;
    if (u && w && r) return "Vetknutí";
    if (u && r) return "Pos.vetknutí";
    if (u && w) return "Kloub";
    if (u) return "Pos.kloub - \"u\"";
    if (w) return "Pos.kloub - \"w\"";
    return "žádná";
}

void CleanUnusedObjects(TMKPSpace& space) {
    space.SmazNepripojeneUzly();
    space.SmazNepouziteProfily();
    space.SmazNepouziteMaterialy();
}

void ListProtocol(const TMKPSpace& space, TStyledDocument& doc, char separator) {
    const TFormats f{separator, space.UnitSystem == 1};

    doc.SetStyle(true, 14);
    doc.AppendLine("PROTOKOL");
    doc.AppendLine("");

    doc.SetSize(10);
    doc.AppendLine("MATERIÁLY");
    doc.SetStyle(false, 8);
    for (int i = 0; i < space.Materials.Count(); ++i)
        doc.AppendLine(MaterialLine(f, i + 1, *space.Materials[i]));

    doc.AppendLine("");
    doc.SetStyle(true, 10);
    doc.AppendLine("PROFILY");
    doc.SetStyle(false, 8);
    for (int i = 0; i < space.Sections.Count(); ++i)
        doc.AppendLine(SectionLine(f, i + 1, *space.Sections[i]));

    doc.AppendLine("");
    doc.SetStyle(true, 10);
    doc.AppendLine("UZLY");
    doc.SetStyle(false, 8);
    for (const TUzel* n : space.Nodes) {
        doc.AppendLine(NodeLine(f, *n));
        AppendLoads(doc, n->Loads, [&f](int i, const TZatizeni& z) { return NodalLoadLine(f, i, z); });
    }

    doc.AppendLine("");
    doc.SetStyle(true, 10);
    doc.AppendLine("PRUTY");
    doc.SetStyle(false, 8);
    for (const TPrut* m : space.Members) {
        doc.AppendLine(MemberLine(f, *m));
        AppendLoads(doc, m->Loads, [&f](int i, const TZatizeni& z) { return MemberLoadLine(f, i, z); });
    }
    // Cases and combinations, when the model has any.
    ListCasesAndCombinations(const_cast<TMKPSpace&>(space), doc, separator);

    doc.SetCaption("Protokol");
}

void BuildProtocol(TMKPSpace& space, TStyledDocument& doc, char separator) {
    doc.Clear();
    CleanUnusedObjects(space);
    ListProtocol(space, doc, separator);
}
