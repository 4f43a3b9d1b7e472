#include "ui/CanvasExport.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QMimeData>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QSvgGenerator>

#include "base/Errors.h"
#include "canvas/WmfPainter.h"
#include "model/AtomicFile.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/PrintFallback.h"
#include "ui/QtCanvasPainter.h"

namespace {
const char* const KSaveError = "Při ukládání se vyskytla chyba. Soubor nebyl uložen.";

bool SaveMetafile(TMKPSpace& space, const QString& fileName) {
    if (fileName.isEmpty()) return false;
    try {
        WriteFileAtomically(QFile::encodeName(fileName).toStdString(), CanvasWmf(space).toStdString());
    } catch (const TFileIoError&) {
        Dialogs().Inform(KSaveError);
        return false;
    }
    return true;
}

bool PrintPicture(TMKPSpace& space, QWidget* parent) {
    const TPrintOutcome outcome =
        PrintOrSavePdf(parent, QString::fromUtf8("KORVAN - plátno"),
                       [&space](QPagedPaintDevice& page) { return PaintCanvasOnPage(space, page); });
    return outcome == TPrintOutcome::Printed || outcome == TPrintOutcome::SavedPdf;
}

bool CopyPicture(TMKPSpace& space) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    clipboard->setMimeData(CanvasMimeData(space));
    return true;
}
} // namespace

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

QByteArray CanvasWmf(TMKPSpace& space) {
    const std::vector<std::uint8_t> bytes = WmfPicture(space);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

QMimeData* CanvasMimeData(TMKPSpace& space) {
    auto* data = new QMimeData;
    data->setImageData(CanvasImage(space));
    data->setData(KSvgMimeType, CanvasSvg(space));
    // The placeable metafile under its MIME type: on X11 and Wayland a clipboard target that
    // drawing programs ask for; on Windows Qt offers it as a clipboard format of that name.
    data->setData(KWmfMimeType, CanvasWmf(space));
    return data;
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

bool SaveWMF(TMKPSpace& space, const QString& fileName, TCanvasExportMode mode, QWidget* parent) {
    switch (mode) {
    case TCanvasExportMode::Metafile:
        return SaveMetafile(space, fileName);
    case TCanvasExportMode::Print:
        return PrintPicture(space, parent);
    case TCanvasExportMode::Clipboard:
        return CopyPicture(space);
    }
    return false;
}

QFileDialog* NewWmfSaveDialog(QWidget* parent) {
    auto* dialog = new QFileDialog(parent, QString::fromUtf8("Uložit plátno jako WMF"));
    dialog->setObjectName("SaveDialog2");
    dialog->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // The pattern in both cases: file systems that tell case apart would hide "x.wmf" otherwise.
    dialog->setNameFilter(QString::fromUtf8("obrázky WMF (*.WMF *.wmf)"));
    dialog->setDefaultSuffix("wmf");
    return dialog;
}
