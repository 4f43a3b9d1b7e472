// The model's print against the snapshot it stands for: over random models and random changes of
// every kind, the print changes exactly when the snapshot (project text and exact part) does, and
// a model restored from a snapshot has the print the snapshot was taken with.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "model/MKPSpace.h"
#include "ui/editing/UndoHistory.h"

namespace {
// A model with a little of everything a snapshot holds: two materials and sections, nodes with
// supports, members with hinges, turned sections and divisions, loads of every kind in cases,
// self-weight, combinations.
void RandomModel(TMKPSpace& s, std::mt19937& rng) {
    auto real = [&rng](double lo, double hi) { return TReal(std::uniform_real_distribution<double>(lo, hi)(rng)); };
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    TMaterial* steel = s.PridejMaterial("S235", 210000, 7850);
    TMaterial* wood = s.PridejMaterial("C24", 11000, 420);
    TProfil* ipe = s.PridejProfil("IPE 200", steel, 0.00284L, 1.943e-5L, 1.42e-6L);
    TProfil* beam = s.PridejProfil("Trám", wood, 0.02L, 1e-4L, 4e-5L);
    const int nodes = 4 + pick(6);
    for (int i = 0; i < nodes; ++i) {
        TUzel* n = s.PridejUzel(i + 1, 2 * i + real(0, 1), real(-3, 3));
        n->DofU.Fixed = pick(3) == 0;
        n->DofW.Fixed = pick(3) == 0;
        n->DofRot.Fixed = pick(4) == 0;
        n->DofU.Angle = n->DofW.Angle = n->DofRot.Angle = pick(2) ? 0 : real(0, 90);
    }
    for (int i = 0; i + 1 < nodes; ++i)
        s.PridejPrut(s.Nodes[i], s.Nodes[i + 1], pick(2) ? ipe : beam, pick(2), i + 1, pick(3) == 0, pick(3) == 0)
            ->Divisions = 5 + pick(10);
    TZatezovaciStav* g = s.PridejZatezovaciStav("G", TCaseKind::Permanent);
    TZatezovaciStav* q = s.PridejZatezovaciStav("Q", TCaseKind::Variable, TCaseCategory::B, "užitné");
    for (TPrut* m : s.Members)
        for (int k = pick(3); k > 0; --k) {
            const std::uint8_t kind = std::uint8_t(pick(3));
            TZatizeni* z = m->PridejZatizeni(kind, nullptr, real(0, 0.4L), real(0, 0.5L), real(-9, 9),
                                             real(-9, 9), real(0, 180));
            s.NastavStavZatizeni(*z, pick(2) ? g : q);
        }
    for (TUzel* n : s.Nodes)
        if (pick(2)) s.NastavStavZatizeni(*n->PridejZatizeni(std::uint8_t(pick(2)), nullptr, real(-9, 9), real(0, 360)), q);
    s.NastavVlastniTihu(pick(2));
    s.PridejKombinaci("K1", TCombinationKind::User, {{g, 1.35L}, {q, 1.5L}}, "1,35 G + 1,5 Q");
}

// One change each; the flag says whether the snapshot can see it.
struct TChange {
    const char* Name;
    bool Seen;
    std::function<void(TMKPSpace&, std::mt19937&)> Apply;
};

template <class TList> auto* Any(TList& list, std::mt19937& rng) {
    return list[std::uniform_int_distribution<int>(0, list.Count() - 1)(rng)];
}

TReal Nudge(TReal v) {
    return v + (v == 0 ? 1e-300L : v * 1e-18L); // the last bits of an 80-bit real
}

const std::vector<TChange>& Changes() {
    static const std::vector<TChange> changes = {
        {"node x", true, [](TMKPSpace& s, std::mt19937& r) { TUzel* n = Any(s.Nodes, r); n->X = Nudge(n->X); }},
        {"node y", true, [](TMKPSpace& s, std::mt19937& r) { TUzel* n = Any(s.Nodes, r); n->Y = Nudge(n->Y); }},
        {"support", true,
         [](TMKPSpace& s, std::mt19937& r) { TUzel* n = Any(s.Nodes, r); n->DofW.Fixed = !n->DofW.Fixed; }},
        {"support angle of w", true,
         [](TMKPSpace& s, std::mt19937& r) { TUzel* n = Any(s.Nodes, r); n->DofW.Angle = Nudge(n->DofW.Angle); }},
        {"hinge", true, [](TMKPSpace& s, std::mt19937& r) { TPrut* m = Any(s.Members, r); m->HingeB = !m->HingeB; }},
        {"turned section", true,
         [](TMKPSpace& s, std::mt19937& r) { TPrut* m = Any(s.Members, r); m->SectionTurned = !m->SectionTurned; }},
        {"member's section", true,
         [](TMKPSpace& s, std::mt19937& r) {
             TPrut* m = Any(s.Members, r);
             m->Section = m->Section == s.Sections[0] ? s.Sections[1] : s.Sections[0];
         }},
        {"member's divisions", true, [](TMKPSpace& s, std::mt19937& r) { ++Any(s.Members, r)->Divisions; }},
        {"member turned round", true,
         [](TMKPSpace& s, std::mt19937& r) {
             s.CurrentMember = Any(s.Members, r);
             s.OtocAktualniPrut();
         }},
        {"member deleted", true,
         [](TMKPSpace& s, std::mt19937& r) {
             s.CurrentMember = Any(s.Members, r);
             s.SmazPrut();
         }},
        {"node added", true, [](TMKPSpace& s, std::mt19937&) { s.PridejUzel(s.Nodes.Count() + 1, -5, -5); }},
        {"section's area", true, [](TMKPSpace& s, std::mt19937& r) { TProfil* p = Any(s.Sections, r); p->A = Nudge(p->A); }},
        {"section's material", true,
         [](TMKPSpace& s, std::mt19937& r) {
             TProfil* p = Any(s.Sections, r);
             p->Material = p->Material == s.Materials[0] ? s.Materials[1] : s.Materials[0];
         }},
        {"material renamed", true, [](TMKPSpace& s, std::mt19937& r) { Any(s.Materials, r)->Name += "x"; }},
        {"material's density", true,
         [](TMKPSpace& s, std::mt19937& r) { TMaterial* m = Any(s.Materials, r); m->D = Nudge(m->D); }},
        {"load value", true,
         [](TMKPSpace& s, std::mt19937& r) {
             for (TPrut* m : s.Members)
                 if (!m->Loads.Empty()) {
                     TZatizeni* z = Any(m->Loads, r);
                     z->Q2 = Nudge(z->Q2);
                     return;
                 }
             s.Nodes[0]->PridejZatizeni(KLoadForce, nullptr, 1, 0);
         }},
        {"load's distance to node b", true,
         [](TMKPSpace& s, std::mt19937&) {
             for (TPrut* m : s.Members)
                 for (TZatizeni* z : m->Loads)
                     if (z->Kind != KLoadSelfWeight) {
                         z->B = Nudge(z->B + 1);
                         return;
                     }
             s.Members[0]->PridejZatizeni(KLoadForce, nullptr, 0.5L, 0, 1, 0, 90);
         }},
        {"load's case", true,
         [](TMKPSpace& s, std::mt19937&) {
             TZatizeni* z = nullptr;
             for (TPrut* m : s.Members)
                 for (TZatizeni* load : m->Loads)
                     if (load->Kind != KLoadSelfWeight) z = load;
             if (!z) z = s.Nodes[0]->PridejZatizeni(KLoadForce, nullptr, 1, 0);
             s.NastavStavZatizeni(*z, s.StavZatizeni(*z) == s.LoadCases[0] ? s.LoadCases[1] : s.LoadCases[0]);
         }},
        {"nodal load's kind", true,
         [](TMKPSpace& s, std::mt19937& r) {
             TUzel* n = Any(s.Nodes, r);
             if (n->Loads.Empty()) n->PridejZatizeni(KLoadForce, nullptr, 1, 0);
             n->Loads[0]->Kind = n->Loads[0]->Kind == KLoadForce ? KLoadMoment : KLoadForce;
         }},
        {"self-weight switched", true, [](TMKPSpace& s, std::mt19937&) { s.NastavVlastniTihu(!s.SelfWeight); }},
        {"self-weight coefficient", true,
         [](TMKPSpace& s, std::mt19937&) { s.WeightCase.Factor = Nudge(s.WeightCase.Factor); }},
        {"model's member division", true, [](TMKPSpace& s, std::mt19937&) { ++s.MemberDivision; }},
        {"case renamed", true, [](TMKPSpace& s, std::mt19937& r) { Any(s.LoadCases, r)->Name += "2"; }},
        {"case's group", true, [](TMKPSpace& s, std::mt19937& r) { Any(s.LoadCases, r)->Group += "g"; }},
        {"case's category", true, [](TMKPSpace& s, std::mt19937&) { s.LoadCases[1]->Category = TCaseCategory::Wind; }},
        {"case's both values", true,
         [](TMKPSpace& s, std::mt19937& r) {
             TZatezovaciStav* c = Any(s.LoadCases, r);
             c->BothValues = !c->BothValues;
         }},
        {"combination's factor", true,
         [](TMKPSpace& s, std::mt19937&) {
             TReal& f = s.Combinations[0]->Terms[0].Factor;
             f = Nudge(f);
         }},
        {"combination's formula", true, [](TMKPSpace& s, std::mt19937&) { s.Combinations[0]->Formula += " "; }},
        {"combination's kind", true,
         [](TMKPSpace& s, std::mt19937&) { s.Combinations[0]->Kind = TCombinationKind::Frequent; }},
        {"combination added", true,
         [](TMKPSpace& s, std::mt19937&) {
             s.PridejKombinaci("K2", TCombinationKind::User, {{s.LoadCases[0], 1}});
         }},
        // What the snapshot does not hold.
        {"current objects", false,
         [](TMKPSpace& s, std::mt19937& r) {
             s.CurrentNode = Any(s.Nodes, r);
             s.CurrentMember = Any(s.Members, r);
             s.SelectedNodes.Add(s.CurrentNode);
         }},
        {"view", false,
         [](TMKPSpace& s, std::mt19937&) {
             s.SetZoom(s.Zoom() + 7);
             s.SetTypZobrazeni(2);
             s.ShowNumbers = !s.ShowNumbers;
         }},
        {"results", false,
         [](TMKPSpace& s, std::mt19937& r) {
             TUzel* n = Any(s.Nodes, r);
             n->DofU.Reaction += 1;
             n->Displacement.assign(3, 1.0L);
             s.ResultsValid = !s.ResultsValid;
         }},
        {"a member's geometry formed again", false, [](TMKPSpace& s, std::mt19937&) { s.Members.Precisluj(); }},
        {"a value set to what it was", false,
         [](TMKPSpace& s, std::mt19937& r) {
             TPrut* m = Any(s.Members, r);
             m->Divisions = m->Divisions + 0;
             m->HingeA = !m->HingeA;
             m->HingeA = !m->HingeA;
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
            EXPECT_EQ(before.Print, ModelPrint(s));
            change.Apply(s, rng);
            ASSERT_TRUE(TakeSnapshot(s, after)) << change.Name;
            EXPECT_EQ(!after.Same(before), change.Seen) << change.Name << ", round " << round;
            EXPECT_EQ(after.Print != before.Print, change.Seen) << change.Name << ", round " << round;
        }
}

// Undo compares the restored model's print with the state's: a restored model that printed
// otherwise would look edited at once.
TEST(ModelPrintTest, RestoredModelHasTheSnapshotsPrint) {
    std::mt19937 rng(7);
    for (int round = 0; round < 30; ++round) {
        TMKPSpace s, other;
        RandomModel(s, rng);
        Changes()[std::size_t(round) % Changes().size()].Apply(s, rng);
        TModelSnapshot snapshot;
        ASSERT_TRUE(TakeSnapshot(s, snapshot));
        RestoreSnapshot(other, snapshot, {});
        EXPECT_EQ(ModelPrint(other), snapshot.Print) << "round " << round;
        EXPECT_NE(ModelPrint(other), ModelPrint(TMKPSpace())) << "round " << round;
    }
}
