#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "analysis/ProfileMatrix.h"
#include "GoldenCases.h"
#include "model/MKPSpace.h"
#include "reports/DocumentWriters.h"
#include "reports/ResultsReport.h"

namespace {
std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string DataFile(const std::string& name) {
    return std::string(KORVAN_SOURCE_DIR) + "/tests/data/reports/" + name;
}

std::vector<std::string> TextLines(const TStyledDocument& doc) {
    std::vector<std::string> lines;
    for (const TStyledLine& l : doc.Lines())
        lines.push_back(l.Text);
    return lines;
}

std::vector<std::string> ReportLines(TMKPSpace& space, char separator = '.') {
    TStyledDocument doc;
    BuildResultsReport(space, doc, separator);
    return TextLines(doc);
}

const std::vector<std::string> KHeadOnly = {"VÝSLEDKY VÝPOČTU", "", "REAKCE"};

// Reactions are plain fields of the nodes, so the reaction lines are checked
// without a computation.
TUzel* SupportedNode(TMKPSpace& space, bool u, bool w, bool r) {
    TUzel* n = space.PridejUzel(space.Nodes.Count() + 1, 0, 0);
    n->DofU.Fixed = u;
    n->DofW.Fixed = w;
    n->DofRot.Fixed = r;
    return n;
}
} // namespace

TEST(ResultsReport, ReactionLinesInOrderMHV) {
    TMKPSpace space;
    SupportedNode(space, false, false, false); // no support: no line
    TUzel* n2 = SupportedNode(space, true, false, false);
    n2->DofU.Reaction = 12.5;
    TUzel* n3 = SupportedNode(space, true, true, true);
    n3->DofRot.Reaction = -3.25;
    n3->DofU.Reaction = 1234.5678; // six significant digits on the H line ...
    n3->DofW.Reaction = 1234.5678; // ... twelve on the V line
    n3->DofU.Angle = n3->DofW.Angle = n3->DofRot.Angle = 30;
    TUzel* n4 = SupportedNode(space, false, true, false);
    n4->DofW.Reaction = -0.0004; // rounds to zero: no minus sign
    const std::vector<std::string> expected = {
        "VÝSLEDKY VÝPOČTU",
        "",
        "REAKCE",
        "Uzel [2]: H=12.500kN natočení: 0.00°",
        "Uzel [3]: M=-3.250kNm",
        "Uzel [3]: H=1234.570kN natočení: 30.00°",
        "Uzel [3]: V=1234.568kN natočení: 30.00°",
        "Uzel [4]: V=0.000kN natočení: 0.00°",
        "",
        "SÍLY NA PRUTECH",
    };
    EXPECT_EQ(ReportLines(space), expected);
}

TEST(ResultsReport, ReactionLinesImperialAndComma) {
    TMKPSpace space;
    space.NastavSoustavuJednotek(1);
    TUzel* n = SupportedNode(space, true, true, true);
    n->DofRot.Reaction = 1;
    n->DofU.Reaction = 1;
    n->DofW.Reaction = -2;
    n->DofU.Angle = n->DofW.Angle = n->DofRot.Angle = 12.345L; // never converted
    const auto lines = ReportLines(space, ',');
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[3], "Uzel [1]: M=737,562lb.ft");
    EXPECT_EQ(lines[4], "Uzel [1]: H=224,809lb natočení: 12,35°");
    EXPECT_EQ(lines[5], "Uzel [1]: V=-449,618lb natočení: 12,35°");
}

TEST(ResultsReport, StylesAndCaption) {
    TMKPSpace space;
    SupportedNode(space, false, true, false);
    TStyledDocument doc;
    doc.AppendLine("previous report");
    BuildResultsReport(space, doc, '.');
    const auto& l = doc.Lines();
    ASSERT_EQ(l.size(), 6u);
    EXPECT_EQ(l[0].Text, "VÝSLEDKY VÝPOČTU");
    EXPECT_TRUE(l[0].Bold && l[0].Size == 14);
    EXPECT_TRUE(l[1].Bold && l[1].Size == 14);
    EXPECT_TRUE(l[2].Bold && l[2].Size == 10);
    EXPECT_TRUE(!l[3].Bold && l[3].Size == 8);
    EXPECT_TRUE(!l[4].Bold && l[4].Size == 8);
    EXPECT_TRUE(l[5].Bold && l[5].Size == 10);
    EXPECT_EQ(doc.Caption(), "Výsledky výpočtu");
}

TEST(ResultsReport, MembersWithoutResultsAreSkipped) {
    TMKPSpace space;
    TMaterial* m = space.PridejMaterial("M1", 210000, 7850);
    TProfil* s = space.PridejProfil("R1", m, 0.01, 0.0001, 0.0001);
    TUzel* a = space.PridejUzel(1, 0, 0);
    TUzel* b = space.PridejUzel(2, 3, 0);
    space.PridejPrut(a, b, s, false, 1, false, false);
    EXPECT_EQ(ReportLines(space),
              (std::vector<std::string>{"VÝSLEDKY VÝPOČTU", "", "REAKCE", "", "SÍLY NA PRUTECH"}));
}

namespace {
// Reads a project and runs the computation on it, without trace files.
void ReadAndCompute(TMKPSpace& space, const std::string& project) {
    space.NactiProjekt(project);
    space.TraceEnabled = false;
    space.Vypocet();
    ASSERT_TRUE(space.ResultsValid) << project;
}
} // namespace

class ResultsReportGolden : public ::testing::TestWithParam<TGoldenCase> {};

TEST_P(ResultsReportGolden, MatchesTheReference) {
    const TGoldenCase& c = GetParam();
    TMKPSpace space;
    ReadAndCompute(space, GoldenProjectPath(c));
    space.NastavSoustavuJednotek(std::get<1>(c).UnitSystem);
    TStyledDocument doc;
    BuildResultsReport(space, doc, std::get<1>(c).Separator);
    const std::string golden = GoldenPath(c, "report");
    const std::string expected = ReadFile(golden);
    ASSERT_FALSE(expected.empty()) << golden;
    EXPECT_EQ(DocumentToText(doc), expected) << golden;
}

INSTANTIATE_TEST_SUITE_P(Examples, ResultsReportGolden, GoldenTable(KGoldenExamples), GoldenCaseName);
INSTANTIATE_TEST_SUITE_P(HandModels, ResultsReportGolden, GoldenTable(KGoldenHandModels), GoldenCaseName);

TEST(ResultsReport, StylesOfAMemberSection) {
    TMKPSpace space;
    ReadAndCompute(space, DataFile("cantilever.inp"));
    TStyledDocument doc;
    BuildResultsReport(space, doc, '.');
    const auto& l = doc.Lines();
    // "SÍLY NA PRUTECH", then the first member's empty line still bold, "Prut 1" bold, the rest normal.
    ASSERT_GT(l.size(), 11u);
    EXPECT_EQ(l[7].Text, "SÍLY NA PRUTECH");
    EXPECT_TRUE(l[8].Bold && l[8].Size == 8 && l[8].Text.empty());
    EXPECT_TRUE(l[9].Bold && l[9].Size == 8 && l[9].Text == "Prut 1");
    for (std::size_t i = 10; i < l.size(); ++i)
        EXPECT_TRUE(!l[i].Bold && l[i].Size == 8) << i;
}

TEST(ResultsReport, LaterMembersOpenWithANormalEmptyLine) {
    TMKPSpace space;
    ReadAndCompute(space, std::string(KORVAN_SOURCE_DIR) + "/examples/portal-frame.inp");
    TStyledDocument doc;
    BuildResultsReport(space, doc, '.');
    const auto& l = doc.Lines();
    int found = 0;
    for (std::size_t i = 1; i < l.size(); ++i) {
        if (l[i].Text != "Prut 2" && l[i].Text != "Prut 3") continue;
        ++found;
        EXPECT_TRUE(l[i].Bold && l[i].Size == 8) << l[i].Text;
        EXPECT_TRUE(l[i - 1].Text.empty() && !l[i - 1].Bold && l[i - 1].Size == 8) << l[i].Text;
    }
    EXPECT_EQ(found, 2);
}

TEST(ResultsReport, MemberAddedAfterTheComputationIsLeftOut) {
    TMKPSpace space;
    ReadAndCompute(space, DataFile("cantilever.inp"));
    TUzel* c = space.PridejUzel(3, 2, 3);
    space.PridejPrut(space.Nodes[1], c, space.Sections[0], false, 2, false, false);
    const auto lines = ReportLines(space);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Prut 1"), lines.end());
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "Prut 2"), lines.end());
    EXPECT_TRUE(space.Members[0]->Results.empty()) << "the table is released after the report";
}
