#pragma once
// The global stiffness matrix held as its profile (skyline): for every equation i the lower part of
// row i and the upper part of column i from column/row First(i) up to the diagonal. The envelope is
// symmetric, taken from the member connectivity, so it holds every entry that can be non-zero in
// either triangle. Indices run from 1 to Size(); index 0 exists for the layout of the dense arrays
// and is never used.
//
// Gaussian elimination without pivoting never creates a non-zero outside this envelope, and every
// entry inside it receives the same updates, in the same order and with the same operands, as in
// the dense elimination of the whole matrix (the skipped updates only add a signed zero to a value
// that is never -0). The results therefore equal those of the dense elimination bit for bit.
#include <cstddef>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/Types.h"

// Outcome of a solution: the structure was solved, or refused at equation Equation.
enum class TSolveResult {
    Ok,
    NoMembers,
    ZeroPivot,
    Mechanism,
    Refused // a value of the model, or a result, that is not a number the computation can use
};
struct TSolveStatus {
    TSolveResult Result = TSolveResult::Ok;
    int Equation = 0; // 1-based; 0 when Result is Ok or NoMembers
    bool operator==(const TSolveStatus&) const = default;
};

// The smallest diagonal that the elimination accepts.
constexpr TReal KMechanismLimit = 1e-15L;

// How the elimination runs: on this thread, or on two threads at once (same results bit for bit);
// Automatic takes two threads when the machine has them and the matrix is large.
enum class TElimination { Automatic, Serial, Parallel };
// The work (Σ of the squared envelope widths) from which Automatic takes two threads.
constexpr double KParallelTerms = 2e7;

class TProfileMatrix {
public:
    // An entry as the sum of two doubles (the elimination's fast copy of a finished entry).
    struct TSplit {
        double Hi, Lo;
    };

    // first[i] (1 <= first[i] <= i) for i = 1..n; first[0] is ignored. Every entry starts at 0.
    explicit TProfileMatrix(const std::vector<int>& first);
    TProfileMatrix() = default;

    int Size() const { return mN; }
    bool Empty() const { return mN == 0; }
    int First(int i) const { return mFirst[std::size_t(i)]; }
    // Entries stored (both triangles and the diagonal).
    std::size_t StoredEntries() const { return mLower.size() + mUpper.size() + std::size_t(mN); }

    // The value at [i][j]; 0 outside the envelope.
    TReal At(int i, int j) const {
        if (i == j) return mDiag[std::size_t(i)];
        if (j < i) return j >= First(i) ? mLower[Index(i, j)] : 0.0L;
        return i >= First(j) ? mUpper[Index(j, i)] : 0.0L;
    }
    bool InProfile(int i, int j) const { return i == j || (j < i ? j >= First(i) : i >= First(j)); }
    // A reference to an entry inside the envelope.
    TReal& Ref(int i, int j) {
        if (i == j) return mDiag[std::size_t(i)];
        if (j < i) return mLower[Index(i, j)];
        return mUpper[Index(j, i)];
    }

    // Sets row k and column k to 0 and the diagonal to 1.
    void ClearRowAndColumn(int k);

    // Forward elimination without pivoting on the matrix and the right-hand side fg (indices 1..n),
    // then the check of the diagonal. Stops at the first zero pivot of equations 1..n-1; a
    // diagonal below KMechanismLimit (or one that is not a number) after the elimination is a
    // mechanism. The matrix holds the eliminated upper triangle (and the multipliers below it).
    TSolveStatus Eliminate(TVector& fg, TElimination how = TElimination::Automatic);
    // Back substitution on an eliminated matrix: rg = solution, fg is consumed.
    void BackSubstitute(TVector& fg, TVector& rg) const;
    // out[i] += Σj [i][j] · x[j] for j ascending, as a dense row-by-row product does it.
    void AddProduct(const TVector& x, TVector& out) const;

private:
    // Steps of up to KMaxStepRows equations m.. with the same envelope start; false when a pivot
    // of equations 1..n-1 is zero (pivot then names it).
    static constexpr int KMaxStepRows = 3;
    // The finished entries of both halves, each split into two doubles (see the elimination), and
    // whether every split so far holds its entry exactly.
    struct TSplits {
        std::unique_ptr<TSplit[]> Lower, Upper;
        std::atomic<bool> Exact{true};
    };
    bool EliminateSerially(TVector& fg, int& pivot, TSplits& splits);
    bool EliminateInParallel(TVector& fg, int& pivot, TSplits& splits);
    int StepRows(int m) const;
    template <bool Lower> void FormHalfStep(int m, int rows, TSplits& splits);
    bool FinishStep(int m, int rows, TVector& fg, int& pivot, TSplits& splits);
    double EliminationTerms() const;

    // Position of the entry [i][j] of row i's lower part (or of column i's upper part), j < i.
    std::size_t Index(int i, int j) const { return std::size_t(mOffset[std::size_t(i)] + j); }

    int mN = 0;
    std::vector<int> mFirst;
    std::vector<std::ptrdiff_t> mOffset; // start of row/column i minus First(i)
    std::vector<TReal> mLower;           // row i: columns First(i) .. i-1
    std::vector<TReal> mUpper;           // column j: rows First(j) .. j-1
    std::vector<TReal> mDiag;
};
