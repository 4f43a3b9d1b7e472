#pragma once
// The value labels of the diagrams and the deformed shape, kept clear of each other and of the
// texts that stand at fixed places (node and member numbers, load and reaction values, the
// origin marker's letters). A label stands where the drawing puts it whenever that place is
// free. At a joint both members end with a label at one point: when the texts are equal the
// value is written once; otherwise the later label moves to the nearest free place around its
// own, within two lines up or down and one label width to the left, and is left out when there
// is none there, since a label further off would be read as another point's.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "canvas/CanvasPainter.h"

// The box a canvas text covers with its top-left corner at (x, y), right and bottom exclusive.
// The width is estimated from the canvas font's advance widths (digits and letters 0.56 of the
// height, signs and separators narrower), rounded up, so that a box never falls short of the
// text on the screen.
TPixelRect TextBox(int x, int y, const std::string& utf8, const TFont& font);

class TLabelPlacer {
public:
    // Labels and texts on a canvas of this size; a label whose place lies wholly outside it is
    // written where it stands, unseen and in nobody's way.
    TLabelPlacer(int width, int height);
    // A text drawn where it stands; labels keep off it.
    void Occupy(const TPixelRect& box);
    // A label with its top-left corner at `place`, belonging to the diagram point of the station
    // whose axis point is `point`. Extremes and jumps (`important`) find their places before the
    // end values.
    void Queue(TPixel place, const std::string& text, TPixel point, TColor colour, bool important);
    // Places the queued labels and writes those that have a place, in the order they were
    // queued, transparent, in the painter's font. The queue is empty afterwards.
    void Draw(TCanvasPainter& p);

private:
    struct TLabel {
        TPixel Place;
        std::string Text;
        TPixel Point;
        TColor Colour;
        bool Important;
        bool Shown = false;
        TPixel At;
    };
    struct TShift {
        int Dx, Dy;
    };
    bool Visible(const TPixelRect& box) const;
    bool Free(const TPixelRect& box) const;
    // The places tried for a label of w × h pixels, nearest first.
    const std::vector<TShift>& Shifts(int w, int h);

    // The taken pixels: one bit each over the canvas and a margin around it, so that a test
    // costs the size of its box whatever the number of texts. The few taken boxes that reach
    // beyond the margin are also kept whole, for the boxes that reach there too.
    static constexpr int KMargin = 256;
    // The box's part inside the bitmap; false when there is none.
    bool Clip(const TPixelRect& box, TPixelRect& clipped) const;
    bool InsideBitmap(const TPixelRect& box) const;
    int mWidth, mHeight;
    int mWords; // 64-bit words a row of the bitmap
    std::vector<std::uint64_t> mBits;
    std::vector<TPixelRect> mBeyond;
    std::map<std::pair<int, int>, std::vector<TShift>> mShifts;
    std::vector<TLabel> mLabels;
};
