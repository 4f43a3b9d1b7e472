// Solve and trace benchmarks on grid frames numbered row by row (bays × storeys, fixed feet,
// uniform loads on the beams, wind at every node of the left column), and the dense elimination
// at smaller sizes for comparison.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "../tests/analysis/Frames.h"
#include "analysis/SparseMatrix.h"
#include "model/UserDialogs.h"

namespace {
void GridFrame(TFrame& f, int bays, int storeys) {
    const int columns = bays + 1;
    for (int row = 0; row <= storeys; ++row)
        for (int c = 0; c < columns; ++c) f.Node(6.0L * c, 3.5L * row);
    auto node = [&](int row, int c) { return f.Space.Nodes[row * columns + c]; };
    for (int row = 1; row <= storeys; ++row) {
        for (int c = 0; c < columns; ++c) f.Member(node(row - 1, c), node(row, c));
        for (int c = 0; c < bays; ++c) {
            TPrut* beam = f.Member(node(row, c), node(row, c + 1));
            beam->PridejZatizeni(KLoadDistributed, nullptr, 0, beam->Length, 12, 12, 90);
        }
        node(row, 0)->PridejZatizeni(KLoadForce, nullptr, 5, 0);
    }
    for (int c = 0; c < columns; ++c) TFrame::Support(node(0, c), true, true, true);
}

void BM_Solve(benchmark::State& state) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    for (auto _ : state) {
        state.PauseTiming();
        auto f = std::make_unique<TFrame>(210000, 0.01, 1e-4);
        GridFrame(*f, int(state.range(0)), int(state.range(1)));
        f->Space.Elimination = TElimination(state.range(2));
        state.ResumeTiming();
        TSolveStatus r = f->Space.Vypocet();
        if (r.Result != TSolveResult::Ok) state.SkipWithError("not solved");
        state.PauseTiming();
        f.reset();
        state.ResumeTiming();
    }
    state.counters["nodes"] = double((state.range(0) + 1) * (state.range(1) + 1));
}

// The whole computation on the profile (third argument 1) or on the sparse factor (2): where the
// two meet is where the automatic choice should switch (KSparseMinTerms, KSparseGain).
void BM_SolverPath(benchmark::State& state) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    for (auto _ : state) {
        state.PauseTiming();
        auto f = std::make_unique<TFrame>(210000, 0.01, 1e-4);
        GridFrame(*f, int(state.range(0)), int(state.range(1)));
        f->Space.SolverPath = TSolverPath(state.range(2));
        state.ResumeTiming();
        TSolveStatus r = f->Space.Vypocet();
        if (r.Result != TSolveResult::Ok) state.SkipWithError("not solved");
        state.PauseTiming();
        f.reset();
        state.ResumeTiming();
    }
    state.counters["nodes"] = double((state.range(0) + 1) * (state.range(1) + 1));
}

// The dense elimination of the whole (3N+1)² matrix, on the same frames.
void BM_DenseSolve(benchmark::State& state) {
    TFrame f(210000, 0.01, 1e-4);
    GridFrame(f, int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        TVector rg;
        TSolveStatus r = DenseReference(f.Space, rg);
        if (r.Result != TSolveResult::Ok) state.SkipWithError("not solved");
        benchmark::DoNotOptimize(rg.data());
    }
    state.counters["equations"] = double(3 * f.Space.Nodes.Count());
}

// Assembly with the trace file "00KG.out" (about 15 bytes per matrix entry), in bytes per second.
void BM_TraceKG(benchmark::State& state) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "korvan-trace-bench";
    std::filesystem::create_directories(dir);
    TFrame f(210000, 0.01, 1e-4);
    GridFrame(f, int(state.range(0)), int(state.range(1)));
    f.Space.TraceEnabled = true;
    f.Space.TraceDir = dir.string();
    std::uintmax_t bytes = 0;
    for (auto _ : state) {
        f.Space.SestavKG();
        state.PauseTiming();
        bytes += std::filesystem::file_size(dir / "00KG.out");
        f.Space.UvolniKG();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(std::int64_t(bytes));
    std::filesystem::remove_all(dir);
}

// The whole computation with all trace files.
void BM_SolveWithTrace(benchmark::State& state) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "korvan-trace-bench-all";
    std::filesystem::create_directories(dir);
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    std::uintmax_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto f = std::make_unique<TFrame>(210000, 0.01, 1e-4);
        GridFrame(*f, int(state.range(0)), int(state.range(1)));
        f->Space.TraceEnabled = true;
        f->Space.TraceDir = dir.string();
        state.ResumeTiming();
        f->Space.Vypocet();
        state.PauseTiming();
        for (const auto& e : std::filesystem::directory_iterator(dir)) bytes += e.file_size();
        f.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(std::int64_t(bytes));
    std::filesystem::remove_all(dir);
}
} // namespace

// The third argument: 0 lets the solver choose the threads, 1 eliminates on one thread, 2 on two.
BENCHMARK(BM_Solve)
    ->Args({30, 10, 0})
    ->Args({30, 10, 1})
    ->Args({30, 10, 2})
    ->Args({24, 40, 0})
    ->Args({24, 40, 1})
    ->Args({24, 40, 2})
    ->Args({100, 99, 0})
    ->Args({100, 99, 1})
    ->Args({100, 99, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SolverPath)
    ->ArgsProduct({{20, 30, 40, 50, 70, 100}, {20}, {1, 2}})
    ->ArgsProduct({{30, 50, 70, 100}, {30, 50, 70, 100}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DenseSolve)->Args({6, 10})->Args({12, 20})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TraceKG)->Args({24, 40})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolveWithTrace)->Args({24, 40})->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
