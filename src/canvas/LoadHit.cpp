#include "canvas/LoadHit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "canvas/Drawing.h"
#include "canvas/RecordingPainter.h"

namespace {

double SegmentDistance(TPixel p, TPixel a, TPixel b) {
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

// Even-odd rule over the closed outline.
bool Inside(TPixel p, const std::vector<TPixel>& outline) {
    bool in = false;
    for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        const TPixel a = outline[i], b = outline[j];
        if ((a.Y > p.Y) != (b.Y > p.Y) && p.X < a.X + double(b.X - a.X) * (p.Y - a.Y) / double(b.Y - a.Y))
            in = !in;
    }
    return in;
}

double BoxDistance(TPixel p, int left, int top, int right, int bottom) {
    const double dx = std::max({left - p.X, 0, p.X - right});
    const double dy = std::max({top - p.Y, 0, p.Y - bottom});
    return std::hypot(dx, dy);
}

// The distance from p to what one drawing recorded.
double Distance(TPixel p, const std::vector<TPaintOp>& ops) {
    double best = std::numeric_limits<double>::infinity();
    for (const TPaintOp& op : ops) {
        switch (op.Kind) {
        case TPaintKind::Line:
            best = std::min(best, SegmentDistance(p, op.Points[0], op.Points[1]));
            break;
        case TPaintKind::Polyline:
        case TPaintKind::Polygon:
            // A distributed load's outline is open toward the member: its inside counts too.
            for (std::size_t i = 0; i + 1 < op.Points.size(); ++i)
                best = std::min(best, SegmentDistance(p, op.Points[i], op.Points[i + 1]));
            if (op.Points.size() >= 3 && Inside(p, op.Points)) best = 0;
            break;
        case TPaintKind::Arc: {
            // The moment symbol: the upper half of the circle in its box.
            const double cx = (op.Rect.Left + op.Rect.Right) / 2.0, cy = (op.Rect.Top + op.Rect.Bottom) / 2.0;
            const double r = (op.Rect.Right - op.Rect.Left) / 2.0;
            const double d = std::hypot(p.X - cx, p.Y - cy);
            if (p.Y <= cy)
                best = std::min(best, std::fabs(d - r));
            else
                best = std::min(
                    {best, std::hypot(p.X - (cx - r), p.Y - cy), std::hypot(p.X - (cx + r), p.Y - cy)});
            break;
        }
        case TPaintKind::Text: {
            const TPixel at = op.Points[0];
            const int width = KLabelCharWidth * static_cast<int>(op.Text.size());
            best = std::min(best, BoxDistance(p, at.X, at.Y, at.X + width, at.Y + KLabelHeight));
            break;
        }
        default:
            break;
        }
    }
    return best;
}

} // namespace

TLoadHit ZatizeniNaPozici(TMKPSpace& space, int x, int y, int tolerance) {
    const TPixel p{x, y};
    TRecordingPainter recorder(space.Width, space.Height);
    TSpaceDrawer drawer(space, recorder, false);
    TLoadHit hit;
    double nearest = tolerance;
    auto consider = [&](TLoadHit candidate) {
        const double d = Distance(p, recorder.Ops);
        recorder.Clear();
        if (d <= nearest) {
            nearest = d;
            hit = candidate;
        }
    };
    // In the order of the repaint: nodal loads first, then every member's loads over them.
    if (space.ShowNodalLoads)
        for (TUzel* node : space.Nodes) {
            const TPixel at = space.ToScreen(node->X, node->Y);
            for (TZatizeni* load : node->Loads) {
                drawer.NodalLoad(*load, at);
                consider({node, nullptr, load});
            }
        }
    if (space.ShowMemberLoads)
        for (TPrut* member : space.Members) {
            const TPixel a = space.ToScreen(member->NodeA->X, member->NodeA->Y);
            for (TZatizeni* load : member->Loads) {
                if (load->Kind == KLoadSelfWeight) continue;
                drawer.MemberLoad(*member, *load, a);
                consider({nullptr, member, load});
            }
        }
    return hit;
}
