#include <gtest/gtest.h>

#include <cmath>

#include "model/MKPSpace.h"

namespace {
struct TwoNodes {
    TMKPSpace space;
    TMaterial* steel = space.PridejMaterial("S235", 210000, 7850);
    TProfil* section = space.PridejProfil("IPE 200", steel, 0.00285, 0.0000194, 0.00000142);
    TUzel* Node(TReal x, TReal y) { return space.PridejUzel(space.Nodes.Count() + 1, x, y); }
    TPrut* Member(TUzel* a, TUzel* b) {
        return space.PridejPrut(a, b, section, false, space.Members.Count() + 1, false, false);
    }
};
} // namespace

TEST(Node, NumberGivesEquationCodes) {
    TUzel node(4, 1.0L, 2.0L);
    EXPECT_EQ(node.DofRot.Code, 10);
    EXPECT_EQ(node.DofU.Code, 11);
    EXPECT_EQ(node.DofW.Code, 12);
    EXPECT_FALSE(node.HasSupport());
    EXPECT_EQ(node.CurrentLoad, nullptr);
}

// The editing commands' one test for a member of no length: rounding apart is no length, at any
// size of the coordinates; anything a user can place apart is a length.
TEST(Node, CoincideWithinRoundingOfTheCoordinates) {
    const struct {
        TReal X1, Y1, X2, Y2;
        bool Same;
    } rows[] = {
        {0, 0, 0, 0, true},           {1, 2, 1, 2, true},
        {0, 0, 0, -2.5e-19L, true},   {3, 4, 3 + 1e-13L, 4, true},
        {3, 4, 3 + 1e-11L, 4, false}, {0, 0, 0.001L, 0, false},
        {1e6L, 0, 1e6L + 1e-7L, 0, true}, {1e6L, 0, 1e6L + 1e-5L, 0, false},
    };
    for (const auto& r : rows) {
        TUzel a(1, r.X1, r.Y1), b(2, r.X2, r.Y2);
        EXPECT_EQ(Coincide(a, b), r.Same) << double(r.X1) << " " << double(r.X2) << " " << double(r.Y2);
        EXPECT_EQ(Coincide(b, a), r.Same);
    }
}

TEST(Member, AngleIsClockwiseFromPlusXWithYUp) {
    struct Row {
        TReal x, y, angle;
    } rows[] = {{1, -1, 45}, {-1, -1, 135}, {-1, 1, 225}, {1, 1, 315}, {-2, 0, 180}, {0, -3, 90}, {0, 3, -90},
                {3, 0, 0}};
    for (const Row& r : rows) {
        TwoNodes m;
        TPrut* p = m.Member(m.Node(0, 0), m.Node(r.x, r.y));
        EXPECT_NEAR(static_cast<double>(p->Angle), static_cast<double>(r.angle), 1e-12) << r.x << "," << r.y;
        EXPECT_NEAR(static_cast<double>(p->Length), std::sqrt(double(r.x * r.x + r.y * r.y)), 1e-15);
        EXPECT_NEAR(static_cast<double>(p->CosA), std::cos(double(r.angle) * 3.14159265358979323846 / 180), 1e-15);
    }
}

TEST(Member, DivisionsHaveAMinimumOfTen) {
    TwoNodes m;
    TPrut* p = m.Member(m.Node(0, 0), m.Node(1, 0));
    EXPECT_EQ(p->Divisions, 10);
    p->NastavDeleni(5);
    EXPECT_EQ(p->Divisions, 10);
    p->NastavDeleni(10);
    EXPECT_EQ(p->Divisions, 10);
    p->NastavDeleni(11);
    EXPECT_EQ(p->Divisions, 11);
}

TEST(Member, SwappingTwiceRestoresEndsAndLoadPositions) {
    TwoNodes m;
    TUzel* a = m.Node(0, 0);
    TUzel* b = m.Node(4, 0);
    TPrut* p = m.Member(a, b);
    p->HingeB = true;
    p->PridejZatizeni(KLoadDistributed, nullptr, 1, 2, 3, 5, 90);
    p->PridejZatizeni(KLoadForce, nullptr, 0.5, 0, 7, 0, 45);
    p->OtocPrut();
    EXPECT_EQ(p->NodeA, b);
    EXPECT_TRUE(p->HingeA);
    EXPECT_FALSE(p->HingeB);
    EXPECT_NEAR(double(p->Angle), 180, 1e-12);
    EXPECT_EQ(p->Loads[0]->A, 1);  // was B = 4 - 3
    EXPECT_EQ(p->Loads[0]->Q1, 5); // distributed intensities swapped
    EXPECT_EQ(p->Loads[1]->Q1, 7); // point force keeps its value
    EXPECT_EQ(p->Loads[0]->Angle, 270);
    p->OtocPrut();
    EXPECT_EQ(p->NodeA, a);
    EXPECT_TRUE(p->HingeB);
    EXPECT_EQ(p->Loads[0]->A, 1);
    EXPECT_EQ(p->Loads[0]->B, 1);
    EXPECT_EQ(p->Loads[0]->Q1, 3);
    EXPECT_EQ(p->Loads[0]->Angle, 450);
    EXPECT_EQ(p->Loads[1]->Angle, 405);
}

TEST(Loads, DeletingCurrentMakesTheLastRemainingCurrent) {
    TUzel node(1, 0, 0);
    TZatizeni* first = node.PridejZatizeni(KLoadForce, nullptr, 1, 90);
    TZatizeni* second = node.PridejZatizeni(KLoadForce, nullptr, 2, 90);
    node.PridejZatizeni(KLoadMoment, nullptr, 3, 0);
    node.CurrentLoad = first;
    node.SmazZatizeni();
    ASSERT_EQ(node.Loads.Count(), 2);
    EXPECT_EQ(node.CurrentLoad, node.Loads[1]);
    node.CurrentLoad = second;
    node.SmazZatizeni();
    node.SmazZatizeni();
    EXPECT_EQ(node.Loads.Count(), 0);
    EXPECT_EQ(node.CurrentLoad, nullptr);
    node.SmazZatizeni(); // nothing current: nothing happens
    EXPECT_EQ(node.Loads.Count(), 0);
}

TEST(Loads, MemberLoadDerivesBFromTheLength) {
    TwoNodes m;
    TPrut* p = m.Member(m.Node(0, 0), m.Node(10, 0));
    TZatizeni* q = p->PridejZatizeni(KLoadDistributed, nullptr, 2.5, 2, 1, 1, 90);
    EXPECT_EQ(q->B, 5.5);
    EXPECT_EQ(p->CurrentLoad, q);
    p->SmazVsechnaZatizeni();
    EXPECT_TRUE(p->Loads.Empty());
}

TEST(Loads, SelfWeightPointsDownAndCarriesNoFactor) {
    TwoNodes m;
    m.space.WeightCase.Factor = 1.35L;
    TPrut* p = m.Member(m.Node(0, 0), m.Node(0, -3));
    p->PridejVlastniTihu(&m.space.WeightCase);
    TZatizeni* w = p->Loads[0];
    EXPECT_EQ(w->Kind, KLoadSelfWeight);
    EXPECT_NEAR(double(w->Q1), 0.223725, 1e-15); // 7850 kg/m3 x 0.00285 m2 x 10 m/s2 in kN/m
    EXPECT_EQ(w->Q2, w->Q1);
    EXPECT_EQ(w->C, p->Length);
    EXPECT_NEAR(double(w->Angle), 0, 1e-12); // a vertical member pointing down carries it axially
    EXPECT_EQ(w->LoadCase, &m.space.WeightCase);
    p->PridejZatizeni(KLoadForce, nullptr, 1, 0, 5, 0, 90);
    p->SmazVlastniTihu();
    ASSERT_EQ(p->Loads.Count(), 1);
    EXPECT_EQ(p->Loads[0]->Kind, KLoadForce);
}

// Zoom 64 keeps every distance below exact in binary.
TEST(HitTest, NodeWithinSixPixels) {
    TNodeList nodes;
    nodes.Add(new TUzel(1, 1, 1));
    EXPECT_EQ(nodes.UzelNaPozici(64, 1 + 5 / 64.0L, 1), nodes[0]);
    EXPECT_EQ(nodes.UzelNaPozici(64, 1, 1 - 6 / 64.0L), nullptr);
}

TEST(HitTest, MemberWithinFivePixelsAndNotWithinEightOfItsEnds) {
    TwoNodes m;
    TPrut* p = m.Member(m.Node(0, 0), m.Node(2, 0));
    EXPECT_EQ(m.space.Members.PrutNaPozici(64, 1, 4 / 64.0L), p);
    EXPECT_EQ(m.space.Members.PrutNaPozici(64, 1, 5 / 64.0L), nullptr);
    EXPECT_EQ(m.space.Members.PrutNaPozici(64, 8 / 64.0L, 0), nullptr);
    EXPECT_EQ(m.space.Members.PrutNaPozici(64, 9 / 64.0L, 0), p);
    EXPECT_EQ(m.space.Members.PrutNaPozici(64, 2 - 8 / 64.0L, 0), nullptr);
}

TEST(RefPoint, ReadsZeroWhileInactive) {
    TRefPoint anchor;
    anchor.SetX(2);
    anchor.SetY(-3);
    EXPECT_EQ(anchor.X(), 2);
    anchor.Active = false;
    EXPECT_EQ(anchor.X(), 0);
    EXPECT_EQ(anchor.Y(), 0);
    anchor.Active = true;
    EXPECT_EQ(anchor.Y(), -3);
}
