// Computations off the window's thread: the results taken from the computed copy are those of the
// window's own computation bit for bit; the last edit wins over a running computation; cancelling
// leaves the model as it is without results; the progress shows from half a second on.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <random>
#include <sstream>

#include "analysis/CaseResults.h"
#include "analysis/Frames.h"
#include "canvas/MemberResults.h"
#include "model/UserDialogs.h"
#include "reports/CaseReports.h"
#include "reports/ResultsReport.h"
#include "ui/editing/Background.h"
#include "ui/editing/EditSession.h"

namespace {
std::string Text(TMKPSpace& s) {
    std::ostringstream out;
    s.UlozProjekt(out);
    return out.str();
}

// Every result the model shows as bytes: displacements, reactions, end results, the tables along
// the members, the stored states of the cases and the results or envelope report.
std::string Shown(TMKPSpace& s) {
    std::string out;
    const auto put = [&out](const TVector& v) {
        for (TReal x : v) out.append(reinterpret_cast<const char*>(&x), 10);
        out += '|';
    };
    for (const TUzel* n : s.Nodes) {
        put(n->Displacement);
        put({n->DofRot.Reaction, n->DofU.Reaction, n->DofW.Reaction});
    }
    for (TPrut* m : s.Members) {
        put(m->Sa);
        put(m->Sb);
        out += m->ResultsTurned ? 'T' : 't';
        if (m->HasResults() && ComputeMemberResults(*m)) {
            for (const TVector& row : m->Results) put(row);
            ReleaseMemberResults(*m);
        }
    }
    for (const TStateResults& r : s.CaseResults.States) put(r.Displacements), put(r.Reactions), put(r.EndResults);
    for (const TZatezovaciStav* c : s.CaseResults.Cases) out += c->Name + ';';
    if (s.ResultsValid) {
        TStyledDocument doc;
        if (s.Envelope)
            BuildEnvelopeReport(s, doc, '.');
        else
            BuildResultsReport(s, doc, '.');
        for (const TStyledLine& line : doc.Lines()) out += line.Text + '\n';
    }
    return out;
}

// A random frame with hinges; every other one with three cases, a combination of them and the
// envelope or that combination shown.
void Build(TFrame& f, unsigned seed) {
    RandomFrame(f, seed, true);
    std::mt19937 rng(seed);
    TMKPSpace& s = f.Space;
    for (TPrut* m : s.Members)
        if (rng() % 3 == 0) m->HingeA = true, m->HingeB = false;
    // Held where hinges would make a mechanism: a node without a rigid member end, half the others.
    for (TUzel* n : s.Nodes) {
        bool rigid = false;
        for (const TPrut* m : s.Members)
            rigid = rigid || (m->NodeA == n && !m->HingeA) || (m->NodeB == n && !m->HingeB);
        if (!n->DofU.Fixed && !n->DofW.Fixed && rng() % 2) TFrame::Support(n, true, true, false);
        n->DofRot.Fixed = n->DofRot.Fixed || !rigid;
    }
    if (seed % 2) return;
    std::vector<TZatezovaciStav*> cases = {s.PridejZatezovaciStav("G", TCaseKind::Permanent),
                                           s.PridejZatezovaciStav("Q", TCaseKind::Variable, TCaseCategory::B),
                                           s.PridejZatezovaciStav("W", TCaseKind::Variable, TCaseCategory::Wind)};
    for (TPrut* m : s.Members)
        for (TZatizeni* z : m->Loads)
            if (z->Kind != KLoadSelfWeight) s.NastavStavZatizeni(*z, cases[rng() % 3]);
    s.PridejKombinaci("K1", TCombinationKind::Ultimate, {{cases[0], 1.35L}, {cases[1], 1.5L}, {cases[2], 0.9L}});
    s.PridejKombinaci("K2", TCombinationKind::Ultimate, {{cases[0], 1.0L}, {cases[2], 1.5L}});
    s.ResultsChoice.Kind = seed % 4 ? TResultsKind::Combination : TResultsKind::Envelope;
    if (seed % 4) s.ResultsChoice.Name = "K1";
}

// Holds the computing thread until opened.
struct TGate {
    std::mutex M;
    std::condition_variable C;
    bool Open = false;
    void Pass() {
        std::unique_lock<std::mutex> lock(M);
        C.wait(lock, [this] { return Open; });
    }
    void Release() {
        std::lock_guard<std::mutex> lock(M);
        Open = true;
        C.notify_all();
    }
};
} // namespace

// Random frames, each built twice: one computed as the window computes it (the compute command,
// the live computation), the other copied through its snapshot, computed on the computing thread
// and given the copy's results. Results, reports, what the computation did to the model (members
// turned, loads put in place) and the messages are the same to the bit.
TEST(BackgroundTest, TakenResultsAreThoseOfTheWindowsOwnComputation) {
    int compared = 0, refused = 0;
    for (unsigned seed = 1; seed <= 40; ++seed)
        for (const TJobKind kind : {TJobKind::Command, TJobKind::Live}) {
            TFrame own, copied;
            Build(own, seed);
            Build(copied, seed);
            TRecordingDialogs said;
            TSolveStatus status;
            TLiveOutcome live;
            {
                TDialogsGuard guard(said);
                if (kind == TJobKind::Command)
                    status = own.Space.Vypocet();
                else
                    live = PrubeznyVypocet(own.Space);
            }
            auto snapshot = std::make_shared<TModelSnapshot>();
            ASSERT_TRUE(TakeSnapshot(copied.Space, *snapshot));
            TBackgroundComputation job(kind, snapshot, copied.Space, {});
            job.Start();
            job.Wait();
            ASSERT_TRUE(job.Done());
            const TJobOutcome& o = job.Outcome();
            ASSERT_FALSE(o.Cancelled || o.Unreadable || o.OutOfMemory);
            TakeComputed(job.Computed(), copied.Space, job.ChoiceAtStart());
            const std::string what = "seed " + std::to_string(seed) + (kind == TJobKind::Live ? " live" : " F11");
            EXPECT_EQ(o.Status, status) << what;
            EXPECT_EQ(o.Live.Status, live.Status) << what;
            EXPECT_EQ(o.Live.Message, live.Message) << what;
            EXPECT_EQ(o.Messages, said.Messages) << what;
            EXPECT_EQ(copied.Space.ResultsValid, own.Space.ResultsValid) << what;
            EXPECT_TRUE(copied.Space.ResultsChoice == own.Space.ResultsChoice) << what;
            TModelSnapshot a, b;
            ASSERT_TRUE(TakeSnapshot(own.Space, a) && TakeSnapshot(copied.Space, b));
            EXPECT_TRUE(a.Same(b)) << what;
            EXPECT_EQ(Shown(copied.Space), Shown(own.Space)) << what;
            TEquilibrium e;
            const bool checked = own.Space.ResultsValid && KontrolaRovnovahy(own.Space, e);
            EXPECT_EQ(o.EquilibriumChecked, checked) << what;
            if (checked)
                for (TReal TEquilibrium::*v : {&TEquilibrium::Relative, &TEquilibrium::Residual, &TEquilibrium::Stations})
                    EXPECT_TRUE(SameBits(o.Equilibrium.*v, e.*v)) << what;
            ++(own.Space.ResultsValid ? compared : refused);
        }
    EXPECT_GT(compared, 40);
}

namespace {
struct THost : TEditHost {
    bool Live = true, Shown = false, Busy = false;
    std::string Note;
    bool LiveResults() const override { return Live; }
    bool ResultsShown() const override { return Shown; }
    void ResultsOff() override { Shown = false; }
    void LiveResultsOn() override { Shown = true; }
    void ShowNote(const std::string& note) override { Note = note; }
    bool Dragging() const override { return false; }
    void ModelReplaced(const TModelView&) override {}
    void UndoAvailable(bool, bool) override {}
    std::string Caption() const override { return {}; }
    void ComputationBusy(bool busy) override { Busy = busy; }
    // As the window: the session's note and amended state.
    void CommandComputed(const TSolveStatus& status) override {
        ++Commands;
        Session->Computed(status);
    }
    TEditSession* Session = nullptr;
    int Commands = 0;
};

// The live results the window computes itself for the model as it is now.
std::string Reference(TMKPSpace& space) {
    TMKPSpace r;
    std::istringstream in(Text(space));
    r.NactiProjekt(in);
    r.TraceEnabled = false;
    EXPECT_TRUE(PrubeznyVypocet(r).Ok());
    return Shown(r);
}
} // namespace

class TBackgroundSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        Space.TraceEnabled = false;
        Space.OnRepaint = [this] { Session.Look(); };
        Session.Reset();
        Session.BeginCommand();
        Space.NactiProjekt(std::string(KORVAN_SOURCE_DIR) + "/examples/portal-frame.inp");
        Session.EndCommand();
        Session.Settle();
        Session.Computed(Space.Vypocet()); // live results armed
        Host.Shown = true;
        Session.SetBackgroundFrom(0);
        Session.SetComputationHook([this] { Gate->Pass(); });
        Host.Session = &Session;
    }
    void TearDown() override { Gate->Release(); }
    void Edit(const std::function<void()>& change) {
        change();
        Session.Edited();
        Space.Prekresli();
    }
    bool AnyResults() {
        for (TPrut* m : Space.Members)
            if (m->HasResults()) return true;
        return Space.ResultsValid;
    }

    TRecordingDialogs Sink;
    TDialogsGuard Guard{Sink};
    TMKPSpace Space;
    THost Host;
    std::shared_ptr<TGate> Gate = std::make_shared<TGate>();
    TEditSession Session{Space, Host};
};

// Two edits while the computation of the first is held: the first one's computation is dropped,
// the results shown are those of the model after the second, and both edits are steps.
TEST_F(TBackgroundSessionTest, LastEditWins) {
    const std::size_t steps = Session.History().Steps();
    Edit([&] { Space.Members[1]->Loads.First()->Q1 *= 2; });
    ASSERT_TRUE(Session.Computing());
    EXPECT_TRUE(Host.Busy);
    EXPECT_EQ(Host.Note, "Výpočet…");
    EXPECT_FALSE(AnyResults()) << "no results of the model before the edit are shown";
    Edit([&] { Space.Nodes[1]->PridejZatizeni(KLoadForce, nullptr, 7, 30); });
    const std::string edited = Text(Space);
    Gate->Release();
    Session.WaitForComputation();
    Space.Prekresli();
    EXPECT_FALSE(Session.Computing());
    EXPECT_FALSE(Host.Busy);
    ASSERT_TRUE(Space.ResultsValid);
    EXPECT_TRUE(Host.Shown);
    TEquilibrium e;
    ASSERT_TRUE(KontrolaRovnovahy(Space, e));
    EXPECT_EQ(Host.Note, TextRovnovahy(e)) << "checked on the computing thread";
    EXPECT_EQ(Text(Space), edited);
    EXPECT_EQ(Shown(Space), Reference(Space));
    EXPECT_EQ(Session.History().Steps(), steps + 2);

    // A computation that has finished, and an edit recorded before any look took its results:
    // they are dropped, and the model as it is is computed.
    Session.WaitForComputation();
    Edit([&] { Space.Members[1]->Loads.First()->Q1 += 1; });
    Session.WaitForComputation();
    Space.Nodes[2]->PridejZatizeni(KLoadMoment, nullptr, 3, 0);
    Session.Settle();
    Space.Prekresli();
    Session.WaitForComputation();
    Space.Prekresli();
    ASSERT_TRUE(Space.ResultsValid);
    EXPECT_EQ(Shown(Space), Reference(Space));
}

// Cancelling: no results, the tabs back on the model, the model exactly as the edit left it; the
// computation ends by itself and nothing of it is taken later. The next edit computes again.
TEST_F(TBackgroundSessionTest, CancelLeavesTheModelWithoutResults) {
    Edit([&] { Space.Members[1]->Loads.First()->Q1 *= 2; });
    const std::string edited = Text(Space);
    ASSERT_TRUE(Session.Computing());
    Session.CancelComputation();
    EXPECT_FALSE(Session.Computing());
    EXPECT_FALSE(Host.Busy);
    EXPECT_FALSE(Host.Shown);
    EXPECT_EQ(Host.Note, "Výpočet zrušen");
    Gate->Release();
    Space.Prekresli();
    EXPECT_FALSE(AnyResults());
    EXPECT_EQ(Text(Space), edited);
    Edit([&] { Space.Members[1]->Loads.First()->Q1 /= 2; });
    Session.WaitForComputation();
    Space.Prekresli();
    EXPECT_TRUE(Space.ResultsValid && Host.Shown);
}

// The compute command off the thread: its results wait for the look after it has finished; the
// member it turns round (hinged at a only) is no step, and undo goes back to before the edit. An
// edit before the look drops them (live results off: the model stays without results).
TEST_F(TBackgroundSessionTest, ComputeCommandTurnsNoStepAndIsDroppedByAnEdit) {
    Host.Live = false;
    Gate->Release();
    Edit([&] { Space.Members[1]->HingeA = true; });
    const std::size_t steps = Session.History().Steps();
    ASSERT_TRUE(Session.ComputeInBackground());
    ASSERT_TRUE(Session.ComputeInBackground()); // pressed again: the first is dropped
    Session.WaitForComputation();
    Space.Prekresli();
    EXPECT_EQ(Host.Commands, 1);
    ASSERT_TRUE(Space.ResultsValid);
    EXPECT_TRUE(Space.Members[1]->HingeB && !Space.Members[1]->HingeA) << "turned round";
    EXPECT_EQ(Session.History().Steps(), steps);
    Session.Undo();
    EXPECT_FALSE(Space.Members[1]->HingeA || Space.Members[1]->HingeB);

    ASSERT_TRUE(Session.ComputeInBackground());
    Session.WaitForComputation();
    Space.Members[1]->Loads.First()->Q1 *= 2;
    Session.Edited();
    Space.Prekresli();
    EXPECT_EQ(Host.Commands, 1);
    EXPECT_FALSE(Session.Computing());
    EXPECT_FALSE(Space.ResultsValid);
}

TEST(BackgroundTest, ProgressShowsFromHalfASecond) {
    using namespace std::chrono;
    const TProgressGate::TClock::time_point t0{};
    const struct {
        int At;  // ms after the first Begin
        int Op;  // 0 ask, 1 Begin, 2 End
        bool Due;
        int Left;
    } steps[] = {
        {0, 0, false, 0},    {0, 1, false, 500}, {300, 1, false, 200}, // superseded: keeps its time
        {499, 0, false, 1},  {500, 0, true, 0},  {900, 0, true, 0},    {900, 2, false, 0},
        {1000, 1, false, 500}, {1499, 0, false, 1}, {1500, 0, true, 0},
    };
    TProgressGate gate;
    for (const auto& s : steps) {
        const auto now = t0 + milliseconds(s.At);
        if (s.Op == 1) gate.Begin(now);
        if (s.Op == 2) gate.End();
        EXPECT_EQ(gate.Due(now), s.Due) << s.At << " " << s.Op;
        EXPECT_EQ(gate.Left(now).count(), s.Left) << s.At << " " << s.Op;
    }
}
