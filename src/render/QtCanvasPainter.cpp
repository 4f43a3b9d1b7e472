#include "render/QtCanvasPainter.h"

#include <QFont>
#include <QPolygon>
#include <QStaticText>

#include <cmath>
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
    mPainter.begin(&image);
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

TQtCanvasPainter::~TQtCanvasPainter() {
    if (mPainter.isActive()) mPainter.end();
}

// Flat caps: a one-pixel line leaves its end pixel unset, as on the raster canvas. The drawing sets
// the same pen over and over; the paint engine is told only of a different one.
void TQtCanvasPainter::PenChanged() {
    if (mPenApplied && !mTextPen && Pen() == mAppliedPen) return;
    ApplyPen();
}

// The few pens of a drawing are made once each.
void TQtCanvasPainter::ApplyPen() {
    mAppliedPen = Pen();
    mPenApplied = true;
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
    if (from == to) return;
    LinePen();
    mPainter.drawLine(from.X, from.Y, to.X, to.Y);
}

void TQtCanvasPainter::Polyline(const std::vector<TPixel>& points) {
    if (points.size() < 2) return;
    LinePen();
    mPainter.drawPolyline(ToPolygon(points));
}

void TQtCanvasPainter::Polygon(const std::vector<TPixel>& points) {
    if (points.size() < 2) return;
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
    const bool linePenFits =
        !mTextPen && mAppliedPen.Color == Font().Color && mAppliedPen.Style == TPenStyle::Solid;
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
    mPainter.begin(mImage);
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
