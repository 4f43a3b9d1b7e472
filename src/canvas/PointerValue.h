#pragma once
// The value of a result under the pointer: the member whose axis passes under a point, the
// distance x from its node a, and the shown quantity there as the table along the member gives it
// at x (a station made at x, never a value interpolated between the drawn stations); the texts of
// the status bar, the pointer's label and a pinned mark; the drawing of the pinned marks.
#include <array>
#include <string>

#include "analysis/Envelope.h"
#include "canvas/CanvasPainter.h"
#include "model/MKPSpace.h"

// A place on a member: its list position (-1: none) and the distance from its node a.
struct TMemberPoint {
    int Member = -1;
    TReal X = 0;
};

// The member whose axis passes nearest the model point (x, y), no farther than `pixels` pixels at
// the present zoom, with the foot of the perpendicular on the member (its ends included).
TMemberPoint PrutVBode(const TMKPSpace& space, TReal x, TReal y, int pixels = 6);

// The shown quantity at a member point. Modes 1 to 3 (T, N, M) give one value, with the sign of
// the diagram's labels (M as it lies on a member drawn rightwards, N and T the other way round);
// mode 4 two, u and w along and across the member (mm). An envelope gives the largest and the
// smallest of each, with the name of the combination giving it.
struct TPointerValue {
    TMemberPoint At;
    int Mode = 0;
    bool Envelope = false;
    int Count = 0; // values: 1, or 2 in mode 4
    std::array<TReal, 2> Value{};
    std::array<TReal, 2> Max{}, Min{};
    std::array<std::string, 2> MaxBy, MinBy;
};

// False outside the result modes, off a member, or for a member without results. The model shows
// afterwards what it showed before.
bool HodnotaPodUkazatelem(TMKPSpace& space, const TMemberPoint& at, TPointerValue& out);

// "Prut 3, x = 2.500 m: M = 12.500 kNm" (the status bar and the label at the pointer), in the
// display units.
std::string TextHodnoty(const TMKPSpace& space, const TPointerValue& value);
// The part after the colon: the value of a pinned mark.
std::string TextZnacky(const TMKPSpace& space, const TPointerValue& value);

// Draws the pinned marks of the display mode shown: a red ring on the member axis and the value
// beside it. Nothing without marks.
void KresliZnacky(TMKPSpace& space, TCanvasPainter& painter);
