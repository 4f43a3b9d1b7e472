// The live computation against the compute command: every value shown along the members, the
// end results, the reactions and the results report equal the compute command's, bit for bit,
// once a member the compute command turns round is read from the other end.
#include <gtest/gtest.h>

#include "analysis/Frames.h"
#include "canvas/MemberResults.h"
#include "model/UserDialogs.h"
#include "ui/LiveResults.h"

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
}
