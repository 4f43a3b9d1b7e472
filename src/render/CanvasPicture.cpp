#include "render/CanvasPicture.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>

#include "model/MKPSpace.h"
#include "render/QtCanvasPainter.h"

QImage CanvasImage(TMKPSpace& space) {
    QImage image(std::max(1, space.Width), std::max(1, space.Height), QImage::Format_RGB32);
    image.fill(Qt::white);
    TQtCanvasPainter painter(image);
    space.Prekresli(painter);
    return image;
}

QByteArray CanvasSvg(TMKPSpace& space) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(QSize(space.Width, space.Height));
        svg.setViewBox(QRect(0, 0, space.Width, space.Height));
        svg.setResolution(96);
        svg.setTitle("KORVAN");
        TQtCanvasPainter painter(svg, space.Width, space.Height);
        if (painter.Painter().isActive()) space.Prekresli(painter);
    }
    return buffer.data();
}

QByteArray CanvasPdf(TMKPSpace& space) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) return {};
    bool ok = false;
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(96);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(
            QPageSize(QSizeF(space.Width * 72.0 / 96.0, space.Height * 72.0 / 96.0), QPageSize::Point));
        pdf.setTitle("KORVAN");
        TQtCanvasPainter painter(pdf, space.Width, space.Height);
        ok = painter.Painter().isActive();
        if (ok) space.Prekresli(painter);
    }
    buffer.close();
    return ok ? bytes : QByteArray();
}

bool PaintCanvasOnPage(TMKPSpace& space, QPagedPaintDevice& device) {
    const int w = std::max(1, space.Width), h = std::max(1, space.Height);
    device.setPageOrientation(w > h ? QPageLayout::Landscape : QPageLayout::Portrait);
    TQtCanvasPainter painter(device, w, h);
    QPainter& p = painter.Painter();
    if (!p.isActive()) return false;
    const qreal pageW = device.width(), pageH = device.height();
    const qreal scale = std::min(pageW / w, pageH / h);
    p.translate((pageW - w * scale) / 2, (pageH - h * scale) / 2);
    p.scale(scale, scale);
    p.setClipRect(QRect(0, 0, w, h));
    space.Prekresli(painter);
    return p.end();
}
