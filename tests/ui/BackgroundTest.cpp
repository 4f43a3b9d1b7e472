// Computations off the window's thread without a window: the results taken from the computed copy
// are those of the window's own computation bit for bit; the session takes only the results of
// the model as it is; the progress shows from half a second on. (The window's test takes edits
// during a computation and "Zrušit".)
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <thread>

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

} // namespace

// Random frames, each built twice: one computed as the window computes it (the compute command,
// the live computation), the other copied through its snapshot, computed on the computing thread
// and given the copy's results. Results, reports, what the computation did to the model (members
// turned, loads put in place) and the messages are the same to the bit.
TEST(BackgroundTest, TakenResultsAreThoseOfTheWindowsOwnComputation) {
    int compared = 0;
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
            if (checked) {
                for (TReal TEquilibrium::*v : {&TEquilibrium::Relative, &TEquilibrium::Residual, &TEquilibrium::Stations})
                    EXPECT_TRUE(SameBits(o.Equilibrium.*v, e.*v)) << what;
            }
            compared += own.Space.ResultsValid;
        }
    EXPECT_GT(compared, 40);
}

namespace {
struct THost : TEditHost {
    bool Live = false, Shown = false, Drag = false;
    TEditSession* Session = nullptr;
    int Commands = 0;
    bool LiveResults() const override { return Live; }
    bool ResultsShown() const override { return Shown; }
    void ResultsOff() override { Shown = false; }
    void LiveResultsOn() override { Shown = true; }
    void ShowNote(const std::string&) override {}
    bool Dragging() const override { return Drag; }
    void ModelReplaced(const TModelView&) override {}
    void UndoAvailable(bool, bool) override {}
    std::string Caption() const override { return {}; }
    void CommandComputed(const TSolveStatus& status) override { ++Commands, Session->Computed(status); }
};

// The portal frame in a session that computes every frame off the window's thread, repainting
// through the session's look; messages are recorded.
struct TPortalSession {
    TRecordingDialogs Sink;
    TDialogsGuard Guard{Sink};
    TMKPSpace Space;
    THost Host;
    TEditSession Session{Space, Host};
    TPortalSession() {
        Host.Session = &Session;
        Session.SetBackgroundFrom(0);
        Space.TraceEnabled = false;
        Space.OnRepaint = [this] { Session.Look(); };
        Space.NactiProjekt(std::string(KORVAN_SOURCE_DIR) + "/examples/portal-frame.inp");
        Session.Reset();
    }
};

// The results shown are those of a fresh live computation of the model as it now is.
void ExpectFreshComputation(TMKPSpace& space) {
    TMKPSpace reference;
    std::istringstream in(Text(space));
    reference.NactiProjekt(in);
    ASSERT_TRUE(PrubeznyVypocet(reference).Ok());
    EXPECT_EQ(Shown(space), Shown(reference));
}
} // namespace

// The compute command off the thread: the member it turns round (hinged at a only) is no step and
// undo goes back to before the edit; pressed twice, the first is dropped; an edit before the look
// drops it. A finished live computation whose model was recorded changed (without a look) before
// a look took it is dropped, and the model as it is is computed.
TEST(BackgroundTest, FinishedComputationsOfAnotherModelAreDropped) {
    TPortalSession portal;
    TMKPSpace& space = portal.Space;
    THost& host = portal.Host;
    TEditSession& session = portal.Session;
    const auto edit = [&](const std::function<void()>& change) {
        change();
        session.Edited();
        space.Prekresli();
    };
    edit([&] { space.Members[1]->HingeA = true; });
    const std::size_t steps = session.History().Steps();
    ASSERT_TRUE(session.ComputeInBackground() && session.ComputeInBackground());
    session.WaitForComputation();
    space.Prekresli();
    EXPECT_EQ(host.Commands, 1);
    ASSERT_TRUE(space.ResultsValid);
    EXPECT_TRUE(space.Members[1]->HingeB && !space.Members[1]->HingeA) << "turned round";
    EXPECT_EQ(session.History().Steps(), steps);
    session.Undo();
    EXPECT_FALSE(space.Members[1]->HingeA || space.Members[1]->HingeB);
    ASSERT_TRUE(session.ComputeInBackground());
    session.WaitForComputation();
    edit([&] { space.Members[1]->Loads.First()->Q1 *= 2; });
    EXPECT_EQ(host.Commands, 1);
    EXPECT_FALSE(session.Computing() || space.ResultsValid);

    // Live: a computation done within the brief wait is taken at once, in the edit's own step.
    host.Live = true;
    session.Computed(space.Vypocet());
    const std::size_t before = session.History().Steps();
    session.SetBriefWait(std::chrono::seconds(20));
    edit([&] { space.Members[1]->Loads.First()->Q1 += 1; });
    EXPECT_TRUE(space.ResultsValid && !session.Computing());
    EXPECT_EQ(session.History().Steps(), before + 1);
    session.SetBriefWait(std::chrono::milliseconds(0));
    session.SetComputationHook([] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); });
    edit([&] { space.Members[1]->Loads.First()->Q1 += 1; });
    EXPECT_FALSE(space.ResultsValid);
    session.WaitForComputation();
    space.Nodes[2]->PridejZatizeni(KLoadMoment, nullptr, 3, 0);
    session.Settle();
    space.Prekresli();
    session.WaitForComputation();
    space.Prekresli();
    ASSERT_TRUE(space.ResultsValid);
    ExpectFreshComputation(space);
}

// A node dragged on a large frame with live results: the moves compute nothing and show no
// results of an older state; the release computes the model as it was let go, in the drag's step.
TEST(BackgroundTest, DragIsComputedWhenItEnds) {
    TPortalSession portal;
    TMKPSpace& space = portal.Space;
    THost& host = portal.Host;
    TEditSession& session = portal.Session;
    host.Live = true;
    session.Computed(space.Vypocet());
    ASSERT_TRUE(space.ResultsValid);
    const std::size_t steps = session.History().Steps();
    host.Drag = true;
    for (int move = 1; move <= 5; ++move) {
        space.Nodes[1]->Y += 0.1L; // the beam's load still fits it
        space.Members.Precisluj();
        session.Edited();
        space.Prekresli();
        EXPECT_FALSE(session.Computing() || space.ResultsValid) << move;
    }
    host.Drag = false;
    session.EndDrag();
    session.WaitForComputation();
    space.Prekresli();
    ASSERT_TRUE(space.ResultsValid);
    EXPECT_EQ(session.History().Steps(), steps + 1);
    ExpectFreshComputation(space);
}

TEST(BackgroundTest, ProgressShowsFromHalfASecond) {
    using namespace std::chrono;
    const TProgressGate::TClock::time_point t0{};
    const struct {
        int At, Op; // ms after the first Begin; 0 ask, 1 Begin, 2 End
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
