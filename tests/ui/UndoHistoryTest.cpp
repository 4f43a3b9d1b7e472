// The snapshot history without a window: steps, limit, redo dropped by a new edit, and snapshots
// that bring a model back exactly.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "model/MKPSpace.h"
#include "model/NumberText.h"
#include "ui/UndoHistory.h"

namespace {
TModelSnapshot State(const std::string& text, int currentNode = -1) {
    TModelSnapshot s;
    s.Project = text;
    s.CurrentNode = currentNode;
    return s;
}

std::string Text(TMKPSpace& s) {
    std::ostringstream out;
    s.UlozProjekt(out);
    return out.str();
}
} // namespace

TEST(UndoHistoryTest, StepsLimitAndRedo) {
    TUndoHistory h(3);
    h.Reset(State("a"));
    EXPECT_FALSE(h.Commit(State("a", 5))); // the same model: no step, only what is current
    EXPECT_EQ(h.Current()->CurrentNode, 5);
    for (const char* t : {"b", "c", "d", "e"})
        EXPECT_TRUE(h.Commit(State(t)));
    EXPECT_EQ(h.Steps(), 3u); // "a" has gone
    const TModelSnapshot* left = nullptr;
    std::string undone;
    while (const TModelSnapshot* s = h.Undo(left)) undone += left->Project + ">" + s->Project + " ";
    EXPECT_EQ(undone, "e>d d>c c>b ");
    EXPECT_EQ(h.Undo(left), nullptr);
    ASSERT_NE(h.Redo(left), nullptr);
    EXPECT_EQ(left->Project, "c");
    EXPECT_TRUE(h.CanRedo());
    EXPECT_TRUE(h.Commit(State("x"))); // drops "d" and "e"
    EXPECT_FALSE(h.CanRedo());
    EXPECT_EQ(h.Undo(left)->Project, "c");
    EXPECT_EQ(h.Undo(left)->Project, "b");
    EXPECT_FALSE(h.CanUndo());
}

TEST(UndoHistoryTest, SameIgnoresCurrentObjectsButNotSelfWeightOrDivisions) {
    TModelSnapshot a = State("t"), b = State("t", 3);
    EXPECT_TRUE(a.Same(b));
    b.SelfWeight = true;
    EXPECT_FALSE(a.Same(b));
    b = State("t");
    b.Divisions = {12};
    EXPECT_FALSE(a.Same(b));
}

// Every example taken and restored into a model edited in between equals itself byte for byte,
// with self-weight, divisions and the current objects as the snapshot says.
TEST(UndoHistoryTest, SnapshotsRestoreEveryExample) {
    SetDecimalSeparator('.');
    for (const char* name : {"portal-frame", "continuous-beam", "three-hinged-frame", "truss"}) {
        TMKPSpace space;
        space.NactiProjekt(std::string(KORVAN_SOURCE_DIR) + "/examples/" + name + ".inp");
        space.Members.Last()->Divisions = 37;
        space.NastavVlastniTihu(true);
        space.CurrentNode = space.Nodes.Last();
        space.CurrentMember = space.Members[0];
        TModelSnapshot s;
        ASSERT_TRUE(TakeSnapshot(space, s)) << name;
        const std::string before = Text(space);

        space.NastavVlastniTihu(false);
        space.Nodes[0]->PridejZatizeni(KLoadMoment, nullptr, 4, 0);
        space.PridejUzel(space.Nodes.Count() + 1, 50, 50);
        space.SelectedNodes.Add(space.Nodes.Last());
        space.ResultsValid = true;
        ASSERT_NE(Text(space), before);

        RestoreSnapshot(space, s, s);
        EXPECT_EQ(Text(space), before) << name;
        EXPECT_TRUE(space.SelfWeight);
        int selfWeightLoads = 0;
        for (TPrut* m : space.Members)
            for (TZatizeni* z : m->Loads)
                selfWeightLoads += z->Kind == KLoadSelfWeight;
        EXPECT_EQ(selfWeightLoads, space.Members.Count()) << name;
        EXPECT_EQ(space.Members.Last()->Divisions, 37);
        EXPECT_EQ(space.CurrentNode, space.Nodes.Last());
        EXPECT_EQ(space.CurrentMember, space.Members[0]);
        EXPECT_TRUE(space.SelectedNodes.Empty());
        EXPECT_FALSE(space.ResultsValid);
        TModelSnapshot again;
        ASSERT_TRUE(TakeSnapshot(space, again));
        EXPECT_TRUE(again.Same(s));
    }
}

// A model the project writer refuses gives no snapshot (and the history keeps its last state).
TEST(UndoHistoryTest, UnwritableModelGivesNoSnapshot) {
    TMKPSpace space;
    space.PridejMaterial("S", 210000, 7850);
    space.PridejMaterial("S", 1, 1); // the same name twice
    TModelSnapshot s = State("kept");
    EXPECT_FALSE(TakeSnapshot(space, s));
    EXPECT_EQ(s.Project, "kept");
}

// Reals with more digits than the project text holds come back to the bit, and so does a member
// load's distance to node b, which the text does not hold at all.
TEST(UndoHistoryTest, RealsComeBackToTheBit) {
    TMKPSpace space;
    TMaterial* m = space.PridejMaterial("S", 210000.0L / 3, 7850);
    TProfil* p = space.PridejProfil("P", m, 0.01L / 7, 1e-4L / 3, 1e-5L);
    TUzel* a = space.PridejUzel(1, 0, 0);
    TUzel* b = space.PridejUzel(2, 10.0L / 3, 2.0L / 7);
    b->DofU.Angle = b->DofW.Angle = b->DofRot.Angle = 100.0L / 3;
    TPrut* member = space.PridejPrut(a, b, p, false, 1, false, false);
    member->Geometrie();
    member->PridejZatizeni(KLoadDistributed, nullptr, 1.0L / 3, 2, 5.0L / 3, 1, 90);
    b->X += 0.25L; // the member grows; its load keeps B
    member->Geometrie();
    TModelSnapshot s;
    ASSERT_TRUE(TakeSnapshot(space, s));
    const TReal x = b->X, y = b->Y, e = m->E, angle = b->DofW.Angle, loadB = member->Loads.First()->B;
    const TReal length = member->Length;

    b->X = 1;
    member->Loads.First()->Q1 = 0;
    RestoreSnapshot(space, s, s);
    auto bits = [](TReal u, TReal v) { return std::memcmp(&u, &v, 10) == 0; };
    TUzel* b2 = space.Nodes[1];
    EXPECT_TRUE(bits(b2->X, x));
    EXPECT_TRUE(bits(b2->Y, y));
    EXPECT_TRUE(bits(space.Materials[0]->E, e));
    EXPECT_TRUE(bits(b2->DofW.Angle, angle));
    EXPECT_TRUE(bits(space.Members[0]->Loads.First()->B, loadB));
    EXPECT_TRUE(bits(space.Members[0]->Length, length));
    TModelSnapshot again;
    ASSERT_TRUE(TakeSnapshot(space, again));
    EXPECT_TRUE(again.Same(s));
    // A change beyond 15 digits is still a change (and the text, which keeps every real, holds it).
    space.Nodes[1]->X *= 1 + 1e-17L;
    ASSERT_TRUE(TakeSnapshot(space, again));
    EXPECT_NE(again.Project, s.Project);
    EXPECT_FALSE(again.Same(s));
}
