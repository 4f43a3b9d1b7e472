#include <algorithm>

#include "analysis/Envelope.h"
#include "canvas/DragPicture.h"
#include "canvas/Drawing.h"
#include "canvas/MemberResults.h"
#include "canvas/PointerValue.h"
#include "model/MKPSpace.h"

// Modes 1 to 4 draw the member from its results table along its length. A member without end
// results (added or reconnected after the last computation) is drawn as in the model mode. The
// full repaint gives the member's list position and takes its tables from the space's store;
// a direct drawing forms them for itself.
void TSpaceDrawer::Member(TPrut& member, int index) {
    member.Geometrie();
    const TPixel a = mSpace.ToScreen(member.NodeA->X, member.NodeA->Y);
    const TPixel b = mSpace.ToScreen(member.NodeB->X, member.NodeB->Y);
    mTexts = TextsFit(a, b);
    const int mode = mSpace.TypZobrazeni();
    const bool results = mode >= 1 && mode <= 4 && member.HasResults();
    bool drawn = false;
    // An envelope is drawn as two curves, its largest and its smallest values with the band between
    // them; its deformed shape as the numbers of the extremes of u and w.
    if (results && mSpace.Envelope) {
        const int position = index >= 0 ? index : mSpace.Members.IndexOf(&member);
        TMatrix ownHigh, ownLow;
        const TMatrix *high = nullptr, *low = nullptr;
        if (index >= 0) {
            TMemberTables& tables = MemberTables(mSpace);
            high = tables.EnvelopeTable(mSpace.Envelope, index, true);
            low = high ? tables.EnvelopeTable(mSpace.Envelope, index, false) : nullptr;
        } else if (position >= 0 && mSpace.Envelope->Table(position, true, ownHigh) &&
                   mSpace.Envelope->Table(position, false, ownLow)) {
            high = &ownHigh;
            low = &ownLow;
        }
        if (high && low) {
            const TObalka::TMemberEnvelope& e = mSpace.Envelope->Members[std::size_t(position)];
            if (mode == 4) {
                MemberLine(member, a, b);
                EnvelopeDisplacements(member, e, *mSpace.Envelope);
            } else {
                EnvelopeDiagram(member, *high, *low, e, *mSpace.Envelope, mode, a, b);
            }
            drawn = true;
        }
    }
    if (results && !drawn) {
        const TMatrix* table = nullptr;
        if (index >= 0)
            table = MemberTables(mSpace).Table(member, index);
        else if (ComputeMemberResults(member))
            table = &member.Results;
        if (table) {
            if (mode == 4)
                DeformedShape(member, *table, a, b);
            else
                Diagram(member, *table, mode, a, b);
            drawn = true;
        }
        if (index < 0) ReleaseMemberResults(member);
    }
    if (!drawn) MemberLine(member, a, b);
    if (mSpace.ShowNumbers) MemberNumber(member, a, b);
    if (mSpace.ShowMemberLoads) MemberLoads(member, a);
}

namespace {
// One node of the full repaint: in the model view its support and its dot, then its number, its
// reactions and its loads.
void PaintNode(TMKPSpace& s, TSpaceDrawer& d, TCanvasPainter& p, const TUzel& node, bool model) {
    const TPixel at = s.ToScreen(node.X, node.Y);
    p.SetPen({KBlack, 1, TPenStyle::Solid});
    p.SetBrush({KBlack, TBrushStyle::Solid});
    if (model) {
        d.SupportSymbol(node, at);
        d.NodeDot(node, at, 3, 4);
    }
    if (s.ShowNumbers) d.NodeNumber(node, at);
    if (s.ShowReactions()) d.Reactions(node, at);
    if (s.ShowNodalLoads) d.NodalLoads(node, at);
}

bool ModelView(const TMKPSpace& s) {
    return s.TypZobrazeni() < 1 || s.TypZobrazeni() > 4;
}

bool Empty(const TPixelRect& r) {
    return r.Left >= r.Right || r.Top >= r.Bottom;
}

bool Meet(const TPixelRect& a, const TPixelRect& b) {
    return !Empty(a) && !Empty(b) && a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom &&
           b.Top < a.Bottom;
}

// A painter in front of another (or of none): it passes every call on and widens the box of the
// object being drawn by what each primitive can cover, the pen's width and a pixel around its
// points, a text's box and two pixels around it. Boxes are kept within a pixel beyond the canvas,
// so that pixels of far nodes (clamped near the int range) cannot overflow them.
class TExtentTee : public TCanvasPainter {
public:
    TExtentTee(TCanvasPainter* inner, int width, int height)
        : mInner(inner), mWidth(width), mHeight(height) {}
    int Width() const override { return mWidth; }
    int Height() const override { return mHeight; }
    // The box that the following primitives widen (none: they widen nothing).
    void Target(TPixelRect* box) { mBox = box; }

    void Polyline(const std::vector<TPixel>& points) override {
        CoverPoints(points);
        if (mInner) mInner->Polyline(points);
    }
    void Polygon(const std::vector<TPixel>& points) override {
        CoverPoints(points);
        if (mInner) mInner->Polygon(points);
    }
    void Ellipse(const TPixelRect& box) override {
        CoverBox(box, PenReach());
        if (mInner) mInner->Ellipse(box);
    }
    void Rectangle(const TPixelRect& box) override {
        CoverBox(box, PenReach());
        if (mInner) mInner->Rectangle(box);
    }
    void Arc(const TPixelRect& box, TPixel start, TPixel end) override {
        CoverBox(box, PenReach());
        if (mInner) mInner->Arc(box, start, end);
    }
    void TextOut(int x, int y, const std::string& text) override {
        CoverBox(TextBox(x, y, text, Font()), 2);
        if (!mInner) return;
        mInner->SetTextBackground(TextOpaque(), TextBackground());
        mInner->TextOut(x, y, text);
    }
    void FloodFill(int x, int y, TColor border) override {
        CoverBox({0, 0, mWidth, mHeight}, 1);
        if (mInner) mInner->FloodFill(x, y, border);
    }
    void FillRect(const TPixelRect& box, TColor color) override {
        CoverBox(box, 1);
        if (mInner) mInner->FillRect(box, color);
    }
    void SaveArea(const TPixelRect& area) override {
        if (mInner) mInner->SaveArea(area);
    }
    void RestoreArea() override {
        if (mInner) mInner->RestoreArea();
    }

protected:
    void DrawLine(TPixel from, TPixel to) override {
        CoverPoints({from, to});
        if (mInner) mInner->Line(from, to);
    }
    void PenChanged() override {
        if (mInner) mInner->SetPen(Pen());
    }
    void BrushChanged() override {
        if (mInner) mInner->SetBrush(Brush());
    }
    void FontChanged() override {
        if (mInner) mInner->SetFont(Font());
    }

private:
    int PenReach() const { return std::max(Pen().Width, 1) + 1; }
    void CoverPoints(const std::vector<TPixel>& points) {
        if (!mBox || points.empty()) return;
        TPixelRect box{points[0].X, points[0].Y, points[0].X, points[0].Y};
        for (const TPixel& p : points) {
            box.Left = std::min(box.Left, p.X);
            box.Top = std::min(box.Top, p.Y);
            box.Right = std::max(box.Right, p.X);
            box.Bottom = std::max(box.Bottom, p.Y);
        }
        CoverBox(box, PenReach());
    }
    void CoverBox(const TPixelRect& box, int margin) {
        if (!mBox) return;
        auto clamp = [](long long v, int high) { return int(std::clamp(v, -1LL, high + 1LL)); };
        const TPixelRect b{clamp((long long)box.Left - margin, mWidth),
                           clamp((long long)box.Top - margin, mHeight),
                           clamp((long long)box.Right + margin + 1, mWidth),
                           clamp((long long)box.Bottom + margin + 1, mHeight)};
        if (Empty(b)) return;
        if (Empty(*mBox)) {
            *mBox = b;
            return;
        }
        mBox->Left = std::min(mBox->Left, b.Left);
        mBox->Top = std::min(mBox->Top, b.Top);
        mBox->Right = std::max(mBox->Right, b.Right);
        mBox->Bottom = std::max(mBox->Bottom, b.Bottom);
    }

    TCanvasPainter* mInner;
    int mWidth, mHeight;
    TPixelRect* mBox = nullptr;
};

// What of the full repaint a pass paints.
struct TPass {
    // The part left out (the still layer), or the part always painted (a region).
    const TDragPart* Part = nullptr;
    bool PartOnly = false;
    // The still layer's boxes: recorded while it is painted, or read to paint only what meets
    // the region.
    TPictureExtents* Record = nullptr;
    const TPictureExtents* Read = nullptr;
    TPixelRect Region;
};

// Layers: background, grid, origin marker, anchor, then every node, then every member (so
// members lie over nodes and each member's loads over the members before it), then the value
// labels of the diagrams. A pass for the drag leaves out, or paints only, some of the objects;
// the calls of those it paints are the same in the same order.
void PaintWhole(TMKPSpace& s, TCanvasPainter& target, const TPass& pass) {
    TExtentTee tee(&target, target.Width(), target.Height());
    TCanvasPainter& offscreen = pass.Record ? static_cast<TCanvasPainter&>(tee) : target;
    TPictureExtents* record = pass.Record;
    if (record) {
        *record = {};
        record->Nodes.resize(std::size_t(s.Nodes.Count()));
        record->Members.resize(std::size_t(s.Members.Count()));
    }
    const TPictureExtents* read = pass.Read;
    auto wanted = [&](const TPixelRect& box) { return !read || Meet(box, pass.Region); };
    // An object the boxes do not know is painted.
    auto known = [&](const std::vector<TPixelRect>& boxes, int i) {
        return std::size_t(i) < boxes.size() ? boxes[std::size_t(i)] : TPixelRect{0, 0, s.Width, s.Height};
    };
    TSpaceDrawer d(s, offscreen, false);
    // The value labels of the result modes come last, over everything, where they cover no
    // other text and no other label.
    TLabelPlacer labels(offscreen.Width(), offscreen.Height());
    d.SetLabelPlacer(&labels);
    offscreen.SetPen({KBlack, 1, TPenStyle::Solid});
    offscreen.SetBrush({KWhite, TBrushStyle::Solid});
    offscreen.SetFont(TFont{});
    offscreen.FillRect(read ? pass.Region : TPixelRect{0, 0, s.Width, s.Height}, KWhite);
    if (s.GridVisible) d.Grid();
    if (record) tee.Target(&record->Origin);
    if (s.Origin.Visible && wanted(read ? read->Origin : TPixelRect{})) d.OriginMarker();
    if (record) tee.Target(&record->Anchor);
    if (s.Anchor.Active && wanted(read ? read->Anchor : TPixelRect{})) d.AnchorMark();
    const bool model = ModelView(s);
    const TUzel* partNode = pass.Part ? pass.Part->Node : nullptr;
    for (int i = 0; i < s.Nodes.Count(); ++i) {
        const TUzel* node = s.Nodes[i];
        const bool inPart = node == partNode;
        if (pass.PartOnly ? !inPart && !wanted(known(read->Nodes, i)) : inPart) continue;
        if (record) tee.Target(&record->Nodes[std::size_t(i)]);
        PaintNode(s, d, offscreen, *node, model);
    }
    MemberTables(s).Trim(s.Members.Count(), s.Envelope != nullptr);
    // The part's members are in ascending list order: one pass finds them all.
    std::size_t next = 0;
    for (int i = 0; i < s.Members.Count(); ++i) {
        bool inPart = false;
        if (pass.Part && next < pass.Part->Members.size() && pass.Part->Members[next] == i) {
            inPart = true;
            ++next;
        }
        if (pass.PartOnly ? !inPart && !wanted(known(read->Members, i)) : inPart) continue;
        if (record) tee.Target(&record->Members[std::size_t(i)]);
        d.Member(*s.Members[i], i);
    }
    tee.Target(nullptr);
    labels.Draw(offscreen);
    KresliZnacky(s, offscreen);
}
} // namespace

void TMKPSpace::Prekresli(TCanvasPainter& offscreen) {
    PaintWhole(*this, offscreen, TPass{});
}

void PaintStill(TMKPSpace& space, TCanvasPainter& painter, const TDragPart& part, TPictureExtents& extents) {
    TPass pass;
    pass.Part = &part;
    pass.Record = &extents;
    PaintWhole(space, painter, pass);
}

// The part is drawn as the full repaint draws it, onto a painter that only measures.
TPixelRect PartExtent(TMKPSpace& space, const TDragPart& part) {
    TExtentTee tee(nullptr, space.Width, space.Height);
    TPixelRect box;
    tee.Target(&box);
    if (!part.Node) return box;
    TSpaceDrawer d(space, tee, false);
    tee.SetPen({KBlack, 1, TPenStyle::Solid});
    tee.SetBrush({KWhite, TBrushStyle::Solid});
    tee.SetFont(TFont{});
    PaintNode(space, d, tee, *part.Node, ModelView(space));
    MemberTables(space).Trim(space.Members.Count(), space.Envelope != nullptr);
    for (int i : part.Members)
        if (i >= 0 && i < space.Members.Count()) d.Member(*space.Members[i], i);
    return box;
}

void PaintRegion(TMKPSpace& space, TCanvasPainter& painter, const TPixelRect& region, const TDragPart& part,
                 const TPictureExtents& still) {
    TPass pass;
    pass.Part = &part;
    pass.PartOnly = true;
    pass.Read = &still;
    pass.Region = region;
    PaintWhole(space, painter, pass);
}

// Whether the picture shows results: a result mode draws a member from its end results, pinned
// values are drawn while the results are valid. Without them a result mode draws the members
// as lines, as the model view does, only without the node symbols.
static bool ShowsResults(const TMKPSpace& space) {
    if (ModelView(space)) return false;
    if (space.ResultsValid) return true;
    return std::any_of(space.Members.begin(), space.Members.end(),
                       [](const TPrut* m) { return m->HasResults(); });
}

// Nothing the still layer draws may depend on the node's place or on results (a computation during
// the drag may change them): no reactions, and in a result mode no results held (while a large
// frame is dragged with live results it holds none); of all the rest only the origin marker heeds
// other nodes.
bool StillLayerHolds(const TMKPSpace& space, const TUzel& node) {
    if (space.ShowReactions() || ShowsResults(space)) return false;
    return !space.Origin.Visible || !NearOriginMarker(space, node);
}

void TMKPSpace::KresliUzel() {
    if (mVisible) KresliUzel(*mVisible);
}

// Only the model view shows node symbols. The order differs from the full repaint: the support
// (hatched), the number, the loads with short labels, and last a larger dot.
void TMKPSpace::KresliUzel(TCanvasPainter& canvas) {
    if (TypZobrazeni() != 0 || !CurrentNode) return;
    TSpaceDrawer d(*this, canvas, true);
    const TUzel& node = *CurrentNode;
    const TPixel at = ToScreen(node.X, node.Y);
    canvas.SetPen({KBlack, 1, TPenStyle::Solid});
    canvas.SetBrush({KBlack, TBrushStyle::Solid});
    d.SupportSymbolHatched(node, at);
    if (ShowNumbers) d.NodeNumber(node, at);
    if (ShowNodalLoads) d.NodalLoads(node, at);
    d.NodeDot(node, at, 4, 4);
}

void TMKPSpace::KresliVsechnyUzly() {
    if (mVisible) KresliVsechnyUzly(*mVisible);
}

void TMKPSpace::KresliVsechnyUzly(TCanvasPainter& canvas) {
    TUzel* previous = CurrentNode;
    for (TUzel* node : Nodes) {
        CurrentNode = node;
        KresliUzel(canvas);
    }
    CurrentNode = previous;
}

void TMKPSpace::KresliPrut() {
    if (mVisible) KresliPrut(*mVisible);
}

void TMKPSpace::KresliPrut(TCanvasPainter& canvas) {
    if (!CurrentMember) return;
    TSpaceDrawer d(*this, canvas, true);
    d.Member(*CurrentMember);
}

void TMKPSpace::BeginRubberBand() {
    if (!mVisible) return;
    mVisible->SaveArea(RubberRect);
    mVisible->SetPen({KBlack, 1, TPenStyle::Dot});
    mVisible->SetBrush({KWhite, TBrushStyle::Clear});
}

// The outline is drawn straight onto the visible canvas; the pixels under the previous outline
// are put back first, so the picture below is never damaged.
void TMKPSpace::MoveRubberBand(int x, int y) {
    if (!mVisible) return;
    mVisible->RestoreArea();
    const TPixel c = ToScreen(ZoomCorner1.X, ZoomCorner1.Y);
    RubberRect = {std::min(c.X, x), std::min(c.Y, y), std::max(c.X, x), std::max(c.Y, y)};
    mVisible->SaveArea(RubberRect);
    mVisible->SetPen({KBlack, 1, TPenStyle::Dot});
    mVisible->SetBrush({KWhite, TBrushStyle::Clear});
    mVisible->Rectangle(RubberRect);
}

void TMKPSpace::EndRubberBand() {
    if (!mVisible) return;
    mVisible->RestoreArea();
    mVisible->SetPen({KBlack, 1, TPenStyle::Solid});
    mVisible->SetBrush({KWhite, TBrushStyle::Solid});
}
