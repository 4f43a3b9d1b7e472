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
    bool Drag = false;
    bool Dragging() const override { return Drag; }
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

// The text of the model is written for a step, not for a look: repaints without an edit and the
// moves of a drag write none, an edit (announced or not) one, the release of a drag one; a step
// of a node moved on a grid of 10,000 nodes keeps a few hundred bytes against 1.6 MB of the state.
TEST_F(TEditSessionTest, TextIsWrittenOnlyForSteps) {
    // The check of the prints writes texts of its own.
    struct TNoCheck {
        TEditSession::TMissedEdit Old = TEditSession::CheckPrints({});
        ~TNoCheck() { TEditSession::CheckPrints(Old); }
    } noCheck;
    Host.Live = false;
    TMaterial* steel = Space.PridejMaterial("S235", 210000, 7850);
    TProfil* section = Space.PridejProfil("HEB 200", steel, 0.00781L, 5.69e-5L, 2e-5L);
    constexpr int side = 100;
    for (int i = 0; i < side * side; ++i)
        Space.PridejUzel(i + 1, i % side, i / side);
    for (int i = 0; i + 1 < side * side; ++i)
        Space.PridejPrut(Space.Nodes[i], Space.Nodes[i + 1], section, false, i + 1, false, false);
    Space.Members.Precisluj();
    Session.Reset();
    int texts = 0;
    Session.SetSnapshotter([&](const TMKPSpace& s, TModelSnapshot& out, std::size_t hint) {
        ++texts;
        return TakeSnapshot(s, out, hint);
    });
    const std::size_t whole = Session.History().Current()->Bytes();
    TUzel* node = Space.Nodes[side * side / 2];
    struct TCase {
        const char* Name;
        std::function<void()> Do;
        int Texts, Steps;
    };
    const TCase cases[] = {
        {"repaints", [&] { Space.Prekresli(), Space.Prekresli(); }, 0, 0},
        {"current node", [&] { Space.CurrentNode = node, Space.Prekresli(); }, 0, 0},
        {"announced edit", [&] { Edit([&] { node->X += 0.25L; }); }, 1, 1},
        {"unannounced edit", [&] { node->Y += 0.25L, Space.Prekresli(); }, 1, 1},
        {"drag",
         [&] {
             Host.Drag = true;
             for (int i = 0; i < 20; ++i)
                 Edit([&] { node->X += 0.01L; });
             Host.Drag = false;
             Session.EndDrag();
         },
         1, 1},
        {"settle without an edit", [&] { Session.Settle(); }, 0, 0},
        {"undo", [&] { Session.Undo(); }, 0, -1},
    };
    for (const TCase& c : cases) {
        const int textsBefore = texts;
        const long stepsBefore = long(Session.History().Position());
        c.Do();
        EXPECT_EQ(texts - textsBefore, c.Texts) << c.Name;
        EXPECT_EQ(long(Session.History().Position()) - stepsBefore, c.Steps) << c.Name;
    }
    EXPECT_GT(whole, std::size_t(1) << 20);
    const std::size_t stepsBefore = Session.History().Steps(), bytesBefore = Session.History().Bytes();
    for (int i = 0; i < 50; ++i)
        Edit([&] { Space.Nodes[i * 97]->Y += 0.5L; });
    const std::size_t perStep =
        (Session.History().Bytes() - bytesBefore) / (Session.History().Steps() - stepsBefore);
    EXPECT_LT(perStep, 600u) << "against " << whole << " bytes of the state";
}
