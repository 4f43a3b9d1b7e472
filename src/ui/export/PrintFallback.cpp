#include "ui/export/PrintFallback.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include "model/UserDialogs.h"
#include "ui/export/SaveTarget.h"

namespace {
// Pages are laid out at 300 dots per inch on the printer and in the PDF alike, so both give the
// same picture and one-pixel lines stay visible on paper.
constexpr int KPrintResolution = 300;

std::function<bool()>& AvailabilityHook() {
    static std::function<bool()> hook;
    return hook;
}

TPdfFileChooser& ChooserHook() {
    static TPdfFileChooser hook;
    return hook;
}

bool DefaultPrinterAvailable() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

QString DefaultPdfChooser(QWidget* parent, const QString& suggestedName) {
    QFileDialog dialog(parent, QString::fromUtf8("Uložit jako PDF"));
    dialog.setObjectName("PdfDialog");
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromUtf8("dokumenty PDF (*.pdf *.PDF)"));
    dialog.setDefaultSuffix("pdf");
    dialog.setDirectory(QDir::current());
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

void SetUpPage(QPagedPaintDevice& device) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

TPrintOutcome SavePdf(QWidget* parent, const QString& jobTitle, const TPagePainter& paint) {
    const QString suggested = PdfNameFromTitle(jobTitle);
    const TPdfFileChooser& chooser = ChooserHook();
    QString fileName = chooser ? chooser(parent, suggested) : DefaultPdfChooser(parent, suggested);
    if (fileName.isEmpty()) return TPrintOutcome::Cancelled;
    if (QFileInfo(fileName).suffix().isEmpty()) fileName += ".pdf";
    if (!ConfirmSaveTarget(fileName, "Soubor existuje. Nahradit?")) return TPrintOutcome::Cancelled;

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(KPrintResolution);
        pdf.setTitle(jobTitle);
        pdf.setCreator("KORVAN");
        SetUpPage(pdf);
        painted = paint(pdf);
    } // the writer finishes the file when it is destroyed
    buffer.close();
    if (!painted || buffer.data().isEmpty()) {
        InformSaveError();
        return TPrintOutcome::Failed;
    }
    if (!WriteSavedDocument(fileName, buffer.data().toStdString())) return TPrintOutcome::Failed;
    return TPrintOutcome::SavedPdf;
}
} // namespace

void SetPrinterAvailability(std::function<bool()> available) {
    AvailabilityHook() = std::move(available);
}

void SetPdfFileChooser(TPdfFileChooser chooser) {
    ChooserHook() = std::move(chooser);
}

QString PdfNameFromTitle(const QString& title) {
    QString name = title.trimmed();
    for (QChar& c : name)
        if (c < QChar(' ') || QStringLiteral("/\\:*?\"<>|").contains(c)) c = '_';
    if (name.isEmpty() || name == "." || name == "..") name = "tisk";
    return name + ".pdf";
}

TPrintOutcome PrintOrSavePdf(QWidget* parent, const QString& jobTitle, const TPagePainter& paint) {
    const bool available = AvailabilityHook() ? AvailabilityHook()() : DefaultPrinterAvailable();
    if (!available) {
        if (!Dialogs().AskYesNo("Není k dispozici žádná tiskárna. Uložit místo tisku soubor PDF?"))
            return TPrintOutcome::Cancelled;
        return SavePdf(parent, jobTitle, paint);
    }
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        if (!printers.isEmpty()) info = printers.first();
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setResolution(KPrintResolution);
    printer.setDocName(jobTitle);
    printer.setCreator("KORVAN");
    SetUpPage(printer);
    if (!paint(printer) || printer.printerState() == QPrinter::Error) {
        Dialogs().Inform("Tisk se nezdařil.");
        return TPrintOutcome::Failed;
    }
    return TPrintOutcome::Printed;
}
