// The object panel's widgets: the dock, its tab bar and notebook, and the three pages with their
// labels, buttons and shapes, each kept under its name as it is made.
#include "ui/panel/ObjectPanel.h"

#include <algorithm>

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>

#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/panel/LoadInput.h"
#include "ui/panel/ObjectPanelLogic.h"
#include "ui/panel/ObjectPanelWidgets.h"
#include "ui/panel/PanelHost.h"

namespace {

constexpr int KClientWidth = 238;
constexpr int KClientHeight = 401;
constexpr int KTabHeight = 22;
constexpr int KRow = 18; // height of one label row

QLabel* Caption(QWidget* page, const QString& text, int x, int y, int w = 80) {
    auto* l = new QLabel(text, page);
    l->setGeometry(x, y, w, KRow);
    return l;
}

} // namespace

QLabel* TObjectPanel::Value(QWidget* page, const char* name, int x, int y, int w, const QString& hint) {
    auto* l = new QLabel(page);
    mValues.emplace(name, l);
    l->setObjectName(name);
    l->setGeometry(x, y, w, KRow);
    l->setToolTip(hint);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}

// A small flat button with its hint; buttons whose dialogs are not built yet start disabled.
QToolButton* TObjectPanel::Button(QWidget* page, const char* name, const QString& hint, const QString& glyph, int x,
                                  int y, bool enabled) {
    auto* b = new QToolButton(page);
    mButtons.emplace(name, b);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setText(glyph);
    b->setAutoRaise(true);
    b->setGeometry(x, y, 22, 22);
    b->setEnabled(enabled);
    return b;
}

TPanelShape* TObjectPanel::Shape(QWidget* page, const char* name, TPanelShape::TKind kind, const QRect& r,
                                  const QString& hint) {
    auto* s = new TPanelShape(kind, page);
    mShapes.emplace(name, s);
    s->setObjectName(name);
    s->setGeometry(r);
    s->setToolTip(hint);
    return s;
}

TObjectPanel::TObjectPanel(TPanelHost& host, QWidget* parent) : QDockWidget(parent), mHost(host) {
    setObjectName("TBXDockablePanel1");
    setWindowTitle(QString::fromUtf8("Panel objektů"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                QDockWidget::DockWidgetClosable);

    auto* client = new QWidget(this);
    client->setObjectName("TBXDockablePanel1Client");
    client->setFixedSize(KClientWidth, KClientHeight);
    // The pages are laid out for a small dialog font, as the labels' fixed widths assume.
    QFont small = client->font();
    small.setPointSize(8);
    client->setFont(small);
    mNotebook = new QStackedWidget(client);
    mNotebook->setObjectName("Notebook1");
    mNotebook->setGeometry(0, 0, KClientWidth, KClientHeight - KTabHeight);
    mTabs = new QTabBar(client);
    mTabs->setObjectName("FlatTabControl1");
    mTabs->setShape(QTabBar::RoundedSouth);
    mTabs->setExpanding(false);
    mTabs->setDrawBase(false);
    mTabs->addTab("Prut");
    mTabs->addTab("Uzel");
    mTabs->addTab("Profil");
    mTabs->setGeometry(0, KClientHeight - KTabHeight, KClientWidth, KTabHeight);
    connect(mTabs, &QTabBar::currentChanged, mNotebook, &QStackedWidget::setCurrentIndex);
    setWidget(client);

    mPopupMenu1 = new QMenu(this);
    mPopupMenu1->setObjectName("PopupMenu1");
    const char* kinds[KSupportKindCount] = {"(žádná)",
                                            "Vetknutí",
                                            "Kloub (u,w-vazba)",
                                            "Pos. kloub (u-vazba)",
                                            "Pos. kloub (w-vazba)",
                                            "Pos. vetknutí (u,rot.-vazba)"};
    for (int i = 0; i < KSupportKindCount; ++i) {
        QAction* a = mPopupMenu1->addAction(QString::fromUtf8(kinds[i]));
        a->setData(i);
        connect(a, &QAction::triggered, this, [this, i] { NastavPodporu(i); });
    }
    mPopupMenu2 = new QMenu(this);
    mPopupMenu2->setObjectName("PopupMenu2");
    QAction* toA = mPopupMenu2->addAction(QString::fromUtf8("Přiřadit uzlu \"a\" ..."));
    toA->setObjectName("PriraditUzluA");
    connect(toA, &QAction::triggered, this, &TObjectPanel::PriraditUzluA);
    QAction* toB = mPopupMenu2->addAction(QString::fromUtf8("Přiřadit uzlu \"b\" ..."));
    toB->setObjectName("PriraditUzluB");
    connect(toB, &QAction::triggered, this, &TObjectPanel::PriraditUzluB);

    const char* pages[3] = {"Prut", "Uzel", "Profil"};
    for (int i = 0; i < 3; ++i) {
        auto* page = new QWidget(mNotebook);
        page->setObjectName(QString("Page") + pages[i]);
        mNotebook->addWidget(page);
    }
    BuildMemberPage(mNotebook->widget(0));
    BuildNodePage(mNotebook->widget(1));
    BuildSectionPage(mNotebook->widget(2));
    SetMenuIndex(0);
}

TObjectPanel::~TObjectPanel() = default;

void TObjectPanel::BuildMemberPage(QWidget* page) {
    // The member schematic: node "a", the member line, node "b", the two end connections.
    auto* number = Value(page, "lCisloP", 99, 4, 40, QString::fromUtf8("číslo prutu"));
    number->setFrameShape(QFrame::NoFrame);
    number->setAlignment(Qt::AlignCenter);
    number->setStyleSheet("color: green; font-weight: bold;");
    auto* shUzel1 =
        Shape(page, "shUzel1", TPanelShape::KCircle, QRect(14, 25, 12, 12), QString::fromUtf8("uzel \"a\""));
    auto* shape3 = Shape(page, "Shape3", TPanelShape::KLine, QRect(26, 27, 186, 8));
    auto* shUzel2 =
        Shape(page, "shUzel2", TPanelShape::KCircle, QRect(212, 25, 12, 12), QString::fromUtf8("uzel \"b\""));
    auto* shPrip1 = Shape(page, "shPripojeni1", TPanelShape::KCircle, QRect(28, 24, 14, 14),
                          QString::fromUtf8("Pevné připojení/kloub"));
    auto* shPrip2 = Shape(page, "shPripojeni2", TPanelShape::KCircle, QRect(196, 24, 14, 14),
                          QString::fromUtf8("Pevné připojení/kloub"));
    shape3->lower();
    shUzel1->SetBrush(Qt::black, false);
    shUzel2->SetBrush(Qt::black, false);
    for (TPanelShape* s : {shPrip1, shPrip2}) {
        s->SetBrush(Qt::white, true);
        s->SetPen(false);
    }
    connect(shUzel1, &TPanelShape::Clicked, this, &TObjectPanel::shUzel1Click);
    connect(shUzel2, &TPanelShape::Clicked, this, &TObjectPanel::shUzel2Click);
    connect(shape3, &TPanelShape::Clicked, this, &TObjectPanel::Shape3Click);
    connect(shPrip1, &TPanelShape::Clicked, this, &TObjectPanel::shPripojeni1Click);
    connect(shPrip2, &TPanelShape::Clicked, this, &TObjectPanel::shPripojeni2Click);
    auto* u1 = Value(page, "lCisloU1", 4, 40, 34, QString::fromUtf8("číslo uzlu \"a\""));
    auto* u2 = Value(page, "lCisloU2", 200, 40, 34, QString::fromUtf8("číslo uzlu \"b\""));
    for (QLabel* l : {u1, u2}) {
        l->setFrameShape(QFrame::NoFrame);
        l->setAlignment(Qt::AlignCenter);
        l->setStyleSheet("color: red; font-weight: bold;");
    }

    // Member commands.
    auto* assign = Button(page, "ToolButton9", QString::fromUtf8("Přiřadit uzel ..."), "a/b", 44, 40);
    assign->setMenu(mPopupMenu2);
    assign->setPopupMode(QToolButton::InstantPopup);
    assign->setGeometry(44, 40, 34, 22);
    connect(Button(page, "SpeedButton1", QString::fromUtf8("Zaměnit uzly ..."), "⇄", 80, 40),
            &QToolButton::clicked, this, &TObjectPanel::SpeedButton1Click);
    connect(Button(page, "sbDelPrut1", QString::fromUtf8("Smazat prut ..."), "✕", 104, 40),
            &QToolButton::clicked, this, &TObjectPanel::sbDelPrut1Click);
    Button(page, "sbCompute", QString::fromUtf8("Výpočet ..."), "=", 146, 40);
    Button(page, "sbShowMatr", QString::fromUtf8("Matice ..."), "[k]", 170, 40, false);

    int y = 68;
    Caption(page, "Profil:", 4, y, 60)->setToolTip("Profil");
    Value(page, "lPrP", 66, y, 76, "Profil");
    connect(Button(page, "sbCopyPr", QString::fromUtf8("Kopírovat profil ..."), "C", 144, y - 2),
            &QToolButton::clicked, this, &TObjectPanel::sbCopyPrClick);
    connect(Button(page, "sbPastePr", QString::fromUtf8("Vložit profil ..."), "V", 166, y - 2),
            &QToolButton::clicked, this, &TObjectPanel::sbPastePrClick);
    connect(Button(page, "sbSAPr", QString::fromUtf8("NAstavit profil jako výchozí ..."), "S", 188, y - 2),
            &QToolButton::clicked, this, &TObjectPanel::sbSAPrClick);
    connect(Button(page, "sbGAPr", QString::fromUtf8("Přiřadit výchozí profil ..."), "P", 210, y - 2),
            &QToolButton::clicked, this, &TObjectPanel::sbGAPrClick);
    y += 22;
    Caption(page, QString::fromUtf8("Orient.profilu:"), 4, y, 84);
    auto* turn = Value(page, "lPrRP", 90, y, 52, QString::fromUtf8("Otočit profil ..."));
    turn->setCursor(Qt::PointingHandCursor);
    turn->installEventFilter(this);
    connect(Button(page, "SpeedButton2", QString::fromUtf8("Otočit profil ..."), "↻", 144, y - 2),
            &QToolButton::clicked, this, &TObjectPanel::SpeedButton2Click);
    y += 22;
    Caption(page, QString::fromUtf8("Délka:"), 4, y, 60);
    Value(page, "lDelkaP", 66, y, 76, QString::fromUtf8("délka prutu"));
    Button(page, "sbDDelka1", QString::fromUtf8("Změnit délku ..."), "L", 144, y - 2, false);
    Button(page, "sbDDelka2", QString::fromUtf8("Změnit délku podle prutu ..."), "L=", 166, y - 2, false);
    Button(page, "sbDDelka3", QString::fromUtf8("Prodloužit k ose ..."), "L→", 188, y - 2, false);
    y += 22;
    Caption(page, QString::fromUtf8("Úhel:"), 4, y, 34);
    Caption(page, QString::fromUtf8("γ"), 40, y, 20);
    Value(page, "lUhelP", 66, y, 76);
    Button(page, "sbDUhel3", QString::fromUtf8("Otočit (uzel \"a\" je pevný)"), "γ", 144, y - 2, false);
    Button(page, "sbDUhel2", QString::fromUtf8("Rovnoběžně s prutem ..."), "∥", 166, y - 2, false);
    Button(page, "sbDUhel1", QString::fromUtf8("Kolmo k prutu ..."), "⊥", 188, y - 2, false);
    Button(page, "sbDUhel4", QString::fromUtf8("Natočit pod úhlem k prutu ..."), "∠", 210, y - 2, false);
    y += 22;
    Caption(page, QString::fromUtf8("sin γ"), 4, y, 34);
    Value(page, "lSinP", 40, y, 76);
    Caption(page, QString::fromUtf8("cos γ"), 120, y, 34);
    Value(page, "lCosP", 156, y, 76);
    y += 22;
    Caption(page, QString::fromUtf8("Dělení:"), 4, y, 60);
    Value(page, "lDeleni", 66, y, 40);
    Button(page, "sbPInsN", QString::fromUtf8("Rozdělit prut (vložit uzel)"), "+u", 144, y - 2, false);
    y += 22;
    Caption(page, QString::fromUtf8("Pomocný prut:"), 4, y, 84);
    Value(page, "lCPomPr", 90, y, 40);
    Caption(page, QString::fromUtf8("Uzel:"), 136, y, 34)->setToolTip(QString::fromUtf8("Pomocný uzel ..."));
    Value(page, "lCPomUz", 172, y, 40, QString::fromUtf8("Pomocný uzel ..."));

    // The current member load.
    y += 28;
    Caption(page, QString::fromUtf8("Koeficient:"), 4, y, 84);
    Value(page, "lZSSoucinitelP", 90, y, 60);
    y += 22;
    Caption(page, QString::fromUtf8("Velikost"), 4, y, 60);
    Value(page, "lZatPVelikost", 66, y, 166);
    y += 22;
    Caption(page, QString::fromUtf8("Umístění"), 4, y, 60);
    Value(page, "lZatPPoloha", 66, y, 166);
    y += 22;
    Caption(page, QString::fromUtf8("Typ:"), 4, y, 60);
    Value(page, "lZatPTyp", 66, y, 80);
    Caption(page, QString::fromUtf8("Směr:"), 150, y, 34);
    Value(page, "lZatPUhel", 184, y, 48);
    y += 26;
    auto* counter = Value(page, "lZatPCounter", 4, y + 3, 50);
    counter->setText("x/x");
    auto* spin = new TSpinButton(page);
    spin->setObjectName("SpinButton2");
    spin->move(58, y);
    connect(spin, &TSpinButton::UpClick, this, &TObjectPanel::SpinButton2UpClick);
    connect(spin, &TSpinButton::DownClick, this, &TObjectPanel::SpinButton2DownClick);
    Button(page, "sbAddLP", QString::fromUtf8("Přidat zatížení ..."), "+F", 80, y + 1);
    connect(Button(page, "sbDelLP", QString::fromUtf8("Smazat zatížení ..."), "−F", 104, y + 1),
            &QToolButton::clicked, this, &TObjectPanel::sbDelLPClick);
    Button(page, "sbEditLP", QString::fromUtf8("Upravit zatížení ... (dvojklik na zatížení)"), "✎F", 128,
           y + 1);
    // The case of the current load, in a model with cases only.
    y += 28;
    auto* caseCaption = Caption(page, QString::fromUtf8("Zat. stav:"), 4, y, 60);
    caseCaption->setObjectName("lZatPStavCaption");
    mValues.emplace("lZatPStavCaption", caseCaption);
    auto* caseValue = Value(page, "lZatPStav", 66, y, 166, QString::fromUtf8("zatěžovací stav zatížení"));
    caseCaption->hide();
    caseValue->hide();
}

void TObjectPanel::BuildNodePage(QWidget* page) {
    int y = 6;
    Caption(page, QString::fromUtf8("Uzel:"), 4, y, 60)->setToolTip(QString::fromUtf8("číslo uzlu"));
    Value(page, "lCisloU", 66, y, 50, QString::fromUtf8("číslo uzlu"));
    Button(page, "sbNewNCoor", QString::fromUtf8("Přdat uzel (u)"), "+u", 144, y - 2, false);
    Button(page, "sbNCoorCh1", QString::fromUtf8("Přesunout uzel ... (t)"), "→", 166, y - 2, false);
    Button(page, "SpeedButton4", QString::fromUtf8("Umístit kotvu do uzlu. (Shift+r)"), "⚓", 188, y - 2);
    Button(page, "SpeedButton7", QString::fromUtf8("Smazat nepřipojené .... (Ctrl+Del)"), "✕", 210, y - 2);
    y += 22;
    Value(page, "lSouradniceU", 4, y, 228, QString::fromUtf8("souřadnice"));
    y += 22;
    auto* supportCaption = Caption(page, QString::fromUtf8("Podpora:"), 4, y, 60);
    supportCaption->setObjectName("PodporaCaption");
    supportCaption->installEventFilter(this);
    auto* support = Value(page, "Podporalbl", 66, y, 100);
    support->installEventFilter(this);
    auto* kinds = Button(page, "ToolButton10", QString::fromUtf8("Změnit podepření ..."), "▲", 170, y - 2);
    kinds->setMenu(mPopupMenu1);
    kinds->setPopupMode(QToolButton::InstantPopup);
    kinds->setGeometry(170, y - 2, 32, 22);
    y += 22;
    Caption(page, QString::fromUtf8("Orientace:"), 4, y, 60);
    Value(page, "NatPodplbl", 66, y, 100);
    Button(page, "sbPdpRot1", QString::fromUtf8("NAtočit podporu ..."), "∠", 170, y - 2, false);
    Button(page, "sbPdpRot2", QString::fromUtf8("NAtočit podporu k prutu ..."), "∠p", 192, y - 2, false);
    y += 22;
    Caption(page, QString::fromUtf8("Pomocný prut:"), 4, y, 84);
    Value(page, "lCPomPr1", 90, y, 40);
    y += 22;
    Button(page, "sbNewNExpr", QString::fromUtf8("2D f(x) editor"), "f(x)", 4, y, false)
        ->setGeometry(4, y, 40, 22);

    y += 40;
    Caption(page, QString::fromUtf8("Koeficient:"), 4, y, 84);
    Value(page, "lZSSoucinitelU", 90, y, 60);
    y += 22;
    Caption(page, QString::fromUtf8("Velikost:"), 4, y, 60);
    Value(page, "lZatUVelikost", 66, y, 166);
    y += 22;
    Caption(page, QString::fromUtf8("Typ:"), 4, y, 60);
    Value(page, "lZatUTyp", 66, y, 80);
    Caption(page, QString::fromUtf8("Směr:"), 150, y, 34);
    Value(page, "lZatUUhel", 184, y, 48);
    y += 26;
    Value(page, "lZatUCounter", 4, y + 3, 50)->setText("x/x");
    auto* spin = new TSpinButton(page);
    spin->setObjectName("SpinButton1");
    spin->move(58, y);
    connect(spin, &TSpinButton::UpClick, this, &TObjectPanel::SpinButton1UpClick);
    connect(spin, &TSpinButton::DownClick, this, &TObjectPanel::SpinButton1DownClick);
    Button(page, "sbAddLU", QString::fromUtf8("Přidat zatížení ..."), "+F", 80, y + 1);
    connect(Button(page, "sbDelLU", QString::fromUtf8("Smazat zatížení ..."), "−F", 104, y + 1),
            &QToolButton::clicked, this, &TObjectPanel::sbDelLUClick);
    Button(page, "sbEditLU", QString::fromUtf8("Upravit zatížení ... (dvojklik na zatížení)"), "✎F", 128,
           y + 1);
    y += 28;
    auto* caseCaption = Caption(page, QString::fromUtf8("Zat. stav:"), 4, y, 60);
    caseCaption->setObjectName("lZatUStavCaption");
    mValues.emplace("lZatUStavCaption", caseCaption);
    auto* caseValue = Value(page, "lZatUStav", 66, y, 166, QString::fromUtf8("zatěžovací stav zatížení"));
    caseCaption->hide();
    caseValue->hide();
}

void TObjectPanel::BuildSectionPage(QWidget* page) {
    // The combo boxes show any name as their text (also one not among the items); typed characters
    // never reach their edit fields, they go to the main window's keyboard commands.
    auto makeCombo = [this, page](const char* name, const QString& hint, int y) {
        auto* c = new QComboBox(page);
        c->setObjectName(name);
        c->setToolTip(hint);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setGeometry(66, y, 120, 22);
        c->installEventFilter(this);
        c->lineEdit()->installEventFilter(this);
        // Nothing but the program writes the edit field (no pasting or dropping a name into it).
        c->lineEdit()->setReadOnly(true);
        c->lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
        c->lineEdit()->setAcceptDrops(false);
        return c;
    };
    int y = 6;
    Caption(page, "Profil:", 4, y + 2, 60);
    mProfily = makeCombo("cbProfily", "Shape library ...", y);
    connect(mProfily, &QComboBox::textActivated, this, &TObjectPanel::cbProfilyChange);
    Button(page, "ToolButton12", QString::fromUtf8("Načíst knihovnu ..."), "▼", 188, y)
        ->setPopupMode(QToolButton::InstantPopup);
    Button(page, "SpeedButton8", QString::fromUtf8("Definovat profil ..."), "+", 210, y, false);
    y += 28;
    Caption(page, "A:", 4, y, 40);
    Value(page, "lAPr", 66, y, 166);
    y += 22;
    Caption(page, "Iy:", 4, y, 40);
    Value(page, "lIyPr", 66, y, 166);
    y += 22;
    Caption(page, "Iz:", 4, y, 40);
    Value(page, "lIzPr", 66, y, 166);
    y += 22;
    Caption(page, "m (1m):", 4, y, 60);
    Value(page, "lmPr", 66, y, 166);
    y += 24;
    connect(Button(page, "sbDelNUCrs", QString::fromUtf8("Smazat nepoužité profily ..."), "✕", 4, y),
            &QToolButton::clicked, this, &TObjectPanel::sbDelNUCrsClick);
    connect(Button(page, "sbCrsAssAll", QString::fromUtf8("Přiřadit všem ..."), "∀", 28, y),
            &QToolButton::clicked, this, &TObjectPanel::AssCrSToAll);
    connect(Button(page, "sbCrsAssSel", QString::fromUtf8("Přiřadit vybraným ..."), "⊂", 52, y),
            &QToolButton::clicked, this, &TObjectPanel::AssCrSToSel);

    y += 40;
    Caption(page, QString::fromUtf8("Materiál:"), 4, y + 2, 60);
    mMaterialy = makeCombo("cbMaterialy", "Material library ...", y);
    connect(mMaterialy, &QComboBox::textActivated, this, &TObjectPanel::cbMaterialyChange);
    Button(page, "ToolButton11", QString::fromUtf8("Načíst knihovnu ..."), "▼", 188, y)
        ->setPopupMode(QToolButton::InstantPopup);
    Button(page, "SpeedButton11", QString::fromUtf8("Definovat materiál ..."), "+", 210, y, false);
    y += 28;
    Caption(page, "E:", 4, y, 40);
    Value(page, "lEMat", 66, y, 166);
    y += 22;
    Caption(page, QString::fromUtf8("ρ:"), 4, y, 40);
    Value(page, "lDMat", 66, y, 166);
    y += 24;
    connect(Button(page, "sbDelNUMat", QString::fromUtf8("Smazat nepoužité materiály ..."), "✕", 4, y),
            &QToolButton::clicked, this, &TObjectPanel::sbDelNUMatClick);
}
