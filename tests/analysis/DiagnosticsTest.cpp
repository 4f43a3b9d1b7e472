// The place of a refused equation and the equilibrium check of a computed model.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/Diagnostics.h"
#include "analysis/Frames.h"
#include "model/UserDialogs.h"

TEST(MechanismPlaceTest, EquationNumbersNameNodeAndDirection) {
    const struct {
        int Equation;
        int Node;
        TDofKind Kind;
        const char* Text;
    } rows[] = {
        {1, 1, TDofKind::Rotation, "Uzel 1: pootočení"},
        {2, 1, TDofKind::U, "Uzel 1: posun u"},
        {3, 1, TDofKind::W, "Uzel 1: posun w"},
        {7, 3, TDofKind::Rotation, "Uzel 3: pootočení"},
        {8, 3, TDofKind::U, "Uzel 3: posun u"},
        {3000, 1000, TDofKind::W, "Uzel 1000: posun w"},
    };
    for (const auto& r : rows) {
        const TDofPlace p = MistoRovnice(r.Equation);
        EXPECT_EQ(p.Node, r.Node) << r.Equation;
        EXPECT_EQ(p.Kind, r.Kind) << r.Equation;
        EXPECT_EQ(PopisMista(p), r.Text);
    }
    for (int none : {0, -1, -300}) {
        EXPECT_EQ(MistoRovnice(none).Node, 0);
        EXPECT_EQ(PopisMista(MistoRovnice(none)), "");
    }
}

namespace {
// Runs the computation with its messages recorded.
TSolveStatus Compute(TFrame& f, TRecordingDialogs& messages) {
    TDialogsGuard guard(messages);
    return f.Space.Vypocet();
}

// A four-bar linkage: two columns and a beam, every end hinged, both feet pinned; it sways.
void Linkage(TFrame& f) {
    TUzel* n1 = f.Node(0, 0);
    TUzel* n2 = f.Node(0, 3);
    TUzel* n3 = f.Node(4, 3);
    TUzel* n4 = f.Node(4, 0);
    f.Member(n1, n2, true, true);
    f.Member(n2, n3, true, true);
    f.Member(n3, n4, true, true);
    TFrame::Support(n1, true, true, false);
    TFrame::Support(n4, true, true, false);
    n2->PridejZatizeni(KLoadForce, nullptr, 10, 0);
}
} // namespace

// The refused equation belongs to a node and a direction in which the structure really moves.
TEST(MechanismPlaceTest, HingedChainAndUnsupportedDirection) {
    {
        TFrame f;
        Linkage(f);
        TRecordingDialogs messages;
        const TSolveStatus s = Compute(f, messages);
        ASSERT_NE(s.Result, TSolveResult::Ok);
        ASSERT_EQ(messages.Messages.size(), 1u);
        // Sway: the beam's nodes move along x; the elimination meets it at the second of them.
        EXPECT_EQ(PopisMista(MistoRovnice(s.Equation)), "Uzel 3: posun u");
    }
    {
        // A continuous beam on rollers only: nothing holds it along its axis.
        TFrame f;
        TUzel* prev = f.Node(0, 0);
        TFrame::Support(prev, false, true, false);
        for (int i = 1; i <= 3; ++i) {
            TUzel* n = f.Node(4 * i, 0);
            TFrame::Support(n, false, true, false);
            f.Member(prev, n);
            prev = n;
        }
        f.Space.Members[1]->PridejZatizeni(KLoadDistributed, nullptr, 0, 4, 5, 5, 90);
        TRecordingDialogs messages;
        const TSolveStatus s = Compute(f, messages);
        ASSERT_NE(s.Result, TSolveResult::Ok);
        const TDofPlace p = MistoRovnice(s.Equation);
        EXPECT_EQ(p.Kind, TDofKind::U);
        EXPECT_EQ(p.Node, 4);
        // The same beam with one node held along x is computed.
        f.Space.Nodes[0]->DofU.Fixed = true;
        TRecordingDialogs again;
        EXPECT_EQ(Compute(f, again).Result, TSolveResult::Ok);
    }
}

TEST(EquilibriumTest, ClosedFormSumsAndScales) {
    // Simply supported beam, 10 kN down at the middle: the supports carry 5 kN each.
    TFrame f;
    TUzel* a = f.Node(0, 0);
    TUzel* m = f.Node(2, 0);
    TUzel* b = f.Node(4, 0);
    f.Member(a, m);
    f.Member(m, b);
    TFrame::Support(a, true, true, false);
    TFrame::Support(b, false, true, false);
    m->PridejZatizeni(KLoadForce, nullptr, 10, 90);
    TRecordingDialogs messages;
    ASSERT_EQ(Compute(f, messages).Result, TSolveResult::Ok);
    TEquilibrium e;
    ASSERT_TRUE(KontrolaRovnovahy(f.Space, e));
    EXPECT_NEAR(D(e.ForceScale), 10.0, 1e-12);
    // The largest moment about the origin: the load at x = 2 or the right support at x = 4.
    EXPECT_NEAR(D(e.MomentScale), 20.0, 1e-9);
    EXPECT_LT(std::fabs(D(e.SumFx)), 1e-12);
    EXPECT_LT(std::fabs(D(e.SumFy)), 1e-12);
    EXPECT_LT(std::fabs(D(e.SumM)), 1e-11);
    EXPECT_LT(D(e.Residual), 1e-12);
    EXPECT_NEAR(D(e.LoadNorm), 10.0, 1e-12);
}

namespace {
// The load on each degree of freedom that no member stiffens (its diagonal of the assembled
// stiffness is 0), by equation number. The computation gives such a degree of freedom a
// "displacement" equal to its load, so that load is carried by nothing.
std::vector<TReal> LoadsWithoutStiffness(TMKPSpace& s) {
    const std::size_t size = std::size_t(3 * s.Nodes.Count()) + 1;
    std::vector<TReal> diagonal(size, 0), load(size, 0), out(size, 0);
    for (TPrut* m : s.Members) {
        m->SestavMatice();
        for (std::size_t i = 1; i <= 6; ++i)
            diagonal[std::size_t(std::lround(m->kabG[i][0]))] += m->kabG[i][i];
        for (std::size_t i = 0; i < 6; ++i)
            load[std::size_t(std::lround(m->MabG[i][0]))] -= m->MabG[i][1];
        m->UvolniMatice();
    }
    for (TUzel* n : s.Nodes) {
        n->SestavVektorZatizeni();
        for (std::size_t k = 0; k < 3; ++k)
            load[std::size_t(std::lround(n->LoadVector[k][0]))] += n->LoadVector[k][1];
        n->UvolniVektorZatizeni();
    }
    for (TUzel* n : s.Nodes)
        for (const TNodeDof* d : {&n->DofRot, &n->DofU, &n->DofW})
            if (!d->Fixed && diagonal[std::size_t(d->Code)] == 0) out[std::size_t(d->Code)] = load[std::size_t(d->Code)];
    return out;
}
} // namespace

// Random frames of every kind (hinges, turned sections, rotated supports, member and nodal loads,
// self-weight): every computed one is in equilibrium unless a load sits where no member can carry
// it, which the check then reports; a disturbed displacement or reaction is found.
TEST(EquilibriumTest, ComputedFramesBalanceAndDisturbedOnesDoNot) {
    int balanced = 0, unbalanced = 0;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        TFrame f;
        RandomFrame(f, seed, true);
        TRecordingDialogs messages;
        if (Compute(f, messages).Result != TSolveResult::Ok) continue;
        TEquilibrium e;
        ASSERT_TRUE(KontrolaRovnovahy(f.Space, e)) << seed;
        if (e.LoadNorm == 0) continue;
        TReal dropped2 = 0;
        for (TReal l : LoadsWithoutStiffness(f.Space))
            dropped2 += l * l;
        if (dropped2 > 0) {
            ++unbalanced;
            // The residual is exactly the load nothing carries.
            EXPECT_NEAR(D(e.ResidualNorm), std::sqrt(D(dropped2)), 1e-9 * D(e.LoadNorm)) << seed;
            EXPECT_GT(D(e.Residual), 1e-9) << seed;
            continue;
        }
        TReal largestMove = 0;
        for (TUzel* n : f.Space.Nodes)
            for (TReal d : n->Displacement)
                largestMove = std::max(largestMove, std::fabs(d));
        if (largestMove > 1e9L) {
            // A mechanism whose last pivot stayed above the elimination's test: the "solution"
            // moves by kilometres and does not satisfy the equations; the check says so.
            ++unbalanced;
            EXPECT_GT(D(e.Residual), 1e-9) << seed;
            continue;
        }
        ++balanced;
        EXPECT_LT(D(e.Residual), 1e-12) << seed;
        EXPECT_LT(D(e.Relative), 1e-9) << seed;

        // A free displacement a thousandth of the largest one off.
        TUzel* moved = nullptr;
        TReal largest = 0;
        std::size_t k = 0;
        for (TUzel* n : f.Space.Nodes) {
            const TNodeDof* dofs[3] = {&n->DofRot, &n->DofU, &n->DofW};
            for (std::size_t d = 0; d < 3; ++d)
                if (!dofs[d]->Fixed && std::fabs(n->Displacement[d]) > largest) {
                    largest = std::fabs(n->Displacement[d]);
                    moved = n;
                    k = d;
                }
        }
        ASSERT_NE(moved, nullptr) << seed;
        const TReal kept = moved->Displacement[k];
        moved->Displacement[k] += largest * 1e-3L;
        TEquilibrium disturbed;
        ASSERT_TRUE(KontrolaRovnovahy(f.Space, disturbed));
        EXPECT_GT(D(disturbed.Residual), 1e-9) << seed;
        moved->Displacement[k] = kept;

        // A support reaction off by one percent of the largest load: the sums show it.
        for (TUzel* n : f.Space.Nodes)
            if (n->DofW.Fixed) {
                n->DofW.Reaction += e.ForceScale * 0.01L;
                break;
            }
        TEquilibrium wrongReaction;
        ASSERT_TRUE(KontrolaRovnovahy(f.Space, wrongReaction));
        EXPECT_GT(D(wrongReaction.Residual), 1e-3) << seed;
        EXPECT_GT(D(wrongReaction.Relative), 1e-3) << seed;
    }
    EXPECT_GE(balanced, 10);
    // A load on a degree of freedom without stiffness is refused as a mechanism before any result
    // exists, and a near-mechanism by its pivot or its residual: no computed frame is unbalanced.
    EXPECT_EQ(unbalanced, 0);
}

// A node where every member is hinged balances while only forces act on it; a moment on it has
// nothing to carry it, and the computation refuses it as a mechanism.
TEST(EquilibriumTest, MomentOnAHingedNodeIsNotCarried) {
    TFrame f;
    TUzel* a = f.Node(0, 0);
    TUzel* m = f.Node(3, 0);
    TUzel* b = f.Node(6, 0);
    f.Member(a, m, false, true);
    f.Member(m, b, true, false);
    TFrame::Support(a, true, true, true);
    TFrame::Support(b, true, true, true);
    m->PridejZatizeni(KLoadForce, nullptr, 10, 90);
    TRecordingDialogs messages;
    ASSERT_EQ(Compute(f, messages).Result, TSolveResult::Ok);
    TEquilibrium e;
    ASSERT_TRUE(KontrolaRovnovahy(f.Space, e));
    EXPECT_LT(D(e.Residual), 1e-12);
    m->PridejZatizeni(KLoadMoment, nullptr, 4, 0);
    const TSolveStatus refused = Compute(f, messages);
    EXPECT_EQ(refused.Result, TSolveResult::Mechanism);
    EXPECT_EQ(refused.Equation, 3 * m->Number - 2); // the hinged node's rotation
    EXPECT_FALSE(f.Space.ResultsValid);
}

TEST(EquilibriumTest, NoResultsNoCheck) {
    TFrame f;
    TEquilibrium e;
    EXPECT_FALSE(KontrolaRovnovahy(f.Space, e)); // no member
    f.Member(f.Node(0, 0), f.Node(1, 0));
    EXPECT_FALSE(KontrolaRovnovahy(f.Space, e)); // never computed
}
