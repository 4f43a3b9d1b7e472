#include "model/Trig.h"

#include <cmath>

// An angle is the same only with the same sign too (the sine of -0 is -0); NaN never matches.
// Each thread has its own entries, replaced in turn.
void CosSin(TReal rad, TReal& c, TReal& s) {
    struct TEntry {
        TReal Rad, Cos, Sin;
    };
    constexpr int KEntries = 16;
    thread_local TEntry entries[KEntries];
    thread_local int used = 0, next = 0;
    const bool negative = std::signbit(rad);
    for (int i = 0; i < used; ++i)
        if (entries[i].Rad == rad && std::signbit(entries[i].Rad) == negative) {
            c = entries[i].Cos;
            s = entries[i].Sin;
            return;
        }
    c = std::cos(rad);
    s = std::sin(rad);
    entries[next] = {rad, c, s};
    next = (next + 1) % KEntries;
    if (used < KEntries) ++used;
}
