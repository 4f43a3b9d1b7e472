#include "ui/export/SaveTarget.h"

#include <QFile>

#include "base/Errors.h"
#include "base/MessageText.h"
#include "model/AtomicFile.h"
#include "model/UserDialogs.h"

bool ConfirmSaveTarget(const QString& fileName, const char* question) {
    if (WriteTargetKind(QFile::encodeName(fileName).toStdString()) != TWriteTarget::RegularFile) return true;
    return Dialogs().AskYesNo(question);
}

std::string SaveFailureText(const QString& fileName, const std::exception& e) {
    const auto* io = dynamic_cast<const TFileIoError*>(&e);
    std::string reason = io && !io->Reason().empty() ? io->Reason() : ErrorText(e);
    if (reason.empty() || reason.back() != '.') reason += '.';
    return "Soubor \"" + fileName.toStdString() + "\" nelze uložit: " + reason;
}

void InformSaveError() {
    Dialogs().Inform("Při ukládání se vyskytla chyba. Soubor nebyl uložen.");
}

bool WriteSavedDocument(const QString& fileName, const std::string& bytes) {
    try {
        WriteFileAtomically(QFile::encodeName(fileName).toStdString(), bytes);
    } catch (const TFileIoError&) {
        InformSaveError();
        return false;
    }
    return true;
}
