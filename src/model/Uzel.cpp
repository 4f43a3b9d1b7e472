#include "model/Uzel.h"

#include <algorithm>
#include <cmath>

TUzel::TUzel(std::int32_t n, TReal x, TReal y) : X(x), Y(y) { NastavCislo(n); }

TUzel::~TUzel() {
    Release(LoadVector);
    Release(Displacement);
    CurrentLoad = nullptr;
}

void TUzel::NastavCislo(std::int32_t n) {
    Number = n;
    DofRot.Code = 3 * n - 2;
    DofU.Code = 3 * n - 1;
    DofW.Code = 3 * n;
}

TZatizeni* TUzel::PridejZatizeni(std::uint8_t kind, TZatezovaciStav* loadCase, TReal value, TReal angle) {
    auto* load = new TZatizeni(kind, 0.0L, 0.0L, value, 0.0L, angle, loadCase);
    Loads.Add(load);
    CurrentLoad = load;
    return load;
}

void TUzel::SmazZatizeni() {
    if (!CurrentLoad) return;
    Loads.Remove(CurrentLoad);
    delete CurrentLoad;
    CurrentLoad = Loads.Last();
}

TUzel* TNodeList::NajdiUzel(std::int32_t number) const {
    for (TUzel* n : *this)
        if (n->Number == number) return n;
    return nullptr;
}

void TNodeList::Precisluj() {
    for (int i = 0; i < Count(); ++i) (*this)[i]->NastavCislo(i + 1);
}

TUzel* TNodeList::UzelNaPozici(std::int32_t zoom, TReal x, TReal y) const {
    for (TUzel* n : *this) {
        TReal dx = x - n->X, dy = y - n->Y;
        if (std::sqrt(dx * dx + dy * dy) * zoom < 6) return n;
    }
    return nullptr;
}

KORVAN_POOL_DEFINE(TUzel)
KORVAN_POOL_DEFINE(TZatizeni)

bool Coincide(TReal x1, TReal y1, TReal x2, TReal y2) {
    const TReal scale = std::max({TReal(1), std::fabs(x1), std::fabs(y1), std::fabs(x2), std::fabs(y2)});
    return std::hypot(x2 - x1, y2 - y1) <= 1e-12L * scale;
}
