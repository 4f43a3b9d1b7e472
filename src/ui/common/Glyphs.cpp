#include "ui/common/Glyphs.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <array>

namespace {
const QColor KInk(20, 20, 20);
const QColor KRed(200, 0, 0);
const QColor KBlue(0, 60, 200);
const QColor KGreen(0, 140, 0);

// A small portal frame, used by several glyphs.
void Frame(QPainter& p, const QColor& c) {
    p.setPen(QPen(c, 1.5));
    p.drawPolyline(QPolygonF({{3, 14}, {3, 4}, {13, 4}, {13, 14}}));
}

void Magnifier(QPainter& p, const QString& sign) {
    p.setPen(QPen(KInk, 1.5));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
    p.setPen(QPen(KInk, 1.2));
    if (sign.contains('+') || sign.contains('-')) p.drawLine(QPointF(4, 6), QPointF(8, 6));
    if (sign.contains('+')) p.drawLine(QPointF(6, 4), QPointF(6, 8));
    if (sign.contains('w')) {
        p.setPen(QPen(KBlue, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3.5, 3.5, 5, 5));
    }
}

void ScaleGlyph(QPainter& p, const QColor& c, int kind) {
    p.setPen(QPen(KInk, 1));
    p.drawLine(2, 14, 14, 14);
    p.setPen(QPen(c, 1.5));
    if (kind == 0) {
        p.drawLine(8, 2, 8, 12);
        p.drawLine(8, 12, 5, 8);
        p.drawLine(8, 12, 11, 8);
    } else if (kind == 1) {
        p.drawRect(QRectF(2.5, 6.5, 11, 6));
        for (int x = 4; x < 14; x += 3)
            p.drawLine(x, 7, x, 12);
    } else {
        p.drawPolyline(QPolygonF({{2, 14}, {5, 6}, {11, 6}, {14, 14}}));
    }
    p.setPen(QPen(KInk, 1));
    p.drawLine(1, 1, 1, 6);
    p.drawLine(1, 1, 0, 3);
    p.drawLine(1, 1, 2, 3);
}
} // namespace

QIcon ToolGlyph(const QString& name) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (name == "NewBtn") {
        p.setPen(KInk);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygon({{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}}));
        p.drawLine(10, 1, 10, 4);
        p.drawLine(10, 4, 13, 4);
    } else if (name == "ToolButton1") {
        p.setPen(KInk);
        p.setBrush(QColor(240, 200, 80));
        p.drawPolygon(QPolygon({{1, 4}, {6, 4}, {7, 6}, {14, 6}, {14, 14}, {1, 14}}));
    } else if (name == "tbSave") {
        p.setPen(KInk);
        p.setBrush(QColor(60, 90, 170));
        p.drawRect(1, 1, 14, 14);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 8, 5);
        p.drawRect(3, 9, 10, 6);
    } else if (name == "ToolButton2") {
        p.setPen(QPen(KInk, 2));
        p.drawLine(3, 3, 13, 3);
        p.drawLine(3, 13, 13, 13);
        p.drawLine(8, 3, 8, 13);
    } else if (name == "ToolButton5") {
        p.setPen(KInk);
        p.setBrush(QColor(150, 150, 160));
        p.drawRect(2, 5, 12, 8);
        p.setBrush(QColor(190, 190, 200));
        p.drawPolygon(QPolygon({{2, 5}, {5, 2}, {15, 2}, {14, 5}}));
    } else if (name == "DelBtn") {
        Frame(p, QColor(120, 120, 120));
        p.setPen(QPen(KRed, 2));
        p.drawLine(4, 2, 12, 10);
        p.drawLine(12, 2, 4, 10);
    } else if (name == "AddUzelBtn") {
        p.setPen(KInk);
        p.setBrush(KInk);
        p.drawEllipse(QPointF(6, 10), 3, 3);
        p.setPen(QPen(KGreen, 2));
        p.drawLine(12, 1, 12, 7);
        p.drawLine(9, 4, 15, 4);
    } else if (name == "ToolButton3") {
        p.setPen(QPen(KInk, 1.5));
        p.drawLine(3, 12, 13, 4);
        p.setPen(KRed);
        p.setBrush(KRed);
        p.drawEllipse(QPointF(3, 12), 2.5, 2.5);
        p.drawEllipse(QPointF(13, 4), 2.5, 2.5);
    } else if (name == "tbAddPrutFH") {
        p.setPen(QPen(KInk, 2));
        p.drawPolyline(QPolygon({{2, 14}, {2, 5}, {12, 5}}));
        p.setPen(QPen(KBlue, 1.5));
        p.drawLine(10, 8, 15, 13);
    } else if (name == "tbeMoveNode") {
        p.setPen(QPen(KInk, 1.5));
        p.drawLine(8, 1, 8, 15);
        p.drawLine(1, 8, 15, 8);
        p.setBrush(KInk);
        p.drawEllipse(QPointF(8, 8), 2.5, 2.5);
    } else if (name == "ZoomInBtn") {
        Magnifier(p, "+");
    } else if (name == "ZoomOutBtn") {
        Magnifier(p, "-");
    } else if (name == "ShowAllBtn") {
        p.setPen(QPen(KInk, 1));
        p.drawRect(1, 1, 14, 14);
        Frame(p, KBlue);
    } else if (name == "tbZoomInW") {
        Magnifier(p, "w+");
    } else if (name == "tbZoomOutW") {
        Magnifier(p, "w-");
    } else if (name == "tbZoomDynBtn") {
        Magnifier(p, "");
        p.setPen(QPen(KBlue, 1.2));
        p.drawLine(14, 1, 14, 6);
        p.drawLine(12, 3, 14, 1);
        p.drawLine(16, 3, 14, 1);
    } else if (name == "tbScaleSL") {
        ScaleGlyph(p, KBlue, 0);
    } else if (name == "tbScaleCL") {
        ScaleGlyph(p, KGreen, 1);
    } else if (name == "tbScaleIF") {
        ScaleGlyph(p, KGreen, 2);
    } else if (name == "tbCenterToBtn") {
        p.setPen(QPen(KInk, 1));
        p.drawRect(1, 1, 14, 14);
        p.setPen(QPen(KRed, 1.5));
        p.drawLine(8, 4, 8, 12);
        p.drawLine(4, 8, 12, 8);
    } else if (name == "tbSTCSC" || name == "tbSHCSC") {
        p.setPen(QPen(KRed, 2));
        p.drawLine(3, 13, 14, 13);
        p.drawLine(3, 13, 3, 2);
        if (name == "tbSTCSC") {
            p.setPen(QPen(KInk, 1));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(3, 13), 3, 3);
        }
    } else if (name == "SnapBtn") {
        p.setPen(KInk);
        for (int x = 2; x <= 14; x += 4)
            for (int y = 2; y <= 14; y += 4)
                p.drawPoint(x, y);
        p.setPen(QPen(KRed, 1.5));
        p.drawEllipse(QPointF(10, 6), 2.5, 2.5);
    } else if (name == "GridBtn") {
        p.setPen(QPen(QColor(140, 140, 140), 1));
        for (int v = 2; v <= 14; v += 4) {
            p.drawLine(v, 1, v, 15);
            p.drawLine(1, v, 15, v);
        }
    } else if (name == "NumBtn") {
        QFont f("Liberation Sans");
        f.setPixelSize(10);
        f.setBold(true);
        p.setFont(f);
        p.setPen(KInk);
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "12");
    } else if (name == "tbShowLoad") {
        p.setPen(QPen(KInk, 1.5));
        p.drawLine(1, 14, 15, 14);
        p.setPen(QPen(KGreen, 1));
        p.drawRect(1, 6, 14, 6);
        for (int x = 3; x < 15; x += 3)
            p.drawLine(x, 6, x, 12);
    } else if (name == "tbShowLoadU") {
        p.setPen(KInk);
        p.setBrush(KInk);
        p.drawEllipse(QPointF(8, 13), 2, 2);
        p.setPen(QPen(KBlue, 1.5));
        p.drawLine(8, 1, 8, 10);
        p.drawLine(8, 10, 5, 6);
        p.drawLine(8, 10, 11, 6);
    } else if (name == "tbShowR") {
        p.setPen(QPen(KInk, 1));
        p.drawPolygon(QPolygon({{8, 4}, {3, 10}, {13, 10}}));
        p.setPen(QPen(KRed, 1.5));
        p.drawLine(8, 15, 8, 11);
        p.drawLine(8, 11, 6, 13);
        p.drawLine(8, 11, 10, 13);
    } else if (name == "sbCompute") {
        p.setPen(QPen(KInk, 2));
        p.drawLine(3, 6, 13, 6);
        p.drawLine(3, 10, 13, 10);
    } else if (name == "tbZpet" || name == "tbZnovu") {
        // A curved arrow turning back (undo) or forward (redo).
        const bool back = name == "tbZpet";
        p.setPen(QPen(KBlue, 1.8));
        p.setBrush(Qt::NoBrush);
        QPainterPath path;
        path.moveTo(back ? 13 : 3, 13);
        path.cubicTo(back ? 14 : 2, 5, back ? 8 : 8, 4, back ? 4 : 12, 6);
        p.drawPath(path);
        p.setBrush(KBlue);
        p.drawPolygon(back ? QPolygonF({{1.5, 7}, {6, 2.5}, {6.5, 8.5}}) : QPolygonF({{14.5, 7}, {10, 2.5}, {9.5, 8.5}}));
    } else if (name == "tbFit") {
        // A moment diagram inside a frame of corner marks.
        p.setPen(QPen(KInk, 1));
        for (auto [x, y, dx, dy] : std::array<std::array<int, 4>, 4>{{{1, 1, 1, 1}, {15, 1, -1, 1}, {1, 15, 1, -1}, {15, 15, -1, -1}}}) {
            p.drawLine(x, y, x + 4 * dx, y);
            p.drawLine(x, y, x, y + 4 * dy);
        }
        p.drawLine(4, 6, 12, 6);
        p.setPen(QPen(KGreen, 1.5));
        p.drawPolyline(QPolygonF({{4, 6}, {6, 11}, {8, 12.5}, {10, 11}, {12, 6}}));
    } else {
        p.setPen(KInk);
        p.drawRect(2, 2, 12, 12);
    }
    return QIcon(pm);
}

QCursor ProgramCursor(int number) {
    if (number < KCursorKrizek || number > KCursorMove) return QCursor(Qt::ArrowCursor);
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    // Every cursor is drawn twice: a white halo, then the black figure, so it shows on any colour.
    auto both = [&](auto&& figure) {
        p.setPen(QPen(Qt::white, 3));
        figure();
        p.setPen(QPen(Qt::black, 1));
        figure();
    };
    auto cross = [&] {
        p.drawLine(15, 4, 15, 26);
        p.drawLine(4, 15, 26, 15);
    };
    int hotX = 15;
    int hotY = 15;
    switch (number) {
    case KCursorKrizek:
        both(cross);
        break;
    case KCursorPrut:
        both([&] {
            p.drawLine(1, 1, 1, 12);
            p.drawLine(1, 1, 9, 9);
            p.drawLine(14, 22, 30, 22);
        });
        hotX = hotY = 1;
        break;
    case KCursorUzel:
        both([&] {
            p.drawLine(1, 1, 1, 12);
            p.drawLine(1, 1, 9, 9);
            p.drawEllipse(16, 16, 8, 8);
        });
        hotX = hotY = 1;
        break;
    case KCursorLupa:
        both([&] {
            p.drawEllipse(2, 2, 16, 16);
            p.drawLine(16, 16, 28, 28);
        });
        hotX = hotY = 10;
        break;
    case KCursorZsl:
    case KCursorZcl:
    case KCursorZif:
        both([&] {
            cross();
            p.drawLine(24, 2, 24, 12);
            p.drawLine(24, 2, 21, 5);
            p.drawLine(24, 2, 27, 5);
            if (number == KCursorZsl) p.drawText(18, 30, "F");
            if (number == KCursorZcl) p.drawText(18, 30, "q");
            if (number == KCursorZif) p.drawText(18, 30, "M");
        });
        break;
    case KCursorRuka:
        both([&] {
            p.drawRoundedRect(8, 12, 16, 14, 4, 4);
            for (int x = 9; x <= 21; x += 4)
                p.drawLine(x, 12, x, 5);
        });
        break;
    case KCursorMove:
        both([&] {
            cross();
            p.drawLine(15, 4, 12, 7);
            p.drawLine(15, 4, 18, 7);
            p.drawLine(15, 26, 12, 23);
            p.drawLine(15, 26, 18, 23);
            p.drawLine(4, 15, 7, 12);
            p.drawLine(4, 15, 7, 18);
            p.drawLine(26, 15, 23, 12);
            p.drawLine(26, 15, 23, 18);
        });
        break;
    default:
        break;
    }
    p.end();
    return QCursor(pm, hotX, hotY);
}

namespace {
// The font at its pixel size, or smaller until the text fits the width.
QFont Fitting(QFont font, const QString& text, int width) {
    while (font.pixelSize() > 6 && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}
} // namespace

QList<TSplashText> SplashTexts(int width, int height) {
    // Right of the frame drawing, which takes the left 62 pixels.
    const int left = 66;
    const int room = width - left - 4;
    QFont big("Liberation Sans");
    big.setPixelSize(22);
    big.setBold(true);
    QFont small("Liberation Sans");
    small.setPixelSize(11);
    QList<TSplashText> texts;
    const QString lines[3] = {"KORVAN", "B 2D 2003", QString::fromUtf8("Rámové konstrukce")};
    const QFont fonts[3] = {big, small, small};
    const int tops[3] = {8, height / 2 - 2, height / 2 + 14};
    for (int i = 0; i < 3; ++i) {
        const QFont f = Fitting(fonts[i], lines[i], room);
        texts.append({lines[i], f, QRect(left, tops[i], room, QFontMetrics(f).height())});
    }
    return texts;
}

QPixmap SplashPicture(int width, int height) {
    QPixmap pm(width, height);
    pm.fill(QColor(236, 233, 216));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 60, 160), 2));
    const int x0 = 10;
    const int y0 = height - 14;
    p.drawPolyline(QPolygon({{x0, y0}, {x0, 22}, {x0 + 24, 14}, {x0 + 48, 22}, {x0 + 48, y0}}));
    p.setPen(QPen(QColor(0, 140, 0), 1));
    p.drawPolyline(QPolygon({{x0, 22}, {x0 + 8, 34}, {x0 + 24, 24}, {x0 + 40, 34}, {x0 + 48, 22}}));
    p.setPen(QPen(Qt::black, 1));
    for (int x : {x0, x0 + 48})
        p.drawPolygon(QPolygon({{x, y0}, {x - 5, y0 + 8}, {x + 5, y0 + 8}}));
    p.setPen(QColor(20, 20, 90));
    for (const TSplashText& t : SplashTexts(width, height)) {
        p.setFont(t.Font);
        p.drawText(t.Box, Qt::AlignLeft | Qt::AlignTop, t.Text);
    }
    return pm;
}
