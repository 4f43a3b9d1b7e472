#pragma once
// The edit session of the main window: notices edits where commands end, keeps the undo history
// and runs live results. It owns the history, the model as the session last saw it while a
// gesture or a command of several repaints is under way, the flags of a pending edit and of
// armed live results, and the place of the last refused computation. It decides whether the end
// of a command is an edit, whether it is a step of the history and whether results are computed
// again; what the window must show it asks of TEditHost. Plain C++; its tests drive it without a
// window.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/Diagnostics.h"
#include "analysis/ProfileMatrix.h"
#include "ui/editing/UndoHistory.h"

class TMKPSpace;
struct TLiveOutcome;

// What the session needs from the window.
class TEditHost {
public:
    virtual ~TEditHost() = default;
    // Live results are switched on (the user's option).
    virtual bool LiveResults() const = 0;
    // The result tabs are open.
    virtual bool ResultsShown() const = 0;
    // The results no longer belong to the model: the display returns to the model, the tabs close.
    virtual void ResultsOff() = 0;
    // A live computation succeeded: the tabs open; the equilibrium check may follow later.
    virtual void LiveResultsOn() = 0;
    // The status bar field beside the panels (equilibrium, refusal and its place).
    virtual void ShowNote(const std::string& text) = 0;
    // A node follows the pointer: the history waits for the release.
    virtual bool Dragging() const = 0;
    // Undo or redo put another model in: lists, pages, marks and the caption of the view.
    virtual void ModelReplaced(const TModelView& view) = 0;
    virtual void UndoAvailable(bool undo, bool redo) = 0;
    // The window's caption, kept with each state.
    virtual std::string Caption() const = 0;
    // The model differs from the one last seen (an edit, a new or opened model): whatever belongs
    // to the old model's picture goes.
    virtual void ModelChanged() {}
    // A computation off the window's thread has finished: the window looks again soon (a full
    // repaint, which takes its results). Called on the computing thread.
    virtual void Wake() {}
    // A computation is running off the window's thread, or none is any more (its progress).
    virtual void ComputationBusy(bool /*busy*/) {}
    // The compute command's computation has finished off the window's thread and its results are
    // in the model (its messages shown): the window does what follows a computation.
    virtual void CommandComputed(const TSolveStatus& /*status*/) {}
    // The compute command on the window's thread (a copy of the model could not be made).
    virtual void ComputeHere() {}
};

class TBackgroundComputation;

class TEditSession {
public:
    // Takes a snapshot of the model (TakeSnapshot); replaceable so that tests can make it fail.
    using TSnapshotter = std::function<bool(const TMKPSpace&, TModelSnapshot&, std::size_t)>;

    // Frames of at least this many nodes are computed off the window's thread; smaller ones take
    // some tens of milliseconds at most and are computed where the command runs, as ever. A live
    // computation that is done within KBriefWait is taken at once, as if computed here, so that
    // the results do not blink off and on after every edit of a frame that computes quickly.
    static constexpr int KBackgroundFrom = 1000;
    static constexpr std::chrono::milliseconds KBriefWait{50};

    TEditSession(TMKPSpace& space, TEditHost& host, std::size_t steps = 200,
                 std::size_t bytes = TUndoHistory::KDefaultByteLimit);
    ~TEditSession();

    // A fresh history holding the model as it is.
    void Reset();
    // The end of a command (every full repaint): a model that differs from the one last seen, or
    // one announced by Edited, has been edited. It is computed again when live results are on and
    // armed, and recorded as a step unless a drag or a command of several repaints is under way.
    // The models are compared by their prints (ModelPrint); the text is written only for a step.
    // While a node is dragged, a move it announces is taken as it is, without looking at the model.
    void Look();
    // A command announces an edit (also one the next look would not see): results are stale.
    void Edited();
    // The end of a drag: its edits are one step.
    void EndDrag();
    // A command that repaints several times (a new or opened project) is one step. Nestable.
    void BeginCommand();
    void EndCommand();
    // Records an edit not yet seen, without computing (before undo, redo and the compute command).
    void Settle();
    // After the compute command: the equilibrium or the place of a refusal, live results armed on
    // success. What the computation changed by itself (members turned round) is no step.
    void Computed(const TSolveStatus& status);
    // The compute command off the window's thread, for a frame that large: false (nothing done)
    // for a smaller one or a model that cannot be copied; the command then computes as ever. Its
    // results are taken at the first look after it has finished, if the model is still the one
    // it computes (CommandComputed); an edit in the meantime drops them.
    bool ComputeInBackground();
    // The user stops the running computation: the model stays as it is, without results.
    void CancelComputation();
    // A computation runs off the window's thread.
    bool Computing() const { return mJob != nullptr; }
    // Waits until the running computation has finished (tests; the next look takes its results).
    void WaitForComputation();
    void Undo();
    void Redo();
    // A new or opened project: live results wait for the next successful computation, and the
    // note and the mark of the last one go.
    void Disarm();

    bool LiveArmed() const { return mLiveArmed; }
    // An announced edit that no look has seen yet.
    bool EditPending() const { return mEditPending; }
    // Inside a look or an undo: repaints they cause paint nothing (one follows at the end).
    bool Looking() const { return mLooking; }
    const TUndoHistory& History() const { return mHistory; }
    // Where the last refused computation moves (no node when none was refused).
    TDofPlace Mechanism() const { return mMechanism; }
    void SetSnapshotter(TSnapshotter snapshotter) { mSnapshotter = std::move(snapshotter); }
    // From how many nodes on a frame is computed off the window's thread (tests: 0 for every one).
    void SetBackgroundFrom(int nodes) { mBackgroundFrom = nodes; }
    // How long a live computation is waited for before the window goes on without its results.
    void SetBriefWait(std::chrono::milliseconds wait) { mBriefWait = wait; }
    // Runs on the computing thread before each computation starts (tests hold it there).
    void SetComputationHook(std::function<void()> hook) { mHook = std::move(hook); }
    // For tests: every look and settle that finds the print unchanged also writes the text and
    // compares it with the state at the history's position; a difference (an edit the print
    // missed) is handed to `missed` and recorded as an edit all the same. Empty: off. Returns the
    // check that was set before.
    using TMissedEdit = std::function<void(const TModelSnapshot& seen, const TModelSnapshot& now)>;
    static TMissedEdit CheckPrints(TMissedEdit missed);

private:
    bool Snapshot(TModelSnapshot& out);
    // The print of the model last seen; false when it is not known (no history, or a drag's
    // announced moves since).
    bool SeenPrint(std::uint64_t& print) const;
    bool Holding() const;
    // The model is the state at the history's position: its view is kept, nothing else.
    void KeepView();
    // The current objects, caption and live flag as a state keeps them.
    TModelView ViewNow() const;
    // With CheckPrints on: whether the text of the model differs from the history's state.
    bool Missed();
    void ForgetHeld();
    void Record(TModelSnapshot now);
    bool RunLive(const TModelSnapshot* before);
    void ShowLiveOutcome(const TLiveOutcome& outcome);
    void AmendComputed();
    bool Background() const;
    void StartJob(bool command, const TModelSnapshot& source);
    void DropJob();
    void StartWhenFree();
    void Reap();
    bool Finish();
    void BusyChanged();
    void ResultsStale();
    void Step(bool back);
    void OutOfMemory();
    void Availability();

    TMKPSpace& mSpace;
    TEditHost& mHost;
    TUndoHistory mHistory;
    TSnapshotter mSnapshotter;
    // The print of the model as last seen while a drag or a command holds the history back
    // (otherwise the state at the history's position is the model last seen), and of a model seen
    // whose text the project writer refused (no state holds it).
    bool mHeld = false;
    bool mHeldKnown = false; // mHeldPrint is the held model's print
    std::uint64_t mHeldPrint = 0;
    bool mHeldEdited = false; // the held model differs from the history's
    bool mUnwritten = false;
    std::uint64_t mUnwrittenPrint = 0;
    int mCommands = 0;         // depth of BeginCommand
    bool mEditPending = false; // Edited since the last look
    bool mLooking = false;
    bool mLiveAtRelease = false; // a drag of a large frame is computed when it ends
    bool mLiveArmed = false; // a computation succeeded since the last new or opened project
    bool mMemoryReported = false;
    TDofPlace mMechanism;
    // The computation off the window's thread, the snapshot it computes, and those dropped that
    // have not ended yet.
    std::unique_ptr<TBackgroundComputation> mJob;
    std::shared_ptr<const TModelSnapshot> mJobSource;
    std::vector<std::unique_ptr<TBackgroundComputation>> mDropped;
    int mBackgroundFrom = KBackgroundFrom;
    std::chrono::milliseconds mBriefWait = KBriefWait;
    std::function<void()> mHook;
    bool mBusyShown = false;
    // The equilibrium check the compute command's computation made off the thread, for Computed.
    std::unique_ptr<TEquilibrium> mCheckedEquilibrium;
};
