#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>
#include <sstream>

#include <unistd.h>

#include "analysis/EquationOrder.h"
#include "analysis/Frames.h"
#include "model/UserDialogs.h"

namespace fs = std::filesystem;

namespace {
// A grid frame (bays × storeys, fixed feet, loaded beams, wind on the left column, every seventh
// column hinged at its top) whose nodes are numbered in the order given by shuffle: storey by
// storey when seed is 0, at random otherwise.
void GridFrame(TFrame& f, int bays, int storeys, unsigned seed) {
    const int columns = bays + 1, count = columns * (storeys + 1);
    std::vector<int> place(static_cast<std::size_t>(count)); // grid index of the node with number i + 1
    std::iota(place.begin(), place.end(), 0);
    if (seed != 0) std::shuffle(place.begin(), place.end(), std::mt19937(seed));
    std::vector<TUzel*> at(static_cast<std::size_t>(count), nullptr);
    for (int g : place) at[std::size_t(g)] = f.Node(4.0L * (g % columns) + 0.05L * (g / columns), 3.0L * (g / columns));
    auto node = [&](int row, int c) { return at[std::size_t(row * columns + c)]; };
    for (int row = 1; row <= storeys; ++row) {
        for (int c = 0; c < columns; ++c) f.Member(node(row - 1, c), node(row, c), false, c % 7 == 3);
        for (int c = 0; c < bays; ++c) {
            TPrut* beam = f.Member(node(row, c), node(row, c + 1));
            beam->PridejZatizeni(KLoadDistributed, nullptr, 0, beam->Length, 8 + row % 3, 11, 90);
        }
        node(row, 0)->PridejZatizeni(KLoadForce, nullptr, 3 + row, 0);
    }
    for (int c = 0; c < columns; ++c) TFrame::Support(node(0, c), true, true, c % 2 == 0);
}

TVector Displacements(const TFrame& f) {
    TVector v(std::size_t(3 * f.Space.Nodes.Count() + 1), 0.0L);
    for (int p = 0; p < f.Space.Nodes.Count(); ++p)
        for (int k = 0; k < 3; ++k) v[std::size_t(3 * p + k + 1)] = f.Space.Nodes[p]->Displacement[std::size_t(k)];
    return v;
}

// The largest difference from expected, relative to expected's largest magnitude.
double RelativeDifference(const TVector& v, const TVector& expected) {
    TReal scale = 0, worst = 0;
    for (std::size_t i = 1; i < expected.size(); ++i) {
        scale = std::max(scale, std::fabs(expected[i]));
        worst = std::max(worst, std::fabs(v[i] - expected[i]));
    }
    return scale == 0 ? double(worst) : double(worst / scale);
}

bool BitsEqual(const TVector& a, const TVector& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 1; i < a.size(); ++i)
        if (!SameBits(a[i], b[i])) return false;
    return true;
}

TSolveStatus Solve(TFrame& f, TEquationOrder order, TRecordingDialogs& sink) {
    f.Space.EquationOrder = order;
    TDialogsGuard guard(sink);
    return f.Space.Vypocet();
}

// Whether the computation's matrix would be held in another order than the model's.
bool TakesReducedOrder(TFrame& f) {
    f.Space.SestavKG();
    const bool reordered = f.Space.KG.Reordered();
    f.Space.UvolniKG();
    return reordered;
}

// The profile work of a frame's equations in its own node order and in the reduced one.
std::pair<double, double> Terms(const TFrame& f) {
    std::vector<std::pair<int, int>> links;
    for (const TPrut* m : f.Space.Members) links.emplace_back(m->NodeA->Number - 1, m->NodeB->Number - 1);
    const int nodes = f.Space.Nodes.Count();
    std::vector<int> identity(static_cast<std::size_t>(nodes)), place(static_cast<std::size_t>(nodes));
    std::iota(identity.begin(), identity.end(), 0);
    const std::vector<int> order = ProfileReducingOrder(nodes, links);
    for (int i = 0; i < nodes; ++i) place[std::size_t(order[std::size_t(i)])] = i;
    return {ProfileTerms(EnvelopeStarts(nodes, links, identity)), ProfileTerms(EnvelopeStarts(nodes, links, place))};
}
} // namespace

TEST(EquationOrder, ReverseCuthillMcKeeIsAPermutationThatKeepsNeighboursClose) {
    struct Case {
        const char* name;
        int nodes;
        std::vector<std::pair<int, int>> links;
        int widest; // the largest distance in the order between two linked nodes
    };
    // A path numbered from the middle outwards, a star, two separate parts with a lone node, a
    // 3 × 4 ladder numbered across.
    std::vector<Case> cases = {
        {"path", 6, {{0, 1}, {0, 2}, {1, 3}, {2, 4}, {3, 5}}, 1},
        {"star", 5, {{2, 0}, {2, 1}, {2, 3}, {2, 4}}, 3},
        {"parts", 7, {{0, 3}, {3, 5}, {1, 4}, {4, 6}, {6, 1}}, 2},
        {"ladder", 8, {{0, 4}, {1, 5}, {2, 6}, {3, 7}, {0, 1}, {1, 2}, {2, 3}, {4, 5}, {5, 6}, {6, 7}}, 2},
    };
    for (const Case& c : cases) {
        const std::vector<int> order = ProfileReducingOrder(c.nodes, c.links);
        std::vector<int> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        std::vector<int> all(static_cast<std::size_t>(c.nodes));
        std::iota(all.begin(), all.end(), 0);
        EXPECT_EQ(sorted, all) << c.name;
        std::vector<int> place(static_cast<std::size_t>(c.nodes));
        for (int i = 0; i < c.nodes; ++i) place[std::size_t(order[std::size_t(i)])] = i;
        int widest = 0;
        for (auto [a, b] : c.links) widest = std::max(widest, std::abs(place[std::size_t(a)] - place[std::size_t(b)]));
        EXPECT_EQ(widest, c.widest) << c.name;
    }
}

TEST(EquationOrder, EnvelopeStartsFollowTheNodePlaces) {
    // Nodes 0 - 1 - 2 in a chain, taken in the order 2, 0, 1.
    const std::vector<std::pair<int, int>> links = {{0, 1}, {1, 2}};
    const std::vector<int> first = EnvelopeStarts(3, links, {1, 2, 0});
    // Node 2 (positions 1..3) starts itself; node 0 (4..6) reaches no earlier node; node 1 (7..9)
    // reaches node 2 at position 1.
    EXPECT_EQ(first, (std::vector<int>{1, 1, 1, 1, 4, 4, 4, 1, 1, 1}));
    EXPECT_EQ(ProfileTerms(first), 1 + 4 + 1 + 4 + 36 + 49 + 64);
}

TEST(EquationOrder, AutomaticChoiceReordersOnlyWhereItPaysClearly) {
    struct Case {
        const char* name;
        int bays, storeys;
        unsigned seed;
        bool reordered;
    } cases[] = {
        {"storey by storey", 12, 20, 0, false},
        {"tall, storey by storey", 4, 60, 0, false},
        {"shuffled", 12, 20, 7, true},
        {"shuffled but small", 2, 3, 7, false}, // too little work to be worth another order
        {"wide, storey by storey", 80, 2, 0, true},
    };
    for (const Case& c : cases) {
        TFrame f;
        GridFrame(f, c.bays, c.storeys, c.seed);
        const auto [model, reduced] = Terms(f);
        EXPECT_EQ(ReorderPays(model, reduced), c.reordered) << c.name << " " << model << " " << reduced;
        EXPECT_EQ(TakesReducedOrder(f), c.reordered) << c.name;
        f.Space.EquationOrder = TEquationOrder::Model;
        EXPECT_FALSE(TakesReducedOrder(f)) << c.name;
        f.Space.EquationOrder = TEquationOrder::Reduced;
        EXPECT_TRUE(TakesReducedOrder(f)) << c.name;
    }
    // The shuffled grid of 1025 nodes: a mean width of about 1000 equations becomes under 100.
    TFrame f;
    GridFrame(f, 24, 40, 3);
    const auto [model, reduced] = Terms(f);
    EXPECT_GT(model / reduced, 50.0);
}

// Both orders against the dense elimination of the model: the model's order bit for bit, the
// reduced order to 1e-12 of the largest displacement; refusals name the model's equation either way.
TEST(EquationOrderProperty, BothOrdersAgreeWithTheDenseEliminationOnShuffledFrames) {
    int solved = 0, refused = 0;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        TVector dense;
        TSolveStatus expected;
        {
            TFrame f;
            RandomFrame(f, seed, seed % 5 != 0);
            f.Space.OtocPrutySKloubemA();
            expected = DenseReference(f.Space, dense);
        }
        bool nearMechanism = false;
        for (std::size_t i = 1; i < dense.size(); ++i) nearMechanism = nearMechanism || std::fabs(dense[i]) > 1e6L;
        for (TEquationOrder order : {TEquationOrder::Model, TEquationOrder::Reduced}) {
            TFrame f;
            RandomFrame(f, seed, seed % 5 != 0);
            TRecordingDialogs sink;
            const TSolveStatus r = Solve(f, order, sink);
            if (order == TEquationOrder::Model || expected.Result != TSolveResult::Ok || !nearMechanism) {
                ASSERT_EQ(r, expected) << "seed " << seed << " order " << int(order);
            }
            if (r.Result != TSolveResult::Ok) {
                refused += order == TEquationOrder::Model;
                continue;
            }
            const TVector v = Displacements(f);
            if (order == TEquationOrder::Model) {
                ++solved;
                EXPECT_TRUE(BitsEqual(v, dense)) << "seed " << seed;
            } else if (!nearMechanism) {
                EXPECT_LT(RelativeDifference(v, dense), 1e-12) << "seed " << seed;
            }
        }
    }
    // Loads on degrees of freedom that nothing resists are refused as mechanisms.
    EXPECT_GT(solved, 40);
    EXPECT_GT(refused, 20);
}

TEST(EquationOrderProperty, ShuffledGridsSolvedInTheReducedOrderMatchTheDenseElimination) {
    for (unsigned seed : {11u, 12u, 13u}) {
        TVector dense;
        {
            TFrame f;
            GridFrame(f, 9, 8, seed);
            f.Space.OtocPrutySKloubemA();
            ASSERT_EQ(DenseReference(f.Space, dense).Result, TSolveResult::Ok);
        }
        for (TElimination how : {TElimination::Serial, TElimination::Parallel}) {
            TFrame automatic, exact;
            GridFrame(automatic, 9, 8, seed);
            GridFrame(exact, 9, 8, seed);
            automatic.Space.Elimination = exact.Space.Elimination = how;
            ASSERT_TRUE(TakesReducedOrder(automatic));
            TRecordingDialogs sink1, sink2;
            ASSERT_EQ(Solve(automatic, TEquationOrder::Automatic, sink1).Result, TSolveResult::Ok);
            ASSERT_EQ(Solve(exact, TEquationOrder::Model, sink2).Result, TSolveResult::Ok);
            EXPECT_LT(RelativeDifference(Displacements(automatic), dense), 1e-12) << seed;
            EXPECT_TRUE(BitsEqual(Displacements(exact), dense)) << seed;
            // Reactions and end forces follow the displacements.
            for (int i = 0; i < exact.Space.Nodes.Count(); ++i) {
                const TUzel* a = automatic.Space.Nodes[i];
                const TUzel* e = exact.Space.Nodes[i];
                for (auto d : {&TUzel::DofRot, &TUzel::DofU, &TUzel::DofW})
                    if ((e->*d).Fixed) {
                        EXPECT_NEAR(D((a->*d).Reaction), D((e->*d).Reaction), 1e-9) << seed;
                    }
            }
            for (int i = 0; i < exact.Space.Members.Count(); ++i)
                for (std::size_t k = 0; k < 6; ++k)
                    EXPECT_NEAR(D(automatic.Space.Members[i]->Sa[k]), D(exact.Space.Members[i]->Sa[k]), 1e-9) << seed;
        }
    }
}

TEST(EquationOrderProperty, RefusalInTheReducedOrderIsTheModelOrdersRefusal) {
    // A shuffled grid without supports but one pin, and the same grid with a free truss bar.
    for (int variant = 0; variant < 2; ++variant) {
        TFrame reduced, model;
        for (TFrame* f : {&reduced, &model}) {
            GridFrame(*f, 5, 4, 21);
            if (variant == 0) {
                for (TUzel* n : f->Space.Nodes) TFrame::Support(n, false, false, false);
                TFrame::Support(f->Space.Nodes[0], true, true, false);
            } else {
                TUzel* loose = f->Node(100, 100);
                f->Member(loose, f->Node(102, 100), true, true);
            }
        }
        TRecordingDialogs sink1, sink2;
        const TSolveStatus r1 = Solve(reduced, TEquationOrder::Reduced, sink1);
        const TSolveStatus r2 = Solve(model, TEquationOrder::Model, sink2);
        EXPECT_NE(r2.Result, TSolveResult::Ok) << variant;
        EXPECT_EQ(r1, r2) << variant;
        EXPECT_EQ(sink1.Messages, sink2.Messages) << variant;
        EXPECT_TRUE(reduced.Space.KG.Empty());
    }
}

TEST(EquationOrderProperty, TraceFilesShowTheModelsNumberingInEitherOrder) {
    const fs::path base = fs::temp_directory_path() / ("korvan-order-" + std::to_string(::getpid()));
    auto read = [](const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    };
    std::string texts[2][5];
    const char* const names[5] = {"00KG.out", "00KGa.out", "00MG.out", "00FG.out", "00FGa.out"};
    int i = 0;
    for (TEquationOrder order : {TEquationOrder::Model, TEquationOrder::Reduced}) {
        TFrame f;
        GridFrame(f, 3, 3, 5);
        f.Space.TraceEnabled = true;
        f.Space.TraceDir = (base / std::to_string(i)).string();
        fs::create_directories(f.Space.TraceDir);
        TRecordingDialogs sink;
        ASSERT_EQ(Solve(f, order, sink).Result, TSolveResult::Ok);
        for (int k = 0; k < 5; ++k) texts[i][k] = read(fs::path(f.Space.TraceDir) / names[k]);
        EXPECT_TRUE(fs::exists(fs::path(f.Space.TraceDir) / "00reakce.out"));
        ++i;
    }
    for (int k = 0; k < 5; ++k) {
        EXPECT_FALSE(texts[0][k].empty()) << names[k];
        EXPECT_EQ(texts[0][k], texts[1][k]) << names[k];
    }
    fs::remove_all(base);
}
