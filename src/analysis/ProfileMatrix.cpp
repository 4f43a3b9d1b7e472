#include "analysis/ProfileMatrix.h"

void TProfileMatrix::Allocate(int n, const std::vector<int>& first, const std::vector<int>& last) {
    mN = n;
    mFirst = first;
    mLast = last;
    mStart.assign(static_cast<std::size_t>(n) + 1, 0);
    std::size_t total = 0;
    for (int i = 1; i <= n; ++i) {
        mStart[static_cast<std::size_t>(i)] = total;
        total += static_cast<std::size_t>(last[static_cast<std::size_t>(i)] - first[static_cast<std::size_t>(i)] + 1);
    }
    mData.assign(total, 0.0L);
}

void TProfileMatrix::Release() {
    mN = 0;
    std::vector<int>().swap(mFirst);
    std::vector<int>().swap(mLast);
    std::vector<std::size_t>().swap(mStart);
    std::vector<TReal>().swap(mData);
}
