#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/Frames.h"

namespace {
TPrut* Bar(TFrame& f, TReal x, TReal y, bool ha = false, bool hb = false) {
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(x, y);
    return f.Member(a, b, ha, hb);
}
} // namespace

TEST(ElementMatrices, HorizontalMemberHasIdentityTransformation) {
    TFrame f;
    TPrut* m = Bar(f, 4, 0);
    m->SestavMatice();
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j) {
            EXPECT_EQ(D(m->T[i][j]), i == j ? 1.0 : 0.0);
            EXPECT_EQ(D(m->TI[i][j]), i == j ? 1.0 : 0.0);
        }
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j) EXPECT_EQ(D(m->kabG[i][j]), D(m->kabL[i][j]));
    // Equation numbers in row 0 and column 0, [0][0] = 0.
    const double codes[7] = {0, 1, 2, 3, 4, 5, 6};
    for (int k = 0; k <= 6; ++k) {
        EXPECT_EQ(D(m->kabG[0][k]), codes[k]);
        EXPECT_EQ(D(m->kabL[k][0]), codes[k]);
    }
    m->UvolniMatice();
    EXPECT_TRUE(m->T.empty() && m->kabG.empty() && m->MabG.empty());
}

TEST(ElementMatrices, DownwardMemberTurnsUIntoW) {
    TFrame f;
    TPrut* m = Bar(f, 0, -3); // Angle 90
    m->SestavMatice();
    EXPECT_NEAR(D(m->T[1][1]), 0, 1e-18);
    EXPECT_NEAR(D(m->T[1][2]), 1, 1e-18);
    EXPECT_NEAR(D(m->T[2][1]), -1, 1e-18);
    EXPECT_NEAR(D(m->T[2][2]), 0, 1e-18);
    // The axial stiffness EA/L acts on the global w of both nodes.
    const TReal ea = f.EA() / 3;
    EXPECT_NEAR(D(m->kabG[3][3]), D(ea), 1e-9 * D(ea));
    EXPECT_NEAR(D(m->kabG[3][6]), -D(ea), 1e-9 * D(ea));
    EXPECT_NEAR(D(m->kabG[2][2]), D(12 * f.EI() / 27), 1e-9 * D(ea));
}

TEST(ElementMatrices, SupportRotatedByTheMemberAngleGivesAnIdentityBlock) {
    TFrame f;
    TPrut* m = Bar(f, 3, -3); // Angle 45
    TFrame::Support(m->NodeB, true, true, false, 45);
    m->SestavT();
    EXPECT_EQ(D(m->T[4][4]), 1.0);
    EXPECT_EQ(D(m->T[4][5]), 0.0);
    EXPECT_EQ(D(m->T[5][4]), 0.0);
    EXPECT_EQ(D(m->T[5][5]), 1.0);
    EXPECT_NE(D(m->T[1][2]), 0.0);
}

TEST(ElementMatrices, LocalStiffnessByEndConnections) {
    TFrame f(1, 2, 3); // E = 1, A = 2, I = 3
    const TReal l = 2, ei = 3;
    struct Row {
        bool ha, hb;
        TReal phiA, phiB, phiAB, ww, phiAwA, phiBwA;
    } rows[] = {
        {false, false, 4 * ei / l, 4 * ei / l, 2 * ei / l, 12 * ei / (l * l * l), 6 * ei / (l * l), 6 * ei / (l * l)},
        {true, false, 0, 3 * ei / l, 0, 3 * ei / (l * l * l), 0, 3 * ei / (l * l)},
        {false, true, 3 * ei / l, 0, 0, 3 * ei / (l * l * l), 3 * ei / (l * l), 0},
        {true, true, 0, 0, 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        TPrut* m = Bar(f, l, 0, r.ha, r.hb);
        m->SestavKabL();
        auto k = [&](int i, int j) { return D(m->kabL[i][j]); };
        EXPECT_DOUBLE_EQ(k(2, 2), 1.0);
        EXPECT_DOUBLE_EQ(k(2, 5), -1.0);
        EXPECT_DOUBLE_EQ(k(1, 1), D(r.phiA));
        EXPECT_DOUBLE_EQ(k(4, 4), D(r.phiB));
        EXPECT_DOUBLE_EQ(k(1, 4), D(r.phiAB));
        EXPECT_DOUBLE_EQ(k(3, 3), D(r.ww));
        EXPECT_DOUBLE_EQ(k(3, 6), -D(r.ww));
        EXPECT_DOUBLE_EQ(k(1, 3), D(r.phiAwA));
        EXPECT_DOUBLE_EQ(k(1, 6), -D(r.phiAwA));
        EXPECT_DOUBLE_EQ(k(4, 3), D(r.phiBwA));
        EXPECT_DOUBLE_EQ(k(4, 6), -D(r.phiBwA));
        int nonZero = 0;
        for (int i = 1; i <= 6; ++i)
            for (int j = 1; j <= 6; ++j) {
                EXPECT_EQ(k(i, j), k(j, i));
                nonZero += k(i, j) != 0;
                // Neither axial term couples to bending.
                if ((i == 2 || i == 5) && j != 2 && j != 5) EXPECT_EQ(k(i, j), 0.0);
            }
        if (r.ha && r.hb) EXPECT_EQ(nonZero, 4);
    }
}

TEST(ElementMatrices, TurnedSectionBendsAboutIz) {
    TFrame f(10, 1, 4); // Iz = 2
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(2, 0);
    TPrut* m = f.Space.PridejPrut(a, b, f.Sec, true, 1, false, false);
    m->SestavKabL();
    EXPECT_DOUBLE_EQ(D(m->kabL[1][1]), 4 * 10 * 2 / 2.0);
}

TEST(ElementMatricesProperty, GlobalStiffnessIsSymmetricForEveryHingeAndAngle) {
    const TReal supportAngles[] = {0, 17, 90, -45};
    for (int hinge = 0; hinge < 4; ++hinge)
        for (int step = 0; step < 24; ++step)
            for (TReal sa : supportAngles) {
                TFrame f;
                TReal a = DegToRad(step * 15.0L + 3);
                TPrut* m = Bar(f, 3 * std::cos(a), -3 * std::sin(a), hinge & 1, hinge & 2);
                TFrame::Support(m->NodeA, true, false, false, sa);
                m->SestavMatice();
                for (int i = 1; i <= 6; ++i)
                    for (int j = 1; j <= 6; ++j)
                        EXPECT_NEAR(D(m->kabG[i][j]), D(m->kabG[j][i]), 1e-9 * D(f.EA()))
                            << hinge << " " << step << " " << D(sa);
                // A rigid-body translation of the member produces no forces.
                TReal d[6] = {0, std::cos(DegToRad(sa)), -std::sin(DegToRad(sa)), 0, 1, 0};
                for (int i = 1; i <= 6; ++i) {
                    TReal s = 0;
                    for (int j = 1; j <= 6; ++j) s += m->kabG[i][j] * d[j - 1];
                    EXPECT_NEAR(D(s), 0.0, 1e-9 * D(f.EA()));
                }
            }
}

// The transformation holds exactly the cosine and sine of each end's angle, whichever directions
// were formed before it: more directions than are remembered at once, revisited in another order,
// with rotated supports making the two ends differ.
TEST(ElementMatrices, TransformationIsExactAcrossManyDirections) {
    TFrame f;
    std::vector<TPrut*> members;
    const TReal ends[][2] = {{4, 0},  {0, -3}, {3, -3}, {-2, 5}, {1, 7},    {-6, -1}, {5, 2},
                             {-1, 0}, {0, 3},  {2, -9}, {7, 7},  {-3, -4}, {0.1L, 6}};
    for (const auto& e : ends) members.push_back(Bar(f, e[0], e[1]));
    TFrame::Support(members[2]->NodeB, true, true, false, 30);
    TFrame::Support(members[5]->NodeB, true, false, false, -17.5L);
    auto check = [](const TPrut* m) {
        const TReal a = DegToRad(m->Angle - m->NodeA->DofU.Angle);
        const TReal b = DegToRad(m->Angle - m->NodeB->DofU.Angle);
        SCOPED_TRACE(D(m->Angle));
        EXPECT_EQ(m->T[1][1], std::cos(a));
        EXPECT_EQ(m->T[1][2], std::sin(a));
        EXPECT_EQ(m->TI[2][1], std::sin(a));
        EXPECT_EQ(m->T[4][4], std::cos(b));
        EXPECT_EQ(m->T[4][5], std::sin(b));
        EXPECT_EQ(m->TI[4][5], -std::sin(b));
    };
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t k = 0; k < members.size(); ++k) {
            TPrut* m = members[pass == 0 ? k : (k * 5) % members.size()];
            m->SestavT();
            m->SestavTI();
            check(m);
            m->UvolniMatice();
        }
}

// Matrices formed in storage handed over from another member equal those formed afresh, whatever
// that member was (hinged, loaded, rotated support); the giver is left released.
TEST(ElementMatrices, HandedOverStorageGivesTheSameMatrices) {
    TFrame f;
    TPrut* hinged = Bar(f, 3, 4, true, false);
    TPrut* truss = Bar(f, -2, 1, true, true);
    TPrut* plain = Bar(f, 5, 0);
    TFrame::Support(truss->NodeB, true, true, false, 20);
    hinged->PridejZatizeni(KLoadDistributed, nullptr, 0, 5, 10, 4, 90);
    const std::vector<TPrut*> members{hinged, truss, plain};
    for (TPrut* giver : members)
        for (TPrut* taker : members) {
            if (giver == taker) continue;
            taker->SestavMatice();
            const std::vector<TMatrix> fresh{taker->T, taker->TI, taker->kabL, taker->kabG, taker->MabL,
                                             taker->MabG};
            taker->UvolniMatice();
            giver->SestavMatice();
            giver->PredejMatice(*taker);
            taker->SestavMatice();
            EXPECT_TRUE(giver->T.empty() && giver->kabG.empty() && giver->MabG.empty());
            const std::vector<TMatrix> formed{taker->T, taker->TI, taker->kabL, taker->kabG, taker->MabL,
                                              taker->MabG};
            EXPECT_EQ(formed, fresh);
            taker->UvolniMatice();
        }
}
