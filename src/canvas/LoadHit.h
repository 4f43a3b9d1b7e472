#pragma once
// Finding the load drawn under a pixel of the canvas, for editing a load by a double click. The
// loads are measured as the full repaint draws them (shaft, head, moment arc, the outline and the
// inside of a distributed load, the value label), so what the user sees is what is hit.
#include "model/MKPSpace.h"

struct TLoadHit {
    TUzel* Node = nullptr;   // the nodal load's node
    TPrut* Member = nullptr; // the member load's member
    TZatizeni* Load = nullptr;
    explicit operator bool() const { return Load != nullptr; }
};

// The load whose drawing comes nearest to the pixel (x, y), within tolerance pixels; of two at
// the same distance the one drawn later (on top). Loads switched off in the display
// (ShowNodalLoads, ShowMemberLoads) and self-weight loads, which are never drawn, are not found.
// A label counts as a box of KLabelCharWidth pixels per character and KLabelHeight high.
TLoadHit ZatizeniNaPozici(TMKPSpace& space, int x, int y, int tolerance = 4);

constexpr int KLabelCharWidth = 7;
constexpr int KLabelHeight = 14;
