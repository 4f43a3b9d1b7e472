// The main window itself at sizes a desktop meets: a grid of 10,000 and one of 100,000 nodes is
// written as a project, opened in the real window (offscreen) and worked with as a user would.
// Printed per size: the time of open, the full repaint in each mode (the canvas alone beside it,
// so that the rest is mostly the window's look at the model) and what the look can cost (the
// model's print, its text), the time of an edit (a node moved as the
// panel moves it, a load added, a node moved without the command saying so), the time per mouse
// move of a node drag (and of its first move) and of its release, the time per mouse move of a
// drag in the M mode with live results (painted whole, then in layers), and what the undo history
// keeps: the bytes per step and of the whole state, and the peak of memory (allocated through new)
// that an edit adds.
//
//   desktop_scale [nodes ...]      (default: 10000 100000)
//
// Live results are off: the time of an edit is that of the window's bookkeeping, not of a
// computation. Times are the median of several runs (at least three, about one second in all).
#include <QApplication>
#include <QDir>
#include <QTabBar>
#include <QThread>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/editing/UndoHistory.h"
#include "ui/window/CanvasWidget.h"
#include "ui/window/MKPUnit1.h"

namespace {
using TClock = std::chrono::steady_clock;

double Ms(TClock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Median milliseconds of `run`, repeated until about `budget` ms have passed (3 to 50 times).
double Median(const std::function<void()>& run, double budget = 1000) {
    std::vector<double> times;
    double total = 0;
    while (times.size() < 3 || (total < budget && times.size() < 50)) {
        const auto t0 = TClock::now();
        run();
        times.push_back(Ms(TClock::now() - t0));
        total += times.back();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The bytes the program holds through new (counted by the operators below) and their peak.
std::atomic<std::size_t> gHeld{0}, gPeak{0};

void ResetPeak() {
    gPeak = gHeld.load();
}

// side × side nodes 1 m apart, fixed feet, columns and beams of one section, a horizontal force
// at every node of the top row and a distributed load on the beams of the top storey.
void WriteGrid(int side, const std::string& path) {
    TMKPSpace s;
    TMaterial* steel = s.PridejMaterial("S235", 210000, 7850);
    TProfil* section = s.PridejProfil("HEB 200", steel, 0.00781, 0.0000569, 0.00002);
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            TUzel* n = s.PridejUzel(s.Nodes.Count() + 1, c, r);
            if (r == 0) n->DofU.Fixed = n->DofW.Fixed = n->DofRot.Fixed = true;
            if (r == side - 1) n->PridejZatizeni(KLoadForce, nullptr, 1, 0);
        }
    auto node = [&](int r, int c) { return s.Nodes[r * side + c]; };
    for (int r = 1; r < side; ++r) {
        for (int c = 0; c < side; ++c)
            s.PridejPrut(node(r - 1, c), node(r, c), section, false, s.Members.Count() + 1, false, false);
        for (int c = 0; c + 1 < side; ++c) {
            TPrut* m =
                s.PridejPrut(node(r, c), node(r, c + 1), section, false, s.Members.Count() + 1, false, false);
            if (r == side - 1) m->PridejZatizeni(KLoadDistributed, nullptr, 0, 1, 5, 5, 90);
        }
    }
    s.UlozProjekt(path);
}

void Run(int nodes) {
    const int side = std::max(2, int(std::lround(std::sqrt(double(nodes)))));
    const std::string path =
        QDir::tempPath().toStdString() + "/desktop_scale_" + std::to_string(side) + ".txt";
    WriteGrid(side, path);

    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    auto form = std::make_unique<TForm1>();
    form->SetAskOnClose(false);
    form->SetLiveResults(false);
    TMKPSpace& space = form->MKPSpace1();
    space.TraceEnabled = false;
    form->resize(1280, 860);
    form->show();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();

    const auto t0 = TClock::now();
    form->OpenProjectFile(QString::fromStdString(path));
    QApplication::processEvents();
    const double open = Ms(TClock::now() - t0);
    std::printf("\n%d nodes, %d members (%d x %d grid); canvas %d x %d px\n", space.Nodes.Count(),
                space.Members.Count(), side, side, space.Width, space.Height);
    std::printf("  open                          %10.1f ms\n", open);

    auto repaint = [&] { form->RepaintCanvas(); };
    auto canvas = [&] { form->Canvas()->Area()->Repaint(); };
    std::printf("  repaint model                 %10.2f ms   (canvas alone %.2f ms)\n", Median(repaint),
                Median(canvas));
    // What a look can cost: the print that tells an edit, the text that records one.
    std::uint64_t print = 0;
    const double printTime = Median([&] { print = ModelPrint(space); }, 300);
    TModelSnapshot text;
    const double textTime = Median([&] { TakeSnapshot(space, text, text.Project.size()); }, 300);
    std::printf("  model's print                 %10.2f ms   (its text: %.2f ms, %.1f MB)\n", printTime,
                textTime, double(text.Project.size() + text.Exact.size()) / 1e6);

    // Edits, in the model view. A node moved as the panel's commands move it: the coordinates,
    // the members' geometry, the announcement, the repaint.
    TUzel* moved = space.Nodes[space.Nodes.Count() / 2 + side / 2];
    TReal dx = 0.001L;
    const double panelMove = Median([&] {
        moved->X += dx;
        dx = -dx;
        space.Members.Precisluj();
        form->ModelEdited();
        space.Prekresli();
        QApplication::processEvents();
    });
    const double addLoad = Median([&] {
        space.CurrentNode = moved;
        moved->CurrentLoad = moved->PridejZatizeni(KLoadForce, nullptr, 2, 90);
        form->ModelEdited();
        space.Prekresli();
        QApplication::processEvents();
    });
    // A change that no command announced: the look at the repaint has to find it.
    const double silent = Median([&] {
        moved->Y += dx;
        dx = -dx;
        space.Members.Precisluj();
        space.Prekresli();
        QApplication::processEvents();
    });
    std::printf("  edit: node moved (panel)      %10.2f ms\n", panelMove);
    std::printf("  edit: load added              %10.2f ms\n", addLoad);
    std::printf("  edit: node moved, unannounced %10.2f ms\n", silent);

    // Memory of the history: one more step of a node moved, and the peak an edit adds.
    const TUndoHistory& history = form->History();
    const std::size_t stepsBefore = history.Steps(), bytesBefore = history.Bytes();
    const std::size_t held = gHeld;
    ResetPeak();
    moved->X += 0.002L;
    space.Members.Precisluj();
    form->ModelEdited();
    space.Prekresli();
    QApplication::processEvents();
    const std::size_t peak = gPeak;
    const std::size_t stepBytes = history.Bytes() - bytesBefore;
    std::printf("  undo step of a node moved     %10zu bytes (%zu -> %zu steps)\n", stepBytes, stepsBefore,
                history.Steps());
    std::printf("  whole state                   %10.1f MB\n",
                history.Current() ? double(history.Current()->Bytes()) / 1e6 : 0.0);
    std::printf("  peak added by an edit         %10.1f MB   (held afterwards %+.1f MB)\n",
                double(peak - held) / 1e6, (double(gHeld) - double(held)) / 1e6);

    // A drag: the move tool, a press on a node, moves of one pixel, the release.
    space.CurrentNode = moved;
    const std::size_t stepsBeforeDrag = history.Steps();
    form->Tool("tbeMoveNode")->trigger();
    const TPixel at = space.ToScreen(moved->X, moved->Y);
    form->MKPSpace1MouseDown(Qt::LeftButton, Qt::LeftButton, {}, at.X, at.Y);
    int step = 0;
    auto dragMove = [&] {
        ++step;
        form->MKPSpace1MouseMove(Qt::LeftButton, {}, at.X + (step % 7) + 1, at.Y + (step % 5) + 1);
        QApplication::processEvents();
    };
    // The first move of a large frame also paints what stands still for the rest of the drag.
    const auto f0 = TClock::now();
    dragMove();
    const double first = Ms(TClock::now() - f0);
    const double move = Median(dragMove);
    const auto r0 = TClock::now();
    form->MKPSpace1MouseUp(Qt::LeftButton, {}, at.X, at.Y);
    QApplication::processEvents();
    const double release = Ms(TClock::now() - r0);
    form->Tool("tbeMoveNode")->trigger();
    std::printf("  drag: per mouse move          %10.2f ms   (%d moves, the first %.2f ms, %zu undo step)\n",
                move, step, first, history.Steps() - stepsBeforeDrag);
    std::printf("  drag: release                 %10.2f ms\n", release);

    // The result modes after a computation.
    const auto c0 = TClock::now();
    form->sbComputeClick();
    QApplication::processEvents();
    const double started = Ms(TClock::now() - c0); // a large frame is computed off the window's thread
    while (form->Session().Computing()) {
        QThread::msleep(2);
        QApplication::processEvents();
    }
    const double compute = Ms(TClock::now() - c0);
    std::printf("  compute: window free after    %10.1f ms\n", started);
    std::printf("  compute                       %10.1f ms   (%s)\n", compute,
                space.ResultsValid ? "results" : "refused");
    if (space.ResultsValid) {
        const char* names[] = {"model", "T", "N", "M", "def"};
        for (int mode = 1; mode <= 4; ++mode) {
            form->FlatTabControl2()->setCurrentIndex(mode);
            QApplication::processEvents();
            std::printf("  repaint %-5s                 %10.2f ms   (canvas alone %.2f ms)\n", names[mode],
                        Median(repaint), Median(canvas));
        }
        // A drag in the M mode with live results: a large frame shows no results while its node
        // moves (they are computed at the release); its moves painted whole, then in layers.
        form->SetLiveResults(true);
        form->FlatTabControl2()->setCurrentIndex(3);
        QApplication::processEvents();
        for (const int from : {std::numeric_limits<int>::max(), TCanvasArea::KLayeredFrom}) {
            form->Canvas()->Area()->SetLayeredFrom(from);
            form->Tool("tbeMoveNode")->trigger();
            const TPixel p = space.ToScreen(moved->X, moved->Y);
            form->MKPSpace1MouseDown(Qt::LeftButton, Qt::LeftButton, {}, p.X, p.Y);
            int k = 0;
            const double m = Median([&] {
                ++k;
                form->MKPSpace1MouseMove(Qt::LeftButton, {}, p.X + (k % 7) + 1, p.Y + (k % 5) + 1);
                QApplication::processEvents();
            });
            form->MKPSpace1MouseUp(Qt::LeftButton, {}, p.X, p.Y);
            form->Tool("tbeMoveNode")->trigger();
            while (form->Session().Computing()) {
                QThread::msleep(2);
                QApplication::processEvents();
            }
            QApplication::processEvents();
            std::printf("  drag in M, live: per move     %10.2f ms   (%s; %s after the release)\n", m,
                        from == TCanvasArea::KLayeredFrom ? "in layers" : "painted whole",
                        space.ResultsValid ? "results" : "no results");
        }
        form->FlatTabControl2()->setCurrentIndex(0);
    }
    std::fflush(stdout);
    form.reset();
    std::remove(path.c_str());
}
} // namespace

// Every allocation through new is counted with the size malloc gave it.
void* operator new(std::size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    const std::size_t now = gHeld += malloc_usable_size(p);
    std::size_t peak = gPeak;
    while (now > peak && !gPeak.compare_exchange_weak(peak, now)) {
    }
    return p;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    gHeld -= malloc_usable_size(p);
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {10000, 100000};
    for (int n : sizes)
        Run(n);
    return 0;
}
