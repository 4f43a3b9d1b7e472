// One full repaint of a 1000-member frame into the QImage painter, in the model view and in each
// result mode (T, N, M, deformed shape), at the desktop's canvas size.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <clocale>

#include "analysis/ProfileMatrix.h"
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
} // namespace

BENCHMARK(BM_Repaint)->ArgName("mode")->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
