// The main window's undo and redo, live results, diagram fit and the place of a refusal. Every
// command ends with a repaint (RepaintCanvas); there the window looks at the model through the
// project writer: a model that differs from the one the last repaint saw has been edited, so it
// is computed again when live results are on and recorded as a step of the history. Dialogs and
// commands need to do nothing for either beyond ending as they always do.
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
#include "ui/CanvasWidget.h"
#include "ui/LiveResults.h"
#include "ui/MKPUnit1.h"
#include "ui/ObjectPanel.h"

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
    if (auto* edit = findChild<QToolBar*>("Editace")) {
        connect(AddTool(edit, "tbZpet", "Zpět", false), &QAction::triggered, this, &TForm1::Zpet);
        connect(AddTool(edit, "tbZnovu", "Znovu", false), &QAction::triggered, this, &TForm1::Znovu);
    }
    if (auto* view = findChild<QToolBar*>("View"))
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

    mInfo = new QLabel(statusBar());
    mInfo->setObjectName("StatusInfo");
    // Only the room the fixed panels leave: a long note must not push over the result tabs
    // (a minimum width of 0 alone falls back to the text's width). The hint shows it whole.
    mInfo->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addPermanentWidget(mInfo, 1);
    ResetHistory();
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
    mInfo->setText(text);
    mInfo->setToolTip(text);
}

// Called first by every full repaint. An edit is a model whose snapshot differs from the last
// one seen, or one announced by ModelEdited (which also covers what the project text cannot
// show); while a node is dragged the history waits for the release, so a drag is one step.
void TForm1::NoticeEdit() {
    if (!mInfo || mNoticing) return;
    mNoticing = true;
    TModelSnapshot now;
    const bool written = TakeSnapshot(mSpace, now);
    const bool edited = mEditPending || (written && !(mSeenValid && now.Same(mSeen)));
    mEditPending = false;
    if (edited) {
        mMechanism = {};
        if (LiveResults() && mLiveArmed) {
            RunLive();
        } else if (mTabs->isEnabled()) {
            // Results belong to the model as it was computed.
            mSpace.ResultsValid = false;
            ResultTabsToModel();
            SetInfo({});
        }
    }
    if (written) {
        mSeen = now;
        mSeenValid = true;
        if (mNodeDrag) {
            mGesturePending = mGesturePending || edited;
        } else {
            mHistory.Commit(now);
            UpdateUndoActions();
        }
    }
    mNoticing = false;
}

void TForm1::CommitGesture() {
    if (!mGesturePending) return;
    mGesturePending = false;
    TModelSnapshot now;
    if (TakeSnapshot(mSpace, now)) mHistory.Commit(now);
    UpdateUndoActions();
}

// The quiet computation; the chosen result tab stays. A refusal returns the tabs to "model"
// and says why and where in the status bar.
void TForm1::RunLive() {
    const TLiveOutcome outcome = PrubeznyVypocet(mSpace);
    if (outcome.Ok()) {
        mTabs->setEnabled(true);
        // The equilibrium check assembles every member's matrices again: it follows the repaint
        // instead of delaying it.
        SetInfo({});
        QMetaObject::invokeMethod(
            this,
            [this] {
                TEquilibrium e;
                if (mSpace.ResultsValid && InfoText().isEmpty() && KontrolaRovnovahy(mSpace, e))
                    SetInfo(Q(TextRovnovahy(e)));
            },
            Qt::QueuedConnection);
    } else {
        mSpace.ResultsValid = false;
        ResultTabsToModel();
        mMechanism = outcome.Place;
        SetInfo(Q(TextOdmitnuti(outcome)));
    }
}

void TForm1::AfterComputation(const TSolveStatus& status) {
    mMechanism = {};
    if (mSpace.ResultsValid) {
        mLiveArmed = true;
        TEquilibrium e;
        SetInfo(KontrolaRovnovahy(mSpace, e) ? Q(TextRovnovahy(e)) : QString());
    } else {
        mMechanism = MistoOdmitnuti(status);
        SetInfo(Q(PopisMista(mMechanism)));
    }
    // The computation turns members hinged only at a round; that is the model from now on.
    TModelSnapshot now;
    if (TakeSnapshot(mSpace, now)) {
        mSeen = now;
        mSeenValid = true;
        mHistory.Commit(now);
    }
    mEditPending = false;
    UpdateUndoActions();
}

void TForm1::ResetHistory() {
    mLiveArmed = false;
    mMechanism = {};
    mEditPending = false;
    mGesturePending = false;
    TModelSnapshot now;
    mSeenValid = TakeSnapshot(mSpace, now);
    mSeen = now;
    mHistory.Reset(now);
    UpdateUndoActions();
    SetInfo({});
}

void TForm1::UpdateUndoActions() {
    for (const char* n : {"tbZpet", "Zpet1"})
        if (QAction* a = n[0] == 't' ? Tool(n) : MenuItem(n)) a->setEnabled(mHistory.CanUndo());
    for (const char* n : {"tbZnovu", "Znovu1"})
        if (QAction* a = n[0] == 't' ? Tool(n) : MenuItem(n)) a->setEnabled(mHistory.CanRedo());
}

void TForm1::Zpet() {
    NoticeEdit();
    CommitGesture();
    const TModelSnapshot* current = nullptr;
    if (const TModelSnapshot* state = mHistory.Undo(current)) ApplySnapshot(*state, *current);
}

void TForm1::Znovu() {
    NoticeEdit();
    CommitGesture();
    const TModelSnapshot* current = nullptr;
    if (const TModelSnapshot* state = mHistory.Redo(current)) ApplySnapshot(*state, *current);
}

void TForm1::ApplySnapshot(const TModelSnapshot& stateRef, const TModelSnapshot& currentRef) {
    const TModelSnapshot state = stateRef, current = currentRef;
    try {
        RestoreSnapshot(mSpace, state, current);
    } catch (const std::exception& e) {
        Dialogs().Inform(std::string("Stav modelu nelze obnovit: ") + e.what());
        UpdateUndoActions();
        return;
    }
    mSeen = state;
    mSeenValid = true;
    mEditPending = false;
    mMechanism = {};
    mNoticing = true; // the refreshes below repaint; one repaint at the end is enough
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
    mPanel->SetMenuIndex(page);
    ShowSelectionCounts();
    if (LiveResults() && mLiveArmed) {
        RunLive();
    } else {
        if (mTabs->isEnabled()) ResultTabsToModel();
        SetInfo({});
    }
    mNoticing = false;
    UpdateUndoActions();
    mSpace.Prekresli();
}

void TForm1::PrizpusobMeritkoClick() {
    if (PrizpusobMeritko(mSpace)) StatusBarRefresh();
}

void TForm1::DrawMechanismMark() {
    if (mMechanism.Empty() || !mSpace.VisibleCanvas()) return;
    if (KresliMistoMechanismu(mSpace, *mSpace.VisibleCanvas(), mMechanism)) mCanvas->Area()->update();
}
