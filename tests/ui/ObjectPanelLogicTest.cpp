#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "ui/panel/ObjectPanelLogic.h"
#include "ui/ObjectPanelTestSupport.h"

namespace {

// Expected texts are written with a comma; the parameter is the separator in force.
class ObjectPanelTexts : public ::testing::TestWithParam<char> {
protected:
    std::string E(std::string text) const {
        std::replace(text.begin(), text.end(), ',', GetParam());
        return text;
    }
    TSeparatorGuard mSeparator{GetParam()};
    TMKPSpace mSpace;
    TSmallModel mModel{mSpace};
};

INSTANTIATE_TEST_SUITE_P(Separators, ObjectPanelTexts, ::testing::Values(',', '.'));

TEST_P(ObjectPanelTexts, MemberFromOriginToThreeFour) {
    TMemberTexts t = MemberTexts(mSpace);
    EXPECT_EQ(t.Number, "1");
    EXPECT_EQ(t.NodeA, "1");
    EXPECT_EQ(t.NodeB, "2");
    EXPECT_EQ(t.Section, "IPE 200");
    EXPECT_EQ(t.Length, E("5,000m"));
    // Pointing up and to the right: clockwise angle 360 - 53.130.
    EXPECT_EQ(t.Angle, E("306,870 \u00b0"));
    EXPECT_EQ(t.Sin, E("-0,800"));
    EXPECT_EQ(t.Cos, E("0,600"));
    EXPECT_EQ(t.SectionTurn, "0\u00b0");
    EXPECT_EQ(t.Divisions, "10");
    EXPECT_TRUE(t.HingeA);
    EXPECT_FALSE(t.HingeB);

    mModel.M1->SectionTurned = true;
    mModel.M1->NastavDeleni(25);
    t = MemberTexts(mSpace);
    EXPECT_EQ(t.SectionTurn, "90\u00b0");
    EXPECT_EQ(t.Divisions, "25");
}

TEST_P(ObjectPanelTexts, MemberLengthInFeetAndInches) {
    mSpace.NastavSoustavuJednotek(1);
    EXPECT_EQ(MemberTexts(mSpace).Length, E("16'-4,850''")); // 5 m, no unit label
    // The angle and its functions are not converted.
    EXPECT_EQ(MemberTexts(mSpace).Angle, E("306,870 \u00b0"));
}

TEST_P(ObjectPanelTexts, NoCurrentMemberEmptiesEverything) {
    mSpace.CurrentMember = nullptr;
    TMemberTexts t = MemberTexts(mSpace);
    for (const std::string* s : {&t.Number, &t.NodeA, &t.NodeB, &t.Section, &t.Length, &t.Angle, &t.Sin,
                                 &t.Cos, &t.SectionTurn, &t.Divisions})
        EXPECT_EQ(*s, "");
    EXPECT_FALSE(t.HingeA);
    TMemberLoadTexts l = MemberLoadTexts(mSpace);
    EXPECT_EQ(l.Magnitude + l.Position + l.Type + l.Direction + l.Counter, "");
    EXPECT_FALSE(l.HasFactor);
}

struct TMemberLoadRow {
    std::uint8_t Kind;
    TReal A, C, Q1, Q2, Angle;
    bool Imperial;
    const char* Magnitude;
    const char* Position;
    const char* Type;
    const char* Direction;
    const char* Factor;
};

TEST_P(ObjectPanelTexts, MemberLoadOfEachKind) {
    mSpace.WeightCase.Factor = 1.25L;
    const TMemberLoadRow rows[] = {
        {KLoadMoment, 2, 0, 10, 0, 0, false, "10,00 kNm", "2,00 m", "Moment", "x", "1,0"},
        {KLoadForce, 2, 0, 10, 0, 90, false, "10,00kN", "2,00m", "Os.s\u00edla", "90,00", "1,0"},
        {KLoadDistributed, 1, 3, 5, 3, 90, false, "5,00kN/3,00kN", "1,00m/4,00m", "Spojit\u00e9", "90,00",
         "1,0"},
        {KLoadSelfWeight, 0, 5, 0.2238L, 0.2238L, 54, false, "0,22kN/0,22kN", "0,00m/5,00m",
         "Vl.t\u00edha kce.", "54,00", "1,25"},
        // Imperial: positions in feet and inches (no unit); values in the units of their labels,
        // 10 kNm = 7376 lb.ft, 10 kN = 2248 lb, 5 and 3 kN/m = 343 and 206 lb/ft.
        {KLoadMoment, 1.5L, 0, 10, 0, 0, true, "7,38E03 lbft", "4'-11,055''", "Moment", "x", "1,0"},
        {KLoadForce, 1.5L, 0, 10, 0, 45, true, "2,25E03lb", "4'-11,055''", "Os.s\u00edla", "45,00", "1,0"},
        {KLoadForce, 1.5L, 0, 0.1L, 0, 45, true, "22,50lb", "4'-11,055''", "Os.s\u00edla", "45,00", "1,0"},
        {KLoadDistributed, 2, 2, 5, 3, 90, true, "343,00lb/ft / 206,00lb/ft", "6'-6,740''/13'-1,480''",
         "Spojit\u00e9", "90,00", "1,0"},
    };
    for (const TMemberLoadRow& r : rows) {
        SCOPED_TRACE(std::string(r.Type) + (r.Imperial ? " imperial" : " metric"));
        mSpace.NastavSoustavuJednotek(r.Imperial ? 1 : 0);
        mModel.M1->SmazVsechnaZatizeni();
        mModel.M1->PridejZatizeni(r.Kind, nullptr, r.A, r.C, r.Q1, r.Q2, r.Angle);
        TMemberLoadTexts t = MemberLoadTexts(mSpace);
        EXPECT_EQ(t.Magnitude, E(r.Magnitude));
        EXPECT_EQ(t.Position, E(r.Position));
        EXPECT_EQ(t.Type, r.Type);
        EXPECT_EQ(t.Direction, E(r.Direction));
        EXPECT_TRUE(t.HasFactor);
        // "1,0" is the program's fixed text for loads outside the self-weight case.
        EXPECT_EQ(t.Factor, r.Kind == KLoadSelfWeight ? E(r.Factor) : std::string(r.Factor));
        EXPECT_EQ(t.Counter, "1/1");
    }
}

TEST_P(ObjectPanelTexts, LoadValueWithFourIntegerDigitsTurnsToExponentForm) {
    if (!ExactNumberFormats()) GTEST_SKIP() << "number formats are not exact yet";
    mModel.M1->PridejZatizeni(KLoadForce, nullptr, 2, 0, 1234.5L, 0, 0);
    EXPECT_EQ(MemberLoadTexts(mSpace).Magnitude, E("1,23E03kN"));
    mModel.M1->PridejZatizeni(KLoadForce, nullptr, 2, 0, 12.345L, 0, 0);
    EXPECT_EQ(MemberLoadTexts(mSpace).Magnitude, E("12,30kN"));
}

TEST_P(ObjectPanelTexts, CounterFollowsTheCurrentLoad) {
    TPrut& m = *mModel.M1;
    EXPECT_EQ(LoadCounterText(m.Loads, m.CurrentLoad), "");
    TZatizeni* first = m.PridejZatizeni(KLoadForce, nullptr, 1, 0, 1, 0, 90);
    m.PridejZatizeni(KLoadForce, nullptr, 2, 0, 2, 0, 90);
    m.PridejZatizeni(KLoadForce, nullptr, 3, 0, 3, 0, 90);
    EXPECT_EQ(LoadCounterText(m.Loads, m.CurrentLoad), "3/3");
    EXPECT_EQ(LoadCounterText(m.Loads, first), "1/3");
    TZatizeni stranger(KLoadForce, 0, 0, 0, 0, 0, nullptr);
    EXPECT_EQ(LoadCounterText(m.Loads, &stranger), "");
}

TEST_P(ObjectPanelTexts, NodeCoordinatesSupportAndRotation) {
    TUzel* n = mSpace.PridejUzel(5, 1.5L, 2.0L);
    mSpace.CurrentNode = n;
    mSpace.Anchor.SetX(1.0L); // the panel shows absolute coordinates
    n->DofU.Fixed = n->DofW.Fixed = true;
    n->DofU.Angle = n->DofW.Angle = n->DofRot.Angle = 30.0L;
    TNodeTexts t = NodeTexts(mSpace);
    EXPECT_EQ(t.Number, "5");
    EXPECT_EQ(t.Coordinates, E("( 1,500 ; 2,000 )"));
    EXPECT_EQ(t.Support, "Kloub");
    EXPECT_EQ(t.SupportAngle, E("30,000\u00b0"));

    mSpace.NastavSoustavuJednotek(1);
    EXPECT_EQ(NodeTexts(mSpace).Coordinates, E("( 4'-11,055'' ; 6'-6,740'' )"));
    n->X = -1.5L;
    EXPECT_EQ(NodeTexts(mSpace).Coordinates, E("( -4'-11,055'' ; 6'-6,740'' )"));

    mSpace.CurrentNode = nullptr;
    t = NodeTexts(mSpace);
    EXPECT_EQ(t.Number + t.Coordinates + t.Support + t.SupportAngle, "");
}

TEST_P(ObjectPanelTexts, NodalLoads) {
    TUzel* n = mModel.N2;
    mSpace.CurrentNode = n;
    TNodeLoadTexts t = NodeLoadTexts(mSpace);
    EXPECT_EQ(t.Magnitude + t.Type + t.Direction + t.Counter, "");
    n->PridejZatizeni(KLoadMoment, nullptr, 10, 0);
    t = NodeLoadTexts(mSpace);
    EXPECT_EQ(t.Magnitude, E("10,00kNm"));
    EXPECT_EQ(t.Type, "Moment");
    EXPECT_EQ(t.Direction, "x");
    EXPECT_EQ(t.Counter, "1/1");
    n->PridejZatizeni(KLoadForce, nullptr, 7.5L, 45);
    t = NodeLoadTexts(mSpace);
    EXPECT_EQ(t.Magnitude, E("7,50kN"));
    EXPECT_EQ(t.Type, "Os.s\u00edla");
    EXPECT_EQ(t.Direction, E("45,00"));
    EXPECT_EQ(t.Counter, "2/2");
    // The last load deleted: empty display and counter.
    n->SmazZatizeni();
    n->SmazZatizeni();
    t = NodeLoadTexts(mSpace);
    EXPECT_EQ(t.Magnitude + t.Type + t.Direction + t.Counter, "");

    // Imperial: the values in lb and lb.ft, as their labels say.
    mSpace.NastavSoustavuJednotek(1);
    n->PridejZatizeni(KLoadForce, nullptr, 0.05L, 45);
    EXPECT_EQ(NodeLoadTexts(mSpace).Magnitude, E("11,20lb"));
    n->PridejZatizeni(KLoadMoment, nullptr, 0.01L, 0);
    EXPECT_EQ(NodeLoadTexts(mSpace).Magnitude, E("7,38lbft"));
}

TEST_P(ObjectPanelTexts, SectionAreaAndMass) {
    TProfil* s = mSpace.PridejProfil("I 200", mModel.Steel, 0.00538L, 8.36e-5L, 1.17e-6L);
    mSpace.CurrentSection = s;
    TSectionTexts t = SectionTexts(mSpace);
    EXPECT_EQ(t.Name, "I 200");
    EXPECT_EQ(t.Area, E("0,005380 m2"));
    EXPECT_EQ(t.Mass, E("42,233 kg/m")); // 7850 kg/m3 x 0.00538 m2

    mSpace.NastavSoustavuJednotek(1);
    t = SectionTexts(mSpace);
    EXPECT_EQ(t.Area, E("8,339017 in2"));
    EXPECT_EQ(t.Mass, E("28,379 lb/ft"));

    // A section without a material has no mass to show.
    s->Material = nullptr;
    EXPECT_EQ(SectionTexts(mSpace).Mass, "");
    mSpace.CurrentSection = nullptr;
    t = SectionTexts(mSpace);
    EXPECT_EQ(t.Name + t.Area + t.Iy + t.Iz + t.Mass, "");
}

TEST_P(ObjectPanelTexts, SecondMomentsAndMaterialInSci) {
    if (!ExactNumberFormats()) GTEST_SKIP() << "number formats are not exact yet";
    mSpace.CurrentSection = mSpace.PridejProfil("I 200", mModel.Steel, 0.00538L, 8.36e-5L, 1.17e-6L);
    mSpace.CurrentMaterial = mModel.Steel;
    EXPECT_EQ(SectionTexts(mSpace).Iy, E("8,36E-05 m4"));
    EXPECT_EQ(SectionTexts(mSpace).Iz, E("1,17E-06 m4"));
    EXPECT_EQ(MaterialTexts(mSpace).E, E("2,10E+05 MPa"));
    EXPECT_EQ(MaterialTexts(mSpace).Density, E("7,85E+03 kg/m3"));
    mSpace.NastavSoustavuJednotek(1);
    EXPECT_EQ(SectionTexts(mSpace).Iy, E("2,01E+02 in4"));
    EXPECT_EQ(MaterialTexts(mSpace).E, E("3,05E+07 psi"));
    EXPECT_EQ(MaterialTexts(mSpace).Density, E("4,90E+02 lb/ft3"));
}

TEST_P(ObjectPanelTexts, MaterialNameAndEmptyWithoutMaterial) {
    mSpace.CurrentMaterial = mModel.Wood;
    EXPECT_EQ(MaterialTexts(mSpace).Name, "C24");
    EXPECT_NE(MaterialTexts(mSpace).E.find(" MPa"), std::string::npos);
    EXPECT_NE(MaterialTexts(mSpace).Density.find(" kg/m3"), std::string::npos);
    mSpace.CurrentMaterial = nullptr;
    TMaterialTexts t = MaterialTexts(mSpace);
    EXPECT_EQ(t.Name + t.E + t.Density, "");
}

TEST_P(ObjectPanelTexts, LoadCaseFactorAndAuxiliaryMember) {
    mSpace.WeightCase.Factor = 1.35L;
    EXPECT_EQ(LoadCaseFactorText(mSpace), E("1,35"));
    EXPECT_EQ(AuxiliaryMemberText(mSpace), "");
    mSpace.SelectedMembers.Add(mModel.M2);
    mSpace.SelectedMembers.Add(mModel.M1);
    EXPECT_EQ(AuxiliaryMemberText(mSpace), "2");
}

TEST(ObjectPanelLogic, SupportCaptionOfEveryRestraintCombination) {
    struct TRow {
        bool U, W, Rot;
        const char* Caption;
    } rows[] = {
        {false, false, false, "\u017e\u00e1dn\u00e1"},
        {true, true, true, "Vetknut\u00ed"},
        {true, true, false, "Kloub"},
        {true, false, false, "Pos.kloub (u)"},
        {false, true, false, "Pos.kloub (w)"},
        {true, false, true, "Pos.vetknut\u00ed"},
        // Only project files give these two; they still get names of their own.
        {false, true, true, "Pos.vetknut\u00ed (w)"},
        {false, false, true, "Jen rotace"},
    };
    TUzel n(1, 0, 0);
    for (const TRow& r : rows) {
        n.DofU.Fixed = r.U;
        n.DofW.Fixed = r.W;
        n.DofRot.Fixed = r.Rot;
        EXPECT_EQ(SupportCaption(n), r.Caption) << r.U << r.W << r.Rot;
    }
}

TEST(ObjectPanelLogic, SupportKindsSetFlagsAndOnlyNoneResetsTheRotation) {
    struct TRow {
        int Kind;
        bool Valid, U, W, Rot;
        TReal AngleAfter;
    } rows[] = {
        {KSupportFixed, true, true, true, true, 30},
        {KSupportPinned, true, true, true, false, 30},
        {KSupportRollerU, true, true, false, false, 30},
        {KSupportRollerW, true, false, true, false, 30},
        {KSupportSlidingClamp, true, true, false, true, 30},
        {KSupportNone, true, false, false, false, 0},
        {-1, false, true, false, true, 30},
        {KSupportKindCount, false, true, false, true, 30},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Kind);
        TUzel n(1, 0, 0);
        n.DofU.Fixed = n.DofRot.Fixed = true; // an invalid kind must leave these as they are
        n.DofU.Angle = n.DofW.Angle = n.DofRot.Angle = 30;
        EXPECT_EQ(SetSupportKind(n, r.Kind), r.Valid);
        EXPECT_EQ(n.DofU.Fixed, r.U);
        EXPECT_EQ(n.DofW.Fixed, r.W);
        EXPECT_EQ(n.DofRot.Fixed, r.Rot);
        EXPECT_EQ(n.DofU.Angle, r.AngleAfter);
        EXPECT_EQ(n.DofW.Angle, r.AngleAfter);
        EXPECT_EQ(n.DofRot.Angle, r.AngleAfter);
    }
}

TEST(ObjectPanelLogic, StepCurrentLoadStopsAtBothEnds) {
    TUzel n(1, 0, 0);
    TZatizeni* none = nullptr;
    EXPECT_FALSE(StepCurrentLoad(n.Loads, none, +1)); // empty list
    TZatizeni* l1 = n.PridejZatizeni(KLoadForce, nullptr, 1, 0);
    TZatizeni* l2 = n.PridejZatizeni(KLoadForce, nullptr, 2, 0);
    TZatizeni* l3 = n.PridejZatizeni(KLoadForce, nullptr, 3, 0);
    TZatizeni* current = l2;
    EXPECT_TRUE(StepCurrentLoad(n.Loads, current, -1));
    EXPECT_EQ(current, l1);
    EXPECT_FALSE(StepCurrentLoad(n.Loads, current, -1));
    EXPECT_EQ(current, l1);
    EXPECT_TRUE(StepCurrentLoad(n.Loads, current, +1));
    EXPECT_TRUE(StepCurrentLoad(n.Loads, current, +1));
    EXPECT_EQ(current, l3);
    EXPECT_FALSE(StepCurrentLoad(n.Loads, current, +1));
    EXPECT_EQ(current, l3);
    current = nullptr;
    EXPECT_FALSE(StepCurrentLoad(n.Loads, current, -1));
    EXPECT_TRUE(StepCurrentLoad(n.Loads, current, +1));
    EXPECT_EQ(current, l1);
}

class ObjectPanelCommands : public ::testing::Test {
protected:
    TMKPSpace mSpace;
    TSmallModel mModel{mSpace};
};

TEST_F(ObjectPanelCommands, AssignNodeRefusesZeroLength) {
    TPrut* m = mModel.M1; // 1 (0, 0) -> 2 (3, 4)
    struct TRow {
        TUzel* Node;
        bool EndA;
        TAssignNodeResult Result;
    } refused[] = {
        {mModel.N2, true, TAssignNodeResult::Refused},  // the other end itself
        {mModel.N4, true, TAssignNodeResult::Refused},  // a distinct node at the other end's point
        {mModel.N1, false, TAssignNodeResult::Refused}, // end b := node a
    };
    for (const TRow& r : refused) {
        mSpace.CurrentNode = r.Node;
        EXPECT_EQ(AssignCurrentNodeToEnd(mSpace, r.EndA), r.Result);
        EXPECT_EQ(m->NodeA, mModel.N1);
        EXPECT_EQ(m->NodeB, mModel.N2);
        EXPECT_EQ(m->Length, 5.0L);
    }
    mSpace.CurrentNode = mModel.N3; // (6, 4)
    EXPECT_EQ(AssignCurrentNodeToEnd(mSpace, false), TAssignNodeResult::Assigned);
    EXPECT_EQ(m->NodeB, mModel.N3);
    EXPECT_NEAR(static_cast<double>(m->Length), std::sqrt(52.0), 1e-12);
    EXPECT_EQ(AssignCurrentNodeToEnd(mSpace, true), TAssignNodeResult::Refused);

    mSpace.CurrentNode = nullptr;
    EXPECT_EQ(AssignCurrentNodeToEnd(mSpace, true), TAssignNodeResult::NothingToDo);
    mSpace.CurrentNode = mModel.N3;
    mSpace.CurrentMember = nullptr;
    EXPECT_EQ(AssignCurrentNodeToEnd(mSpace, true), TAssignNodeResult::NothingToDo);
}

TEST_F(ObjectPanelCommands, SwapTurnAndHingeNeedACurrentMember) {
    TPrut* m = mModel.M1;
    m->PridejZatizeni(KLoadForce, nullptr, 1, 0, 10, 0, 90);
    EXPECT_TRUE(SwapCurrentMemberNodes(mSpace));
    EXPECT_EQ(m->NodeA, mModel.N2);
    EXPECT_FALSE(m->HingeA);
    EXPECT_TRUE(m->HingeB);
    EXPECT_EQ(m->CurrentLoad->A, 4.0L);
    EXPECT_NEAR(static_cast<double>(m->Angle), 126.8698976, 1e-6); // now pointing down-left
    EXPECT_TRUE(TurnCurrentMemberSection(mSpace));
    EXPECT_TRUE(m->SectionTurned);
    EXPECT_TRUE(ToggleCurrentMemberHinge(mSpace, false));
    EXPECT_FALSE(m->HingeB);

    mSpace.CurrentMember = nullptr;
    EXPECT_FALSE(SwapCurrentMemberNodes(mSpace));
    EXPECT_FALSE(TurnCurrentMemberSection(mSpace));
    EXPECT_FALSE(ToggleCurrentMemberHinge(mSpace, true));
}

TEST_F(ObjectPanelCommands, ClipboardAndDefaultSection) {
    EXPECT_FALSE(PasteSectionToCurrentMember(mSpace)); // empty clipboard
    CopySectionOfCurrentMember(mSpace);
    EXPECT_EQ(mSpace.SectionClipboard, mModel.Ipe);
    mSpace.CurrentMember = mModel.M2;
    EXPECT_TRUE(PasteSectionToCurrentMember(mSpace));
    EXPECT_EQ(mModel.M2->Section, mModel.Ipe);
    EXPECT_FALSE(PasteSectionToCurrentMember(mSpace)); // already that section

    mSpace.CurrentSection = mModel.Heb;
    EXPECT_TRUE(AssignCurrentSectionToCurrentMember(mSpace));
    EXPECT_EQ(mModel.M2->Section, mModel.Heb);
    mSpace.CurrentMember = mModel.M1;
    MakeMemberSectionCurrent(mSpace);
    EXPECT_EQ(mSpace.CurrentSection, mModel.Ipe);
    mSpace.CurrentMember = nullptr;
    MakeMemberSectionCurrent(mSpace); // keeps the current section
    EXPECT_EQ(mSpace.CurrentSection, mModel.Ipe);
    CopySectionOfCurrentMember(mSpace);
    EXPECT_EQ(mSpace.SectionClipboard, mModel.Ipe);
}

TEST_F(ObjectPanelCommands, AssignToAllAndToSelected) {
    EXPECT_EQ(AssignCurrentSectionToAll(mSpace), 0); // no current section
    mSpace.CurrentSection = mModel.Heb;
    mSpace.SelectedMembers.Add(mModel.M1);
    mSpace.SelectedMembers.Add(mModel.M1);
    EXPECT_EQ(AssignCurrentSectionToSelected(mSpace), 1);
    EXPECT_EQ(mModel.M1->Section, mModel.Heb);
    mSpace.CurrentSection = mModel.Ipe;
    EXPECT_EQ(AssignCurrentSectionToAll(mSpace), 2);
    EXPECT_EQ(mModel.M2->Section, mModel.Ipe);
    EXPECT_EQ(AssignCurrentSectionToAll(mSpace), 0);
}

TEST_F(ObjectPanelCommands, ChoosingByName) {
    EXPECT_FALSE(ChooseSection(mSpace, "ipe 200")); // names are case-sensitive
    EXPECT_EQ(mSpace.CurrentSection, nullptr);
    EXPECT_TRUE(ChooseSection(mSpace, "Unused"));
    EXPECT_EQ(mSpace.CurrentSection->Name, "Unused");
    EXPECT_EQ(mSpace.CurrentMaterial, mModel.Wood);

    EXPECT_TRUE(ChooseMaterial(mSpace, "S235"));
    EXPECT_EQ(mSpace.CurrentMaterial, mModel.Steel);
    EXPECT_EQ(mSpace.CurrentSection->Material, mModel.Steel);
    // An unknown name leaves no current material and the section's material as it was.
    EXPECT_FALSE(ChooseMaterial(mSpace, "Beton"));
    EXPECT_EQ(mSpace.CurrentMaterial, nullptr);
    EXPECT_EQ(mSpace.CurrentSection->Material, mModel.Steel);
    mSpace.CurrentSection = nullptr;
    EXPECT_TRUE(ChooseMaterial(mSpace, "C24"));
    EXPECT_EQ(mSpace.CurrentMaterial, mModel.Wood);
}

} // namespace
