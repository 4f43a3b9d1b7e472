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

// Layers: background, grid, origin marker, anchor, then every node, then every member (so
// members lie over nodes and each member's loads over the members before it), then the value
// labels of the diagrams. With `without`, its node and members are left out and nothing else.
void PaintWhole(TMKPSpace& s, TCanvasPainter& offscreen, const TDragPart* without) {
    TSpaceDrawer d(s, offscreen, false);
    // The value labels of the result modes come last, over everything, where they cover no
    // other text and no other label.
    TLabelPlacer labels(offscreen.Width(), offscreen.Height());
    d.SetLabelPlacer(&labels);
    offscreen.SetPen({KBlack, 1, TPenStyle::Solid});
    offscreen.SetBrush({KWhite, TBrushStyle::Solid});
    offscreen.SetFont(TFont{});
    offscreen.FillRect({0, 0, s.Width, s.Height}, KWhite);
    if (s.GridVisible) d.Grid();
    if (s.Origin.Visible) d.OriginMarker();
    if (s.Anchor.Active) d.AnchorMark();
    const bool model = ModelView(s);
    const TUzel* skippedNode = without ? without->Node : nullptr;
    for (TUzel* node : s.Nodes)
        if (node != skippedNode) PaintNode(s, d, offscreen, *node, model);
    MemberTables(s).Trim(s.Members.Count(), s.Envelope != nullptr);
    // The members left out are in ascending list order: one pass finds them all.
    std::size_t next = 0;
    for (int i = 0; i < s.Members.Count(); ++i) {
        if (without && next < without->Members.size() && without->Members[next] == i) {
            ++next;
            continue;
        }
        d.Member(*s.Members[i], i);
    }
    labels.Draw(offscreen);
    KresliZnacky(s, offscreen);
}
} // namespace

void TMKPSpace::Prekresli(TCanvasPainter& offscreen) {
    PaintWhole(*this, offscreen, nullptr);
}

void PaintStill(TMKPSpace& space, TCanvasPainter& painter, const TDragPart& part) {
    PaintWhole(space, painter, &part);
}

// The painter starts as the full repaint starts it; the node comes first, as nodes do there.
void PaintMoving(TMKPSpace& space, TCanvasPainter& painter, const TDragPart& part) {
    if (!part.Node) return;
    TSpaceDrawer d(space, painter, false);
    painter.SetPen({KBlack, 1, TPenStyle::Solid});
    painter.SetBrush({KWhite, TBrushStyle::Solid});
    painter.SetFont(TFont{});
    PaintNode(space, d, painter, *part.Node, ModelView(space));
    MemberTables(space).Trim(space.Members.Count(), space.Envelope != nullptr);
    for (int i : part.Members)
        if (i >= 0 && i < space.Members.Count()) d.Member(*space.Members[i], i);
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
