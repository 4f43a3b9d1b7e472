#include "reports/CaseReports.h"

#include "analysis/Envelope.h"
#include "model/MKPSpace.h"
#include "units/Prevody.h"

namespace {
std::string CombinationLine(const TKombinace& k, char sep) {
    std::string line = k.Name + " (" + CombinationKindName(k.Kind);
    if (!k.Formula.empty()) line += ", " + k.Formula;
    return line + ") = " + k.TermsText(sep);
}

// A quantity in the report's units: value and unit text (imperial as the results report).
std::string Quantity(int row, TReal value, bool imperial, char sep) {
    if (row == 2 || row == 3) value = -value;
    const bool moment = row == 1, force = row == 2 || row == 3 || row == 7;
    if (imperial) value = moment ? KNmNaLbFt(value) : force ? KNNaLb(value) : MmNaIn(value);
    const char* unit = moment ? (imperial ? " lbft" : " kNm") : force ? (imperial ? " lb" : " kN") : imperial ? "" : " mm";
    return FormatFixed(value, 12, 3, sep) + unit;
}

std::string Place(TReal x, bool imperial, char sep) {
    return imperial ? MetryNaFtIn(x, sep) : FormatFixed(x, 12, 3, sep) + " m";
}
} // namespace

std::string ResultsHeading(TMKPSpace& space, char separator) {
    const TResultsChoice& c = space.ResultsChoice;
    if (c.Kind == TResultsKind::Combination) {
        const TKombinace* k = space.Combinations.NajdiKombinaci(c.Name);
        return k ? "Kombinace: " + k->Name + " = " + k->TermsText(separator) : std::string();
    }
    if (c.Kind == TResultsKind::Envelope || (space.LoadCases.Empty() && c.Name.empty())) return {};
    const TZatezovaciStav* shown = c.Name.empty() ? nullptr : space.NajdiZatezovaciStav(c.Name);
    if (!shown && !space.CaseResults.Empty()) shown = space.CaseResults.Cases[0];
    return shown ? "Zatěžovací stav: " + shown->Name : std::string();
}

void BuildEnvelopeReport(TMKPSpace& space, TStyledDocument& doc, char sep) {
    const bool imperial = space.UnitSystem == 1;
    doc.Clear();
    doc.SetStyle(true, 14);
    doc.AppendLine("OBÁLKA VÝSLEDKŮ");
    doc.AppendLine("");
    doc.SetSize(10);
    doc.AppendLine("KOMBINACE");
    doc.SetStyle(false, 8);
    const TObalka* e = space.Envelope.get();
    if (!e || e->Combinations.empty()) {
        doc.AppendLine("(žádné)");
        doc.SetCaption("Obálka výsledků");
        return;
    }
    for (const TKombinace* k : e->Combinations) doc.AppendLine(CombinationLine(*k, sep));
    const auto by = [e](int i) { return i >= 0 ? e->Combinations[std::size_t(i)]->Name : std::string("-"); };

    doc.AppendLine("");
    doc.SetStyle(true, 10);
    doc.AppendLine("REAKCE");
    doc.SetStyle(false, 8);
    static const char* const KDof[3] = {"M", "H", "V"};
    for (int p = 0; p < space.Nodes.Count(); ++p) {
        const TUzel* n = space.Nodes[p];
        const TNodeDof* dofs[3] = {&n->DofRot, &n->DofU, &n->DofW};
        for (std::size_t d = 0; d < 3; ++d) {
            if (!dofs[d]->Fixed) continue;
            const TExtreme& x = e->Nodes[std::size_t(p)].Reaction[d];
            const int row = d == 0 ? 1 : 7;
            doc.AppendLine("Uzel [" + std::to_string(n->Number) + "]: " + KDof[d] + " max " +
                           Quantity(row, x.Max, imperial, sep) + " (" + by(x.MaxBy) + "), min " +
                           Quantity(row, x.Min, imperial, sep) + " (" + by(x.MinBy) + ")");
        }
    }

    doc.AppendLine("");
    doc.SetStyle(true, 10);
    doc.AppendLine("SÍLY NA PRUTECH");
    doc.SetSize(8);
    static const char* const KNames[3] = {"M", "N", "T"};
    for (int i = 0; i < space.Members.Count(); ++i) {
        const TObalka::TMemberEnvelope& m = e->Members[std::size_t(i)];
        if (m.X.empty()) continue;
        doc.AppendLine("");
        doc.SetBold(true);
        doc.AppendLine("Prut " + std::to_string(space.Members[i]->Number));
        doc.SetBold(false);
        for (int q = 0; q < 3; ++q) {
            const int row = TObalka::KRows[std::size_t(q)];
            // The largest and smallest over the stations, in the signs of the table; N and T are
            // listed with the opposite sign, so their largest is the table's smallest.
            std::size_t hi = 0, lo = 0;
            for (std::size_t j = 1; j < m.X.size(); ++j) {
                if (m.Values[j][std::size_t(q)].Max > m.Values[hi][std::size_t(q)].Max) hi = j;
                if (m.Values[j][std::size_t(q)].Min < m.Values[lo][std::size_t(q)].Min) lo = j;
            }
            const TExtreme& top = m.Values[hi][std::size_t(q)];
            const TExtreme& bottom = m.Values[lo][std::size_t(q)];
            // A value, its place and its combination.
            struct TAt {
                TReal Value, X;
                int By;
            };
            TAt most{top.Max, m.X[hi], top.MaxBy}, least{bottom.Min, m.X[lo], bottom.MinBy};
            // A moment's extreme may lie between stations, at zero shear.
            if (q == 0)
                for (const TObalka::TPeak& p : m.Peaks) {
                    if (p.Largest && p.Value > most.Value) most = {p.Value, p.X, p.By};
                    if (!p.Largest && p.Value < least.Value) least = {p.Value, p.X, p.By};
                }
            const bool flipped = row != 1;
            const auto line = [&](const char* what, const TAt& at) {
                doc.AppendLine(std::string("    ") + what + " " + Quantity(row, at.Value, imperial, sep) +
                               " (x = " + Place(at.X, imperial, sep) + ", " + by(at.By) + ")");
            };
            doc.AppendLine(std::string("  ") + KNames[q] + ":");
            line("max", flipped ? least : most);
            line("min", flipped ? most : least);
        }
    }
    doc.SetCaption("Obálka výsledků");
}

void ListCasesAndCombinations(TMKPSpace& space, TStyledDocument& doc, char sep) {
    if (space.LoadCases.Empty() && space.Combinations.Empty()) return;
    doc.AppendLine("");
    doc.SetStyle(true, 10);
    doc.AppendLine("ZATĚŽOVACÍ STAVY");
    doc.SetStyle(false, 8);
    for (TZatezovaciStav* c : space.PocitaneStavy()) {
        std::string line = c->Name + ": " + KindName(c->Kind);
        if (c->Kind == TCaseKind::Variable) {
            const TPsi psi = Psi(c->Category);
            line += ", " + CategoryName(c->Category) + " (ψ0 = " + FormatGeneral(psi.Psi0, 15, sep) +
                    ", ψ1 = " + FormatGeneral(psi.Psi1, 15, sep) + ", ψ2 = " + FormatGeneral(psi.Psi2, 15, sep) + ")";
        }
        if (!c->Group.empty()) line += ", skupina „" + c->Group + "“";
        if (c->BothValues) line += ", příznivý i nepříznivý";
        if (c == &space.WeightCase) line += ", součinitel " + FormatGeneral(c->Factor, 15, sep);
        doc.AppendLine(line);
        // The loads by their place: the node or member and the position in its list.
        std::string loads;
        for (const TUzel* n : space.Nodes)
            for (int i = 0; i < n->Loads.Count(); ++i)
                if (space.StavZatizeni(*n->Loads[i]) == c)
                    loads += (loads.empty() ? "" : ", ") + ("uzel [" + std::to_string(n->Number) + "] " + std::to_string(i + 1));
        for (const TPrut* m : space.Members)
            for (int i = 0; i < m->Loads.Count(); ++i)
                if (space.StavZatizeni(*m->Loads[i]) == c)
                    loads += (loads.empty() ? "" : ", ") + ("prut [" + std::to_string(m->Number) + "] " + std::to_string(i + 1));
        doc.AppendLine("    Zatížení: " + (loads.empty() ? std::string("(žádné)") : loads));
    }
    doc.AppendLine("");
    doc.SetStyle(true, 10);
    doc.AppendLine("KOMBINACE");
    doc.SetStyle(false, 8);
    if (space.Combinations.Empty()) doc.AppendLine("(žádné)");
    for (const TKombinace* k : space.Combinations) doc.AppendLine(CombinationLine(*k, sep));
}
