// Full repaints into the QImage painter at the desktop's canvas size: a 1000-member frame in the
// model view and in each result mode (T, N, M, deformed shape), and square grids of about 10,000
// members (every mode, one load case and the envelope of two combinations) and 100,000 members
// (model view and each result mode of the case G). Each grid is measured three times: a repaint
// after the view moved by a pixel (the pan alternates, so every repaint sees a new view), a repaint
// with nothing changed, and (result modes) a repaint with nothing changed whose polygons (view 2),
// or lines and polygons (view 3), the painter has not kept, as if every diagram had a shape not
// drawn before (after a zoom, in a new process).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <clocale>
#include <map>
#include <memory>

#include "analysis/Envelope.h"
#include "analysis/ProfileMatrix.h"
#include "canvas/DiagramFit.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "render/QtCanvasPainter.h"

namespace {
// 12 bays × 40 storeys: 480 beams and 520 columns, fixed feet, a distributed load on every beam
// and a horizontal force at every storey.
struct TFrame {
    TMKPSpace space;
    bool Computed = false;
    TFrame() {
        constexpr int bays = 12, storeys = 40;
        TMaterial* steel = space.PridejMaterial("S235", 210000, 7850);
        TProfil* section = space.PridejProfil("HEB 200", steel, 0.00781, 0.0000569, 0.00002);
        for (int s = 0; s <= storeys; ++s)
            for (int b = 0; b <= bays; ++b) {
                TUzel* n = space.PridejUzel(space.Nodes.Count() + 1, 6.0L * b, 3.5L * s);
                if (s == 0) n->DofU.Fixed = n->DofW.Fixed = n->DofRot.Fixed = true;
                if (s > 0 && b == 0) n->PridejZatizeni(KLoadForce, nullptr, 15, 0);
            }
        auto node = [&](int s, int b) { return space.Nodes[s * (bays + 1) + b]; };
        for (int s = 1; s <= storeys; ++s) {
            for (int b = 0; b <= bays; ++b)
                space.PridejPrut(node(s - 1, b), node(s, b), section, false, space.Members.Count() + 1, false,
                                 false);
            for (int b = 0; b < bays; ++b)
                space
                    .PridejPrut(node(s, b), node(s, b + 1), section, false, space.Members.Count() + 1, false,
                                false)
                    ->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 10, 10, 90);
        }
        space.TraceEnabled = false;
        TRecordingDialogs messages;
        TDialogsGuard guard(messages);
        Computed = space.Vypocet().Result == TMKPSpace::TSolveResult::Ok;
        space.Width = 765;
        space.Height = 520;
        space.ShowAll();
    }
};

// A square grid of n × n nodes `step` metres apart, 2n(n − 1) members: fixed feet, a distributed
// load on every beam (case G) and a horizontal force at every node of the left column (case W);
// two ultimate combinations of them. Computed when asked.
struct TGrid {
    TMKPSpace space;
    bool Computed = false;
    TGrid(int n, TReal step, bool compute) {
        TMaterial* steel = space.PridejMaterial("S235", 210000, 7850);
        TProfil* section = space.PridejProfil("HEB 200", steel, 0.00781, 0.0000569, 0.00002);
        TZatezovaciStav* g = space.PridejZatezovaciStav("G", TCaseKind::Permanent);
        TZatezovaciStav* w = space.PridejZatezovaciStav("W", TCaseKind::Variable, TCaseCategory::Wind);
        for (int s = 0; s < n; ++s)
            for (int b = 0; b < n; ++b) {
                TUzel* node = space.PridejUzel(space.Nodes.Count() + 1, step * b, step * s);
                if (s == 0) node->DofU.Fixed = node->DofW.Fixed = node->DofRot.Fixed = true;
                if (s > 0 && b == 0)
                    space.NastavStavZatizeni(*node->PridejZatizeni(KLoadForce, nullptr, 5, 0), w);
            }
        auto node = [&](int s, int b) { return space.Nodes[s * n + b]; };
        for (int s = 0; s < n; ++s) {
            if (s > 0)
                for (int b = 0; b < n; ++b)
                    space.PridejPrut(node(s - 1, b), node(s, b), section, false, space.Members.Count() + 1,
                                     false, false);
            for (int b = 0; b + 1 < n; ++b) {
                TPrut* beam = space.PridejPrut(node(s, b), node(s, b + 1), section, false,
                                               space.Members.Count() + 1, false, false);
                if (s > 0)
                    space.NastavStavZatizeni(
                        *beam->PridejZatizeni(KLoadDistributed, nullptr, 0, step, 10, 10, 90), g);
            }
        }
        space.PridejKombinaci("C1", TCombinationKind::Ultimate, {{g, 1.35L}, {w, 1.5L}});
        space.PridejKombinaci("C2", TCombinationKind::Ultimate, {{g, 1.0L}, {w, -1.5L}});
        space.Width = 765;
        space.Height = 520;
        space.ShowAll();
        if (!compute) return;
        space.TraceEnabled = false;
        TRecordingDialogs messages;
        TDialogsGuard guard(messages);
        Computed = space.Vypocet().Result == TMKPSpace::TSolveResult::Ok;
    }
};

void EnsureApp() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "repaint_bench";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
}

TFrame& Frame() {
    static TFrame frame;
    return frame;
}

// 71 × 71 nodes: 9,940 members 0.5 m long, 5 pixels at the smallest zoom; 224 × 224 nodes:
// 99,904 members 0.2 m long, 2 pixels.
TGrid& Grid(int size) {
    static std::map<int, std::unique_ptr<TGrid>> grids;
    auto& g = grids[size];
    if (!g) g = std::make_unique<TGrid>(size == 10000 ? 71 : 224, size == 10000 ? 0.5L : 0.2L, true);
    return *g;
}

void BM_Repaint(benchmark::State& state) {
    EnsureApp();
    TFrame& f = Frame();
    if (!f.Computed) {
        state.SkipWithError("the frame did not compute");
        return;
    }
    f.space.SetTypZobrazeni(static_cast<std::uint8_t>(state.range(0)));
    f.space.SetShowReactions(true);
    QImage image(f.space.Width, f.space.Height, QImage::Format_RGB32);
    for (auto _ : state) {
        TQtCanvasPainter painter(image);
        f.space.Prekresli(painter);
    }
    state.counters["members"] = f.space.Members.Count();
}

// Arguments: members (10000, 100000), mode (0 model, 1 T, 2 N, 3 M, 4 def), what is shown (0 the
// case G, 1 the envelope of C1 and C2), what changes before each repaint (0 nothing, 1 the view
// moves by a pixel, 2 the painter forgets the polygons it kept, 3 also the lines).
void BM_GridRepaint(benchmark::State& state) {
    EnsureApp();
    TGrid& g = Grid(int(state.range(0)));
    const int mode = int(state.range(1));
    const bool envelope = state.range(2) != 0, pan = state.range(3) == 1, forget = state.range(3) >= 2;
    if (mode > 0 && !g.Computed) {
        state.SkipWithError("the grid did not compute");
        return;
    }
    TMKPSpace& s = g.space;
    if (mode > 0) {
        TResultsChoice choice;
        if (envelope) {
            choice.Kind = TResultsKind::Envelope;
            choice.Combinations = {"C1", "C2"};
        } else {
            choice.Name = "G";
        }
        if (!(s.ResultsChoice == choice) && !s.NastavVysledky(choice)) {
            state.SkipWithError("no such results");
            return;
        }
    }
    s.SetTypZobrazeni(static_cast<std::uint8_t>(mode));
    s.ShowAll();
    if (mode > 0) PrizpusobMeritko(s);
    QImage image(s.Width, s.Height, QImage::Format_RGB32);
    {
        TQtCanvasPainter painter(image);
        s.Prekresli(painter);
    }
    int step = 1;
    for (auto _ : state) {
        if (pan) {
            s.PanBy(step, 0);
            step = -step;
        }
        if (forget) TQtCanvasPainter::ForgetShapes(state.range(3) == 3);
        TQtCanvasPainter painter(image);
        s.Prekresli(painter);
    }
    state.counters["members"] = s.Members.Count();
}

void GridArgs(benchmark::internal::Benchmark* b) {
    for (int pan : {1, 0}) {
        for (int mode = 0; mode <= 4; ++mode)
            b->Args({10000, mode, 0, pan});
        for (int mode = 1; mode <= 4; ++mode)
            b->Args({10000, mode, 1, pan});
        for (int mode = 0; mode <= 4; ++mode)
            b->Args({100000, mode, 0, pan});
    }
    for (int forget : {2, 3})
        for (int envelope : {0, 1})
            for (int mode = 1; mode <= 4; ++mode)
                b->Args({10000, mode, envelope, forget});
}
} // namespace

BENCHMARK(BM_Repaint)->ArgName("mode")->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridRepaint)
    ->ArgNames({"members", "mode", "envelope", "view"})
    ->Apply(GridArgs)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
