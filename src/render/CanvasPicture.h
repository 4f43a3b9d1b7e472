#pragma once
// The canvas picture as an image, SVG or PDF document, or painted on a page: the repaint of the
// current view (the same drawing the canvas shows) onto a Qt paint device. Qt Gui only, so that
// both the desktop program and the calculator's picture helper draw their pictures here.
#include <QByteArray>
#include <QImage>

class QPagedPaintDevice;
class TMKPSpace;

// The current view as a raster image (at least 1 x 1 pixel), white under the drawing.
QImage CanvasImage(TMKPSpace& space);
// The current view as SVG at 96 dpi titled "KORVAN"; empty when the generator cannot paint.
QByteArray CanvasSvg(TMKPSpace& space);
// The current view as a one-page PDF of the canvas's size at 96 dpi titled "KORVAN"; empty when
// the writer cannot paint.
QByteArray CanvasPdf(TMKPSpace& space);
// The picture scaled to fill the printable area of the page (aspect kept, centred); landscape when
// the canvas is wider than tall. False when the device cannot be painted on.
bool PaintCanvasOnPage(TMKPSpace& space, QPagedPaintDevice& device);
