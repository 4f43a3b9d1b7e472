#include "reports/ResultsReport.h"

#include <string>

#include "analysis/MemberTable.h"
#include "reports/CaseReports.h"
#include "units/Prevody.h"

namespace {
// One value line of a quantity. N and T are listed with the opposite sign of the table (the
// table holds the forces acting on the part of the member towards node a).
std::string ValueLine(int row, TReal value, TReal x, bool imperial, char sep) {
    if (row == 2 || row == 3) value = -value;
    if (imperial) {
        std::string unit;
        switch (row) {
        case 1:
            value = KNmNaLbFt(value);
            unit = " lbft";
            break;
        case 2:
        case 3:
            value = KNNaLb(value);
            unit = " lb";
            break;
        default: // displacements in inches, written without a unit
            value = MmNaIn(value);
            break;
        }
        return "    " + FormatFixed(value, 12, 3, sep) + unit + " (x = " + MetryNaFtIn(x, sep) + ")";
    }
    const char* unit = row == 1 ? " kNm" : row == 2 || row == 3 ? " kN" : " mm";
    return "    " + FormatFixed(value, 12, 3, sep) + unit + " (x = " + FormatFixed(x, 12, 3, sep) + " m)";
}

void ReactionLines(const TUzel& node, bool imperial, char sep, TStyledDocument& doc) {
    const std::string head = "Uzel [" + std::to_string(node.Number) + "]: ";
    const std::string angle = " natočení: " + FormatFixed(node.DofU.Angle, 6, 2, sep) + "°";
    const std::string force = imperial ? "lb" : "kN";
    auto f = [imperial](TReal kn) { return imperial ? KNNaLb(kn) : kn; };
    if (node.DofRot.Fixed) {
        const TReal m = imperial ? KNmNaLbFt(node.DofRot.Reaction) : node.DofRot.Reaction;
        doc.AppendLine(head + "M=" + FormatFixed(m, 6, 3, sep) + (imperial ? "lb.ft" : "kNm"));
    }
    if (node.DofU.Fixed)
        doc.AppendLine(head + "H=" + FormatFixed(f(node.DofU.Reaction), 6, 3, sep) + force + angle);
    if (node.DofW.Fixed)
        doc.AppendLine(head + "V=" + FormatFixed(f(node.DofW.Reaction), 12, 3, sep) + force + angle);
}
} // namespace

void BuildResultsReport(TMKPSpace& space, TStyledDocument& doc, char separator) {
    const bool imperial = space.UnitSystem == 1;
    doc.Clear();
    doc.SetStyle(true, 14);
    doc.AppendLine("VÝSLEDKY VÝPOČTU");
    // The case or combination shown, when the model has more than its one state.
    if (const std::string heading = ResultsHeading(space, separator); !heading.empty()) {
        doc.SetSize(10);
        doc.AppendLine(heading);
    }
    doc.AppendLine("");
    doc.SetSize(10);
    doc.AppendLine("REAKCE");
    doc.SetStyle(false, 8);
    for (const TUzel* node : space.Nodes)
        ReactionLines(*node, imperial, separator, doc);

    doc.AppendLine("");
    doc.SetStyle(true, 10);
    doc.AppendLine("SÍLY NA PRUTECH");
    doc.SetSize(8);
    static const char* const KHeadings[] = {"", "  M:", "  N:", "  T:", "", "  u:", "  w:"};
    for (TPrut* member : space.Members) {
        if (!member->HasResults()) continue;
        SestavPrubehy(*member);
        doc.AppendLine("");
        doc.SetBold(true);
        doc.AppendLine("Prut " + std::to_string(member->Number));
        doc.SetBold(false);
        for (int row = 1; row <= 6; ++row) {
            if (row == 4) continue; // the rotation is not listed
            doc.AppendLine(KHeadings[row]);
            const TMatrix& r = member->Results;
            for (int i : ReportedColumns(r, row)) {
                const auto k = static_cast<std::size_t>(i);
                doc.AppendLine(
                    ValueLine(row, r[static_cast<std::size_t>(row)][k], r[0][k], imperial, separator));
            }
        }
        member->UvolniPrubehy();
    }
    doc.SetCaption("Výsledky výpočtu");
}
