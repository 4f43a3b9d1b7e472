#pragma once
// Computations off the window's thread. The window's model is never touched by another thread:
// a computation reads a snapshot of the model (taken on the window's thread, as the undo history
// takes them) into a model space of its own on a computing thread and solves that copy, exactly
// as the window would solve its model. When it is done, the window's thread takes what the copy
// formed (TakeComputed) -- but only into the model the snapshot was taken of; a model edited in
// the meantime gets nothing, and the session starts again from the model as it is then. Plain
// C++ (std::thread); the session drives it and its tests run it without a window.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "analysis/Diagnostics.h"
#include "analysis/ProfileMatrix.h"
#include "model/MKPSpace.h"
#include "ui/editing/LiveResults.h"
#include "ui/editing/UndoHistory.h"

// What a computation is for: live results after an edit (quiet, no trace files, members turned
// back) or the compute command (trace files and messages as ever).
enum class TJobKind { Live, Command };

struct TJobOutcome {
    TSolveStatus Status;               // the compute command's outcome
    TLiveOutcome Live;                 // the live computation's outcome
    std::vector<std::string> Messages; // what the computation said through Dialogs(), in order
    bool Cancelled = false;
    bool OutOfMemory = false;
    bool Unreadable = false; // the snapshot could not be read back (the model stays as it is)
    // The equilibrium check of computed results (KontrolaRovnovahy on the copy, which holds what
    // the model will): made on the computing thread too.
    bool EquilibriumChecked = false;
    TEquilibrium Equilibrium;
};

// Copies into `copy` what the computation reads beside the model: trace settings, solver choices,
// the case traced, what the results show, units.
void CopyComputationSettings(const TMKPSpace& space, TMKPSpace& copy);

// Hands to `space` what a computation formed on `computed`, a copy of the very same model (read
// from its snapshot, objects in the same places): displacements, reactions, end results, the
// tables along the members, the loads each result state takes, the results of the cases and the
// envelope, what the members turned round and the loads put in place, ResultsValid and the trace
// outcome. What named the copy's objects names the space's. `choiceAtStart`: what the space
// showed when the copy was taken; a choice made since stays and is shown from the results taken.
// `computed` is left without results. True when the model itself changed (a member turned, a
// load's value).
bool TakeComputed(TMKPSpace& computed, TMKPSpace& space, const TResultsChoice& choiceAtStart);

// A computation on its own thread, which begins at Start. Destroying it stops (Cancel) and waits
// for it.
class TBackgroundComputation {
public:
    using TWake = std::function<void()>; // called on the computing thread as it finishes
    using THook = std::function<void()>; // called on the computing thread before it starts (tests)

    TBackgroundComputation(TJobKind kind, std::shared_ptr<const TModelSnapshot> source, const TMKPSpace& settings,
                           TWake wake, THook hook = {});
    void Start();
    bool Started() const { return mThread.joinable() || Done(); }
    ~TBackgroundComputation();
    TBackgroundComputation(const TBackgroundComputation&) = delete;
    TBackgroundComputation& operator=(const TBackgroundComputation&) = delete;

    TJobKind Kind() const { return mKind; }
    // Asks the computation to stop at its next coarse point; it then finishes as cancelled.
    void Cancel() { mCancel.store(true); }
    bool Done() const { return mDone.load(std::memory_order_acquire); }
    // Waits for the computing thread to end (one not started has nothing to wait for).
    void Wait();
    // Waits at most that long for the computation to finish; true when it has.
    bool WaitFor(std::chrono::milliseconds most);
    // After Done: the outcome and the computed copy.
    TJobOutcome& Outcome() { return mOutcome; }
    TMKPSpace& Computed() { return *mCopy; }
    const TResultsChoice& ChoiceAtStart() const { return mChoice; }

private:
    void Run();

    TJobKind mKind;
    std::shared_ptr<const TModelSnapshot> mSource;
    std::unique_ptr<TMKPSpace> mCopy;
    TResultsChoice mChoice;
    TJobOutcome mOutcome;
    std::atomic<bool> mCancel{false};
    std::atomic<bool> mDone{false};
    std::mutex mDoneLock;
    std::condition_variable mDoneSignal;
    TWake mWake;
    THook mHook;
    std::thread mThread;
};

// When a computation shows its progress: from half a second after the window started waiting for
// results on. A computation superseded by the next one (an edit while it runs) keeps the time of
// the first, so that editing during a long computation does not make the progress blink.
class TProgressGate {
public:
    using TClock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds KDelay{500};
    // A computation starts (or follows the one before without a pause).
    void Begin(TClock::time_point now) {
        if (!mBusy) mSince = now;
        mBusy = true;
    }
    // No computation is running any more.
    void End() { mBusy = false; }
    bool Busy() const { return mBusy; }
    // The progress shows now.
    bool Due(TClock::time_point now) const { return mBusy && now - mSince >= KDelay; }
    // How long until it shows (zero when it is due; zero too when nothing is running).
    std::chrono::milliseconds Left(TClock::time_point now) const;

private:
    bool mBusy = false;
    TClock::time_point mSince{};
};
