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
TSolveStatus TProfileMatrix::Eliminate(TVector& fg) {
    int pivot = 0;
    for (int m = 1; m <= mN;) {
        // The three equations of a node share their envelope start: take them two by two.
        if (m + 1 <= mN && First(m + 1) == First(m)) {
            if (!EliminateRowPair(m, fg, pivot)) return {TSolveResult::ZeroPivot, pivot};
            m += 2;
        } else {
            if (!EliminateRow(m, fg, pivot)) return {TSolveResult::ZeroPivot, pivot};
            m += 1;
        }
    }
    for (int k = 1; k <= mN; ++k)
        if (!(mDiag[std::size_t(k)] >= KMechanismLimit)) return {TSolveResult::Mechanism, k};
    return {};
}

bool TProfileMatrix::EliminateRow(int m, TVector& fg, int& pivot) {
    TReal* lower = mLower.data();
    TReal* upper = mUpper.data();
    const std::ptrdiff_t* off = mOffset.data();
    const int fm = First(m);
    TReal* rowM = lower + off[m];   // rowM[k]: multiplier of row m for column k
    TReal* colM = upper + off[m];   // colM[k]: entry [k][m]
    // Two neighbouring columns at a time give four independent sums per step, which the
    // 80-bit unit overlaps; each sum still takes its terms in ascending k.
    int j = fm;
    for (; j + 1 < m; j += 2) {
        const int ka = std::max(fm, First(j)), kb = std::max(fm, First(j + 1));
        const TReal* colA = upper + off[j];
        const TReal* rowA = lower + off[j];
        const TReal* colB = upper + off[j + 1];
        const TReal* rowB = lower + off[j + 1];
        TReal la = rowM[j], ua = colM[j], lb = rowM[j + 1], ub = colM[j + 1];
        const int kc = std::min(std::max(ka, kb), j);
        for (int k = ka; k < kc; ++k) {
            la += rowM[k] * colA[k];
            ua += rowA[k] * colM[k];
        }
        for (int k = kb; k < kc; ++k) {
            lb += rowM[k] * colB[k];
            ub += rowB[k] * colM[k];
        }
        for (int k = kc; k < j; ++k) {
            const TReal r = rowM[k], c = colM[k];
            la += r * colA[k];
            ua += rowA[k] * c;
            lb += r * colB[k];
            ub += rowB[k] * c;
        }
        rowM[j] = -(la / mDiag[std::size_t(j)]);
        colM[j] = ua;
        if (kb <= j) {
            lb += rowM[j] * colB[j];
            ub += rowB[j] * colM[j];
        }
        rowM[j + 1] = -(lb / mDiag[std::size_t(j + 1)]);
        colM[j + 1] = ub;
    }
    for (; j < m; ++j) {
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
    if (m < mN && d == 0) {
        pivot = m;
        return false;
    }
    return true;
}

// Rows m and m + 1 together (same envelope start f): each entry of column j is read once for both
// rows, and the four sums of a step are independent. Row m + 1 also needs the entries [m+1][m] and
// [m][m+1], which follow row m's diagonal.
bool TProfileMatrix::EliminateRowPair(int m, TVector& fg, int& pivot) {
    TReal* lower = mLower.data();
    TReal* upper = mUpper.data();
    const std::ptrdiff_t* off = mOffset.data();
    const int f = First(m);
    TReal* row0 = lower + off[m];
    TReal* row1 = lower + off[m + 1];
    TReal* col0 = upper + off[m];
    TReal* col1 = upper + off[m + 1];
    int j = f;
    for (; j + 1 < m; j += 2) {
        // Each sum starts at its own envelope start; the prefix loops end at j at the latest,
        // since the sums of column j take no term k = j.
        const int ka = std::max(f, First(j)), kb = std::max(f, First(j + 1));
        const int kc = std::min(std::max(ka, kb), j);
        const TReal* colA = upper + off[j];
        const TReal* rowA = lower + off[j];
        const TReal* colB = upper + off[j + 1];
        const TReal* rowB = lower + off[j + 1];
        const TReal dA = mDiag[std::size_t(j)], dB = mDiag[std::size_t(j + 1)];
        // Left of the diagonal: [m][j], [m+1][j], [m][j+1], [m+1][j+1].
        TReal la0 = row0[j], la1 = row1[j], lb0 = row0[j + 1], lb1 = row1[j + 1];
        for (int k = ka; k < kc; ++k) {
            la0 += row0[k] * colA[k];
            la1 += row1[k] * colA[k];
        }
        for (int k = kb; k < kc; ++k) {
            lb0 += row0[k] * colB[k];
            lb1 += row1[k] * colB[k];
        }
        for (int k = kc; k < j; ++k) {
            const TReal r0 = row0[k], r1 = row1[k];
            la0 += r0 * colA[k];
            la1 += r1 * colA[k];
            lb0 += r0 * colB[k];
            lb1 += r1 * colB[k];
        }
        // Above the diagonal: [j][m], [j][m+1], [j+1][m], [j+1][m+1].
        TReal ua0 = col0[j], ua1 = col1[j], ub0 = col0[j + 1], ub1 = col1[j + 1];
        for (int k = ka; k < kc; ++k) {
            ua0 += rowA[k] * col0[k];
            ua1 += rowA[k] * col1[k];
        }
        for (int k = kb; k < kc; ++k) {
            ub0 += rowB[k] * col0[k];
            ub1 += rowB[k] * col1[k];
        }
        for (int k = kc; k < j; ++k) {
            const TReal c0 = col0[k], c1 = col1[k];
            ua0 += rowA[k] * c0;
            ua1 += rowA[k] * c1;
            ub0 += rowB[k] * c0;
            ub1 += rowB[k] * c1;
        }
        row0[j] = -(la0 / dA);
        row1[j] = -(la1 / dA);
        col0[j] = ua0;
        col1[j] = ua1;
        if (kb <= j) {
            lb0 += row0[j] * colB[j];
            lb1 += row1[j] * colB[j];
            ub0 += rowB[j] * col0[j];
            ub1 += rowB[j] * col1[j];
        }
        row0[j + 1] = -(lb0 / dB);
        row1[j + 1] = -(lb1 / dB);
        col0[j + 1] = ub0;
        col1[j + 1] = ub1;
    }
    for (; j < m; ++j) {
        const int k0 = std::max(f, First(j));
        const TReal* colJ = upper + off[j];
        const TReal* rowJ = lower + off[j];
        TReal l0 = row0[j], l1 = row1[j];
        for (int k = k0; k < j; ++k) {
            const TReal c = colJ[k];
            l0 += row0[k] * c;
            l1 += row1[k] * c;
        }
        TReal u0 = col0[j], u1 = col1[j];
        for (int k = k0; k < j; ++k) {
            const TReal r = rowJ[k];
            u0 += r * col0[k];
            u1 += r * col1[k];
        }
        row0[j] = -(l0 / mDiag[std::size_t(j)]);
        row1[j] = -(l1 / mDiag[std::size_t(j)]);
        col0[j] = u0;
        col1[j] = u1;
    }
    TReal d0 = mDiag[std::size_t(m)], g0 = fg[std::size_t(m)];
    for (int k = f; k < m; ++k) {
        d0 += row0[k] * col0[k];
        g0 += row0[k] * fg[std::size_t(k)];
    }
    mDiag[std::size_t(m)] = d0;
    fg[std::size_t(m)] = g0;
    if (d0 == 0) { // m < n here: row m + 1 divides by it
        pivot = m;
        return false;
    }
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
