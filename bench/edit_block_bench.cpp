// How long the window's thread is blocked by one edit with live results on, for grid frames
// (bays x storeys, fixed feet, a uniform load on every beam, a horizontal force at every storey):
// the edit session's look after the edit (what the window waits for before it takes the next
// input) with the live computation on the window's thread, against the computation off it; for
// the latter also the look that takes the results once they are there, and the time until they
// are shown. Edits alternate between the two ways, so that both see the same machine load.
//   edit_block_bench [bays storeys [edits]] ...   (default: 100 99 and 399 249, 4 edits)
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/Diagnostics.h"
#include "analysis/ProfileMatrix.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/editing/EditSession.h"

namespace {
using TClock = std::chrono::steady_clock;

double Ms(TClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct THost : TEditHost {
    bool Shown = false;
    bool LiveResults() const override { return true; }
    bool ResultsShown() const override { return Shown; }
    void ResultsOff() override { Shown = false; }
    void LiveResultsOn() override { Shown = true; }
    void ShowNote(const std::string&) override {}
    bool Dragging() const override { return false; }
    void ModelReplaced(const TModelView&) override {}
    void UndoAvailable(bool, bool) override {}
    std::string Caption() const override { return {}; }
};

void Grid(TMKPSpace& s, int bays, int storeys) {
    TMaterial* steel = s.PridejMaterial("S235", 210000, 7850);
    TProfil* section = s.PridejProfil("HEB 200", steel, 0.00781, 0.0000569, 0.00002);
    s.CurrentSection = section;
    for (int st = 0; st <= storeys; ++st)
        for (int b = 0; b <= bays; ++b) {
            TUzel* n = s.PridejUzel(s.Nodes.Count() + 1, 6.0L * b, 3.5L * st);
            if (st == 0) n->DofU.Fixed = n->DofW.Fixed = n->DofRot.Fixed = true;
            if (st > 0 && b == 0) n->PridejZatizeni(KLoadForce, nullptr, 15, 0);
        }
    auto node = [&](int st, int b) { return s.Nodes[st * (bays + 1) + b]; };
    for (int st = 1; st <= storeys; ++st) {
        for (int b = 0; b <= bays; ++b)
            s.PridejPrut(node(st - 1, b), node(st, b), section, false, s.Members.Count() + 1, false, false);
        for (int b = 0; b < bays; ++b)
            s.PridejPrut(node(st, b), node(st, b + 1), section, false, s.Members.Count() + 1, false, false)
                ->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 10, 10, 90);
    }
    s.TraceEnabled = false;
}

void Run(int bays, int storeys, int edits) {
    TMKPSpace s;
    Grid(s, bays, storeys);
    THost host;
    TEditSession session(s, host);
    s.OnRepaint = [&] { session.Look(); };
    session.Reset();
    session.Settle();
    auto t = TClock::now();
    session.Computed(s.Vypocet());
    const double first = Ms(TClock::now() - t);
    t = TClock::now();
    TEquilibrium equilibrium;
    KontrolaRovnovahy(s, equilibrium);
    const double check = Ms(TClock::now() - t);
    if (!s.ResultsValid) {
        std::printf("%dx%d: refused\n", bays, storeys);
        return;
    }
    TZatizeni* load = s.Nodes[s.Nodes.Count() - 1]->PridejZatizeni(KLoadForce, nullptr, 1, 0);
    session.Edited();
    s.Prekresli();
    std::vector<double> before, after, taken, shown;
    for (int e = 0; e < 2 * edits; ++e) {
        const bool background = e % 2;
        session.SetBackgroundFrom(background ? 0 : INT_MAX);
        session.SetBriefWait(std::chrono::milliseconds(0)); // the blocking of a long computation
        load->Q1 += 1; // an edit of the load dialog
        t = TClock::now();
        session.Edited();
        s.Prekresli(); // the look at the end of the command: the window's thread waits for it
        const double blocked = Ms(TClock::now() - t);
        if (!background) {
            before.push_back(blocked);
            continue;
        }
        after.push_back(blocked);
        session.WaitForComputation();
        const auto t2 = TClock::now();
        s.Prekresli(); // the look that takes the results
        taken.push_back(Ms(TClock::now() - t2));
        shown.push_back(Ms(TClock::now() - t));
        if (!s.ResultsValid) std::printf("  no results taken!\n");
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("%dx%d grid, %d nodes (compute command %.0f ms, equilibrium check %.0f ms)\n", bays, storeys,
                s.Nodes.Count(), first, check);
    std::printf("  window blocked per edit, computed on the window's thread: %9.1f ms\n", median(before));
    std::printf("  window blocked per edit, computed off it:                 %9.1f ms  (ratio %.3f)\n",
                median(after), median(after) / median(before));
    std::printf("  the look that takes the results:                          %9.1f ms\n", median(taken));
    std::printf("  edit to results shown, off the thread:                    %9.1f ms\n", median(shown));
}
} // namespace

int main(int argc, char** argv) {
    TRecordingDialogs quiet;
    TDialogsGuard guard(quiet);
    std::vector<int> args;
    for (int i = 1; i < argc; ++i) args.push_back(std::atoi(argv[i]));
    if (args.empty()) args = {100, 99, 4, 399, 249, 2};
    for (std::size_t i = 0; i + 1 < args.size(); i += 3)
        Run(args[i], args[i + 1], i + 2 < args.size() ? args[i + 2] : 4);
}
