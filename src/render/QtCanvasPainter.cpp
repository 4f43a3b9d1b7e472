#include "render/QtCanvasPainter.h"

#include <QFont>
#include <QPolygon>
#include <QStaticText>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace {
QColor ToQColor(TColor c) {
    return QColor(static_cast<int>(RedOf(c)), static_cast<int>(GreenOf(c)), static_cast<int>(BlueOf(c)));
}

QPolygon ToPolygon(const std::vector<TPixel>& points) {
    QPolygon poly;
    poly.reserve(static_cast<int>(points.size()));
    for (TPixel p : points)
        poly << QPoint(p.X, p.Y);
    return poly;
}

// A box with exclusive right and bottom as the rectangle QPainter strokes: its outline covers
// left … right − 1.
QRect StrokeRect(const TPixelRect& b) {
    return QRect(b.Left, b.Top, b.Right - b.Left - 1, b.Bottom - b.Top - 1);
}

// The direction of a point seen from the centre of a box, in Qt's degrees (counter-clockwise on
// the screen, 0 pointing right).
qreal ScreenAngle(const TPixelRect& b, TPixel p) {
    const qreal cx = (b.Left + b.Right) / 2.0, cy = (b.Top + b.Bottom) / 2.0;
    return std::atan2(-(p.Y - cy), p.X - cx) * 180.0 / M_PI;
}
} // namespace

void TQtCanvasPainter::InstallFontSubstitutes() {
    static bool installed = false;
    if (installed) return;
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    installed = true;
}

TQtCanvasPainter::TQtCanvasPainter(QImage& image)
    : mImage(&image), mWidth(image.width()), mHeight(image.height()) {
    InstallFontSubstitutes();
    PaintBegin();
    PenChanged();
    BrushChanged();
    FontChanged();
}

TQtCanvasPainter::TQtCanvasPainter(QPaintDevice& device, int width, int height)
    : mWidth(width), mHeight(height) {
    InstallFontSubstitutes();
    mPainter.begin(&device);
    PenChanged();
    BrushChanged();
    FontChanged();
}

// The pixels are taken (and the image made its own) before the paint engine takes them, so both
// write to the same buffer.
void TQtCanvasPainter::PaintBegin() {
    mBits = mImage->format() == QImage::Format_RGB32 && !mImage->isNull() ? mImage->bits() : nullptr;
    mBytesPerLine = mImage->bytesPerLine();
    mPainter.begin(mImage);
}

TQtCanvasPainter::~TQtCanvasPainter() {
    if (mPainter.isActive()) mPainter.end();
}

// Flat caps: a one-pixel line leaves its end pixel unset, as on the raster canvas. The drawing sets
// the same pen over and over; the paint engine is told only of a different one. On an image it is
// told only when it draws with it (LinePen): the lines whose pixels are kept never need it, and a
// large frame's diagrams change the pen several times for every member. A vector device is told
// of every different pen at once, as always.
void TQtCanvasPainter::PenChanged() {
    mPenDirty = !(mPenApplied && Pen() == mAppliedPen);
    if (mImage || (!mPenDirty && !mTextPen)) return;
    ApplyPen();
}

// The few pens of a drawing are made once each.
void TQtCanvasPainter::ApplyPen() {
    mAppliedPen = Pen();
    mPenApplied = true;
    mPenDirty = false;
    mTextPen = false;
    for (const auto& [made, pen] : mPens)
        if (made == Pen()) {
            mPainter.setPen(pen);
            return;
        }
    QPen pen(ToQColor(Pen().Color));
    pen.setWidth(Pen().Width <= 1 ? 0 : Pen().Width);
    pen.setStyle(Pen().Style == TPenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    mPainter.setPen(pen);
    if (mPens.size() >= 16) mPens.clear();
    mPens.emplace_back(Pen(), pen);
}

// On an image the paint engine is told of a brush only when a shape is filled with it and it
// differs from the one it has: lines and texts, which most of a drawing is, never read it. A
// vector device is told of every brush set (an SVG then writes the same groups as always).
void TQtCanvasPainter::BrushChanged() {
    if (mImage) {
        mBrushDirty = !(mBrushApplied && Brush() == mAppliedBrush);
        return;
    }
    ApplyBrush();
}

void TQtCanvasPainter::FillBrush() {
    if (mBrushDirty) ApplyBrush();
}

void TQtCanvasPainter::ApplyBrush() {
    mAppliedBrush = Brush();
    mBrushApplied = true;
    mBrushDirty = false;
    switch (Brush().Style) {
    case TBrushStyle::Solid:
        mPainter.setBrush(QBrush(ToQColor(Brush().Color), Qt::SolidPattern));
        break;
    case TBrushStyle::Clear:
        mPainter.setBrush(Qt::NoBrush);
        break;
    case TBrushStyle::BDiagonal:
        mPainter.setBrush(QBrush(ToQColor(Brush().Color), Qt::BDiagPattern));
        break;
    }
}

// Only the face and the size make a new QFont; the colour is the text pen's.
void TQtCanvasPainter::FontChanged() {
    const int height = Font().Height > 0 ? Font().Height : 11;
    if (mFontValid && Font().Name == mFontName && height == mFontHeight) return;
    QFont font(QString::fromStdString(Font().Name));
    font.setPixelSize(height);
    font.setStyleStrategy(QFont::NoAntialias);
    mPainter.setFont(font);
    mFontName = Font().Name;
    mFontHeight = height;
    mFontValid = true;
    mTextCache = &CacheFor(mFontName, mFontHeight);
}

void TQtCanvasPainter::DrawLine(TPixel from, TPixel to) {
    if (from == to || KnownLine(from, to)) return;
    LinePen();
    mPainter.drawLine(from.X, from.Y, to.X, to.Y);
}

void TQtCanvasPainter::Polyline(const std::vector<TPixel>& points) {
    if (points.size() < 2) return;
    LinePen();
    mPainter.drawPolyline(ToPolygon(points));
}

namespace {
// The pixels a short line or a polygon covers, as runs along the rows from its first point. A
// line or a polygon with whole-pixel ends and corners covers the same pixels wherever it is moved
// by whole pixels (clear of the image's edges), so the paint engine draws each shape once and a
// shape that comes again has its pixels set directly.
constexpr int KShapeSize = 128;             // the largest width and height of a polygon kept
constexpr int KLineReach = 128;             // the longest horizontal and vertical extent of a line kept
constexpr std::size_t KShapeRuns = 2000000; // the runs of all polygons kept, at most
struct TShape {
    bool Taken = false; // seen once, drawn by the paint engine; its pixels are taken the next time
    std::vector<TQtCanvasPainter::TRun> Runs;
};
std::unordered_map<std::string, TShape>& Shapes() {
    static auto* shapes = new std::unordered_map<std::string, TShape>();
    return *shapes;
}
std::size_t gShapeRuns = 0; // the runs of the polygons kept
// The lines by their extent across and down, of the thin pen (width 1) and of the pen of width 2.
std::vector<TShape>& Lines(int width) {
    constexpr std::size_t size = (2 * KLineReach + 1) * (2 * KLineReach + 1);
    static auto* thin = new std::vector<TShape>(size);
    static auto* wide = new std::vector<TShape>(size);
    return width == 2 ? *wide : *thin;
}

// The pixels that `draw` sets with a cosmetic pen (or one of `width` 2) and a solid brush of one
// colour, drawing with its first point at the origin, within `box` around the origin (and a pixel
// beyond it, two for the wide pen, whose half reaches a pixel across the line).
template <typename TDraw>
std::vector<TQtCanvasPainter::TRun> ShapeRuns(const QRect& box, TDraw draw, int width = 1) {
    constexpr int at = std::max(KShapeSize, KLineReach) + 4, size = 2 * at + 1;
    // The scratch image and its painter stay for the whole program (and are never destroyed, as
    // the text caches); the image is white but while a shape is taken.
    static QImage* scratch = [] {
        auto* image = new QImage(size, size, QImage::Format_RGB32);
        image->fill(Qt::white);
        return image;
    }();
    static uchar* bits = scratch->bits();
    static QPainter* painter = [] {
        auto* p = new QPainter(scratch);
        QPen pen(Qt::black);
        pen.setWidth(0);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        p->setPen(pen);
        p->setBrush(QBrush(Qt::black, Qt::SolidPattern));
        p->translate(at, at);
        return p;
    }();
    const int reach = width == 2 ? 2 : 1;
    if (width == 2) {
        QPen pen = painter->pen();
        pen.setWidth(2);
        painter->setPen(pen);
    }
    draw(*painter);
    if (width == 2) {
        QPen pen = painter->pen();
        pen.setWidth(0);
        painter->setPen(pen);
    }
    const QRgb white = QColor(Qt::white).rgb();
    std::vector<TQtCanvasPainter::TRun> runs;
    for (int y = box.top() - reach + at; y <= box.bottom() + reach + at; ++y) {
        auto* line = reinterpret_cast<QRgb*>(bits + y * scratch->bytesPerLine());
        for (int x = box.left() - reach + at; x <= box.right() + reach + at; ++x) {
            if (line[x] == white) continue;
            if (!runs.empty() && runs.back().Dy == y - at && runs.back().Dx + runs.back().Length == x - at)
                ++runs.back().Length;
            else
                runs.push_back({short(y - at), short(x - at), 1});
            line[x] = white;
        }
    }
    return runs;
}
} // namespace

void TQtCanvasPainter::ForgetShapes(bool lines) {
    Shapes().clear();
    gShapeRuns = 0;
    if (lines)
        for (const int width : {1, 2})
            for (TShape& line : Lines(width))
                line = TShape();
}

// The pixels of a solid line (thin, or of `width` 2) or of a thin polygon are set directly when
// nothing else is in the way: no clipping, no transformation, plain composition at full opacity,
// no antialiasing, and the shape well inside the image.
bool TQtCanvasPainter::Direct(int left, int top, int right, int bottom, int width) {
    return mBits && Pen().Style == TPenStyle::Solid && Pen().Width <= width && left >= 1 + width &&
           top >= 1 + width && right <= mWidth - 2 - width && bottom <= mHeight - 2 - width &&
           !mPainter.hasClipping() && mPainter.compositionMode() == QPainter::CompositionMode_SourceOver &&
           mPainter.opacity() == 1.0 && !mPainter.testRenderHint(QPainter::Antialiasing) &&
           mPainter.transform().isIdentity();
}

void TQtCanvasPainter::SetPixels(TPixel origin, const std::vector<TRun>& runs) {
    const QRgb colour = ToQColor(Pen().Color).rgb();
    for (const TRun& r : runs)
        std::fill_n(reinterpret_cast<QRgb*>(mBits + (origin.Y + r.Dy) * mBytesPerLine) + origin.X + r.Dx,
                    r.Length, colour);
}

// A line's pixels are taken when a line of its extent and its pen's width is first drawn.
bool TQtCanvasPainter::KnownLine(TPixel from, TPixel to) {
    const int dx = to.X - from.X, dy = to.Y - from.Y;
    const int width = Pen().Width == 2 ? 2 : 1;
    if (dx < -KLineReach || dx > KLineReach || dy < -KLineReach || dy > KLineReach ||
        !Direct(std::min(from.X, to.X), std::min(from.Y, to.Y), std::max(from.X, to.X),
                std::max(from.Y, to.Y), width))
        return false;
    TShape& line = Lines(width)[std::size_t((dy + KLineReach) * (2 * KLineReach + 1) + dx + KLineReach)];
    if (!line.Taken) {
        line.Runs = ShapeRuns(
            QRect(QPoint(std::min(dx, 0), std::min(dy, 0)), QPoint(std::max(dx, 0), std::max(dy, 0))),
            [&](QPainter& p) { p.drawLine(0, 0, dx, dy); }, width);
        line.Taken = true;
    }
    SetPixels(from, line.Runs);
    return true;
}

// A polygon whose outline and inside have one solid colour is drawn by the paint engine the first
// time its shape comes; the second time its pixels are taken.
bool TQtCanvasPainter::KnownShape(const std::vector<TPixel>& points) {
    if (!mBits || Brush().Style != TBrushStyle::Solid || Brush().Color != Pen().Color) return false;
    const TPixel first = points.front();
    int left = first.X, right = first.X, top = first.Y, bottom = first.Y;
    for (const TPixel& p : points) {
        left = std::min(left, p.X), right = std::max(right, p.X);
        top = std::min(top, p.Y), bottom = std::max(bottom, p.Y);
    }
    if (right - left > KShapeSize || bottom - top > KShapeSize || !Direct(left, top, right, bottom))
        return false;
    static std::string key; // made anew for every polygon, without allocating
    key.resize(4 * points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::int16_t d[2] = {std::int16_t(points[i].X - first.X), std::int16_t(points[i].Y - first.Y)};
        std::memcpy(&key[4 * i], d, 4);
    }
    auto& shapes = Shapes();
    auto it = shapes.find(key);
    if (it == shapes.end()) {
        if (gShapeRuns >= KShapeRuns || shapes.size() >= 200000) ForgetShapes(false);
        shapes.emplace(key, TShape());
        return false;
    }
    TShape& shape = it->second;
    if (!shape.Taken) {
        QPolygon relative;
        relative.reserve(int(points.size()));
        for (const TPixel& p : points)
            relative << QPoint(p.X - first.X, p.Y - first.Y);
        shape.Runs =
            ShapeRuns(QRect(QPoint(left - first.X, top - first.Y), QPoint(right - first.X, bottom - first.Y)),
                      [&](QPainter& p) { p.drawPolygon(relative); });
        shape.Taken = true;
        gShapeRuns += shape.Runs.size();
    }
    SetPixels(first, shape.Runs);
    return true;
}

void TQtCanvasPainter::Polygon(const std::vector<TPixel>& points) {
    if (points.size() < 2) return;
    if (KnownShape(points)) return;
    FillBrush();
    LinePen();
    mPainter.drawPolygon(ToPolygon(points));
}

void TQtCanvasPainter::Ellipse(const TPixelRect& box) {
    FillBrush();
    LinePen();
    mPainter.drawEllipse(StrokeRect(box));
}

void TQtCanvasPainter::Rectangle(const TPixelRect& box) {
    FillBrush();
    LinePen();
    mPainter.drawRect(StrokeRect(box));
}

// Counter-clockwise on the screen from the ray through the start to the ray through the end.
void TQtCanvasPainter::Arc(const TPixelRect& box, TPixel start, TPixel end) {
    const qreal a0 = ScreenAngle(box, start);
    qreal span = ScreenAngle(box, end) - a0;
    while (span <= 0)
        span += 360;
    LinePen();
    mPainter.drawArc(StrokeRect(box), qRound(a0 * 16), qRound(span * 16));
}

// Laid-out texts, kept across repaints per face and size: the labels of a picture repeat from one
// repaint to the next, and laying a text out costs far more than drawing it. The caches are
// bounded and never destroyed (their texts may outlive the application's font engines at exit).
TQtCanvasPainter::TTextCache& TQtCanvasPainter::CacheFor(const std::string& name, int height) {
    static auto* caches = new std::unordered_map<std::string, TTextCache>();
    return (*caches)[name + '\0' + std::to_string(height)];
}

QStaticText& TQtCanvasPainter::LaidOut(const std::string& utf8Text) {
    TTextCache& cache = *mTextCache;
    auto it = cache.find(utf8Text);
    if (it != cache.end()) return it->second;
    if (cache.size() >= 20000) cache.clear();
    QStaticText text(QString::fromUtf8(utf8Text.data(), static_cast<qsizetype>(utf8Text.size())));
    text.setTextFormat(Qt::PlainText);
    text.prepare(QTransform(), mPainter.font());
    return cache.emplace(utf8Text, std::move(text)).first->second;
}

// The text hangs from its top-left corner.
void TQtCanvasPainter::TextOut(int x, int y, const std::string& utf8Text) {
    if (utf8Text.empty()) return;
    QStaticText& text = LaidOut(utf8Text);
    if (TextOpaque())
        mPainter.fillRect(QRectF(QPointF(x, y), text.size()).toAlignedRect(), ToQColor(TextBackground()));
    // Text is drawn with the font's colour; the line pen comes back before the next line. A solid
    // line pen of that colour already draws the text alike (text takes only the pen's colour).
    const bool linePenFits = mPenApplied && !mTextPen && mAppliedPen.Color == Font().Color &&
                             mAppliedPen.Style == TPenStyle::Solid;
    if (!linePenFits && (!mTextPen || mTextColor != Font().Color)) {
        mPainter.setPen(ToQColor(Font().Color));
        mTextPen = true;
        mTextColor = Font().Color;
    }
    mPainter.drawStaticText(QPointF(x, y), text);
}

// Paints the area around the seed that is bounded by pixels of the border colour (the image
// edge bounds it too). A hatch brush sets only the pixels of its lines, which rise to the right
// every 8 pixels; the rest of the area keeps its colour.
void TQtCanvasPainter::FloodFill(int x, int y, TColor border) {
    if (!mImage || x < 0 || y < 0 || x >= mWidth || y >= mHeight || Brush().Style == TBrushStyle::Clear)
        return;
    mPainter.end();
    const QRgb borderRgb = ToQColor(border).rgb() & 0xFFFFFF;
    const QRgb fill = ToQColor(Brush().Color).rgb();
    const bool hatch = Brush().Style == TBrushStyle::BDiagonal;
    auto isBorder = [&](int px, int py) { return (mImage->pixel(px, py) & 0xFFFFFF) == borderRgb; };
    if (!isBorder(x, y)) {
        std::vector<bool> visited(static_cast<std::size_t>(mWidth) * static_cast<std::size_t>(mHeight),
                                  false);
        std::vector<QPoint> stack{QPoint(x, y)};
        while (!stack.empty()) {
            const QPoint p = stack.back();
            stack.pop_back();
            const int px = p.x(), py = p.y();
            const std::size_t i = static_cast<std::size_t>(py) * static_cast<std::size_t>(mWidth) +
                                  static_cast<std::size_t>(px);
            if (visited[i] || isBorder(px, py)) continue;
            visited[i] = true;
            if (!hatch || (px + py) % 8 == 0) mImage->setPixel(px, py, fill);
            if (px > 0) stack.emplace_back(px - 1, py);
            if (px + 1 < mWidth) stack.emplace_back(px + 1, py);
            if (py > 0) stack.emplace_back(px, py - 1);
            if (py + 1 < mHeight) stack.emplace_back(px, py + 1);
        }
    }
    PaintBegin();
    mFontValid = false;
    mPenApplied = false;
    mBrushApplied = false;
    PenChanged();
    BrushChanged();
    FontChanged();
}

void TQtCanvasPainter::FillRect(const TPixelRect& box, TColor color) {
    mPainter.fillRect(QRect(box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top), ToQColor(color));
}

void TQtCanvasPainter::SaveArea(const TPixelRect& area) {
    if (!mImage) return;
    mSavedArea = area;
    mSaved = mImage->copy(QRect(area.Left, area.Top, area.Right - area.Left + 1, area.Bottom - area.Top + 1));
    mHasSaved = true;
}

void TQtCanvasPainter::RestoreArea() {
    if (!mImage || !mHasSaved) return;
    const auto mode = mPainter.compositionMode();
    mPainter.setCompositionMode(QPainter::CompositionMode_Source);
    mPainter.drawImage(QPoint(mSavedArea.Left, mSavedArea.Top), mSaved);
    mPainter.setCompositionMode(mode);
    mHasSaved = false;
}
