#pragma once
// Undo and redo by snapshots of the model. A snapshot is the project text that the project writer
// makes of the model (in memory), plus what that text does not carry but an edit can change: the
// self-weight option and each member's division. Restoring reads the text back into a fresh model
// and exchanges it with the window's, so whatever a command can store in a project -- and only
// that -- comes back, without any command having to describe its own inverse. Plain C++; the
// main window drives it from its one end-of-command place.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/Types.h"

class TMKPSpace;

struct TModelSnapshot {
    std::string Project;          // UlozProjekt into memory
    bool SelfWeight = false;
    std::vector<std::int32_t> Divisions; // per member
    // Every real of the model at full precision (the text holds 15 digits), with the derived
    // distances of member loads that the text does not hold, in a fixed order.
    std::vector<TReal> Exact;
    // The current objects as list positions (-1: none), and the current load of the current node
    // and member. They are not part of the model's identity (Same ignores them).
    int CurrentNode = -1;
    int CurrentMember = -1;
    int CurrentSection = -1;
    int CurrentMaterial = -1;
    int NodeLoad = -1;
    int MemberLoad = -1;

    // The same model (text, self-weight, divisions), whatever is current.
    bool Same(const TModelSnapshot& other) const;
};

// The model as a snapshot (the reals bit for bit). False (out untouched) when the project writer refuses the model, for
// example a name that the project's code page cannot hold.
bool TakeSnapshot(const TMKPSpace& space, TModelSnapshot& out);

// Puts the snapshot's model into space: a fresh model read from the text replaces the old one
// (settings, units, view and display stay), the self-weight option and the divisions are set
// again, the selections are emptied and the current objects are taken from `current` (positions
// beyond a list fall to its last object). Results are gone with the old objects.
void RestoreSnapshot(TMKPSpace& space, const TModelSnapshot& snapshot, const TModelSnapshot& current);

// A linear history of snapshots with a position. The state at the position is the model as it
// is now; Undo moves one step back, Redo one forward; a commit after an undo drops the steps
// ahead. The oldest states go when more than Limit steps would be kept.
class TUndoHistory {
public:
    explicit TUndoHistory(std::size_t limit = 200) : mLimit(limit < 1 ? 1 : limit) {}

    // A fresh history holding only this state.
    void Reset(const TModelSnapshot& state);
    // Records the model after an edit. False (nothing recorded) when it is the same model as the
    // state at the position.
    bool Commit(const TModelSnapshot& state);
    bool CanUndo() const { return mPosition > 0; }
    bool CanRedo() const { return mPosition + 1 < mStates.size(); }
    // Moves one step and returns the state to restore, with in `current` the snapshot whose
    // current objects suit the step (for an undo: the state being left, whose objects the
    // undone edit touched). nullptr when there is no step.
    const TModelSnapshot* Undo(const TModelSnapshot*& current);
    const TModelSnapshot* Redo(const TModelSnapshot*& current);
    // The state at the position (nullptr before the first Reset).
    const TModelSnapshot* Current() const { return mStates.empty() ? nullptr : &mStates[mPosition]; }
    std::size_t Steps() const { return mStates.empty() ? 0 : mStates.size() - 1; }
    std::size_t Position() const { return mPosition; }
    std::size_t Limit() const { return mLimit; }

private:
    std::vector<TModelSnapshot> mStates;
    std::size_t mPosition = 0;
    std::size_t mLimit;
};
