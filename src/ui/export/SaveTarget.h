#pragma once
// What every save command of the window does before and after the writer: the question about an
// existing file, and the message of a failed save. Plain functions, no widgets.
#include <QString>

#include <exception>
#include <string>

// Whether the save may go on to the writer. Only an existing file (also through a link) is
// replaced, so only it asks `question` (through the message sink). A new name, a device or a
// FIFO asks nothing; a folder and a link to nothing ask nothing either: the writer refuses them
// and says why.
bool ConfirmSaveTarget(const QString& fileName, const char* question);

// The message of a document the writer could not finish or put in place (a picture, a PDF, a
// report): "Při ukládání se vyskytla chyba. Soubor nebyl uložen."
void InformSaveError();
// Writes `bytes` to the file in place of what was there (atomically); a file error is reported by
// InformSaveError and gives false.
bool WriteSavedDocument(const QString& fileName, const std::string& bytes);

// The message of a save that failed: 'Soubor "NAME" nelze uložit: ' and the reason (the
// system's text for a file error, the model's for a model the format cannot hold; "nedostatek
// paměti" when memory ran out).
std::string SaveFailureText(const QString& fileName, const std::exception& e);
