#include "ui/window/MKPUnit1.h"

#include <QAbstractButton>
#include <algorithm>
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

#include "base/Errors.h"
#include "base/MessageText.h"
#include "base/NumberText.h"
#include "model/UserDialogs.h"
#include "reports/Protocol.h"
#include "reports/ResultsReport.h"
#include "ui/help/About.h"
#include "ui/export/CanvasExport.h"
#include "ui/window/CanvasWidget.h"
#include "ui/dialogs/DefinitionLogic.h"
#include "ui/window/FileDialogGuard.h"
#include "ui/window/Glyphs.h"
#include "ui/help/HelpWindow.h"
#include "ui/window/LibraryLookup.h"
#include "ui/dialogs/LoadInput.h"
#include "ui/dialogs/MatDialog.h"
#include "ui/dialogs/MaterialDialog.h"
#include "ui/panel/ObjectPanel.h"
#include "ui/dialogs/ProfilDialog.h"
#include "ui/dialogs/PrutDialog.h"
#include "ui/export/SaveTarget.h"
#include "ui/dialogs/UzelDialog.h"
#include "ui/export/VyslMemo.h"
#include "ui/dialogs/ZatizeniDialog1.h"
#include "ui/dialogs/meritka.h"
#include "ui/dialogs/oblouky.h"
#include "units/Prevody.h"

namespace {
QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}
std::string S(const QString& text) {
    return text.toStdString();
}

const char* const KCaptionPrefix = "KORVAN - B 2D : ";

// Fixed libraries: menu caption and file.
struct TFixedLibrary {
    const char* Caption;
    const char* File;
};
const TFixedLibrary KSectionLibraries[] = {{"I", "crsI.crs"},
                                           {"IE", "crsIE.crs"},
                                           {"IPE", "crsIPE.crs"},
                                           {"HEB", "crsHEB.crs"},
                                           {"U", "crsU.crs"},
                                           {"UE", "crsUE.crs"},
                                           {"UPE", "crsUPE.crs"},
                                           {"Lr", "crsLr.crs"},
                                           {"L", "crsL.crs"},
                                           {"Tr.kruhové ", "crsTrK.crs"},
                                           {"Tr.čtverhranné", "crsTrC.crs"},
                                           {"T", "crsT.crs"}};
const TFixedLibrary KMaterialLibraries[] = {
    {"Ocel", "matO.mat"}, {"Dřevo", "matD.mat"}, {"Beton", "matB.mat"}};

// Toolbars without frame and with a thin margin: the two rows of them and the object panel fit
// the window's default height.
class TCompactToolBarStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_ToolBarFrameWidth) return 0;
        if (metric == PM_ToolBarItemMargin) return 1;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};
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

QAction* TForm1::AddTool(QToolBar* bar, const char* name, const char* hint, bool checkable) {
    auto* a = new QAction(ToolGlyph(name), U(hint), this);
    a->setObjectName(name);
    a->setToolTip(U(hint));
    a->setCheckable(checkable);
    bar->addAction(a);
    if (QWidget* w = bar->widgetForAction(a)) w->setObjectName(name);
    mTools.insert(name, a);
    return a;
}

void TForm1::Group(const QStringList& names, const QStringList& releasable) {
    for (const QString& n : names) {
        mGroupOf.insert(n, names);
        if (releasable.contains(n)) mReleasable.insert(n);
        QAction* a = mTools.value(n);
        connect(a, &QAction::triggered, this, [this, n](bool checked) {
            if (checked)
                PressTool(n);
            else if (!mReleasable.contains(n))
                Tool(n)->setChecked(true);
        });
    }
}

void TForm1::PressTool(const QString& name) {
    QAction* a = Tool(name);
    if (!a) return;
    a->setChecked(true);
    for (const QString& other : mGroupOf.value(name))
        if (other != name) Tool(other)->setChecked(false);
}

void TForm1::ReleaseTool(const QString& name) {
    if (QAction* a = Tool(name)) a->setChecked(false);
}

bool TForm1::IsDown(const QString& name) const {
    QAction* a = Tool(name);
    return a && a->isChecked();
}

bool TForm1::Engaged(const QString& name) const {
    if (name == "tbZoomInW") return mEngagedZoomInW;
    if (name == "tbZoomOutW") return mEngagedZoomOutW;
    if (name == "tbZoomDynBtn") return mEngagedZoomDyn;
    if (name == "tbScaleSL") return mEngagedScaleSL;
    if (name == "tbScaleCL") return mEngagedScaleCL;
    if (name == "tbScaleIF") return mEngagedScaleIF;
    return false;
}

void TForm1::BuildToolbars() {
    auto* compact = new TCompactToolBarStyle;
    compact->setParent(this);
    auto bar = [this, compact](const char* caption, Qt::ToolBarAreas areas) {
        auto* t = new QToolBar(caption, this);
        t->setObjectName(caption);
        t->setStyle(compact);
        t->setAllowedAreas(areas);
        t->setIconSize(QSize(16, 16));
        addToolBar(Qt::TopToolBarArea, t);
        return t;
    };
    const Qt::ToolBarAreas topBottom = Qt::TopToolBarArea | Qt::BottomToolBarArea;
    QToolBar* files = bar("Files", topBottom);
    connect(AddTool(files, "NewBtn", "Nový ...", false), &QAction::triggered, this, &TForm1::NewBtnClick);
    connect(AddTool(files, "ToolButton1", "Otevřít ...", false), &QAction::triggered, this, &TForm1::nactis);
    connect(AddTool(files, "tbSave", "Uložit ...", false), &QAction::triggered, this, &TForm1::tbSaveClick);
    connect(AddTool(files, "ToolButton2", "Knihovna profilů ...", false), &QAction::triggered, this,
            &TForm1::ToolButton2Click);
    connect(AddTool(files, "ToolButton5", "Knihovyn materiálů ...", false), &QAction::triggered, this,
            &TForm1::ToolButton5Click);

    QToolBar* draw = bar("Draw", topBottom);
    connect(AddTool(draw, "DelBtn", "Smazat prut ...", true), &QAction::triggered, this,
            &TForm1::ClrSeznamVP);
    AddTool(draw, "AddUzelBtn", "Kreslení uzly ...", true);
    connect(AddTool(draw, "ToolButton3", "Spojit vybrané uzly ... (p)", false), &QAction::triggered, this,
            &TForm1::CreateMemberP);
    AddTool(draw, "tbAddPrutFH", "Kreslení prutů ...", true);
    Group({"DelBtn", "AddUzelBtn", "tbAddPrutFH"}, {"DelBtn", "AddUzelBtn"});

    QToolBar* edit = bar("Editace", Qt::AllToolBarAreas);
    AddTool(edit, "tbeMoveNode", "Přesun uzlu myší ...", true);

    // The view toolbar gets a row of its own, so that every button shows at the default width.
    addToolBarBreak(Qt::TopToolBarArea);
    QToolBar* view = bar("View", topBottom);
    connect(AddTool(view, "ZoomInBtn", "Přiblížit ...", false), &QAction::triggered, this,
            &TForm1::Button2Click);
    connect(AddTool(view, "ZoomOutBtn", "Oddálit ...", false), &QAction::triggered, this,
            &TForm1::Button3Click);
    connect(AddTool(view, "ShowAllBtn", "Zobrazit vše ...", false), &QAction::triggered, this,
            &TForm1::ShowAllBtnClick);
    AddTool(view, "tbZoomInW", "Zvětšení (výběrem) ...", true);
    AddTool(view, "tbZoomOutW", "Zmenšení (výběrem) ...", true);
    AddTool(view, "tbZoomDynBtn", "Dynamická lupa ...", true);
    AddTool(view, "tbScaleSL", "Měřítko zobrazení os. břemen ...", true);
    AddTool(view, "tbScaleCL", "Měřítko zobrazení spojitých zatížení ...", true);
    AddTool(view, "tbScaleIF", "Měřítko zobrazení vnitřních sila  deformací ...", true);
    Group({"tbZoomInW", "tbZoomOutW", "tbZoomDynBtn", "tbScaleSL", "tbScaleCL", "tbScaleIF"}, {});
    AddTool(view, "tbCenterToBtn", "Centrovat pohled ...", true);
    connect(AddTool(view, "tbSTCSC", "Najít počátek ...", false), &QAction::triggered, this,
            &TForm1::tbSTCSCClick);
    AddTool(view, "tbSHCSC", "Zobrazit počátek ...", true)->setChecked(true);
    AddTool(view, "SnapBtn", "Krok ...", true);
    AddTool(view, "GridBtn", "Mřížka ...", true);
    AddTool(view, "NumBtn", "Čísla ...", true);
    AddTool(view, "tbShowLoad", "Prutová zatížení ...", true)->setChecked(true);
    AddTool(view, "tbShowLoadU", "Uzlová zatížení ...", true)->setChecked(true);
    AddTool(view, "tbShowR", "Reakce ...", true);
    // A right press on the grid and snap buttons opens their input boxes.
    // The press opens a modal box; the context menu event that follows the press must not reach the
    // toolbar, which would pop up its own menu after the box closes.
    for (const char* n : {"GridBtn", "SnapBtn"})
        if (QWidget* w = view->widgetForAction(Tool(n))) {
            w->installEventFilter(this);
            w->setContextMenuPolicy(Qt::PreventContextMenu);
        }
    for (QToolBar* t : {files, draw, edit, view})
        t->setFloatable(true);
}

QAction* TForm1::AddItem(QMenu* menu, const char* name, const char* caption, const QKeySequence& key,
                         bool enabled) {
    QAction* a = menu->addAction(U(caption));
    a->setObjectName(name);
    // The shortcut acts in the main window (and its floating panel and toolbars), not while the
    // user types in a dialog that stays open beside it.
    if (!key.isEmpty()) a->setShortcut(key);
    a->setEnabled(enabled);
    mMenuItems.insert(name, a);
    return a;
}

void TForm1::Pair(QAction* button, QAction* item, std::function<void(bool)> apply) {
    item->setCheckable(true);
    item->setChecked(button->isChecked());
    connect(button, &QAction::triggered, this, [item, apply](bool on) {
        item->setChecked(on);
        apply(on);
    });
    connect(item, &QAction::triggered, this, [button, apply](bool on) {
        button->setChecked(on);
        apply(on);
    });
}

void TForm1::BuildLibraryMenus() {
    mPopupMenu3 = new QMenu(this);
    mPopupMenu3->setObjectName("PopupMenu3");
    for (const TFixedLibrary& lib : KSectionLibraries) {
        const QString file = lib.File;
        connect(mPopupMenu3->addAction(U(lib.Caption)), &QAction::triggered, this,
                [this, file] { Natiprofily1Click(file); });
    }
    connect(mPopupMenu3->addAction(U("Ze souboru ...")), &QAction::triggered, this,
            &TForm1::ToolButton2Click);
    mPopupMenu4 = new QMenu(this);
    mPopupMenu4->setObjectName("PopupMenu4");
    for (const TFixedLibrary& lib : KMaterialLibraries) {
        const QString file = lib.File;
        connect(mPopupMenu4->addAction(U(lib.Caption)), &QAction::triggered, this,
                [this, file] { Natimateril1Click(file); });
    }
    connect(mPopupMenu4->addAction(U("Ze souboru ...")), &QAction::triggered, this,
            &TForm1::ToolButton5Click);
    for (const char* n : {"ToolButton2", "ToolButton5"}) {
        auto* b = findChild<QToolButton*>(n);
        if (!b) continue;
        b->setMenu(QString(n) == "ToolButton2" ? mPopupMenu3 : mPopupMenu4);
        b->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

void TForm1::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");

    QMenu* soubor = bar->addMenu(U("Soubor"));
    connect(AddItem(soubor, "Nov1", "Nový"), &QAction::triggered, this, &TForm1::NewBtnClick);
    MenuItem("Nov1")->setProperty("HelpContext", 210);
    connect(AddItem(soubor, "Nast1", "Načíst", QKeySequence("Ctrl+O")), &QAction::triggered, this,
            &TForm1::nactis);
    connect(AddItem(soubor, "Ulosoubor1", "Uložit", QKeySequence("Ctrl+S")), &QAction::triggered, this,
            &TForm1::Ulosoubor1Click);
    soubor->addSeparator();
    connect(AddItem(soubor, "Konec1", "Konec", QKeySequence("Ctrl+Q")), &QAction::triggered, this,
            &QWidget::close);

    QMenu* zobr = bar->addMenu(U("Zobrazení"));
    connect(AddItem(zobr, "Ve1", "Vše"), &QAction::triggered, this, &TForm1::ShowAllBtnClick);
    connect(AddItem(zobr, "ZoomInWindow1", "Zvětšení (výběrem)"), &QAction::triggered, this,
            [this] { PressTool("tbZoomInW"); });
    connect(AddItem(zobr, "ZoomOutWindow1", "Zmenšení (výběrem)"), &QAction::triggered, this,
            [this] { PressTool("tbZoomOutW"); });
    auto toggle = [this](const QString& tool) {
        if (IsDown(tool))
            ReleaseTool(tool);
        else
            PressTool(tool);
    };
    connect(AddItem(zobr, "DynamicZoom1", "Dynamická lupa"), &QAction::triggered, this,
            [toggle] { toggle("tbZoomDynBtn"); });
    connect(AddItem(zobr, "miScaleSL", "Měřítko zobrazení os. sil"), &QAction::triggered, this,
            [toggle] { toggle("tbScaleSL"); });
    connect(AddItem(zobr, "miScaleCL", "Měřítko zobrazení spoj. zatížení"), &QAction::triggered, this,
            [toggle] { toggle("tbScaleCL"); });
    connect(AddItem(zobr, "miScaleIF", "Měřítko zobr. vnitřních sil a deformací"), &QAction::triggered, this,
            [toggle] { toggle("tbScaleIF"); });
    Pair(Tool("tbCenterToBtn"), AddItem(zobr, "Centerview1", "Centrovat pohled"), [](bool) {});
    QMenu* grid = zobr->addMenu(U("Mřížka"));
    Pair(Tool("GridBtn"), AddItem(grid, "Show1", "Show"), [this](bool on) {
        mSpace.GridVisible = on;
        mSpace.Prekresli();
    });
    Pair(Tool("SnapBtn"), AddItem(grid, "Snap1", "Snap to grid"), [this](bool on) { mSpace.SnapOn = on; });
    connect(AddItem(grid, "Edit1", "Edit grid"), &QAction::triggered, this, &TForm1::GridEdit);
    connect(AddItem(grid, "Editsnap1", "Edit snap"), &QAction::triggered, this, &TForm1::SnapEdit);
    Pair(Tool("tbShowLoadU"), AddItem(zobr, "Singleloads2", "Uzlová zatížení"), [this](bool on) {
        mSpace.ShowNodalLoads = on;
        mSpace.Prekresli();
    });
    Pair(Tool("tbShowLoad"), AddItem(zobr, "Continuousloads2", "Prutová zatížení"), [this](bool on) {
        mSpace.ShowMemberLoads = on;
        mSpace.Prekresli();
    });
    Pair(Tool("tbShowR"), AddItem(zobr, "Zobrazitreakce1", "Zobrazit reakce"),
         [this](bool on) { mSpace.SetShowReactions(on); });
    Pair(Tool("NumBtn"), AddItem(zobr, "Cislaprutuauzlu1", "Čísla prutů a uzlů"), [this](bool on) {
        mSpace.ShowNumbers = on;
        mSpace.Prekresli();
    });
    Pair(Tool("tbSHCSC"), AddItem(zobr, "ShowCSC1", "Zobrazit počátek souř. systému"), [this](bool on) {
        mSpace.Origin.Visible = on;
        mSpace.Prekresli();
    });
    connect(AddItem(zobr, "ScrolltoCSorigin1", "Najít počátek"), &QAction::triggered, this,
            &TForm1::tbSTCSCClick);
    // Checked by a click; the next canvas click places the anchor and unchecks it.
    AddItem(zobr, "Umistitkotvu1", "Umístit kotvu")->setCheckable(true);

    QMenu* mat = bar->addMenu(U("Materiál"));
    AddItem(mat, "Vytvoritnovy1", "Vytvořit nový", {}, false);
    QMenu* matLib = mat->addMenu(U("Knihovna"));
    QMenu* matLoad = matLib->addMenu(U("Načíst"));
    const char* matNames[] = {"ocel2", "devo2", "beton2"};
    for (int i = 0; i < 3; ++i) {
        const QString file = KMaterialLibraries[i].File;
        connect(AddItem(matLoad, matNames[i], KMaterialLibraries[i].Caption), &QAction::triggered, this,
                [this, file] { Natimateril1Click(file); });
    }
    connect(AddItem(matLoad, "Custom1", "Ze souboru ..."), &QAction::triggered, this,
            &TForm1::ToolButton5Click);
    connect(AddItem(matLib, "Smazatnepouzitemat1", "Smazat nepoužité"), &QAction::triggered, mPanel,
            &TObjectPanel::sbDelNUMatClick);

    QMenu* prof = bar->addMenu(U("Profil"));
    AddItem(prof, "Vytvoritnovy2", "Vytvořit nový", {}, false);
    QMenu* profLib = prof->addMenu(U("Knihovna"));
    QMenu* profLoad = profLib->addMenu(U("Načíst"));
    for (const TFixedLibrary& lib : KSectionLibraries) {
        const QString file = lib.File;
        connect(AddItem(profLoad, qPrintable("Natiprofily_" + QFileInfo(file).baseName()), lib.Caption),
                &QAction::triggered, this, [this, file] { Natiprofily1Click(file); });
    }
    connect(AddItem(profLoad, "miusercrs1", "Ze souboru ..."), &QAction::triggered, this,
            &TForm1::ToolButton2Click);
    connect(AddItem(profLib, "Smazatnepouziteprof1", "Smazat nepoužité"), &QAction::triggered, mPanel,
            &TObjectPanel::sbDelNUCrsClick);
    connect(AddItem(profLib, "AssCrSToSel1", "Přiřadit vybraným pr."), &QAction::triggered, mPanel,
            &TObjectPanel::AssCrSToSel);
    connect(AddItem(profLib, "AssCrSToAll1", "Přiřadit všem"), &QAction::triggered, mPanel,
            &TObjectPanel::AssCrSToAll);

    QMenu* uzel = bar->addMenu(U("Uzel"));
    connect(AddItem(uzel, "Novysouradnicemi1", "Nový (souřadnicemi)"), &QAction::triggered, this,
            [this] { sbNCoorCh1Click("sbNewNCoor"); });
    AddItem(uzel, "Novyfx1", "Nový - 2D f(x) editor", {}, false);
    connect(AddItem(uzel, "Smazatnepripojene1", "Smazat nepřipojené uzly", QKeySequence("Ctrl+Del")),
            &QAction::triggered, this, &TForm1::SpeedButton7Click);
    QMenu* upravyU = uzel->addMenu(U("Úpravy"));
    connect(AddItem(upravyU, "Presunoutuzel1", "Přesunout uzel", QKeySequence("Ctrl+T")), &QAction::triggered,
            this, [this] { sbNCoorCh1Click("sbNCoorCh1"); });
    QMenu* podpora = uzel->addMenu(U("Podpora"));
    const char* kinds[] = {"(žádná)",        "Vetknutí",       "Kloub (u,w)",
                           "Pos. kloub (u)", "Pos. kloub (w)", "Pos. vetknutí"};
    for (int k = 0; k < 6; ++k)
        connect(AddItem(podpora, qPrintable(QString("Podpora%1").arg(k)), kinds[k]), &QAction::triggered,
                mPanel, [this, k] { mPanel->NastavPodporu(k); });
    QMenu* natoceni = uzel->addMenu(U("Natočení podpory"));
    connect(AddItem(natoceni, "Absolutni1", "Absolutní"), &QAction::triggered, this,
            [this] { sbDDelka1Click("sbPdpRot1"); });
    connect(AddItem(natoceni, "Relativnikprutu1", "Relativní k prutu"), &QAction::triggered, this,
            [this] { sbDDelka1Click("sbPdpRot2"); });
    connect(AddItem(uzel, "Odznacitvseuzly1", "Odznačit vše"), &QAction::triggered, this,
            &TForm1::UnselectNodes);
    QMenu* zatU = uzel->addMenu(U("Zatížení"));
    connect(AddItem(zatU, "PridatzatU1", "Přidat"), &QAction::triggered, this,
            [this] { FormZatizeni("sbAddLU"); });
    connect(AddItem(zatU, "SmazatzatU1", "Smazat"), &QAction::triggered, mPanel, &TObjectPanel::sbDelLUClick);

    QMenu* prut = bar->addMenu(U("Prut"));
    connect(AddItem(prut, "Pridatnovykreslit1", "Přidat nový (kreslit)"), &QAction::triggered, this, [this] {
        if (IsDown("tbAddPrutFH"))
            ReleaseTool("tbAddPrutFH");
        else
            PressTool("tbAddPrutFH");
    });
    connect(AddItem(prut, "Pridatnovyzvybranych1", "Přidat nový (z vybraných uzlů) (p)"), &QAction::triggered,
            this, &TForm1::CreateMemberP);
    QMenu* upravyP = prut->addMenu(U("Úpravy"));
    const char* geometry[] = {
        "Délka",         "Délka podle prutu", "Prodloužit k ose", "Orientace", "Rovnoběžně s prutem",
        "Kolmo k prutu", "Pod úhlem k prutu"};
    const char* geometryButtons[] = {"sbDDelka1", "sbDDelka2", "sbDDelka3", "sbDUhel3",
                                     "sbDUhel2",  "sbDUhel1",  "sbDUhel4"};
    for (int i = 0; i < 7; ++i) {
        const QString button = geometryButtons[i];
        connect(AddItem(upravyP, qPrintable(QString("Geometrie%1").arg(i)), geometry[i]), &QAction::triggered,
                this, [this, button] { sbDDelka1Click(button); });
    }
    connect(AddItem(upravyP, "Zamenituzly1", "Zaměnit uzly"), &QAction::triggered, mPanel,
            &TObjectPanel::SpeedButton1Click);
    connect(AddItem(prut, "Smazatprut1", "Smazat prut", QKeySequence("Shift+Del")), &QAction::triggered,
            mPanel, &TObjectPanel::sbDelPrut1Click);
    connect(AddItem(prut, "Otocitprofil1", "Otočit profil"), &QAction::triggered, mPanel,
            &TObjectPanel::SpeedButton2Click);
    connect(AddItem(prut, "Odznacitvsepruty1", "Odznačit vše"), &QAction::triggered, this,
            &TForm1::ClrSeznamVP);
    QMenu* zatP = prut->addMenu(U("Zatížení"));
    connect(AddItem(zatP, "PridatzatP1", "Přidat"), &QAction::triggered, this,
            [this] { FormZatizeni("sbAddLP"); });
    connect(AddItem(zatP, "SmazatzatP1", "Smazat"), &QAction::triggered, mPanel, &TObjectPanel::sbDelLPClick);
    connect(AddItem(prut, "Matice1", "Matice", QKeySequence(Qt::Key_F10)), &QAction::triggered, this,
            &TForm1::Vpismatic1Click);

    QMenu* zat = bar->addMenu(U("Zatížení"));
    connect(AddItem(zat, "Zapotatthukonstrukce1", "Vlastní tíha kce."), &QAction::triggered, this,
            &TForm1::Zapotatthukonstrukce1Click);
    MenuItem("Zapotatthukonstrukce1")->setCheckable(true);

    QMenu* okno = bar->addMenu(U("Okno"));
    QAction* panelItem = AddItem(okno, "ObjectPanel1", "Panel objektů");
    panelItem->setCheckable(true);
    panelItem->setChecked(true);
    connect(panelItem, &QAction::triggered, this, &TForm1::ObjectPanel1Click);
    connect(mPanel, &QDockWidget::visibilityChanged, this, [this](bool) {
        // Tabbed or minimised windows report hidden too; only an explicit close counts.
        MenuItem("ObjectPanel1")->setChecked(!mPanel->isHidden());
    });

    QMenu* nastroje = bar->addMenu(U("Nástroje"));
    connect(AddItem(nastroje, "Spustit1", "Výpočet", QKeySequence(Qt::Key_F11)), &QAction::triggered, this,
            &TForm1::Spustit1Click);
    connect(AddItem(nastroje, "Vysledky1", "Výsledky", QKeySequence(Qt::Key_F12)), &QAction::triggered, this,
            &TForm1::Reakce1Click);
    connect(AddItem(nastroje, "Protokol1", "Protokol"), &QAction::triggered, this, &TForm1::Protokol1Click);
    connect(AddItem(nastroje, "UlozitWMF1", "Uložit plátno jako WMF"), &QAction::triggered, this,
            &TForm1::UloitjakoWMF1Click);
    connect(AddItem(nastroje, "Tisk1", "Tisk"), &QAction::triggered, this, &TForm1::PrintCanvas1Click);
    connect(AddItem(nastroje, "Kopirovat1", "Kopírovat", QKeySequence("Ctrl+C")), &QAction::triggered, this,
            &TForm1::CopytoClipboard1Click);
    nastroje->addSeparator();
    AddItem(nastroje, "Nastaveni1", "Nastavení", {}, false);

    QMenu* napoveda = bar->addMenu(U("Nápověda"));
    connect(AddItem(napoveda, "Napoveda1", "Nápověda ...", QKeySequence(Qt::Key_F1)), &QAction::triggered,
            this, &TForm1::Napoveda1Click);
    napoveda->addSeparator();
    connect(AddItem(napoveda, "Oprogramu1", "O programu ..."), &QAction::triggered, this,
            &TForm1::About1Click);
}

void TForm1::ConnectPanel() {
    auto button = [this](const char* name) { return mPanel->findChild<QAbstractButton*>(name); };
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
        auto* b = mPanel->findChild<QToolButton*>(n);
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

void TForm1::FormKeyPress(QChar key) {
    Klavesa(key);
}

void TForm1::Klavesa(QChar key) {
    switch (key.unicode()) {
    case '-':
        Button3Click();
        break;
    case '+':
        Button2Click();
        break;
    case '*':
        ShowAllBtnClick();
        break;
    case 'p':
        CreateMemberP();
        break;
    case 'r':
        RefPointAD();
        break;
    case 'R':
        SetRefPoint();
        break;
    case ' ':
        mPanel->NextPage();
        break;
    case 'f':
        PrizpusobMeritkoClick();
        break;
    case '<':
    case '>':
        if (TPrut* m = mSpace.CurrentMember) {
            bool& hinge = key == '<' ? m->HingeA : m->HingeB;
            hinge = !hinge;
            ModelEdited();
            mSpace.Prekresli();
        }
        break;
    case 'u':
        sbNCoorCh1Click("sbNewNCoor");
        break;
    case 't':
        sbNCoorCh1Click("sbNCoorCh1");
        break;
    case 'l':
        FormZatizeni(mPanel->MenuIndex() == 1 ? "sbAddLU" : "sbAddLP");
        break;
    default:
        break;
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched->objectName() == "lPocvybuz") {
            UnselectNodes();
            return true;
        }
        if (watched->objectName() == "lPocvybpr") {
            ClrSeznamVP();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        // A click that chooses an item of a menu.
        auto* menu = qobject_cast<QMenu*>(watched);
        QAction* item = menu ? menu->activeAction() : nullptr;
        if (item && item->isEnabled() && !item->menu() && !item->isSeparator()) mMenuChosen.start();
    }
    if ((event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) &&
        mMenuChosen.isValid() && mMenuChosen.elapsed() < QApplication::doubleClickInterval()) {
        // The rest of a double click on a menu item, landing on whatever lay under the menu.
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this && !qobject_cast<QMenuBar*>(w)) return true;
    }
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        if (watched == mCanvas->findChild<QWidget*>("GridBtn") || watched->objectName() == "GridBtn") {
            GridEdit();
            return true;
        }
        if (watched->objectName() == "SnapBtn") {
            SnapEdit();
            return true;
        }
    }
    // Key preview: a printable character typed anywhere in this window is a command and reaches
    // no control.
    if (event->type() == QEvent::KeyPress) {
        auto* w = qobject_cast<QWidget*>(watched);
        const bool ours = w && (w->window() == this || mPanel->isAncestorOf(w) || w == mPanel);
        if (ours && !mPanel->HasOwnKeyHandler(w)) {
            auto* key = static_cast<QKeyEvent*>(event);
            const QString text = key->text();
            const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
            if (text.size() == 1 && text.at(0).isPrint() && !command) {
                FormKeyPress(text.at(0));
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!mAskOnClose || Dialogs().AskYesNo("Ukončit program? Neuložené změny budou ztraceny."))
        event->accept();
    else
        event->ignore();
}

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

bool TForm1::ReadSectionLibrary(const QString& path) {
    try {
        mSpace.NactiKnihovnuProfilu(S(path));
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

bool TForm1::ReadMaterialLibrary(const QString& path) {
    try {
        mSpace.NactiKnihovnuMaterialu(S(path));
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

void TForm1::sbComputeClick() {
    if (mSpace.Members.Empty()) return;
    mSession.Settle(); // an edit not yet seen is a step before the computation changes anything
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mLastStatus = {};
    mComputation(mSpace);
    QApplication::restoreOverrideCursor();
    if (mSpace.ResultsValid)
        mTabs->setEnabled(true);
    else
        ResultTabsToModel();
    mSession.Computed(mLastStatus);
    if (mSpace.ResultsValid) {
        mTabFit.Computed();
        if (mTabFit.Shown(mTabs->currentIndex())) PrizpusobMeritkoClick();
    }
    mSpace.Prekresli();
}

void TForm1::FlatTabControl2Change(int index) {
    if (index < 0) return;
    mSpace.SetTypZobrazeni(static_cast<std::uint8_t>(index));
    if (mSpace.ResultsValid && mTabFit.Shown(index)) PrizpusobMeritkoClick();
    const bool imperial = mSpace.UnitSystem == 1;
    if (index == 4)
        SetStatus(3, imperial ? "in" : "mm");
    else
        SetStatus(3, imperial ? "ft-in" : "m");
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

void TForm1::Reakce1Click() {
    TStyledDocument doc;
    BuildResultsReport(mSpace, doc);
    mForm6->ShowDocument(doc);
}

// The protocol first deletes the nodes, sections and materials nothing uses (permanently, without
// a question), refreshes what shows them and then lists the model.
void TForm1::Protokol1Click() {
    mForm6->Clear();
    const int nodes = mSpace.Nodes.Count();
    mSpace.SmazNepripojeneUzly();
    mPanel->VypisHodnotyUzlu();
    const int sections = mSpace.Sections.Count();
    const int materials = mSpace.Materials.Count();
    mSpace.SmazNepouziteProfily();
    mSpace.SmazNepouziteMaterialy();
    if (mSpace.Nodes.Count() != nodes || mSpace.Sections.Count() != sections ||
        mSpace.Materials.Count() != materials)
        ModelEdited();
    ShowSelectionCounts();
    // One repaint after the whole clean-up, so that it is one edit (sections and materials are
    // not drawn).
    mSpace.Prekresli();
    mPanel->RefreshListsKeepingCurrent();
    TStyledDocument doc;
    ListProtocol(mSpace, doc);
    mForm6->ShowDocument(doc);
}

void TForm1::sbShowMatrClick() {
    if (!mSpace.CurrentMember) return;
    mForm4->Fill(*mSpace.CurrentMember, DecimalSeparator(), mSpace.UnitSystem == 1);
}

void TForm1::sbDDelka1Click(const QString& button) {
    mForm2->Open(button);
}

void TForm1::sbNCoorCh1Click(const QString& button) {
    mForm3->Open(button);
}

void TForm1::FormZatizeni(const QString& sender) {
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
        if (auto* b = mPanel->findChild<QAbstractButton*>(button)) {
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
