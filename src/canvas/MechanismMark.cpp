#include "canvas/MechanismMark.h"

#include <cmath>

#include "canvas/Rounding.h"
#include "model/MKPSpace.h"

namespace {
const TColor KMarkColour = Rgb(220, 0, 0);
constexpr int KRing = 9;    // ring radius, px
constexpr int KArrow = 26;  // half length of the double arrow, px
constexpr int KHead = 6;    // arrow head, px

void Head(TCanvasPainter& c, int x, int y, double dx, double dy) {
    // dx, dy: unit vector of the arrow's direction on the screen
    const double px = -dy, py = dx;
    c.Line({x, y}, {RoundPx(x - KHead * dx + KHead * 0.5 * px), RoundPx(y - KHead * dy + KHead * 0.5 * py)});
    c.Line({x, y}, {RoundPx(x - KHead * dx - KHead * 0.5 * px), RoundPx(y - KHead * dy - KHead * 0.5 * py)});
}

// The member (or its load) at fault. The load runs along the member's axis from node a: A to
// A + C for a distributed load, the point A for a force or a moment.
bool MarkMember(const TMKPSpace& space, TCanvasPainter& c, const TDofPlace& place) {
    if (place.Member > space.Members.Count()) return false;
    const TPrut* m = space.Members[place.Member - 1];
    if (place.Load > m->Loads.Count()) return false;
    const TPixel a = space.ToScreen(m->NodeA->X, m->NodeA->Y);
    const TPixel b = space.ToScreen(m->NodeB->X, m->NodeB->Y);
    TPixel from = a, to = b;
    if (place.Load > 0) {
        const TZatizeni* z = m->Loads[place.Load - 1];
        const bool spread = z->Kind == KLoadDistributed || z->Kind == KLoadSelfWeight;
        const TReal ends[2] = {z->A, spread ? z->A + z->C : z->A};
        TPixel* points[2] = {&from, &to};
        // Along the member's direction on the screen, in member lengths from node a.
        const double dx = b.X - a.X, dy = b.Y - a.Y, length = double(m->Length);
        for (int i = 0; i < 2; ++i) {
            const double t = length > 0 ? double(ends[i]) / length : 0;
            *points[i] = {RoundPx(a.X + t * dx), RoundPx(a.Y + t * dy)};
        }
    }
    const TPen pen = c.Pen();
    const TBrush brush = c.Brush();
    c.SetPen({KMarkColour, 3, TPenStyle::Solid});
    c.SetBrush({KWhite, TBrushStyle::Clear});
    c.Line(from, to);
    const TPixel at = place.Load > 0 ? to : TPixel{(from.X + to.X) / 2, (from.Y + to.Y) / 2};
    c.SetPen({KMarkColour, 2, TPenStyle::Solid});
    c.Ellipse({at.X - KRing, at.Y - KRing, at.X + KRing + 1, at.Y + KRing + 1});
    c.SetPen(pen);
    c.SetBrush(brush);
    return true;
}
} // namespace

bool KresliMistoMechanismu(const TMKPSpace& space, TCanvasPainter& c, const TDofPlace& place) {
    if (place.Member > 0) return MarkMember(space, c, place);
    if (place.Node < 1 || place.Node > space.Nodes.Count()) return false;
    const TUzel* node = space.Nodes[place.Node - 1];
    const TPixel at = space.ToScreen(node->X, node->Y);
    const TPen pen = c.Pen();
    const TBrush brush = c.Brush();
    c.SetPen({KMarkColour, 2, TPenStyle::Solid});
    c.SetBrush({KWhite, TBrushStyle::Clear});
    c.Ellipse({at.X - KRing, at.Y - KRing, at.X + KRing + 1, at.Y + KRing + 1});
    if (place.Kind == TDofKind::Rotation) {
        const int r = KRing + 7;
        // Three quarters of a circle, counter-clockwise from the right to the bottom, and a head
        // at its end showing the turning sense.
        c.Arc({at.X - r, at.Y - r, at.X + r + 1, at.Y + r + 1}, {at.X + r, at.Y}, {at.X, at.Y + r});
        Head(c, at.X, at.Y + r, -1.0, 0.0);
    } else {
        // The screen direction of the node's axis: angles are clockwise from +x and the screen's
        // y runs down, so the u axis at angle a is (cos a, sin a) and w is 90° further.
        const TReal degrees = place.Kind == TDofKind::U ? node->DofU.Angle : node->DofW.Angle + 90.0L;
        const double a = double(degrees) * 3.14159265358979323846 / 180.0;
        const double dx = std::cos(a), dy = std::sin(a);
        const TPixel p1{RoundPx(at.X + KArrow * dx), RoundPx(at.Y + KArrow * dy)};
        const TPixel p2{RoundPx(at.X - KArrow * dx), RoundPx(at.Y - KArrow * dy)};
        c.Line(p2, p1);
        Head(c, p1.X, p1.Y, dx, dy);
        Head(c, p2.X, p2.Y, -dx, -dy);
    }
    c.SetPen(pen);
    c.SetBrush(brush);
    return true;
}
