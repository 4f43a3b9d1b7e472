#include "analysis/ProfileMatrix.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <system_error>
#include <thread>

TProfileMatrix::TProfileMatrix(const std::vector<int>& first)
    : mN(int(first.size()) - 1), mFirst(first), mOffset(first.size(), 0), mDiag(first.size(), 0.0L) {
    std::ptrdiff_t size = 0;
    for (int i = 1; i <= mN; ++i) {
        assert(mFirst[std::size_t(i)] >= 1 && mFirst[std::size_t(i)] <= i);
        mOffset[std::size_t(i)] = size - mFirst[std::size_t(i)];
        size += i - mFirst[std::size_t(i)];
    }
    mLower.assign(std::size_t(size), 0.0L);
    mUpper.assign(std::size_t(size), 0.0L);
}

void TProfileMatrix::ClearRowAndColumn(int k) {
    const std::size_t base = Index(k, First(k));
    std::fill(mLower.begin() + std::ptrdiff_t(base), mLower.begin() + std::ptrdiff_t(base) + (k - First(k)),
              0.0L);
    std::fill(mUpper.begin() + std::ptrdiff_t(base), mUpper.begin() + std::ptrdiff_t(base) + (k - First(k)),
              0.0L);
    // Column k below the diagonal and row k right of it live in the later rows and columns.
    for (int i = k + 1; i <= mN; ++i) {
        if (First(i) > k) continue;
        mLower[Index(i, k)] = 0;
        mUpper[Index(i, k)] = 0;
    }
    mDiag[std::size_t(k)] = 1;
}

// The dense elimination runs, for k = 1..n-1 and i > k, f = -([i][k] / [k][k]) and [i][j] += f·[k][j]
// for j >= k, fg[i] += f·fg[k]. Each entry thus receives its updates in ascending k, each one the
// product of the row's multiplier and the final value of row k. The code below forms the same
// sums entry by entry (Crout order): for equation m first row m left of the diagonal (turning each
// entry into its multiplier) and column m above the diagonal, then the diagonal and fg[m]. Only
// the terms with both factors inside the envelope are formed; the others are ±0. The residue that
// the dense loop leaves below the diagonal (from j = k) is never read again.
//
// Row m left of the diagonal needs only the finished columns above the diagonal of the earlier
// equations, and column m above the diagonal only their finished rows: the two halves are
// independent, and a large matrix has them formed by two threads at once. Every sum is formed by
// the same code with the same terms in the same order either way.
namespace {
// The entries own_r[j + c] (r < R, c < C) of R rows (or columns) m.. that share the envelope start
// f, each the sum of its old value and own_r[k]·other_{j+c}[k] for k ascending, where other_j is
// column j above the diagonal (or row j left of it) and its sum starts at max(f, First(j)). The
// lower half turns each sum s into the multiplier -(s / [j][j]). The R·C sums of a block are
// independent, which lets the 80-bit unit overlap them and reads each operand once per block.
template <int R, int C, bool Lower>
inline void FormBlock(TReal* const* own, const TReal* other, const std::ptrdiff_t* off, const int* first,
                      const TReal* diag, int f, int j) {
    const TReal* o[C];
    int ks[C];
    TReal s[R][C];
    int kc = f;
    for (int c = 0; c < C; ++c) {
        o[c] = other + off[j + c];
        ks[c] = std::max(f, first[j + c]);
        kc = std::max(kc, ks[c]);
        for (int r = 0; r < R; ++r) s[r][c] = own[r][j + c];
    }
    kc = std::min(kc, j);
    for (int c = 0; c < C; ++c)
        for (int k = ks[c]; k < kc; ++k)
            for (int r = 0; r < R; ++r) s[r][c] += own[r][k] * o[c][k];
    for (int k = kc; k < j; ++k) {
        TReal v[R];
        for (int r = 0; r < R; ++r) v[r] = own[r][k];
        for (int c = 0; c < C; ++c) {
            const TReal w = o[c][k];
            for (int r = 0; r < R; ++r) s[r][c] += v[r] * w;
        }
    }
    // Entry j + c also takes the terms k = j .. j + c - 1 of the entries just finished.
    for (int c = 0; c < C; ++c) {
        for (int k = std::max(j, ks[c]); k < j + c; ++k)
            for (int r = 0; r < R; ++r) s[r][c] += own[r][k] * o[c][k];
        for (int r = 0; r < R; ++r) own[r][j + c] = Lower ? -(s[r][c] / diag[j + c]) : s[r][c];
    }
}

template <int R, bool Lower>
void FormHalf(TReal* const* own, const TReal* other, const std::ptrdiff_t* off, const int* first,
              const TReal* diag, int f, int m) {
    constexpr int C = R == 1 ? 4 : 2; // as many sums as the eight 80-bit registers hold
    int j = f;
    for (; j + C <= m; j += C) FormBlock<R, C, Lower>(own, other, off, first, diag, f, j);
    for (; j < m; ++j) FormBlock<R, 1, Lower>(own, other, off, first, diag, f, j);
}

// Waits until ready() holds, spinning briefly and then yielding the core.
template <class F> void WaitFor(F ready) {
    for (int spins = 0; !ready(); ++spins) {
        if (spins < 4096) {
#if defined(__x86_64__) || defined(__i386__)
            __builtin_ia32_pause();
#endif
        } else {
            std::this_thread::yield();
        }
    }
}
} // namespace

// One step of the elimination: equation m, or m and m + 1 when they share their envelope start.
int TProfileMatrix::StepRows(int m) const { return m + 1 <= mN && First(m + 1) == First(m) ? 2 : 1; }

void TProfileMatrix::FormLower(int m, int rows) {
    TReal* own[2] = {mLower.data() + mOffset[std::size_t(m)],
                     rows == 2 ? mLower.data() + mOffset[std::size_t(m + 1)] : nullptr};
    if (rows == 2)
        FormHalf<2, true>(own, mUpper.data(), mOffset.data(), mFirst.data(), mDiag.data(), First(m), m);
    else
        FormHalf<1, true>(own, mUpper.data(), mOffset.data(), mFirst.data(), mDiag.data(), First(m), m);
}

void TProfileMatrix::FormUpper(int m, int rows) {
    TReal* own[2] = {mUpper.data() + mOffset[std::size_t(m)],
                     rows == 2 ? mUpper.data() + mOffset[std::size_t(m + 1)] : nullptr};
    if (rows == 2)
        FormHalf<2, false>(own, mLower.data(), mOffset.data(), mFirst.data(), mDiag.data(), First(m), m);
    else
        FormHalf<1, false>(own, mLower.data(), mOffset.data(), mFirst.data(), mDiag.data(), First(m), m);
}

// The diagonal and fg of the step's equations, and for a pair the entries [m+1][m] and [m][m+1],
// which follow row m's diagonal. False when a pivot of equations 1..n-1 is zero (pivot names it).
bool TProfileMatrix::FinishStep(int m, int rows, TVector& fg, int& pivot) {
    const int f = First(m);
    TReal* row0 = mLower.data() + mOffset[std::size_t(m)];
    TReal* col0 = mUpper.data() + mOffset[std::size_t(m)];
    TReal d0 = mDiag[std::size_t(m)], g0 = fg[std::size_t(m)];
    for (int k = f; k < m; ++k) {
        d0 += row0[k] * col0[k];
        g0 += row0[k] * fg[std::size_t(k)];
    }
    mDiag[std::size_t(m)] = d0;
    fg[std::size_t(m)] = g0;
    // The dense loop divides by [m][m] for the rows below m; the last equation has none.
    if (m < mN && d0 == 0) {
        pivot = m;
        return false;
    }
    if (rows == 1) return true;
    TReal* row1 = mLower.data() + mOffset[std::size_t(m + 1)];
    TReal* col1 = mUpper.data() + mOffset[std::size_t(m + 1)];
    TReal l = row1[m], u = col1[m];
    for (int k = f; k < m; ++k) {
        l += row1[k] * col0[k];
        u += row0[k] * col1[k];
    }
    row1[m] = -(l / d0);
    col1[m] = u;
    TReal d1 = mDiag[std::size_t(m + 1)], g1 = fg[std::size_t(m + 1)];
    for (int k = f; k <= m; ++k) {
        d1 += row1[k] * col1[k];
        g1 += row1[k] * fg[std::size_t(k)];
    }
    mDiag[std::size_t(m + 1)] = d1;
    fg[std::size_t(m + 1)] = g1;
    if (m + 1 < mN && d1 == 0) {
        pivot = m + 1;
        return false;
    }
    return true;
}

double TProfileMatrix::EliminationTerms() const {
    double terms = 0;
    for (int i = 1; i <= mN; ++i) terms += double(i - First(i)) * double(i - First(i));
    return terms;
}

TSolveStatus TProfileMatrix::Eliminate(TVector& fg, TElimination how) {
    bool parallel = how == TElimination::Parallel;
    if (how == TElimination::Automatic)
        parallel = std::thread::hardware_concurrency() >= 2 && EliminationTerms() >= KParallelTerms;
    int pivot = 0;
    const bool refused = parallel ? !EliminateInParallel(fg, pivot) : !EliminateSerially(fg, pivot);
    if (refused) return {TSolveResult::ZeroPivot, pivot};
    for (int k = 1; k <= mN; ++k)
        if (!(mDiag[std::size_t(k)] >= KMechanismLimit)) return {TSolveResult::Mechanism, k};
    return {};
}

bool TProfileMatrix::EliminateSerially(TVector& fg, int& pivot) {
    for (int m = 1; m <= mN;) {
        const int rows = StepRows(m);
        FormLower(m, rows);
        FormUpper(m, rows);
        if (!FinishStep(m, rows, fg, pivot)) return false;
        m += rows;
    }
    return true;
}

// This thread forms the rows left of the diagonal and finishes each step; a second thread forms
// the columns above it. A step starts when the previous one is finished (published through
// `started`), and is finished once the second thread has published its half through `formed`.
bool TProfileMatrix::EliminateInParallel(TVector& fg, int& pivot) {
    std::atomic<int> started{0}, formed{0};
    std::atomic<bool> stop{false};
    std::thread columns;
    try {
        columns = std::thread([&] {
            for (int m = 1; m <= mN;) {
                WaitFor([&] { return started.load(std::memory_order_acquire) >= m || stop.load(); });
                if (stop.load()) return;
                const int rows = StepRows(m);
                FormUpper(m, rows);
                formed.store(m, std::memory_order_release);
                m += rows;
            }
        });
    } catch (const std::system_error&) {
        return EliminateSerially(fg, pivot); // no second thread to be had
    }
    bool ok = true;
    for (int m = 1; m <= mN;) {
        const int rows = StepRows(m);
        started.store(m, std::memory_order_release);
        FormLower(m, rows);
        WaitFor([&] { return formed.load(std::memory_order_acquire) >= m; });
        if (!FinishStep(m, rows, fg, pivot)) {
            ok = false;
            break;
        }
        m += rows;
    }
    stop.store(true);
    columns.join();
    return ok;
}

// Column by column from the last equation: every fg[i] loses its terms in descending j, as in the
// dense row-by-row substitution.
void TProfileMatrix::BackSubstitute(TVector& fg, TVector& rg) const {
    for (int j = mN; j >= 1; --j) {
        const TReal r = fg[std::size_t(j)] / mDiag[std::size_t(j)];
        rg[std::size_t(j)] = r;
        const TReal* colJ = mUpper.data() + mOffset[std::size_t(j)];
        for (int i = First(j); i < j; ++i) fg[std::size_t(i)] -= colJ[i] * r;
    }
}

// Row i receives first its terms left of the diagonal and the diagonal (row storage), then those
// right of it in ascending column order (column storage): the ascending order of a dense row.
void TProfileMatrix::AddProduct(const TVector& x, TVector& out) const {
    for (int i = 1; i <= mN; ++i) {
        const TReal* rowI = mLower.data() + mOffset[std::size_t(i)];
        TReal s = out[std::size_t(i)];
        for (int j = First(i); j < i; ++j) s += rowI[j] * x[std::size_t(j)];
        s += mDiag[std::size_t(i)] * x[std::size_t(i)];
        out[std::size_t(i)] = s;
    }
    for (int j = 1; j <= mN; ++j) {
        const TReal* colJ = mUpper.data() + mOffset[std::size_t(j)];
        const TReal xj = x[std::size_t(j)];
        for (int i = First(j); i < j; ++i) out[std::size_t(i)] += colJ[i] * xj;
    }
}
