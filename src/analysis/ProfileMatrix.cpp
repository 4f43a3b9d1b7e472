#include "analysis/ProfileMatrix.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cmath>
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
//
// The 80-bit unit loads a value from memory slowly. Every finished entry is therefore also kept
// split into two doubles whose sum is the entry exactly (Split); the later steps read the entries
// of the other half in that form, two fast loads and an exact addition giving the same value
// bit for bit. An entry that two doubles cannot hold (beyond their range, or too small for the
// low part) clears `exact`, and the steps from then on read the 80-bit entries themselves.
namespace {
using TSplit = TProfileMatrix::TSplit;

inline void Split(TReal x, TSplit& out, std::atomic<bool>& exact) {
    const double hi = double(x);
    const double lo = x == 0 ? hi : double(x - hi); // keeps the sign of a zero
    out = {hi, lo};
    const TReal back = TReal(hi) + lo;
    if (!(back == x) || std::signbit(back) != std::signbit(x)) exact.store(false, std::memory_order_relaxed);
}

inline TReal Value(const TReal& x) { return x; }
inline TReal Value(const TSplit& x) { return TReal(x.Hi) + x.Lo; }

// What one half of a step works on: its own rows (or columns) with their split copies, and the
// finished entries of the other half, as 80-bit values or split.
template <class TOther> struct THalf {
    TReal* const* own;
    TSplit* const* ownSplit;
    const TOther* other;
    const std::ptrdiff_t* off;
    const int* first;
    const TReal* diag;
    std::atomic<bool>* exact;
};

// The entries own_r[j + c] (r < R, c < C) of R rows (or columns) m.. that share the envelope start
// f, each the sum of its old value and own_r[k]·other_{j+c}[k] for k ascending, where other_j is
// column j above the diagonal (or row j left of it) and its sum starts at max(f, First(j)). The
// lower half turns each sum s into the multiplier -(s / [j][j]). The R·C sums of a block are
// independent, which lets the 80-bit unit overlap them and reads each operand once per block.
template <int R, int C, bool Lower, class TOther>
inline void FormBlock(const THalf<TOther>& h, int f, int j) {
    TReal* const* own = h.own;
    const TOther* o[C];
    int ks[C];
    TReal s[R][C];
    int kc = f;
    for (int c = 0; c < C; ++c) {
        o[c] = h.other + h.off[j + c];
        ks[c] = std::max(f, h.first[j + c]);
        kc = std::max(kc, ks[c]);
        for (int r = 0; r < R; ++r) s[r][c] = own[r][j + c];
    }
    kc = std::min(kc, j);
    for (int c = 0; c < C; ++c)
        for (int k = ks[c]; k < kc; ++k)
            for (int r = 0; r < R; ++r) s[r][c] += own[r][k] * Value(o[c][k]);
    for (int k = kc; k < j; ++k) {
        TReal v[R];
        for (int r = 0; r < R; ++r) v[r] = own[r][k];
        for (int c = 0; c < C; ++c) {
            const TReal w = Value(o[c][k]);
            for (int r = 0; r < R; ++r) s[r][c] += v[r] * w;
        }
    }
    // Entry j + c also takes the terms k = j .. j + c - 1 of the entries just finished.
    for (int c = 0; c < C; ++c) {
        for (int k = std::max(j, ks[c]); k < j + c; ++k)
            for (int r = 0; r < R; ++r) s[r][c] += own[r][k] * Value(o[c][k]);
        for (int r = 0; r < R; ++r) {
            const TReal done = Lower ? -(s[r][c] / h.diag[j + c]) : s[r][c];
            own[r][j + c] = done;
            Split(done, h.ownSplit[r][j + c], *h.exact);
        }
    }
}

// Rows (or columns) m .. m + R - 1 from the envelope start f up to column (row) m - 1. Three
// rows take the columns four at a time twice, the pair and then the third, so that the third
// finds the columns its pair has just read still in the first-level cache.
template <int R, bool Lower, class TOther> void FormHalf(const THalf<TOther>& h, int f, int m) {
    int j = f;
    if constexpr (R == 3) {
        const THalf<TOther> third{h.own + 2, h.ownSplit + 2, h.other, h.off, h.first, h.diag, h.exact};
        for (; j + 4 <= m; j += 4) {
            FormBlock<2, 2, Lower>(h, f, j);
            FormBlock<2, 2, Lower>(h, f, j + 2);
            FormBlock<1, 4, Lower>(third, f, j);
        }
        for (; j < m; ++j) {
            FormBlock<2, 1, Lower>(h, f, j);
            FormBlock<1, 1, Lower>(third, f, j);
        }
    } else {
        constexpr int C = R == 1 ? 4 : 2; // as many sums as the eight 80-bit registers hold
        for (; j + C <= m; j += C) FormBlock<R, C, Lower>(h, f, j);
        for (; j < m; ++j) FormBlock<R, 1, Lower>(h, f, j);
    }
}

template <bool Lower, class TOther> void FormRows(const THalf<TOther>& h, int rows, int f, int m) {
    switch (rows) {
    case 3:
        FormHalf<3, Lower>(h, f, m);
        break;
    case 2:
        FormHalf<2, Lower>(h, f, m);
        break;
    default:
        FormHalf<1, Lower>(h, f, m);
        break;
    }
}

template <bool Lower>
void FormStepHalf(TReal* const* own, TSplit* const* ownSplit, const TReal* other, const TSplit* otherSplit,
                  const std::ptrdiff_t* off, const int* first, const TReal* diag, std::atomic<bool>& exact,
                  int rows, int f, int m) {
    if (exact.load(std::memory_order_acquire))
        FormRows<Lower>(THalf<TSplit>{own, ownSplit, otherSplit, off, first, diag, &exact}, rows, f, m);
    else
        FormRows<Lower>(THalf<TReal>{own, ownSplit, other, off, first, diag, &exact}, rows, f, m);
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

// One step of the elimination: equation m and those after it (up to three, a node's equations)
// that share its envelope start.
int TProfileMatrix::StepRows(int m) const {
    int rows = 1;
    while (rows < KMaxStepRows && m + rows <= mN && First(m + rows) == First(m)) ++rows;
    return rows;
}

// The step's rows left of the diagonal (Lower) or its columns above it.
template <bool Lower> void TProfileMatrix::FormHalfStep(int m, int rows, TSplits& splits) {
    TReal* ownBase = Lower ? mLower.data() : mUpper.data();
    TSplit* ownSplitBase = Lower ? splits.Lower.get() : splits.Upper.get();
    TReal* own[KMaxStepRows] = {};
    TSplit* ownSplit[KMaxStepRows] = {};
    for (int r = 0; r < rows; ++r) {
        own[r] = ownBase + mOffset[std::size_t(m + r)];
        ownSplit[r] = ownSplitBase + mOffset[std::size_t(m + r)];
    }
    FormStepHalf<Lower>(own, ownSplit, Lower ? mUpper.data() : mLower.data(),
                        Lower ? splits.Upper.get() : splits.Lower.get(), mOffset.data(), mFirst.data(),
                        mDiag.data(), splits.Exact, rows, First(m), m);
}

// The rest of the step, equation by equation: the entries [e][j] and [j][e] with j from m up to
// e - 1 (they follow the diagonals of the step's earlier equations), then the diagonal and fg[e].
// False when a pivot of equations 1..n-1 is zero (pivot names it).
bool TProfileMatrix::FinishStep(int m, int rows, TVector& fg, int& pivot, TSplits& splits) {
    const int f = First(m);
    for (int e = m; e < m + rows; ++e) {
        TReal* rowE = mLower.data() + mOffset[std::size_t(e)];
        TReal* colE = mUpper.data() + mOffset[std::size_t(e)];
        for (int j = m; j < e; ++j) {
            const TReal* rowJ = mLower.data() + mOffset[std::size_t(j)];
            const TReal* colJ = mUpper.data() + mOffset[std::size_t(j)];
            TReal l = rowE[j], u = colE[j];
            for (int k = f; k < j; ++k) {
                l += rowE[k] * colJ[k];
                u += rowJ[k] * colE[k];
            }
            rowE[j] = -(l / mDiag[std::size_t(j)]);
            colE[j] = u;
            Split(rowE[j], splits.Lower[Index(e, j)], splits.Exact);
            Split(colE[j], splits.Upper[Index(e, j)], splits.Exact);
        }
        TReal d = mDiag[std::size_t(e)], g = fg[std::size_t(e)];
        for (int k = f; k < e; ++k) {
            d += rowE[k] * colE[k];
            g += rowE[k] * fg[std::size_t(k)];
        }
        mDiag[std::size_t(e)] = d;
        fg[std::size_t(e)] = g;
        // The dense loop divides by [e][e] for the rows below e; the last equation has none.
        if (e < mN && d == 0) {
            pivot = e;
            return false;
        }
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
    TSplits splits;
    splits.Lower.reset(new TSplit[mLower.size()]);
    splits.Upper.reset(new TSplit[mUpper.size()]);
    const bool refused =
        parallel ? !EliminateInParallel(fg, pivot, splits) : !EliminateSerially(fg, pivot, splits);
    if (refused) return {TSolveResult::ZeroPivot, pivot};
    for (int k = 1; k <= mN; ++k)
        if (!(mDiag[std::size_t(k)] >= KMechanismLimit)) return {TSolveResult::Mechanism, k};
    return {};
}

bool TProfileMatrix::EliminateSerially(TVector& fg, int& pivot, TSplits& splits) {
    for (int m = 1; m <= mN;) {
        const int rows = StepRows(m);
        FormHalfStep<true>(m, rows, splits);
        FormHalfStep<false>(m, rows, splits);
        if (!FinishStep(m, rows, fg, pivot, splits)) return false;
        m += rows;
    }
    return true;
}

// This thread forms the rows left of the diagonal and finishes each step; a second thread forms
// the columns above it. A step starts when the previous one is finished (published through
// `started`), and is finished once the second thread has published its half through `formed`.
bool TProfileMatrix::EliminateInParallel(TVector& fg, int& pivot, TSplits& splits) {
    std::atomic<int> started{0}, formed{0};
    std::atomic<bool> stop{false};
    std::thread columns;
    try {
        columns = std::thread([&] {
            for (int m = 1; m <= mN;) {
                WaitFor([&] { return started.load(std::memory_order_acquire) >= m || stop.load(); });
                if (stop.load()) return;
                const int rows = StepRows(m);
                FormHalfStep<false>(m, rows, splits);
                formed.store(m, std::memory_order_release);
                m += rows;
            }
        });
    } catch (const std::system_error&) {
        return EliminateSerially(fg, pivot, splits); // no second thread to be had
    }
    bool ok = true;
    for (int m = 1; m <= mN;) {
        const int rows = StepRows(m);
        started.store(m, std::memory_order_release);
        FormHalfStep<true>(m, rows, splits);
        WaitFor([&] { return formed.load(std::memory_order_acquire) >= m; });
        if (!FinishStep(m, rows, fg, pivot, splits)) {
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
