#pragma once
// The value labels of the diagrams and the deformed shape, kept clear of each other and of the
// texts that stand at fixed places (node and member numbers, load and reaction values, the
// origin marker's letters). A label stands where the drawing puts it whenever that place is
// free. At a joint both members end with a label at one point: when the texts are equal the
// value is written once; otherwise the later label moves to the nearest free place around its
// own, within two lines up or down and one label width to the left, and is left out when there
// is none there, since a label further off would be read as another point's.
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
    bool Visible(const TPixelRect& box) const;
    bool Free(const TPixelRect& box) const;
    // The taken boxes are kept in square cells of the canvas, so that a test looks only at the
    // boxes near its own.
    template <typename F> void ForCells(const TPixelRect& box, F f) const;

    int mWidth, mHeight, mColumns, mRows;
    std::vector<TPixelRect> mTaken;
    std::vector<std::vector<std::size_t>> mCells;
    std::vector<TLabel> mLabels;
};
