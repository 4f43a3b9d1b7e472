// The Qt painter on an image: the raster conventions the drawing relies on, checked on pixels.
#ifdef KORVAN_WITH_QT
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include <clocale>
#include <random>

#include "CanvasFixture.h"
#include "render/QtCanvasPainter.h"

namespace {
void EnsureApp() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "core_tests";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
}

QImage White(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

bool IsColour(const QImage& image, int x, int y, TColor c) {
    const QRgb p = image.pixel(x, y);
    return static_cast<unsigned>(qRed(p)) == RedOf(c) && static_cast<unsigned>(qGreen(p)) == GreenOf(c) &&
           static_cast<unsigned>(qBlue(p)) == BlueOf(c);
}
} // namespace

TEST(QtPainter, LinesLeaveTheirEndPixel) {
    EnsureApp();
    QImage image = White(40, 20);
    {
        TQtCanvasPainter p(image);
        p.SetPen({KBlack, 1, TPenStyle::Solid});
        p.Line({5, 5}, {15, 5});
        p.Line({5, 10}, {5, 15});
    }
    for (int x = 5; x < 15; ++x)
        EXPECT_TRUE(IsColour(image, x, 5, KBlack)) << x;
    EXPECT_TRUE(IsColour(image, 15, 5, KWhite));
    EXPECT_TRUE(IsColour(image, 4, 5, KWhite));
    EXPECT_TRUE(IsColour(image, 5, 14, KBlack));
    EXPECT_TRUE(IsColour(image, 5, 15, KWhite));
}

TEST(QtPainter, EllipseAndRectangleBoxesExcludeRightAndBottom) {
    EnsureApp();
    QImage image = White(60, 30);
    {
        TQtCanvasPainter p(image);
        p.SetPen({KBlack, 1, TPenStyle::Solid});
        p.SetBrush({KRed, TBrushStyle::Solid});
        p.Ellipse({10, 10, 17, 17}); // a node dot: 7 × 7 pixels
        p.SetBrush({KWhite, TBrushStyle::Clear});
        p.Rectangle({30, 5, 40, 15});
    }
    EXPECT_TRUE(IsColour(image, 13, 13, KRed));
    EXPECT_FALSE(IsColour(image, 13, 10, KWhite)); // top edge
    EXPECT_FALSE(IsColour(image, 13, 16, KWhite)); // bottom edge, row 16 = 17 − 1
    EXPECT_TRUE(IsColour(image, 13, 17, KWhite));
    EXPECT_TRUE(IsColour(image, 17, 13, KWhite));
    EXPECT_TRUE(IsColour(image, 30, 5, KBlack));
    EXPECT_TRUE(IsColour(image, 39, 14, KBlack));
    EXPECT_TRUE(IsColour(image, 40, 14, KWhite));
    EXPECT_TRUE(IsColour(image, 39, 15, KWhite));
    EXPECT_TRUE(IsColour(image, 35, 10, KWhite)); // hollow
}

TEST(QtPainter, FloodFillHatchesInsideTheBorderOnly) {
    EnsureApp();
    QImage image = White(40, 40);
    {
        TQtCanvasPainter p(image);
        p.SetPen({KBlack, 1, TPenStyle::Solid});
        p.Polyline({{5, 5}, {30, 5}, {30, 30}, {5, 30}, {5, 5}});
        p.SetBrush({KSilver, TBrushStyle::BDiagonal});
        p.FloodFill(15, 15, KBlack);
        p.Line({0, 38}, {10, 38}); // the painter still draws after the fill
    }
    int silverInside = 0, silverOutside = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool inside = x > 5 && x < 30 && y > 5 && y < 30;
            if (IsColour(image, x, y, KSilver)) (inside ? silverInside : silverOutside)++;
        }
    EXPECT_GT(silverInside, 40);
    EXPECT_LT(silverInside, 24 * 24 / 2); // a hatch, not a solid fill
    EXPECT_EQ(silverOutside, 0);
    EXPECT_TRUE(IsColour(image, 5, 5, KBlack)); // the border is kept
    EXPECT_TRUE(IsColour(image, 3, 38, KBlack));
}

TEST(QtPainter, SaveAreaPutsThePixelsBack) {
    EnsureApp();
    QImage image = White(50, 50);
    {
        TQtCanvasPainter p(image);
        p.SetPen({KBlue, 1, TPenStyle::Solid});
        p.Line({0, 20}, {50, 20});
        p.SaveArea({10, 10, 30, 30});
        p.SetPen({KBlack, 1, TPenStyle::Dot});
        p.SetBrush({KWhite, TBrushStyle::Clear});
        p.Rectangle({10, 10, 30, 30});
        p.FillRect({12, 12, 28, 28}, KRed);
        p.RestoreArea();
    }
    EXPECT_TRUE(IsColour(image, 10, 10, KWhite));
    EXPECT_TRUE(IsColour(image, 20, 25, KWhite));
    EXPECT_TRUE(IsColour(image, 20, 20, KBlue));
    EXPECT_TRUE(IsColour(image, 29, 20, KBlue));
}

TEST(QtPainter, TextAndArcLeaveInk) {
    EnsureApp();
    QImage image = White(80, 40);
    {
        TQtCanvasPainter p(image);
        p.SetTextBackground(true, KWhite);
        p.SetFontColor(KRed);
        p.TextOut(5, 5, "Čísla 12");
        p.SetPen({KPurple, 1, TPenStyle::Solid});
        p.Arc({40, 5, 80, 45}, {80, 25}, {40, 25}); // upper half circle only
    }
    int red = 0, purpleTop = 0, purpleBottom = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x) {
            red += IsColour(image, x, y, KRed);
            if (IsColour(image, x, y, KPurple)) (y <= 25 ? purpleTop : purpleBottom)++;
        }
    EXPECT_GT(red, 10);
    for (int x = 0; x < 80; ++x)
        EXPECT_FALSE(IsColour(image, x, 2, KRed)); // text hangs from its top
    EXPECT_GT(purpleTop, 30);
    EXPECT_EQ(purpleBottom, 0);
}

// Texts take the font's colour; the lines after them keep the pen's, also when the same pen is
// set again between them, and a second text of another colour takes its own.
TEST(QtPainter, TextColourNeverLeaksIntoTheLines) {
    EnsureApp();
    QImage image = White(120, 60);
    {
        TQtCanvasPainter p(image);
        p.SetPen({KBlue, 1, TPenStyle::Solid});
        p.SetFontColor(KRed);
        p.TextOut(2, 2, "88");
        p.Line({2, 30}, {30, 30});
        p.TextOut(40, 2, "88");
        p.SetPen({KBlue, 1, TPenStyle::Solid});
        p.Line({2, 35}, {30, 35});
        p.TextOut(2, 40, "88");
        p.SetBrush({KWhite, TBrushStyle::Clear});
        p.Rectangle({40, 30, 60, 50});
        p.SetFontColor(KGreen);
        p.TextOut(70, 2, "88");
        p.Polyline({{70, 30}, {100, 30}, {100, 50}});
    }
    auto count = [&](TColor c, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += IsColour(image, x, y, c);
        return n;
    };
    for (int x = 2; x < 30; ++x) {
        EXPECT_TRUE(IsColour(image, x, 30, KBlue)) << x;
        EXPECT_TRUE(IsColour(image, x, 35, KBlue)) << x;
    }
    EXPECT_EQ(count(KRed, 0, 28, 120, 38), 0);
    EXPECT_GT(count(KBlue, 40, 30, 61, 51), 60); // the rectangle's outline
    EXPECT_GT(count(KBlue, 70, 30, 101, 51), 40); // the polyline
    EXPECT_GT(count(KRed, 40, 0, 70, 25), 10);
    EXPECT_GT(count(KGreen, 70, 0, 120, 25), 10);
    EXPECT_EQ(count(KRed, 70, 0, 120, 25), 0);
}

// A text drawn while a wide pen of the font's colour is set looks as one drawn with a thin pen.
TEST(QtPainter, TextUnderAWidePenOfItsColourLooksTheSame) {
    EnsureApp();
    QImage thin = White(60, 20), wide = White(60, 20);
    {
        TQtCanvasPainter p(thin);
        p.SetPen({KBlack, 1, TPenStyle::Solid});
        p.SetFontColor(KGreen);
        p.TextOut(2, 2, "-12.5");
    }
    {
        TQtCanvasPainter p(wide);
        p.SetPen({KGreen, 3, TPenStyle::Solid});
        p.SetFontColor(KGreen);
        p.TextOut(2, 2, "-12.5");
    }
    EXPECT_EQ(thin, wide);
    int green = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) green += IsColour(wide, x, y, KGreen);
    EXPECT_GT(green, 10);
}

// Random polygons, each drawn at three places (a shape seen before has its pixels set directly),
// of one colour or an outline of another, small and large, and random lines, short and long, in
// solid and dotted pens of widths 1 and 2, clear of the edges and across them, some rounds through
// a clip, a shift or antialiased: pixel for pixel what the paint engine draws for each call.
TEST(QtPainter, LinesAndPolygonsAsThePaintEngineDrawsThem) {
    EnsureApp();
    std::mt19937 random(11);
    const auto below = [&](int n) { return int(random() % unsigned(n)); };
    const auto colour = [](TColor c) { return QColor(int(RedOf(c)), int(GreenOf(c)), int(BlueOf(c))); };
    const TColor colours[] = {Rgb(214, 238, 214), KBlack, KGreen};
    for (int round = 0; round < 50; ++round) {
        QImage ours = White(400, 300), theirs = White(400, 300);
        const QImage before = ours; // a copy taken before keeps its pixels
        TQtCanvasPainter p(ours);
        QPainter q(&theirs);
        for (QPainter* painter : {&p.Painter(), &q}) {
            if (round % 10 == 7) painter->setClipRect(40, 30, 150, 100);
            if (round % 10 == 8) painter->translate(3, -2);
            if (round % 10 == 9) painter->setRenderHint(QPainter::Antialiasing);
        }
        const auto draw = [&](const std::vector<TPixel>& points, const TPen& pen, const TBrush* brush) {
            q.setPen(QPen(colour(pen.Color), pen.Width <= 1 ? 0 : pen.Width,
                          pen.Style == TPenStyle::Dot ? Qt::DotLine : Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
            p.SetPen(pen);
            QPolygon polygon;
            for (const TPixel& c : points)
                polygon << QPoint(c.X, c.Y);
            if (brush) {
                p.SetBrush(*brush);
                p.Polygon(points);
                q.setBrush(colour(brush->Color));
                q.drawPolygon(polygon);
            } else if (points[0] != points[1]) {
                p.Line(points[0], points[1]);
                q.drawLine(polygon[0], polygon[1]);
            }
        };
        for (int shape = 0; shape < 60; ++shape) {
            const int spread = 1 + below(shape % 4 == 0 ? 80 : 12), count = 2 + below(22);
            std::vector<TPixel> corners;
            for (int k = 0; k < count; ++k)
                corners.push_back({below(2 * spread + 1) - spread, below(2 * spread + 1) - spread});
            const TColor pen = colours[below(3)];
            const TBrush brush{below(5) == 0 ? colours[below(3)] : pen, TBrushStyle::Solid};
            for (int place = 0; place < 3; ++place) {
                const TPixel at{below(420) - 10, below(320) - 10};
                std::vector<TPixel> moved;
                for (const TPixel& c : corners)
                    moved.push_back({c.X + at.X, c.Y + at.Y});
                draw(moved, {pen, 1, TPenStyle::Solid}, &brush);
                const int reach = place == 0 ? 90 : 8;
                const TPixel from{below(420) - 10, below(320) - 10};
                const TPen line{shape % 3 ? KRed : KBlue, shape % 11 == 0 ? 2 : 1,
                                shape % 13 == 0 ? TPenStyle::Dot : TPenStyle::Solid};
                draw({from, {from.X + below(2 * reach + 1) - reach, from.Y + below(2 * reach + 1) - reach}},
                     line, nullptr);
            }
        }
        q.end();
        p.Painter().end();
        ASSERT_EQ(ours, theirs) << "round " << round;
        EXPECT_EQ(before, White(400, 300));
    }
}

// Lines of every extent up to 64 pixels across and down and many up to 140 (beyond those kept),
// thin and wide, at places far apart: the pixels set from the kept runs are the paint engine's.
TEST(QtPainter, LinesOfEveryExtentAsThePaintEngineDrawsThem) {
    EnsureApp();
    std::mt19937 random(5);
    QImage ours = White(1900, 1100), theirs = White(1900, 1100);
    TQtCanvasPainter p(ours);
    QPainter q(&theirs);
    for (int k = 0; k < 129 * 129 + 3000; ++k) {
        const bool every = k < 129 * 129;
        const int dx = every ? k % 129 - 64 : int(random() % 281u) - 140;
        const int dy = every ? k / 129 - 64 : int(random() % 281u) - 140;
        const TPen pen{k % 2 ? KGreen : KBlack, 1 + k / 2 % 2, TPenStyle::Solid};
        q.setPen(QPen(QColor(int(RedOf(pen.Color)), int(GreenOf(pen.Color)), int(BlueOf(pen.Color))),
                      pen.Width == 1 ? 0 : 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.SetPen(pen);
        for (int place = 0; place < 3 && (dx || dy); ++place) {
            const TPixel from{150 + int(random() % 1600u), 150 + int(random() % 800u)};
            p.Line(from, {from.X + dx, from.Y + dy});
            q.drawLine(from.X, from.Y, from.X + dx, from.Y + dy);
        }
    }
    q.end();
    p.Painter().end();
    EXPECT_EQ(ours, theirs);
}

TEST(QtPainter, RepaintOfAModelOntoAnImage) {
    EnsureApp();
    TCanvasModel m(300, 200);
    TUzel* a = m.Node(0, 0);
    m.Member(a, m.Node(2, 0), true, false);
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::gray);
    {
        TQtCanvasPainter p(image);
        m.space.Prekresli(p);
    }
    EXPECT_TRUE(IsColour(image, 0, 0, KWhite)); // the background covers the whole image
    EXPECT_TRUE(IsColour(image, 299, 199, KWhite));
    EXPECT_TRUE(IsColour(image, 100, 160, KBlack)); // the member line at y = 200 − 40
    EXPECT_TRUE(IsColour(image, 40, 160, KBlack));  // the node dot
}
#endif
