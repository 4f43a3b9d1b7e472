// Curve node generation in "l konst." mode (chord search on the 0.000001 m grid, one formula
// evaluation per grid point) over long intervals, and the bare evaluation speed of the formulas.
#include <benchmark/benchmark.h>

#include <string>

#include "expr/CurveGenerator.h"
#include "model/UserDialogs.h"

namespace {
const char* const KFormulas[] = {"x/2", "sqrt(100-(x-5)^2)", "0,3*sin(x)+x^2/20"};

void ChordCurve(benchmark::State& state) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    TCurveFields fields;
    fields.Formula = KFormulas[state.range(0)];
    fields.Step = "0,5";
    fields.From = "0";
    fields.To = std::to_string(state.range(1));
    fields.Mode = 1;
    fields.Join = true;
    std::size_t nodes = 0;
    for (auto _ : state) {
        TMKPSpace space;
        TMaterial* m = space.PridejMaterial("S235", 210000, 7850);
        space.CurrentSection = space.PridejProfil("IPE 200", m, 0.00285, 0.0000194, 0.00000142);
        TCalcExpress calc(',');
        TCurveResult r = GenerateCurve(space, calc, fields, ',');
        if (!r.Succeeded) state.SkipWithError("generation failed");
        nodes = r.Nodes.size();
        benchmark::DoNotOptimize(r);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["grid_points"] = benchmark::Counter(static_cast<double>(state.range(1)) * 1e6,
                                                       benchmark::Counter::kIsIterationInvariantRate);
    state.SetLabel(fields.Formula);
}
BENCHMARK(ChordCurve)->ArgsProduct({{0, 1, 2}, {10}})->Args({0, 50})->Unit(benchmark::kMillisecond);

void Evaluate(benchmark::State& state) {
    TCalcExpress calc(',');
    calc.SetVariables({"x"});
    calc.SetFormula(KFormulas[state.range(0)]);
    TReal x = 1.0L;
    for (auto _ : state) {
        benchmark::DoNotOptimize(calc.Evaluate({x}));
        x += 0.000001L;
    }
    state.SetLabel(KFormulas[state.range(0)]);
}
BENCHMARK(Evaluate)->DenseRange(0, 2);
} // namespace

BENCHMARK_MAIN();
