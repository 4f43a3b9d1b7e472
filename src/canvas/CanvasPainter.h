#pragma once
// The painter seam: everything the canvas shows is drawn onto a TCanvasPainter in integer device
// pixels with the semantics of a classic raster canvas:
// - a line runs from its start to its end, the end pixel itself not set; LineTo moves the pen;
// - ellipses, arcs and rectangles are given by a bounding box whose right and bottom are exclusive;
// - an arc runs counter-clockwise on the screen from the ray through its start point to the ray
//   through its end point;
// - a polygon is closed and filled with the brush, a polyline is open and never filled;
// - text is placed by its top-left corner, on an opaque or transparent background;
// - a flood fill paints with the brush the area around a seed that is bounded by a border colour.
// The painter keeps the current pen, brush, font and text background; a drawing reads them back
// when it has to leave them as it found them.
#include <cstdint>
#include <string>
#include <vector>

#include "base/Pixel.h"

// A colour as 0x00BBGGRR (the layout of the origin marker's colours and of the metafile).
using TColor = std::uint32_t;
constexpr TColor Rgb(unsigned r, unsigned g, unsigned b) {
    return (b << 16) | (g << 8) | r;
}
constexpr unsigned RedOf(TColor c) {
    return c & 0xFF;
}
constexpr unsigned GreenOf(TColor c) {
    return (c >> 8) & 0xFF;
}
constexpr unsigned BlueOf(TColor c) {
    return (c >> 16) & 0xFF;
}

constexpr TColor KBlack = Rgb(0, 0, 0);
constexpr TColor KRed = Rgb(255, 0, 0);
constexpr TColor KGreen = Rgb(0, 128, 0);
constexpr TColor KBlue = Rgb(0, 0, 255);
constexpr TColor KPurple = Rgb(128, 0, 128);
constexpr TColor KSilver = Rgb(192, 192, 192);
constexpr TColor KWhite = Rgb(255, 255, 255);

enum class TPenStyle { Solid, Dot };
enum class TBrushStyle { Solid, Clear, BDiagonal }; // BDiagonal: hatch lines rising to the right

struct TPen {
    TColor Color = KBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::Solid;
    friend bool operator==(const TPen&, const TPen&) = default;
};

struct TBrush {
    TColor Color = KWhite;
    TBrushStyle Style = TBrushStyle::Solid;
    friend bool operator==(const TBrush&, const TBrush&) = default;
};

// The canvas font: the window's "MS Sans Serif", Height in pixels.
struct TFont {
    std::string Name = "MS Sans Serif";
    int Height = 11;
    TColor Color = KBlack;
    friend bool operator==(const TFont&, const TFont&) = default;
};

class TCanvasPainter {
public:
    virtual ~TCanvasPainter() = default;

    // Size of the drawing surface in pixels.
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    void SetPen(const TPen& pen) {
        mPen = pen;
        PenChanged();
    }
    void SetPenColor(TColor c) { SetPen({c, mPen.Width, mPen.Style}); }
    void SetPenWidth(int w) { SetPen({mPen.Color, w, mPen.Style}); }
    void SetBrush(const TBrush& brush) {
        mBrush = brush;
        BrushChanged();
    }
    void SetFont(const TFont& font) {
        mFont = font;
        FontChanged();
    }
    void SetFontColor(TColor c) {
        TFont f = mFont;
        f.Color = c;
        SetFont(f);
    }
    // Opaque text is drawn on a box of the background colour, transparent text on nothing.
    void SetTextBackground(bool opaque, TColor color = KWhite) {
        mTextOpaque = opaque;
        mTextBackground = color;
    }
    const TPen& Pen() const { return mPen; }
    const TBrush& Brush() const { return mBrush; }
    const TFont& Font() const { return mFont; }
    bool TextOpaque() const { return mTextOpaque; }
    TColor TextBackground() const { return mTextBackground; }
    TPixel PenPosition() const { return mPosition; }

    void MoveTo(int x, int y) { mPosition = {x, y}; }
    // A line from the pen position to (x, y), which becomes the pen position.
    void LineTo(int x, int y) {
        DrawLine(mPosition, {x, y});
        mPosition = {x, y};
    }
    void Line(TPixel from, TPixel to) {
        MoveTo(from.X, from.Y);
        LineTo(to.X, to.Y);
    }

    virtual void Polyline(const std::vector<TPixel>& points) = 0;
    virtual void Polygon(const std::vector<TPixel>& points) = 0;
    virtual void Ellipse(const TPixelRect& box) = 0;
    // Outline with the pen, inside with the brush.
    virtual void Rectangle(const TPixelRect& box) = 0;
    virtual void Arc(const TPixelRect& box, TPixel start, TPixel end) = 0;
    virtual void TextOut(int x, int y, const std::string& utf8Text) = 0;
    virtual void FloodFill(int x, int y, TColor border) = 0;
    // Fills a rectangle with a solid colour, no outline (the background).
    virtual void FillRect(const TPixelRect& box, TColor color) = 0;

    // Save-under for the rubber band: keeps a copy of the pixels of one area (replacing any
    // earlier copy) and puts them back. Surfaces without pixels (metafile, SVG) do nothing.
    virtual void SaveArea(const TPixelRect& area) = 0;
    virtual void RestoreArea() = 0;

protected:
    virtual void DrawLine(TPixel from, TPixel to) = 0;
    virtual void PenChanged() {}
    virtual void BrushChanged() {}
    virtual void FontChanged() {}

private:
    TPen mPen;
    TBrush mBrush;
    TFont mFont;
    bool mTextOpaque = true;
    TColor mTextBackground = KWhite;
    TPixel mPosition;
};
