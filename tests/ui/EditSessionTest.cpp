// The edit session without a window: steps, live results, what a computation does by itself and
// memory running out.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <new>
#include <sstream>

#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/editing/EditSession.h"

namespace {
std::string Text(TMKPSpace& s) {
    std::ostringstream out;
    s.UlozProjekt(out);
    return out.str();
}

bool SameBits(TReal a, TReal b) {
    return std::memcmp(&a, &b, 10) == 0;
}

// The window as far as the session sees it: live results on or off, the result tabs open or not.
struct THost : TEditHost {
    bool Live = true, Shown = false;
    bool LiveResults() const override { return Live; }
    bool ResultsShown() const override { return Shown; }
    void ResultsOff() override { Shown = false; }
    void LiveResultsOn() override { Shown = true; }
    void ShowNote(const std::string& note) override { Note = note; }
    std::string Note;
    bool Dragging() const override { return false; }
    void ModelReplaced(const TModelView&) override {}
    void UndoAvailable(bool, bool) override {}
    std::string Caption() const override { return {}; }
};
} // namespace

class TEditSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        Space.TraceEnabled = false;
        Space.OnRepaint = [this] { Session.Look(); }; // every full repaint looks first
        Session.Reset();
    }
    void Open(const char* name) {
        Session.BeginCommand();
        Session.Disarm();
        Space.NactiProjekt(std::string(KORVAN_SOURCE_DIR) + "/examples/" + name + ".inp");
        Space.Prekresli();
        Session.EndCommand();
    }
    // An edit as a dialog makes it: the model changes, the command says so and repaints.
    void Edit(const std::function<void()>& change) {
        change();
        Session.Edited();
        Space.Prekresli();
    }
    // The compute command.
    void Compute() {
        Session.Settle();
        const TSolveStatus status = Space.Vypocet();
        Host.Shown = Space.ResultsValid;
        Session.Computed(status);
    }
    std::size_t Steps() const { return Session.History().Steps(); }

    TRecordingDialogs Sink;
    TDialogsGuard Guard{Sink};
    TMKPSpace Space;
    THost Host;
    TEditSession Session{Space, Host};
};

TEST_F(TEditSessionTest, StepsBackAndForth) {
    std::vector<std::string> states{Text(Space)};
    for (int i = 0; i < 150; ++i) {
        Space.PridejUzel(i + 1, 0.1L * i, 0);
        Space.Prekresli();
        states.push_back(Text(Space));
    }
    for (std::size_t i = states.size() - 1; i-- > 0;) {
        Session.Undo();
        ASSERT_EQ(Text(Space), states[i]) << i;
    }
    EXPECT_FALSE(Session.History().CanUndo());
    for (int i = 0; i < 150; ++i)
        Session.Redo();
    EXPECT_EQ(Text(Space), states.back());
}

// F11 turns a member hinged only at a round, and a live computation moves a point load's distance
// to node b after its member grew: neither is a step, and one undo shows the edit before.
TEST_F(TEditSessionTest, WhatAComputationDoesByItselfIsNoStep) {
    Open("portal-frame");
    Host.Live = false;
    Edit([&] { Space.Members[1]->HingeA = true; });
    const std::size_t steps = Steps();
    Compute();
    ASSERT_TRUE(Space.ResultsValid);
    ASSERT_TRUE(Space.Members[1]->HingeB); // turned round
    EXPECT_EQ(Steps(), steps);

    Host.Live = true;
    Edit([&] { Space.Members[1]->PridejZatizeni(KLoadForce, nullptr, 2, 0, 10, 0, 90); });
    const int loads = Space.Members[1]->Loads.Count();
    Edit([&] {
        Space.Nodes[2]->X = 7;
        Space.Members.Precisluj();
    });
    Space.Prekresli();
    EXPECT_EQ(Steps(), steps + 2);
    Session.Undo();
    EXPECT_EQ(Space.Nodes[2]->X, 6);
    EXPECT_EQ(Space.Members[1]->Loads.Count(), loads);
}

// After a computation a changed model is computed again at once, equal to the compute command's
// results bit for bit, without trace files or messages.
TEST_F(TEditSessionTest, LiveResultsEqualAComputation) {
    Open("portal-frame");
    const std::filesystem::path trace = std::filesystem::temp_directory_path() / "korvan-edit-session-trace";
    std::filesystem::remove_all(trace);
    std::filesystem::create_directories(trace);
    Space.TraceDir = trace.string();
    Compute();
    ASSERT_TRUE(Space.ResultsValid);
    Space.TraceEnabled = true;
    const struct {
        const char* What;
        std::function<void()> Edit;
    } edits[] = {
        {"member load", [&] { Space.Members[1]->Loads.First()->Q1 *= 2; }},
        {"nodal load", [&] { Space.Nodes[1]->PridejZatizeni(KLoadForce, nullptr, 7, 30); }},
        {"hinge at a", [&] { Space.Members[2]->HingeA = true; }}, // stays as the user made it
    };
    for (const auto& e : edits) {
        Edit(e.Edit);
        ASSERT_TRUE(Space.ResultsValid) << e.What;
        EXPECT_TRUE(Host.Shown) << e.What;
        EXPECT_TRUE(Sink.Messages.empty()) << e.What;
        EXPECT_TRUE(std::filesystem::is_empty(trace)) << e.What;
        TMKPSpace reference;
        std::istringstream in(Text(Space));
        reference.NactiProjekt(in);
        reference.TraceEnabled = false;
        ASSERT_EQ(reference.Vypocet().Result, TSolveResult::Ok);
        for (int i = 0; i < Space.Nodes.Count(); ++i)
            for (std::size_t k = 0; k < 3; ++k) {
                EXPECT_TRUE(SameBits(Space.Nodes[i]->Displacement[k], reference.Nodes[i]->Displacement[k]))
                    << e.What << " node " << i << " " << k;
                EXPECT_TRUE(SameBits(Space.Nodes[i]->DofW.Reaction, reference.Nodes[i]->DofW.Reaction));
            }
        for (int i = 0; i < Space.Members.Count(); ++i) {
            TPrut* live = Space.Members[i];
            TPrut* f11 = reference.Members[i];
            // The compute command turns a member hinged only at a; the live one is seen from a.
            const bool turned = f11->NodeA != reference.Nodes[Space.Nodes.IndexOf(live->NodeA)];
            for (std::size_t k = 0; k < 6; ++k) {
                const TReal sign = turned && (k == 1 || k == 2 || k == 4 || k == 5) ? -1 : 1;
                EXPECT_TRUE(SameBits(live->Sa[k], sign * (turned ? f11->Sb[k] : f11->Sa[k]))) << e.What << i;
                EXPECT_TRUE(SameBits(live->Sb[k], sign * (turned ? f11->Sa[k] : f11->Sb[k]))) << e.What << i;
            }
        }
    }
    EXPECT_TRUE(Space.Members[2]->HingeA);
    std::filesystem::remove_all(trace);
}

// Memory that runs out while an edit is recorded ends in one message, not in a crash: the history
// goes, the edit stays, and the next edits are steps again.
TEST_F(TEditSessionTest, FailedAllocationBecomesAMessage) {
    Host.Live = false;
    Open("portal-frame");
    int calls = 0;
    Session.SetSnapshotter([&](const TMKPSpace& s, TModelSnapshot& out, std::size_t hint) {
        if (++calls == 1) throw std::bad_alloc();
        return TakeSnapshot(s, out, hint);
    });
    auto load = [&](int node) {
        Edit([&] { Space.Nodes[node]->PridejZatizeni(KLoadForce, nullptr, 2, 0); });
    };
    load(1);
    ASSERT_EQ(Sink.Messages.size(), 1u);
    EXPECT_NE(Sink.Messages[0].find("paměti"), std::string::npos);
    EXPECT_FALSE(Session.History().CanUndo());
    load(2);
    const std::string second = Text(Space);
    load(3);
    Session.Undo();
    EXPECT_EQ(Text(Space), second);
    EXPECT_EQ(Sink.Messages.size(), 1u);
}

// A computation that leaves the matrix files out says so in its note, after the equilibrium.
TEST_F(TEditSessionTest, NoteTellsOfMatrixFilesLeftOut) {
    Open("portal-frame");
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "korvan-session-trace";
    std::filesystem::create_directories(dir);
    Space.TraceEnabled = true;
    Space.TraceDir = dir.string();
    for (std::uint64_t limit : {std::uint64_t(0), std::uint64_t(1000)}) {
        Space.TraceMatrixLimit = limit;
        Compute();
        EXPECT_EQ(Host.Note.rfind("Rovnováha: ", 0), 0u) << Host.Note;
        EXPECT_EQ(Host.Note.find("nebyly zapsány: byly by větší než 1000 B.") != std::string::npos, limit != 0)
            << Host.Note;
        EXPECT_EQ(std::filesystem::exists(dir / "00KG.out"), limit == 0);
    }
    std::filesystem::remove_all(dir);
}
