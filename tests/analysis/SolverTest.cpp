#include <gtest/gtest.h>

#include <cmath>

#include "analysis/Frames.h"
#include "analysis/IdleCores.h"
#include "model/UserDialogs.h"

namespace {
const char* const KZeroPivot =
    "Na diagonále matice tuhosti byla nalezena nulová hodnota. Zkontrolujte, prosím, podepření soustavy,";
const char* const KMechanism =
    "Zkontrolujte podepření soustavy, prosím. Konstrukce je pravděpodobně pohyblivým mechanismem.";

// Runs the computation with a recording message sink.
// The node displacements by equation (index 1..3N, rotation, u, w of each node in turn).
TVector Displacements(const TFrame& f) {
    TVector v(std::size_t(3 * f.Space.Nodes.Count() + 1), 0.0L);
    for (int p = 0; p < f.Space.Nodes.Count(); ++p)
        for (int k = 0; k < 3; ++k) v[std::size_t(3 * p + k + 1)] = f.Space.Nodes[p]->Displacement[std::size_t(k)];
    return v;
}

// The first equation whose displacement differs from expected[equation] in any bit; 0 if none.
int FirstDifferentDisplacement(const TFrame& f, const TVector& expected) {
    const TVector v = Displacements(f);
    for (std::size_t i = 1; i < v.size(); ++i)
        if (i >= expected.size() || !SameBits(v[i], expected[i])) return int(i);
    return 0;
}

TSolveStatus Solve(TFrame& f, TRecordingDialogs& sink) {
    TDialogsGuard guard(sink);
    return f.Space.Vypocet();
}

TReal MidSpanMoment(TPrut* m) {
    m->Prubehy();
    TReal mid = 0;
    for (std::size_t j = 0; j < m->Results[0].size(); ++j)
        if (std::fabs(m->Results[0][j] - m->Length / 2) < 1e-12L) mid = m->Results[1][j];
    m->UvolniPrubehy();
    return mid;
}
} // namespace

TEST(Solver, CantileverTipDeflectionAndReactions) {
    for (TReal angle : {0.0L, 30.0L}) {
        TFrame f;
        const TReal l = 3, p = 12;
        TUzel* a = f.Node(0, 0);
        // The cantilever along the member direction; the load perpendicular to it.
        TUzel* b = f.Node(l * std::cos(DegToRad(angle)), -l * std::sin(DegToRad(angle)));
        f.Member(a, b);
        TFrame::Support(a, true, true, true);
        b->PridejZatizeni(KLoadForce, nullptr, p, 90 + angle);
        TRecordingDialogs sink;
        ASSERT_EQ(Solve(f, sink).Result, TSolveResult::Ok);
        EXPECT_TRUE(sink.Messages.empty());
        EXPECT_TRUE(f.Space.ResultsValid);
        // Deflection perpendicular to the member, in mm: the displacement of b projected.
        TReal u = b->Displacement[1], w = b->Displacement[2];
        TReal perp = -u * std::sin(DegToRad(angle)) + w * std::cos(DegToRad(angle));
        EXPECT_NEAR(D(perp), D(p * l * l * l / (3 * f.EI())), 1e-4 * D(p * l * l * l / (3 * f.EI())));
        EXPECT_NEAR(D(b->Displacement[0]), D(p * l * l / (2 * f.EI())), 1e-6);
        EXPECT_NEAR(D(a->DofRot.Reaction), D(p * l), 1e-9);
        EXPECT_NEAR(D(a->DofU.Reaction), D(p * std::cos(DegToRad(90 + angle))), 1e-9);
        EXPECT_NEAR(D(a->DofW.Reaction), D(p * std::sin(DegToRad(90 + angle))), 1e-9);
    }
}

TEST(Solver, SimplySupportedBeamUnderUniformLoad) {
    TFrame f;
    const TReal l = 6, q = 10;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(l, 0);
    TPrut* m = f.Member(a, b);
    TFrame::Support(a, true, true, false);
    TFrame::Support(b, false, true, false);
    m->PridejZatizeni(KLoadDistributed, nullptr, 0, l, q, q, 90);
    TRecordingDialogs sink;
    ASSERT_EQ(Solve(f, sink).Result, TSolveResult::Ok);
    const TReal rot = q * l * l * l / (24 * f.EI());
    EXPECT_NEAR(D(a->Displacement[0]), D(rot), 1e-9 * D(rot));
    EXPECT_NEAR(D(b->Displacement[0]), -D(rot), 1e-9 * D(rot));
    EXPECT_NEAR(D(a->DofW.Reaction), D(q * l / 2), 1e-9);
    EXPECT_NEAR(D(b->DofW.Reaction), D(q * l / 2), 1e-9);
    EXPECT_NEAR(D(MidSpanMoment(m)), D(q * l * l / 8), 1e-9);
}

TEST(Solver, FixedFixedBeamUnderTriangularLoad) {
    TFrame f;
    const TReal l = 5, q = 9;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(l, 0);
    TPrut* m = f.Member(a, b);
    TFrame::Support(a, true, true, true);
    TFrame::Support(b, true, true, true);
    m->PridejZatizeni(KLoadDistributed, nullptr, 0, l, 0, q, 90);
    TRecordingDialogs sink;
    ASSERT_EQ(Solve(f, sink).Result, TSolveResult::Ok);
    // Hogging end moments qL²/30 at the zero end and qL²/20 at the full end.
    EXPECT_NEAR(D(m->Sa[0]), -D(q * l * l / 30), 1e-12);
    EXPECT_NEAR(D(m->Sb[0]), D(q * l * l / 20), 1e-12);
    EXPECT_NEAR(D(a->DofRot.Reaction), D(q * l * l / 30), 1e-12);
    EXPECT_NEAR(D(b->DofRot.Reaction), -D(q * l * l / 20), 1e-12);
    EXPECT_NEAR(D(a->DofW.Reaction), D(3 * q * l / 20), 1e-12);
    EXPECT_NEAR(D(b->DofW.Reaction), D(7 * q * l / 20), 1e-12);
}

TEST(Solver, ProppedCantilever) {
    TFrame f;
    const TReal l = 4, q = 7;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(l, 0);
    TPrut* m = f.Member(a, b);
    TFrame::Support(a, true, true, true);
    TFrame::Support(b, false, true, false);
    m->PridejZatizeni(KLoadDistributed, nullptr, 0, l, q, q, 90);
    TRecordingDialogs sink;
    ASSERT_EQ(Solve(f, sink).Result, TSolveResult::Ok);
    EXPECT_NEAR(D(a->DofW.Reaction), D(5 * q * l / 8), 1e-9);
    EXPECT_NEAR(D(b->DofW.Reaction), D(3 * q * l / 8), 1e-9);
    EXPECT_NEAR(D(a->DofRot.Reaction), D(q * l * l / 8), 1e-9);
}

TEST(Solver, TwoHingedPortalUnderBeamLoad) {
    // Axially rigid members of one section: H = qL² / (4h(2k + 3)) with k = h/L.
    TFrame f(210000, 100, 1e-4);
    const TReal l = 6, h = 4, q = 10;
    TUzel* n1 = f.Node(0, 0);
    TUzel* n2 = f.Node(0, h);
    TUzel* n3 = f.Node(l, h);
    TUzel* n4 = f.Node(l, 0);
    f.Member(n1, n2);
    TPrut* beam = f.Member(n2, n3);
    f.Member(n3, n4);
    TFrame::Support(n1, true, true, false);
    TFrame::Support(n4, true, true, false);
    beam->PridejZatizeni(KLoadDistributed, nullptr, 0, l, q, q, 90);
    TRecordingDialogs sink;
    ASSERT_EQ(Solve(f, sink).Result, TSolveResult::Ok);
    const TReal k = h / l;
    const TReal hr = q * l * l / (4 * h * (2 * k + 3));
    EXPECT_NEAR(D(n1->DofW.Reaction), D(q * l / 2), 1e-6);
    EXPECT_NEAR(D(n4->DofW.Reaction), D(q * l / 2), 1e-6);
    // The feet spread: the left one presses outwards (to -x), the right one to +x.
    EXPECT_NEAR(D(n1->DofU.Reaction), -D(hr), 1e-5 * D(hr));
    EXPECT_NEAR(D(n4->DofU.Reaction), D(hr), 1e-5 * D(hr));
}

TEST(Solver, ThreeHingedFrameWithHingeInTheBeam) {
    TFrame f;
    const TReal l = 8, h = 3, q = 5;
    TUzel* n1 = f.Node(0, 0);
    TUzel* n2 = f.Node(0, h);
    TUzel* n3 = f.Node(l / 2, h);
    TUzel* n4 = f.Node(l, h);
    TUzel* n5 = f.Node(l, 0);
    f.Member(n1, n2);
    TPrut* left = f.Member(n2, n3, false, true);
    TPrut* right = f.Member(n3, n4, true, false); // turned round before the computation
    f.Member(n4, n5);
    TFrame::Support(n1, true, true, false);
    TFrame::Support(n5, true, true, false);
    left->PridejZatizeni(KLoadDistributed, nullptr, 0, l / 2, q, q, 90);
    right->PridejZatizeni(KLoadDistributed, nullptr, 0, l / 2, q, q, 90);
    TRecordingDialogs sink;
    ASSERT_EQ(Solve(f, sink).Result, TSolveResult::Ok);
    EXPECT_EQ(right->NodeA, n4);
    EXPECT_TRUE(right->HingeB);
    // Statically determinate: H = qL²/(8h), V = qL/2, no moment at the hinge.
    EXPECT_NEAR(D(n1->DofU.Reaction), -D(q * l * l / (8 * h)), 1e-9);
    EXPECT_NEAR(D(n5->DofU.Reaction), D(q * l * l / (8 * h)), 1e-9);
    EXPECT_NEAR(D(n1->DofW.Reaction), D(q * l / 2), 1e-9);
    EXPECT_NEAR(D(left->Sb[0]), 0.0, 1e-9);
    EXPECT_NEAR(D(right->Sb[0]), 0.0, 1e-9);
}

TEST(Solver, InclinedRollerBalancesTheLoadWithConstantAxialForce) {
    TFrame f;
    const TReal l = 6, q = 4;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(l, 0);
    TPrut* m = f.Member(a, b);
    TFrame::Support(a, true, true, false);
    TFrame::Support(b, false, true, false, 45); // restrains w along 135°
    m->PridejZatizeni(KLoadDistributed, nullptr, 0, l, q, q, 90);
    TRecordingDialogs sink;
    ASSERT_EQ(Solve(f, sink).Result, TSolveResult::Ok);
    // The roller can only push along its w direction: equal vertical and horizontal parts.
    const TReal s = std::sqrt(0.5L);
    const TReal rb = b->DofW.Reaction;
    const TReal bx = rb * std::cos(DegToRad(135)), by = -rb * std::sin(DegToRad(135));
    EXPECT_NEAR(D(by), -D(q * l / 2), 1e-9);
    EXPECT_NEAR(D(std::fabs(bx)), D(q * l / 2), 1e-9);
    EXPECT_NEAR(D(rb), D(q * l / 2 / s), 1e-9);
    EXPECT_NEAR(D(a->DofU.Reaction + bx), 0.0, 1e-9);
    EXPECT_NEAR(D(a->DofW.Reaction - by), D(q * l), 1e-9);
    m->Prubehy();
    for (std::size_t j = 0; j < m->Results[0].size(); ++j)
        EXPECT_NEAR(D(m->Results[2][j]), D(m->Results[2][0]), 1e-9);
    EXPECT_NEAR(std::fabs(D(m->Results[2][0])), D(q * l / 2), 1e-9);
    m->UvolniPrubehy();
}

TEST(Solver, TrussUnderNodalLoad) {
    TFrame f;
    const TReal p = 20;
    TUzel* n1 = f.Node(0, 0);
    TUzel* n2 = f.Node(4, 0);
    TUzel* n3 = f.Node(2, 2);
    TPrut* tie = f.Member(n1, n2, true, true);
    TPrut* left = f.Member(n1, n3, true, true);
    TPrut* right = f.Member(n3, n2, true, true);
    TFrame::Support(n1, true, true, false);
    TFrame::Support(n2, false, true, false);
    n3->PridejZatizeni(KLoadForce, nullptr, p, 90);
    TRecordingDialogs sink;
    ASSERT_EQ(Solve(f, sink).Result, TSolveResult::Ok) << (sink.Messages.empty() ? "" : sink.Messages[0]);
    EXPECT_NEAR(D(n1->DofW.Reaction), D(p / 2), 1e-9);
    EXPECT_NEAR(D(n2->DofW.Reaction), D(p / 2), 1e-9);
    // N positive in compression: the inclined bars push, the tie pulls.
    EXPECT_NEAR(D(left->Sa[1]), D(p / std::sqrt(2.0L)), 1e-9);
    EXPECT_NEAR(D(right->Sa[1]), D(p / std::sqrt(2.0L)), 1e-9);
    EXPECT_NEAR(D(tie->Sa[1]), -D(p / 2), 1e-9);
    for (TPrut* m : {tie, left, right}) {
        EXPECT_NEAR(D(m->Sa[0]), 0.0, 1e-9);
        EXPECT_NEAR(D(m->Sa[2]), 0.0, 1e-9);
    }
}

TEST(Solver, SimplySupportedBeamOfTwoMembersWithNodalForce) {
    TFrame f;
    const TReal p = 10, l = 4;
    TUzel* n1 = f.Node(0, 0);
    TUzel* n2 = f.Node(l / 2, 0);
    TUzel* n3 = f.Node(l, 0);
    f.Member(n1, n2);
    f.Member(n2, n3);
    TFrame::Support(n1, true, true, false);
    TFrame::Support(n3, false, true, false);
    n2->PridejZatizeni(KLoadForce, nullptr, p, 90);
    TRecordingDialogs sink;
    ASSERT_EQ(Solve(f, sink).Result, TSolveResult::Ok);
    EXPECT_NEAR(D(n1->DofW.Reaction), D(p / 2), 1e-12);
    EXPECT_NEAR(D(n3->DofW.Reaction), D(p / 2), 1e-12);
    EXPECT_NEAR(D(n2->Displacement[2]), D(p * l * l * l / (48 * f.EI())), 1e-9);
}

TEST(Solver, RotationWithoutStiffnessIsFixedAndTheComputationSucceeds) {
    TFrame f;
    TUzel* n1 = f.Node(0, 0);
    TUzel* n2 = f.Node(3, 0);
    TUzel* n3 = f.Node(6, 0);
    f.Member(n1, n2, false, true);
    f.Member(n3, n2, false, true); // both members hinged at the middle node
    TFrame::Support(n1, true, true, true);
    TFrame::Support(n3, true, true, true);
    n2->PridejZatizeni(KLoadForce, nullptr, 8, 90);
    TRecordingDialogs sink;
    ASSERT_EQ(Solve(f, sink).Result, TSolveResult::Ok);
    // The rotation's equation became RG = FG = 0: nothing turns the hinged node. (A moment on it
    // would have nothing to resist it: a mechanism.)
    EXPECT_EQ(D(n2->Displacement[0]), 0.0);
    EXPECT_NEAR(D(n1->DofW.Reaction + n3->DofW.Reaction), 8.0, 1e-12);
}

TEST(Solver, RotatedSupportGivesReactionsInItsDirections) {
    TFrame f;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(0, 3);
    f.Member(a, b);
    TFrame::Support(a, true, true, true, 30);
    b->PridejZatizeni(KLoadForce, nullptr, 10, 90); // straight down, along the column
    TRecordingDialogs sink;
    ASSERT_EQ(Solve(f, sink).Result, TSolveResult::Ok);
    // Down (90°) is 60° from the support's u (30°) and -30° from its w (120°).
    EXPECT_NEAR(D(a->DofU.Reaction), D(10 * std::cos(DegToRad(60))), 1e-9);
    EXPECT_NEAR(D(a->DofW.Reaction), D(10 * std::cos(DegToRad(30))), 1e-9);
    EXPECT_NEAR(D(a->DofRot.Reaction), 0.0, 1e-9);
}

TEST(Solver, RefusalsStopWithTheirMessageAndStatus) {
    struct Case {
        const char* name;
        bool hinged;
        bool supportU, supportW, supportRot;
        TSolveStatus expected;
        const char* message;
        TReal load = 1;
    } cases[] = {
        // A free truss bar: after u at a, the diagonal of u at b is exactly 0 (equation 5 of 6).
        {"free bar", true, false, false, false, {TSolveResult::ZeroPivot, 5}, KZeroPivot, 0},
        // Loaded across, it has nothing to resist the load at w of b (equation 6).
        {"free bar, loaded", true, false, false, false, {TSolveResult::Mechanism, 6}, KMechanism},
        // u and the rotation held at a: w slides freely, the last equation is singular.
        {"sliding clamp", false, true, false, true, {TSolveResult::Mechanism, 6}, KMechanism},
    };
    for (const Case& c : cases) {
        TFrame f(1, 1, 1);
        TUzel* a = f.Node(0, 0);
        TUzel* b = f.Node(2, 0);
        f.Member(a, b, c.hinged, c.hinged);
        TFrame::Support(a, c.supportU, c.supportW, c.supportRot);
        if (c.load != 0) b->PridejZatizeni(KLoadForce, nullptr, c.load, 90);
        f.Space.ResultsValid = true;
        a->Displacement = {7, 7, 7};
        TRecordingDialogs sink;
        TSolveStatus r = Solve(f, sink);
        EXPECT_EQ(r.Result, c.expected.Result) << c.name;
        EXPECT_EQ(r.Equation, c.expected.Equation) << c.name;
        ASSERT_EQ(sink.Messages.size(), 1u) << c.name;
        EXPECT_EQ(sink.Messages[0], c.message) << c.name;
        // Zero pivot keeps ResultsValid; the mechanism clears it; neither touches the results.
        EXPECT_EQ(f.Space.ResultsValid, r.Result == TSolveResult::ZeroPivot) << c.name;
        EXPECT_EQ(D(a->Displacement[0]), 7.0) << c.name;
        EXPECT_TRUE(f.Space.KG.Empty());
        EXPECT_TRUE(f.Space.RG.empty());
    }
}

TEST(Solver, ModelWithoutMembersIsLeftAlone) {
    TFrame f;
    f.Node(0, 0);
    TRecordingDialogs sink;
    EXPECT_EQ(Solve(f, sink).Result, TSolveResult::NoMembers);
    EXPECT_TRUE(sink.Messages.empty());
    EXPECT_FALSE(f.Space.ResultsValid);
}

TEST(Solver, NotANumberIsRefusedAsMechanism) {
    // Two members between coincident nodes have no geometry; the elimination must not pass NaN
    // off as a result.
    TFrame f;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(0, 0);
    f.Member(a, b);
    TFrame::Support(a, true, true, true);
    TRecordingDialogs sink;
    TSolveStatus r = Solve(f, sink);
    EXPECT_NE(r.Result, TSolveResult::Ok);
    EXPECT_FALSE(f.Space.ResultsValid);
}

// The profile solver must give exactly the dense elimination's results, on one thread and on two.
TEST(SolverProperty, ProfileSolutionEqualsDenseEliminationBitForBit) {
    int solved = 0, refused = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        TVector dense;
        TSolveStatus expected;
        {
            TFrame f;
            RandomFrame(f, seed, seed % 4 != 0);
            f.Space.OtocPrutySKloubemA();
            expected = DenseReference(f.Space, dense);
        }
        for (TElimination how : {TElimination::Serial, TElimination::Parallel}) {
            TFrame f;
            RandomFrame(f, seed, seed % 4 != 0);
            f.Space.Elimination = how;
            TRecordingDialogs sink;
            TSolveStatus r = Solve(f, sink);
            ASSERT_EQ(r, expected) << "seed " << seed << " threads " << int(how) << " status " << int(r.Result)
                                   << "/" << int(expected.Result) << " eq " << r.Equation << "/"
                                   << expected.Equation;
            if (r.Result != TSolveResult::Ok) {
                if (how == TElimination::Serial) ++refused;
                continue;
            }
            if (how == TElimination::Serial) ++solved;
            ASSERT_EQ(FirstDifferentDisplacement(f, dense), 0) << "seed " << seed << " threads " << int(how);
        }
    }
    // Loads on degrees of freedom that nothing resists (a loaded node without members, a moment on
    // a node where every member is hinged) are mechanisms: about a quarter of the frames.
    EXPECT_GT(solved, 65);
    EXPECT_GT(refused, 20);
}

// Entries that two doubles cannot hold (stiffnesses beyond their range, from the first equation
// or only from some equation on) still give the dense elimination's results bit for bit.
TEST(SolverProperty, EntriesBeyondTheRangeOfDoublesMatchTheDenseElimination) {
    auto check = [](TFrame& f, TElimination how, const char* what) {
        f.Space.OtocPrutySKloubemA();
        TVector dense;
        const TSolveStatus expected = DenseReference(f.Space, dense);
        f.Space.Elimination = how;
        TRecordingDialogs sink;
        const TSolveStatus r = Solve(f, sink);
        EXPECT_EQ(r, expected) << what;
        if (r.Result != TSolveResult::Ok || expected.Result != TSolveResult::Ok) return false;
        EXPECT_EQ(FirstDifferentDisplacement(f, dense), 0) << what;
        return true;
    };
    int solved = 0;
    for (TElimination how : {TElimination::Serial, TElimination::Parallel}) {
        // Most random frames are mechanisms (loads nothing resists, sway): enough seeds for
        // twenty solvable ones.
        for (unsigned seed = 1; seed <= 120; ++seed) {
            TFrame f(1e315L);
            RandomFrame(f, seed, true);
            solved += check(f, how, "huge");
        }
        // A continuous beam whose members from the twelfth on are far stiffer than doubles reach,
        // held along its axis at both ends (held at one end only, the stiff part's axial position
        // would hang on the soft part's stiffness, which the 80-bit elimination cannot resolve
        // beside the stiff one's).
        TFrame f;
        TMaterial* stiff = f.Space.PridejMaterial("X", 1e316L, 7850);
        TProfil* section = f.Space.PridejProfil("X", stiff, 0.01, 1e-4, 5e-5);
        for (int i = 0; i <= 20; ++i) f.Node(2.0L * i, 0.1L * (i % 3));
        for (int i = 0; i < 20; ++i) {
            TPrut* m = i < 11 ? f.Member(f.Space.Nodes[i], f.Space.Nodes[i + 1])
                              : f.Space.PridejPrut(f.Space.Nodes[i], f.Space.Nodes[i + 1], section, false, i + 1,
                                                   false, false);
            m->PridejZatizeni(KLoadDistributed, nullptr, 0, m->Length, 10, 10, 90);
        }
        for (int i = 0; i <= 20; i += 4) TFrame::Support(f.Space.Nodes[i], i == 0 || i == 20, true, false);
        EXPECT_TRUE(check(f, how, "mixed"));
        // Stiffnesses so small that the low double of a split would lose digits.
        for (unsigned seed = 1; seed <= 10; ++seed) {
            TFrame tiny(1e-300L);
            RandomFrame(tiny, seed, true);
            check(tiny, how, "tiny");
        }
    }
    EXPECT_GT(solved, 20);
}

// A large frame takes two threads by itself; the results are those of one thread, bit for bit,
// and a refusal names the same equation.
TEST(SolverProperty, TwoThreadsGiveTheResultsOfOne) {
    auto grid = [](TFrame& f, bool supported) {
        const int columns = 35, rows = 25;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) f.Node(5.0L * c + 0.1L * r, 3.0L * r);
        auto node = [&](int r, int c) { return f.Space.Nodes[r * columns + c]; };
        for (int r = 1; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) f.Member(node(r - 1, c), node(r, c), false, c % 7 == 3);
            for (int c = 0; c + 1 < columns; ++c) {
                TPrut* beam = f.Member(node(r, c), node(r, c + 1));
                beam->PridejZatizeni(KLoadDistributed, nullptr, 0, beam->Length, 9 + r % 3, 12, 90);
            }
            node(r, 0)->PridejZatizeni(KLoadForce, nullptr, 4 + r, 0);
        }
        if (supported)
            for (int c = 0; c < columns; ++c) TFrame::Support(node(0, c), true, true, c % 2 == 0);
        else
            TFrame::Support(node(0, 0), true, true, false); // free to turn about one pin
    };
    for (bool supported : {true, false}) {
        TFrame one, two, automatic;
        grid(one, supported);
        grid(two, supported);
        grid(automatic, supported);
        one.Space.Elimination = TElimination::Serial;
        two.Space.Elimination = TElimination::Parallel;
        TRecordingDialogs sink1, sink2, sink3;
        const TSolveStatus r1 = Solve(one, sink1), r2 = Solve(two, sink2), r3 = Solve(automatic, sink3);
        EXPECT_EQ(r1, r2);
        EXPECT_EQ(r1, r3);
        EXPECT_EQ(r1.Result == TSolveResult::Ok, supported);
        EXPECT_EQ(sink1.Messages, sink2.Messages);
        if (r1.Result != TSolveResult::Ok) continue;
        const TVector expected = Displacements(one);
        EXPECT_EQ(FirstDifferentDisplacement(two, expected), 0);
        EXPECT_EQ(FirstDifferentDisplacement(automatic, expected), 0);
    }
}

namespace {
// Global (x, y-up) components of a force of magnitude q at a clockwise angle.
void Force(TReal q, TReal angle, TReal x, TReal y, TReal sum[3]) {
    TReal fx = q * std::cos(DegToRad(angle)), fy = -q * std::sin(DegToRad(angle));
    sum[0] += fx;
    sum[1] += fy;
    sum[2] += x * fy - y * fx; // counterclockwise about the origin
}

bool HasRotationalStiffness(TFrame& f, TUzel* n) {
    for (TPrut* m : f.Space.Members)
        if ((m->NodeA == n && !m->HingeA) || (m->NodeB == n && !m->HingeB)) return true;
    return false;
}

bool HasFreeTranslation(TFrame& f) {
    f.Space.SestavKG();
    bool found = false;
    for (TUzel* n : f.Space.Nodes)
        for (TNodeDof* d : {&n->DofU, &n->DofW})
            if (!d->Fixed && f.Space.KG.At(d->Code, d->Code) == 0) found = true;
    f.Space.UvolniKG();
    return found;
}
} // namespace

TEST(SolverProperty, ReactionsBalanceTheLoads) {
    int checked = 0;
    for (unsigned seed = 1000; seed < 1300; ++seed) {
        TFrame f;
        RandomFrame(f, seed, true);
        // A free translation without stiffness (a node held by one straight bar across it) has its
        // equation set aside like a hinged rotation: its load reaches no support.
        if (HasFreeTranslation(f)) continue;
        TRecordingDialogs sink;
        if (Solve(f, sink).Result != TSolveResult::Ok) continue;
        // A mechanism whose pivots stay above the absolute limit passes with displacements of
        // 1e16 mm; its equilibrium is lost in rounding.
        bool nearMechanism = false;
        for (TUzel* n : f.Space.Nodes)
            for (TReal d : n->Displacement) nearMechanism = nearMechanism || std::fabs(d) > 1e6L;
        if (nearMechanism) continue;
        ++checked;
        TReal loads[3] = {}, reactions[3] = {};
        TReal scale = 1;
        for (TUzel* n : f.Space.Nodes) {
            for (TZatizeni* z : n->Loads) {
                if (z->Kind == KLoadForce) Force(z->Q1, z->Angle, n->X, n->Y, loads);
                // A node joined by hinges only cannot take a moment: its rotation equation is
                // set aside, and the moment reaches no support.
                if (z->Kind == KLoadMoment && (n->DofRot.Fixed || HasRotationalStiffness(f, n)))
                    loads[2] -= z->Q1;
                scale += std::fabs(z->Q1);
            }
            if (n->DofU.Fixed) Force(n->DofU.Reaction, n->DofU.Angle, n->X, n->Y, reactions);
            if (n->DofW.Fixed) Force(n->DofW.Reaction, n->DofU.Angle + 90, n->X, n->Y, reactions);
            if (n->DofRot.Fixed) reactions[2] -= n->DofRot.Reaction;
        }
        for (TPrut* m : f.Space.Members) {
            auto at = [&](TReal s, TReal& x, TReal& y) {
                x = m->NodeA->X + s * m->CosA;
                y = m->NodeA->Y - s * m->SinA;
            };
            for (TZatizeni* z : m->Loads) {
                TReal x, y, factor = z->Kind == KLoadSelfWeight ? z->LoadCase->Factor : 1;
                TReal angle = m->Angle + z->Angle;
                if (z->Kind == KLoadForce) {
                    at(z->A, x, y);
                    Force(z->Q1, angle, x, y, loads);
                } else if (z->Kind == KLoadMoment) {
                    loads[2] -= z->Q1;
                } else {
                    at(z->A + z->C / 2, x, y);
                    Force(factor * z->Q1 * z->C, angle, x, y, loads);
                    at(z->A + 2 * z->C / 3, x, y);
                    Force(factor * (z->Q2 - z->Q1) * z->C / 2, angle, x, y, loads);
                }
                scale += std::fabs(z->Q1 * (z->C + 1)) + std::fabs(z->Q2 * (z->C + 1));
            }
        }
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(D(reactions[k]), D(loads[k]), 1e-9 * D(scale) * 20) << "seed " << seed << " component " << k;
    }
    EXPECT_GT(checked, 80);
}

// Another right-hand side on an eliminated matrix (the refinement step's solve) gives, bit for
// bit, what eliminating the matrix with it gives.
TEST(ProfileMatrix, AnotherRightHandSideSolvesAsTheEliminationWould) {
    const int n = 40;
    std::vector<int> first(n + 1);
    for (int p = 1; p <= n; ++p) first[std::size_t(p)] = std::max(1, p - (p * 7) % 6);
    auto build = [&] { // symmetric, the diagonal dominant
        TProfileMatrix k(first);
        for (int p = 1; p <= n; ++p)
            for (int q = first[std::size_t(p)]; q <= p; ++q) k.Ref(p, q) = k.Ref(q, p) = p == q ? 8 : std::sin(TReal(p * q));
        return k;
    };
    TVector f1(n + 1, 1.0L), f2(n + 1, 0.0L), x(n + 1, 0.0L), y(n + 1, 0.0L);
    for (int p = 1; p <= n; ++p) f2[std::size_t(p)] = std::cos(TReal(p));
    TProfileMatrix once = build(), again = build();
    ASSERT_EQ(once.Eliminate(f1, TElimination::Parallel).Result, TSolveResult::Ok);
    TVector g = f2;
    once.Solve(g, x);
    ASSERT_EQ(again.Eliminate(f2, TElimination::Serial).Result, TSolveResult::Ok);
    again.BackSubstitute(f2, y);
    for (int p = 1; p <= n; ++p) ASSERT_TRUE(SameBits(x[std::size_t(p)], y[std::size_t(p)])) << p;
}

// A second thread of the elimination competes only with threads running at normal priority: a
// background job (nice 10 and over) or a sleeping thread leaves the core to it. The name of a
// thread may hold spaces and parentheses.
TEST(IdleCores, OnlyRunnableThreadsOfNormalPriorityAreBusy) {
    const std::string tail = " 1 1 1 0 -1 4194304 102 0 0 0 0 0 0 0 20 ";
    const struct {
        std::string line;
        bool busy;
    } rows[] = {
        {"42 (solver) R" + tail + "0 1 0 2719135", true},
        {"42 (solver) R" + tail + "9 1 0 2719135", true},
        {"42 (solver) R" + tail + "-5 1 0 2719135", true},
        {"42 (make -j) R" + tail + "10 1 0 2719135", false},
        {"42 (boinc) R" + tail + "19 1 0 2719135", false},
        {"42 (idle) S" + tail + "0 1 0 2719135", false},
        {"42 (a) R (b) S" + tail + "0 1 0 2719135", false},
        {"42 (a) S (b) R" + tail + "0 1 0 2719135", true},
        {"42 (cut) R 1 1", false},
        {"42 (bad) R" + tail + "x 1 0", false},
        {"", false},
    };
    for (const auto& r : rows) EXPECT_EQ(RunsAtNormalPriority(r.line), r.busy) << r.line;
    // The caller itself runs, so at most every other core is idle.
    for (bool closer : {false, true}) EXPECT_LE(IdleCores(8, closer), 7);
}
