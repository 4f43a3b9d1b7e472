#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "analysis/ProfileMatrix.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"

namespace {
constexpr TReal KE = 210000;     // MPa
constexpr TReal KA = 0.00538L;   // m2
constexpr TReal KI = 0.0000836L; // m4

struct Frame {
    TMKPSpace space;
    TRecordingDialogs dialogs;
    TDialogsGuard guard{dialogs};
    TMaterial* steel = space.PridejMaterial("S235", KE, 7850);
    TProfil* section = space.PridejProfil("IPE 300", steel, KA, KI, 0.000006038L);
    Frame() { space.TraceEnabled = false; }
    TUzel* Node(TReal x, TReal y) { return space.PridejUzel(space.Nodes.Count() + 1, x, y); }
    TPrut* Member(TUzel* a, TUzel* b, bool ha = false, bool hb = false) {
        return space.PridejPrut(a, b, section, false, space.Members.Count() + 1, ha, hb);
    }
    static void Fix(TUzel* n, bool u, bool w, bool r) {
        n->DofU.Fixed = u;
        n->DofW.Fixed = w;
        n->DofRot.Fixed = r;
    }
    TMKPSpace::TSolveStatus Solve() { return space.Vypocet(); }
};

double D(TReal v) { return static_cast<double>(v); }
} // namespace

TEST(SolverClosedForm, CantileverTipDeflectionAndReactions) {
    Frame f;
    const TReal l = 3, p = 10;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(l, 0);
    f.Member(a, b);
    Frame::Fix(a, true, true, true);
    b->PridejZatizeni(KLoadForce, nullptr, p, 90); // downward
    ASSERT_EQ(f.Solve().Result, TMKPSpace::TSolveResult::Ok);
    EXPECT_TRUE(f.space.ResultsValid);
    EXPECT_NEAR(D(b->Displacement[2]), D(p * l * l * l / (3 * KE * KI)), 1e-12); // mm
    EXPECT_NEAR(D(b->Displacement[0]), D(p * l * l / (2 * KE * KI)), 1e-12);     // mrad, clockwise
    EXPECT_NEAR(D(a->DofW.Reaction), D(p), 1e-12);
    EXPECT_NEAR(D(a->DofRot.Reaction), D(p * l), 1e-12);
    EXPECT_NEAR(D(a->DofU.Reaction), 0, 1e-12);
}

TEST(SolverClosedForm, SimplySupportedBeamUnderMidForce) {
    Frame f;
    TUzel* a = f.Node(0, 0);
    TUzel* m = f.Node(2, 0);
    TUzel* b = f.Node(4, 0);
    f.Member(a, m);
    f.Member(m, b);
    Frame::Fix(a, true, true, false);
    Frame::Fix(b, false, true, false);
    m->PridejZatizeni(KLoadForce, nullptr, 20, 90);
    ASSERT_EQ(f.Solve().Result, TMKPSpace::TSolveResult::Ok);
    EXPECT_NEAR(D(a->DofW.Reaction), 10, 1e-10);
    EXPECT_NEAR(D(b->DofW.Reaction), 10, 1e-10);
    EXPECT_GT(m->Displacement[2], 0);
    EXPECT_NEAR(D(m->Displacement[2]), D(20 * 64 / (48 * KE * KI)), 1e-10);
}

TEST(SolverClosedForm, UniformLoadOnPinnedBeamGivesEndRotationAndMidMoment) {
    Frame f;
    const TReal l = 6, q = 5;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(l, 0);
    TPrut* p = f.Member(a, b);
    Frame::Fix(a, true, true, false);
    Frame::Fix(b, false, true, false);
    p->PridejZatizeni(KLoadDistributed, nullptr, 0, l, q, q, 90);
    ASSERT_EQ(f.Solve().Result, TMKPSpace::TSolveResult::Ok);
    p->Prubehy();
    const TMatrix& r = p->Results;
    // 11 division points; the load's start and end coincide with both ends, doubling them.
    ASSERT_EQ(r[0].size(), 13u);
    EXPECT_EQ(r[0][0], r[0][1]);
    EXPECT_EQ(r[0][11], r[0][12]);
    const std::size_t mid = 6;
    ASSERT_EQ(r[0][mid], 3);
    EXPECT_NEAR(D(r[4][0]), D(q * l * l * l / (24 * KE * KI)), 1e-10);
    EXPECT_NEAR(D(r[1][mid]), D(q * l * l / 8), 1e-10);
    EXPECT_NEAR(D(r[6][mid]), D(5 * q * l * l * l * l / (384 * KE * KI)), 1e-10);
    EXPECT_NEAR(D(r[3][0]), D(-q * l / 2), 1e-10); // T along local z on the part from a
    p->UvolniPrubehy();
    EXPECT_TRUE(p->Results.empty());
}

TEST(SolverClosedForm, PinPinMemberRotationFromLoadsAndChord) {
    Frame f;
    const TReal l = 4, q = 3;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(l, 0);
    TPrut* p = f.Member(a, b, true, true);
    Frame::Fix(a, true, true, true);
    Frame::Fix(b, true, true, true);
    p->PridejZatizeni(KLoadDistributed, nullptr, 0, l, q, q, 90);
    ASSERT_EQ(f.Solve().Result, TMKPSpace::TSolveResult::Ok);
    p->Prubehy();
    EXPECT_NEAR(D(p->Results[4][0]), D(q * l * l * l / (24 * KE * KI)), 1e-10);
    ASSERT_EQ(p->Results[0][6], 2);
    EXPECT_NEAR(D(p->Results[1][6]), D(q * l * l / 8), 1e-10);
    EXPECT_TRUE(p->HingeA && p->HingeB); // restored after the rigid-end moments were taken
}

TEST(SolverClosedForm, FixedFixedTriangularLoadEndMoments) {
    Frame f;
    const TReal l = 5, q = 12;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(l, 0);
    TPrut* p = f.Member(a, b);
    Frame::Fix(a, true, true, true);
    Frame::Fix(b, true, true, true);
    p->PridejZatizeni(KLoadDistributed, nullptr, 0, l, 0, q, 90); // 0 at a, q at b
    ASSERT_EQ(f.Solve().Result, TMKPSpace::TSolveResult::Ok);
    EXPECT_NEAR(D(std::fabs(p->Sa[0])), D(q * l * l / 30), 1e-10);
    EXPECT_NEAR(D(std::fabs(p->Sb[0])), D(q * l * l / 20), 1e-10);
    EXPECT_NEAR(D(a->DofW.Reaction + b->DofW.Reaction), D(q * l / 2), 1e-10);
    EXPECT_NEAR(D(b->DofW.Reaction), D(7 * q * l / 20), 1e-10);
}

TEST(SolverClosedForm, ProppedCantileverReactions) {
    Frame f;
    const TReal l = 8, q = 4;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(l, 0);
    TPrut* p = f.Member(a, b);
    Frame::Fix(a, true, true, true);
    Frame::Fix(b, false, true, false);
    p->PridejZatizeni(KLoadDistributed, nullptr, 0, l, q, q, 90);
    ASSERT_EQ(f.Solve().Result, TMKPSpace::TSolveResult::Ok);
    EXPECT_NEAR(D(a->DofW.Reaction), D(5 * q * l / 8), 1e-10);
    EXPECT_NEAR(D(b->DofW.Reaction), D(3 * q * l / 8), 1e-10);
    EXPECT_NEAR(D(a->DofRot.Reaction), D(q * l * l / 8), 1e-10);
}

TEST(SolverClosedForm, HingedNodeRotationWithoutStiffnessIsFixedAutomatically) {
    Frame f;
    TUzel* a = f.Node(0, 0);
    TUzel* m = f.Node(3, 3);
    TUzel* b = f.Node(6, 0);
    f.Member(a, m, false, true);
    f.Member(b, m, false, true);
    Frame::Fix(a, true, true, true);
    Frame::Fix(b, true, true, true);
    m->PridejZatizeni(KLoadForce, nullptr, 10, 90);
    ASSERT_EQ(f.Solve().Result, TMKPSpace::TSolveResult::Ok);
    EXPECT_NEAR(D(a->DofW.Reaction + b->DofW.Reaction), 10, 1e-10);
    EXPECT_TRUE(f.dialogs.Messages.empty());
}

// A horizontal bar without supports: the u of its end cancels exactly in the elimination, so the
// zero pivot stops the computation and the results of before stay valid.
TEST(SolverClosedForm, ExactZeroPivotStopsWithoutTouchingResults) {
    Frame f;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(2, 0);
    f.Member(a, b);
    b->PridejZatizeni(KLoadForce, nullptr, 1, 90);
    f.space.ResultsValid = true;
    TMKPSpace::TSolveStatus s = f.Solve();
    EXPECT_EQ(s.Result, TMKPSpace::TSolveResult::ZeroPivot);
    EXPECT_EQ(s.Equation, 5); // u of node 2
    EXPECT_TRUE(f.space.ResultsValid);
    EXPECT_TRUE(b->Displacement.empty());
    ASSERT_EQ(f.dialogs.Messages.size(), 1u);
    EXPECT_EQ(f.dialogs.Messages[0], "Na diagonále matice tuhosti byla nalezena nulová hodnota. Zkontrolujte, "
                                     "prosím, podepření soustavy,");
}

// A frame supported by rollers in one direction only can slide: a pivot collapses to rounding
// noise and the mechanism check refuses it.
TEST(SolverClosedForm, FrameThatCanSlideIsAMechanism) {
    Frame f;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(0.3L, 4.1L);
    TUzel* c = f.Node(5.7L, 3.3L);
    f.Member(a, b);
    f.Member(b, c);
    Frame::Fix(a, false, true, false);
    Frame::Fix(c, false, true, false);
    b->PridejZatizeni(KLoadForce, nullptr, 1, 0);
    f.space.ResultsValid = true;
    TMKPSpace::TSolveStatus s = f.Solve();
    ASSERT_NE(s.Result, TMKPSpace::TSolveResult::Ok);
    ASSERT_EQ(f.dialogs.Messages.size(), 1u);
    if (s.Result == TMKPSpace::TSolveResult::Mechanism) {
        EXPECT_FALSE(f.space.ResultsValid);
        EXPECT_EQ(f.dialogs.Messages[0], "Zkontrolujte podepření soustavy, prosím. Konstrukce je pravděpodobně "
                                         "pohyblivým mechanismem.");
    } else {
        EXPECT_TRUE(f.space.ResultsValid);
    }
}

TEST(SolverClosedForm, NoMembersDoesNothing) {
    Frame f;
    f.Node(0, 0);
    EXPECT_EQ(f.Solve().Result, TMKPSpace::TSolveResult::NoMembers);
    EXPECT_FALSE(f.space.ResultsValid);
}

TEST(SolverClosedForm, RotatedSupportGivesReactionsInItsDirections) {
    Frame f;
    const TReal l = 4, q = 2;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(l, 0);
    TPrut* p = f.Member(a, b);
    Frame::Fix(a, true, true, false);
    Frame::Fix(b, false, true, false);
    b->DofU.Angle = b->DofW.Angle = b->DofRot.Angle = 30; // roller on a 30° incline
    p->PridejZatizeni(KLoadDistributed, nullptr, 0, l, q, q, 90);
    ASSERT_EQ(f.Solve().Result, TMKPSpace::TSolveResult::Ok);
    // The roller's reaction acts along its w (normal to the incline): its vertical part carries
    // half the load, the horizontal part is taken by the pin.
    const TReal rw = b->DofW.Reaction;
    const TReal c = std::cos(DegToRad(30)), s = std::sin(DegToRad(30));
    EXPECT_NEAR(D(rw * c), D(q * l / 2), 1e-10);
    EXPECT_NEAR(D(a->DofU.Reaction - rw * s), 0, 1e-10);
}

// Random frames: the reactions balance the loads in x, y and in moment about the origin.
TEST(SolverClosedForm, ReactionsBalanceLoadsOnRandomFrames) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> u(0, 1);
    for (int trial = 0; trial < 40; ++trial) {
        Frame f;
        const int bays = 1 + trial % 3, storeys = 1 + trial % 2;
        std::vector<std::vector<TUzel*>> g(storeys + 1);
        for (int s = 0; s <= storeys; ++s)
            for (int b = 0; b <= bays; ++b) g[s].push_back(f.Node(b * 4.0L, s * 3.0L));
        for (int b = 0; b <= bays; ++b) {
            TUzel* n = g[0][b];
            Frame::Fix(n, true, true, u(rng) < 0.5);
            n->DofU.Angle = n->DofW.Angle = n->DofRot.Angle = u(rng) < 0.3 ? 20 : 0;
        }
        for (int s = 1; s <= storeys; ++s) {
            for (int b = 0; b <= bays; ++b) f.Member(g[s - 1][b], g[s][b]);
            for (int b = 0; b < bays; ++b) f.Member(g[s][b], g[s][b + 1], u(rng) < 0.3, u(rng) < 0.3);
        }
        // Loads in global terms: forces (fx, fy up) and moments (clockwise).
        TReal fx = 0, fy = 0, mo = 0; // mo: clockwise moment about the origin
        auto addGlobal = [&](TReal x, TReal y, TReal q, TReal angle) {
            TReal ax = q * std::cos(DegToRad(angle)), ay = -q * std::sin(DegToRad(angle));
            fx += ax;
            fy += ay;
            mo += -(x * ay - y * ax); // clockwise positive
        };
        for (TPrut* m : f.space.Members) {
            TReal q = 1 + 5 * u(rng), angle = 90 * u(rng);
            TReal a0 = m->Length * 0.2L, c = m->Length * 0.5L;
            m->PridejZatizeni(KLoadDistributed, nullptr, a0, c, q, q, angle);
            // resultant at the middle of the loaded length, direction member angle + load angle
            TReal xm = m->NodeA->X + (a0 + c / 2) * m->CosA, ym = m->NodeA->Y - (a0 + c / 2) * m->SinA;
            addGlobal(xm, ym, q * c, m->Angle + angle);
            TReal pforce = 3 * u(rng);
            m->PridejZatizeni(KLoadForce, nullptr, m->Length / 3, 0, pforce, 0, 45);
            addGlobal(m->NodeA->X + m->Length / 3 * m->CosA, m->NodeA->Y - m->Length / 3 * m->SinA, pforce,
                      m->Angle + 45);
            TReal mm = 2 * u(rng) - 1;
            m->PridejZatizeni(KLoadMoment, nullptr, m->Length / 2, 0, mm, 0, 0);
            mo += mm;
        }
        TUzel* top = g[storeys][bays];
        top->PridejZatizeni(KLoadForce, nullptr, 7, 0);
        addGlobal(top->X, top->Y, 7, 0);
        top->PridejZatizeni(KLoadMoment, nullptr, 2, 0);
        mo += 2;
        ASSERT_EQ(f.Solve().Result, TMKPSpace::TSolveResult::Ok) << trial;
        // Reaction R is the force on the support; the support acts on the structure with -R.
        TReal rx = 0, ry = 0, rm = 0;
        for (TUzel* n : f.space.Nodes) {
            if (!n->HasSupport()) continue;
            TReal a = DegToRad(n->DofU.Angle);
            TReal hu = n->DofU.Fixed ? n->DofU.Reaction : 0, hw = n->DofW.Fixed ? n->DofW.Reaction : 0;
            // u along (cos a, -sin a) in y-up terms, w along u turned 90° clockwise: (-sin a, -cos a)
            TReal px = -(hu * std::cos(a) - hw * std::sin(a));
            TReal py = -(-hu * std::sin(a) - hw * std::cos(a));
            rx += px;
            ry += py;
            rm += -(n->X * py - n->Y * px);
            if (n->DofRot.Fixed) rm += -n->DofRot.Reaction;
        }
        EXPECT_NEAR(D(rx + fx), 0, 1e-8) << trial;
        EXPECT_NEAR(D(ry + fy), 0, 1e-8) << trial;
        EXPECT_NEAR(D(rm + mo), 0, 1e-7) << trial;
        // The table of a member ends with the end results at b.
        for (TPrut* m : f.space.Members) {
            if (m->HingeA) continue;
            m->Prubehy();
            const std::size_t last = m->Results[0].size() - 1;
            EXPECT_NEAR(D(m->Results[1][last]), D(-m->Sb[0]), 1e-7);
            EXPECT_NEAR(D(m->Results[2][last]), D(-m->Sb[1]), 1e-7);
            EXPECT_NEAR(D(m->Results[3][last]), D(-m->Sb[2]), 1e-7);
            EXPECT_NEAR(D(m->Results[5][last]), D(m->Sb[4]), 1e-7);
            EXPECT_NEAR(D(m->Results[6][last]), D(m->Sb[5]), 1e-7);
            m->UvolniPrubehy();
        }
    }
}
