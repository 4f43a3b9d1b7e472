#pragma once
// Basic numeric types of the model and the analysis: 80-bit extended reals and the
// zero-filled dynamic arrays addressed [row][column] from 0.
#include <algorithm>
#include <cstddef>
#include <vector>

using TReal = long double;
using TVector = std::vector<TReal>;
using TMatrix = std::vector<TVector>;

// A zero-filled matrix of r rows and c columns.
inline TMatrix NewMatrix(std::size_t r, std::size_t c) { return TMatrix(r, TVector(c, 0.0L)); }
// m becomes a zero-filled matrix of r rows and c columns, keeping its storage when it has that shape.
inline void ResetMatrix(TMatrix& m, std::size_t r, std::size_t c) {
    bool shaped = m.size() == r;
    for (std::size_t i = 0; shaped && i < r; ++i) shaped = m[i].size() == c;
    if (!shaped) {
        m = NewMatrix(r, c);
        return;
    }
    for (TVector& row : m) std::fill(row.begin(), row.end(), 0.0L);
}
// A zero-filled vector of n elements.
inline TVector NewVector(std::size_t n) { return TVector(n, 0.0L); }
// Releasing a matrix or a vector sets its length to 0 and frees its storage.
inline void Release(TMatrix& m) { TMatrix().swap(m); }
inline void Release(TVector& v) { TVector().swap(v); }

// Degrees to radians and back, in extended precision.
constexpr TReal KPi = 3.141592653589793238462643383279502884L;
inline TReal DegToRad(TReal deg) { return deg * (KPi / 180.0L); }
inline TReal RadToDeg(TReal rad) { return rad * (180.0L / KPi); }
