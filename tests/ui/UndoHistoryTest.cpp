// The snapshot history without a window: steps, limit, redo dropped by a new edit, and snapshots
// that bring a model back exactly.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sstream>

#include "base/NumberText.h"
#include "model/MKPSpace.h"
#include "ui/editing/UndoHistory.h"

namespace {
TModelSnapshot State(const std::string& text, int currentNode = -1) {
    TModelSnapshot s;
    s.Project = text;
    s.View.CurrentNode = currentNode;
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
    EXPECT_EQ(h.Current()->View.CurrentNode, 5);
    int marker = 0;
    for (const char* t : {"b", "c", "d", "e"})
        EXPECT_TRUE(h.Commit(State(t, ++marker)));
    EXPECT_EQ(h.Steps(), 3u); // "a" has gone
    TModelView left;
    std::string undone;
    while (const TModelSnapshot* s = h.Undo(left))
        undone += std::to_string(left.CurrentNode) + ">" + s->Project + " ";
    EXPECT_EQ(undone, "4>d 3>c 2>b ");
    EXPECT_EQ(h.Undo(left), nullptr);
    ASSERT_NE(h.Redo(left), nullptr);
    EXPECT_EQ(h.Current()->Project, "c");
    EXPECT_EQ(left.CurrentNode, 1);
    EXPECT_TRUE(h.CanRedo());
    EXPECT_TRUE(h.Commit(State("x"))); // drops "d" and "e"
    EXPECT_FALSE(h.CanRedo());
    EXPECT_EQ(h.Undo(left)->Project, "c");
    EXPECT_EQ(h.Undo(left)->Project, "b");
    EXPECT_FALSE(h.CanUndo());
}

// What is current never makes another model; what the text lacks does.
TEST(UndoHistoryTest, SameIgnoresCurrentObjectsButNotWhatTheTextLacks) {
    TMKPSpace space;
    space.NactiProjekt(std::string(KORVAN_SOURCE_DIR) + "/examples/portal-frame.inp");
    TModelSnapshot base, other;
    ASSERT_TRUE(TakeSnapshot(space, base));
    space.CurrentNode = space.Nodes[2];
    ASSERT_TRUE(TakeSnapshot(space, other));
    EXPECT_TRUE(other.Same(base));
    const std::pair<std::function<void()>, std::function<void()>> changes[] = {
        {[&] { space.NastavVlastniTihu(true); }, [&] { space.NastavVlastniTihu(false); }},
        {[&] { ++space.Members[1]->Divisions; }, [&] { --space.Members[1]->Divisions; }},
        {[&] { ++space.MemberDivision; }, [&] { --space.MemberDivision; }},
        {[&] { space.WeightCase.Factor = 1.35L; }, [&] { space.WeightCase.Factor = 1; }}};
    for (const auto& [change, back] : changes) {
        change();
        ASSERT_TRUE(TakeSnapshot(space, other));
        EXPECT_FALSE(other.Same(base));
        back();
    }
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

        RestoreSnapshot(space, s, s.View);
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
    RestoreSnapshot(space, s, s.View);
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

namespace {
// Every member's loads (kind, load case, reals bit for bit) and the current member's current load.
std::string MemberLoads(const TMKPSpace& space) {
    std::string s;
    for (const TPrut* m : space.Members) {
        for (const TZatizeni* z : m->Loads) {
            s += std::to_string(z->Kind) + (z->LoadCase == &space.WeightCase ? "w" : "-");
            for (TReal v : {z->A, z->B, z->C, z->Q1, z->Q2, z->Angle})
                s.append(reinterpret_cast<const char*>(&v), 10);
        }
        s += m == space.CurrentMember ? "|" + std::to_string(m->Loads.IndexOf(m->CurrentLoad)) + "\n" : "\n";
    }
    return s;
}
} // namespace

// What the text lacks comes back: self-weight loads where they stood (switched on between other
// loads, twice, and missing on a member added later), the model's member division and the
// self-weight coefficient; the section on the clipboard stays there.
TEST(UndoHistoryTest, RestoreBringsBackWhatTheTextLacks) {
    TMKPSpace space;
    space.NactiProjekt(std::string(KORVAN_SOURCE_DIR) + "/examples/portal-frame.inp");
    for (TPrut* m : space.Members)
        m->PridejZatizeni(KLoadForce, nullptr, 1, 0, 5, 0, 90);
    space.NastavVlastniTihu(true);
    space.Members[0]->PridejZatizeni(KLoadDistributed, nullptr, 0, 2, 3, 3, 90);
    space.NastavVlastniTihu(true);
    space.PridejPrut(space.Nodes[0], space.Nodes[2], space.Sections[0], false, 4, false, false);
    space.CurrentMember = space.Members[0];
    space.CurrentMember->CurrentLoad = space.CurrentMember->Loads[1];
    space.MemberDivision = 25;
    space.WeightCase.Factor = 1.35L;
    const std::string loads = MemberLoads(space);
    TModelSnapshot s, now;
    ASSERT_TRUE(TakeSnapshot(space, s));
    space.MemberDivision = 10;
    space.WeightCase.Factor = 1;
    space.SectionClipboard = space.Sections[1];
    ASSERT_TRUE(TakeSnapshot(space, now));
    RestoreSnapshot(space, s, now.View);
    EXPECT_EQ(MemberLoads(space), loads);
    EXPECT_EQ(space.MemberDivision, 25);
    EXPECT_EQ(space.WeightCase.Factor, 1.35L);
    EXPECT_EQ(space.SectionClipboard, space.Sections[1]);
}

// A patch rebuilds its text from the reference, whatever the two share; a change in the middle of
// a long text keeps only the change.
TEST(UndoHistoryTest, PatchesRebuildEveryText) {
    std::string longText;
    for (int i = 0; i < 5000; ++i)
        longText += std::to_string(i * 7919 % 1000) + "\r\n";
    std::string edited = longText;
    edited[edited.size() / 2] = 'x';
    for (const std::string& a : {std::string(), std::string("aXa"), std::string("abcabc"), longText, edited})
        for (const std::string& b : {std::string("a"), std::string("aa"), std::string("cab"),
                                     longText.substr(3), longText + "abc", edited})
            ASSERT_EQ(ApplyPatch(a, MakePatch(a, b)), b) << a.size() << " " << b.size();
    EXPECT_EQ(MakePatch(longText, edited).Middle.size(), 1u);
}

// Steps of whole new texts outgrow a small byte limit: the oldest go, the last one stays, and the
// kept ones still rebuild their texts.
TEST(UndoHistoryTest, ByteLimitDropsTheOldestSteps) {
    TUndoHistory h(200, 5000);
    std::vector<std::string> texts;
    for (char c = 'a'; c < 'm'; ++c)
        h.Commit(State(texts.emplace_back(1000, c)));
    EXPECT_LT(h.Steps(), 11u);
    EXPECT_GE(h.Steps(), 1u);
    EXPECT_LE(h.Bytes(), std::max<std::size_t>(h.ByteLimit(), h.Current()->Bytes()));
    TModelView left;
    for (std::size_t i = texts.size() - 1; h.CanUndo(); --i)
        ASSERT_EQ(h.Undo(left)->Project, texts[i - 1]);
}
