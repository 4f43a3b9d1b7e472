#pragma once
// The cosine and sine of an angle, with the last angles remembered. A frame has few distinct
// directions (of its members, its loads, its supports) and the computation and the drawing form
// each of them many times over; the values are exactly those of std::cos and std::sin.
#include "base/Types.h"

void CosSin(TReal rad, TReal& c, TReal& s);

inline TReal CosRad(TReal rad) {
    TReal c, s;
    CosSin(rad, c, s);
    return c;
}
inline TReal SinRad(TReal rad) {
    TReal c, s;
    CosSin(rad, c, s);
    return s;
}
