#include "canvas/DiagramFit.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>

#include "analysis/Envelope.h"
#include "canvas/MemberResults.h"
#include "canvas/RecordingPainter.h"
#include "model/MKPSpace.h"

TReal NejvetsiPoradnice(TMKPSpace& space, int mode) {
    if (mode < 1 || mode > 4) return 0;
    const std::size_t row = mode == 3 ? 1 : mode == 2 ? 2 : 3;
    TReal largest = 0;
    const auto take = [&](const TMatrix& r) {
        for (std::size_t i = 0; i < r[0].size(); ++i) {
            const TReal v = mode == 4 ? std::hypot(r[5][i], r[6][i]) : std::fabs(r[row][i]);
            if (std::isfinite(v)) largest = std::max(largest, v);
        }
    };
    if (space.Envelope) {
        // Both curves of an envelope.
        TMatrix table;
        for (int i = 0; i < space.Members.Count(); ++i)
            for (bool high : {true, false})
                if (space.Members[i]->HasResults() && space.Envelope->Table(i, high, table)) take(table);
        return largest;
    }
    // The tables the repaint keeps (and will draw from).
    TMemberTables& tables = MemberTables(space);
    for (int i = 0; i < space.Members.Count(); ++i) {
        TPrut* m = space.Members[i];
        if (!m->HasResults()) continue;
        if (const TMatrix* r = tables.Table(*m, i)) take(*r);
    }
    return largest;
}

namespace {
// A conservative width of a canvas text: the canvas font is about 6 pixels a character.
int TextWidth(const std::string& utf8, const TFont& font) {
    int chars = 0;
    for (unsigned char c : utf8)
        chars += (c & 0xC0) != 0x80;
    return chars * std::max(7, font.Height * 7 / 11);
}

struct TBox {
    int Left = INT_MAX, Top = INT_MAX, Right = INT_MIN, Bottom = INT_MIN;
    void Add(int x, int y) {
        Left = std::min(Left, x);
        Top = std::min(Top, y);
        Right = std::max(Right, x + 1);
        Bottom = std::max(Bottom, y + 1);
    }
    bool Empty() const { return Left > Right; }
};
} // namespace

TPixelRect RozsahKresby(TMKPSpace& space) {
    const bool origin = space.Origin.Visible, anchor = space.Anchor.Active, grid = space.GridVisible;
    space.Origin.Visible = false;
    space.Anchor.Active = false;
    space.GridVisible = false;
    TRecordingPainter recorder(space.Width, space.Height);
    space.Prekresli(recorder);
    space.Origin.Visible = origin;
    space.Anchor.Active = anchor;
    space.GridVisible = grid;
    TBox box;
    for (const TPaintOp& op : recorder.Ops) {
        switch (op.Kind) {
        case TPaintKind::Line:
        case TPaintKind::Polyline:
        case TPaintKind::Polygon:
        case TPaintKind::Arc:
            for (const TPixel& p : op.Points)
                box.Add(p.X, p.Y);
            break;
        case TPaintKind::Ellipse:
        case TPaintKind::Rectangle:
            box.Add(op.Rect.Left, op.Rect.Top);
            box.Add(op.Rect.Right - 1, op.Rect.Bottom - 1);
            break;
        case TPaintKind::Text:
            if (op.Points.empty()) break;
            box.Add(op.Points[0].X, op.Points[0].Y);
            box.Add(op.Points[0].X + TextWidth(op.Text, op.Font), op.Points[0].Y + op.Font.Height + 3);
            break;
        default: // background, flood fills (inside outlines already counted), save-under
            break;
        }
    }
    if (box.Empty()) return {};
    return {box.Left, box.Top, box.Right, box.Bottom};
}

bool PrizpusobMeritko(TMKPSpace& space) {
    const int mode = space.TypZobrazeni();
    const TReal largest = NejvetsiPoradnice(space, mode);
    if (!(largest > 0)) return false;
    // A force that is only rounding noise (N of a beam under transverse loads) is no diagram.
    if (mode <= 3) {
        TReal forces = 0;
        for (int m = 1; m <= 3; ++m)
            if (m != mode) forces = std::max(forces, NejvetsiPoradnice(space, m));
        if (largest <= 1e-9L * forces) return false;
    }
    TReal minX, maxX, minY, maxY;
    space.Rozsah(minX, maxX, minY, maxY);
    const TReal extent = std::max(maxX - minX, maxY - minY);
    if (!(extent > 0)) return false;
    auto setScale = [&] { space.SetScaleIF(KFitShare * extent * space.Zoom() / largest); };

    const auto repaint = space.OnRepaint;
    space.OnRepaint = nullptr; // one repaint at the end
    setScale();
    const int w = space.Width - 2 * KFitMargin, h = space.Height - 2 * KFitMargin;
    for (int step = 0; step < 12; ++step) {
        const TPixelRect box = RozsahKresby(space);
        const int bw = box.Right - box.Left, bh = box.Bottom - box.Top;
        if (bw <= 0 || bh <= 0) break;
        const bool inside = box.Left >= KFitMargin && box.Top >= KFitMargin &&
                            box.Right <= space.Width - KFitMargin && box.Bottom <= space.Height - KFitMargin;
        if (inside) break;
        if ((bw > w || bh > h) && space.Zoom() > 10) {
            // Too large: narrow the view; the diagram keeps its share of the model.
            const TReal factor = std::min(TReal(w) / bw, TReal(h) / bh);
            space.ZoomAboutCentre(std::int32_t(std::floor(space.Zoom() * factor * 0.97L)));
            setScale();
            continue;
        }
        // Fits in size (or the view cannot narrow further): move the drawing to the middle.
        const int dx = (space.Width - (box.Left + box.Right)) / 2;
        const int dy = (space.Height - (box.Top + box.Bottom)) / 2;
        if (dx == 0 && dy == 0) break;
        space.OffsetX += dx;
        space.OffsetY -= dy;
    }
    space.OnRepaint = repaint;
    space.ScrollBarsReset();
    space.Prekresli();
    return true;
}
