// The cost of many load cases: the 10,100-node grid (100 bays × 99 storeys, fixed feet) with its
// beam loads and wind spread over N cases, all solved on one elimination, against the same grid
// without cases (one load state, the computation as it always was). Without trace files; on one
// thread (threads 1), so that the ratio compares like with like, and as the program runs by
// default (threads 0: a second thread where a core is idle). exact 1 solves on the profile in the
// model's order of the equations (korvan-calc --exact-order), exact 0 as the program chooses (the
// sparse factor for this grid).
#include <benchmark/benchmark.h>

#include <memory>

#include "../tests/analysis/Frames.h"
#include "analysis/EquationOrder.h"
#include "model/UserDialogs.h"

namespace {
void GridWithCases(TFrame& f, int bays, int storeys, int cases) {
    TMKPSpace& s = f.Space;
    std::vector<TZatezovaciStav*> list;
    for (int c = 0; c < cases && cases > 1; ++c)
        list.push_back(s.PridejZatezovaciStav("Z" + std::to_string(c + 1), c == 0 ? TCaseKind::Permanent : TCaseKind::Variable,
                                              c == 0 ? TCaseCategory::None : TCaseCategory::B));
    const int columns = bays + 1;
    for (int row = 0; row <= storeys; ++row)
        for (int c = 0; c < columns; ++c) f.Node(6.0L * c, 3.5L * row);
    auto node = [&](int row, int c) { return s.Nodes[row * columns + c]; };
    int load = 0;
    const auto assign = [&](TZatizeni* z) {
        if (!list.empty()) s.NastavStavZatizeni(*z, list[std::size_t(load++ % cases)]);
    };
    for (int row = 1; row <= storeys; ++row) {
        for (int c = 0; c < columns; ++c) f.Member(node(row - 1, c), node(row, c));
        for (int c = 0; c < bays; ++c) {
            TPrut* beam = f.Member(node(row, c), node(row, c + 1));
            assign(beam->PridejZatizeni(KLoadDistributed, nullptr, 0, beam->Length, 12, 12, 90));
        }
        assign(node(row, 0)->PridejZatizeni(KLoadForce, nullptr, 5, 0));
    }
    for (int c = 0; c < columns; ++c) TFrame::Support(node(0, c), true, true, true);
}

void BM_Cases(benchmark::State& state) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    for (auto _ : state) {
        state.PauseTiming();
        auto f = std::make_unique<TFrame>(210000, 0.01, 1e-4);
        GridWithCases(*f, 100, 99, int(state.range(0)));
        f->Space.Elimination = state.range(1) == 1 ? TElimination::Serial : TElimination::Automatic;
        if (state.range(2) == 1) f->Space.EquationOrder = TEquationOrder::Model;
        state.ResumeTiming();
        const TSolveStatus r = f->Space.Vypocet();
        if (r.Result != TSolveResult::Ok || int(f->Space.CaseResults.States.size()) != std::max<long>(1, state.range(0)))
            state.SkipWithError("not solved");
        state.PauseTiming();
        f.reset();
        state.ResumeTiming();
    }
    state.counters["cases"] = double(state.range(0));
    state.counters["threads"] = double(state.range(1));
    state.counters["exact"] = double(state.range(2));
}
} // namespace

BENCHMARK(BM_Cases)
    ->ArgsProduct({{1, 50}, {1, 0}, {0, 1}})
    ->ArgNames({"cases", "threads", "exact"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_MAIN();
