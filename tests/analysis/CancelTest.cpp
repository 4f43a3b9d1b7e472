// Stopping a computation: a raised flag stops the elimination on one thread or two and the whole
// computation; a computation so stopped leaves its trace folder free for the next one; the flag
// of another thread stops nothing here.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "analysis/Cancel.h"
#include "analysis/Frames.h"
#include "model/UserDialogs.h"

namespace {
// A portal with fixed feet, loaded across and along its beam.
void Portal(TFrame& f) {
    TUzel *a = f.Node(0, 0), *b = f.Node(0, 4), *c = f.Node(6, 4), *d = f.Node(6, 0);
    TFrame::Support(a, true, true, true);
    TFrame::Support(d, true, true, true);
    f.Member(a, b);
    f.Member(b, c)->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 5, 5, 90);
    f.Member(c, d);
    b->PridejZatizeni(KLoadForce, nullptr, 8, 0);
}
} // namespace

TEST(Cancel, RaisedFlagStopsTheEliminationAndTheComputation) {
    std::atomic<bool> raised{true}, lowered{false};
    for (const TElimination how : {TElimination::Serial, TElimination::Parallel})
        for (const bool stop : {true, false}) {
            TFrame f;
            RandomFrame(f, 7, true);
            f.Space.SestavKG();
            f.Space.SestavMG();
            f.Space.SestavFG();
            TVector fg = f.Space.FG;
            TCancelScope scope(stop ? raised : lowered);
            if (stop)
                EXPECT_THROW(f.Space.KG.Eliminate(fg, how), TComputationCancelled);
            else
                EXPECT_NO_THROW(f.Space.KG.Eliminate(fg, how));
        }

    const std::filesystem::path trace = std::filesystem::temp_directory_path() / "korvan-cancel-trace";
    std::filesystem::remove_all(trace);
    std::filesystem::create_directories(trace);
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    TFrame f;
    Portal(f);
    f.Space.TraceEnabled = true;
    f.Space.TraceDir = trace.string();
    {
        TCancelScope scope(raised);
        EXPECT_THROW(f.Space.Vypocet(), TComputationCancelled);
        // Raised for this thread only: another thread computes to its end.
        TFrame other;
        Portal(other);
        std::thread([&] { EXPECT_EQ(other.Space.Vypocet().Result, TSolveResult::Ok); }).join();
    }
    EXPECT_EQ(f.Space.Vypocet().Result, TSolveResult::Ok);
    EXPECT_TRUE(f.Space.ResultsValid);
    EXPECT_TRUE(f.Space.TraceFailures.empty());
    EXPECT_TRUE(std::filesystem::exists(trace / "00FGa.out"));
    EXPECT_TRUE(sink.Messages.empty());
    std::filesystem::remove_all(trace);
}
