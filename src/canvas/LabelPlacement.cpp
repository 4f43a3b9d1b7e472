#include "canvas/LabelPlacement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace {
// Advance width of a character in thousandths of the font height ("MS Sans Serif" is drawn with
// a face of Arial's metrics); characters beyond ASCII count as wide letters.
int Advance(unsigned char c) {
    if (c >= '0' && c <= '9') return 556;
    switch (c) {
    case '.':
    case ',':
    case ';':
    case ':':
    case '[':
    case ']':
    case ' ':
    case 'i':
    case 'l':
        return 278;
    case '-':
    case '(':
    case ')':
        return 333;
    case '+':
        return 584;
    default:
        return c >= 'A' && c <= 'Z' ? 722 : 556;
    }
}

bool Overlap(const TPixelRect& a, const TPixelRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

TPixelRect Shifted(const TPixelRect& r, int dx, int dy) {
    return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}
} // namespace

TPixelRect TextBox(int x, int y, const std::string& utf8, const TFont& font) {
    const int height = font.Height > 0 ? font.Height : 11;
    long thousandths = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) thousandths += Advance(c); // one advance per UTF-8 character
    const int width = static_cast<int>((thousandths * height + 999) / 1000);
    return {x, y, x + width, y + height + 2};
}

TLabelPlacer::TLabelPlacer(int width, int height)
    : mWidth(std::max(width, 1)), mHeight(std::max(height, 1)), mWords((mWidth + 2 * KMargin + 63) / 64),
      mBits(std::size_t(mWords) * std::size_t(mHeight + 2 * KMargin), 0) {}

bool TLabelPlacer::Visible(const TPixelRect& box) const {
    return box.Right > 0 && box.Bottom > 0 && box.Left < mWidth && box.Top < mHeight;
}

bool TLabelPlacer::Clip(const TPixelRect& box, TPixelRect& c) const {
    c = {std::max(box.Left, -KMargin), std::max(box.Top, -KMargin), std::min(box.Right, mWidth + KMargin),
         std::min(box.Bottom, mHeight + KMargin)};
    return c.Left < c.Right && c.Top < c.Bottom;
}

bool TLabelPlacer::InsideBitmap(const TPixelRect& box) const {
    return box.Left >= -KMargin && box.Top >= -KMargin && box.Right <= mWidth + KMargin &&
           box.Bottom <= mHeight + KMargin;
}

namespace {
// The bits of columns [from, to) within the word that starts at column `word`·64.
std::uint64_t Mask(int word, int from, int to) {
    const int lo = std::max(from - word * 64, 0), hi = std::min(to - word * 64, 64);
    const std::uint64_t upper = hi == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << hi) - 1;
    return upper & ~((std::uint64_t(1) << lo) - 1);
}
} // namespace

void TLabelPlacer::Occupy(const TPixelRect& box) {
    if (!Visible(box)) return;
    if (!InsideBitmap(box)) mBeyond.push_back(box);
    TPixelRect c;
    if (!Clip(box, c)) return;
    const int from = c.Left + KMargin, to = c.Right + KMargin;
    for (int y = c.Top; y < c.Bottom; ++y) {
        std::uint64_t* row = &mBits[std::size_t(y + KMargin) * std::size_t(mWords)];
        for (int w = from / 64; w <= (to - 1) / 64; ++w)
            row[w] |= Mask(w, from, to);
    }
}

void TLabelPlacer::Queue(TPixel place, const std::string& text, TPixel point, TColor colour, bool important) {
    mLabels.push_back({place, text, point, colour, important, false, place});
}

bool TLabelPlacer::Free(const TPixelRect& box) const {
    if (!InsideBitmap(box))
        for (const TPixelRect& t : mBeyond)
            if (Overlap(t, box)) return false;
    TPixelRect c;
    if (!Clip(box, c)) return true;
    const int from = c.Left + KMargin, to = c.Right + KMargin;
    for (int y = c.Top; y < c.Bottom; ++y) {
        const std::uint64_t* row = &mBits[std::size_t(y + KMargin) * std::size_t(mWords)];
        for (int w = from / 64; w <= (to - 1) / 64; ++w)
            if (row[w] & Mask(w, from, to)) return false;
    }
    return true;
}

// The own place first, then the nearest of the places around it: a line down or up, half or a
// whole width to the left, two lines down or up.
const std::vector<TLabelPlacer::TShift>& TLabelPlacer::Shifts(int w, int h) {
    std::vector<TShift>& shifts = mShifts[{w, h}];
    if (!shifts.empty()) return shifts;
    const int dxs[] = {0, -(w + 2) / 2, -(w + 2)};
    const int dys[] = {0, h, -h, 2 * h, -2 * h};
    for (int dy : dys)
        for (int dx : dxs)
            shifts.push_back({dx, dy});
    std::stable_sort(shifts.begin(), shifts.end(),
                     [](const TShift& a, const TShift& b) { return std::hypot(a.Dx, a.Dy) < std::hypot(b.Dx, b.Dy); });
    return shifts;
}

void TLabelPlacer::Draw(TCanvasPainter& p) {
    std::vector<TLabel*> order;
    for (TLabel& l : mLabels)
        order.push_back(&l);
    std::stable_sort(order.begin(), order.end(),
                     [](const TLabel* a, const TLabel* b) { return a->Important && !b->Important; });
    // The labels written, by their station point.
    std::unordered_map<long long, std::vector<const TLabel*>> written;
    auto key = [](int x, int y) { return (static_cast<long long>(x) << 32) ^ static_cast<unsigned>(y); };
    for (TLabel* l : order) {
        // The same value at the same point is already written (the other member at a joint).
        bool again = false;
        for (int dx = -1; dx <= 1 && !again; ++dx)
            for (int dy = -1; dy <= 1 && !again; ++dy) {
                auto it = written.find(key(l->Point.X + dx, l->Point.Y + dy));
                if (it != written.end())
                    again = std::any_of(it->second.begin(), it->second.end(),
                                        [&](const TLabel* w) { return w->Text == l->Text; });
            }
        if (again) continue;
        const TPixelRect box = TextBox(l->Place.X, l->Place.Y, l->Text, p.Font());
        if (!Visible(box)) {
            l->Shown = true;
            l->At = l->Place;
            written[key(l->Point.X, l->Point.Y)].push_back(l);
            continue;
        }
        for (const TShift& c : Shifts(box.Right - box.Left, box.Bottom - box.Top)) {
            const TPixelRect moved = Shifted(box, c.Dx, c.Dy);
            if (!Free(moved)) continue;
            l->Shown = true;
            l->At = {l->Place.X + c.Dx, l->Place.Y + c.Dy};
            Occupy(moved);
            written[key(l->Point.X, l->Point.Y)].push_back(l);
            break;
        }
    }
    p.SetTextBackground(false);
    for (const TLabel& l : mLabels) {
        if (!l.Shown) continue;
        p.SetFontColor(l.Colour);
        p.TextOut(l.At.X, l.At.Y, l.Text);
    }
    mLabels.clear();
}
