// The live computation against the compute command: every value shown along the members, the
// end results, the reactions and the results report equal the compute command's, bit for bit,
// once a member the compute command turns round is read from the other end.
#include <gtest/gtest.h>

#include <map>

#include "analysis/Frames.h"
#include "canvas/DiagramFit.h"
#include "canvas/MemberResults.h"
#include "model/UserDialogs.h"
#include "reports/ResultsReport.h"
#include "ui/LiveResults.h"
#include "ui/ObjectPanelLogic.h"

// A cantilever 1–2 carries, through a hinge at node 2 (end a of member 2), a beam that is pinned
// at node 3. Node 2 turns with the cantilever's tip, member 2's end a does not: read from node 2's
// rotation, the table would lift node 3 off its support.
TEST(LiveResultsTest, PinnedEndOfAMemberHingedAtAStaysInPlace) {
    TFrame f;
    TUzel* n1 = f.Node(0, 0);
    TUzel* n2 = f.Node(4, 0);
    TUzel* n3 = f.Node(8, 0);
    TFrame::Support(n1, true, true, true);
    TFrame::Support(n3, true, true, false);
    f.Member(n1, n2);
    TPrut* m = f.Member(n2, n3, true, false);
    m->PridejZatizeni(KLoadDistributed, nullptr, 0, 4, 10, 10, 90);
    TRecordingDialogs quiet;
    TDialogsGuard guard(quiet);
    ASSERT_TRUE(PrubeznyVypocet(f.Space).Ok());
    ASSERT_TRUE(m->HingeA && m->NodeA == n2);

    ASSERT_TRUE(ComputeMemberResults(*m));
    const TMatrix& r = m->Results;
    const std::size_t last = r[0].size() - 1;
    EXPECT_EQ(D(r[6][last]), 0.0) << "w at the pinned node 3";
    EXPECT_EQ(D(r[5][last]), 0.0) << "u at the pinned node 3";
    EXPECT_EQ(D(r[6][0]), D(n2->Displacement[2])) << "w at node 2";
    // A simply supported span under q: its end a turns by q·L³/(24EI) more than its chord.
    const TReal chord = 1000 * n2->Displacement[2] / -4000;
    EXPECT_NEAR(D(r[4][0] - chord), D(10 * 64 / (24 * f.EI())), 1e-9);
    ReleaseMemberResults(*m);

    // Read from node 2's rotation instead, the table misses node 3; the equilibrium note says so.
    TEquilibrium e;
    ASSERT_TRUE(KontrolaRovnovahy(f.Space, e));
    EXPECT_EQ(TextRovnovahy(e).find("nesouhlasí"), std::string::npos) << TextRovnovahy(e);
    m->ResultsTurned = false;
    ASSERT_TRUE(KontrolaRovnovahy(f.Space, e));
    EXPECT_EQ(e.StationsMember, 2);
    EXPECT_NE(TextRovnovahy(e).find(", průběh na prutu 2 nesouhlasí s konci: "), std::string::npos)
        << TextRovnovahy(e);
}

namespace {
// A random frame (nodes on a grid, members in every direction, supports, loads of every kind,
// self-weight on or off) whose members then get hinges at random (none, a, b, both) and, some of
// them, a second load.
void Build(TFrame& f, unsigned seed) {
    RandomFrame(f, seed, true);
    std::mt19937 rng(seed * 7919u + 1u);
    auto uni = [&](double lo, double hi) { return lo + (hi - lo) * (double(rng()) / 4294967296.0); };
    // Hinges make mechanisms of most trees: hold about half of the free nodes in place.
    for (TUzel* n : f.Space.Nodes)
        if (!n->DofU.Fixed && !n->DofW.Fixed && !n->DofRot.Fixed && rng() % 2)
            TFrame::Support(n, true, true, false, TReal(rng() % 8) * 15);
    for (TPrut* m : f.Space.Members) {
        const unsigned hinges = rng() % 4; // none, a, b, both
        m->HingeA = hinges == 1 || hinges == 3;
        m->HingeB = hinges == 2 || hinges == 3;
        const TReal l = m->Length, a = uni(0, 0.6) * l;
        switch (rng() % 4) {
        case 0:
            m->PridejZatizeni(KLoadForce, nullptr, uni(0, 1) * l, 0, uni(-40, 40), 0, uni(0, 360));
            break;
        case 1:
            m->PridejZatizeni(KLoadMoment, nullptr, uni(0, 1) * l, 0, uni(-30, 30), 0, 0);
            break;
        case 2:
            m->PridejZatizeni(KLoadDistributed, nullptr, a, uni(0.05, 0.4) * l, uni(-20, 20), uni(-20, 20),
                              uni(0, 360));
            break;
        default:
            break;
        }
    }
    // A node without a rigid member end has no stiffness against a moment, one without members
    // none at all: a load there is a mechanism, unless a support takes it.
    for (TUzel* n : f.Space.Nodes) {
        bool joined = false, rigid = false;
        for (const TPrut* m : f.Space.Members) {
            joined = joined || m->NodeA == n || m->NodeB == n;
            rigid = rigid || (m->NodeA == n && !m->HingeA) || (m->NodeB == n && !m->HingeB);
        }
        if (!joined) TFrame::Support(n, true, true, true);
        if (!rigid) n->DofRot.Fixed = true;
    }
}

// The table as a reader gets it (the drawing's seam), copied.
TMatrix Table(TPrut& m) {
    EXPECT_TRUE(ComputeMemberResults(m));
    TMatrix r = m.Results;
    ReleaseMemberResults(m);
    return r;
}

// The results report split into lines per member and quantity ("Prut 3", "  M:").
std::map<std::string, std::vector<std::string>> ReportSections(TMKPSpace& space) {
    TStyledDocument doc;
    BuildResultsReport(space, doc, '.');
    std::map<std::string, std::vector<std::string>> sections;
    std::string member = "head", key = member;
    for (const TStyledLine& line : doc.Lines()) {
        if (line.Text.empty()) continue;
        if (line.Text.rfind("Prut ", 0) == 0)
            key = member = line.Text;
        else if (line.Text.size() == 4 && line.Text.rfind("  ", 0) == 0)
            key = member + line.Text;
        else
            sections[key].push_back(line.Text);
    }
    return sections;
}

// "    -12.345 kNm (x = 1.250 m)" → value text "-12.345", x 1.25.
std::pair<std::string, double> ValueAndX(const std::string& line) {
    const std::size_t v = line.find_first_not_of(' '), space = line.find(' ', v), x = line.find("(x = ");
    return {line.substr(v, space - v), std::stod(line.substr(x + 5))};
}

// The text of the opposite value in the report's fixed format (a zero has no sign).
std::string Negated(const std::string& v) {
    if (v[0] == '-') return v.substr(1);
    return v.find_first_not_of("0.") == std::string::npos ? v : "-" + v;
}

std::vector<std::string> PanelTexts(TMKPSpace& space) {
    std::vector<std::string> texts;
    TPrut* current = space.CurrentMember;
    for (TPrut* m : space.Members) {
        space.CurrentMember = m;
        const TMemberTexts t = MemberTexts(space);
        const TMemberLoadTexts z = MemberLoadTexts(space);
        for (const std::string* s : {&t.NodeA, &t.NodeB, &t.Length, &t.Angle, &t.Sin, &t.Cos, &z.Magnitude,
                                     &z.Position, &z.Direction})
            texts.push_back(*s);
        texts.push_back(t.HingeA ? "A" : "-");
        texts.push_back(t.HingeB ? "B" : "-");
    }
    space.CurrentMember = current;
    return texts;
}

std::vector<TReal> LoadFields(const TMKPSpace& space) {
    std::vector<TReal> v;
    for (const TPrut* m : space.Members)
        for (const TZatizeni* z : m->Loads) v.insert(v.end(), {z->A, z->B, z->C, z->Q1, z->Q2, z->Angle});
    return v;
}
} // namespace

// One copy of each random frame computed by the compute command, one by the live computation
// (twice, as after two edits that change nothing). A member the compute command turned round is
// compared from the other end: its station x' is the live station L − x' (the same subtraction
// on both sides, so the station set is the same, in reverse order); M, u and w change sign with
// the local z and x axes, N, T and the rotation keep it.
TEST(LiveResultsTest, LiveResultsEqualTheComputeCommandOnRandomFrames) {
    TRecordingDialogs quiet;
    TDialogsGuard guard(quiet);
    const int KSign[7] = {1, -1, 1, 1, 1, -1, -1};
    int computed = 0, turnedMembers = 0, mirrored = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        TFrame f11, live;
        Build(f11, seed);
        Build(live, seed);
        if (f11.Space.Vypocet().Result != TSolveResult::Ok) continue; // refused by the compute command
        const std::vector<std::string> panel = PanelTexts(live.Space);
        const std::vector<TReal> loads = LoadFields(live.Space);
        ASSERT_TRUE(PrubeznyVypocet(live.Space).Ok()) << seed;
        ASSERT_TRUE(PrubeznyVypocet(live.Space).Ok()) << seed;
        ++computed;
        const std::string at = "seed " + std::to_string(seed);

        // The model stays as the user made it: what the panel shows, every load value.
        EXPECT_EQ(PanelTexts(live.Space), panel) << at;
        const std::vector<TReal> after = LoadFields(live.Space);
        for (std::size_t i = 0; i < loads.size(); ++i) EXPECT_TRUE(SameBits(after[i], loads[i])) << at << " load " << i;

        for (int i = 0; i < f11.Space.Nodes.Count(); ++i) {
            const TUzel *a = f11.Space.Nodes[i], *b = live.Space.Nodes[i];
            for (std::size_t k = 0; k < 3; ++k) EXPECT_TRUE(SameBits(a->Displacement[k], b->Displacement[k])) << at;
            EXPECT_TRUE(SameBits(a->DofRot.Reaction, b->DofRot.Reaction)) << at;
            EXPECT_TRUE(SameBits(a->DofU.Reaction, b->DofU.Reaction)) << at;
            EXPECT_TRUE(SameBits(a->DofW.Reaction, b->DofW.Reaction)) << at;
        }
        for (int i = 0; i < f11.Space.Members.Count(); ++i) {
            TPrut *a = f11.Space.Members[i], *b = live.Space.Members[i];
            const bool turned = a->NodeA->Number != b->NodeA->Number;
            const std::string m = at + " member " + std::to_string(i + 1);
            ASSERT_EQ(turned, b->HingeA && !b->HingeB) << m;
            turnedMembers += turned;
            for (std::size_t k = 0; k < 6; ++k) {
                const TReal sign = turned && (k == 1 || k == 2 || k == 4 || k == 5) ? -1 : 1;
                EXPECT_TRUE(SameBits(b->Sa[k], sign * (turned ? a->Sb[k] : a->Sa[k]))) << m;
                EXPECT_TRUE(SameBits(b->Sb[k], sign * (turned ? a->Sa[k] : a->Sb[k]))) << m;
            }
            const TMatrix ta = Table(*a), tb = Table(*b);
            const std::size_t n = ta[0].size();
            ASSERT_EQ(tb[0].size(), n) << m;
            for (std::size_t j = 0; j < n; ++j) {
                const std::size_t k = turned ? n - 1 - j : j;
                EXPECT_TRUE(SameBits(tb[0][j], turned ? a->Length - ta[0][k] : ta[0][k])) << m << " x " << j;
                for (std::size_t row = 1; row < 7; ++row)
                    EXPECT_TRUE(SameBits(tb[row][j], (turned ? KSign[row] : 1) * ta[row][k]))
                        << m << " row " << row << " station " << j;
            }
            // Independent of the compute command: a member without hinges may be integrated from
            // either end; read from the other end, its table agrees to rounding.
            if (!b->HingeA && !b->HingeB) {
                b->ResultsTurned = true;
                const TMatrix other = Table(*b);
                b->ResultsTurned = false;
                // A load at a division point (or at an end) from one side is a hair off it from
                // the other: the stations then pair up differently.
                bool paired = other[0].size() == n;
                for (std::size_t j = 0; paired && j < n; ++j)
                    paired = std::fabs(other[0][j] - tb[0][j]) <= 1e-12L * b->Length;
                if (!paired) continue;
                ++mirrored;
                for (std::size_t row = 1; row < 7; ++row) {
                    TReal scale = 1e-3L;
                    for (TReal v : tb[row]) scale = std::max(scale, std::fabs(v));
                    for (std::size_t j = 0; j < n; ++j)
                        EXPECT_NEAR(D(other[row][j]), D(tb[row][j]), D(1e-9L * scale)) << m << " row " << row;
                }
            }
        }

        // The results report: the same lines; a turned member's in reverse order, with the
        // value texts of M, u and w of the opposite sign and the stations at L − x'.
        auto ra = ReportSections(f11.Space), rb = ReportSections(live.Space);
        ASSERT_EQ(ra.size(), rb.size()) << at;
        for (const auto& [key, linesA] : ra) {
            const std::vector<std::string>& linesB = rb[key];
            ASSERT_EQ(linesA.size(), linesB.size()) << at << " " << key;
            const int member = key == "head" ? 0 : std::stoi(key.substr(5));
            TPrut* a = member ? f11.Space.Members[member - 1] : nullptr;
            const bool turned = a && a->NodeA->Number != live.Space.Members[member - 1]->NodeA->Number;
            if (!turned) {
                EXPECT_EQ(linesA, linesB) << at << " " << key;
                continue;
            }
            const bool flips = key.find("M:") != std::string::npos || key.find("u:") != std::string::npos ||
                               key.find("w:") != std::string::npos;
            for (std::size_t j = 0; j < linesB.size(); ++j) {
                const auto [va, xa] = ValueAndX(linesA[linesA.size() - 1 - j]);
                const auto [vb, xb] = ValueAndX(linesB[j]);
                EXPECT_EQ(vb, flips ? Negated(va) : va) << at << " " << key << " " << linesB[j];
                EXPECT_NEAR(xb, D(a->Length) - xa, 1.1e-3) << at << " " << key;
            }
        }

        // The diagram scale fit reads the same largest values; the equilibrium note says the same
        // and warns only where the frame is nearly a mechanism (displacements beyond a kilometre).
        for (int mode = 1; mode <= 4; ++mode)
            EXPECT_TRUE(SameBits(NejvetsiPoradnice(live.Space, mode), NejvetsiPoradnice(f11.Space, mode))) << at;
        TEquilibrium ea, eb;
        ASSERT_TRUE(KontrolaRovnovahy(f11.Space, ea));
        ASSERT_TRUE(KontrolaRovnovahy(live.Space, eb));
        EXPECT_TRUE(SameBits(eb.Stations, ea.Stations)) << at;
        EXPECT_EQ(TextRovnovahy(eb), TextRovnovahy(ea)) << at;
        TReal largest = 0;
        for (const TUzel* n : live.Space.Nodes)
            for (TReal d : n->Displacement) largest = std::max(largest, std::fabs(d));
        if (largest < 1e6L) EXPECT_EQ(TextRovnovahy(eb).find("nesouhlasí"), std::string::npos) << TextRovnovahy(eb);
    }
    EXPECT_GE(computed, 80);
    EXPECT_GE(turnedMembers, 150);
    EXPECT_GE(mirrored, 60);
}
