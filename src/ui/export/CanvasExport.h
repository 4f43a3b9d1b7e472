#pragma once
// The canvas picture handed on: saved as a Windows metafile, printed, or copied to the clipboard.
// Each is the repaint of the current view (the same drawing the canvas shows) onto another
// painter: a metafile painter, a printer page, an image and SVG.
#include <QByteArray>
#include <QString>
#include <cstdint>

#include "render/CanvasPicture.h"

class QFileDialog;
class QMimeData;
class QWidget;
class TMKPSpace;

enum class TCanvasExportMode : std::uint8_t { Print = 0, Metafile = 1, Clipboard = 2 };

// The clipboard formats besides the image: the placeable metafile and SVG.
inline constexpr const char* KWmfMimeType = "image/x-wmf";
inline constexpr const char* KSvgMimeType = "image/svg+xml";

// The one entry for the three commands: with mode Metafile writes fileName (atomically; a write
// error is reported and leaves any earlier file as it was); Print sends the picture to the printer
// (or, with no printer, offers a PDF); Clipboard puts the picture on the clipboard. fileName
// names no output in the other two modes. Returns false when nothing was written or printed.
bool SaveWMF(TMKPSpace& space, const QString& fileName, TCanvasExportMode mode, QWidget* parent = nullptr);

// The pieces, for the commands and the tests (the image, SVG and page painting are those of
// render/CanvasPicture.h).
QByteArray CanvasWmf(TMKPSpace& space);
// Image, SVG and metafile of the current view (the caller owns the result).
QMimeData* CanvasMimeData(TMKPSpace& space);

// The save dialog of the metafile command: filter "obrázky WMF", default extension "wmf".
QFileDialog* NewWmfSaveDialog(QWidget* parent);
