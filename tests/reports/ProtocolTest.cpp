#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "GoldenCases.h"
#include "model/MKPSpace.h"
#include "reports/DocumentWriters.h"
#include "reports/Protocol.h"

namespace {
std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string ProtocolText(TMKPSpace& space, char separator) {
    TStyledDocument doc;
    BuildProtocol(space, doc, separator);
    return DocumentToText(doc);
}

std::vector<std::string> TextLines(const TStyledDocument& doc) {
    std::vector<std::string> lines;
    for (const TStyledLine& l : doc.Lines())
        lines.push_back(l.Text);
    return lines;
}

// A model of one material, one section and three nodes on two members, built by hand.
struct TSmallModel {
    TMKPSpace space;
    TMaterial* steel = space.PridejMaterial("S1", 210000, 7850);
    TProfil* section = space.PridejProfil("S1", steel, 0.001, 0.00001, 0.000002);
    TUzel* Node(TReal x, TReal y) { return space.PridejUzel(space.Nodes.Count() + 1, x, y); }
    TPrut* Member(TUzel* a, TUzel* b, bool hingeA = false, bool hingeB = false) {
        return space.PridejPrut(a, b, section, false, space.Members.Count() + 1, hingeA, hingeB);
    }
};
} // namespace

class ProtocolGolden : public ::testing::TestWithParam<TGoldenCase> {};

TEST_P(ProtocolGolden, MatchesTheReference) {
    const TGoldenCase& c = GetParam();
    TMKPSpace space;
    space.NactiProjekt(GoldenProjectPath(c));
    space.NastavSoustavuJednotek(std::get<1>(c).UnitSystem);
    const std::string golden = GoldenPath(c, "protocol");
    const std::string expected = ReadFile(golden);
    ASSERT_FALSE(expected.empty()) << golden;
    EXPECT_EQ(ProtocolText(space, std::get<1>(c).Separator), expected) << golden;
}

INSTANTIATE_TEST_SUITE_P(Examples, ProtocolGolden, GoldenTable(KGoldenExamples), GoldenCaseName);

TEST(Protocol, EmptyModelGivesTheHeadingsInTheirStyles) {
    TMKPSpace space;
    TStyledDocument doc;
    doc.AppendLine("old content");
    BuildProtocol(space, doc, '.');
    const std::vector<std::string> expected = {"PROTOKOL", "",     "MATERIÁLY", "",     "PROFILY",
                                               "",         "UZLY", "",          "PRUTY"};
    EXPECT_EQ(TextLines(doc), expected);
    const auto& l = doc.Lines();
    EXPECT_TRUE(l[0].Bold);
    EXPECT_EQ(l[0].Size, 14);
    EXPECT_TRUE(l[1].Bold);
    EXPECT_EQ(l[1].Size, 14);
    for (int i : {2, 4, 6, 8}) {
        EXPECT_TRUE(l[static_cast<std::size_t>(i)].Bold) << i;
        EXPECT_EQ(l[static_cast<std::size_t>(i)].Size, 10) << i;
    }
    for (int i : {3, 5, 7}) { // the empty lines follow the normal 8-point listing
        EXPECT_FALSE(l[static_cast<std::size_t>(i)].Bold) << i;
        EXPECT_EQ(l[static_cast<std::size_t>(i)].Size, 8) << i;
    }
    EXPECT_EQ(doc.Caption(), "Protokol");
}

TEST(Protocol, CleansUnusedObjectsFirst) {
    TSmallModel m;
    TMaterial* unusedMaterial = m.space.PridejMaterial("Dřevo", 10000, 500);
    TMaterial* onlyOnUnusedSection = m.space.PridejMaterial("Beton", 30000, 2500);
    m.space.PridejProfil("Nepoužitý", onlyOnUnusedSection, 1, 1, 1);
    TUzel* n1 = m.Node(0, 0);
    TUzel* lonely = m.Node(1, 1);
    TUzel* n3 = m.Node(5, 0);
    lonely->PridejZatizeni(KLoadForce, nullptr, 3, 0);
    m.space.CurrentNode = lonely;
    m.space.CurrentMaterial = unusedMaterial;
    m.Member(n1, n3);

    TStyledDocument doc;
    BuildProtocol(m.space, doc, '.');
    const std::vector<std::string> expected = {
        "PROTOKOL",
        "",
        "MATERIÁLY",
        "[1] S1: E=2.100E+5MPa, D=7.850E+3kg/m3",
        "",
        "PROFILY",
        "[1] S1: A=1.000E-3m2, Iy=1.000E-5m4, Iz=2.000E-6m4, (S1)",
        "",
        "UZLY",
        "[1]: (0.000;0.000), Podpora: žádná, Rotace podpory: 0.00°",
        "    Zatížení:",
        "    (žádné)",
        "[2]: (5.000;0.000), Podpora: žádná, Rotace podpory: 0.00°", // the former node 3
        "    Zatížení:",
        "    (žádné)",
        "",
        "PRUTY",
        "[1]: S1, l=5.000m, orientace: 0.00°, uzel \"a\" [1] (pevné), uzel \"b\" [2] (pevné)",
        "    Zatížení:",
        "    (žádné)",
    };
    EXPECT_EQ(TextLines(doc), expected);
    // The deletions are permanent and the current objects are valid again.
    EXPECT_EQ(m.space.Nodes.Count(), 2);
    EXPECT_EQ(n3->Number, 2);
    EXPECT_EQ(n3->DofW.Code, 6);
    EXPECT_EQ(m.space.CurrentNode, n1);
    EXPECT_EQ(m.space.Sections.Count(), 1);
    EXPECT_EQ(m.space.Materials.Count(), 1);
    EXPECT_EQ(m.space.CurrentMaterial, m.steel);
}

TEST(Protocol, SupportNamesFirstMatchingRule) {
    struct Row {
        bool u, w, r;
        const char* name;
    } rows[] = {
        {true, true, true, "Vetknutí"},
        {true, false, true, "Pos.vetknutí"},
        {true, true, false, "Kloub"},
        {true, false, false, "Pos.kloub - \"u\""},
        {false, true, false, "Pos.kloub - \"w\""},
        {false, true, true, "Pos.kloub - \"w\""}, // w with rotation: no name of its own
        {false, false, true, "žádná"},            // rotation only
        {false, false, false, "žádná"},
    };
    for (const Row& row : rows) {
        TUzel node(1, 0, 0);
        node.DofU.Fixed = row.u;
        node.DofW.Fixed = row.w;
        node.DofRot.Fixed = row.r;
        EXPECT_EQ(SupportName(node), row.name) << row.u << row.w << row.r;
    }
}

TEST(Protocol, MemberLineAndLoadLinesMetric) {
    TSmallModel m;
    TUzel* n1 = m.Node(0, 5);
    m.Node(3, 3);
    m.Node(6, 3);
    TUzel* n4 = m.Node(0, 0);
    n4->DofU.Fixed = n4->DofW.Fixed = true;
    n4->DofU.Angle = n4->DofW.Angle = n4->DofRot.Angle = 30;
    m.Member(m.space.Nodes[1], m.space.Nodes[2]);
    m.Member(m.space.Nodes[2], m.space.Nodes[1]);
    TPrut* p = m.Member(n1, n4, false, true);
    p->PridejZatizeni(KLoadForce, nullptr, 1.25, 0, 12.5, 0, 90);
    p->PridejZatizeni(KLoadMoment, nullptr, 2, 0, -4, 0, 0);
    p->PridejZatizeni(KLoadDistributed, nullptr, 0.5, 3, 1.5, 2.25, 270);
    n1->PridejZatizeni(KLoadMoment, nullptr, 7, 0);

    TStyledDocument doc;
    BuildProtocol(m.space, doc, '.');
    const auto lines = TextLines(doc);
    auto has = [&lines](const std::string& s) {
        return std::find(lines.begin(), lines.end(), s) != lines.end();
    };
    EXPECT_TRUE(has("[3]: S1, l=5.000m, orientace: 90.00°, uzel \"a\" [1] (pevné), uzel \"b\" [4] (kloub)"));
    EXPECT_TRUE(has("    [1] P: 12.500kN, poloha: 1.250m, orientace: 90.00°"));
    EXPECT_TRUE(has("    [2] M: -4.000kNm, poloha: 2.000m"));
    EXPECT_TRUE(
        has("    [3] q: 1.500kN/ 2.250kN, poloha: 0.500m, zatěžovací délka: 3.000m, orientace: 270.00°"));
    EXPECT_TRUE(has("    [1] M: 7.000kNm"));
    EXPECT_TRUE(has("[4]: (0.000;0.000), Podpora: Kloub, Rotace podpory: 30.00°"));
}

TEST(Protocol, ImperialLoadsConvertForcesAndMoments) {
    TSmallModel m;
    m.space.NastavSoustavuJednotek(1);
    TUzel* a = m.Node(0, 0);
    TUzel* b = m.Node(0.3048, 0); // one foot
    TPrut* p = m.Member(a, b, true, false);
    p->PridejZatizeni(KLoadMoment, nullptr, 0.0254, 0, 1, 0, 0);
    p->PridejZatizeni(KLoadForce, nullptr, 0.1524, 0, 1, 0, 45);
    p->PridejZatizeni(KLoadDistributed, nullptr, 0, 0.3048, 1, 2, 90);
    a->PridejZatizeni(KLoadMoment, nullptr, 1, 0);
    a->PridejZatizeni(KLoadForce, nullptr, 1, 180);

    TStyledDocument doc;
    BuildProtocol(m.space, doc, ',');
    const auto lines = TextLines(doc);
    auto has = [&lines](const std::string& s) {
        return std::find(lines.begin(), lines.end(), s) != lines.end();
    };
    // 1 kNm = 737.562… lb.ft, 1 kN = 224.809… lb and 1 kN/m = 68.5218… lb/ft, with six
    // significant digits.
    EXPECT_TRUE(has("    [1] M: 737,562lb.ft"));
    EXPECT_TRUE(has("    [2] P: 224,809lb, orientace: 180,00°"));
    EXPECT_TRUE(
        has("[1]: S1, l=1'-0,000'', orientace: 0,00°, uzel \"a\" [1] (kloub), uzel \"b\" [2] (pevné)"));
    EXPECT_TRUE(has("    [1] M: 737,562lb.ft, poloha: 0'-1,000''"));
    EXPECT_TRUE(has("    [2] P: 224,809lb, poloha: 0'-6,000'', orientace: 45,00°"));
    EXPECT_TRUE(has("    [3] q: 68,522lb/ft/ 137,044lb/ft, poloha: 0'-0,000'', zatěžovací délka: 1'-0,000'', "
                    "orientace: 90,00°"));
    EXPECT_TRUE(has("[2]: (1'-0,000'';0'-0,000''), Podpora: žádná, Rotace podpory: 0,00°"));
    EXPECT_TRUE(has("[1] S1: E=3,046E+7psi, D=4,901E+2lb/ft3"));
    EXPECT_TRUE(has("[1] S1: A=1,550E+0in2, Iy=2,403E+1in4, Iz=4,805E+0in4, (S1)"));
}

TEST(Protocol, SelfWeightCountsButGivesNoLine) {
    TSmallModel m;
    TUzel* a = m.Node(0, 0);
    TUzel* b = m.Node(4, 0);
    TPrut* p = m.Member(a, b);
    m.space.NastavVlastniTihu(true);
    TStyledDocument doc;
    BuildProtocol(m.space, doc, '.');
    auto lines = TextLines(doc);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2],
              "[1]: S1, l=4.000m, orientace: 0.00°, uzel \"a\" [1] (pevné), uzel \"b\" [2] (pevné)");
    EXPECT_EQ(lines.back(), "    Zatížení:"); // nothing under it, not "(žádné)"

    p->PridejZatizeni(KLoadForce, nullptr, 1, 0, 2, 0, 90); // numbered after the self-weight load
    BuildProtocol(m.space, doc, '.');
    lines = TextLines(doc);
    EXPECT_EQ(lines.back(), "    [2] P: 2.000kN, poloha: 1.000m, orientace: 90.00°");
}

TEST(Protocol, CoordinatesWithFiveSignificantDigits) {
    TSmallModel m;
    TUzel* a = m.Node(123.4567, -0.0004);
    TUzel* b = m.Node(0, 1);
    m.Member(a, b);
    TStyledDocument doc;
    BuildProtocol(m.space, doc, '.');
    const auto lines = TextLines(doc);
    EXPECT_NE(
        std::find(lines.begin(), lines.end(), "[1]: (123.460;0.000), Podpora: žádná, Rotace podpory: 0.00°"),
        lines.end());
}
