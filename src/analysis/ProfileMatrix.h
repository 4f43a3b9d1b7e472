#pragma once
// The global stiffness matrix held on its profile: row i keeps the columns first(i) … last(i),
// where first(i) is the lowest equation coupled to i and last(i) the highest. Elimination without
// pivoting never creates a non-zero outside this envelope, so the dense algorithm's results are
// reproduced exactly while the zeros outside are neither stored nor touched. Indices run from 1;
// index 0 exists and reads 0.
#include <cstddef>
#include <vector>

#include "model/Types.h"

class TProfileMatrix {
public:
    // An n × n zero matrix (equations 1 … n) with the envelope given per row (first[i] ≤ i ≤ last[i];
    // first and last have n + 1 entries, index 0 unused).
    void Allocate(int n, const std::vector<int>& first, const std::vector<int>& last);
    void Release();
    bool Empty() const { return mN == 0; }
    int Size() const { return mN; }
    int First(int i) const { return mFirst[static_cast<std::size_t>(i)]; }
    int Last(int i) const { return mLast[static_cast<std::size_t>(i)]; }
    bool InProfile(int i, int j) const { return i >= 1 && i <= mN && j >= First(i) && j <= Last(i); }
    // Element (i, j); 0 outside the envelope.
    TReal Get(int i, int j) const { return InProfile(i, j) ? *Ptr(i, j) : 0.0L; }
    // Reference to an element inside the envelope.
    TReal& At(int i, int j) { return *Ptr(i, j); }
    const TReal& At(int i, int j) const { return *Ptr(i, j); }
    // Row i's stored values, column First(i) first.
    TReal* Row(int i) { return &mData[mStart[static_cast<std::size_t>(i)]]; }
    const TReal* Row(int i) const { return &mData[mStart[static_cast<std::size_t>(i)]]; }
    std::size_t StoredCount() const { return mData.size(); }

private:
    TReal* Ptr(int i, int j) const {
        return const_cast<TReal*>(&mData[mStart[static_cast<std::size_t>(i)] +
                                         static_cast<std::size_t>(j - First(i))]);
    }
    int mN = 0;
    std::vector<int> mFirst, mLast;
    std::vector<std::size_t> mStart;
    std::vector<TReal> mData;
};
