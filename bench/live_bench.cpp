// The latency of live results after an edit: the live computation of every load case (one
// factorization, every further case one more right-hand side) and the repaint of the bending
// moments that follows, for a portal frame with 5 cases and a 1000-member frame with 20 cases.
// The state shown is a case (envelope:0) or the envelope of all the generated combinations
// (envelope:1), which the live computation forms again; repaint:0 times the computation alone.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <clocale>
#include <memory>
#include <string>

#include "analysis/En1990.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "render/QtCanvasPainter.h"
#include "ui/editing/LiveResults.h"

namespace {
struct TFrame {
    TMKPSpace space;
    TMaterial* steel = space.PridejMaterial("S235", 210000, 7850);
    TProfil* section = space.PridejProfil("HEB 200", steel, 0.00781, 0.0000569, 0.00002);
    TZatezovaciStav* Case(int i) {
        return i == 0 ? space.PridejZatezovaciStav("G", TCaseKind::Permanent)
                      : space.PridejZatezovaciStav("Q" + std::to_string(i), TCaseKind::Variable,
                                                   i % 2 ? TCaseCategory::B : TCaseCategory::Wind);
    }
    TPrut* Member(TUzel* a, TUzel* b) {
        return space.PridejPrut(a, b, section, false, space.Members.Count() + 1, false, false);
    }
    void Finish() {
        space.VygenerujKombinace({});
        space.TraceEnabled = false;
        space.Width = 765;
        space.Height = 520;
        space.ShowAll();
        space.SetTypZobrazeni(3);
    }
};

// A portal 6 m wide and 4 m high, fixed feet: G and four variable cases on the beam and the
// columns.
std::unique_ptr<TFrame> Portal() {
    auto f = std::make_unique<TFrame>();
    TMKPSpace& s = f->space;
    TUzel* a = s.PridejUzel(1, 0, 0);
    TUzel* b = s.PridejUzel(2, 0, 4);
    TUzel* c = s.PridejUzel(3, 6, 4);
    TUzel* d = s.PridejUzel(4, 6, 0);
    for (TUzel* n : {a, d}) n->DofU.Fixed = n->DofW.Fixed = n->DofRot.Fixed = true;
    TPrut* left = f->Member(a, b);
    TPrut* beam = f->Member(b, c);
    f->Member(c, d);
    TZatezovaciStav* cases[5];
    for (int i = 0; i < 5; ++i) cases[i] = f->Case(i);
    s.NastavStavZatizeni(*beam->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 5, 5, 90), cases[0]);
    s.NastavStavZatizeni(*beam->PridejZatizeni(KLoadDistributed, nullptr, 0, 3, 4, 4, 90), cases[1]);
    s.NastavStavZatizeni(*left->PridejZatizeni(KLoadDistributed, nullptr, 0, 4, 2, 2, 0), cases[2]);
    s.NastavStavZatizeni(*beam->PridejZatizeni(KLoadForce, nullptr, 3, 0, 10, 0, 90), cases[3]);
    s.NastavStavZatizeni(*c->PridejZatizeni(KLoadForce, nullptr, 8, 180), cases[4]);
    f->Finish();
    return f;
}

// 12 bays × 40 storeys (480 beams, 520 columns), fixed feet: every beam loaded in one of 19
// variable cases or G, a horizontal force at every storey in G.
std::unique_ptr<TFrame> Tower() {
    auto f = std::make_unique<TFrame>();
    TMKPSpace& s = f->space;
    constexpr int bays = 12, storeys = 40;
    TZatezovaciStav* cases[20];
    for (int i = 0; i < 20; ++i) cases[i] = f->Case(i);
    for (int st = 0; st <= storeys; ++st)
        for (int b = 0; b <= bays; ++b) {
            TUzel* n = s.PridejUzel(s.Nodes.Count() + 1, 6.0L * b, 3.5L * st);
            if (st == 0) n->DofU.Fixed = n->DofW.Fixed = n->DofRot.Fixed = true;
            if (st > 0 && b == 0) s.NastavStavZatizeni(*n->PridejZatizeni(KLoadForce, nullptr, 15, 0), cases[0]);
        }
    auto node = [&](int st, int b) { return s.Nodes[st * (bays + 1) + b]; };
    int beams = 0;
    for (int st = 1; st <= storeys; ++st) {
        for (int b = 0; b <= bays; ++b) f->Member(node(st - 1, b), node(st, b));
        for (int b = 0; b < bays; ++b)
            s.NastavStavZatizeni(*f->Member(node(st, b), node(st, b + 1))
                                      ->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 10, 10, 90),
                                 cases[beams++ % 20]);
    }
    f->Finish();
    return f;
}

void EnsureApp() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "live_bench";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
}

void Live(benchmark::State& state, TFrame& f) {
    EnsureApp();
    TMKPSpace& s = f.space;
    const bool envelope = state.range(0) == 1;
    const bool repaint = state.range(1) == 1;
    s.NastavVysledky(envelope ? TResultsChoice{TResultsKind::Envelope, {}, {}, TEnvelopeScope::All}
                              : TResultsChoice{TResultsKind::Case, {}, {}, TEnvelopeScope::All});
    QImage image(s.Width, s.Height, QImage::Format_RGB32);
    TUzel* moved = s.Nodes[s.Nodes.Count() - 1];
    TRecordingDialogs quiet;
    TDialogsGuard guard(quiet);
    int step = 0;
    for (auto _ : state) {
        // An edit: the top right node moves a millimetre and back.
        moved->X += (step++ % 2 ? -0.001L : 0.001L);
        s.Members.Precisluj();
        if (!PrubeznyVypocet(s).Ok()) {
            state.SkipWithError("the frame did not compute");
            return;
        }
        if (!repaint) continue;
        TQtCanvasPainter painter(image);
        s.Prekresli(painter);
    }
    state.counters["members"] = s.Members.Count();
    state.counters["cases"] = double(s.PocitaneStavy().size());
    state.counters["combinations"] = s.Combinations.Count();
}

void BM_LivePortal5(benchmark::State& state) {
    static std::unique_ptr<TFrame> f = Portal();
    Live(state, *f);
}

void BM_Live1000Members20(benchmark::State& state) {
    static std::unique_ptr<TFrame> f = Tower();
    Live(state, *f);
}
} // namespace

BENCHMARK(BM_LivePortal5)->ArgNames({"envelope", "repaint"})->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Live1000Members20)
    ->ArgNames({"envelope", "repaint"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
