#include "model/MKPSpace.h"

// A scale that is not > 0 (NaN included) stores 0; one above the limit stores the limit.
static TReal ClampScale(TReal v, TReal limit) {
    if (!(v > 0)) return 0.0L;
    return v > limit ? limit : v;
}

void TMKPSpace::SetShowReactions(bool on) {
    mShowReactions = on;
    Prekresli();
}

void TMKPSpace::SetScaleSL(TReal scale) {
    mScaleSL = ClampScale(scale, 100.0L);
    Prekresli();
}

void TMKPSpace::SetScaleCL(TReal scale) {
    mScaleCL = ClampScale(scale, 100.0L);
    Prekresli();
}

void TMKPSpace::SetScaleIF(TReal scale) {
    mScaleIF = ClampScale(scale, 100000.0L);
    Prekresli();
}

// Only the five modes exist; any other value leaves the mode as it is.
void TMKPSpace::SetTypZobrazeni(std::uint8_t mode) {
    if (mode > 4) return;
    mTypZobrazeni = mode;
    Prekresli();
}

void TMKPSpace::Prekresli() {
    if (OnRepaint) OnRepaint();
}

void TMKPSpace::ResetDisplayAfterClear() {
    mTypZobrazeni = 0;
    mScaleSL = 3.0L;
    mScaleCL = 3.0L;
}
