#include "canvas/Drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

#include "base/NumberText.h"
#include "canvas/DragPicture.h"
#include "canvas/Rounding.h"
#include "units/Prevody.h"

// A short selection is searched as it stands, and so is any for a drawing of a few objects. A
// drawing of many objects with a long selection (everything selected) looks them up in a set made
// once, so that each object is not sought through all the others.
template <typename T>
bool TSpaceDrawer::TSelection::Has(const TObjectList<T>& list, const T* item) {
    constexpr int KFew = 16;
    if (list.Count() <= KFew || ++Lookups <= KFew) return list.Contains(item);
    if (!Made) {
        for (const T* t : list)
            Items.insert(t);
        Made = true;
    }
    return Items.count(item) != 0;
}

std::string TSpaceDrawer::Label(TReal value, TLabelQuantity quantity) const {
    // The short labels of the direct drawings are written over the long ones of the last full
    // repaint: in the imperial system they are converted alike.
    if (mSpace.UnitSystem == 1) {
        switch (quantity) {
        case TLabelQuantity::Force:
            value = KNNaLb(value);
            break;
        case TLabelQuantity::Moment:
            value = KNmNaLbFt(value);
            break;
        case TLabelQuantity::Intensity:
            value = KNPerMNaLbPerFt(value);
            break;
        case TLabelQuantity::Displacement:
            value = MmNaIn(value);
            break;
        }
    }
    return mShort ? FormatFixed(value, 3, 2) : FormatFixed(value, 12, 3);
}

void TSpaceDrawer::Text(int x, int y, const std::string& text, TColor color) {
    mP.SetTextBackground(false);
    mP.SetFontColor(color);
    mP.TextOut(x, y, text);
    if (mLabels) mLabels->Occupy(TextBox(x, y, text, mP.Font()));
}

bool TSpaceDrawer::TextsFit(TPixel a, TPixel b) {
    const std::int64_t dx = std::int64_t(b.X) - a.X, dy = std::int64_t(b.Y) - a.Y;
    return dx * dx + dy * dy >= std::int64_t(KTextRoom) * KTextRoom;
}

void TSpaceDrawer::DiagramLabel(TPixel place, const std::string& text, TPixel point, bool important) {
    if (!mTexts) return;
    if (mLabels)
        mLabels->Queue(place, text, point, KGreen, important);
    else
        Text(place.X, place.Y, text, KGreen);
}

TPixel TSpaceDrawer::Polar(TPixel c, TReal r, TReal deg) {
    return {c.X + RoundPx(r * CosDeg(deg)), c.Y + RoundPx(r * SinDeg(deg))};
}

// Vertical lines first, from the grid line nearest the origin on the canvas side, then the
// horizontal ones, counted from the bottom edge like OffsetY.
void TSpaceDrawer::Grid() {
    const TMKPSpace& s = mSpace;
    if (s.GridDX == 0 || s.GridDY == 0) return;
    mP.SetPen({KSilver, 1, TPenStyle::Solid});
    const TReal zoom = s.Zoom();
    // A spacing far below a pixel would ask for millions of lines: no more are drawn than
    // could ever be told apart.
    constexpr TReal KMaxLines = 100000;
    TReal x0 = s.OffsetX - zoom * (std::trunc(s.OffsetX / (zoom * s.GridDX)) * s.GridDX);
    TReal n = std::nearbyint(s.Width / zoom / s.GridDX);
    if (n >= 0)
        for (long i = 0; i <= static_cast<long>(std::fmin(n, KMaxLines)); ++i) {
            int x = RoundPx(zoom * (i * s.GridDX) + x0);
            mP.Line({x, 0}, {x, s.Height});
        }
    TReal top = s.Height - s.OffsetY;
    TReal y0 = top - zoom * (std::trunc(top / (zoom * s.GridDY)) * s.GridDY);
    TReal m = std::nearbyint(s.Height / zoom / s.GridDY);
    if (m >= 0)
        for (long j = 0; j <= static_cast<long>(std::fmin(m, KMaxLines)); ++j) {
            int y = RoundPx(zoom * (j * s.GridDY) + y0);
            mP.Line({0, y}, {s.Width, y});
        }
}

namespace {
constexpr int KSupportReach = 16; // the support symbols reach 15 pixels from their node

// The places of the origin marker's letters, for the gap its arrows leave at the corner.
struct TLetterPlaces {
    TPixel X, XAbove, Y, YRight;
};
TLetterPlaces LetterPlaces(int xo, int yo, int gap) {
    return {
        {xo + gap + 20, yo + 5}, {xo + gap + 20, yo - 18}, {xo - 15, yo - gap - 30}, {xo + 5, yo - gap - 30}};
}

bool Overlap(const TPixelRect& a, const TPixelRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// Pixels of far nodes are clamped near the int range: the differences are taken in 64 bits.
bool WithinSupportReach(TPixel at, int xo, int yo) {
    return std::llabs(std::int64_t(at.X) - xo) <= KSupportReach &&
           std::llabs(std::int64_t(at.Y) - yo) <= KSupportReach;
}
} // namespace

// The marker's corner is the pixel of the model origin, where a structure's first node often
// stands. Such a node keeps its support and its number in sight: the arrows then start beyond
// the reach of a support symbol, and a letter that would cover a node number goes to the other
// side of its arrow. Elsewhere the marker stands as always.
void TSpaceDrawer::OriginMarker() {
    const int xo = mSpace.OffsetX;
    const int yo = mSpace.Height - mSpace.OffsetY;
    int gap = 0;
    std::vector<TPixelRect> numbers;
    for (const TUzel* node : mSpace.Nodes) {
        const TPixel at = mSpace.ToScreen(node->X, node->Y);
        if (WithinSupportReach(at, xo, yo)) gap = KSupportReach;
        if (mSpace.ShowNumbers)
            numbers.push_back(TextBox(at.X + 5, at.Y + 5, std::to_string(node->Number), mP.Font()));
    }
    auto free = [&](TPixel at, const char* letter) {
        const TPixelRect box = TextBox(at.X, at.Y, letter, mP.Font());
        return std::none_of(numbers.begin(), numbers.end(),
                            [&](const TPixelRect& n) { return Overlap(box, n); });
    };
    mP.SetPen({mSpace.Origin.ColorX, 3, TPenStyle::Solid});
    mP.Line({xo + gap, yo}, {xo + gap + 30, yo});
    mP.SetPen({mSpace.Origin.ColorY, 3, TPenStyle::Solid});
    mP.Line({xo, yo - gap}, {xo, yo - gap - 30});
    mP.SetPenWidth(1);
    const TLetterPlaces places = LetterPlaces(xo, yo, gap);
    const TPixel xAt = free(places.X, "X") ? places.X : places.XAbove;
    const TPixel yAt = free(places.Y, "Y") ? places.Y : places.YRight;
    Text(xAt.X, xAt.Y, "X", KRed);
    Text(yAt.X, yAt.Y, "Y", KRed);
}

// The full repaint draws the marker with the canvas font.
bool NearOriginMarker(const TMKPSpace& space, const TUzel& node) {
    const int xo = space.OffsetX;
    const int yo = space.Height - space.OffsetY;
    const TPixel at = space.ToScreen(node.X, node.Y);
    if (WithinSupportReach(at, xo, yo)) return true;
    if (!space.ShowNumbers) return false;
    const TFont font;
    const TPixelRect number = TextBox(at.X + 5, at.Y + 5, std::to_string(node.Number), font);
    for (int gap : {0, KSupportReach}) {
        const TLetterPlaces p = LetterPlaces(xo, yo, gap);
        const std::pair<TPixel, const char*> letters[] = {
            {p.X, "X"}, {p.XAbove, "X"}, {p.Y, "Y"}, {p.YRight, "Y"}};
        for (const auto& [place, letter] : letters)
            if (Overlap(TextBox(place.X, place.Y, letter, font), number)) return true;
    }
    return false;
}

void TSpaceDrawer::AnchorMark() {
    TPixel a = mSpace.ToScreen(mSpace.Anchor.X(), mSpace.Anchor.Y());
    mP.SetPen({KRed, 1, TPenStyle::Solid});
    mP.SetBrush({KWhite, TBrushStyle::Clear});
    mP.Ellipse({a.X - 5, a.Y - 5, a.X + 6, a.Y + 6});
    mP.Line({a.X - 14, a.Y}, {a.X + 14, a.Y});
    mP.Line({a.X, a.Y - 14}, {a.X, a.Y + 14});
}

// Angles of the support in degrees clockwise: a = DofU.Angle, b = DofW.Angle.
void TSpaceDrawer::SupportSymbol(const TUzel& node, TPixel at) {
    const bool u = node.DofU.Fixed, w = node.DofW.Fixed, r = node.DofRot.Fixed;
    const TReal a = node.DofU.Angle, b = node.DofW.Angle;
    const TColor colour = mP.Pen().Color;
    if (u && w && r) {
        mP.SetPen({colour, 2, TPenStyle::Solid});
        mP.Line(Polar(at, 14, a), Polar(at, 14, a + 180));
    } else if (u && w && !r) {
        mP.SetPen({colour, 1, TPenStyle::Solid});
        mP.Polygon({at, Polar(at, 12, a + 60), Polar(at, 12, a + 120)});
    } else if (u && !w && r) {
        mP.SetPen({colour, 2, TPenStyle::Solid});
        mP.Polyline({Polar(at, 14, a), Polar(at, 4, a), Polar(at, 14, a + 75)});
        mP.Polyline({Polar(at, 14, a + 180), Polar(at, 4, a + 180), Polar(at, 14, a + 105)});
    } else if (u && !w && !r) {
        mP.SetPen({colour, 1, TPenStyle::Solid});
        mP.Polygon({at, Polar(at, 12, a + 330), Polar(at, 12, a + 30)});
        mP.Line(Polar(at, 15, a + 330), Polar(at, 15, a + 30));
    } else if (!u && w && !r) {
        mP.SetPen({colour, 1, TPenStyle::Solid});
        mP.Polygon({at, Polar(at, 12, b + 60), Polar(at, 12, b + 120)});
        mP.Line(Polar(at, 15, b + 60), Polar(at, 15, b + 120));
    }
    mP.SetPenWidth(1);
}

// The direct drawing's supports: the fixed kinds get a block hatched in silver under the ground
// line. The block's outline is drawn in black so that the flood fill stops at it, then its outer
// edges are drawn over in white, leaving the ground line and the hatch.
void TSpaceDrawer::SupportSymbolHatched(const TUzel& node, TPixel at) {
    const bool u = node.DofU.Fixed, w = node.DofW.Fixed, r = node.DofRot.Fixed;
    const TReal a = node.DofU.Angle;
    const TBrush hatch{KSilver, TBrushStyle::BDiagonal};
    auto seed = [&](TReal rx, TReal ry, TReal deg) {
        return TPixel{at.X + RoundPx(rx * CosDeg(deg)), at.Y + RoundPx(ry * SinDeg(deg))};
    };
    if (u && w && r) {
        mP.SetPen({KBlack, 1, TPenStyle::Solid});
        mP.Polyline({at, Polar(at, 14, a), Polar(at, 20, a + 45), Polar(at, 20, a + 135),
                     Polar(at, 14, a + 180), at});
        mP.SetBrush(hatch);
        for (TPixel s : {seed(8, 6, a + 45), seed(8, 6, a + 135)})
            mP.FloodFill(s.X, s.Y, KBlack);
        mP.SetPen({KWhite, 1, TPenStyle::Solid});
        mP.Polyline(
            {Polar(at, 14, a), Polar(at, 20, a + 45), Polar(at, 20, a + 135), Polar(at, 14, a + 180)});
    } else if (u && !w && r) {
        mP.SetPen({KBlack, 1, TPenStyle::Solid});
        mP.Polyline({Polar(at, 4, a), Polar(at, 14, a), Polar(at, 20, a + 45), Polar(at, 14, a + 75),
                     Polar(at, 4, a)});
        mP.Polyline({Polar(at, 4, a + 180), Polar(at, 14, a + 105), Polar(at, 20, a + 135),
                     Polar(at, 14, a + 180), Polar(at, 4, a + 180)});
        mP.SetBrush(hatch);
        for (TPixel s : {seed(13, 6, a + 45), seed(13, 6, a + 135)})
            mP.FloodFill(s.X, s.Y, KBlack);
        mP.SetPen({KWhite, 1, TPenStyle::Solid});
        mP.Polyline({Polar(at, 14, a), Polar(at, 20, a + 45), Polar(at, 14, a + 75)});
        mP.Polyline({Polar(at, 14, a + 105), Polar(at, 20, a + 135), Polar(at, 14, a + 180)});
    } else {
        SupportSymbol(node, at);
        return;
    }
    mP.SetPen({KBlack, 1, TPenStyle::Solid});
    mP.SetBrush({KWhite, TBrushStyle::Clear});
}

void TSpaceDrawer::NodeDot(const TUzel& node, TPixel at, int left, int right) {
    mP.SetPen({KBlack, 1, TPenStyle::Solid});
    mP.SetBrush({mSelectedNodes.Has(mSpace.SelectedNodes, &node) ? KRed : KBlack, TBrushStyle::Solid});
    mP.Ellipse({at.X - left, at.Y - left, at.X + right, at.Y + right});
}

void TSpaceDrawer::NodeNumber(const TUzel& node, TPixel at) {
    mP.SetTextBackground(true, KWhite);
    mP.SetFontColor(KRed);
    mP.TextOut(at.X + 5, at.Y + 5, std::to_string(node.Number));
    if (mLabels) mLabels->Occupy(TextBox(at.X + 5, at.Y + 5, std::to_string(node.Number), mP.Font()));
}

// Two 8-pixel barbs at ±30° trailing behind a tip at q that points along alpha + angle; the sums
// are taken in the order alpha + (angle + 330) + 180.
void TSpaceDrawer::ArrowHead(TPixel q, TReal alpha, TReal angle) {
    TReal d1 = alpha + (angle + 330) + 180;
    TReal d2 = alpha + (angle + 30) + 180;
    mP.Line(q, {q.X + RoundPx(8 * CosDeg(d1)), q.Y + RoundPx(8 * SinDeg(d1))});
    mP.Line(q, {q.X + RoundPx(8 * CosDeg(d2)), q.Y + RoundPx(8 * SinDeg(d2))});
}

namespace {
// The upper half circle of radius r about q, counter-clockwise on the screen from right to left,
// and two barbs of length s from the start point at the two angles.
void MomentSymbol(TCanvasPainter& p, TPixel q, int r, int s, TPixel start, TReal deg1, TReal deg2) {
    p.Arc({q.X - r, q.Y - r, q.X + r, q.Y + r}, {q.X + r, q.Y}, {q.X - r, q.Y});
    p.Line(start, {start.X + RoundPx(s * CosDeg(deg1)), start.Y + RoundPx(s * SinDeg(deg1))});
    p.Line(start, {start.X + RoundPx(s * CosDeg(deg2)), start.Y + RoundPx(s * SinDeg(deg2))});
}
} // namespace

// A positive moment load turns clockwise on the screen: the head is at the right end.
void TSpaceDrawer::MomentLoadSymbol(TPixel q, TReal m) {
    if (m >= 0)
        MomentSymbol(mP, q, 20, 8, {q.X + 20, q.Y}, 220, 290);
    else
        MomentSymbol(mP, q, 20, 8, {q.X - 20, q.Y}, 250, 310);
}

// A reaction shows the moment acting on the support, so its sense is opposite to a load's.
void TSpaceDrawer::MomentReactionSymbol(TPixel q, TReal m) {
    if (m >= 0)
        MomentSymbol(mP, q, 30, 15, {q.X - 30, q.Y}, 250, 310);
    else
        MomentSymbol(mP, q, 30, 15, {q.X + 30, q.Y}, 220, 290);
}

// Fixed-length arrows along each restrained direction; a reaction ≥ 0 points at the node.
void TSpaceDrawer::Reactions(const TUzel& node, TPixel at) {
    mP.SetPen({KRed, 1, TPenStyle::Solid});
    auto arrow = [&](TReal theta, TReal r) {
        mP.Line(Polar(at, 10, theta), Polar(at, 50, theta));
        if (r >= 0) {
            mP.Line(Polar(at, 10, theta), Polar(at, 25, theta + 345));
            mP.Line(Polar(at, 10, theta), Polar(at, 25, theta + 15));
        } else {
            mP.Line(Polar(at, 50, theta), Polar(at, 35, theta + 350));
            mP.Line(Polar(at, 50, theta), Polar(at, 35, theta + 10));
        }
        TPixel l = Polar(at, 50, theta);
        Text(l.X, l.Y, Label(r, TLabelQuantity::Force), KRed);
    };
    if (node.DofU.Fixed) arrow(node.DofU.Angle, node.DofU.Reaction);
    if (node.DofW.Fixed) arrow(node.DofW.Angle + 90, node.DofW.Reaction);
    if (node.DofRot.Fixed) {
        MomentReactionSymbol(at, node.DofRot.Reaction);
        Text(at.X - 25, at.Y - 45, Label(node.DofRot.Reaction, TLabelQuantity::Moment), KRed);
    }
}

// A force's shaft trails behind its head at the node, towards φ + 180, whatever its sign.
void TSpaceDrawer::NodalLoads(const TUzel& node, TPixel at) {
    const TColor before = mP.Pen().Color;
    for (const TZatizeni* load : node.Loads)
        NodalLoad(*load, at);
    mP.SetPenColor(before);
}

TColor CaseColour(int position) {
    static constexpr TColor KColours[] = {Rgb(0, 90, 210),  Rgb(230, 120, 0),  Rgb(0, 150, 140), Rgb(190, 0, 190),
                                          Rgb(120, 80, 20), Rgb(100, 160, 0), Rgb(200, 0, 80),  Rgb(90, 90, 160)};
    constexpr int count = int(sizeof KColours / sizeof KColours[0]);
    return KColours[((position % count) + count) % count];
}

bool TSpaceDrawer::LoadShown(const TZatizeni& load) const {
    const int shown = mSpace.LoadsOfCase;
    if (shown < 0 || shown >= mSpace.LoadCases.Count()) return true;
    return mSpace.StavZatizeni(load) == mSpace.LoadCases[shown];
}

TColor TSpaceDrawer::LoadColour(const TZatizeni& load, TColor kindColour) const {
    const int shown = mSpace.LoadsOfCase;
    if (!mSpace.CaseColours || mSpace.LoadCases.Count() < 2 || (shown >= 0 && shown < mSpace.LoadCases.Count()))
        return kindColour;
    const int position = mSpace.LoadCases.IndexOf(mSpace.StavZatizeni(load));
    return position < 0 ? kindColour : CaseColour(position);
}

void TSpaceDrawer::NodalLoad(const TZatizeni& load, TPixel at) {
    if (!LoadShown(load)) return;
    if (load.Kind == KLoadForce) {
        const TReal phi = load.Angle, f = load.Q1;
        TPixel t{at.X + RoundPx(mSpace.ScaleSL() * (CosDeg(phi + 180) * f)),
                 at.Y + RoundPx(mSpace.ScaleSL() * (SinDeg(phi + 180) * f))};
        mP.SetPen({LoadColour(load, KBlue), 1, TPenStyle::Solid});
        mP.Line(at, t);
        ArrowHead(at, 0, phi);
        Text(t.X, t.Y, Label(f, TLabelQuantity::Force), LoadColour(load, KBlue));
    } else if (load.Kind == KLoadMoment) {
        mP.SetPen({LoadColour(load, KPurple), 1, TPenStyle::Solid});
        MomentLoadSymbol(at, load.Q1);
        Text(at.X - 15, at.Y - 35, Label(load.Q1, TLabelQuantity::Moment), LoadColour(load, KPurple));
    }
}

// The line stops 3 pixels short of each node; hinges are white circles 7 pixels inside the ends.
// Model y grows upward and pixel y downward, hence the opposite signs of the y offsets.
void TSpaceDrawer::MemberLine(const TPrut& member, TPixel a, TPixel b) {
    const TReal l = member.Length;
    const TReal dx = member.NodeB->X - member.NodeA->X;
    const TReal dy = member.NodeB->Y - member.NodeA->Y;
    const TPixel d3{RoundPx(3 * dx / l), RoundPx(3 * dy / l)};
    const TColor colour = mSelectedMembers.Has(mSpace.SelectedMembers, &member) ? KRed : KBlack;
    mP.SetPen({colour, 1, TPenStyle::Solid});
    mP.SetBrush({colour, TBrushStyle::Solid});
    mP.Line({a.X + d3.X, a.Y - d3.Y}, {b.X - d3.X, b.Y + d3.Y});
    const TPixel d7{RoundPx(7 * dx / l), RoundPx(7 * dy / l)};
    mP.SetBrush({KWhite, TBrushStyle::Solid});
    if (member.HingeA) mP.Ellipse({a.X + d7.X - 3, a.Y - d7.Y - 3, a.X + d7.X + 3, a.Y - d7.Y + 3});
    if (member.HingeB) mP.Ellipse({b.X - d7.X - 3, b.Y + d7.Y - 3, b.X - d7.X + 3, b.Y + d7.Y + 3});
}

void TSpaceDrawer::MemberNumber(const TPrut& member, TPixel a, TPixel b) {
    if (!TextsFit(a, b)) return;
    Text(RoundPx((a.X + b.X) / 2.0L) + 4, RoundPx((a.Y + b.Y) / 2.0L) + 4, std::to_string(member.Number),
         KGreen);
}

// Loads stand at S, A metres from node a along the member; angles are relative to the member.
void TSpaceDrawer::MemberLoads(const TPrut& member, TPixel a) {
    const TColor before = mP.Pen().Color;
    for (const TZatizeni* load : member.Loads)
        MemberLoad(member, *load, a);
    mP.SetPenColor(before);
}

void TSpaceDrawer::MemberLoad(const TPrut& member, const TZatizeni& z, TPixel a) {
    if (!LoadShown(z)) return;
    const bool texts = TextsFit(a, mSpace.ToScreen(member.NodeB->X, member.NodeB->Y));
    const TZatizeni* load = &z;
    const TReal alpha = member.Angle;
    const TReal ca = CosDeg(alpha), sa = SinDeg(alpha);
    const TReal zoom = mSpace.Zoom();
    const TPixel s{a.X + RoundPx(zoom * (ca * load->A)), a.Y + RoundPx(zoom * (sa * load->A))};
    if (load->Kind == KLoadDistributed) {
        const TReal phi = alpha + load->Angle;
        const TPixel e{s.X + RoundPx(zoom * (ca * load->C)), s.Y + RoundPx(zoom * (sa * load->C))};
        const TReal scale = mSpace.ScaleCL();
        const TPixel g1{RoundPx(scale * (CosDeg(phi + 180) * load->Q1)),
                        RoundPx(scale * (SinDeg(phi + 180) * load->Q1))};
        const TPixel g2{RoundPx(scale * (CosDeg(phi + 180) * load->Q2)),
                        RoundPx(scale * (SinDeg(phi + 180) * load->Q2))};
        mP.SetPen({LoadColour(z, KGreen), 1, TPenStyle::Solid});
        mP.Polyline({s, {s.X + g1.X, s.Y + g1.Y}, {e.X + g2.X, e.Y + g2.Y}, e});
        // One hatch line every 10 pixels of loaded length, from the axis to the outer edge.
        const TReal t = zoom * load->C / 10;
        const long n = static_cast<long>(std::fmin(std::trunc(t), 1.0e6L));
        for (long k = 1; k <= n; ++k) {
            TPixel from{s.X + RoundPx(ca * (10 * k)), s.Y + RoundPx(sa * (10 * k))};
            TPixel to{s.X + g1.X + RoundPx((g2.X + (e.X - s.X) - g1.X) * k / t),
                      s.Y + g1.Y + RoundPx((g2.Y + (e.Y - s.Y) - g1.Y) * k / t)};
            mP.Line(from, to);
        }
        if (!texts) return;
        Text(s.X + g1.X, s.Y + g1.Y - 10, Label(load->Q1, TLabelQuantity::Intensity), LoadColour(z, KGreen));
        Text(e.X + g2.X, e.Y + g2.Y - 10, Label(load->Q2, TLabelQuantity::Intensity), LoadColour(z, KGreen));
    } else if (load->Kind == KLoadForce) {
        const TReal phi = alpha + load->Angle, f = load->Q1;
        const TPixel t{s.X + RoundPx(mSpace.ScaleSL() * (CosDeg(phi + 180) * f)),
                       s.Y + RoundPx(mSpace.ScaleSL() * (SinDeg(phi + 180) * f))};
        mP.SetPen({LoadColour(z, KBlue), 1, TPenStyle::Solid});
        mP.Line(s, t);
        ArrowHead(s, alpha, load->Angle);
        if (texts) Text(t.X, t.Y, Label(f, TLabelQuantity::Force), LoadColour(z, KBlue));
    } else if (load->Kind == KLoadMoment) {
        mP.SetPen({LoadColour(z, KPurple), 1, TPenStyle::Solid});
        MomentLoadSymbol(s, load->Q1);
        mP.Line({s.X - 5, s.Y}, {s.X + 5, s.Y});
        mP.Line({s.X, s.Y - 5}, {s.X, s.Y + 5});
        if (texts) Text(s.X - 15, s.Y - 35, Label(load->Q1, TLabelQuantity::Moment), LoadColour(z, KPurple));
    }
    // Self-weight acts in the computation only and is never drawn.
}
