#pragma once
// Real-to-pixel rounding of the canvas: to the nearest integer with halves to the even integer.
// Values beyond any canvas are held at ±10⁹ so that far-away points stay well-defined integers.
#include <cmath>
#include <cstdint>

#include "model/Types.h"

inline int RoundPx(TReal v) {
    constexpr TReal KLimit = 1.0e9L;
    if (!(v > -KLimit)) return std::isnan(v) ? 0 : -1000000000;
    if (v > KLimit) return 1000000000;
    return static_cast<int>(std::rint(v)); // the default rounding mode: halves to even
}

inline TReal CosDeg(TReal deg) {
    return std::cos(DegToRad(deg));
}
inline TReal SinDeg(TReal deg) {
    return std::sin(DegToRad(deg));
}
