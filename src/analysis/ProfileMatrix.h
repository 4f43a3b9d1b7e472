#pragma once
// The global stiffness matrix held as its profile (skyline): for every position p the lower part of
// row p and the upper part of column p from column/row First(p) up to the diagonal. The envelope is
// symmetric, taken from the member connectivity, so it holds every entry that can be non-zero in
// either triangle. Indices run from 1 to Size(); index 0 exists for the layout of the dense arrays
// and is never used.
//
// The equations are held either in the model's order (position = equation number) or in another
// order that shrinks the profile (see EquationOrder.h). At, Ref, InProfile and ClearRowAndColumn
// take the model's equation numbers; the elimination and the back substitution work on vectors
// indexed by position (ToPositions / FromPositions convert).
//
// Gaussian elimination without pivoting never creates a non-zero outside this envelope, and every
// entry inside it receives the same updates, in the same order and with the same operands, as in
// the dense elimination of the whole matrix (the skipped updates only add a signed zero to a value
// that is never -0). In the model's order the results therefore equal those of the dense
// elimination bit for bit.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "base/Types.h"

// Outcome of a solution: the structure was solved, or refused at equation Equation (and, where
// the refusal lies with a member or one of its loads, at that member and load).
enum class TSolveResult {
    Ok,
    NoMembers,
    ZeroPivot,
    Mechanism,
    Refused,     // a value of the model, or a result, that is not a number the computation can use
    Unbalanced,  // the solution does not satisfy the equations (its residual is above KResidualLimit)
    ShortMember, // a member so much shorter than the others that the equations cannot be solved
    LoadOutside  // a member load that reaches past the member's ends
};
// A refused structure that has no support at all, or whose part that moves has none.
enum class TUnsupported { No, Part, Whole };
struct TSolveStatus {
    TSolveResult Result = TSolveResult::Ok;
    int Equation = 0; // 1-based; 0 when Result is Ok or NoMembers, or the refusal has none
    int Member = 0;   // the member at fault (1-based number), 0 when none
    int Load = 0;     // with Member: its load at fault (1-based position in its list)
    TUnsupported Unsupported = TUnsupported::No;
    bool operator==(const TSolveStatus&) const = default;
};

// The smallest diagonal that the elimination accepts, and the smallest one relative to the
// diagonal the row had before the elimination. What the elimination leaves of the diagonal of an
// exact mechanism is rounding residue, about 1e-19 to 1e-11 of that row's original diagonal
// (within 1e-13 in 99 % of measured sway mechanisms); a fine division (a cantilever of 1000
// members: 2.5e-10) or a rigid link with its modulus raised a millionfold (1e-9 .. 1e-12) keeps
// more. Below KPivotRatioLimit the solution could not meet KResidualLimit anyway.
constexpr TReal KMechanismLimit = 1e-15L;
constexpr TReal KPivotRatioLimit = 1e-14L;

// The largest equilibrium residual ‖K·u − f + R‖/‖f‖ over every degree of freedom (f: the loads
// less the fixed-end forces, R: the reactions; as the equilibrium check measures it) of a solution
// the computation accepts. Measured: the bundled examples 4e-20 .. 7e-18, the same with every modulus raised a
// millionfold, rigid links (modulus × 10⁶) 2e-14 .. 2e-11, × 10⁹ 2e-8, a cantilever of 1000
// members 6e-9; sway mechanisms that an absolute pivot test lets through 3.5e-4 .. 16, a member of
// 1e-14 m among members of metres 2e-5. What an ill-conditioned but sound frame reaches grows with
// its condition, so the bound leaves such frames two orders of magnitude.
constexpr TReal KResidualLimit = 1e-6L;

// How the elimination runs: on this thread, or on two threads at once (same results bit for bit);
// Automatic takes two threads when the work is large enough to pay for the hand-over at every
// step and the machine has a core to spare.
enum class TElimination { Automatic, Serial, Parallel };
// The work (Σ of the squared envelope widths) from which Automatic considers two threads, and the
// mean work of one step below which the hand-over between the threads costs more than it saves.
constexpr double KParallelTerms = 1e7;
constexpr double KParallelTermsPerStep = 1.5e4;
// The work (multiply-adds) from which the substitution of several right-hand sides considers two
// threads.
constexpr double KParallelSubstitution = 1e6;

class TProfileMatrix {
public:
    // An entry as the sum of two doubles (the elimination's fast form of a finished entry).
    struct TSplit {
        double Hi, Lo;
    };
    // One stored entry: the 80-bit value until its step of the elimination is finished, then (as
    // long as every finished entry has been exact in that form) its split form, in the same place.
    union TEntry {
        TReal Real;
        TSplit Split;
    };
    static_assert(sizeof(TEntry) == sizeof(TReal), "an entry keeps the size of an 80-bit value");

    // first[p] (1 <= first[p] <= p) for p = 1..n; first[0] is ignored. position[e] is the position
    // of model equation e (a permutation of 1..n; empty: the model's order). Every entry starts
    // at 0; the memory comes zeroed from the system and is not written before it is used.
    explicit TProfileMatrix(const std::vector<int>& first, std::vector<int> position = {});
    TProfileMatrix() = default;
    TProfileMatrix(TProfileMatrix&& other) noexcept;
    TProfileMatrix& operator=(TProfileMatrix&& other) noexcept;
    TProfileMatrix(const TProfileMatrix&) = delete;
    TProfileMatrix& operator=(const TProfileMatrix&) = delete;
    ~TProfileMatrix();

    int Size() const { return mN; }
    bool Empty() const { return mN == 0; }
    // Whether the equations are held in another order than the model's.
    bool Reordered() const { return !mPosition.empty(); }
    int Position(int e) const { return mPosition.empty() ? e : mPosition[std::size_t(e)]; }
    int EquationAt(int p) const { return mPosition.empty() ? p : mEquation[std::size_t(p)]; }
    // Envelope start of the row and column at position p.
    int First(int p) const { return mFirst[std::size_t(p)]; }
    // Entries stored (both triangles and the diagonal), and the bytes they take.
    std::size_t StoredEntries() const { return 2 * mHalf + std::size_t(mN); }
    std::size_t StoredBytes() const { return StoredEntries() * sizeof(TEntry); }
    // The work of eliminating this profile (Σ of the squared envelope widths).
    double EliminationTerms() const;

    // The value at [i][j] of the model's equations; 0 outside the envelope.
    TReal At(int i, int j) const {
        const int p = Position(i), q = Position(j);
        if (p == q) return mDiag[std::size_t(p)];
        if (q < p) return q >= First(p) ? Read(mLower[Index(p, q)], p) : 0.0L;
        return p >= First(q) ? Read(mUpper[Index(q, p)], q) : 0.0L;
    }
    bool InProfile(int i, int j) const {
        const int p = Position(i), q = Position(j);
        return p == q || (q < p ? q >= First(p) : p >= First(q));
    }
    // A reference to an entry inside the envelope, before the elimination.
    TReal& Ref(int i, int j) {
        const int p = Position(i), q = Position(j);
        if (p == q) return mDiag[std::size_t(p)];
        if (q < p) return mLower[Index(p, q)].Real;
        return mUpper[Index(q, p)].Real;
    }

    // Sets row k and column k (a model equation) to 0 and the diagonal to 1.
    void ClearRowAndColumn(int k);
    // Row k (a model equation) inside the envelope as (equation, value) pairs in ascending
    // equation order, before the elimination.
    std::vector<std::pair<int, TReal>> Row(int k) const;

    // A vector by model equation as a vector by position, and back.
    TVector ToPositions(const TVector& byEquation) const;
    TVector FromPositions(const TVector& byPosition) const;

    // Forward elimination without pivoting on the matrix and the right-hand side fg (by position,
    // 1..n), then the check of the diagonal. Stops at the first zero pivot of positions 1..n-1; a
    // diagonal below KMechanismLimit or below KPivotRatioLimit times the row's diagonal before the
    // elimination (or one that is not a number) is a mechanism; the status names the position.
    // The matrix then holds the eliminated upper triangle (and the multipliers below it).
    TSolveStatus Eliminate(TVector& fg, TElimination how = TElimination::Automatic);
    // Back substitution on an eliminated matrix (by position): rg = solution, fg is consumed.
    void BackSubstitute(TVector& fg, TVector& rg) const;
    // Another right-hand side on an eliminated matrix (by position): the forward elimination with
    // the stored multipliers, then the back substitution; fg is consumed.
    void Solve(TVector& fg, TVector& rg) const;
    // Several right-hand sides on an eliminated matrix at once: x holds them interleaved by
    // position (x[p·m + r] is position p of right-hand side r, m of them; position 0 unused) and
    // receives the solutions. Each one goes through the operations of Solve in the same order, so
    // it gets the same bits; each row of the profile is read once for a group of them. With
    // two threads (how: as the elimination's), each takes a share of the right-hand sides.
    void SolveMany(std::vector<TReal>& x, std::size_t m, TElimination how = TElimination::Serial) const;

private:
    // Steps of up to KMaxStepRows positions m.. with the same envelope start.
    static constexpr int KMaxStepRows = 3;
    bool EliminateSerially(TVector& fg, int& pivot);
    bool EliminateInParallel(TVector& fg, int& pivot);
    int StepRows(int m) const;
    template <bool Lower> void FormHalfStep(int m, int rows);
    bool FinishStep(int m, int rows, TVector& fg, int& pivot);
    void StoreFinished(int m, int rows);
    bool UseTwoThreads(TElimination how) const;
    static bool SubstituteOnTwoThreads(TElimination how, double terms);
    void Release();

    // An entry of row/column p as a value: split once p's step is finished, 80-bit otherwise.
    TReal Read(const TEntry& e, int p) const {
        return mSplitForm && p < mFinished ? TReal(e.Split.Hi) + e.Split.Lo : e.Real;
    }
    // Position of the entry [p][q] of row p's lower part (or of column p's upper part), q < p.
    std::size_t Index(int p, int q) const { return std::size_t(mOffset[std::size_t(p)] + q); }

    int mN = 0;
    std::vector<int> mFirst;
    std::vector<int> mLast;              // the last position whose envelope reaches p
    std::vector<std::ptrdiff_t> mOffset; // start of row/column p minus First(p)
    std::vector<int> mPosition;          // by model equation; empty in the model's order
    std::vector<int> mEquation;          // by position
    std::size_t mHalf = 0;               // entries of one triangle
    TEntry* mLower = nullptr;            // row p: columns First(p) .. p-1
    TEntry* mUpper = nullptr;            // column q: rows First(q) .. q-1
    void* mBlock = nullptr;              // the memory of both
    std::size_t mBlockBytes = 0;
    std::vector<TReal> mDiag;
    // Positions below mFinished have finished their step; their entries are split while
    // mSplitForm holds (every finished entry was exact as two doubles so far).
    int mFinished = 0;
    bool mSplitForm = true;
};
