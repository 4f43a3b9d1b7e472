// The live computation against the compute command: every value shown along the members, the
// end results, the reactions and the results report equal the compute command's, bit for bit,
// once a member the compute command turns round is read from the other end.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "analysis/Frames.h"
#include "analysis/MemberTable.h"
#include "canvas/DiagramFit.h"
#include "canvas/MemberResults.h"
#include "model/UserDialogs.h"
#include "reports/ResultsReport.h"
#include "ui/editing/LiveResults.h"
#include "ui/panel/ObjectPanelLogic.h"

namespace {
TMatrix Table(TPrut& m) { // as the drawing gets it
    EXPECT_TRUE(ComputeMemberResults(m));
    TMatrix r = m.Results;
    ReleaseMemberResults(m);
    return r;
}
} // namespace

// A cantilever 1–2 carries, through a hinge at node 2 (end a of member 2), a beam that is pinned
// at node 3. Node 2 turns with the cantilever's tip, member 2's end a does not: read from node 2's
// rotation, the table would lift node 3 off its support.
TEST(LiveResultsTest, PinnedEndOfAMemberHingedAtAStaysInPlace) {
    TFrame f;
    TUzel *n1 = f.Node(0, 0), *n2 = f.Node(4, 0), *n3 = f.Node(8, 0);
    TFrame::Support(n1, true, true, true);
    TFrame::Support(n3, true, true, false);
    f.Member(n1, n2);
    TPrut* m = f.Member(n2, n3, true, false);
    m->PridejZatizeni(KLoadDistributed, nullptr, 0, 4, 10, 10, 90);
    TRecordingDialogs quiet;
    TDialogsGuard guard(quiet);
    ASSERT_TRUE(PrubeznyVypocet(f.Space).Ok() && m->NodeA == n2);
    const TMatrix r = Table(*m);
    EXPECT_EQ(D(r[6].back()), 0.0) << "w at the pinned node 3";
    // A simply supported span under q: its end a turns by q·L³/(24EI) more than its chord.
    const TReal chord = 1000 * n2->Displacement[2] / -4000;
    EXPECT_NEAR(D(r[4][0] - chord), D(10 * 64 / (24 * f.EI())), 1e-9);

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
// A random frame (Frames.h: members in every direction, supports, loads of every kind, self-weight
// on or off) with hinges at random on every member: none, a, b or both. Half of the free nodes are
// held in place and the rotation of a node without a rigid member end is held, or hinges would
// make mechanisms of most of these frames.
void Build(TFrame& f, unsigned seed) {
    RandomFrame(f, seed, true);
    std::mt19937 rng(seed);
    for (TPrut* m : f.Space.Members) {
        const unsigned hinges = rng() % 4;
        m->HingeA = hinges == 1 || hinges == 3;
        m->HingeB = hinges >= 2;
    }
    for (TUzel* n : f.Space.Nodes) {
        bool rigid = false;
        for (const TPrut* m : f.Space.Members)
            rigid = rigid || (m->NodeA == n && !m->HingeA) || (m->NodeB == n && !m->HingeB);
        if (!n->DofU.Fixed && !n->DofW.Fixed && rng() % 2)
            TFrame::Support(n, true, true, false, rng() % 8 * 15.0L);
        n->DofRot.Fixed = n->DofRot.Fixed || !rigid;
    }
}

// The results report's lines by member and quantity ("Prut 3  M:"), the reactions under "".
std::map<std::string, std::vector<std::string>> Report(TMKPSpace& space) {
    TStyledDocument doc;
    BuildResultsReport(space, doc, '.');
    std::map<std::string, std::vector<std::string>> sections;
    std::string member, key;
    for (const TStyledLine& line : doc.Lines())
        if (line.Text.rfind("Prut ", 0) == 0)
            key = member = line.Text;
        else if (line.Text.size() == 4 && line.Text[2] != ' ')
            key = member + line.Text;
        else if (!line.Text.empty())
            sections[key].push_back(line.Text);
    return sections;
}

// What a member and its loads are made of, and what the panel shows of them.
std::vector<std::string> Model(TMKPSpace& space) {
    std::vector<std::string> v;
    for (TPrut* m : space.Members) {
        space.CurrentMember = m;
        const TMemberTexts t = MemberTexts(space);
        v.insert(v.end(),
                 {t.NodeA, t.NodeB, t.Length, t.Angle, t.Sin, t.Cos, MemberLoadTexts(space).Position});
        for (const TZatizeni* z : m->Loads)
            for (TReal x : {z->A, z->B, z->C, z->Q1, z->Q2, z->Angle})
                v.emplace_back((const char*)&x, 10);
    }
    return v;
}
} // namespace

// One copy of each random frame computed by the compute command, one by the live computation
// (twice: the second starts from the model the first left). A member the compute command turned
// round is compared from its other end: the live station is L − x' for its station x' (the same
// subtraction on both sides: the same station set in reverse order); M, u and w change sign with
// the local axes, N, T and the rotation keep it. In the report, whose stations are rounded to
// millimetres, the value texts are compared and the stations to a millimetre.
TEST(LiveResultsTest, LiveResultsEqualTheComputeCommandOnRandomFrames) {
    TRecordingDialogs quiet;
    TDialogsGuard guard(quiet);
    const TReal KSign[7] = {1, -1, 1, 1, 1, -1, -1};
    int computed = 0, turnedMembers = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        TFrame f11, live;
        Build(f11, seed);
        Build(live, seed);
        if (f11.Space.Vypocet().Result != TSolveResult::Ok) continue; // refused by the compute command
        const std::vector<std::string> model = Model(live.Space);
        ASSERT_TRUE(PrubeznyVypocet(live.Space).Ok() && PrubeznyVypocet(live.Space).Ok()) << seed;
        EXPECT_EQ(Model(live.Space), model) << seed; // the model stays as the user made it
        ++computed;
        for (int i = 0; i < f11.Space.Nodes.Count(); ++i) {
            const TUzel *a = f11.Space.Nodes[i], *b = live.Space.Nodes[i];
            for (std::size_t k = 0; k < 3; ++k)
                EXPECT_TRUE(SameBits(a->Displacement[k], b->Displacement[k])) << seed;
            for (auto dof : {&TUzel::DofRot, &TUzel::DofU, &TUzel::DofW})
                EXPECT_TRUE(SameBits((a->*dof).Reaction, (b->*dof).Reaction)) << seed;
        }
        const auto reportA = Report(f11.Space), reportB = Report(live.Space);
        ASSERT_EQ(reportA.size(), reportB.size()) << seed;
        EXPECT_EQ(reportA.at(""), reportB.at("")) << seed;
        for (int i = 0; i < f11.Space.Members.Count(); ++i) {
            TPrut *a = f11.Space.Members[i], *b = live.Space.Members[i];
            const bool turned = a->NodeA->Number != b->NodeA->Number;
            ASSERT_EQ(turned, b->HingeA && !b->HingeB) << seed;
            turnedMembers += turned;
            for (std::size_t k = 0; k < 6; ++k) {
                EXPECT_TRUE(SameBits(b->Sa[k], turned ? ReversedEndResults(a->Sb)[k] : a->Sa[k])) << seed;
                EXPECT_TRUE(SameBits(b->Sb[k], turned ? ReversedEndResults(a->Sa)[k] : a->Sb[k])) << seed;
            }
            const TMatrix ta = Table(*a), tb = Table(*b);
            const std::size_t n = ta[0].size();
            ASSERT_EQ(tb[0].size(), n) << seed;
            for (std::size_t j = 0, k = turned ? n - 1 : 0; j < n; ++j, k += turned ? -1 : 1) {
                EXPECT_TRUE(SameBits(tb[0][j], turned ? a->Length - ta[0][k] : ta[0][k])) << seed;
                for (std::size_t row = 1; row < 7; ++row)
                    EXPECT_TRUE(SameBits(tb[row][j], (turned ? KSign[row] : 1) * ta[row][k]))
                        << seed << " " << row;
            }
            for (const char* q : {"  M:", "  N:", "  T:", "  u:", "  w:"}) {
                const std::string key = "Prut " + std::to_string(i + 1) + q;
                const std::vector<std::string>&la = reportA.at(key), &lb = reportB.at(key);
                ASSERT_EQ(la.size(), lb.size()) << seed << key;
                for (std::size_t j = 0; j < lb.size() && turned; ++j) {
                    std::istringstream ia(la[la.size() - 1 - j]), ib(lb[j]);
                    std::string va, vb, skip;
                    double xa, xb;
                    ia >> va >> skip >> skip >> skip >> xa;
                    ib >> vb >> skip >> skip >> skip >> xb;
                    if (KSign[q[2] == 'M'   ? 1
                              : q[2] == 'u' ? 5
                              : q[2] == 'w' ? 6
                                            : 2] < 0 &&
                        vb.find_first_not_of("-0.") != std::string::npos)
                        vb = vb[0] == '-' ? vb.substr(1) : "-" + vb;
                    EXPECT_EQ(vb, va) << seed << key;
                    EXPECT_NEAR(xb, D(a->Length) - xa, 1.1e-3) << seed << key;
                }
                if (!turned) EXPECT_EQ(la, lb) << seed << key;
            }
        }
        // The diagram fit reads the same largest values; the equilibrium note is the same and,
        // where the solution is sound, warns of no member.
        for (int mode = 1; mode <= 4; ++mode)
            EXPECT_TRUE(SameBits(NejvetsiPoradnice(live.Space, mode), NejvetsiPoradnice(f11.Space, mode)))
                << seed;
        TEquilibrium ea, eb;
        ASSERT_TRUE(KontrolaRovnovahy(f11.Space, ea) && KontrolaRovnovahy(live.Space, eb));
        EXPECT_EQ(TextRovnovahy(eb), TextRovnovahy(ea)) << seed;
        if (eb.Residual < 1e-9L) EXPECT_LE(D(eb.Stations), D(KStationsLimit)) << seed << TextRovnovahy(eb);
    }
    EXPECT_GE(computed, 80);
    EXPECT_GE(turnedMembers, 150);
}
