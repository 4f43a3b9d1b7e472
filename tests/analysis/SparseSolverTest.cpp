// The sparse factorization of large frames, forced on small ones: its solutions against the dense
// elimination, its cases on one factor, and its refusals against the profile's.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <random>

#include "analysis/EquationOrder.h"
#include "analysis/Frames.h"
#include "analysis/SparseMatrix.h"
#include "model/UserDialogs.h"

#include <unistd.h>

namespace {
// A grid (bays × storeys, fixed or pinned feet, loaded beams, wind, every fifth column hinged at
// its top) whose node numbers are shuffled by seed (0: storey by storey).
void Grid(TFrame& f, int bays, int storeys, unsigned seed) {
    const int columns = bays + 1, count = columns * (storeys + 1);
    std::vector<int> place(static_cast<std::size_t>(count));
    std::iota(place.begin(), place.end(), 0);
    if (seed != 0) std::shuffle(place.begin(), place.end(), std::mt19937(seed));
    std::vector<TUzel*> at(static_cast<std::size_t>(count), nullptr);
    for (int g : place) at[std::size_t(g)] = f.Node(5.0L * (g % columns), 3.2L * (g / columns));
    auto node = [&](int row, int c) { return at[std::size_t(row * columns + c)]; };
    for (int row = 1; row <= storeys; ++row) {
        for (int c = 0; c < columns; ++c) f.Member(node(row - 1, c), node(row, c), false, c % 5 == 2);
        for (int c = 0; c < bays; ++c)
            f.Member(node(row, c), node(row, c + 1))->PridejZatizeni(KLoadDistributed, nullptr, 0, 5, 9, 12, 90);
        node(row, 0)->PridejZatizeni(KLoadForce, nullptr, 2 + row, 0);
    }
    for (int c = 0; c < columns; ++c) TFrame::Support(node(0, c), true, true, c % 3 != 1);
}

TVector Displacements(const TFrame& f) {
    TVector v(1, 0.0L);
    for (const TUzel* n : f.Space.Nodes) v.insert(v.end(), n->Displacement.begin(), n->Displacement.end());
    return v;
}

// The largest difference relative to the largest magnitude of expected.
double Difference(const TVector& v, const TVector& expected) {
    TReal scale = 0, worst = 0;
    for (std::size_t i = 1; i < expected.size(); ++i) {
        scale = std::max(scale, std::fabs(expected[i]));
        worst = std::max(worst, std::fabs(v[i] - expected[i]));
    }
    return double(scale == 0 ? worst : worst / scale);
}

TSolveStatus Solve(TFrame& f, TSolverPath path, TRecordingDialogs& sink) {
    f.Space.SolverPath = path;
    TDialogsGuard guard(sink);
    return f.Space.Vypocet();
}
} // namespace

// Random frames (any numbering) and shuffled grids: the sparse factor alone, refined in 80 bits,
// agrees with the dense elimination to 1e-12 of the largest displacement; a frame the dense
// elimination refuses is refused, or (its pivots taken in another order) solved within the
// equilibrium bound.
TEST(SparseSolverProperty, AgreesWithTheDenseEliminationOnRandomFramesAndGrids) {
    int solved = 0;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        const auto build = [seed](TFrame& f) {
            if (seed % 20 == 0)
                Grid(f, 3 + int(seed % 7), 2 + int(seed % 5), seed % 40 == 0 ? 0 : seed);
            else
                RandomFrame(f, seed, seed % 5 != 0);
        };
        TVector dense;
        TSolveStatus expected;
        {
            TFrame f;
            build(f);
            f.Space.OtocPrutySKloubemA();
            expected = DenseReference(f.Space, dense);
        }
        bool nearMechanism = false;
        for (std::size_t i = 1; i < dense.size(); ++i) nearMechanism = nearMechanism || std::fabs(dense[i]) > 1e6L;
        TFrame f;
        build(f);
        TRecordingDialogs sink;
        const TSolveStatus r = Solve(f, TSolverPath::SparseAlone, sink);
        EXPECT_TRUE(f.Space.KG.Empty() && !f.Space.SparseKG) << seed;
        if (expected.Result == TSolveResult::Ok && !nearMechanism) {
            ASSERT_EQ(r.Result, TSolveResult::Ok) << "seed " << seed << (sink.Messages.empty() ? "" : sink.Messages[0]);
            EXPECT_LT(Difference(Displacements(f), dense), 1e-12) << "seed " << seed;
            ++solved;
        } else if (expected.Result != TSolveResult::Ok && r.Result == TSolveResult::Ok) {
            TEquilibrium e;
            EXPECT_TRUE(KontrolaRovnovahy(f.Space, e) && e.Residual <= KResidualLimit) << "seed " << seed;
        }
    }
    EXPECT_GT(solved, 40);
}

// The further cases go through the sparse factor together; each agrees with the profile's.
TEST(SparseSolverProperty, CasesOnOneFactorAgreeWithTheProfile) {
    int compared = 0;
    for (unsigned seed = 1; seed <= 30; ++seed) {
        TFrame sparse, profile;
        for (TFrame* f : {&sparse, &profile}) {
            Grid(*f, 4, 3, seed);
            TMKPSpace& s = f->Space;
            TZatezovaciStav* cases[2] = {s.PridejZatezovaciStav("G", TCaseKind::Permanent),
                                         s.PridejZatezovaciStav("W", TCaseKind::Variable, TCaseCategory::Wind)};
            std::mt19937 rng(seed);
            for (TPrut* m : s.Members)
                for (TZatizeni* z : m->Loads) s.NastavStavZatizeni(*z, cases[rng() % 2]);
            for (TUzel* n : s.Nodes)
                for (TZatizeni* z : n->Loads) s.NastavStavZatizeni(*z, cases[1]);
        }
        TRecordingDialogs sink1, sink2;
        ASSERT_EQ(Solve(sparse, TSolverPath::SparseAlone, sink1).Result, TSolveResult::Ok) << seed;
        ASSERT_EQ(Solve(profile, TSolverPath::Profile, sink2).Result, TSolveResult::Ok) << seed;
        const TCaseResults& a = sparse.Space.CaseResults;
        const TCaseResults& b = profile.Space.CaseResults;
        ASSERT_EQ(a.Cases.size(), b.Cases.size());
        ASSERT_EQ(a.Cases.size(), 2u) << seed;
        for (std::size_t c = 0; c < a.Cases.size(); ++c) {
            TVector u(1, 0.0L), v(1, 0.0L);
            u.insert(u.end(), a.States[c].Displacements.begin(), a.States[c].Displacements.end());
            v.insert(v.end(), b.States[c].Displacements.begin(), b.States[c].Displacements.end());
            ASSERT_EQ(u.size(), v.size());
            EXPECT_LT(Difference(u, v), 1e-12) << seed << ' ' << c;
            ++compared;
        }
    }
    EXPECT_EQ(compared, 60);
}

// On the sparse factor too a case gets the same bits whether it is solved first (alone on the
// factor) or among the further cases (solved together, refined together while they need it):
// shuffled grids with two to nine cases, the loads spread over them at random; on two threads
// (odd seeds) each takes a share of the cases.
TEST(SparseSolverProperty, CaseAmongOthersHasTheBitsOfCaseSolvedFirst) {
    int compared = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        TFrame f;
        Grid(f, 3 + int(seed % 4), 2 + int(seed % 3), seed);
        TMKPSpace& s = f.Space;
        s.Elimination = seed % 2 ? TElimination::Parallel : TElimination::Serial;
        std::vector<TZatezovaciStav*> cases;
        for (unsigned c = 0; c < 2 + seed % 8; ++c)
            cases.push_back(s.PridejZatezovaciStav("Z" + std::to_string(c), TCaseKind::Variable, TCaseCategory::A));
        std::mt19937 rng(seed);
        for (TPrut* m : s.Members)
            for (TZatizeni* z : m->Loads) s.NastavStavZatizeni(*z, cases[rng() % cases.size()]);
        for (TUzel* n : s.Nodes)
            for (TZatizeni* z : n->Loads) s.NastavStavZatizeni(*z, cases[rng() % cases.size()]);
        TRecordingDialogs sink;
        ASSERT_EQ(Solve(f, TSolverPath::SparseAlone, sink).Result, TSolveResult::Ok) << seed;
        const TCaseResults first = s.CaseResults;
        for (const TZatezovaciStav* c : first.Cases) {
            s.TracedCase = c->Name;
            ASSERT_EQ(Solve(f, TSolverPath::SparseAlone, sink).Result, TSolveResult::Ok) << seed;
            ASSERT_EQ(s.CaseResults.Cases[0], c);
            const TStateResults& a = first.States[std::size_t(first.IndexOf(c))];
            const TStateResults& b = s.CaseResults.States[std::size_t(s.CaseResults.IndexOf(c))];
            for (const auto field : {&TStateResults::Displacements, &TStateResults::Reactions, &TStateResults::EndResults})
                for (std::size_t i = 0; i < (a.*field).size(); ++i)
                    ASSERT_TRUE(SameBits((a.*field)[i], (b.*field)[i])) << seed << ' ' << c->Name << ' ' << i;
            ++compared;
        }
    }
    EXPECT_GT(compared, 50);
}

// Right-hand sides solved together on the factor (SolveMany) against each solved alone (Solve): the
// same bits. Random symmetric positive definite block matrices in 80 bits (so that every solution
// takes several corrections), from one to thirteen right-hand sides of scales far apart, zero ones
// among them, so that they drop out of the refinement at different steps; on one and two threads.
TEST(SparseSolverProperty, RightHandSidesSolvedTogetherHaveTheBitsOfEachSolvedAlone) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> unit(-1, 1);
    for (int round = 0; round < 24; ++round) {
        const int nodes = 5 + int(rng() % 40);
        std::vector<std::pair<int, int>> links;
        for (int v = 1; v < nodes; ++v) links.emplace_back(int(rng() % unsigned(v)), v);
        for (int extra = 0; extra < nodes / 2; ++extra) links.emplace_back(int(rng() % unsigned(nodes)), int(rng() % unsigned(nodes)));
        TSparseMatrix k(nodes, links);
        for (auto [a, b] : links) {
            if (a == b) continue;
            TReal block[3][3];
            for (auto& row : block)
                for (TReal& x : row) x = TReal(unit(rng)) / 3;
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) {
                    TReal bbt = 0; // B·Bᵀ, coupling a and b as a spring does
                    for (int l = 0; l < 3; ++l) bbt += block[i][l] * block[j][l];
                    k.Ref(3 * a + 1 + i, 3 * a + 1 + j) += bbt;
                    k.Ref(3 * b + 1 + i, 3 * b + 1 + j) += bbt;
                    k.Ref(3 * a + 1 + i, 3 * b + 1 + j) -= bbt;
                    k.Ref(3 * b + 1 + i, 3 * a + 1 + j) -= bbt;
                }
        }
        for (int e = 1; e <= k.Size(); ++e) k.Ref(e, e) += TReal(1) / 7;
        k.Analyse();
        ASSERT_EQ(k.Factorize().Result, TSolveResult::Ok) << round;
        const std::size_t n = std::size_t(k.Size()), m = 1 + std::size_t(round % 13);
        std::vector<TReal> x((n + 1) * m, 0.0L);
        std::vector<TVector> alone(m);
        for (std::size_t r = 0; r < m; ++r) {
            TVector f(n + 1, 0.0L);
            const TReal scale = r % 4 == 3 ? 0 : std::pow(10.0L, int(rng() % 21) - 10);
            for (std::size_t e = 1; e <= n; ++e) f[e] = x[e * m + r] = scale * TReal(unit(rng));
            k.Solve(f, alone[r]);
        }
        k.SolveMany(x, m, round % 2 ? TElimination::Parallel : TElimination::Serial);
        for (std::size_t r = 0; r < m; ++r)
            for (std::size_t e = 1; e <= n; ++e) ASSERT_TRUE(SameBits(x[e * m + r], alone[r][e])) << round << ' ' << r << ' ' << e;
    }
}

namespace {
// Nodes at the points, members between neighbours (pin-ended when pinned), both ends fixed (pinned
// when pinned), 15 kN along x at the second node.
void Chain(TFrame& f, std::vector<std::pair<TReal, TReal>> points, bool pinned) {
    std::vector<TUzel*> n;
    for (auto [x, y] : points) n.push_back(f.Node(x, y));
    for (std::size_t i = 0; i + 1 < n.size(); ++i) f.Member(n[i], n[i + 1], pinned, pinned);
    TFrame::Support(n.front(), true, true, !pinned);
    TFrame::Support(n.back(), true, true, !pinned);
    n[1]->PridejZatizeni(KLoadForce, nullptr, 15, 0);
}
} // namespace

// Refusals keep their message and place whichever solver is asked for; the sparse factor alone
// refuses them too.
TEST(SparseSolver, RefusalsKeepTheirMessageAndPlace) {
    const std::function<void(TFrame&)> rows[] = {
        // a hinged chain between two pins, sways as a mechanism
        [](TFrame& f) { Chain(f, {{0, 0}, {-1.2L, 4.8L}, {3.7L, 4.1L}, {3, 0}}, true); },
        // tall and slender: its pivots keep residue, its solution misses the equations
        [](TFrame& f) { Chain(f, {{0, 0}, {-1.7, 44.5}, {4.6, 44.4}, {4.68, 0}}, true); },
        // a straight hinged chain loaded across its joints
        [](TFrame& f) {
            Chain(f, {{0, 0}, {3, 0}, {6, 0}, {9, 0}}, true);
            f.Space.Nodes[2]->PridejZatizeni(KLoadForce, nullptr, 5, 90);
        },
        // only rollers: nothing holds the grid along x
        [](TFrame& f) {
            Grid(f, 3, 2, 7);
            for (TUzel* n : f.Space.Nodes)
                if (n->DofW.Fixed) TFrame::Support(n, false, true, false);
        },
        // no support at all
        [](TFrame& f) {
            Grid(f, 2, 2, 3);
            for (TUzel* n : f.Space.Nodes) TFrame::Support(n, false, false, false);
        },
        // a loose bar beside a sound grid
        [](TFrame& f) {
            Grid(f, 3, 3, 5);
            f.Member(f.Node(40, 0), f.Node(44, 0));
        },
        // a member of 1e-14 m below a portal's foot
        [](TFrame& f) { Chain(f, {{0, 0}, {0, 4}, {6, 4}, {6, 0}, {6, -1e-14L}}, false); },
        // sound: a grid with a rigid link
        [](TFrame& f) {
            Grid(f, 2, 3, 9);
            f.Member(f.Space.Nodes[0], f.Space.Nodes[5])->Section =
                f.Space.PridejProfil("R", f.Space.PridejMaterial("R", 210000e6L, 0), 0.01, 1e-4, 5e-5);
        },
    };
    int row = 0, refused = 0;
    for (const auto& build : rows) {
        ++row;
        TFrame profile, sparse, alone;
        build(profile);
        build(sparse);
        build(alone);
        TRecordingDialogs sink1, sink2, sink3;
        const TSolveStatus p = Solve(profile, TSolverPath::Profile, sink1);
        const TSolveStatus s = Solve(sparse, TSolverPath::Sparse, sink2);
        const TSolveStatus a = Solve(alone, TSolverPath::SparseAlone, sink3);
        EXPECT_EQ(s, p) << row;
        EXPECT_EQ(sink2.Messages, sink1.Messages) << row;
        EXPECT_EQ(a.Result == TSolveResult::Ok, p.Result == TSolveResult::Ok) << row;
        EXPECT_EQ(a.Unsupported, p.Unsupported) << row;
        refused += p.Result != TSolveResult::Ok;
    }
    EXPECT_EQ(refused, row - 1);
}

// The automatic choice keeps the profile for small frames and for the model's order.
TEST(SparseSolver, AutomaticChoiceKeepsTheProfileForSmallFramesAndTheModelsOrder) {
    TFrame small, large;
    Grid(small, 9, 8, 0);
    Grid(large, 60, 60, 0);
    small.Space.SestavKG();
    EXPECT_FALSE(small.Space.SparseKG);
    large.Space.SestavKG();
    EXPECT_TRUE(large.Space.SparseKG);
    EXPECT_TRUE(large.Space.KG.Empty());
    large.Space.EquationOrder = TEquationOrder::Model;
    large.Space.SestavKG();
    EXPECT_FALSE(large.Space.SparseKG);
    EXPECT_FALSE(large.Space.KG.Empty());
    large.Space.UvolniKG();
}

// The trace files show the model's matrix and vectors alike on either path.
TEST(SparseSolver, TraceFilesShowTheSameMatrixOnEitherPath) {
    namespace fs = std::filesystem;
    const fs::path base = fs::temp_directory_path() / ("korvan-sparse-" + std::to_string(::getpid()));
    const char* const names[5] = {"00KG.out", "00KGa.out", "00MG.out", "00FG.out", "00FGa.out"};
    std::string texts[2][5];
    int i = 0;
    for (TSolverPath path : {TSolverPath::Profile, TSolverPath::SparseAlone}) {
        TFrame f;
        Grid(f, 3, 2, 4);
        f.Space.TraceEnabled = true;
        f.Space.TraceDir = (base / std::to_string(i)).string();
        fs::create_directories(f.Space.TraceDir);
        TRecordingDialogs sink;
        ASSERT_EQ(Solve(f, path, sink).Result, TSolveResult::Ok);
        for (int k = 0; k < 5; ++k) {
            std::ifstream in(fs::path(f.Space.TraceDir) / names[k], std::ios::binary);
            texts[i][k].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        ++i;
    }
    for (int k = 0; k < 5; ++k) {
        EXPECT_FALSE(texts[0][k].empty()) << names[k];
        EXPECT_EQ(texts[0][k], texts[1][k]) << names[k];
    }
    fs::remove_all(base);
}
