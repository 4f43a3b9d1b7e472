#pragma once
// A painter that writes a placeable Windows metafile, record by record: the canvas pixels are
// the metafile's logical units (anisotropic mapping, window 0,0 – Width × Height), so the raster
// conventions of the canvas (end pixel of a line not set, right/bottom of a box exclusive,
// arcs counter-clockwise) are those of the metafile's own GDI records. Texts are written in
// windows-1250 with the Central European character set. Save-under does nothing here.
#include <cstdint>
#include <string>
#include <vector>

#include "canvas/CanvasPainter.h"

class TMKPSpace;

class TWmfPainter : public TCanvasPainter {
public:
    // unitsPerInch: the placeable header's scale (96: one canvas pixel is 1/96 inch).
    TWmfPainter(int width, int height, int unitsPerInch = 96);
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
    void SaveArea(const TPixelRect&) override {}
    void RestoreArea() override {}

    // The whole file: placeable header, metafile header, the records drawn so far and the end
    // record. Drawing may go on afterwards; a later call gives the longer file.
    std::vector<std::uint8_t> Bytes() const;

    // The record function numbers written (for tests and readers).
    enum : std::uint16_t {
        KSetBkMode = 0x0102,
        KSetMapMode = 0x0103,
        KSetTextAlign = 0x012E,
        KSelectObject = 0x012D,
        KDeleteObject = 0x01F0,
        KSetBkColor = 0x0201,
        KSetTextColor = 0x0209,
        KSetWindowOrg = 0x020B,
        KSetWindowExt = 0x020C,
        KLineTo = 0x0213,
        KMoveTo = 0x0214,
        KCreatePen = 0x02FA,
        KCreateFont = 0x02FB,
        KCreateBrush = 0x02FC,
        KPolygon = 0x0324,
        KPolyline = 0x0325,
        KEllipse = 0x0418,
        KFloodFill = 0x0419,
        KRectangle = 0x041B,
        KTextOut = 0x0521,
        KArc = 0x0817,
    };

protected:
    void DrawLine(TPixel from, TPixel to) override;
    void PenChanged() override { mPenDirty = true; }
    void BrushChanged() override { mBrushDirty = true; }
    void FontChanged() override { mFontDirty = true; }

private:
    void Record(std::uint16_t function, const std::vector<std::uint16_t>& params);
    // The object slot a new object takes: the lowest free one, as a metafile player assigns them.
    std::uint16_t NewObjectSlot();
    void ReplaceObject(int& current, std::uint16_t function, const std::vector<std::uint16_t>& params);
    void UsePen();
    void UsePen(const TPen& pen);
    void UseBrush();
    void UseBrush(const TBrush& brush);
    void UseText();

    int mWidth;
    int mHeight;
    int mUnitsPerInch;
    std::vector<std::uint16_t> mRecords;
    std::uint32_t mMaxRecord = 3;
    std::vector<bool> mSlots;
    int mPenSlot = -1;
    int mBrushSlot = -1;
    int mFontSlot = -1;
    bool mPenDirty = true;
    bool mBrushDirty = true;
    bool mFontDirty = true;
    TPen mWrittenPen;
    TBrush mWrittenBrush;
    int mBkMode = -1;
    TColor mBkColor = 0xFFFFFFFF;
    TColor mTextColor = 0xFFFFFFFF;
};

// UTF-8 text as windows-1250 bytes; a character that code page lacks becomes '?'.
std::string WmfTextBytes(const std::string& utf8);

// The picture of the current view as a placeable metafile (a repaint onto a metafile painter of
// the canvas size).
std::vector<std::uint8_t> WmfPicture(TMKPSpace& space);
