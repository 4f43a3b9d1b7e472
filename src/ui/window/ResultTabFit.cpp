#include "ui/window/ResultTabFit.h"

void TResultTabFit::Computed() {
    mShown.reset();
}

bool TResultTabFit::Shown(int index) {
    if (index < 1 || index > 4 || mShown.test(static_cast<std::size_t>(index))) return false;
    mShown.set(static_cast<std::size_t>(index));
    return true;
}
