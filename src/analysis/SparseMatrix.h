#pragma once
// The global stiffness matrix of a large frame held as its non-zero blocks, factored by a sparse
// supernodal Cholesky factorization (CHOLMOD) after a fill-reducing order of the nodes (AMD, or
// nested dissection where that fills less). The profile (ProfileMatrix.h) costs the square of its
// width per equation; this costs what the fill of the order costs, about n^1.5 on a plane grid.
//
// The matrix itself is kept in 80 bits, as assembled (both triangles), and the factor in double.
// A solution is refined against the 80-bit matrix: the residual f − K·x is formed in 80 bits and
// solved on the factor, and x takes the correction for as long as the corrections shrink, so the
// answer is as accurate as the profile's 80-bit elimination gives it.
//
// Equations are numbered as the model numbers them (node v owns equations 3v+1 .. 3v+3); At, Ref,
// Row and ClearRowAndColumn take those numbers, and vectors are indexed by them (index 0 unused).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "analysis/ProfileMatrix.h"
#include "base/Types.h"

// Which solver a computation takes: Automatic decides by the estimated work, Profile always
// eliminates the profile, Sparse factors every frame sparsely (a frame that the sparse factor
// refuses is decided again on the profile while that fits KSparseRecheckBytes, see Solver.cpp),
// SparseAlone too but refuses as the sparse factor finds, as a frame past that size is refused.
enum class TSolverPath { Automatic, Profile, Sparse, SparseAlone };

// The profile work (Σ of the squared envelope widths) from which Automatic estimates the sparse
// factorization at all, and by how much the profile work must exceed the sparse factorization's
// floating-point operations for the sparse path to be taken. Measured on grids (whole
// computations, bench/solve_bench BM_SolverPath): a profile term and an operation of the sparse
// path (its ordering, refinement and overheads included) cost about the same, 1 to 1.5 ns, and
// the two paths meet where the profile's terms are 1.5 to 2 times the operations (about 2,000
// nodes). Below KSparseMinTerms the profile takes some 50 ms at most and keeps its results equal
// to the dense elimination's to the bit, so it stays.
constexpr double KSparseMinTerms = 5e7;
constexpr double KSparseGain = 2.0;

// The largest profile (bytes) that a refusal of the sparse factor is decided on again (the
// profile's elimination names the equation exactly as a frame solved there would); larger frames
// are refused at the equation whose pivot the sparse factor found wanting.
constexpr double KSparseRecheckBytes = 2.0 * 1024 * 1024 * 1024;

class TSparseMatrix {
public:
    // The pattern of a frame of nodes 0..nodes-1 joined by links (node pairs): equation 3v+k is
    // coupled to the equations of v and of its neighbours. Every entry starts at 0.
    TSparseMatrix(int nodes, const std::vector<std::pair<int, int>>& links);
    TSparseMatrix(const TSparseMatrix&) = delete;
    TSparseMatrix& operator=(const TSparseMatrix&) = delete;
    ~TSparseMatrix();

    int Size() const { return 3 * mNodes; }
    // Entries held (both triangles and the diagonal).
    std::size_t StoredEntries() const { return mValues.size(); }

    // A reference to the entry [i][j]; it must lie in the pattern (InPattern).
    TReal& Ref(int i, int j) { return mValues[Index(i, j)]; }
    bool InPattern(int i, int j) const;
    // The value at [i][j]; 0 outside the pattern.
    TReal At(int i, int j) const { return InPattern(i, j) ? mValues[Index(i, j)] : 0.0L; }
    // Row k inside the pattern as (equation, value) pairs in ascending equation order.
    std::vector<std::pair<int, TReal>> Row(int k) const;
    // Sets row k and column k to 0 and the diagonal to 1.
    void ClearRowAndColumn(int k);
    // r = b − K·x over every equation, in 80 bits.
    void Residual(const TReal* b, const TReal* x, TReal* r) const;

    // The fill-reducing order and the symbolic factorization (the pattern only). Returns the
    // floating-point operations the numeric factorization will take.
    double Analyse();
    // The numeric factorization of the matrix as it stands (supports cleared). Ok, or a
    // refusal at the equation whose pivot is not positive, below KMechanismLimit or below
    // KPivotRatioLimit times its diagonal (Mechanism; ZeroPivot where the pivot is exactly 0).
    TSolveStatus Factorize();
    // The solution of K·x = fg, refined in 80 bits; fg and x by equation (index 0 unused).
    // Returns the last relative residual ‖f − K·x‖/‖f‖ (the maximum norm; 0 for f = 0).
    TReal Solve(const TVector& fg, TVector& x) const;
    // Several right-hand sides at once: x[e·m + r] is equation e of right-hand side r (e = 1..n,
    // row 0 unused), replaced by the solutions; each is refined as Solve refines it and gets the
    // bits it gets alone. With two threads (how: as the elimination's) each refines a share of them.
    void SolveMany(std::vector<TReal>& x, std::size_t m, TElimination how = TElimination::Serial) const;

private:
    std::size_t Index(int i, int j) const;
    int Slot(int v, int w) const; // position of node w among v's neighbours, -1 if none
    // Solves on the factor (double) m right-hand sides held by rows; see SparseMatrix.cpp.
    void FactorSolve(double* x, std::size_t m) const;
    void ResidualRows(const TReal* f, const TReal* x, std::size_t m, const std::vector<std::size_t>& cols, double* b) const;
    void RefineAll(const TReal* f, TReal* x, std::size_t m) const;
    void FormResidualTerms();

    int mNodes = 0;
    // Neighbours of node v (v included, ascending): mNext[mStart[v] .. mStart[v+1]).
    std::vector<int> mStart, mNext;
    // Row 3v+k (k = 0..2) holds 3·deg(v) values from 9·mStart[v] + 3·deg(v)·k.
    std::vector<TReal> mValues;

    // The nonzero entries of the matrix as the refinement's residuals take them (FormResidualTerms):
    // row e's groups are mTermRow[e] .. mTermRow[e+1]; group g's entries mTermGroups[g] ..
    // mTermGroups[g+1], each an equation (0-based) and its value.
    std::vector<std::uint32_t> mTermRow, mTermGroups, mTermIndex;
    std::vector<TReal> mTermValue;

    struct TCholmod;
    std::unique_ptr<TCholmod> mCholmod;
};
