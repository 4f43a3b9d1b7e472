#include "canvas/WmfPainter.h"

#include <algorithm>

#include "base/Cp1250.h"
#include "model/MKPSpace.h"

namespace {
constexpr std::uint16_t KMapAnisotropic = 8;
constexpr std::uint16_t KTransparent = 1;
constexpr std::uint16_t KOpaque = 2;
constexpr std::uint16_t KPenSolid = 0, KPenDot = 2;
constexpr std::uint16_t KBrushSolid = 0, KBrushNull = 1, KBrushHatched = 2;
constexpr std::uint16_t KHatchBDiagonal = 3;
constexpr std::uint8_t KEastEuropeCharset = 238;

std::uint16_t W(int v) {
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp(v, -32768, 32767)));
}
std::uint16_t Lo(std::uint32_t v) {
    return static_cast<std::uint16_t>(v & 0xFFFF);
}
std::uint16_t Hi(std::uint32_t v) {
    return static_cast<std::uint16_t>(v >> 16);
}

// Bytes packed little-endian into words, padded with a zero byte to an even length.
void AppendBytes(std::vector<std::uint16_t>& words, const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        auto b0 = static_cast<unsigned char>(bytes[i]);
        auto b1 = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0u;
        words.push_back(static_cast<std::uint16_t>(b0 | (b1 << 8)));
    }
}
} // namespace

std::string WmfTextBytes(const std::string& utf8) { return Utf8ToCp1250Lossy(utf8); }

TWmfPainter::TWmfPainter(int width, int height, int unitsPerInch)
    : mWidth(width), mHeight(height), mUnitsPerInch(unitsPerInch) {
    Record(KSetMapMode, {KMapAnisotropic});
    Record(KSetWindowOrg, {0, 0});
    Record(KSetWindowExt, {W(height), W(width)});
    Record(KSetTextAlign, {0}); // top-left reference point, the pen position is not moved
}

void TWmfPainter::Record(std::uint16_t function, const std::vector<std::uint16_t>& params) {
    const auto size = static_cast<std::uint32_t>(3 + params.size());
    mRecords.push_back(Lo(size));
    mRecords.push_back(Hi(size));
    mRecords.push_back(function);
    mRecords.insert(mRecords.end(), params.begin(), params.end());
    mMaxRecord = std::max(mMaxRecord, size);
}

std::uint16_t TWmfPainter::NewObjectSlot() {
    auto it = std::find(mSlots.begin(), mSlots.end(), false);
    if (it == mSlots.end()) it = mSlots.insert(mSlots.end(), false);
    *it = true;
    return static_cast<std::uint16_t>(it - mSlots.begin());
}

// Creates the new object, selects it, then deletes the one it replaces.
void TWmfPainter::ReplaceObject(int& current, std::uint16_t function,
                                const std::vector<std::uint16_t>& params) {
    Record(function, params);
    const std::uint16_t slot = NewObjectSlot();
    Record(KSelectObject, {slot});
    if (current >= 0) {
        Record(KDeleteObject, {static_cast<std::uint16_t>(current)});
        mSlots[static_cast<std::size_t>(current)] = false;
    }
    current = slot;
}

void TWmfPainter::UsePen(const TPen& pen) {
    if (mPenSlot >= 0 && pen == mWrittenPen) return;
    const bool dotted = pen.Style == TPenStyle::Dot;
    // A dotted pen exists only one pixel wide.
    ReplaceObject(mPenSlot, KCreatePen,
                  {dotted ? KPenDot : KPenSolid, W(dotted ? 1 : std::max(pen.Width, 1)), 0, Lo(pen.Color),
                   Hi(pen.Color)});
    mWrittenPen = pen;
}

void TWmfPainter::UsePen() {
    if (mPenDirty) UsePen(Pen());
    mPenDirty = false;
}

void TWmfPainter::UseBrush(const TBrush& brush) {
    if (mBrushSlot >= 0 && brush == mWrittenBrush) return;
    std::uint16_t style = brush.Style == TBrushStyle::Solid   ? KBrushSolid
                          : brush.Style == TBrushStyle::Clear ? KBrushNull
                                                              : KBrushHatched;
    ReplaceObject(mBrushSlot, KCreateBrush,
                  {style, Lo(brush.Color), Hi(brush.Color),
                   brush.Style == TBrushStyle::BDiagonal ? KHatchBDiagonal : std::uint16_t{0}});
    mWrittenBrush = brush;
}

void TWmfPainter::UseBrush() {
    if (mBrushDirty) UseBrush(Brush());
    mBrushDirty = false;
}

// The font is written with a negative height: the character height in pixels, as a pixel-size
// font on the canvas.
void TWmfPainter::UseText() {
    if (mFontDirty) {
        const TFont& f = Font();
        std::vector<std::uint16_t> p{
            W(-f.Height), 0, 0, 0, 400, 0, static_cast<std::uint16_t>(KEastEuropeCharset << 8), 0, 0};
        std::string face = WmfTextBytes(f.Name).substr(0, 31);
        face.push_back('\0');
        AppendBytes(p, face);
        ReplaceObject(mFontSlot, KCreateFont, p);
        mFontDirty = false;
    }
    if (Font().Color != mTextColor) {
        mTextColor = Font().Color;
        Record(KSetTextColor, {Lo(mTextColor), Hi(mTextColor)});
    }
    const int mode = TextOpaque() ? KOpaque : KTransparent;
    if (mode != mBkMode) {
        mBkMode = mode;
        Record(KSetBkMode, {static_cast<std::uint16_t>(mode)});
    }
    if (TextOpaque() && TextBackground() != mBkColor) {
        mBkColor = TextBackground();
        Record(KSetBkColor, {Lo(mBkColor), Hi(mBkColor)});
    }
}

void TWmfPainter::DrawLine(TPixel from, TPixel to) {
    UsePen();
    Record(KMoveTo, {W(from.Y), W(from.X)});
    Record(KLineTo, {W(to.Y), W(to.X)});
}

void TWmfPainter::Polyline(const std::vector<TPixel>& points) {
    if (points.size() < 2) return;
    UsePen();
    std::vector<std::uint16_t> p{static_cast<std::uint16_t>(points.size())};
    for (TPixel q : points) {
        p.push_back(W(q.X));
        p.push_back(W(q.Y));
    }
    Record(KPolyline, p);
}

void TWmfPainter::Polygon(const std::vector<TPixel>& points) {
    if (points.size() < 2) return;
    UsePen();
    UseBrush();
    std::vector<std::uint16_t> p{static_cast<std::uint16_t>(points.size())};
    for (TPixel q : points) {
        p.push_back(W(q.X));
        p.push_back(W(q.Y));
    }
    Record(KPolygon, p);
}

void TWmfPainter::Ellipse(const TPixelRect& b) {
    UsePen();
    UseBrush();
    Record(KEllipse, {W(b.Bottom), W(b.Right), W(b.Top), W(b.Left)});
}

void TWmfPainter::Rectangle(const TPixelRect& b) {
    UsePen();
    UseBrush();
    Record(KRectangle, {W(b.Bottom), W(b.Right), W(b.Top), W(b.Left)});
}

void TWmfPainter::Arc(const TPixelRect& b, TPixel s, TPixel e) {
    UsePen();
    Record(KArc, {W(e.Y), W(e.X), W(s.Y), W(s.X), W(b.Bottom), W(b.Right), W(b.Top), W(b.Left)});
}

void TWmfPainter::TextOut(int x, int y, const std::string& utf8Text) {
    const std::string bytes = WmfTextBytes(utf8Text).substr(0, 32000);
    if (bytes.empty()) return;
    UseText();
    std::vector<std::uint16_t> p{static_cast<std::uint16_t>(bytes.size())};
    AppendBytes(p, bytes);
    p.push_back(W(y));
    p.push_back(W(x));
    Record(KTextOut, p);
}

void TWmfPainter::FloodFill(int x, int y, TColor border) {
    UseBrush();
    Record(KFloodFill, {Lo(border), Hi(border), W(y), W(x)});
}

// A rectangle outlined and filled in one colour covers exactly the box.
void TWmfPainter::FillRect(const TPixelRect& box, TColor color) {
    UsePen({color, 1, TPenStyle::Solid});
    UseBrush({color, TBrushStyle::Solid});
    mPenDirty = mBrushDirty = true;
    Record(KRectangle, {W(box.Bottom), W(box.Right), W(box.Top), W(box.Left)});
}

std::vector<std::uint8_t> TWmfPainter::Bytes() const {
    std::vector<std::uint16_t> words;
    // Placeable header: key, handle, bounding box, units per inch, reserved, checksum of the
    // ten words before it.
    words.insert(words.end(), {0xCDD7, 0x9AC6, 0, 0, 0, W(mWidth), W(mHeight), W(mUnitsPerInch), 0, 0});
    std::uint16_t checksum = 0;
    for (std::uint16_t w : words)
        checksum ^= w;
    words.push_back(checksum);
    const auto fileWords = static_cast<std::uint32_t>(9 + mRecords.size() + 3);
    const auto objects = static_cast<std::uint16_t>(std::max<std::size_t>(mSlots.size(), 1));
    words.insert(words.end(),
                 {1, 9, 0x0300, Lo(fileWords), Hi(fileWords), objects, Lo(mMaxRecord), Hi(mMaxRecord), 0});
    words.insert(words.end(), mRecords.begin(), mRecords.end());
    words.insert(words.end(), {3, 0, 0});
    std::vector<std::uint8_t> bytes;
    bytes.reserve(words.size() * 2);
    for (std::uint16_t w : words) {
        bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    return bytes;
}

std::vector<std::uint8_t> WmfPicture(TMKPSpace& space) {
    TWmfPainter painter(space.Width, space.Height);
    space.Prekresli(painter);
    return painter.Bytes();
}
