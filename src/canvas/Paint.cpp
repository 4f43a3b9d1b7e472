#include <algorithm>

#include "analysis/Envelope.h"
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

// Layers: background, grid, origin marker, anchor, then every node, then every member (so
// members lie over nodes and each member's loads over the members before it), then the value
// labels of the diagrams.
void TMKPSpace::Prekresli(TCanvasPainter& offscreen) {
    TSpaceDrawer d(*this, offscreen, false);
    // The value labels of the result modes come last, over everything, where they cover no
    // other text and no other label.
    TLabelPlacer labels(offscreen.Width(), offscreen.Height());
    d.SetLabelPlacer(&labels);
    offscreen.SetPen({KBlack, 1, TPenStyle::Solid});
    offscreen.SetBrush({KWhite, TBrushStyle::Solid});
    offscreen.SetFont(TFont{});
    offscreen.FillRect({0, 0, Width, Height}, KWhite);
    if (GridVisible) d.Grid();
    if (Origin.Visible) d.OriginMarker();
    if (Anchor.Active) d.AnchorMark();
    const bool model = TypZobrazeni() < 1 || TypZobrazeni() > 4;
    for (TUzel* node : Nodes) {
        const TPixel at = ToScreen(node->X, node->Y);
        offscreen.SetPen({KBlack, 1, TPenStyle::Solid});
        offscreen.SetBrush({KBlack, TBrushStyle::Solid});
        if (model) {
            d.SupportSymbol(*node, at);
            d.NodeDot(*node, at, 3, 4);
        }
        if (ShowNumbers) d.NodeNumber(*node, at);
        if (ShowReactions()) d.Reactions(*node, at);
        if (ShowNodalLoads) d.NodalLoads(*node, at);
    }
    MemberTables(*this).Trim(Members.Count(), Envelope != nullptr);
    for (int i = 0; i < Members.Count(); ++i)
        d.Member(*Members[i], i);
    labels.Draw(offscreen);
    KresliZnacky(*this, offscreen);
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
