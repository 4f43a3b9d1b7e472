#include "ui/window/MKPUnit1.h"

#include <QAbstractButton>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <algorithm>

#include "analysis/En1990.h"
#include "base/NumberText.h"
#include "model/UserDialogs.h"
#include "ui/common/Glyphs.h"
#include "ui/dialogs/DefinitionLogic.h"
#include "ui/dialogs/MatDialog.h"
#include "ui/dialogs/MaterialDialog.h"
#include "ui/dialogs/ProfilDialog.h"
#include "ui/dialogs/PrutDialog.h"
#include "ui/dialogs/UzelDialog.h"
#include "ui/dialogs/ZatizeniDialog1.h"
#include "ui/dialogs/meritka.h"
#include "ui/dialogs/oblouky.h"
#include "ui/export/CanvasExport.h"
#include "ui/export/SaveTarget.h"
#include "ui/export/VyslMemo.h"
#include "ui/help/About.h"
#include "ui/help/HelpWindow.h"
#include "ui/panel/LoadInput.h"
#include "ui/panel/ObjectPanel.h"
#include "ui/window/CanvasWidget.h"
#include "ui/window/FileDialogGuard.h"
#include "units/Prevody.h"

namespace {
QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}
std::string S(const QString& text) {
    return text.toStdString();
}

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName("Form1");
    setWindowTitle(U("KORVAN - B 2D 2003"));
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);

    mCanvas = new TCanvasWidget(*this, mSpace, this);
    setCentralWidget(mCanvas);
    mSpace.OnRepaint = [this] { RepaintCanvas(); };

    mPanel = new TObjectPanel(*this, this);
    addDockWidget(Qt::LeftDockWidgetArea, mPanel);

    BuildToolbars();
    BuildStatusBar();
    BuildLibraryMenus();
    BuildMenus();
    ConnectPanel();
    BuildEditingCommands();
    BuildResultsChooser();

    mOpenDialog = new QFileDialog(this, U("Otevřít"));
    mOpenDialog->setObjectName("OpenDialog1");
    mOpenDialog->setNameFilter("KORVAN input (*.inp)");
    mOpenDialog->setFileMode(QFileDialog::ExistingFile);
    mOpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
    mSaveDialog = new QFileDialog(this, U("Uložit"));
    mSaveDialog->setObjectName("SaveDialog1");
    mSaveDialog->setNameFilter("FEM input (*.inp)");
    mSaveDialog->setDefaultSuffix("inp");
    mSaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    mSaveDialog->setFileMode(QFileDialog::AnyFile);
    mOpenSLDialog = new QFileDialog(this, U("Knihovna profilů"));
    mOpenSLDialog->setObjectName("OpenSLDialog");
    mOpenSLDialog->setNameFilter("Shape library (*.crs)");
    mOpenSLDialog->setFileMode(QFileDialog::ExistingFile);
    mOpenMLDialog = new QFileDialog(this, U("Knihovna materiálů"));
    mOpenMLDialog->setObjectName("OpenMLDialog");
    mOpenMLDialog->setNameFilter("Material library (*.mat)");
    mOpenMLDialog->setFileMode(QFileDialog::ExistingFile);
    mSaveDialog2 = NewWmfSaveDialog(this);
    for (QFileDialog* d : {mOpenDialog, mSaveDialog, mOpenSLDialog, mOpenMLDialog, mSaveDialog2}) {
        // The program asks its own overwrite question; its own dialogs behave alike everywhere.
        d->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
        d->setModal(true);
        TieCompletionToDialog(d);
    }

    mForm2 = new TForm2(*this, mRememberedTool);
    mForm3 = new TForm3(*this, mRememberedTool);
    mForm6 = new TForm6(this);
    TieCompletionToDialog(mForm6->SaveDialog1());
    mForm4 = new TForm4(this);

    mComputation = [this](TMKPSpace& space) { mLastStatus = space.Vypocet(); };
    mInputBox = [this](const QString& caption, const QString& prompt, const QString& text) {
        bool ok = false;
        const QString answer = QInputDialog::getText(this, caption, prompt, QLineEdit::Normal, text, &ok);
        return ok ? answer : text;
    };

    mForm5 = new TForm5(mSpace, mRememberedTool, this);
    connect(mForm5, &TForm5::LoadAdded, this, &TForm1::ZatizeniPridano);
    BuildCaseCommands();

    resize(765, 520);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(765 / 2, 520 / 2));
    setCursor(Qt::ArrowCursor);
    mCanvas->Area()->setCursor(ProgramCursor(KCursorKrizek));
    qApp->installEventFilter(this);
    ConnectDefinitionDialogs();
    InstallHelpKey();
    StatusBarRefresh();
}

TForm1::~TForm1() {
    THelpWindow::Destroy();
    qApp->removeEventFilter(this);
    mSpace.OnRepaint = nullptr;
    // QWidget deletes the children only after this body, when the members of this class (the
    // model space, the tool tables) are gone, and a child may still signal on its way out: the
    // dock reports itself hidden. Nothing a child emits from now on may reach this window, nor
    // the canvas and the panel, which keep references into it.
    const QList<QObject*> children = findChildren<QObject*>();
    for (QObject* child : children)
        for (QObject* receiver : {static_cast<QObject*>(this), static_cast<QObject*>(mCanvas),
                                  static_cast<QObject*>(mPanel)})
            if (receiver) disconnect(child, nullptr, receiver, nullptr);
}

void TForm1::ConnectPanel() {
    auto button = [this](const char* name) { return mPanel->PanelButton(name); };
    if (auto* b = button("sbCompute")) connect(b, &QAbstractButton::clicked, this, &TForm1::sbComputeClick);
    if (auto* b = button("SpeedButton4")) connect(b, &QAbstractButton::clicked, this, &TForm1::SetRefPoint);
    if (auto* b = button("sbShowMatr")) {
        b->setEnabled(true);
        connect(b, &QAbstractButton::clicked, this, &TForm1::sbShowMatrClick);
    }
    if (auto* b = button("SpeedButton7"))
        connect(b, &QAbstractButton::clicked, this, &TForm1::SpeedButton7Click);
    // The geometry tools of both pages.
    for (const char* n : {"sbDDelka1", "sbDDelka2", "sbDDelka3", "sbDUhel1", "sbDUhel2", "sbDUhel3", "sbDUhel4",
                          "sbPInsN", "sbPdpRot1", "sbPdpRot2", "sbNCoorCh1", "sbNewNCoor"}) {
        auto* b = button(n);
        if (!b) continue;
        const QString name = n;
        b->setEnabled(true);
        const bool coordinates = name == "sbNCoorCh1" || name == "sbNewNCoor";
        connect(b, &QAbstractButton::clicked, this,
                [this, name, coordinates] { coordinates ? sbNCoorCh1Click(name) : sbDDelka1Click(name); });
    }
    for (const char* n : {"ToolButton12", "ToolButton11"}) {
        auto* b = mPanel->PanelButton(n);
        if (!b) continue;
        const bool sections = QString(n) == "ToolButton12";
        b->setMenu(sections ? mPopupMenu3 : mPopupMenu4);
        b->setPopupMode(QToolButton::MenuButtonPopup);
        connect(b, &QAbstractButton::clicked, this,
                sections ? &TForm1::ToolButton2Click : &TForm1::ToolButton5Click);
    }
    for (const char* n : {"sbAddLP", "sbAddLU"})
        if (auto* b = button(n)) connect(b, &QAbstractButton::clicked, this, [this, n] { FormZatizeni(n); });
    for (const char* n : {"sbEditLP", "sbEditLU"})
        if (auto* b = button(n)) connect(b, &QAbstractButton::clicked, this, [this, n] { UpravZatizeni(n); });
}

void TForm1::RepaintCanvas() {
    if (mSession.Looking()) return;
    mSession.Look();
    SyncCaseChoice();
    RefreshResultsChooser();
    mCanvas->SyncScrollBars();
    const bool slow = mSpace.TypZobrazeni() != 0 && mSpace.Members.Count() > 200;
    if (slow) QApplication::setOverrideCursor(Qt::WaitCursor);
    mCanvas->Area()->Repaint();
    if (slow) QApplication::restoreOverrideCursor();
    DrawMechanismMark();
}

void TForm1::ResultTabsToModel() {
    if (mTabs->currentIndex() != 0)
        mTabs->setCurrentIndex(0);
    else
        FlatTabControl2Change(0);
    mTabs->setEnabled(false);
}

void TForm1::SelectionChanged() {
    ShowSelectionCounts();
    mPanel->VypisPomocnyPrut();
}

void TForm1::CanvasLock() {
    mSpace.HScroll.Enabled = false;
    mSpace.VScroll.Enabled = false;
    mCanvas->SyncScrollBars();
}

void TForm1::CanvasUnlock() {
    mSpace.HScroll.Enabled = true;
    mSpace.VScroll.Enabled = true;
    mCanvas->SyncScrollBars();
}

void TForm1::FormResize() {
    mSpace.ScrollBarsReset();
    mCanvas->SyncScrollBars();
}

void TForm1::SetCanvasCursor(int number) {
    const QCursor c = ProgramCursor(number);
    mCanvas->Area()->setCursor(c);
}

void TForm1::FinishAction() {
    if (IsDown("AddUzelBtn")) {
        ReleaseTool("AddUzelBtn");
        mPanel->VypisHodnotyUzlu();
    }
    ReleaseTool("DelBtn");
    mEngagedZoomDyn = false;
    ReleaseTool("tbZoomDynBtn");
    ReleaseTool("tbeMoveNode");
    mEngagedScaleSL = mEngagedScaleCL = mEngagedScaleIF = false;
    for (const char* n : {"tbScaleSL", "tbScaleCL", "tbScaleIF"})
        ReleaseTool(n);
    if (IsDown("tbAddPrutFH")) {
        mSpace.SelectedNodes.Clear();
        SetStatus(8, QString::number(mSpace.SelectedNodes.Count()));
        mSpace.Prekresli();
        mPanel->VypisHodnotyPrutu();
        ReleaseTool("tbAddPrutFH");
    }
    SetCanvasCursor(KCursorKrizek);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!mAskOnClose || Dialogs().AskYesNo("Ukončit program? Neuložené změny budou ztraceny."))
        event->accept();
    else
        event->ignore();
}

void TForm1::Button2Click() {
    mSpace.ZoomAboutCentre(mSpace.Zoom() + 10);
    SetStatus(2, QString::number(mSpace.Zoom()) + "%");
    mSpace.Prekresli();
}

void TForm1::Button3Click() {
    mSpace.ZoomAboutCentre(mSpace.Zoom() - 10);
    SetStatus(2, QString::number(mSpace.Zoom()) + "%");
    mSpace.Prekresli();
}

void TForm1::ShowAllBtnClick() {
    if (mSpace.ShowAll()) StatusBarRefresh();
}

void TForm1::tbSTCSCClick() {
    mSpace.ScrolltoCSO();
}

namespace {
// Default text of the grid and snap boxes: metric as the shortest decimal, imperial in feet-inch.
QString LengthText(const TMKPSpace& s, TReal v) {
    return QString::fromStdString(s.UnitSystem == 1 ? MetryNaFtIn(v) : FormatGeneral(v, 18));
}
} // namespace

void TForm1::GridEdit() {
    const QString answer =
        mInputBox(U("Mřížka"), U("Zadejte hustotu mřížky:"), LengthText(mSpace, mSpace.GridDX));
    TReal v = 0.0L;
    if (mSpace.UnitSystem == 1) {
        v = FtInNaMetry(S(answer));
    } else if (!TryStrToFloat(S(answer.trimmed()), v)) {
        Dialogs().Inform("Neplatné zadání");
        return;
    }
    if (v == 0.0L) return;
    mSpace.GridDX = mSpace.GridDY = v;
    mSpace.Prekresli();
}

void TForm1::SnapEdit() {
    const QString answer =
        mInputBox(U("Krok"), U("Zadejte velikost kroku:"), LengthText(mSpace, mSpace.SnapDX));
    TReal v = 0.0L;
    if (mSpace.UnitSystem == 1) {
        v = std::max(FtInNaMetry(S(answer)), 0.00254L);
    } else {
        if (!TryStrToFloat(S(answer.trimmed()), v)) {
            Dialogs().Inform("Neplatné zadání");
            return;
        }
        v = std::max(v, 0.001L);
    }
    mSpace.SnapDX = mSpace.SnapDY = v;
}

void TForm1::RefPointAD() {
    mSpace.Anchor.Active = !mSpace.Anchor.Active;
    mSpace.Prekresli();
}

void TForm1::SetRefPoint() {
    if (!mSpace.CurrentNode) return;
    mSpace.Anchor.SetX(mSpace.CurrentNode->X);
    mSpace.Anchor.SetY(mSpace.CurrentNode->Y);
    mSpace.Prekresli();
}

void TForm1::SpeedButton7Click() {
    // Nodes about to go are taken out of the selection first, so it never holds a deleted node.
    for (TUzel* n : std::vector<TUzel*>(mSpace.Nodes.begin(), mSpace.Nodes.end())) {
        bool used = false;
        for (TPrut* m : mSpace.Members)
            used = used || m->NodeA == n || m->NodeB == n;
        if (!used)
            while (mSpace.SelectedNodes.Remove(n) >= 0) {
            }
    }
    const int before = mSpace.Nodes.Count();
    mSpace.SmazNepripojeneUzly();
    if (mSpace.Nodes.Count() != before) ModelEdited();
    ShowSelectionCounts();
    mSpace.Prekresli();
    mPanel->VypisHodnotyUzlu();
}

void TForm1::ObjectPanel1Click() {
    QAction* item = MenuItem("ObjectPanel1");
    mPanel->setVisible(item->isChecked());
}

void TForm1::Zapotatthukonstrukce1Click() {
    QAction* item = MenuItem("Zapotatthukonstrukce1");
    // The item is checkable, so Qt has toggled it already; with no member it keeps its mark.
    if (mSpace.Members.Empty()) item->setChecked(!item->isChecked());
    mSpace.NastavVlastniTihu(item->isChecked());
    ObnovGenerovaneKombinace(mSpace); // the self-weight case joins or leaves them
    if (!mSpace.Members.Empty()) ModelEdited();
    mPanel->VypisHodnotyZatizeniP();
    mSpace.Prekresli();
}

void TForm1::About1Click() {
    TAboutBox box(this);
    box.exec();
}

void TForm1::Napoveda1Click() {
    ShowHelpPage(KHelpStartPage);
}

void TForm1::UloitjakoWMF1Click() {
    const QString file = ChooseFile(mSaveDialog2);
    if (file.isEmpty()) return;
    if (!ConfirmSaveTarget(file, "Soubor existuje. Nahradit?")) return;
    SaveWMF(mSpace, file, TCanvasExportMode::Metafile, this);
}

void TForm1::PrintCanvas1Click() {
    SaveWMF(mSpace, {}, TCanvasExportMode::Print, this);
}

void TForm1::CopytoClipboard1Click() {
    SaveWMF(mSpace, {}, TCanvasExportMode::Clipboard, this);
}

void TForm1::sbDDelka1Click(const QString& button) {
    mForm2->Open(button);
}

void TForm1::sbNCoorCh1Click(const QString& button) {
    mForm3->Open(button);
}

void TForm1::FormZatizeni(const QString& sender) {
    mForm5->RefreshCases(CaseForNewLoadsName());
    mForm5->FormZatizeni(sender);
}

void TForm1::ZatizeniPridano(bool member) {
    ModelEdited();
    mSpace.Prekresli();
    if (member)
        mPanel->VypisHodnotyZatizeniP();
    else
        mPanel->VypisHodnotyZatizeniU();
}

void TForm1::SmazVsechnaZatizeniPrutu() {
    if (DeleteLoadsAtNodeB(mSpace) > 0) ModelEdited();
    mPanel->VypisHodnotyZatizeniP();
    mSpace.Prekresli();
}

// A project file holds no self-weight loads, and an emptied model has none: the check mark shows
// what the model holds, so that the next click switches self-weight on for every member.
void TForm1::SelfWeightFromModel() {
    mSpace.SelfWeight = ModelHasSelfWeight(mSpace);
    MenuItem("Zapotatthukonstrukce1")->setChecked(mSpace.SelfWeight);
}

// ---- Definition dialogs -------------------------------------------------------------------

void TForm1::ConnectDefinitionDialogs() {
    mForm8 = new TForm8(*this);
    mForm9 = new TForm9(*this);
    mForm10 = new TForm10(*this);
    mForm11 = new TForm11(*this);
    auto bind = [this](QAction* item, const char* button, void (TForm1::*command)()) {
        if (item) {
            item->setEnabled(true);
            connect(item, &QAction::triggered, this, command);
        }
        if (auto* b = mPanel->PanelButton(button)) {
            b->setEnabled(true);
            connect(b, &QAbstractButton::clicked, this, command);
        }
    };
    bind(MenuItem("Vytvoritnovy2"), "SpeedButton8", &TForm1::Definovatprofil1Click);
    bind(MenuItem("Vytvoritnovy1"), "SpeedButton11", &TForm1::Definovatmateril1Click);
    bind(MenuItem("Novyfx1"), "sbNewNExpr", &TForm1::Addnew2Dfxeditor1Click);
    bind(MenuItem("Nastaveni1"), "", &TForm1::Settings1Click);
}

void TForm1::Definovatprofil1Click() {
    mForm8->ShowDialog();
}

void TForm1::Definovatmateril1Click() {
    mForm10->ShowDialog();
}

void TForm1::Settings1Click() {
    mForm9->ShowDialog();
}

void TForm1::Addnew2Dfxeditor1Click() {
    mForm11->ShowDialog();
}

void TForm1::UnitSystemApplied() {
    const TUnitPanelTexts units = UnitPanelTexts(mSpace);
    SetStatus(3, QString::fromStdString(units.Length));
    SetStatus(4, QString::fromStdString(units.Force));
    SetStatus(5, QString::fromStdString(units.Stress));
    mPanel->VypisHodnotyMaterialu();
    mPanel->VypisHodnotyProfilu();
    mPanel->VypisHodnotyUzlu();
    mPanel->VypisHodnotyPrutu();
    mPanel->VypisHodnotyZatezovacihoStavu();
    mPanel->VypisHodnotyZatizeniP();
    mPanel->VypisHodnotyZatizeniU();
    mForm8->SetUnitLabels();
    mForm10->SetUnitLabels();
}
