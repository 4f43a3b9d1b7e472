#pragma once
// Undo and redo by snapshots of the model. A snapshot is the project text that the project writer
// makes of the model (in memory), plus what that text does not carry but an edit can change, bit
// for bit: every real at full precision, the member loads' distances to node b, the self-weight
// loads where they stand in each member's load list, the members' divisions, the self-weight
// option, the model's member division and the self-weight coefficient. Restoring reads the text
// back into a fresh model and exchanges it with the window's, so whatever a command can store in
// a project -- and only that -- comes back, without any command having to describe its own
// inverse. The history keeps one state whole and every other one as the difference to its
// neighbour. Plain C++; the edit session drives it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Types.h"

class TMKPSpace;

// What is current while a state is shown; not part of the model's identity. Objects are list
// positions (-1: none); the section on the clipboard is named (names are unique in a project).
struct TModelView {
    int CurrentNode = -1;
    int CurrentMember = -1;
    int CurrentSection = -1;
    int CurrentMaterial = -1;
    int NodeLoad = -1;   // of the current node
    int MemberLoad = -1; // of the current member
    bool HasClipboard = false;
    std::string Clipboard;
    // Kept for the window: its caption, and whether live results were armed.
    std::string Caption;
    bool LiveArmed = false;
};

struct TModelSnapshot {
    std::string Project; // UlozProjekt into memory
    std::string Exact;   // the rest, bit for bit (TakeSnapshot)
    TModelView View;
    std::uint64_t Print = 0; // ModelPrint of the model it was taken from

    // The same model, whatever is current.
    bool Same(const TModelSnapshot& other) const { return Project == other.Project && Exact == other.Exact; }
    std::size_t Bytes() const;
};

// A digest of everything a snapshot holds of the model (the project text and the exact part, not
// the view), read from the objects' fields without writing any text: models whose snapshots are
// the same have the same print, and an edit changes it (but for a 64-bit coincidence). It is what
// the edit session compares at every look; the text is written only once the print has changed.
std::uint64_t ModelPrint(const TMKPSpace& space);

// The current objects and the clipboard of the model, as a snapshot keeps them.
TModelView ViewOf(const TMKPSpace& space);

// The model as a snapshot. False (out untouched) when the project writer refuses the model, for
// example a name that the project's code page cannot hold. A failed allocation is thrown
// (std::bad_alloc), never taken for a refusal. `sizeHint`: the expected length of the text.
bool TakeSnapshot(const TMKPSpace& space, TModelSnapshot& out, std::size_t sizeHint = 0);

// Puts the snapshot's model into space: a fresh model is read from the text and completed from
// the exact part, then exchanged with the old one (settings, units, view and display stay); the
// selections are emptied. The current objects and the clipboard are taken from `current` (the
// state being left: positions beyond a list fall to its last object); where that names none but
// the list has objects, from the snapshot's own view; a current node or member with loads has a
// current load. Results are gone with the old objects.
// Throws what the reader throws; then the space is as it was.
void RestoreSnapshot(TMKPSpace& space, const TModelSnapshot& snapshot, const TModelView& current);

// A text rebuilt from a reference text: its first Head bytes, then Middle, then its last Tail bytes.
struct TTextPatch {
    std::size_t Head = 0;
    std::size_t Tail = 0;
    std::string Middle;
};
TTextPatch MakePatch(const std::string& reference, const std::string& target);
std::string ApplyPatch(const std::string& reference, const TTextPatch& patch);

// A linear history of snapshots with a position. The state at the position is the model as it
// is now and is kept whole; the others are kept as patches against their neighbour towards the
// position. Undo moves one step back, Redo one forward; a commit after an undo drops the steps
// ahead. The oldest steps go (then the farthest ahead) when more than Limit steps or more than
// ByteLimit bytes of steps would be kept; the byte limit is never below the size of the state
// at the position, so that one step that replaces the whole model can always be taken back.
class TUndoHistory {
public:
    static constexpr std::size_t KDefaultByteLimit = std::size_t(256) << 20;
    explicit TUndoHistory(std::size_t limit = 200, std::size_t byteLimit = KDefaultByteLimit)
        : mLimit(limit < 1 ? 1 : limit), mByteLimit(byteLimit) {}

    // A fresh history holding only this state.
    void Reset(TModelSnapshot state);
    // No state at all (after memory ran out); the next commit starts afresh.
    void Clear();
    // Records the model after an edit. False (nothing recorded, only the view kept) when it is
    // the same model as the state at the position.
    bool Commit(TModelSnapshot state);
    // The view of the state at the position (the model did not change since it was recorded).
    void SetView(TModelView view) {
        if (mCurrent) mCurrent->View = std::move(view);
    }
    // Replaces the state at the position without a step: what a computation did to the model by
    // itself belongs to the state it was made from. The steps on either side stay.
    void Amend(TModelSnapshot state);
    bool CanUndo() const { return !mBack.empty(); }
    bool CanRedo() const { return !mAhead.empty(); }
    // Moves one step and returns the state now at the position, with in `left` the view of the
    // state that was left. nullptr (nothing moved) when there is no step.
    const TModelSnapshot* Undo(TModelView& left);
    const TModelSnapshot* Redo(TModelView& left);
    // The state at the position (nullptr before the first Reset and after Clear).
    const TModelSnapshot* Current() const { return mCurrent.get(); }
    std::size_t Steps() const { return mBack.size() + mAhead.size(); }
    std::size_t Position() const { return mBack.size(); }
    std::size_t Limit() const { return mLimit; }
    std::size_t ByteLimit() const { return mByteLimit; }
    // The bytes the steps take (the state at the position not counted).
    std::size_t Bytes() const { return mBytes; }

private:
    // A neighbouring state as patches against the state next to it towards the position.
    struct TStep {
        TTextPatch Project;
        TTextPatch Exact;
        TModelView View;
        std::uint64_t Print = 0;
        std::size_t Bytes() const;
    };
    static TStep StepTo(const TModelSnapshot& from, const TModelSnapshot& to);
    static TModelSnapshot Rebuild(const TModelSnapshot& from, const TStep& step);
    const TModelSnapshot* Move(std::vector<TStep>& from, std::vector<TStep>& to, TModelView& left);
    void Trim();

    std::unique_ptr<TModelSnapshot> mCurrent;
    std::vector<TStep> mBack;  // back(): the state before the one at the position
    std::vector<TStep> mAhead; // back(): the state after it
    std::size_t mBytes = 0;
    std::size_t mLimit;
    std::size_t mByteLimit;
};
