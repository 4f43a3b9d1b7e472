#include <cmath>

#include "canvas/Drawing.h"
#include "canvas/MemberResults.h"
#include "canvas/Rounding.h"

std::vector<bool> MarkStations(const TMatrix& results, const std::vector<int>& rows) {
    const std::size_t n = results.empty() ? 0 : results[0].size();
    std::vector<bool> marks(n, false);
    if (n < 3) return marks;
    const TVector& x = results[0];
    for (std::size_t i = 1; i + 1 < n; ++i) {
        bool mark = x[i] == x[i - 1] || x[i] == x[i + 1];
        for (int r : rows) {
            const TVector& v = results[static_cast<std::size_t>(r)];
            if ((v[i] > v[i - 1] && v[i] > v[i + 1]) || (v[i] < v[i - 1] && v[i] < v[i + 1])) mark = true;
        }
        marks[i] = mark;
    }
    return marks;
}

// The point of station x on the member axis, rounded as a whole by ToScreen; the member's angle
// is clockwise, hence ya − x·SinA.
TPixel TSpaceDrawer::MemberStation(const TPrut& member, TReal x) const {
    return mSpace.ToScreen(member.NodeA->X + x * member.CosA, member.NodeA->Y - x * member.SinA);
}

// On a member too short for texts the stations stand less than a pixel apart: a station whose
// axis point is the pixel of the last one drawn adds nothing that could be seen and is passed
// over (the first and the last station are always drawn).
bool TSpaceDrawer::PassedOver(std::size_t i, std::size_t n, TPixel p, TPixel& last) const {
    if (!mTexts && i != 0 && i + 1 != n && p == last) return true;
    last = p;
    return false;
}

// Mode 1 T (row 3), 2 N (row 2), 3 M (row 1). M lies on the side of the local w axis (90°
// clockwise from the member on the screen). N and T do so on members drawn rightwards
// (α ≤ 90 or α ≥ 270) and lie on the other side otherwise, so positive N and T always hang
// below a horizontal member; their labels carry the opposite sign.
void TSpaceDrawer::Diagram(const TPrut& member, const TMatrix& results, int mode, TPixel a, TPixel b) {
    const int row = mode == 3 ? 1 : mode == 2 ? 2 : 3;
    const TReal alpha = member.Angle;
    const bool rightwards = alpha <= 90 || alpha >= 270;
    const TReal scale = mSpace.ScaleIF();
    mP.SetPen({KGreen, 1, TPenStyle::Solid});
    mP.MoveTo(a.X, a.Y);
    const std::vector<bool> marks = mTexts ? MarkStations(results, {row}) : std::vector<bool>();
    const std::size_t n = results[0].size();
    // The full repaint's store keeps the stations' axis points and offsets (the same operations).
    const TMemberCurve* kept = MemberTables(mSpace).Curve(member, results, row);
    TPixel last;
    for (std::size_t i = 0; i < n; ++i) {
        const TPixel p = kept ? mSpace.ToScreen(kept->Stations[i].X, kept->Stations[i].Y)
                              : MemberStation(member, results[0][i]);
        if (PassedOver(i, n, p, last)) continue;
        const TReal v = kept && !mTexts ? 0 : results[static_cast<std::size_t>(row)][i];
        const int ox = RoundPx(scale * (kept ? kept->Stations[i].AcrossX : v * member.SinA));
        const int oy = RoundPx(scale * (kept ? kept->Stations[i].AcrossY : -v * member.CosA));
        const TPixel d = (mode == 3 || rightwards) ? TPixel{p.X - ox, p.Y - oy} : TPixel{p.X + ox, p.Y + oy};
        mP.LineTo(d.X, d.Y);
        if (mTexts && (i == 0 || i + 1 == n || marks[i])) {
            std::string text = mode == 3 ? Label(rightwards ? v : -v, TLabelQuantity::Moment)
                                         : Label(-v, TLabelQuantity::Force);
            DiagramLabel({d.X, d.Y + 10}, text, p, marks[i]);
        }
    }
    mP.LineTo(b.X, b.Y);
    mP.SetPen({KBlack, 2, TPenStyle::Solid});
    mP.Line(a, b);
    mP.SetPenWidth(1);
}

// The displacements u (along) and w (across, clockwise from the member) in mm become screen
// components with y downward. The connectors from the nodes to the first and last stations are
// thin; the deformed line itself has width 2.
void TSpaceDrawer::DeformedShape(const TPrut& member, const TMatrix& results, TPixel a, TPixel b) {
    const TReal scale = mSpace.ScaleIF();
    mP.SetPen({KSilver, 1, TPenStyle::Solid});
    mP.Line(a, b);
    mP.SetPen({KGreen, 1, TPenStyle::Solid});
    mP.MoveTo(a.X, a.Y);
    const std::vector<bool> marks = mTexts ? MarkStations(results, {5, 6}) : std::vector<bool>();
    const std::size_t n = results[0].size();
    const TMemberCurve* kept = MemberTables(mSpace).Curve(member, results, 5);
    TPixel last;
    for (std::size_t i = 0; i < n; ++i) {
        const TPixel p = kept ? mSpace.ToScreen(kept->Stations[i].X, kept->Stations[i].Y)
                              : MemberStation(member, results[0][i]);
        if (PassedOver(i, n, p, last)) continue;
        TReal gx, gy;
        if (kept) {
            gx = kept->Stations[i].AcrossX;
            gy = kept->Stations[i].AcrossY;
        } else {
            const TReal u = results[5][i], w = results[6][i];
            gx = u * member.CosA - w * member.SinA;
            gy = u * member.SinA + w * member.CosA;
        }
        const TPixel d{p.X + RoundPx(scale * gx), p.Y + RoundPx(scale * gy)};
        mP.LineTo(d.X, d.Y);
        if (mTexts && (i == 0 || marks[i])) {
            std::string text(1, '[');
            text.append(Label(gx, TLabelQuantity::Displacement));
            text.push_back(';');
            text.append(Label(gy, TLabelQuantity::Displacement));
            text.push_back(']');
            DiagramLabel({d.X, d.Y + 10}, text, p, marks[i]);
        }
        mP.SetPenWidth(2);
    }
    mP.SetPenWidth(1);
    mP.LineTo(b.X, b.Y);
}

namespace {
// The band between the two curves of an envelope.
constexpr TColor KBand = Rgb(214, 238, 214);

std::string CombinationName(const TObalka& all, int by) {
    return by >= 0 && std::size_t(by) < all.Combinations.size() ? all.Combinations[std::size_t(by)]->Name
                                                                 : std::string();
}
} // namespace

namespace {
// The envelope's curves of M with its peaks between stations put in (TObalka::TPeak): the peak's
// curve goes through the peak, the other one keeps its straight line between the two stations.
// `by` holds each column's combination, -1 for a point of the straight line (no label).
void InsertPeaks(const TObalka::TMemberEnvelope& envelope, TMatrix& high, TMatrix& low, std::vector<int>& byHigh,
                 std::vector<int>& byLow) {
    for (std::size_t k = envelope.Peaks.size(); k-- > 0;) { // from the last step, so columns stay put
        const TObalka::TPeak& p = envelope.Peaks[k];
        const std::size_t j = p.Step;
        if (j + 1 >= high[0].size()) continue;
        const TReal x0 = high[0][j], x1 = high[0][j + 1];
        const TReal u = (p.X - x0) / (x1 - x0);
        for (TMatrix* t : {&high, &low}) {
            const bool own = (t == &high) == p.Largest;
            const TReal m0 = (*t)[1][j], m1 = (*t)[1][j + 1];
            for (std::size_t r = 0; r < t->size(); ++r)
                (*t)[r].insert((*t)[r].begin() + std::ptrdiff_t(j + 1), 0);
            (*t)[0][j + 1] = p.X;
            (*t)[1][j + 1] = own ? p.Value : m0 + (m1 - m0) * u;
            std::vector<int>& by = t == &high ? byHigh : byLow;
            by.insert(by.begin() + std::ptrdiff_t(j + 1), own ? p.By : -1);
        }
    }
}
} // namespace

void TSpaceDrawer::EnvelopeDiagram(const TPrut& member, const TMatrix& keptHigh, const TMatrix& keptLow,
                                   const TObalka::TMemberEnvelope& envelope, const TObalka& all, int mode,
                                   TPixel a, TPixel b) {
    const int row = mode == 3 ? 1 : mode == 2 ? 2 : 3;
    const std::size_t quantity = mode == 3 ? 0 : mode == 2 ? 1 : 2;
    // The combination of each column of the curves; M also through its peaks between stations.
    // Only the labels read them: a member too short for texts leaves them empty.
    std::vector<int> byHigh, byLow;
    if (mTexts) {
        for (const auto& v : envelope.Values) {
            byHigh.push_back(v[quantity].MaxBy);
            byLow.push_back(v[quantity].MinBy);
        }
    }
    TMatrix peakHigh, peakLow;
    const bool peaks = mode == 3 && mTexts && !envelope.Peaks.empty() && byHigh.size() == keptHigh[0].size();
    if (peaks) {
        peakHigh = keptHigh;
        peakLow = keptLow;
        InsertPeaks(envelope, peakHigh, peakLow, byHigh, byLow);
    }
    const TMatrix& high = peaks ? peakHigh : keptHigh;
    const TMatrix& low = peaks ? peakLow : keptLow;
    const TReal alpha = member.Angle;
    const bool rightwards = alpha <= 90 || alpha >= 270;
    const TReal scale = mSpace.ScaleIF();
    // The diagram points of both curves, as the diagram of one state places them.
    const auto points = [&](const TMatrix& results) {
        std::vector<TPixel> d;
        TPixel last;
        for (std::size_t i = 0; i < results[0].size(); ++i) {
            const TReal v = results[std::size_t(row)][i];
            const TPixel p = MemberStation(member, results[0][i]);
            if (PassedOver(i, results[0].size(), p, last)) continue;
            const int ox = RoundPx(scale * (v * member.SinA));
            const int oy = RoundPx(scale * (-v * member.CosA));
            d.push_back((mode == 3 || rightwards) ? TPixel{p.X - ox, p.Y - oy} : TPixel{p.X + ox, p.Y + oy});
        }
        return d;
    };
    // Without peaks put in, the curves go through the stations of the band the full repaint keeps,
    // whose axis points serve both.
    std::vector<TPixel>& up = mUp;
    std::vector<TPixel>& down = mDown;
    std::vector<TPixel>& band = mBand;
    up.clear();
    down.clear();
    const TEnvelopeBand* kept = peaks ? nullptr : MemberTables(mSpace).Band(member, keptHigh, keptLow, row);
    if (kept) {
        const std::size_t n = kept->Stations.size();
        up.reserve(n);
        down.reserve(n);
        const bool away = mode == 3 || rightwards;
        const auto at = [&](TPixel p, TReal x, TReal y) {
            const int ox = RoundPx(scale * x), oy = RoundPx(scale * y);
            return away ? TPixel{p.X - ox, p.Y - oy} : TPixel{p.X + ox, p.Y + oy};
        };
        TPixel last;
        for (std::size_t i = 0; i < n; ++i) {
            const TEnvelopeBand::TStation& s = kept->Stations[i];
            const TPixel p = mSpace.ToScreen(s.X, s.Y);
            if (PassedOver(i, n, p, last)) continue;
            up.push_back(at(p, s.HighX, s.HighY));
            down.push_back(at(p, s.LowX, s.LowY));
        }
    } else {
        up = points(high);
        down = points(low);
    }
    if (up.empty() || up.size() != down.size()) return;
    band.assign(up.begin(), up.end());
    band.insert(band.end(), down.rbegin(), down.rend());
    mP.SetPen({KBand, 1, TPenStyle::Solid});
    mP.SetBrush({KBand, TBrushStyle::Solid});
    mP.Polygon(band);
    mP.SetBrush({KWhite, TBrushStyle::Solid});

    mP.SetPen({KGreen, 1, TPenStyle::Solid});
    for (const bool largest : {true, false}) {
        const TMatrix& results = largest ? high : low;
        const std::vector<TPixel>& d = largest ? up : down;
        const std::vector<bool> marks = mTexts ? MarkStations(results, {row}) : std::vector<bool>();
        mP.MoveTo(a.X, a.Y);
        for (std::size_t i = 0; i < d.size(); ++i) {
            mP.LineTo(d[i].X, d[i].Y);
            if (!mTexts || (i != 0 && i + 1 != d.size() && !marks[i])) continue;
            const TReal v = results[std::size_t(row)][i];
            std::string text = mode == 3 ? Label(rightwards ? v : -v, TLabelQuantity::Moment)
                                         : Label(-v, TLabelQuantity::Force);
            // A value that shows as nothing is no combination's in particular; a point of the
            // straight line beside a peak of the other curve has no label.
            const int by = (largest ? byHigh : byLow)[i];
            if (peaks && by < 0) continue;
            if (text.find_first_of("123456789") != std::string::npos) text += " (" + CombinationName(all, by) + ")";
            DiagramLabel({d[i].X, d[i].Y + 10}, text, MemberStation(member, results[0][i]), marks[i]);
        }
        mP.LineTo(b.X, b.Y);
    }
    mP.SetPen({KBlack, 2, TPenStyle::Solid});
    mP.Line(a, b);
    mP.SetPenWidth(1);
}

void TSpaceDrawer::EnvelopeDisplacements(const TPrut& member, const TObalka::TMemberEnvelope& envelope,
                                         const TObalka& all) {
    const std::size_t n = envelope.X.size();
    if (n == 0 || !mTexts) return;
    for (const std::size_t quantity : {std::size_t(3), std::size_t(4)}) {
        std::size_t hi = 0, lo = 0;
        for (std::size_t j = 1; j < n; ++j) {
            if (envelope.Values[j][quantity].Max > envelope.Values[hi][quantity].Max) hi = j;
            if (envelope.Values[j][quantity].Min < envelope.Values[lo][quantity].Min) lo = j;
        }
        const char* symbol = quantity == 3 ? "u" : "w";
        for (const bool largest : {true, false}) {
            const std::size_t j = largest ? hi : lo;
            const TExtreme& x = envelope.Values[j][quantity];
            const std::string value = Label(largest ? x.Max : x.Min, TLabelQuantity::Displacement);
            if (value.find_first_of("123456789") == std::string::npos) continue;
            const std::string text = std::string(symbol) + (largest ? " max " : " min ") + value + " (" +
                                     CombinationName(all, largest ? x.MaxBy : x.MinBy) + ")";
            const TPixel p = MemberStation(member, envelope.X[j]);
            DiagramLabel({p.X, p.Y + 10}, text, p, true);
        }
    }
}
