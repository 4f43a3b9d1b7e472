#include "canvas/LabelPlacement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

void TLabelPlacer::Occupy(const TPixelRect& box) {
    mTaken.push_back(box);
}

void TLabelPlacer::Queue(TPixel place, const std::string& text, TPixel point, TColor colour, bool important) {
    mLabels.push_back({place, text, point, colour, important});
}

bool TLabelPlacer::Free(const TPixelRect& box) const {
    return std::none_of(mTaken.begin(), mTaken.end(), [&](const TPixelRect& t) { return Overlap(t, box); });
}

void TLabelPlacer::Draw(TCanvasPainter& p) {
    std::vector<TLabel*> order;
    for (TLabel& l : mLabels)
        order.push_back(&l);
    std::stable_sort(order.begin(), order.end(),
                     [](const TLabel* a, const TLabel* b) { return a->Important && !b->Important; });
    std::vector<const TLabel*> shown;
    for (TLabel* l : order) {
        // The same value at the same point is already written (the other member at a joint).
        const bool written = std::any_of(shown.begin(), shown.end(), [&](const TLabel* s) {
            return s->Text == l->Text && std::abs(s->Point.X - l->Point.X) <= 1 &&
                   std::abs(s->Point.Y - l->Point.Y) <= 1;
        });
        if (written) continue;
        const TPixelRect box = TextBox(l->Place.X, l->Place.Y, l->Text, p.Font());
        const int w = box.Right - box.Left, h = box.Bottom - box.Top;
        // The own place first, then the nearest of the places around it: a line down or up,
        // half or a whole width to the left, two lines down or up.
        const int dxs[] = {0, -(w + 2) / 2, -(w + 2)};
        const int dys[] = {0, h, -h, 2 * h, -2 * h};
        struct TCandidate {
            int Dx, Dy;
        };
        std::vector<TCandidate> candidates;
        for (int dy : dys)
            for (int dx : dxs)
                candidates.push_back({dx, dy});
        std::stable_sort(candidates.begin(), candidates.end(), [](const TCandidate& a, const TCandidate& b) {
            return std::hypot(a.Dx, a.Dy) < std::hypot(b.Dx, b.Dy);
        });
        for (const TCandidate& c : candidates) {
            const TPixelRect moved = Shifted(box, c.Dx, c.Dy);
            if (!Free(moved)) continue;
            l->Shown = true;
            l->At = {l->Place.X + c.Dx, l->Place.Y + c.Dy};
            mTaken.push_back(moved);
            shown.push_back(l);
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
