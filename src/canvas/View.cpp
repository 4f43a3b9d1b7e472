#include <algorithm>
#include <cmath>
#include <limits>

#include "canvas/DiagramFit.h"
#include "canvas/Rounding.h"
#include "model/MKPSpace.h"

namespace {
constexpr std::int32_t KMinZoom = 10;
constexpr std::int32_t KMaxZoom = 2000;

// A zoom computed as a real, held within the zoom limits before it becomes an integer.
std::int32_t ZoomFromReal(TReal z) {
    if (std::isnan(z) || z <= KMinZoom) return KMinZoom;
    if (z >= KMaxZoom) return KMaxZoom;
    return RoundPx(z);
}

std::int32_t ClampToInt32(TReal v) {
    constexpr TReal lo = std::numeric_limits<std::int32_t>::min();
    constexpr TReal hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(v, lo, hi));
}

// Widens a range so that it holds the position: the position is never clamped by the bar, so
// writing it never moves the view.
void Include(TMKPSpace::TScrollBarState& bar, std::int32_t position) {
    bar.Min = std::min(bar.Min, position);
    bar.Max = std::max(bar.Max, position);
    bar.Position = position;
}
} // namespace

void TMKPSpace::SetZoom(std::int32_t zoom) {
    mZoom = std::clamp(zoom, KMinZoom, KMaxZoom);
}

TPixel TMKPSpace::ToScreen(TReal x, TReal y) const {
    return {RoundPx(mZoom * x + OffsetX), RoundPx((Height - OffsetY) - mZoom * y)};
}

TMKPSpace::TModelPoint TMKPSpace::ToModel(int x, int y) const {
    return {static_cast<TReal>(x - OffsetX) / mZoom,
            static_cast<TReal>(static_cast<TReal>(Height) - y - OffsetY) / mZoom};
}

TMKPSpace::TModelPoint TMKPSpace::SnapToStep(TModelPoint p) const {
    if (!SnapOn) return p;
    return {std::nearbyint(p.X / SnapDX) * SnapDX, std::nearbyint(p.Y / SnapDY) * SnapDY};
}

// In list order, a value ≤ the minimum replaces the minimum, else one > the maximum replaces
// the maximum.
void TMKPSpace::Rozsah(TReal& minX, TReal& maxX, TReal& minY, TReal& maxY) const {
    minX = maxX = minY = maxY = 0.0L;
    if (Nodes.Empty()) return;
    minX = maxX = Nodes[0]->X;
    minY = maxY = Nodes[0]->Y;
    for (int i = 1; i < Nodes.Count(); ++i) {
        const TUzel* n = Nodes[i];
        if (n->X <= minX)
            minX = n->X;
        else if (n->X > maxX)
            maxX = n->X;
        if (n->Y <= minY)
            minY = n->Y;
        else if (n->Y > maxY)
            maxY = n->Y;
    }
}

// The zoom is a multiple of 10 that leaves about 50 pixels on each side; the lowest-left corner
// of the extents comes 50 pixels from the left and the bottom edge.
bool TMKPSpace::ShowAll() {
    TReal minX, maxX, minY, maxY;
    Rozsah(minX, maxX, minY, maxY);
    TReal w = std::fabs(maxX - minX);
    TReal h = std::fabs(maxY - minY);
    if (w == 0 && h == 0) return false;
    TReal z;
    if (w != 0 && h != 0) {
        z = std::nearbyint((Width - 100) / (w * 10)) * 10;
        TReal zh = std::nearbyint((Height - 100) / (h * 10)) * 10;
        if (zh < z) z = zh;
    } else if (w == 0) {
        z = std::nearbyint((Height - 100) / (h * 10)) * 10;
    } else {
        z = std::nearbyint((Width - 100) / (w * 10)) * 10;
    }
    mZoom = ZoomFromReal(z);
    OffsetX = 50 - RoundPx(mZoom * minX);
    OffsetY = 50 - RoundPx(mZoom * minY);
    KeepDrawingInside(w, h, minX, minY);
    ScrollBarsReset();
    Prekresli();
    return true;
}

// The zoom of show-all is rounded to the nearest ten, so the nodes can take more than the canvas
// less its margins, and supports, loads, labels and diagrams stand further out by their own
// pixels: the far end of a wide structure could leave the canvas. A drawing that lies inside
// keeps the view computed above. Otherwise the zoom steps down (to the tens that leave the
// drawing's own pixels room, and 20 pixels on each side for the origin marker's letters beside a
// node at the edge) with the same 50-pixel placement; at the smallest zoom a drawing that fits
// in size comes to the middle along the direction in which it stood over an edge. A drawing that
// fits at no zoom (a diagram scaled beyond the canvas) leaves the view computed above.
void TMKPSpace::KeepDrawingInside(TReal w, TReal h, TReal minX, TReal minY) {
    constexpr int KRoom = 20;
    const std::int32_t zoom = mZoom, offsetX = OffsetX, offsetY = OffsetY;
    for (int step = 0; step < 8; ++step) {
        const TPixelRect box = RozsahKresby(*this);
        const int bw = box.Right - box.Left, bh = box.Bottom - box.Top;
        if (bw <= 0 || bh <= 0) return;
        if (box.Left >= 0 && box.Top >= 0 && box.Right <= Width && box.Bottom <= Height) return;
        if ((bw > Width - 2 * KRoom || bh > Height - 2 * KRoom) && mZoom > KMinZoom) {
            // The drawing's own pixels beyond the nodes do not grow with the zoom.
            const TReal extraW = bw - w * mZoom, extraH = bh - h * mZoom;
            TReal z = mZoom - 10;
            if (w > 0) z = std::min(z, (Width - 2 * KRoom - extraW) / w);
            if (h > 0) z = std::min(z, (Height - 2 * KRoom - extraH) / h);
            mZoom = ZoomFromReal(std::floor(z / 10) * 10);
            OffsetX = 50 - RoundPx(mZoom * minX);
            OffsetY = 50 - RoundPx(mZoom * minY);
            continue;
        }
        if (bw > Width || bh > Height) break;
        if (box.Left < 0 || box.Right > Width) OffsetX += (Width - box.Left - box.Right) / 2;
        if (box.Top < 0 || box.Bottom > Height) OffsetY -= (Height - box.Top - box.Bottom) / 2;
        return;
    }
    mZoom = zoom;
    OffsetX = offsetX;
    OffsetY = offsetY;
}

// The model point under the canvas centre stays there (up to rounding).
void TMKPSpace::ZoomAboutCentre(std::int32_t newZoom) {
    TReal cx = (Width / 2.0L - OffsetX) / mZoom;
    TReal cy = (Height / 2.0L - OffsetY) / mZoom;
    SetZoom(newZoom);
    OffsetX = RoundPx(Width / 2.0L - mZoom * cx);
    OffsetY = RoundPx(Height / 2.0L - mZoom * cy);
}

// r is the window's size as a fraction of the visible model width or height, the larger one.
bool TMKPSpace::ZoomToWindow(bool zoomIn) {
    TReal x1 = ZoomCorner1.X, y1 = ZoomCorner1.Y, x2 = ZoomCorner2.X, y2 = ZoomCorner2.Y;
    TReal cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
    TReal rx = std::fabs(x2 - x1) / (static_cast<TReal>(Width) / mZoom);
    TReal ry = std::fabs(y2 - y1) / (static_cast<TReal>(Height) / mZoom);
    TReal r = ry >= rx ? ry : rx;
    if (!(r > 0) || std::isinf(r)) return false;
    mZoom = ZoomFromReal(zoomIn ? mZoom / r : mZoom * r);
    OffsetX = RoundPx(Width / 2.0L - mZoom * cx);
    OffsetY = RoundPx(Height / 2.0L - mZoom * cy);
    ScrollBarsReset();
    Prekresli();
    return true;
}

void TMKPSpace::CentreAt(int x, int y) {
    OffsetX = OffsetX + RoundPx(Width / 2.0L - x);
    OffsetY = OffsetY - RoundPx(Height / 2.0L - y);
    WriteScrollPositions();
    Prekresli();
}

void TMKPSpace::PanBy(int dx, int dy) {
    OffsetX = OffsetX + dx;
    OffsetY = OffsetY - dy;
    WriteScrollPositions();
    Prekresli();
}

void TMKPSpace::ScrolltoCSO() {
    OffsetX = 40;
    OffsetY = 40;
    WriteScrollPositions();
    Prekresli();
}

// The ranges follow the model extents at the current zoom; they are widened to hold the current
// positions, so that a view set by show-all or a zoom window never jumps.
void TMKPSpace::ScrollBarsReset() {
    TReal minX, maxX, minY, maxY;
    Rozsah(minX, maxX, minY, maxY);
    TReal w = std::fabs(maxX - minX);
    TReal h = std::fabs(maxY - minY);
    HScroll.Min = ClampToInt32(mZoom * (-std::nearbyint(w) - 50));
    HScroll.Max = ClampToInt32(mZoom * (std::nearbyint(w) + 50));
    VScroll.Min = ClampToInt32(mZoom * (-std::nearbyint(h) - 50));
    VScroll.Max = ClampToInt32(mZoom * (std::nearbyint(h) + 50));
    WriteScrollPositions();
}

void TMKPSpace::WriteScrollPositions() {
    Include(HScroll, -OffsetX);
    Include(VScroll, OffsetY);
}

void TMKPSpace::HScrollBarChange(std::int32_t position) {
    HScroll.Position = std::clamp(position, HScroll.Min, HScroll.Max);
    OffsetX = -HScroll.Position;
    Prekresli();
}

void TMKPSpace::VScrollBarChange(std::int32_t position) {
    VScroll.Position = std::clamp(position, VScroll.Min, VScroll.Max);
    OffsetY = VScroll.Position;
    Prekresli();
}
