#pragma once
// Real-to-pixel rounding of the canvas: to the nearest integer with halves to the even integer.
// Values beyond any canvas are held at ±10⁹ so that far-away points stay well-defined integers.
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/Types.h"
#include "model/Trig.h"

static_assert(std::numeric_limits<TReal>::digits == 64, "the pixel rounding assumes 80-bit reals");

inline int RoundPx(TReal v) {
    constexpr TReal KLimit = 1.0e9L;
    if (!(v > -KLimit)) return std::isnan(v) ? 0 : -1000000000;
    if (v > KLimit) return 1000000000;
    // Adding 1.5·2⁶³ leaves no fraction bits: the sum rounds to the nearest integer, halves to
    // even, as rint does in the default rounding mode; subtracting it again is exact. The
    // integer then passes through a double, which holds it exactly, and avoids the two
    // rounding-mode switches of an 80-bit conversion to int.
    constexpr TReal KShift = 13835058055282163712.0L; // 1.5·2⁶³
    const TReal rounded = (v + KShift) - KShift;
    return static_cast<int>(static_cast<double>(rounded));
}

inline TReal CosDeg(TReal deg) {
    return CosRad(DegToRad(deg));
}
inline TReal SinDeg(TReal deg) {
    return SinRad(DegToRad(deg));
}
