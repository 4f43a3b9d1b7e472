#include "analysis/ProfileMatrix.h"

#include <algorithm>
#include <cassert>

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
// product of the row's multiplier and the final value of row k. The loop below forms the same
// sums entry by entry (Crout order): for equation m first row m left of the diagonal (turning each
// entry into its multiplier), together with column m above the diagonal, then the diagonal and
// fg[m]. Only the terms with both factors inside the envelope are formed; the others are ±0.
// The residue that the dense loop leaves below the diagonal (from j = k) is never read again.
TSolveResult TProfileMatrix::Eliminate(TVector& fg) {
    TReal* lower = mLower.data();
    TReal* upper = mUpper.data();
    const std::ptrdiff_t* off = mOffset.data();
    for (int m = 1; m <= mN; ++m) {
        const int fm = First(m);
        TReal* rowM = lower + off[m];   // rowM[k]: multiplier of row m for column k
        TReal* colM = upper + off[m];   // colM[k]: entry [k][m]
        for (int j = fm; j < m; ++j) {
            const int k0 = std::max(fm, First(j));
            const TReal* colJ = upper + off[j]; // colJ[k]: entry [k][j]
            const TReal* rowJ = lower + off[j]; // rowJ[k]: multiplier of row j
            TReal sl = rowM[j];
            TReal su = colM[j];
            for (int k = k0; k < j; ++k) {
                sl += rowM[k] * colJ[k];
                su += rowJ[k] * colM[k];
            }
            rowM[j] = -(sl / mDiag[std::size_t(j)]);
            colM[j] = su;
        }
        TReal d = mDiag[std::size_t(m)];
        TReal g = fg[std::size_t(m)];
        for (int k = fm; k < m; ++k) {
            d += rowM[k] * colM[k];
            g += rowM[k] * fg[std::size_t(k)];
        }
        mDiag[std::size_t(m)] = d;
        fg[std::size_t(m)] = g;
        // The dense loop divides by [m][m] for the rows below m; the last equation has none.
        if (m < mN && d == 0) return {TSolveStatus::ZeroPivot, m};
    }
    for (int k = 1; k <= mN; ++k)
        if (!(mDiag[std::size_t(k)] >= KMechanismLimit)) return {TSolveStatus::Mechanism, k};
    return {};
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
