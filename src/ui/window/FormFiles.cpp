// The main window's file commands: new, open, save, and the section and material libraries.
#include "ui/window/MKPUnit1.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <algorithm>

#include "base/Errors.h"
#include "base/MessageText.h"
#include "base/NumberText.h"
#include "model/UserDialogs.h"
#include "ui/common/LibraryLookup.h"
#include "ui/dialogs/MatDialog.h"
#include "ui/export/CanvasExport.h"
#include "ui/export/SaveTarget.h"
#include "ui/export/VyslMemo.h"
#include "ui/panel/LoadInput.h"
#include "ui/panel/ObjectPanel.h"
#include "ui/window/FileDialogGuard.h"

namespace {
QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}
std::string S(const QString& text) {
    return text.toStdString();
}

const char* const KCaptionPrefix = "KORVAN - B 2D : ";
} // namespace

void TForm1::ClearLists() {
    mPanel->cbProfily()->clear();
    mPanel->cbMaterialy()->clear();
}

void TForm1::NewBtnClick() {
    if (!Dialogs().AskYesNo("Přejete si založit nový projekt? Všechny objekty budou vymazány.")) return;
    mSession.BeginCommand(); // one step: undo brings the model back
    mSession.Disarm();
    mSpace.SmazVse();
    mSpace.Prekresli();
    ClearLists();
    mPanel->VypisHodnotyProfilu();
    mPanel->VypisHodnotyUzlu();
    mPanel->VypisHodnotyPrutu();
    ShowSelectionCounts();
    ResultTabsToModel();
    SelfWeightFromModel();
    setWindowTitle(U("KORVAN - B 2D : Nový"));
    mSession.EndCommand();
}

QString TForm1::ChooseFile(QFileDialog* dialog) {
    dialog->setDirectory(QDir::current());
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
    const QString file = dialog->selectedFiles().first();
    // As the program's file dialogs always did, the folder of the chosen file becomes the working
    // directory (the next dialog starts there; the trace files of a computation go there).
    QDir::setCurrent(QFileInfo(file).absolutePath());
    return QFileInfo(file).absoluteFilePath();
}

void TForm1::nactis() {
    if (!Dialogs().AskYesNo("Přejete si načíst jiný projekt? Všechny objekty budou vymazány.")) return;
    // Emptying the model and reading the file are one step, also when the file dialog is
    // cancelled: undo brings the model back.
    mSession.BeginCommand();
    mSession.Disarm();
    mSpace.SmazVse();
    mSpace.Prekresli();
    ClearLists();
    mPanel->VypisHodnotyProfilu();
    mPanel->VypisHodnotyUzlu();
    mPanel->VypisHodnotyPrutu();
    ShowSelectionCounts();
    ResultTabsToModel();
    SelfWeightFromModel();
    const QString file = ChooseFile(mOpenDialog);
    if (!file.isEmpty()) OpenProjectFile(file);
    mSession.EndCommand();
}

// A project that cannot be read leaves an empty model (never part of one) and says why.
void TForm1::OpenProjectFile(const QString& fileName) {
    mSession.BeginCommand();
    mSession.Disarm();
    QString error;
    try {
        mSpace.NactiProjekt(S(fileName));
    } catch (const TFileFormatError& e) {
        // The reader's message names the line already.
        error = U("Soubor \"%1\" nelze načíst: %2").arg(fileName, QString::fromStdString(e.what()));
    } catch (const TFileIoError& e) {
        error = U("Soubor \"%1\" nelze otevřít: %2.").arg(fileName, QString::fromStdString(e.Reason()));
    } catch (const std::exception& e) {
        error = U("Soubor \"%1\" nelze načíst: %2").arg(fileName, QString::fromStdString(ErrorText(e)));
    }
    if (!error.isEmpty()) {
        mSpace.SmazVse();
        ClearLists();
        mSpace.Prekresli();
        mPanel->VypisHodnotyProfilu();
        mPanel->VypisHodnotyUzlu();
        mPanel->VypisHodnotyPrutu();
        ShowSelectionCounts();
        SelfWeightFromModel();
        mSession.EndCommand();
        Dialogs().Inform(S(error));
        return;
    }
    setWindowTitle(U(KCaptionPrefix) + fileName);
    const QString zero = QString::fromStdString(FormatFixed(0.0L, 18, 2));
    SetStatus(0, "X(" + zero + ")");
    SetStatus(1, "Y(" + zero + ")");
    SetStatus(2, QString::number(mSpace.Zoom()) + "%");
    mPanel->RefillSectionAndMaterialLists();
    if (TUzel* n = mSpace.Nodes.First()) {
        mSpace.CurrentNode = n;
        n->CurrentLoad = n->Loads.First();
        mPanel->VypisHodnotyUzlu();
    }
    if (TPrut* m = mSpace.Members.First()) {
        mSpace.CurrentMember = m;
        m->CurrentLoad = m->Loads.First();
        mPanel->VypisHodnotyPrutu();
    }
    ShowSelectionCounts();
    SelfWeightFromModel();
    if (!mSpace.ShowAll()) mSpace.Prekresli();
    StatusBarRefresh();
    mSession.EndCommand();
}

void TForm1::tbSaveClick() {
    const QString file = ChooseFile(mSaveDialog);
    if (file.isEmpty()) return;
    SaveProjectFile(file);
}

void TForm1::SaveProjectFile(const QString& fileName) {
    if (!ConfirmSaveTarget(fileName, "Soubor existuje. Nahadit?")) return;
    try {
        mSpace.UlozProjekt(S(fileName));
    } catch (const std::exception& e) {
        Dialogs().Inform(SaveFailureText(fileName, e));
        return;
    }
    setWindowTitle(U(KCaptionPrefix) + fileName);
}

namespace {
// Reads a section or material library; a file that cannot be read or holds a fault is named in a
// message and gives false.
template <class TRead> bool ReadLibrary(const QString& path, TRead read) {
    try {
        read(S(path));
        return true;
    } catch (const TFileIoError&) {
        Dialogs().Inform(S(U("Knihovnu \"%1\" nelze načíst.").arg(path)));
    } catch (const TFileFormatError& e) {
        Dialogs().Inform(S(U("Knihovna \"%1\": %2").arg(path, QString::fromStdString(e.what()))));
    } catch (const std::exception& e) {
        Dialogs().Inform(S(U("Knihovna \"%1\": %2").arg(path, QString::fromStdString(ErrorText(e)))));
    }
    return false;
}
} // namespace

bool TForm1::ReadSectionLibrary(const QString& path) {
    return ReadLibrary(path, [this](const std::string& file) { mSpace.NactiKnihovnuProfilu(file); });
}

bool TForm1::ReadMaterialLibrary(const QString& path) {
    return ReadLibrary(path, [this](const std::string& file) { mSpace.NactiKnihovnuMaterialu(file); });
}

// The section list shows every section, the first one becomes current with its material.
void TForm1::RefreshAfterSectionLibrary() {
    mPanel->cbProfilyRefresh();
    mSpace.Prekresli(); // the command's end: the history records the library
}

void TForm1::RefreshAfterMaterialLibrary() {
    mPanel->cbMaterialyRefresh();
    if (!mSpace.Sections.Empty()) mPanel->cbProfilyRefresh();
    mSpace.Prekresli();
}

void TForm1::Natiprofily1Click(const QString& fixedName) {
    if (mSpace.Materials.Empty()) {
        Dialogs().Inform("Seznam materiálů je prázdný. Vytvořte či načtěte alespoň jeden materiál.");
        return;
    }
    const QString path = FindLibraryFile(fixedName, LibraryFolders());
    if (path.isEmpty()) {
        Dialogs().Inform(S(U("Knihovna \"%1\" nebyla nalezena.").arg(fixedName)));
        return;
    }
    if (ReadSectionLibrary(path)) RefreshAfterSectionLibrary();
}

void TForm1::NactiSLibCRS(const QString& fileName) {
    if (mSpace.Materials.Empty()) {
        Dialogs().Inform("Seznam materiálů je prázdný. Vytvořte nový nebo načtěte knihovnu.");
        return;
    }
    if (ReadSectionLibrary(fileName)) RefreshAfterSectionLibrary();
}

void TForm1::Natimateril1Click(const QString& fixedName) {
    const QString path = FindLibraryFile(fixedName, LibraryFolders());
    if (path.isEmpty()) {
        Dialogs().Inform(S(U("Knihovna \"%1\" nebyla nalezena.").arg(fixedName)));
        return;
    }
    if (ReadMaterialLibrary(path)) RefreshAfterMaterialLibrary();
}

void TForm1::NactiMLibMAT(const QString& fileName) {
    if (ReadMaterialLibrary(fileName)) RefreshAfterMaterialLibrary();
}

void TForm1::ToolButton2Click() {
    const QString file = ChooseFile(mOpenSLDialog);
    if (!file.isEmpty()) NactiSLibCRS(file);
}

void TForm1::ToolButton5Click() {
    const QString file = ChooseFile(mOpenMLDialog);
    if (!file.isEmpty()) NactiMLibMAT(file);
}
