// The model's print against the snapshot it stands for: over random models and a change of every
// kind of field, the print changes exactly when the snapshot (project text and exact part) does,
// and a model restored from a snapshot has the print the snapshot was taken with.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "model/MKPSpace.h"
#include "ui/editing/UndoHistory.h"

namespace {
using S = TMKPSpace&;
using R = std::mt19937&;

// Two materials and sections, nodes with supports, members with hinges, turned sections and
// divisions, loads of every kind in two cases, self-weight, a combination.
void RandomModel(S s, R rng) {
    auto real = [&rng](double lo, double hi) { return TReal(std::uniform_real_distribution<>(lo, hi)(rng)); };
    auto pick = [&rng](int n) { return std::uniform_int_distribution<>(0, n - 1)(rng); };
    TMaterial* steel = s.PridejMaterial("S235", 210000, 7850);
    TProfil* sections[] = {s.PridejProfil("IPE 200", steel, 0.00284L, 1.943e-5L, 1.42e-6L),
                           s.PridejProfil("Trám", s.PridejMaterial("C24", 11000, 420), 0.02L, 1e-4L, 4e-5L)};
    const int nodes = 4 + pick(6);
    for (int i = 0; i < nodes; ++i) {
        TUzel* n = s.PridejUzel(i + 1, 2 * i + real(0, 1), real(-3, 3));
        n->DofU.Fixed = pick(3) == 0, n->DofW.Fixed = pick(3) == 0, n->DofRot.Fixed = pick(4) == 0;
        n->DofU.Angle = n->DofW.Angle = n->DofRot.Angle = pick(2) ? 0 : real(0, 90);
    }
    for (int i = 0; i + 1 < nodes; ++i)
        s.PridejPrut(s.Nodes[i], s.Nodes[i + 1], sections[pick(2)], pick(2), i + 1, !pick(3), !pick(3))
            ->Divisions = 5 + pick(10);
    TZatezovaciStav* cases[] = {s.PridejZatezovaciStav("G", TCaseKind::Permanent),
                                s.PridejZatezovaciStav("Q", TCaseKind::Variable, TCaseCategory::B, "užitné")};
    for (TPrut* m : s.Members)
        for (int k = pick(3); k > 0; --k)
            s.NastavStavZatizeni(*m->PridejZatizeni(std::uint8_t(pick(3)), nullptr, real(0, 0.4),
                                                    real(0, 0.5), real(-9, 9), real(-9, 9), real(0, 180)),
                                 cases[pick(2)]);
    for (TUzel* n : s.Nodes)
        if (pick(2))
            s.NastavStavZatizeni(
                *n->PridejZatizeni(std::uint8_t(pick(2)), nullptr, real(-9, 9), real(0, 360)), cases[1]);
    s.NastavVlastniTihu(pick(2));
    s.PridejKombinaci("K1", TCombinationKind::User, {{cases[0], 1.35L}, {cases[1], 1.5L}}, "1,35 G + 1,5 Q");
}

template <class TList> auto* Any(TList& list, R rng) {
    return list[std::uniform_int_distribution<>(0, list.Count() - 1)(rng)];
}

void Nudge(TReal& v) {
    v += v == 0 ? 1e-300L : v * 1e-18L; // the last bits of an 80-bit real
}

// The last load on a member that is not self-weight (one is made when there is none).
TZatizeni& MemberLoad(S s) {
    TZatizeni* last = nullptr;
    for (TPrut* m : s.Members)
        for (TZatizeni* z : m->Loads)
            if (z->Kind != KLoadSelfWeight) last = z;
    return last ? *last : *s.Members[0]->PridejZatizeni(KLoadForce, nullptr, 0.5L, 0, 1, 0, 90);
}

// One change each; Seen: whether the snapshot holds what it changes.
struct TChange {
    const char* Name;
    bool Seen;
    std::function<void(S, R)> Apply;
};

const std::vector<TChange>& Changes() {
    static const std::vector<TChange> changes = {
        {"node x", true, [](S s, R r) { Nudge(Any(s.Nodes, r)->X); }},
        {"node y", true, [](S s, R r) { Nudge(Any(s.Nodes, r)->Y); }},
        {"support", true, [](S s, R r) { Any(s.Nodes, r)->DofW.Fixed ^= true; }},
        {"support angle of w", true, [](S s, R r) { Nudge(Any(s.Nodes, r)->DofW.Angle); }},
        {"hinge", true, [](S s, R r) { Any(s.Members, r)->HingeB ^= true; }},
        {"turned section", true, [](S s, R r) { Any(s.Members, r)->SectionTurned ^= true; }},
        {"member's divisions", true, [](S s, R r) { ++Any(s.Members, r)->Divisions; }},
        {"member's section", true,
         [](S s, R r) {
             TPrut* m = Any(s.Members, r);
             m->Section = s.Sections[m->Section == s.Sections[0]];
         }},
        {"member turned round", true,
         [](S s, R r) { s.CurrentMember = Any(s.Members, r), s.OtocAktualniPrut(); }},
        {"member deleted", true, [](S s, R r) { s.CurrentMember = Any(s.Members, r), s.SmazPrut(); }},
        {"node added", true, [](S s, R) { s.PridejUzel(s.Nodes.Count() + 1, -5, -5); }},
        {"section's area", true, [](S s, R r) { Nudge(Any(s.Sections, r)->A); }},
        {"section's material", true, [](S s, R) { s.Sections[0]->Material = s.Materials[1]; }},
        {"material renamed", true, [](S s, R r) { Any(s.Materials, r)->Name += "x"; }},
        {"material's density", true, [](S s, R r) { Nudge(Any(s.Materials, r)->D); }},
        {"load value", true, [](S s, R) { Nudge(MemberLoad(s).Q2); }},
        {"load's distance to node b", true, [](S s, R) { MemberLoad(s).B += 1; }},
        {"load's case", true,
         [](S s, R) {
             TZatizeni& z = MemberLoad(s);
             s.NastavStavZatizeni(z, s.LoadCases[s.StavZatizeni(z) == s.LoadCases[0]]);
         }},
        {"nodal load's kind", true,
         [](S s, R r) {
             TUzel* n = Any(s.Nodes, r);
             if (n->Loads.Empty()) n->PridejZatizeni(KLoadForce, nullptr, 1, 0);
             n->Loads[0]->Kind = n->Loads[0]->Kind == KLoadForce ? KLoadMoment : KLoadForce;
         }},
        {"self-weight switched", true, [](S s, R) { s.NastavVlastniTihu(!s.SelfWeight); }},
        {"self-weight coefficient", true, [](S s, R) { Nudge(s.WeightCase.Factor); }},
        {"model's member division", true, [](S s, R) { ++s.MemberDivision; }},
        {"case renamed", true, [](S s, R r) { Any(s.LoadCases, r)->Name += "2"; }},
        {"case's group", true, [](S s, R r) { Any(s.LoadCases, r)->Group += "g"; }},
        {"case's category", true, [](S s, R) { s.LoadCases[1]->Category = TCaseCategory::Wind; }},
        {"case's both values", true, [](S s, R r) { Any(s.LoadCases, r)->BothValues ^= true; }},
        {"combination's factor", true, [](S s, R) { Nudge(s.Combinations[0]->Terms[0].Factor); }},
        {"combination's formula", true, [](S s, R) { s.Combinations[0]->Formula += " "; }},
        {"combination's kind", true, [](S s, R) { s.Combinations[0]->Kind = TCombinationKind::Frequent; }},
        {"combination added", true,
         [](S s, R) {
             s.PridejKombinaci("K2", TCombinationKind::User, {{s.LoadCases[0], 1}});
         }},
        // What the snapshot does not hold.
        {"current objects", false,
         [](S s, R r) { s.CurrentNode = Any(s.Nodes, r), s.SelectedNodes.Add(s.CurrentNode); }},
        {"view", false, [](S s, R) { s.SetZoom(s.Zoom() + 7), s.SetTypZobrazeni(2), s.ShowNumbers ^= true; }},
        {"results", false, [](S s, R r) { Any(s.Nodes, r)->DofU.Reaction += 1, s.ResultsValid ^= true; }},
        {"geometry formed again", false, [](S s, R) { s.Members.Precisluj(); }},
        {"hinge switched twice", false,
         [](S s, R r) {
             bool& h = Any(s.Members, r)->HingeA;
             h ^= true, h ^= true;
         }},
    };
    return changes;
}
} // namespace

TEST(ModelPrintTest, ChangesExactlyWhenTheSnapshotDoes) {
    std::mt19937 rng(20261210);
    for (int round = 0; round < 40; ++round)
        for (const TChange& change : Changes()) {
            TMKPSpace s;
            RandomModel(s, rng);
            TModelSnapshot before, after;
            ASSERT_TRUE(TakeSnapshot(s, before));
            change.Apply(s, rng);
            ASSERT_TRUE(TakeSnapshot(s, after)) << change.Name;
            EXPECT_EQ(!after.Same(before), change.Seen) << change.Name << ", round " << round;
            EXPECT_EQ(after.Print != before.Print, change.Seen) << change.Name << ", round " << round;
            EXPECT_EQ(after.Print, ModelPrint(s));
        }
}

// Undo compares the restored model's print with the state's: a restored model that printed
// otherwise would look edited at once.
TEST(ModelPrintTest, RestoredModelHasTheSnapshotsPrint) {
    std::mt19937 rng(7);
    for (const TChange& change : Changes()) {
        TMKPSpace s, other;
        RandomModel(s, rng);
        change.Apply(s, rng);
        TModelSnapshot snapshot;
        ASSERT_TRUE(TakeSnapshot(s, snapshot));
        RestoreSnapshot(other, snapshot, {});
        EXPECT_EQ(ModelPrint(other), snapshot.Print) << change.Name;
        EXPECT_NE(ModelPrint(other), ModelPrint(TMKPSpace())) << change.Name;
    }
}
