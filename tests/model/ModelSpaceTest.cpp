#include <gtest/gtest.h>

#include "model/MKPSpace.h"
#include "model/UserDialogs.h"

namespace {
struct Model {
    TMKPSpace space;
    TMaterial* steel = space.PridejMaterial("S235", 210000, 7850);
    TProfil* section = space.PridejProfil("IPE 200", steel, 0.00285, 0.0000194, 0.00000142);
    TUzel* Node(TReal x, TReal y) { return space.PridejUzel(space.Nodes.Count() + 1, x, y); }
    TPrut* Member(TUzel* a, TUzel* b) {
        return space.PridejPrut(a, b, section, false, space.Members.Count() + 1, false, false);
    }
};
} // namespace

TEST(ModelSpace, StartsEmptyMetricWithWeightCase) {
    TMKPSpace space;
    EXPECT_EQ(space.WeightCase.Name, "Weight");
    EXPECT_EQ(space.WeightCase.Factor, 1);
    EXPECT_FALSE(space.SelfWeight);
    EXPECT_EQ(space.MemberDivision, 10);
    EXPECT_FALSE(space.ResultsValid);
    EXPECT_EQ(space.UnitSystem, 0);
    EXPECT_EQ(space.LengthLabel, "m");
    EXPECT_EQ(space.ForceLabel, "kN");
    EXPECT_EQ(space.StressLabel, "MPa");
    EXPECT_EQ(space.SectionLabel, "m");
    EXPECT_TRUE(space.Origin.Visible);
    EXPECT_TRUE(space.Anchor.Active);
}

TEST(ModelSpace, UnitSystemSetsCodesAndLabels) {
    TMKPSpace space;
    space.NastavSoustavuJednotek(1);
    EXPECT_EQ(space.LengthUnit, 6);
    EXPECT_EQ(space.LengthLabel, "ft");
    EXPECT_EQ(space.ForceLabel, "lb");
    EXPECT_EQ(space.StressLabel, "psi");
    EXPECT_EQ(space.SectionLabel, "in");
    space.NastavJednotkuDelky(2); // not a length code: stored, label kept
    EXPECT_EQ(space.LengthUnit, 2);
    EXPECT_EQ(space.LengthLabel, "ft");
    space.NastavSoustavuJednotek(7); // unknown system: stored, nothing else changes
    EXPECT_EQ(space.UnitSystem, 7);
    EXPECT_EQ(space.ForceLabel, "lb");
    space.NastavSoustavuJednotek(0);
    EXPECT_EQ(space.LengthLabel, "m");
    EXPECT_EQ(space.SectionUnit, 1);
}

TEST(ModelSpace, AddedMemberBecomesCurrent) {
    Model m;
    TPrut* p = m.Member(m.Node(0, 0), m.Node(1, 0));
    EXPECT_EQ(m.space.CurrentMember, p);
    EXPECT_EQ(m.space.CurrentNode, nullptr);
}

TEST(ModelSpace, DeletingMiddleMemberRenumbersAndMakesFirstCurrent) {
    Model m;
    TUzel* a = m.Node(0, 0);
    TUzel* b = m.Node(1, 0);
    TUzel* c = m.Node(2, 0);
    TPrut* first = m.Member(a, b);
    TPrut* second = m.Member(b, c);
    TPrut* third = m.Member(c, a);
    m.space.CurrentMember = second;
    m.space.SmazPrut();
    ASSERT_EQ(m.space.Members.Count(), 2);
    EXPECT_EQ(third->Number, 2);
    EXPECT_EQ(m.space.CurrentMember, first);
    EXPECT_EQ(m.space.Nodes.Count(), 3); // nodes stay
}

TEST(ModelSpace, UnconnectedNodesAreDeletedAndTheRestRenumbered) {
    Model m;
    TUzel* n[5];
    for (int i = 0; i < 5; ++i) n[i] = m.Node(i, 0);
    m.Member(n[0], n[1]);
    m.Member(n[3], n[4]);
    m.space.CurrentNode = n[2];
    m.space.SelectedNodes.Add(n[2]);
    m.space.SelectedNodes.Add(n[4]);
    m.space.SmazNepripojeneUzly();
    ASSERT_EQ(m.space.Nodes.Count(), 4);
    EXPECT_EQ(n[3]->Number, 3);
    EXPECT_EQ(n[3]->DofRot.Code, 7);
    EXPECT_EQ(n[3]->DofW.Code, 9);
    EXPECT_EQ(n[4]->Number, 4);
    EXPECT_EQ(n[4]->DofRot.Code, 10);
    EXPECT_EQ(n[4]->DofW.Code, 12);
    EXPECT_EQ(m.space.CurrentNode, n[0]);
    ASSERT_EQ(m.space.SelectedNodes.Count(), 1); // the deleted node left the selection
    EXPECT_EQ(m.space.SelectedNodes[0], n[4]);
}

TEST(ModelSpace, UnusedSectionsAndMaterialsAreDeleted) {
    Model m;
    TMaterial* timber = m.space.PridejMaterial("C24", 11000, 420);
    TMaterial* concrete = m.space.PridejMaterial("C30/37", 33000, 2500);
    TProfil* beam = m.space.PridejProfil("200x300", timber, 0.06, 0.00045, 0.0002);
    m.space.PridejPrut(m.Node(0, 0), m.Node(3, 0), beam, false, 1, false, false);
    m.space.CurrentSection = m.section; // IPE 200, unused
    m.space.CurrentMaterial = concrete;
    m.space.SectionClipboard = m.section;
    m.space.SmazNepouziteProfily();
    ASSERT_EQ(m.space.Sections.Count(), 1);
    EXPECT_EQ(m.space.CurrentSection, beam);
    EXPECT_EQ(m.space.CurrentMaterial, timber);
    EXPECT_EQ(m.space.SectionClipboard, nullptr);
    m.space.CurrentMaterial = concrete;
    m.space.SmazNepouziteMaterialy();
    ASSERT_EQ(m.space.Materials.Count(), 1);
    EXPECT_EQ(m.space.Materials[0], timber);
    EXPECT_EQ(m.space.CurrentMaterial, timber);
}

TEST(ModelSpace, SelfWeightOnTwiceGivesTwoLoadsOffOnceRemovesOne) {
    Model m;
    m.Member(m.Node(0, 0), m.Node(1, 0));
    m.Member(m.Node(1, 0), m.Node(2, 0));
    m.space.NastavVlastniTihu(true);
    m.space.NastavVlastniTihu(true);
    for (TPrut* p : m.space.Members) EXPECT_EQ(p->Loads.Count(), 2);
    m.space.NastavVlastniTihu(false);
    for (TPrut* p : m.space.Members) EXPECT_EQ(p->Loads.Count(), 1);
    EXPECT_FALSE(m.space.SelfWeight);
}

TEST(ModelSpace, DivisionSettingWarnsAboveFifty) {
    TRecordingDialogs dialogs;
    TDialogsGuard guard(dialogs);
    TMKPSpace space;
    space.NastavDeleniPrutu(60);
    EXPECT_EQ(space.MemberDivision, 60);
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_NE(dialogs.Messages[0].find("praktickou využitelnost"), std::string::npos);
    space.NastavDeleniPrutu(3);
    EXPECT_EQ(space.MemberDivision, 10);
    EXPECT_EQ(dialogs.Messages.size(), 1u);
}

TEST(ModelSpace, ClearingKeepsSettingsAndUnits) {
    Model m;
    m.Member(m.Node(0, 0), m.Node(1, 0));
    m.space.WeightCase.Factor = 1.35L;
    m.space.NastavSoustavuJednotek(1);
    m.space.SmazVse();
    EXPECT_TRUE(m.space.Members.Empty());
    EXPECT_TRUE(m.space.Nodes.Empty());
    EXPECT_TRUE(m.space.Sections.Empty());
    EXPECT_TRUE(m.space.Materials.Empty());
    EXPECT_EQ(m.space.CurrentMember, nullptr);
    EXPECT_EQ(m.space.CurrentSection, nullptr);
    EXPECT_EQ(m.space.WeightCase.Factor, 1.35L);
    EXPECT_EQ(m.space.UnitSystem, 1);
}

TEST(ModelSpace, OnlyMembersHingedAtAAloneAreTurned) {
    Model m;
    TUzel* a = m.Node(0, 0);
    TUzel* b = m.Node(1, 0);
    TPrut* onlyA = m.space.PridejPrut(a, b, m.section, false, 1, true, false);
    TPrut* both = m.space.PridejPrut(a, b, m.section, false, 2, true, true);
    m.space.OtocPrutySKloubemA();
    EXPECT_EQ(onlyA->NodeA, b);
    EXPECT_FALSE(onlyA->HingeA);
    EXPECT_TRUE(onlyA->HingeB);
    EXPECT_EQ(both->NodeA, a);
}
