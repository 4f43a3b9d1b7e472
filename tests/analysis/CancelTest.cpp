// Stopping a computation: a raised flag stops the elimination (one thread or two) and the whole
// computation, whose trace folder is free for the next one; another thread's flag stops nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "analysis/Cancel.h"
#include "analysis/Frames.h"
#include "model/UserDialogs.h"

TEST(Cancel, RaisedFlagStopsTheEliminationAndTheComputation) {
    const auto portal = [](TFrame& f) {
        TUzel *a = f.Node(0, 0), *b = f.Node(0, 4), *c = f.Node(6, 4), *d = f.Node(6, 0);
        TFrame::Support(a, true, true, true);
        TFrame::Support(d, true, true, true);
        f.Member(a, b);
        f.Member(b, c)->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 5, 5, 90);
        f.Member(c, d);
    };
    std::atomic<bool> raised{true}, lowered{false};
    for (const TElimination how : {TElimination::Serial, TElimination::Parallel})
        for (const bool stop : {true, false}) {
            TFrame f;
            portal(f);
            f.Space.SestavKG();
            TVector fg(f.Space.KG.Size() + 1, 1.0L);
            TCancelScope scope(stop ? raised : lowered);
            if (stop)
                EXPECT_THROW(f.Space.KG.Eliminate(fg, how), TComputationCancelled);
            else
                EXPECT_NO_THROW(f.Space.KG.Eliminate(fg, how));
        }

    const std::filesystem::path trace = std::filesystem::temp_directory_path() / "korvan-cancel-trace";
    std::filesystem::create_directories(trace);
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    TFrame f, other;
    portal(f);
    portal(other);
    f.Space.TraceDir = trace.string();
    f.Space.TraceEnabled = true;
    {
        TCancelScope scope(raised);
        EXPECT_THROW(f.Space.Vypocet(), TComputationCancelled);
        std::thread([&] { EXPECT_EQ(other.Space.Vypocet().Result, TSolveResult::Ok); }).join();
    }
    EXPECT_EQ(f.Space.Vypocet().Result, TSolveResult::Ok);
    EXPECT_TRUE(f.Space.TraceFailures.empty() && sink.Messages.empty());
    EXPECT_TRUE(std::filesystem::exists(trace / "00FGa.out"));
    std::filesystem::remove_all(trace);
}
