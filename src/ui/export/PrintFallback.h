#pragma once
// Printing with a way out: a document goes to the default printer; on a machine without any
// printer the user is told so and may save the same pages as a PDF file instead. Both the
// canvas print and the report viewer print go through here.
#include <QString>
#include <functional>

class QPagedPaintDevice;
class QWidget;

enum class TPrintOutcome {
    Printed,   // sent to the printer
    SavedPdf,  // no printer: the pages were saved as a PDF file
    Cancelled, // no printer and the user declined, or chose no file
    Failed,    // the printer or the file could not be written (already reported)
};

// Paints the document on the device (a printer or a PDF writer with the same page setup, A4 at
// the device's resolution) and returns false when it could not.
using TPagePainter = std::function<bool(QPagedPaintDevice& device)>;

// Prints with the job title (the document name of the print job and the title of a PDF). With
// no printer it asks "Není k dispozici žádná tiskárna. Uložit místo tisku soubor PDF?"; Yes asks
// for the file name (default extension "pdf", the overwrite question) and writes the PDF
// atomically.
TPrintOutcome PrintOrSavePdf(QWidget* parent, const QString& jobTitle, const TPagePainter& paint);

// Seams for tests and for machines where the printer query itself is unwanted.
// Whether a printer exists (default: the print system lists at least one).
void SetPrinterAvailability(std::function<bool()> available);
// Asks for the PDF file name (default: a save dialog); an empty answer cancels.
using TPdfFileChooser = std::function<QString(QWidget* parent, const QString& suggestedName)>;
void SetPdfFileChooser(TPdfFileChooser chooser);
// nullptr/empty functions restore the defaults.

// A file name from a title: characters that cannot stand in a file name replaced by "_", ".pdf"
// appended ("Výsledky výpočtu" -> "Výsledky výpočtu.pdf").
QString PdfNameFromTitle(const QString& title);
