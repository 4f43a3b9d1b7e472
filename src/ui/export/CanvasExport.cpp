#include "ui/export/CanvasExport.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QMimeData>
#include <QPagedPaintDevice>

#include "canvas/WmfPainter.h"
#include "model/MKPSpace.h"
#include "render/CanvasPicture.h"
#include "ui/export/PrintFallback.h"
#include "ui/export/SaveTarget.h"

namespace {
bool SaveMetafile(TMKPSpace& space, const QString& fileName) {
    if (fileName.isEmpty()) return false;
    return WriteSavedDocument(fileName, CanvasWmf(space).toStdString());
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
