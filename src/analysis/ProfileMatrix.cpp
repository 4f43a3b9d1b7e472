#include "analysis/ProfileMatrix.h"
#include "analysis/Cancel.h"
#include "analysis/IdleCores.h"
#include "model/LargeBlock.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <chrono>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>

#if defined(__linux__)
#include <unistd.h>
#endif

namespace {
// A profile from which its pages are backed on two threads before the assembly.
constexpr std::size_t KPopulateFrom = std::size_t(64) << 20;
// The elimination terms from which the threads of a busy machine are looked at one by one.
constexpr double KLookCloserTerms = 3e8;

} // namespace

TProfileMatrix::TProfileMatrix(const std::vector<int>& first, std::vector<int> position)
    : mN(int(first.size()) - 1), mFirst(first), mLast(first.size(), 0), mOffset(first.size(), 0),
      mPosition(std::move(position)), mDiag(first.size(), 0.0L) {
    std::ptrdiff_t size = 0;
    for (int p = 1; p <= mN; ++p) {
        const int f = mFirst[std::size_t(p)];
        assert(f >= 1 && f <= p);
        mOffset[std::size_t(p)] = size - f;
        size += p - f;
    }
    // The last position reaching p is the largest q with First(q) <= p: the smallest start from
    // q on grows with q, so one sweep finds them all.
    std::vector<int> startFrom(std::size_t(mN) + 2, mN + 1);
    for (int q = mN; q >= 1; --q)
        startFrom[std::size_t(q)] = std::min(startFrom[std::size_t(q) + 1], mFirst[std::size_t(q)]);
    for (int p = 1, q = 0; p <= mN; ++p) {
        q = std::max(q, p);
        while (q < mN && startFrom[std::size_t(q) + 1] <= p) ++q;
        mLast[std::size_t(p)] = q;
    }
    if (!mPosition.empty()) {
        assert(int(mPosition.size()) == mN + 1);
        mEquation.assign(std::size_t(mN) + 1, 0);
        for (int e = 1; e <= mN; ++e) mEquation[std::size_t(mPosition[std::size_t(e)])] = e;
    }
    mHalf = std::size_t(size);
    mBlockBytes = 2 * mHalf * sizeof(TEntry);
    mBlock = AllocateLarge(mBlockBytes);
    // The assembly writes all over a large profile on one thread, and the system zeroes each page
    // it first touches; with a core idle, two threads have the pages backed first.
    if (mBlockBytes >= KPopulateFrom && IdleCores(std::thread::hardware_concurrency(), true) >= 1)
        PopulateLarge(mBlock, mBlockBytes);
    mLower = static_cast<TEntry*>(mBlock);
    mUpper = mLower ? mLower + mHalf : nullptr;
}

TProfileMatrix::TProfileMatrix(TProfileMatrix&& other) noexcept { *this = std::move(other); }

TProfileMatrix& TProfileMatrix::operator=(TProfileMatrix&& other) noexcept {
    if (this == &other) return *this;
    Release();
    mN = std::exchange(other.mN, 0);
    mFirst = std::move(other.mFirst);
    mLast = std::move(other.mLast);
    mOffset = std::move(other.mOffset);
    mPosition = std::move(other.mPosition);
    mEquation = std::move(other.mEquation);
    mHalf = std::exchange(other.mHalf, 0);
    mLower = std::exchange(other.mLower, nullptr);
    mUpper = std::exchange(other.mUpper, nullptr);
    mBlock = std::exchange(other.mBlock, nullptr);
    mBlockBytes = std::exchange(other.mBlockBytes, 0);
    mDiag = std::move(other.mDiag);
    mFinished = std::exchange(other.mFinished, 0);
    mSplitForm = std::exchange(other.mSplitForm, true);
    other.mFirst.clear();
    other.mLast.clear();
    other.mOffset.clear();
    other.mPosition.clear();
    other.mEquation.clear();
    other.mDiag.clear();
    return *this;
}

TProfileMatrix::~TProfileMatrix() { Release(); }

void TProfileMatrix::Release() {
    FreeLarge(mBlock, mBlockBytes);
    mBlock = nullptr;
    mLower = mUpper = nullptr;
    mBlockBytes = 0;
}

void TProfileMatrix::ClearRowAndColumn(int k) {
    const int p = Position(k);
    const std::size_t base = Index(p, First(p));
    for (std::size_t i = base; i < base + std::size_t(p - First(p)); ++i) mLower[i].Real = mUpper[i].Real = 0;
    // Column p below the diagonal and row p right of it live in the later rows and columns.
    for (int q = p + 1; q <= mLast[std::size_t(p)]; ++q) {
        if (First(q) > p) continue;
        mLower[Index(q, p)].Real = 0;
        mUpper[Index(q, p)].Real = 0;
    }
    mDiag[std::size_t(p)] = 1;
}

std::vector<std::pair<int, TReal>> TProfileMatrix::Row(int k) const {
    const int p = Position(k);
    std::vector<std::pair<int, TReal>> row;
    row.reserve(std::size_t(mLast[std::size_t(p)] - First(p) + 1));
    for (int q = First(p); q < p; ++q) row.emplace_back(EquationAt(q), mLower[Index(p, q)].Real);
    row.emplace_back(k, mDiag[std::size_t(p)]);
    for (int q = p + 1; q <= mLast[std::size_t(p)]; ++q)
        if (First(q) <= p) row.emplace_back(EquationAt(q), mUpper[Index(q, p)].Real);
    if (Reordered())
        std::sort(row.begin(), row.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return row;
}

TVector TProfileMatrix::ToPositions(const TVector& byEquation) const {
    TVector out(byEquation.size(), 0.0L);
    for (int e = 1; e <= mN; ++e) out[std::size_t(Position(e))] = byEquation[std::size_t(e)];
    return out;
}

TVector TProfileMatrix::FromPositions(const TVector& byPosition) const {
    TVector out(byPosition.size(), 0.0L);
    for (int e = 1; e <= mN; ++e) out[std::size_t(e)] = byPosition[std::size_t(Position(e))];
    return out;
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
// The 80-bit unit loads a value from memory slowly. Once a step is finished, its entries are
// therefore stored split into two doubles whose sum is the entry exactly, in the place of the
// 80-bit value; the later steps read the entries of the other half in that form, two fast loads
// and an exact addition giving the same value bit for bit. An entry that two doubles cannot hold
// (beyond their range, or too small for the low part) turns every finished entry back into its
// 80-bit value, and the steps from then on read and keep the 80-bit entries.
namespace {
using TSplit = TProfileMatrix::TSplit;
using TEntry = TProfileMatrix::TEntry;

// The split form of x, and whether it holds x exactly (sign of a zero included). hi is x rounded
// to a double and x - hi, at most 11 significant bits, is exact in 80 bits; it is exact as a
// double too unless its bits fall below the doubles' least subnormal or hi overflows. So every
// x between KSplitMin and KSplitMax in magnitude (and every zero) is exact; others (including
// infinities and NaN) are counted as inexact.
constexpr TReal KSplitMin = 0x1p-1000L;
constexpr TReal KSplitMax = 0x1p1023L;

inline bool Split(TReal x, TSplit& out) {
    const double hi = double(x);
    const double lo = x == 0 ? hi : double(x - hi); // keeps the sign of a zero
    out = {hi, lo};
    const TReal a = std::fabs(x);
    return (a >= KSplitMin && a <= KSplitMax) || x == 0;
}

template <bool SplitForm> inline TReal Value(const TEntry& x) {
    if constexpr (SplitForm)
        return TReal(x.Split.Hi) + x.Split.Lo;
    else
        return x.Real;
}

// What one half of a step works on: its own rows (or columns), and the finished entries of the
// other half.
struct THalf {
    TEntry* const* own;
    const TEntry* other;
    const std::ptrdiff_t* off;
    const int* first;
    const TReal* diag;
};

// The entries own_r[j + c] (r < R, c < C) of R rows (or columns) m.. that share the envelope start
// f, each the sum of its old value and own_r[k]·other_{j+c}[k] for k ascending, where other_j is
// column j above the diagonal (or row j left of it) and its sum starts at max(f, First(j)). The
// lower half turns each sum s into the multiplier -(s / [j][j]). The R·C sums of a block are
// independent, which lets the 80-bit unit overlap them and reads each operand once per block.
template <int R, int C, bool Lower, bool SplitForm> inline void FormBlock(const THalf& h, int f, int j) {
    TEntry* const* own = h.own;
    const TEntry* o[C];
    int ks[C];
    TReal s[R][C];
    int kc = f;
    for (int c = 0; c < C; ++c) {
        o[c] = h.other + h.off[j + c];
        ks[c] = std::max(f, h.first[j + c]);
        kc = std::max(kc, ks[c]);
        for (int r = 0; r < R; ++r) s[r][c] = own[r][j + c].Real;
    }
    kc = std::min(kc, j);
    for (int c = 0; c < C; ++c)
        for (int k = ks[c]; k < kc; ++k)
            for (int r = 0; r < R; ++r) s[r][c] += own[r][k].Real * Value<SplitForm>(o[c][k]);
    for (int k = kc; k < j; ++k) {
        TReal v[R];
        for (int r = 0; r < R; ++r) v[r] = own[r][k].Real;
        for (int c = 0; c < C; ++c) {
            const TReal w = Value<SplitForm>(o[c][k]);
            for (int r = 0; r < R; ++r) s[r][c] += v[r] * w;
        }
    }
    // Entry j + c also takes the terms k = j .. j + c - 1 of the entries just finished.
    for (int c = 0; c < C; ++c) {
        for (int k = std::max(j, ks[c]); k < j + c; ++k)
            for (int r = 0; r < R; ++r) s[r][c] += own[r][k].Real * Value<SplitForm>(o[c][k]);
        for (int r = 0; r < R; ++r) own[r][j + c].Real = Lower ? -(s[r][c] / h.diag[j + c]) : s[r][c];
    }
}

// Rows (or columns) m .. m + R - 1 from the envelope start f up to column (row) m - 1. Three
// rows take the columns four at a time twice, the pair and then the third, so that the third
// finds the columns its pair has just read still in the first-level cache.
template <int R, bool Lower, bool SplitForm> void FormHalf(const THalf& h, int f, int m) {
    int j = f;
    if constexpr (R == 3) {
        const THalf third{h.own + 2, h.other, h.off, h.first, h.diag};
        for (; j + 4 <= m; j += 4) {
            FormBlock<2, 2, Lower, SplitForm>(h, f, j);
            FormBlock<2, 2, Lower, SplitForm>(h, f, j + 2);
            FormBlock<1, 4, Lower, SplitForm>(third, f, j);
        }
        for (; j < m; ++j) {
            FormBlock<2, 1, Lower, SplitForm>(h, f, j);
            FormBlock<1, 1, Lower, SplitForm>(third, f, j);
        }
    } else {
        constexpr int C = R == 1 ? 4 : 2; // as many sums as the eight 80-bit registers hold
        for (; j + C <= m; j += C) FormBlock<R, C, Lower, SplitForm>(h, f, j);
        for (; j < m; ++j) FormBlock<R, 1, Lower, SplitForm>(h, f, j);
    }
}

template <bool Lower, bool SplitForm> void FormRows(const THalf& h, int rows, int f, int m) {
    switch (rows) {
    case 3:
        FormHalf<3, Lower, SplitForm>(h, f, m);
        break;
    case 2:
        FormHalf<2, Lower, SplitForm>(h, f, m);
        break;
    default:
        FormHalf<1, Lower, SplitForm>(h, f, m);
        break;
    }
}

// Waits until ready() holds. The other thread is about to hand over (a step's work is a fraction of
// a millisecond), so the wait spins first, for at most KSpinTime: waking a sleeping thread costs
// tens of microseconds on a virtual machine, and that at every step. Past that the waiter sleeps on
// the counter, so that a busy machine loses no core to it. Returns the value that satisfied ready.
constexpr auto KSpinTime = std::chrono::microseconds(40);

template <class F> int WaitFor(std::atomic<int>& counter, F ready) {
    int seen = counter.load(std::memory_order_acquire);
    if (ready(seen)) return seen;
    const auto until = std::chrono::steady_clock::now() + KSpinTime;
    for (;;) {
        for (int spins = 0; spins < 32; ++spins) {
#if defined(__x86_64__) || defined(__i386__)
            __builtin_ia32_pause();
#endif
            seen = counter.load(std::memory_order_acquire);
            if (ready(seen)) return seen;
        }
        if (std::chrono::steady_clock::now() >= until) break;
    }
    for (; !ready(seen); seen = counter.load(std::memory_order_acquire)) counter.wait(seen, std::memory_order_acquire);
    return seen;
}

} // namespace

// One step of the elimination: position m and those after it (up to three, a node's equations)
// that share its envelope start.
int TProfileMatrix::StepRows(int m) const {
    int rows = 1;
    while (rows < KMaxStepRows && m + rows <= mN && First(m + rows) == First(m)) ++rows;
    return rows;
}

// The step's rows left of the diagonal (Lower) or its columns above it.
template <bool Lower> void TProfileMatrix::FormHalfStep(int m, int rows) {
    TEntry* ownBase = Lower ? mLower : mUpper;
    TEntry* own[KMaxStepRows] = {};
    for (int r = 0; r < rows; ++r) own[r] = ownBase + mOffset[std::size_t(m + r)];
    const THalf h{own, Lower ? mUpper : mLower, mOffset.data(), mFirst.data(), mDiag.data()};
    if (mSplitForm)
        FormRows<Lower, true>(h, rows, First(m), m);
    else
        FormRows<Lower, false>(h, rows, First(m), m);
}

// The rest of the step, position by position: the entries [e][j] and [j][e] with j from m up to
// e - 1 (they follow the diagonals of the step's earlier positions), then the diagonal and fg[e].
// False when a pivot of positions 1..n-1 is zero (pivot names it).
bool TProfileMatrix::FinishStep(int m, int rows, TVector& fg, int& pivot) {
    const int f = First(m);
    for (int e = m; e < m + rows; ++e) {
        TEntry* rowE = mLower + mOffset[std::size_t(e)];
        TEntry* colE = mUpper + mOffset[std::size_t(e)];
        for (int j = m; j < e; ++j) {
            const TEntry* rowJ = mLower + mOffset[std::size_t(j)];
            const TEntry* colJ = mUpper + mOffset[std::size_t(j)];
            TReal l = rowE[j].Real, u = colE[j].Real;
            for (int k = f; k < j; ++k) {
                l += rowE[k].Real * colJ[k].Real;
                u += rowJ[k].Real * colE[k].Real;
            }
            rowE[j].Real = -(l / mDiag[std::size_t(j)]);
            colE[j].Real = u;
        }
        TReal d = mDiag[std::size_t(e)], g = fg[std::size_t(e)];
        for (int k = f; k < e; ++k) {
            d += rowE[k].Real * colE[k].Real;
            g += rowE[k].Real * fg[std::size_t(k)];
        }
        mDiag[std::size_t(e)] = d;
        fg[std::size_t(e)] = g;
        // The dense loop divides by [e][e] for the rows below e; the last position has none.
        if (e < mN && d == 0) {
            pivot = e;
            return false;
        }
    }
    StoreFinished(m, rows);
    return true;
}

// The step's entries take their split form. The first entry that two doubles cannot hold turns
// every earlier finished entry back into its 80-bit value (exactly: each was exact), and the
// entries stay 80-bit from then on.
void TProfileMatrix::StoreFinished(int m, int rows) {
    const int f = First(m);
    const std::size_t begin = Index(m, f), end = Index(m + rows - 1, m + rows - 2) + 1;
    if (mSplitForm) {
        std::size_t i = begin;
        for (TSplit lower, upper; i < end; ++i) {
            if (!Split(mLower[i].Real, lower) || !Split(mUpper[i].Real, upper)) break;
            mLower[i].Split = lower;
            mUpper[i].Split = upper;
        }
        if (i < end) {
            for (std::size_t k = 0; k < i; ++k) {
                mLower[k].Real = Value<true>(mLower[k]);
                mUpper[k].Real = Value<true>(mUpper[k]);
            }
            mSplitForm = false;
        }
    }
    mFinished = m + rows;
}

double TProfileMatrix::EliminationTerms() const {
    double terms = 0;
    for (int p = 1; p <= mN; ++p) terms += double(p - First(p)) * double(p - First(p));
    return terms;
}

// Two threads pay only when every step has enough work to hide the hand-over, and only when a
// second core is idle now: on a loaded machine the second thread waits for a core. (If the
// machine gets busy later, the calling thread forms the columns of every step that the second
// thread has not taken on in time.)
bool TProfileMatrix::UseTwoThreads(TElimination how) const {
    if (how != TElimination::Automatic) return how == TElimination::Parallel;
    const unsigned cores = std::thread::hardware_concurrency();
    if (cores < 2 || mN == 0) return false;
    const double terms = EliminationTerms();
    if (terms < KParallelTerms || terms / (mN / 3.0) < KParallelTermsPerStep) return false;
    // An elimination of a second or more can afford to look whether the busy cores are taken
    // by a background job only.
    return IdleCores(cores, terms >= KLookCloserTerms) >= 1;
}

// The substitution of several right-hand sides splits them between two threads, which read
// the factors at the same time and need each other at no point: worth it from the work of one
// thread's start (KParallelSubstitution terms), when a core is idle.
bool TProfileMatrix::SubstituteOnTwoThreads(TElimination how, double terms) {
    if (how != TElimination::Automatic) return how == TElimination::Parallel;
    return terms >= KParallelSubstitution && SecondCoreIdle(terms >= KLookCloserTerms);
}

TSolveStatus TProfileMatrix::Eliminate(TVector& fg, TElimination how) {
    int pivot = 0;
    mFinished = 0;
    mSplitForm = true;
    // The diagonals before the elimination, the measure of what is left of them. They are
    // positive: the supports and the degrees of freedom without stiffness have 1 there.
    const std::vector<TReal> original = mDiag;
    const bool refused = UseTwoThreads(how) ? !EliminateInParallel(fg, pivot) : !EliminateSerially(fg, pivot);
    if (refused) return {TSolveResult::ZeroPivot, pivot};
    for (int k = 1; k <= mN; ++k) {
        const TReal d = mDiag[std::size_t(k)];
        if (!(d >= KMechanismLimit) || d < KPivotRatioLimit * original[std::size_t(k)])
            return {TSolveResult::Mechanism, k};
    }
    return {};
}

bool TProfileMatrix::EliminateSerially(TVector& fg, int& pivot) {
    for (int m = 1; m <= mN;) {
        PollCancel();
        const int rows = StepRows(m);
        FormHalfStep<true>(m, rows);
        FormHalfStep<false>(m, rows);
        if (!FinishStep(m, rows, fg, pivot)) return false;
        m += rows;
    }
    return true;
}

// This thread forms the rows left of the diagonal and finishes each step; the columns above it
// are formed by whichever thread takes them on first: a second thread as soon as the step starts
// (published through `started` once the previous step is finished), or this thread once its rows
// are formed, if the second thread has not come to them (it has no core, or is still waking). So
// a step never waits for a thread that has not begun its half. `claimed` is the last step whose
// columns a thread has taken on, `formed` the last step whose columns the second thread has
// formed. The finished entries (and their form) are written only while the second thread has no
// step to work on.
bool TProfileMatrix::EliminateInParallel(TVector& fg, int& pivot) {
    std::atomic<int> started{0}, claimed{0}, formed{0};
    constexpr int KStop = -1;
    const auto claim = [&claimed](int m) {
        int seen = claimed.load(std::memory_order_relaxed);
        while (seen < m)
            if (claimed.compare_exchange_weak(seen, m, std::memory_order_acq_rel)) return true;
        return false;
    };
    std::thread columns;
    try {
        columns = std::thread([&] {
            for (int last = 0;;) {
                const int m = WaitFor(started, [last](int v) { return v > last || v == KStop; });
                if (m == KStop) return;
                last = m;
                if (!claim(m)) continue;
                FormHalfStep<false>(m, StepRows(m));
                formed.store(m, std::memory_order_release);
                formed.notify_one();
            }
        });
    } catch (const std::system_error&) {
        return EliminateSerially(fg, pivot); // no second thread to be had
    }
    bool ok = true, cancelled = false;
    for (int m = 1; m <= mN;) {
        if (CancelRequested()) { // the second thread is stopped first
            cancelled = true;
            break;
        }
        const int rows = StepRows(m);
        started.store(m, std::memory_order_release);
        started.notify_one();
        FormHalfStep<true>(m, rows);
        if (claim(m))
            FormHalfStep<false>(m, rows);
        else
            WaitFor(formed, [m](int v) { return v >= m; });
        if (!FinishStep(m, rows, fg, pivot)) {
            ok = false;
            break;
        }
        m += rows;
    }
    started.store(KStop, std::memory_order_release);
    started.notify_one();
    columns.join();
    if (cancelled) throw TComputationCancelled();
    return ok;
}

// Column by column from the last position: every fg[i] loses its terms in descending j, as in the
// dense row-by-row substitution.
template <bool SplitForm>
static void Substitute(int n, const TEntry* upper, const std::ptrdiff_t* offset, const int* first,
                       const TReal* diag, TVector& fg, TVector& rg) {
    for (int j = n; j >= 1; --j) {
        const TReal r = fg[std::size_t(j)] / diag[j];
        rg[std::size_t(j)] = r;
        const TEntry* colJ = upper + offset[j];
        for (int i = first[j]; i < j; ++i) fg[std::size_t(i)] -= Value<SplitForm>(colJ[i]) * r;
    }
}

// Row by row from the first position: fg[e] gains the multipliers of row e times the earlier
// entries of fg, in ascending k, as the elimination formed it for the first right-hand side.
template <bool SplitForm>
static void ForwardSubstitute(int n, const TEntry* lower, const std::ptrdiff_t* offset, const int* first,
                              TVector& fg) {
    for (int e = 1; e <= n; ++e) {
        const TEntry* rowE = lower + offset[e];
        TReal g = fg[std::size_t(e)];
        for (int k = first[e]; k < e; ++k) g += Value<SplitForm>(rowE[k]) * fg[std::size_t(k)];
        fg[std::size_t(e)] = g;
    }
}

void TProfileMatrix::Solve(TVector& fg, TVector& rg) const {
    assert(mFinished == mN + 1 || mN == 0);
    if (mSplitForm)
        ForwardSubstitute<true>(mN, mLower, mOffset.data(), mFirst.data(), fg);
    else
        ForwardSubstitute<false>(mN, mLower, mOffset.data(), mFirst.data(), fg);
    BackSubstitute(fg, rg);
}

// The right-hand sides r0 .. r0 + R - 1 of m interleaved ones (x[p·m + r]), row by row, each in
// R sums held in registers while the row's entries are read once for all of them. Per
// right-hand side the terms are those of ForwardSubstitute and Substitute, in the same order:
// forward, x[e] gains L[e][k]·x[k] in ascending k; back, x[i] loses U[i][j]·x[j] in descending j
// (the column-by-column substitution takes them in that order too), then is divided by the
// diagonal. Reading the upper triangle by rows visits one entry of each column; the columns of
// a few consecutive rows share their cache lines. (Keeping x in the split form as well costs
// more in additions than it saves in loads.)
template <int R, bool SplitForm>
static void ForwardRow(const TEntry* rowE, int f, int e, TReal* x, std::size_t m, std::size_t r0) {
    TReal* xe = x + std::size_t(e) * m + r0;
    TReal s[R];
    for (int q = 0; q < R; ++q) s[q] = xe[q];
    const TReal* xk = x + std::size_t(f) * m + r0;
    for (int k = f; k < e; ++k, xk += m) {
        const TReal v = Value<SplitForm>(rowE[k]);
        for (int q = 0; q < R; ++q) s[q] += v * xk[q];
    }
    for (int q = 0; q < R; ++q) xe[q] = s[q];
}

template <int R, bool SplitForm>
static void BackRow(const TEntry* upper, const std::ptrdiff_t* offset, const int* first, int i, int last, TReal d,
                    TReal* x, std::size_t m, std::size_t r0) {
    TReal* xi = x + std::size_t(i) * m + r0;
    TReal s[R];
    for (int q = 0; q < R; ++q) s[q] = xi[q];
    const TReal* xj = x + std::size_t(last) * m + r0;
    for (int j = last; j > i; --j, xj -= m) {
        if (first[j] > i) continue; // column j does not reach row i
        const TReal v = Value<SplitForm>(upper[offset[j] + i]);
        for (int q = 0; q < R; ++q) s[q] -= v * xj[q];
    }
    for (int q = 0; q < R; ++q) xi[q] = s[q] / d;
}

// How many right-hand sides one pass over a row takes: as many sums as the eight 80-bit
// registers hold beside the entry and a product.
constexpr std::size_t KRowSums = 4;

struct TSubstitution {
    int n;
    const TEntry *lower, *upper;
    const std::ptrdiff_t* offset;
    const int *first, *last;
    const TReal* diag;
};

// The right-hand sides begin .. end - 1 of m: row by row (so that a row's entries stay in the
// cache for all of them), KRowSums of them after another, then the rest.
template <bool SplitForm>
static void SolveRange(const TSubstitution& t, TReal* x, std::size_t m, std::size_t begin, std::size_t end) {
    const std::size_t full = begin + (end - begin) / KRowSums * KRowSums, rest = end - full;
    for (int e = 1; e <= t.n; ++e) {
        const TEntry* rowE = t.lower + t.offset[e];
        const int f = t.first[e];
        for (std::size_t r0 = begin; r0 < full; r0 += KRowSums) ForwardRow<KRowSums, SplitForm>(rowE, f, e, x, m, r0);
        if (rest == 3) ForwardRow<3, SplitForm>(rowE, f, e, x, m, full);
        if (rest == 2) ForwardRow<2, SplitForm>(rowE, f, e, x, m, full);
        if (rest == 1) ForwardRow<1, SplitForm>(rowE, f, e, x, m, full);
    }
    for (int i = t.n; i >= 1; --i) {
        const int l = t.last[i];
        const TReal d = t.diag[i];
        for (std::size_t r0 = begin; r0 < full; r0 += KRowSums)
            BackRow<KRowSums, SplitForm>(t.upper, t.offset, t.first, i, l, d, x, m, r0);
        if (rest == 3) BackRow<3, SplitForm>(t.upper, t.offset, t.first, i, l, d, x, m, full);
        if (rest == 2) BackRow<2, SplitForm>(t.upper, t.offset, t.first, i, l, d, x, m, full);
        if (rest == 1) BackRow<1, SplitForm>(t.upper, t.offset, t.first, i, l, d, x, m, full);
    }
}

void TProfileMatrix::SolveMany(std::vector<TReal>& x, std::size_t m, TElimination how) const {
    assert(mFinished == mN + 1 || mN == 0);
    assert(x.size() == (std::size_t(mN) + 1) * m);
    if (m == 0 || mN == 0) return;
    const TSubstitution t{mN, mLower, mUpper, mOffset.data(), mFirst.data(), mLast.data(), mDiag.data()};
    const auto solve = [&](std::size_t begin, std::size_t end) {
        if (mSplitForm)
            SolveRange<true>(t, x.data(), m, begin, end);
        else
            SolveRange<false>(t, x.data(), m, begin, end);
    };
    // Two threads take a share of the groups each (every right-hand side stays on one thread).
    const std::size_t groups = (m + KRowSums - 1) / KRowSums;
    if (groups >= 2 && SubstituteOnTwoThreads(how, 2.0 * double(mHalf) * double(m))) {
        const std::size_t split = (groups / 2) * KRowSums;
        try {
            std::thread other(solve, split, m);
            solve(0, split);
            other.join();
            return;
        } catch (const std::system_error&) {
            // no second thread to be had: all on this one
        }
    }
    solve(0, m);
}

void TProfileMatrix::BackSubstitute(TVector& fg, TVector& rg) const {
    assert(mFinished == mN + 1 || mN == 0);
    if (mSplitForm)
        Substitute<true>(mN, mUpper, mOffset.data(), mFirst.data(), mDiag.data(), fg, rg);
    else
        Substitute<false>(mN, mUpper, mOffset.data(), mFirst.data(), mDiag.data(), fg, rg);
}
