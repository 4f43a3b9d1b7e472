// The reports of load cases: the protocol's list of cases, the heading of the results report and
// the envelope report, on a simple beam whose values are known in closed form.
#include <gtest/gtest.h>

#include "analysis/ProfileMatrix.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "reports/CaseReports.h"
#include "reports/DocumentWriters.h"
#include "reports/Protocol.h"
#include "reports/ResultsReport.h"

namespace {
std::vector<std::string> Lines(const TStyledDocument& doc) {
    std::vector<std::string> lines;
    for (const TStyledLine& l : doc.Lines()) lines.push_back(l.Text);
    return lines;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A simply supported beam of 4 m: 10 kN/m in case G, 20 kN at midspan in case Q; combinations
// K1 = G and K2 = 1.35·G + 1.5·Q.
struct TBeam {
    TMKPSpace space;
    TBeam() {
        space.TraceEnabled = false;
        TProfil* p = space.PridejProfil("P", space.PridejMaterial("S", 210000, 7850), 0.01, 1e-4, 1e-4);
        TUzel* a = space.PridejUzel(1, 0, 0);
        TUzel* b = space.PridejUzel(2, 4, 0);
        a->DofU.Fixed = a->DofW.Fixed = b->DofW.Fixed = true;
        TPrut* m = space.PridejPrut(a, b, p, false, 1, false, false);
        TZatezovaciStav* g = space.PridejZatezovaciStav("G", TCaseKind::Permanent);
        TZatezovaciStav* q = space.PridejZatezovaciStav("Q", TCaseKind::Variable, TCaseCategory::C, "hala");
        space.NastavStavZatizeni(*m->PridejZatizeni(KLoadDistributed, nullptr, 0, 4, 10, 10, 90), g);
        space.NastavStavZatizeni(*m->PridejZatizeni(KLoadForce, nullptr, 2, 0, 20, 0, 90), q);
        space.PridejKombinaci("K1", TCombinationKind::User, {{g, 1}});
        space.PridejKombinaci("K2", TCombinationKind::Ultimate, {{g, 1.35L}, {q, 1.5L}}, "6.10, hlavní Q");
        TRecordingDialogs sink;
        TDialogsGuard guard(sink);
        EXPECT_EQ(space.Vypocet().Result, TSolveResult::Ok);
    }
};
} // namespace

TEST(CaseReports, ProtocolListsCasesTheirLoadsAndCombinations) {
    TBeam b;
    TStyledDocument doc;
    BuildProtocol(b.space, doc, '.');
    const auto lines = Lines(doc);
    EXPECT_TRUE(Has(lines, "ZATĚŽOVACÍ STAVY"));
    EXPECT_TRUE(Has(lines, "G: stálý"));
    EXPECT_TRUE(Has(lines, "Q: proměnný, kategorie C – shromažďovací plochy (ψ0 = 0.7, ψ1 = 0.7, ψ2 = 0.6), skupina „hala“"));
    EXPECT_TRUE(Has(lines, "    Zatížení: prut [1] 2"));
    EXPECT_TRUE(Has(lines, "K2 (MSÚ, 6.10, hlavní Q) = 1.35·G + 1.5·Q"));
}

TEST(CaseReports, HeadingsAndEnvelopeWithItsGoverningCombination) {
    TBeam b;
    TStyledDocument doc;
    ASSERT_TRUE(b.space.NastavVysledky({TResultsKind::Case, "Q", {}, TEnvelopeScope::All}));
    BuildResultsReport(b.space, doc, '.');
    EXPECT_EQ(Lines(doc)[1], "Zatěžovací stav: Q");

    ASSERT_TRUE(b.space.NastavVysledky({TResultsKind::Envelope, {}, {"K1", "K2"}, TEnvelopeScope::All}));
    BuildEnvelopeReport(b.space, doc, '.');
    const auto lines = Lines(doc);
    // Midspan: q·L²/8 = 20 kNm under K1, 1.35·20 + 1.5·P·L/4 = 27 + 30 = 57 kNm under K2; the
    // supports carry 20 and 1.35·20 + 1.5·10 = 42 kN.
    const auto at = std::find(lines.begin(), lines.end(), "  M:");
    ASSERT_NE(at, lines.end());
    const std::string extremes = at[1] + "|" + at[2];
    EXPECT_NE(extremes.find("57.000 kNm (x = 2.000 m, K2)"), std::string::npos) << extremes;
    EXPECT_NE(extremes.find("0.000 kNm"), std::string::npos) << extremes;
    bool reaction = false;
    for (const std::string& l : lines)
        reaction = reaction || (l.rfind("Uzel [2]: V", 0) == 0 && l.find("42.000 kN (K2)") != std::string::npos &&
                                l.find("20.000 kN (K1)") != std::string::npos);
    EXPECT_TRUE(reaction);
}
