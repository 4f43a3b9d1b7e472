#pragma once
// The canvas painter over QPainter. On a QImage it is the raster canvas of the program (the
// off-screen bitmap of a repaint and the widget's kept visible canvas): flood fill and the
// rubber band's save-under work on the image's pixels. On any other paint device (QSvgGenerator,
// QPdfWriter, QPrinter) it draws the same vectors; flood fill and save-under do nothing there.
// Fonts are pixel-sized and "MS Sans Serif" is drawn as Liberation Sans, which has its metrics.
#include <QImage>
#include <QPainter>
#include <QStaticText>

#include <string>
#include <utility>
#include <vector>
#include <unordered_map>

#include "canvas/CanvasPainter.h"

class TQtCanvasPainter : public TCanvasPainter {
public:
    // Paints on the image (which must stay alive and unpainted by others meanwhile).
    explicit TQtCanvasPainter(QImage& image);
    // Paints on a vector device whose drawing area is width × height canvas pixels (the caller
    // sets any scaling of the device before, e.g. a window/viewport on a page).
    TQtCanvasPainter(QPaintDevice& device, int width, int height);
    ~TQtCanvasPainter() override;

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

    QPainter& Painter() { return mPainter; }
    // A run of pixels along a row, from an origin.
    struct TRun {
        short Dy, Dx, Length;
    };
    // Maps "MS Sans Serif" to Liberation Sans for the whole application (once, after the
    // application object exists; the constructors call it).
    static void InstallFontSubstitutes();
    // Lines and polygons drawn once have their pixels kept by their shape for the next time
    // (QtCanvasPainter.cpp); this forgets the polygons, and the lines too when asked.
    static void ForgetShapes(bool lines);

protected:
    void DrawLine(TPixel from, TPixel to) override;
    void PenChanged() override;
    void ApplyPen();
    void LinePen() {
        if (mTextPen || mPenDirty) ApplyPen();
    }
    void BrushChanged() override;
    void FontChanged() override;

private:
    using TTextCache = std::unordered_map<std::string, QStaticText>;
    static TTextCache& CacheFor(const std::string& name, int height);
    QStaticText& LaidOut(const std::string& utf8Text);
    bool Direct(int left, int top, int right, int bottom, int width = 1);
    void SetPixels(TPixel origin, const std::vector<TRun>& runs);
    bool KnownLine(TPixel from, TPixel to);
    bool KnownShape(const std::vector<TPixel>& points);
    void PaintBegin();
    QImage* mImage = nullptr;
    // The image's pixels when they can be set directly (32-bit RGB), else null.
    uchar* mBits = nullptr;
    qsizetype mBytesPerLine = 0;
    QPainter mPainter;
    int mWidth;
    int mHeight;
    QImage mSaved;
    TPixelRect mSavedArea;
    bool mHasSaved = false;
    // The pen the paint engine has: the line pen mAppliedPen, or the text colour after a text.
    TPen mAppliedPen;
    bool mPenApplied = false;
    bool mPenDirty = false; // the pen set differs from mAppliedPen (an image is told when it draws)
    bool mTextPen = false;
    void ApplyBrush();
    void FillBrush();
    TBrush mAppliedBrush;
    bool mBrushApplied = false;
    bool mBrushDirty = false;
    std::vector<std::pair<TPen, QPen>> mPens;
    TColor mTextColor = KBlack;
    std::string mFontName;
    int mFontHeight = 0;
    bool mFontValid = false;
    TTextCache* mTextCache = nullptr;
};
