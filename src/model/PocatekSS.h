#pragma once
// The origin marker (two red arrows at the model origin) and the anchor, the movable reference
// point from which the pointer coordinates are counted.
#include <cstdint>

#include "base/Types.h"

class TPocatekSS {
public:
    std::uint32_t ColorX = 255; // 0x00BBGGRR: pure red
    std::uint32_t ColorY = 255;
    bool Visible = true;
};

class TRefPoint {
public:
    // The stored position while the anchor is active, 0 otherwise.
    TReal X() const { return Active ? mX : 0.0L; }
    TReal Y() const { return Active ? mY : 0.0L; }
    void SetX(TReal x) { mX = x; }
    void SetY(TReal y) { mY = y; }
    TReal StoredX() const { return mX; }
    TReal StoredY() const { return mY; }
    bool Active = true;

private:
    TReal mX = 0.0L;
    TReal mY = 0.0L;
};
