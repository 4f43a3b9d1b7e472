#pragma once
// A painter that draws nothing and records every primitive with the pen, brush, font and text
// background in force, so that tests can assert the exact pixels of a drawing.
#include <string>
#include <vector>

#include "canvas/CanvasPainter.h"

enum class TPaintKind {
    Line,
    Polyline,
    Polygon,
    Ellipse,
    Rectangle,
    Arc,
    Text,
    FloodFill,
    FillRect,
    Save,
    Restore
};

struct TPaintOp {
    TPaintKind Kind;
    std::vector<TPixel> Points; // Line: from, to; Arc: start, end; Text, FloodFill: the position
    TPixelRect Rect;            // Ellipse, Rectangle, Arc, FillRect, Save
    std::string Text;
    TPen Pen;
    TBrush Brush;
    TFont Font;
    bool TextOpaque = false;
    TColor Colour = 0; // FloodFill: the border colour; FillRect: the fill
};

class TRecordingPainter : public TCanvasPainter {
public:
    TRecordingPainter(int width = 105, int height = 105) : mWidth(width), mHeight(height) {}
    int Width() const override { return mWidth; }
    int Height() const override { return mHeight; }

    void Polyline(const std::vector<TPixel>& points) override;
    void Polygon(const std::vector<TPixel>& points) override;
    void Ellipse(const TPixelRect& box) override;
    void Rectangle(const TPixelRect& box) override;
    void Arc(const TPixelRect& box, TPixel start, TPixel end) override;
    void TextOut(int x, int y, const std::string& utf8Text) override;
    void FloodFill(int x, int y, TColor border) override;
    void FillRect(const TPixelRect& box, TColor color) override;
    void SaveArea(const TPixelRect& area) override;
    void RestoreArea() override;

    std::vector<TPaintOp> Ops;

    // Queries for tests.
    std::vector<TPaintOp> OfKind(TPaintKind kind) const;
    // The lines from→to recorded (in either direction when bothWays).
    int CountLines(TPixel from, TPixel to, bool bothWays = false) const;
    const TPaintOp* FindLine(TPixel from, TPixel to) const;
    const TPaintOp* FindText(const std::string& text) const;
    const TPaintOp* FindEllipse(const TPixelRect& box) const;
    void Clear() { Ops.clear(); }

protected:
    void DrawLine(TPixel from, TPixel to) override;

private:
    TPaintOp Make(TPaintKind kind) const;
    int mWidth;
    int mHeight;
};
