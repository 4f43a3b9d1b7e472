// Load cases on one elimination: superposition of combinations, the bits of a case solved as a
// further right-hand side, and the envelope against brute force.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "analysis/En1990.h"
#include "analysis/Envelope.h"
#include "analysis/EquationOrder.h"
#include "analysis/Frames.h"
#include "analysis/MemberTable.h"
#include "model/UserDialogs.h"

namespace {
TSolveStatus Solve(TFrame& f) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    return f.Space.Vypocet();
}

// Every result the model shows, by kind: displacements, reactions, end results, and the rows M,
// N, T, u, w of every member's table.
std::vector<std::vector<TReal>> Shown(TMKPSpace& s) {
    std::vector<std::vector<TReal>> out(4);
    for (const TUzel* n : s.Nodes) {
        out[0].insert(out[0].end(), n->Displacement.begin(), n->Displacement.end());
        for (const TNodeDof* d : {&n->DofRot, &n->DofU, &n->DofW})
            if (d->Fixed) out[1].push_back(d->Reaction);
    }
    for (TPrut* m : s.Members) {
        out[2].insert(out[2].end(), m->Sa.begin(), m->Sa.end());
        out[2].insert(out[2].end(), m->Sb.begin(), m->Sb.end());
        SestavPrubehy(*m);
        for (int row : {1, 2, 3, 5, 6}) out[3].insert(out[3].end(), m->Results[std::size_t(row)].begin(), m->Results[std::size_t(row)].end());
        m->UvolniPrubehy();
    }
    return out;
}

// Random frames whose user loads go to three cases (or more: "Q2", "Q3", ...) at random.
void CaseFrame(TFrame& f, unsigned seed, int count = 3) {
    RandomFrame(f, seed, true);
    TMKPSpace& s = f.Space;
    std::vector<TZatezovaciStav*> cases = {s.PridejZatezovaciStav("G", TCaseKind::Permanent),
                                           s.PridejZatezovaciStav("Q", TCaseKind::Variable, TCaseCategory::B),
                                           s.PridejZatezovaciStav("W", TCaseKind::Variable, TCaseCategory::Wind)};
    for (int c = 3; c < count; ++c)
        cases.push_back(s.PridejZatezovaciStav("Q" + std::to_string(c), TCaseKind::Variable, TCaseCategory::B));
    std::mt19937 rng(seed);
    for (TUzel* n : s.Nodes)
        for (TZatizeni* z : n->Loads) s.NastavStavZatizeni(*z, cases[rng() % cases.size()]);
    for (TPrut* m : s.Members)
        for (TZatizeni* z : m->Loads)
            if (z->Kind != KLoadSelfWeight) s.NastavStavZatizeni(*z, cases[rng() % cases.size()]);
}
} // namespace

TEST(Cases, CombinationEqualsModelOfFactoredLoads) {
    int compared = 0;
    for (unsigned seed = 1; seed <= 100; ++seed) {
        TFrame f;
        CaseFrame(f, seed);
        std::mt19937 rng(seed * 7919u);
        auto factor = [&] { return TReal(0.25 + 1.5 * (double(rng()) / 4294967296.0)); };
        std::vector<TCombinationTerm> terms;
        for (TZatezovaciStav* c : f.Space.PocitaneStavy()) terms.push_back({c, factor()});
        f.Space.PridejKombinaci("K", TCombinationKind::User, terms);
        if (Solve(f).Result != TSolveResult::Ok) continue;
        ASSERT_TRUE(f.Space.NastavVysledky({TResultsKind::Combination, "K", {}, TEnvelopeScope::All}));
        const auto got = Shown(f.Space);

        // The same frame without cases, every load multiplied by the factor of its case.
        TFrame r;
        RandomFrame(r, seed, true);
        const auto factorOf = [&](const std::string& name) {
            for (const TCombinationTerm& t : terms)
                if (t.Case->Name == name) return t.Factor;
            return TReal(0);
        };
        r.Space.WeightCase.Factor *= factorOf("Weight");
        for (int p = 0; p < r.Space.Nodes.Count(); ++p)
            for (int k = 0; k < r.Space.Nodes[p]->Loads.Count(); ++k)
                r.Space.Nodes[p]->Loads[k]->Q1 *= factorOf(f.Space.Nodes[p]->Loads[k]->LoadCase->Name);
        for (int i = 0; i < r.Space.Members.Count(); ++i)
            for (int k = 0; k < r.Space.Members[i]->Loads.Count(); ++k) {
                TZatizeni* z = r.Space.Members[i]->Loads[k];
                if (z->Kind == KLoadSelfWeight) continue;
                const TReal q = factorOf(f.Space.Members[i]->Loads[k]->LoadCase->Name);
                z->Q1 *= q;
                z->Q2 *= q;
            }
        ASSERT_EQ(Solve(r).Result, TSolveResult::Ok) << seed;
        const auto want = Shown(r.Space);
        for (std::size_t kind = 0; kind < want.size(); ++kind) {
            ASSERT_EQ(got[kind].size(), want[kind].size()) << seed << " kind " << kind;
            TReal largest = 0;
            for (TReal v : want[kind]) largest = std::max(largest, std::fabs(v));
            for (std::size_t i = 0; i < want[kind].size(); ++i)
                ASSERT_LE(std::fabs(got[kind][i] - want[kind][i]), 1e-12L * largest) << seed << " kind " << kind << " at " << i;
        }
        ++compared;
    }
    EXPECT_GE(compared, 20);
}

// Further cases are solved together, several right-hand sides per pass over a row: from three to
// eleven cases (with self-weight), so that full and partial groups of them occur; a modulus far
// beyond the doubles' range keeps the eliminated entries in 80 bits (and the displacements below
// what two doubles hold). On two threads the cases are shared between them.
TEST(Cases, CaseSolvedOnStoredFactorsHasTheBitsOfCaseSolvedFirst) {
    for (unsigned seed = 1; seed <= 80; ++seed) {
        for (TEquationOrder order : {TEquationOrder::Model, TEquationOrder::Reduced}) {
            TFrame f(seed % 6 == 0 ? 1e315L : 210000);
            CaseFrame(f, seed, 3 + int(seed % 8));
            f.Space.Elimination = seed % 2 ? TElimination::Parallel : TElimination::Serial;
            f.Space.EquationOrder = order;
            if (Solve(f).Result != TSolveResult::Ok) continue;
            const TCaseResults first = f.Space.CaseResults;
            for (const TZatezovaciStav* c : first.Cases) {
                f.Space.TracedCase = c->Name;
                ASSERT_EQ(Solve(f).Result, TSolveResult::Ok);
                const TCaseResults& again = f.Space.CaseResults;
                EXPECT_EQ(again.Cases[0], c);
                const TStateResults& a = first.States[std::size_t(first.IndexOf(c))];
                const TStateResults& b = again.States[std::size_t(again.IndexOf(c))];
                for (const auto field : {&TStateResults::Displacements, &TStateResults::Reactions, &TStateResults::EndResults})
                    for (std::size_t i = 0; i < (a.*field).size(); ++i)
                        ASSERT_TRUE(SameBits((a.*field)[i], (b.*field)[i])) << seed << ' ' << c->Name << ' ' << i;
            }
        }
    }
}

TEST(Cases, EnvelopeIsExtremeOfEveryCombination) {
    // A portal with its loads along whole members and at nodes, so that every combination's table
    // has the same stations.
    TFrame f;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(0, 4);
    TUzel* c = f.Node(6, 4);
    TUzel* d = f.Node(6, 0);
    TFrame::Support(a, true, true, true);
    TFrame::Support(d, true, true, false);
    f.Member(a, b);
    TPrut* beam = f.Member(b, c);
    f.Member(c, d);
    TMKPSpace& s = f.Space;
    s.NastavVlastniTihu(true);
    TZatezovaciStav* g = s.PridejZatezovaciStav("G", TCaseKind::Permanent);
    g->BothValues = true;
    TZatezovaciStav* q = s.PridejZatezovaciStav("Q", TCaseKind::Variable, TCaseCategory::A);
    TZatezovaciStav* w1 = s.PridejZatezovaciStav("W1", TCaseKind::Variable, TCaseCategory::Wind, "w");
    TZatezovaciStav* w2 = s.PridejZatezovaciStav("W2", TCaseKind::Variable, TCaseCategory::Wind, "w");
    s.NastavStavZatizeni(*beam->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 4, 4, 90), g);
    s.NastavStavZatizeni(*beam->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 3, 6, 90), q);
    s.NastavStavZatizeni(*b->PridejZatizeni(KLoadForce, nullptr, 10, 0), w1);
    s.NastavStavZatizeni(*c->PridejZatizeni(KLoadForce, nullptr, 10, 180), w2);
    s.VygenerujKombinace({});
    ASSERT_EQ(Solve(f).Result, TSolveResult::Ok);
    ASSERT_TRUE(s.NastavVysledky({TResultsKind::Envelope, {}, {}, TEnvelopeScope::All}));
    ASSERT_TRUE(s.Envelope);
    const TObalka e = *s.Envelope;
    ASSERT_EQ(int(e.Combinations.size()), s.Combinations.Count());

    std::vector<std::vector<std::vector<TReal>>> each; // per combination, Shown()
    for (const TKombinace* k : e.Combinations) {
        ASSERT_TRUE(s.NastavVysledky({TResultsKind::Combination, k->Name, {}, TEnvelopeScope::All}));
        each.push_back(Shown(s));
    }
    // The nodes' displacements (kind 0) and the members' rows (kind 3) against the extremes.
    const auto check = [&](std::size_t kind, std::size_t i, const TExtreme& x) {
        TReal hi = each[0][kind][i], lo = hi;
        for (const auto& v : each) {
            hi = std::max(hi, v[kind][i]);
            lo = std::min(lo, v[kind][i]);
        }
        EXPECT_EQ(x.Max, hi) << kind << ' ' << i;
        EXPECT_EQ(x.Min, lo) << kind << ' ' << i;
        EXPECT_EQ(each[std::size_t(x.MaxBy)][kind][i], hi);
        EXPECT_EQ(each[std::size_t(x.MinBy)][kind][i], lo);
    };
    std::size_t reaction = 0;
    for (std::size_t p = 0; p < e.Nodes.size(); ++p)
        for (std::size_t dof = 0; dof < 3; ++dof) {
            check(0, 3 * p + dof, e.Nodes[p].Displacement[dof]);
            const TNodeDof* dofs[3] = {&s.Nodes[int(p)]->DofRot, &s.Nodes[int(p)]->DofU, &s.Nodes[int(p)]->DofW};
            if (dofs[dof]->Fixed) check(1, reaction++, e.Nodes[p].Reaction[dof]);
        }
    std::size_t at = 0;
    for (const TObalka::TMemberEnvelope& m : e.Members)
        for (int q = 0; q < TObalka::KQuantities; ++q)
            for (std::size_t j = 0; j < m.X.size(); ++j) check(3, at++, m.Values[j][std::size_t(q)]);
    EXPECT_EQ(at, each[0][3].size());
}

// A large envelope forms its members' tables on two threads: the same envelope to the bit as on
// one, and the model shows afterwards what it showed before, on random hinged frames with cases.
TEST(Cases, EnvelopeOnTwoThreadsIsTheEnvelopeOnOne) {
    int compared = 0;
    for (unsigned seed = 1; seed <= 100; ++seed) {
        TFrame f;
        CaseFrame(f, seed, 3 + int(seed % 4));
        TMKPSpace& s = f.Space;
        s.VygenerujKombinace({});
        if (Solve(f).Result != TSolveResult::Ok) continue;
        const std::vector<std::vector<TReal>> before = Shown(s);
        std::vector<const TKombinace*> all(s.Combinations.begin(), s.Combinations.end());
        s.Elimination = TElimination::Serial;
        const TObalka one = SestavObalku(s, all);
        s.Elimination = TElimination::Parallel;
        const TObalka two = SestavObalku(s, all);
        ASSERT_EQ(Shown(s), before) << seed;
        const auto same = [](const TExtreme& a, const TExtreme& b) {
            return SameBits(a.Max, b.Max) && SameBits(a.Min, b.Min) && a.MaxBy == b.MaxBy && a.MinBy == b.MinBy;
        };
        ASSERT_EQ(one.Members.size(), two.Members.size());
        for (std::size_t i = 0; i < one.Members.size(); ++i) {
            const TObalka::TMemberEnvelope &a = one.Members[i], &b = two.Members[i];
            ASSERT_EQ(a.X.size(), b.X.size()) << seed << ' ' << i;
            ASSERT_EQ(a.Peaks.size(), b.Peaks.size()) << seed << ' ' << i;
            for (std::size_t j = 0; j < a.X.size(); ++j) {
                ASSERT_TRUE(SameBits(a.X[j], b.X[j]));
                for (int q = 0; q < TObalka::KQuantities; ++q)
                    ASSERT_TRUE(same(a.Values[j][std::size_t(q)], b.Values[j][std::size_t(q)])) << seed << ' ' << i;
            }
            for (std::size_t k = 0; k < a.Peaks.size(); ++k)
                ASSERT_TRUE(a.Peaks[k].Step == b.Peaks[k].Step && SameBits(a.Peaks[k].Value, b.Peaks[k].Value) &&
                            a.Peaks[k].By == b.Peaks[k].By);
        }
        for (std::size_t p = 0; p < one.Nodes.size(); ++p)
            for (std::size_t d = 0; d < 3; ++d)
                ASSERT_TRUE(same(one.Nodes[p].Displacement[d], two.Nodes[p].Displacement[d]) &&
                            same(one.Nodes[p].Reaction[d], two.Nodes[p].Reaction[d]));
        ++compared;
    }
    EXPECT_GE(compared, 10);
}

// The envelope's moments between stations: no combination comes above the largest (below the
// smallest) M that the stations and peaks give anywhere along a member, and every peak is the
// value there of the combination it names.
TEST(Cases, EnvelopeMomentPeaksBetweenStations) {
    int peaks = 0, members = 0;
    for (unsigned seed = 1; seed <= 80; ++seed) {
        TFrame f;
        CaseFrame(f, seed, 4);
        TMKPSpace& s = f.Space;
        s.VygenerujKombinace({});
        if (Solve(f).Result != TSolveResult::Ok) continue;
        ASSERT_TRUE(s.NastavVysledky({TResultsKind::Envelope, {}, {}, TEnvelopeScope::All}));
        const TObalka e = *s.Envelope;
        for (int i = 0; i < s.Members.Count(); ++i) {
            const TObalka::TMemberEnvelope& m = e.Members[std::size_t(i)];
            if (m.X.empty()) continue;
            ++members;
            TReal hi = m.Values[0][0].Max, lo = m.Values[0][0].Min, size = 0;
            for (const auto& v : m.Values) {
                hi = std::max(hi, v[0].Max);
                lo = std::min(lo, v[0].Min);
            }
            std::array<TExtreme, TObalka::KQuantities> at;
            for (const TObalka::TPeak& p : m.Peaks) {
                ++peaks;
                (p.Largest ? hi : lo) = p.Largest ? std::max(hi, p.Value) : std::min(lo, p.Value);
                ASSERT_TRUE(ObalkaVMiste(s, e, i, p.X, at));
                const TReal there = p.Largest ? at[0].Max : at[0].Min;
                EXPECT_NEAR(double(there), double(p.Value), 1e-9 * (1 + std::fabs(double(p.Value))))
                    << "seed " << seed << " member " << i;
                EXPECT_EQ(p.Largest ? at[0].MaxBy : at[0].MinBy, p.By) << "seed " << seed << " member " << i;
            }
            size = std::max(std::fabs(hi), std::fabs(lo));
            const TReal length = s.Members[i]->Length;
            for (int k = 0; k <= 100; ++k) {
                ASSERT_TRUE(ObalkaVMiste(s, e, i, length * k / 100, at));
                EXPECT_LE(double(at[0].Max), double(hi + 1e-9L * (1 + size))) << "seed " << seed << " member " << i;
                EXPECT_GE(double(at[0].Min), double(lo - 1e-9L * (1 + size))) << "seed " << seed << " member " << i;
            }
        }
    }
    EXPECT_GT(members, 80);
    EXPECT_GT(peaks, 8);  // the frames' distributed loads give moments that peak between stations
}

TEST(Cases, RefusalOfAFurtherCaseNamesIt) {
    // Node 2 joins two members hinged at it: its rotation has no stiffness, and only case "M"
    // puts a moment on it.
    TFrame f;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(4, 0);
    TUzel* c = f.Node(8, 0);
    TFrame::Support(a, true, true, true);
    TFrame::Support(c, true, true, true);
    f.Member(a, b, false, true);
    f.Member(b, c, true, false);
    TMKPSpace& s = f.Space;
    s.NastavStavZatizeni(*b->PridejZatizeni(KLoadForce, nullptr, 10, 90), s.PridejZatezovaciStav("P", TCaseKind::Permanent));
    s.NastavStavZatizeni(*b->PridejZatizeni(KLoadMoment, nullptr, 5, 0), s.PridejZatezovaciStav("M", TCaseKind::Variable));
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    EXPECT_EQ(s.Vypocet().Result, TSolveResult::Mechanism);
    ASSERT_FALSE(sink.Messages.empty());
    EXPECT_EQ(sink.Messages.back(), "Zatěžovací stav „M“ nelze spočítat.");
    EXPECT_FALSE(s.ResultsValid);
    EXPECT_TRUE(s.CaseResults.Empty());
    s.TracedCase = "M"; // solved first, the case is refused as a model of its loads alone would be
    EXPECT_EQ(s.Vypocet().Result, TSolveResult::Mechanism);
    s.SmazZatezovaciStav(s.LoadCases[1], nullptr);
    EXPECT_EQ(s.Vypocet().Result, TSolveResult::Ok);
}
