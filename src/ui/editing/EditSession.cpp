#include "ui/editing/EditSession.h"

#include <algorithm>
#include <exception>
#include <new>
#include <utility>

#include "analysis/TraceFile.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/editing/Background.h"
#include "ui/editing/LiveResults.h"

namespace {
const char* const KHistoryLost = "Nedostatek paměti pro historii úprav: dosavadní kroky zpět byly zrušeny, "
                                 "model zůstává tak, jak je.";
const char* const KLiveNoMemory = "Výpočet odmítnut (nedostatek paměti)";
const char* const KComputing = "Výpočet…";
const char* const KCancelled = "Výpočet zrušen";

// The results the model holds no longer belong to it: nothing of them is drawn while the
// computation of the model as it is runs.
void DropResults(TMKPSpace& space) {
    space.ResultsValid = false;
    for (TPrut* m : space.Members) {
        m->UvolniKoncoveSily();
        m->UvolniPrubehy();
    }
    for (TUzel* n : space.Nodes) {
        TVector().swap(n->Displacement);
        n->DofRot.Reaction = n->DofU.Reaction = n->DofW.Reaction = 0; // as before any computation
    }
    space.CaseResults.Clear();
    space.Envelope.reset();
}

// Sets a flag for the lifetime of the guard.
class TRaised {
public:
    explicit TRaised(bool& flag) : mFlag(flag), mOld(flag) { mFlag = true; }
    ~TRaised() { mFlag = mOld; }
    TRaised(const TRaised&) = delete;
    TRaised& operator=(const TRaised&) = delete;

private:
    bool& mFlag;
    bool mOld;
};

TEditSession::TMissedEdit& MissedEdit() {
    static TEditSession::TMissedEdit missed;
    return missed;
}
} // namespace

TEditSession::TMissedEdit TEditSession::CheckPrints(TMissedEdit missed) {
    std::swap(MissedEdit(), missed);
    return missed;
}

TEditSession::TEditSession(TMKPSpace& space, TEditHost& host, std::size_t steps, std::size_t bytes)
    : mSpace(space), mHost(host), mHistory(steps, bytes),
      mSnapshotter([](const TMKPSpace& s, TModelSnapshot& out, std::size_t hint) {
          return TakeSnapshot(s, out, hint);
      }) {}

// Every computation is stopped and waited for before the session (and its host) goes.
TEditSession::~TEditSession() {
    DropJob();
    for (auto& j : mDropped) j->Wait();
}

bool TEditSession::Snapshot(TModelSnapshot& out) {
    // Room for the text as it was last time and a little more: the text is made in one piece.
    const TModelSnapshot* last = mHistory.Current();
    const std::size_t hint = last ? last->Project.size() + last->Project.size() / 64 + 256 : 0;
    if (!mSnapshotter(mSpace, out, hint)) return false;
    out.View.Caption = mHost.Caption();
    out.View.LiveArmed = mLiveArmed;
    return true;
}

bool TEditSession::SeenPrint(std::uint64_t& print) const {
    if (mHeld) {
        print = mHeldPrint;
        return mHeldKnown;
    }
    if (mUnwritten) {
        print = mUnwrittenPrint;
        return true;
    }
    const TModelSnapshot* current = mHistory.Current();
    if (current) print = current->Print;
    return current != nullptr;
}

TModelView TEditSession::ViewNow() const {
    TModelView view = ViewOf(mSpace);
    view.Caption = mHost.Caption();
    view.LiveArmed = mLiveArmed;
    return view;
}

void TEditSession::KeepView() {
    if (mHeld || mUnwritten) return;
    mHistory.SetView(ViewNow());
}

bool TEditSession::Missed() {
    const TModelSnapshot* current = mHistory.Current();
    if (!MissedEdit() || mHeld || mUnwritten || !current) return false;
    TModelSnapshot now;
    if (!Snapshot(now) || now.Same(*current)) return false;
    MissedEdit()(*current, now);
    return true;
}

void TEditSession::ForgetHeld() {
    mHeld = mHeldKnown = mHeldEdited = false;
    mUnwritten = false;
}

bool TEditSession::Holding() const {
    return mCommands > 0 || mHost.Dragging();
}

void TEditSession::Availability() {
    mHost.UndoAvailable(mHistory.CanUndo(), mHistory.CanRedo());
}

void TEditSession::Reset() {
    DropJob();
    BusyChanged();
    mHost.ModelChanged();
    ForgetHeld();
    mEditPending = false;
    mLiveAtRelease = false;
    mMechanism = {};
    try {
        TModelSnapshot now;
        if (Snapshot(now)) {
            mHistory.Reset(std::move(now));
        } else {
            mHistory.Clear();
            mUnwritten = true;
            mUnwrittenPrint = ModelPrint(mSpace);
        }
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    Availability();
}

void TEditSession::Look() {
    if (mLooking) return;
    TRaised looking(mLooking);
    try {
        const bool holding = Holding();
        // A node that follows the pointer says so at each move: the look does nothing of the
        // model's size until the release records the drag.
        const bool dragged = holding && mEditPending && mHost.Dragging();
        bool edited = mEditPending;
        // An announced edit outside a drag or a command needs no print: its snapshot has one.
        std::uint64_t print = 0;
        bool printed = false;
        if (!dragged && (!edited || holding)) {
            print = ModelPrint(mSpace);
            printed = true;
            std::uint64_t seen = 0;
            if (SeenPrint(seen))
                edited = edited || print != seen;
            else
                edited = edited || !holding;
            if (!edited && !holding) edited = Missed();
        }
        mEditPending = false;
        std::unique_ptr<TModelSnapshot> now;
        bool computed = false; // results taken from a computation that has finished
        if (edited) {
            DropJob(); // it computes a model that is no more
            mMechanism = {};
            mHost.ModelChanged();
            if (mHost.LiveResults() && mLiveArmed && mHost.Dragging() && Background()) {
                // A large frame is computed once its node is let go (EndDrag), not at every move.
                // The first move drops the results; the later ones find none (nothing computes
                // during the drag but a command that sets them valid).
                if (!mLiveAtRelease || mSpace.ResultsValid) DropResults(mSpace);
                mHost.ShowNote(KComputing);
                mLiveAtRelease = true;
            } else if (mHost.LiveResults() && mLiveArmed) {
                // The model as edited: the source of a computation off the window's thread, and
                // what to go back to should the computation run out of memory.
                if (!mHost.Dragging()) {
                    now = std::make_unique<TModelSnapshot>();
                    if (!Snapshot(*now)) now.reset();
                }
                RunLive(now.get());
                // What the computation did to the model by itself (the distances of point loads on
                // a member whose length changed) belongs to this edit, not to a step of its own.
                if (!dragged) {
                    print = ModelPrint(mSpace);
                    printed = true;
                }
                if (now && now->Print != print) now.reset();
            } else {
                ResultsStale();
            }
        }
        if (!edited) StartWhenFree();
        // A computation off the window's thread has finished: its results are taken when the model
        // is still the one it computed (an edit in between has dropped it).
        if (!edited && printed && mJob && mJob->Done()) {
            if (print == mJobSource->Print) {
                // What the computation did to the model by itself belongs to the state it computed.
                computed = Finish();
                if (computed) print = ModelPrint(mSpace);
            } else { // recorded without a look (Settle): computed again, or stale
                DropJob();
                if (mHost.LiveResults() && mLiveArmed) {
                    TModelSnapshot source;
                    RunLive(Snapshot(source) ? &source : nullptr);
                } else {
                    ResultsStale();
                }
            }
        }
        BusyChanged();
        if (holding) {
            mHeldEdited = mHeldEdited || edited;
            mHeld = true;
            mHeldKnown = printed;
            mHeldPrint = print;
            return;
        }
        if (computed) {
            AmendComputed();
            return;
        }
        if (!edited) {
            KeepView();
            return;
        }
        if (!now) {
            now = std::make_unique<TModelSnapshot>();
            if (!Snapshot(*now)) {
                // No step without the text; the print keeps the next look from seeing it again.
                mUnwritten = true;
                mUnwrittenPrint = printed ? print : ModelPrint(mSpace);
                return;
            }
        } else {
            now->View = ViewNow(); // taken before the computation: what is current now
        }
        Record(std::move(*now));
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
}

void TEditSession::Edited() {
    mEditPending = true;
    DropJob();
    if (mHost.LiveResults() && mLiveArmed) {
        mSpace.ResultsValid = false; // until the live computation at the next look
        return;
    }
    if (!mSpace.ResultsValid && !mHost.ResultsShown()) return;
    mSpace.ResultsValid = false;
    mHost.ResultsOff();
}

// Results belong to the model as it was computed.
void TEditSession::ResultsStale() {
    if (!mHost.ResultsShown()) return;
    mSpace.ResultsValid = false;
    mHost.ResultsOff();
    mHost.ShowNote({});
}

void TEditSession::Record(TModelSnapshot now) {
    mHistory.Commit(std::move(now));
    ForgetHeld();
    mMemoryReported = false;
    Availability();
}

void TEditSession::EndDrag() {
    if (mCommands > 0) return;
    const bool edited = mHeldEdited;
    mHeld = mHeldKnown = mHeldEdited = false;
    if (edited) Settle();
    if (!mLiveAtRelease) return;
    mLiveAtRelease = false;
    if (!mHost.LiveResults() || !mLiveArmed) return;
    // The drag of a large frame is computed now, from the state the release recorded.
    try {
        const TModelSnapshot* current = mHistory.Current();
        TModelSnapshot now;
        if (!current || current->Print != ModelPrint(mSpace)) {
            if (!Snapshot(now)) return;
            current = &now;
        }
        const std::uint64_t print = current->Print;
        // What the computation did to the model by itself belongs to the drag's step.
        if (RunLive(current) && ModelPrint(mSpace) != print) AmendComputed();
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    BusyChanged();
}

void TEditSession::BeginCommand() {
    if (mCommands++ == 0) Settle();
}

void TEditSession::EndCommand() {
    if (mCommands == 0 || --mCommands > 0) return;
    mHeld = mHeldKnown = mHeldEdited = false;
    Settle();
}

void TEditSession::Settle() {
    if (mLooking) return;
    TRaised looking(mLooking);
    try {
        // The text only when the model differs from the state at the history's position (or the
        // session cannot tell).
        const TModelSnapshot* current = mHistory.Current();
        if (!mEditPending && !mHeld && !mUnwritten && current && current->Print == ModelPrint(mSpace) &&
            !Missed()) {
            KeepView();
            return;
        }
        TModelSnapshot now;
        if (!Snapshot(now)) {
            mUnwritten = true;
            mUnwrittenPrint = ModelPrint(mSpace);
            return;
        }
        mEditPending = false;
        Record(std::move(now));
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
}

// The quiet computation; the chosen result tab stays. A refusal returns the tabs to "model" and
// says why and where. A large frame is computed off the window's thread: unless its results come
// within the brief wait, the model shows none until they are taken (false: the model is as it was).
bool TEditSession::RunLive(const TModelSnapshot* before) {
    if (before && Background()) {
        StartJob(false, *before);
        if (mJob->WaitFor(mBriefWait)) return Finish();
        DropResults(mSpace);
        mHost.ShowNote(KComputing);
        return false;
    }
    TLiveOutcome outcome;
    try {
        outcome = PrubeznyVypocet(mSpace);
    } catch (const std::bad_alloc&) {
        // The computation may have stopped with members still turned round: the model goes back to
        // the one it was given.
        mSpace.ResultsValid = false;
        TModelSnapshot after;
        if (before && Snapshot(after) && !after.Same(*before)) {
            RestoreSnapshot(mSpace, *before, before->View);
            mHost.ModelReplaced(before->View);
        }
        mHost.ResultsOff();
        mHost.ShowNote(KLiveNoMemory);
        return true;
    }
    ShowLiveOutcome(outcome);
    return true;
}

// A live computation's results are shown, or its refusal with its place.
void TEditSession::ShowLiveOutcome(const TLiveOutcome& outcome) {
    if (outcome.Ok()) {
        mHost.ShowNote({});
        mHost.LiveResultsOn();
    } else {
        mSpace.ResultsValid = false;
        mHost.ResultsOff();
        mMechanism = outcome.Place;
        mHost.ShowNote(TextOdmitnuti(outcome));
    }
}

// The model as a computation left it replaces the state it was computed from (no step).
void TEditSession::AmendComputed() {
    TModelSnapshot after;
    if (!Snapshot(after)) return;
    mHistory.Amend(std::move(after));
    mMemoryReported = false;
    Availability();
}

bool TEditSession::Background() const {
    return mSpace.Nodes.Count() >= mBackgroundFrom;
}

void TEditSession::StartJob(bool command, const TModelSnapshot& source) {
    DropJob();
    mJobSource = std::make_shared<const TModelSnapshot>(source);
    TEditHost* host = &mHost;
    mJob = std::make_unique<TBackgroundComputation>(command ? TJobKind::Command : TJobKind::Live, mJobSource,
                                                    mSpace, [host] { host->Wake(); }, mHook);
    StartWhenFree();
}

// One computation runs at a time: the next begins once those dropped have ended (each wakes the
// window as it ends), so that edits in quick succession (a drag) leave one copy of the model
// being computed and one waiting, not one per edit.
void TEditSession::StartWhenFree() {
    Reap();
    if (mJob && !mJob->Started() && mDropped.empty()) mJob->Start();
}

// Stops the computation (it ends by itself at its next coarse point); what has ended goes.
void TEditSession::DropJob() {
    if (mJob) {
        mJob->Cancel();
        if (mJob->Started()) mDropped.push_back(std::move(mJob));
        mJob.reset();
        mJobSource.reset();
    }
    Reap();
}

void TEditSession::Reap() {
    mDropped.erase(std::remove_if(mDropped.begin(), mDropped.end(), [](const auto& j) { return j->Done(); }),
                   mDropped.end());
}

void TEditSession::BusyChanged() {
    const bool busy = mJob != nullptr;
    if (busy == mBusyShown) return;
    mBusyShown = busy;
    mHost.ComputationBusy(busy);
}

// The finished computation's results go into the model, which is the one it computed. True when
// the model itself changed with them.
bool TEditSession::Finish() {
    std::unique_ptr<TBackgroundComputation> job = std::move(mJob);
    mJobSource.reset();
    job->Wait();
    const TJobOutcome o = std::move(job->Outcome());
    const bool command = job->Kind() == TJobKind::Command;
    if (o.Unreadable) {
        if (command)
            mHost.ComputeHere();
        else
            RunLive(nullptr);
        return true;
    }
    if (o.OutOfMemory) {
        mSpace.ResultsValid = false;
        mHost.ResultsOff();
        mHost.ShowNote(KLiveNoMemory);
        return false;
    }
    const bool changed = TakeComputed(job->Computed(), mSpace, job->ChoiceAtStart());
    job.reset(); // the copy's memory goes before the window shows the results
    if (command) {
        for (const std::string& message : o.Messages) Dialogs().Inform(message);
        if (o.EquilibriumChecked) mCheckedEquilibrium = std::make_unique<TEquilibrium>(o.Equilibrium);
        mHost.CommandComputed(o.Status);
        mCheckedEquilibrium.reset();
        return true; // the look records the model as the command left it
    }
    ShowLiveOutcome(o.Live);
    // Checked already: the window need not check again on its thread.
    if (o.Live.Ok() && o.EquilibriumChecked) mHost.ShowNote(TextRovnovahy(o.Equilibrium));
    return changed;
}

bool TEditSession::ComputeInBackground() {
    if (mSpace.Members.Empty() || !Background()) return false;
    try {
        TModelSnapshot now;
        if (!Snapshot(now)) return false;
        StartJob(true, now);
    } catch (const std::bad_alloc&) {
        return false;
    }
    BusyChanged();
    return true;
}

void TEditSession::CancelComputation() {
    if (!mJob) return;
    DropJob();
    mSpace.ResultsValid = false;
    mMechanism = {};
    mHost.ResultsOff();
    mHost.ShowNote(KCancelled);
    BusyChanged();
}

void TEditSession::WaitForComputation() {
    for (auto& j : mDropped) j->Wait();
    StartWhenFree();
    if (mJob) mJob->Wait();
}

void TEditSession::Computed(const TSolveStatus& status) {
    mMechanism = {};
    mEditPending = false;
    try {
        std::string note;
        if (mSpace.ResultsValid) {
            mLiveArmed = true;
            TEquilibrium e;
            if (mCheckedEquilibrium)
                note = TextRovnovahy(*mCheckedEquilibrium);
            else if (KontrolaRovnovahy(mSpace, e))
                note = TextRovnovahy(e);
        } else {
            mMechanism = MistoOdmitnuti(status);
            note = PopisMista(mMechanism);
        }
        // A large frame's matrix files are left out of the trace files; the note says so.
        if (mSpace.TraceMatricesLeftOut)
            note += (note.empty() ? "" : "  ") + TraceMatricesLeftOutText(mSpace.TraceMatrixLimit);
        mHost.ShowNote(note);
        // The computation turns members hinged only at a round; that is the model from now on,
        // but not a step of the user's.
        TModelSnapshot now;
        if (Snapshot(now)) {
            mHistory.Amend(std::move(now));
            ForgetHeld();
        }
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    Availability();
}

void TEditSession::Disarm() {
    DropJob();
    BusyChanged();
    mLiveArmed = false;
    mMechanism = {};
    mHost.ShowNote({});
}

void TEditSession::Undo() {
    Step(true);
}

void TEditSession::Redo() {
    Step(false);
}

void TEditSession::Step(bool back) {
    Settle();
    if (mLooking) return;
    DropJob();
    {
        TRaised looking(mLooking); // the refreshes repaint; one repaint at the end is enough
        try {
            TModelView left;
            const TModelSnapshot* state = back ? mHistory.Undo(left) : mHistory.Redo(left);
            if (!state) return;
            try {
                RestoreSnapshot(mSpace, *state, left);
            } catch (const std::bad_alloc&) {
                throw;
            } catch (const std::exception& e) {
                TModelView ignored;
                if (back)
                    mHistory.Redo(ignored);
                else
                    mHistory.Undo(ignored);
                Availability();
                Dialogs().Inform(std::string("Stav modelu nelze obnovit: ") + e.what());
                return;
            }
            mEditPending = false;
            ForgetHeld();
            mMechanism = {};
            mLiveArmed = state->View.LiveArmed;
            mHost.ModelReplaced(state->View);
            if (mHost.LiveResults() && mLiveArmed) {
                if (RunLive(state)) {
                    TModelSnapshot now;
                    if (Snapshot(now)) mHistory.Amend(std::move(now));
                }
            } else {
                if (mHost.ResultsShown()) mHost.ResultsOff();
                mHost.ShowNote({});
            }
        } catch (const std::bad_alloc&) {
            OutOfMemory();
        }
    }
    BusyChanged();
    Availability();
    mSpace.Prekresli();
}

// Memory ran out while the history was kept: the history goes, so that the program can go on, and
// the user is told once.
void TEditSession::OutOfMemory() {
    mHistory.Clear();
    ForgetHeld();
    Availability();
    if (mMemoryReported) return;
    mMemoryReported = true;
    Dialogs().Inform(KHistoryLost);
}
