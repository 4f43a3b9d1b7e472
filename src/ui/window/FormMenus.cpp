// The main window's toolbars, menus and the popup menus of the fixed libraries.
#include "ui/window/MKPUnit1.h"

#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <utility>

#include "ui/common/Glyphs.h"
#include "ui/dialogs/PrutDialog.h"
#include "ui/dialogs/UzelDialog.h"
#include "ui/export/CanvasExport.h"
#include "ui/export/VyslMemo.h"
#include "ui/help/HelpWindow.h"
#include "ui/panel/ObjectPanel.h"

namespace {
QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

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
    QToolBar* files = mFilesBar = bar("Files", topBottom);
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

    QToolBar* edit = mEditBar = bar("Editace", Qt::AllToolBarAreas);
    AddTool(edit, "tbeMoveNode", "Přesun uzlu myší ...", true);

    // The view toolbar gets a row of its own, so that every button shows at the default width.
    addToolBarBreak(Qt::TopToolBarArea);
    QToolBar* view = mViewBar = bar("View", topBottom);
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
    mGridButton = view->widgetForAction(Tool("GridBtn"));
    mSnapButton = view->widgetForAction(Tool("SnapBtn"));
    for (QWidget* w : {mGridButton, mSnapButton})
        if (w) {
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
    for (const auto& [name, menu] : {std::pair{"ToolButton2", mPopupMenu3}, std::pair{"ToolButton5", mPopupMenu4}}) {
        auto* b = qobject_cast<QToolButton*>(mFilesBar->widgetForAction(Tool(name)));
        if (!b) continue;
        b->setMenu(menu);
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
