// The main window's side of undo and redo, live results, diagram fit and the place of a refusal.
// Every command ends with a repaint (RepaintCanvas), where the edit session (EditSession) looks at
// the model: a model that differs from the one it last saw has been edited, so it is computed
// again when live results are on and recorded as a step of the history. Here the window shows
// what the session asks for. Dialogs and commands need to do nothing for either beyond ending as
// they always do.
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>

#include "canvas/DiagramFit.h"
#include "canvas/MechanismMark.h"
#include "model/UserDialogs.h"
#include "ui/editing/LiveResults.h"
#include "ui/panel/ObjectPanel.h"
#include "ui/window/CanvasWidget.h"
#include "ui/window/ComputationNote.h"
#include "ui/window/MKPUnit1.h"

namespace {
QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}
QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

const char* const KLiveKey = "vypocet/prubezny";

QSettings Settings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "KORVAN", "korvan");
}

QMenu* MenuTitled(QMenuBar* bar, const QString& title) {
    for (QAction* a : bar->actions())
        if (a->menu() && a->text() == title) return a->menu();
    return nullptr;
}
} // namespace

void TForm1::BuildEditingCommands() {
    if (QToolBar* edit = mEditBar) {
        connect(AddTool(edit, "tbZpet", "Zpět", false), &QAction::triggered, this, &TForm1::Zpet);
        connect(AddTool(edit, "tbZnovu", "Znovu", false), &QAction::triggered, this, &TForm1::Znovu);
    }
    if (QToolBar* view = mViewBar)
        connect(AddTool(view, "tbFit", "Přizpůsobit měřítko", false), &QAction::triggered, this,
                &TForm1::PrizpusobMeritkoClick);

    if (QMenu* zobr = MenuTitled(menuBar(), U("Zobrazení")))
        connect(AddItem(zobr, "Prizpusobitmeritko1", "Přizpůsobit měřítko"), &QAction::triggered, this,
                &TForm1::PrizpusobMeritkoClick);
    if (QMenu* nastroje = MenuTitled(menuBar(), U("Nástroje"))) {
        nastroje->addSeparator();
        connect(AddItem(nastroje, "Zpet1", "Zpět", QKeySequence("Ctrl+Z")), &QAction::triggered, this,
                &TForm1::Zpet);
        QAction* redo = AddItem(nastroje, "Znovu1", "Znovu", QKeySequence("Ctrl+Y"));
        redo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
        connect(redo, &QAction::triggered, this, &TForm1::Znovu);
        QAction* live = AddItem(nastroje, "Prubeznyvypocet1", "Průběžný výpočet");
        live->setCheckable(true);
        live->setChecked(Settings().value(KLiveKey, true).toBool());
        connect(live, &QAction::triggered, this, &TForm1::PrubeznyVypocet1Click);
    }

    // The status bar's fixed panels leave no room for it at the default width.
    mInfo = new TComputationNote(mCanvas->Area());
    mSession.Reset();
}

bool TForm1::LiveResults() const {
    QAction* item = MenuItem("Prubeznyvypocet1");
    return item && item->isChecked();
}

void TForm1::SetLiveResults(bool on, bool remember) {
    if (QAction* item = MenuItem("Prubeznyvypocet1")) item->setChecked(on);
    if (remember) Settings().setValue(KLiveKey, on);
}

void TForm1::PrubeznyVypocet1Click() {
    SetLiveResults(LiveResults(), true);
}

QString TForm1::InfoText() const {
    return mInfo ? mInfo->text() : QString();
}

void TForm1::SetInfo(const QString& text) {
    if (!mInfo) return;
    mInfo->SetNote(text);
}

// Results of a computation belong to the model as it was then: after an edit the result tabs go
// back to the model view and stay disabled until the next computation, or live results follow.
void TForm1::ModelEdited() {
    mSession.Edited();
    // The next repaint (or, failing one, the end of this event) records the edit.
    if (mLookQueued) return;
    mLookQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            mLookQueued = false;
            if (mSession.EditPending()) RepaintCanvas();
        },
        Qt::QueuedConnection);
}

bool TForm1::ResultsShown() const {
    return mTabs->isEnabled();
}

// The equilibrium check assembles every member's matrices again: it follows the repaint instead
// of delaying it.
void TForm1::LiveResultsOn() {
    mTabs->setEnabled(true);
    QMetaObject::invokeMethod(
        this,
        [this] {
            TEquilibrium e;
            if (mSpace.ResultsValid && InfoText().isEmpty() && KontrolaRovnovahy(mSpace, e))
                SetInfo(Q(TextRovnovahy(e)));
        },
        Qt::QueuedConnection);
}

void TForm1::UndoAvailable(bool undo, bool redo) {
    for (const char* n : {"tbZpet", "Zpet1"})
        if (QAction* a = n[0] == 't' ? Tool(n) : MenuItem(n)) a->setEnabled(undo);
    for (const char* n : {"tbZnovu", "Znovu1"})
        if (QAction* a = n[0] == 't' ? Tool(n) : MenuItem(n)) a->setEnabled(redo);
}

void TForm1::Zpet() {
    mSession.Undo();
}

void TForm1::Znovu() {
    mSession.Redo();
}

// Another model is in place: every list, page and mark shows it; the page in front stays.
void TForm1::ModelReplaced(const TModelView& view) {
    const int page = mPanel->MenuIndex();
    MenuItem("Zapotatthukonstrukce1")->setChecked(mSpace.SelfWeight);
    TProfil* section = mSpace.CurrentSection;
    TMaterial* material = mSpace.CurrentMaterial;
    ClearLists();
    mPanel->RefillSectionAndMaterialLists();
    mSpace.CurrentSection = section;
    mSpace.CurrentMaterial = material;
    if (section) mPanel->cbProfily()->setCurrentIndex(mSpace.Sections.IndexOf(section));
    if (material) mPanel->cbMaterialy()->setCurrentIndex(mSpace.Materials.IndexOf(material));
    mPanel->VypisHodnotyProfilu();
    mPanel->VypisHodnotyUzlu();
    mPanel->VypisHodnotyPrutu();
    mPanel->VypisHodnotyZatezovacihoStavu();
    mPanel->SetMenuIndex(page);
    SelectionChanged();
    if (!view.Caption.empty()) setWindowTitle(QString::fromStdString(view.Caption));
}

// Only the zoom panel: the unit panel of the deformed shape reads "mm", not the length unit.
void TForm1::PrizpusobMeritkoClick() {
    if (PrizpusobMeritko(mSpace)) SetStatus(2, QString::number(mSpace.Zoom()) + "%");
}

void TForm1::DrawMechanismMark() {
    const TDofPlace place = mSession.Mechanism();
    if (place.Empty() || !mSpace.VisibleCanvas()) return;
    if (KresliMistoMechanismu(mSpace, *mSpace.VisibleCanvas(), place)) mCanvas->Area()->update();
}
