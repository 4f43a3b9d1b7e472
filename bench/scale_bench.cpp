// Sizes at which work that grows with the square of the model would never finish: a member of
// 10⁶ divisions with loads near its start, and the save of a chain of 10⁶ nodes and members.
#include <benchmark/benchmark.h>

#include <sstream>

#include "analysis/ProfileMatrix.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"

namespace {
void MemberStations(benchmark::State& state) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    TMKPSpace space;
    space.TraceEnabled = false;
    TMaterial* mat = space.PridejMaterial("S", 210000, 7850);
    TProfil* sec = space.PridejProfil("P", mat, 0.01, 1e-4, 1e-4);
    TUzel* a = space.PridejUzel(1, 0, 0);
    TUzel* b = space.PridejUzel(2, 10, 0);
    TPrut* m = space.PridejPrut(a, b, sec, false, 1, false, false);
    a->DofU.Fixed = a->DofW.Fixed = a->DofRot.Fixed = true;
    m->PridejZatizeni(KLoadForce, nullptr, 0.25, 0, 10, 0, 90);
    m->PridejZatizeni(KLoadDistributed, nullptr, 0.1, 2, 5, 5, 90);
    if (space.Vypocet().Result != TSolveResult::Ok) state.SkipWithError("not computed");
    m->NastavDeleni(int(state.range(0)));
    for (auto _ : state) {
        m->Prubehy();
        benchmark::DoNotOptimize(m->Results);
        m->UvolniPrubehy();
    }
    state.counters["divisions"] = double(state.range(0));
}
BENCHMARK(MemberStations)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void SaveChain(benchmark::State& state) {
    TMKPSpace space;
    TMaterial* mat = space.PridejMaterial("S", 210000, 7850);
    TProfil* sec = space.PridejProfil("P", mat, 0.01, 1e-4, 1e-4);
    TUzel* previous = space.PridejUzel(1, 0, 0);
    for (int i = 1; i < state.range(0); ++i) {
        TUzel* next = space.PridejUzel(i + 1, i * 0.001L, (i % 7) * 0.01L);
        space.PridejPrut(previous, next, sec, false, i, false, false);
        previous = next;
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        space.UlozProjekt(out);
        bytes = out.str().size();
    }
    state.counters["nodes"] = double(state.range(0));
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(SaveChain)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
