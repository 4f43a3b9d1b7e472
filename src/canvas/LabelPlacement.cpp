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

namespace {
constexpr int KCell = 64; // pixels on a side of a cell of the taken-box index
} // namespace

TLabelPlacer::TLabelPlacer(int width, int height)
    : mWidth(std::max(width, 1)), mHeight(std::max(height, 1)), mColumns((mWidth + KCell - 1) / KCell),
      mRows((mHeight + KCell - 1) / KCell), mCells(std::size_t(mColumns) * std::size_t(mRows)) {}

bool TLabelPlacer::Visible(const TPixelRect& box) const {
    return box.Right > 0 && box.Bottom > 0 && box.Left < mWidth && box.Top < mHeight;
}

template <typename F> void TLabelPlacer::ForCells(const TPixelRect& box, F f) const {
    const int c0 = std::clamp(box.Left / KCell, 0, mColumns - 1);
    const int c1 = std::clamp((box.Right - 1) / KCell, 0, mColumns - 1);
    const int r0 = std::clamp(box.Top / KCell, 0, mRows - 1);
    const int r1 = std::clamp((box.Bottom - 1) / KCell, 0, mRows - 1);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            f(std::size_t(r) * std::size_t(mColumns) + std::size_t(c));
}

void TLabelPlacer::Occupy(const TPixelRect& box) {
    if (!Visible(box)) return;
    const std::size_t index = mTaken.size();
    mTaken.push_back(box);
    ForCells(box, [&](std::size_t cell) { mCells[cell].push_back(index); });
}

void TLabelPlacer::Queue(TPixel place, const std::string& text, TPixel point, TColor colour, bool important) {
    mLabels.push_back({place, text, point, colour, important, false, place});
}

bool TLabelPlacer::Free(const TPixelRect& box) const {
    bool free = true;
    ForCells(box, [&](std::size_t cell) {
        for (std::size_t t : mCells[cell])
            if (free && Overlap(mTaken[t], box)) free = false;
    });
    return free;
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
