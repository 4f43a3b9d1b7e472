#include "canvas/PointerValue.h"

#include <cmath>
#include <limits>

#include "analysis/MemberTable.h"
#include "base/NumberText.h"
#include "model/LoadCases.h"
#include "units/Prevody.h"

namespace {
// The sign a diagram's label gives a value of mode 1 to 3 (the rule of the diagram drawing).
TReal LabelSign(const TPrut& member, int mode) {
    const bool rightwards = member.Angle <= 90 || member.Angle >= 270;
    return mode == 3 && rightwards ? 1 : -1;
}

// Positions of the quantities of a mode in TObalka::KRows.
std::array<int, 2> Quantities(int mode) {
    switch (mode) {
    case 3:
        return {0, -1};
    case 2:
        return {1, -1};
    case 1:
        return {2, -1};
    default:
        return {3, 4};
    }
}

const char* Symbol(int mode, int k) {
    static const char* const KSymbols[] = {"", "T", "N", "M"};
    if (mode == 4) return k == 0 ? "u" : "w";
    return KSymbols[mode];
}

std::string Number(const TMKPSpace& space, int mode, TReal v) {
    if (space.UnitSystem == 1) v = mode == 4 ? MmNaIn(v) : mode == 3 ? KNmNaLbFt(v) : KNNaLb(v);
    return FormatFixed(v, 12, 3);
}

std::string Unit(const TMKPSpace& space, int mode) {
    if (space.UnitSystem == 1) return mode == 4 ? "in" : mode == 3 ? "lb.ft" : "lb";
    return mode == 4 ? "mm" : mode == 3 ? "kNm" : "kN";
}
} // namespace

TMemberPoint PrutVBode(const TMKPSpace& space, TReal x, TReal y, int pixels) {
    TMemberPoint best;
    const TReal zoom = space.Zoom();
    if (!(zoom > 0)) return best;
    TReal nearest = std::numeric_limits<TReal>::infinity();
    for (int i = 0; i < space.Members.Count(); ++i) {
        const TPrut* m = space.Members[i];
        const TReal xa = m->NodeA->X, ya = m->NodeA->Y;
        const TReal dx = m->NodeB->X - xa, dy = m->NodeB->Y - ya;
        const TReal length2 = dx * dx + dy * dy;
        if (!(length2 > 0)) continue;
        const TReal along = ((x - xa) * dx + (y - ya) * dy) / length2; // 0 at a, 1 at b
        if (!(along >= 0 && along <= 1)) continue;
        const TReal across = std::fabs((x - xa) * dy - (y - ya) * dx) / std::sqrt(length2);
        if (across * zoom > pixels || !(across < nearest)) continue;
        nearest = across;
        best.Member = i;
        best.X = along * std::sqrt(length2);
    }
    return best;
}

bool HodnotaPodUkazatelem(TMKPSpace& space, const TMemberPoint& at, TPointerValue& out) {
    out = {};
    const int mode = space.TypZobrazeni();
    if (mode < 1 || mode > 4 || !space.ResultsValid) return false;
    if (at.Member < 0 || at.Member >= space.Members.Count()) return false;
    TPrut& m = *space.Members[at.Member];
    if (!m.HasResults()) return false;
    out.At = at;
    out.Mode = mode;
    out.Count = mode == 4 ? 2 : 1;
    const std::array<int, 2> q = Quantities(mode);
    const TReal sign = mode == 4 ? 1 : LabelSign(m, mode);
    if (space.Envelope) {
        std::array<TExtreme, TObalka::KQuantities> e;
        if (!ObalkaVMiste(space, *space.Envelope, at.Member, at.X, e)) return false;
        out.Envelope = true;
        const auto name = [&](int by) {
            return by >= 0 && std::size_t(by) < space.Envelope->Combinations.size()
                       ? space.Envelope->Combinations[std::size_t(by)]->Name
                       : std::string();
        };
        for (int k = 0; k < out.Count; ++k) {
            const TExtreme& x = e[std::size_t(q[std::size_t(k)])];
            // A label turned round shows the smallest value as the largest.
            out.Max[std::size_t(k)] = sign > 0 ? x.Max : -x.Min;
            out.Min[std::size_t(k)] = sign > 0 ? x.Min : -x.Max;
            out.MaxBy[std::size_t(k)] = name(sign > 0 ? x.MaxBy : x.MinBy);
            out.MinBy[std::size_t(k)] = name(sign > 0 ? x.MinBy : x.MaxBy);
        }
        return true;
    }
    TVector v;
    if (!HodnotyVMiste(m, at.X, v)) return false;
    for (int k = 0; k < out.Count; ++k) {
        const TReal raw = v[std::size_t(TObalka::KRows[std::size_t(q[std::size_t(k)])])];
        out.Value[std::size_t(k)] = sign > 0 ? raw : -raw;
    }
    return true;
}

std::string TextZnacky(const TMKPSpace& space, const TPointerValue& value) {
    std::string text;
    const std::string unit = Unit(space, value.Mode);
    for (int k = 0; k < value.Count; ++k) {
        const std::size_t i = std::size_t(k);
        if (k > 0) text += value.Envelope ? "; " : ", ";
        text += Symbol(value.Mode, k);
        if (value.Envelope)
            text += " max = " + Number(space, value.Mode, value.Max[i]) + " " + unit + " (" + value.MaxBy[i] +
                    "), min = " + Number(space, value.Mode, value.Min[i]) + " " + unit + " (" + value.MinBy[i] + ")";
        else
            text += " = " + Number(space, value.Mode, value.Value[i]) + " " + unit;
    }
    return text;
}

std::string TextHodnoty(const TMKPSpace& space, const TPointerValue& value) {
    const std::string x = space.UnitSystem == 1 ? MetryNaFtIn(value.At.X) : Fixed3(value.At.X) + " m";
    return "Prut " + std::to_string(value.At.Member + 1) + ", x = " + x + ": " + TextZnacky(space, value);
}

void KresliZnacky(TMKPSpace& space, TCanvasPainter& painter) {
    if (space.ValueMarks.empty()) return;
    const TPen pen = painter.Pen();
    const TBrush brush = painter.Brush();
    const TFont font = painter.Font();
    const bool opaque = painter.TextOpaque();
    const TColor background = painter.TextBackground();
    for (const TMKPSpace::TValueMark& mark : space.ValueMarks) {
        if (mark.Mode != space.TypZobrazeni()) continue;
        TPointerValue value;
        if (!HodnotaPodUkazatelem(space, {mark.Member, mark.X}, value)) continue;
        const TPrut& m = *space.Members[mark.Member];
        const TPixel p = space.ToScreen(m.NodeA->X + mark.X * m.CosA, m.NodeA->Y - mark.X * m.SinA);
        painter.SetPen({KRed, 1, TPenStyle::Solid});
        painter.SetBrush({KRed, TBrushStyle::Clear});
        painter.Ellipse({p.X - 4, p.Y - 4, p.X + 5, p.Y + 5});
        painter.Line({p.X + 3, p.Y - 3}, {p.X + 8, p.Y - 8});
        painter.SetTextBackground(true, KWhite);
        painter.SetFontColor(KRed);
        painter.TextOut(p.X + 9, p.Y - 20, TextZnacky(space, value));
    }
    painter.SetPen(pen);
    painter.SetBrush(brush);
    painter.SetFont(font);
    painter.SetTextBackground(opaque, background);
}
