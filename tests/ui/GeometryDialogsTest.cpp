#include <QAbstractButton>
#include <sstream>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "MainWindowTestSupport.h"
#include "ui/common/Glyphs.h"
#include "ui/dialogs/PrutDialog.h"
#include "ui/dialogs/UzelDialog.h"
#include "ui/help/HelpWindow.h"
#include "ui/panel/ObjectPanel.h"

namespace {

class TGeometryDialogsTest : public TMainWindowTest {
protected:
    void SetUp() override {
        TMainWindowTest::SetUp();
        Separator = DecimalSeparator();
        SetDecimalSeparator(',');
    }
    void TearDown() override {
        SetDecimalSeparator(Separator);
        TMainWindowTest::TearDown();
    }
    // The member (0, 0)-(3, 4) with one load, current; a horizontal auxiliary member selected.
    TPrut* Frame() {
        AddSection();
        TUzel* a = Space().PridejUzel(1, 0, 0);
        TUzel* b = Space().PridejUzel(2, 3, 4);
        TUzel* p = Space().PridejUzel(3, 0, -1);
        TUzel* q = Space().PridejUzel(4, 5, -1);
        TPrut* aux = Space().PridejPrut(p, q, Space().CurrentSection, false, 1, false, false);
        TPrut* m = Space().PridejPrut(a, b, Space().CurrentSection, false, 2, false, false);
        m->PridejZatizeni(KLoadForce, nullptr, 1.0L, 0.0L, 10.0L, 0.0L, 90.0L);
        Space().SelectedMembers.Add(aux);
        Space().CurrentNode = a;
        return m;
    }
    QAbstractButton* PanelButton(const char* name) { return Form->Panel()->findChild<QAbstractButton*>(name); }
    QString Label(const char* name) { return Form->Panel()->findChild<QLabel*>(name)->text(); }

    char Separator = '.';
};

} // namespace

// Every way in: the panel buttons, the menu items and the keys open their dialog with its caption
// and remember their tool.
TEST_F(TGeometryDialogsTest, ButtonsMenuItemsAndKeysOpenTheDialogs) {
    Frame();
    enum TWay { KButton, KMenu, KKey };
    struct TRow {
        TWay Way;
        const char* Name;
        const char* Tool;
        const char* Caption;
    } rows[] = {
        {KButton, "sbDDelka1", "sbDDelka1", "Délka"},
        {KButton, "sbDDelka2", "sbDDelka2", "Délka"},
        {KButton, "sbDDelka3", "sbDDelka3", "Délka"},
        {KButton, "sbDUhel1", "sbDUhel1", "Úhel"},
        {KButton, "sbDUhel2", "sbDUhel2", "Úhel"},
        {KButton, "sbDUhel3", "sbDUhel3", "Úhel"},
        {KButton, "sbDUhel4", "sbDUhel4", "Úhel"},
        {KButton, "sbPInsN", "sbPInsN", "Vytvořit uzel"},
        {KButton, "sbPdpRot1", "sbPdpRot1", "Natočení podpory"},
        {KButton, "sbPdpRot2", "sbPdpRot2", "Natočení podpory"},
        {KButton, "sbNCoorCh1", "sbNCoorCh1", "Souřadnice"},
        {KButton, "sbNewNCoor", "sbNewNCoor", "Nový uzel"},
        {KMenu, "Geometrie0", "sbDDelka1", "Délka"},
        {KMenu, "Geometrie1", "sbDDelka2", "Délka"},
        {KMenu, "Geometrie2", "sbDDelka3", "Délka"},
        {KMenu, "Geometrie3", "sbDUhel3", "Úhel"},
        {KMenu, "Geometrie4", "sbDUhel2", "Úhel"},
        {KMenu, "Geometrie5", "sbDUhel1", "Úhel"},
        {KMenu, "Geometrie6", "sbDUhel4", "Úhel"},
        {KMenu, "Absolutni1", "sbPdpRot1", "Natočení podpory"},
        {KMenu, "Relativnikprutu1", "sbPdpRot2", "Natočení podpory"},
        {KMenu, "Presunoutuzel1", "sbNCoorCh1", "Souřadnice"},
        {KMenu, "Novysouradnicemi1", "sbNewNCoor", "Nový uzel"},
        {KKey, "t", "sbNCoorCh1", "Souřadnice"},
        {KKey, "u", "sbNewNCoor", "Nový uzel"},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Name);
        Form->Form2()->hide();
        Form->Form3()->hide();
        if (r.Way == KButton) {
            QAbstractButton* b = PanelButton(r.Name);
            ASSERT_NE(b, nullptr);
            EXPECT_TRUE(b->isEnabled());
            b->click();
        } else if (r.Way == KMenu) {
            QAction* item = Form->MenuItem(r.Name);
            ASSERT_NE(item, nullptr);
            EXPECT_TRUE(item->isEnabled());
            item->trigger();
        } else {
            QTest::keyClick(Form->Canvas(), r.Name[0]);
        }
        const bool coordinates = QString(r.Tool).contains("NCoor");
        QDialog* shown = coordinates ? static_cast<QDialog*>(Form->Form3()) : Form->Form2();
        QDialog* other = coordinates ? static_cast<QDialog*>(Form->Form2()) : Form->Form3();
        EXPECT_TRUE(shown->isVisible());
        EXPECT_FALSE(other->isVisible());
        EXPECT_EQ(shown->windowTitle(), QString::fromUtf8(r.Caption));
        EXPECT_EQ(Form->RememberedTool(), r.Tool);
    }
    EXPECT_EQ(Form->MenuItem("Presunoutuzel1")->shortcut(), QKeySequence("Ctrl+T"));
    EXPECT_TRUE(Sink.Messages.empty());
}

TEST_F(TGeometryDialogsTest, DialogsAreNonModalToolWindowsWithTheirHelp) {
    struct TRow {
        QDialog* Dialog;
        int Help;
        bool OnTop;
    } rows[] = {{Form->Form2(), 220, true}, {Form->Form3(), 230, false}};
    Frame();
    Form->sbDDelka1Click("sbDDelka1");
    Form->sbNCoorCh1Click("sbNCoorCh1");
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Dialog->objectName().toStdString());
        EXPECT_FALSE(r.Dialog->isModal());
        EXPECT_EQ(r.Dialog->property("HelpContext").toInt(), r.Help);
        // F1 in the dialog's field finds the dialog's topic.
        EXPECT_EQ(HelpContextOf(r.Dialog->findChild<QLineEdit*>("Edit1")), r.Help);
        const Qt::WindowFlags f = r.Dialog->windowFlags();
        EXPECT_EQ(f.testFlag(Qt::WindowStaysOnTopHint), r.OnTop);
        EXPECT_TRUE(f.testFlag(Qt::CustomizeWindowHint));
        EXPECT_FALSE(f.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(f.testFlag(Qt::WindowMinMaxButtonsHint));
        EXPECT_LE((r.Dialog->geometry().center() - centre).manhattanLength(), 2);
        EXPECT_TRUE(r.Dialog->isVisible());
        // The main window goes on working while the dialog is open.
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

// Typing into the dialog reaches its field (the main window's key preview leaves it alone), Enter
// applies the length to the member and refreshes the member page; the loads at node "b" are gone.
TEST_F(TGeometryDialogsTest, LengthTypedAndConfirmedWithEnter) {
    TPrut* m = Frame();
    PanelButton("sbDDelka1")->click();
    QLineEdit* edit = Form->Form2()->Edit1();
    EXPECT_FALSE(edit->isReadOnly());
    QTest::keyClicks(edit, "2+");
    EXPECT_EQ(edit->text(), "2+");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_FALSE(Form->Form2()->isVisible());
    EXPECT_NEAR(static_cast<double>(m->NodeB->X), 4.2, 1e-12);
    EXPECT_NEAR(static_cast<double>(m->NodeB->Y), 5.6, 1e-12);
    EXPECT_EQ(m->Loads.Count(), 0);
    EXPECT_EQ(Form->Panel()->MenuIndex(), 0);
    EXPECT_EQ(Label("lDelkaP"), QString::fromUtf8("7,000m"));
    EXPECT_EQ(Label("lZatPCounter"), "");
    EXPECT_EQ(Space().Zoom(), 100); // "+" went into the field, not to the zoom command
}

TEST_F(TGeometryDialogsTest, ReadOnlyFieldAndTheParallelMessageThatKeepsTheDialogOpen) {
    TPrut* m = Frame();
    Form->sbDDelka1Click("sbDUhel1");
    EXPECT_TRUE(Form->Form2()->Edit1()->isReadOnly());
    EXPECT_EQ(Form->Form2()->Edit1()->text(), "90,000");
    QTest::mouseClick(Form->Form2()->findChild<QToolButton*>("SpeedButton2"), Qt::LeftButton);
    EXPECT_NEAR(static_cast<double>(m->Angle), 90.0, 1e-12);
    EXPECT_FALSE(Form->Form2()->isVisible());

    // Now parallel to the auxiliary member's axis: extending cannot work.
    Form->sbDDelka1Click("sbDDelka3");
    EXPECT_TRUE(Form->Form2()->isVisible());
    Form->sbDDelka1Click("sbDUhel2");
    Form->Form2()->SpeedButton2Click();
    Form->sbDDelka1Click("sbDDelka3");
    EXPECT_TRUE(Form->Form2()->isVisible());
    EXPECT_EQ(Form->Form2()->Edit1()->text(), "");
    const TReal x = m->NodeB->X, y = m->NodeB->Y;
    Form->Form2()->SpeedButton2Click();
    EXPECT_TRUE(Form->Form2()->isVisible());
    EXPECT_EQ(m->NodeB->X, x);
    EXPECT_EQ(m->NodeB->Y, y);
    ASSERT_GE(Sink.Messages.size(), 2u);
    EXPECT_EQ(Sink.Messages.back(), "Nelze prodloužit k ose. Zkontrolujte, zda pruty nejsou rovnoběžné.");
    QTest::keyClick(Form->Form2(), Qt::Key_Escape);
    EXPECT_FALSE(Form->Form2()->isVisible());
}

TEST_F(TGeometryDialogsTest, AuxiliaryToolWithoutSelectionTellsAndHides) {
    Frame();
    Space().SelectedMembers.Clear();
    PanelButton("sbDDelka2")->click();
    EXPECT_FALSE(Form->Form2()->isVisible());
    EXPECT_EQ(Sink.Messages, std::vector<std::string>{"Nejdříve vyberte pomocný prut.(Shift + left click)"});
}

// The remembered tool is shared: once the coordinates dialog was opened, the OK of the open
// single-value dialog only hides it.
TEST_F(TGeometryDialogsTest, OpeningAnotherDialogTakesTheRememberedTool) {
    TPrut* m = Frame();
    Form->sbDDelka1Click("sbDDelka1");
    Form->Form2()->Edit1()->setText("10");
    QTest::keyClick(Form->Canvas(), 'u');
    EXPECT_TRUE(Form->Form2()->isVisible());
    EXPECT_TRUE(Form->Form3()->isVisible());
    Form->Form2()->SpeedButton2Click();
    EXPECT_FALSE(Form->Form2()->isVisible());
    EXPECT_EQ(m->NodeB->X, 3.0L);
    EXPECT_EQ(m->Loads.Count(), 1);
    // Enter anywhere in the coordinates dialog confirms it.
    QTest::keyClicks(Form->Form3()->Edit1(), "1,5");
    QTest::keyClicks(Form->Form3()->Edit2(), "-2");
    QTest::keyClick(Form->Form3()->Edit2(), Qt::Key_Enter);
    EXPECT_FALSE(Form->Form3()->isVisible());
    ASSERT_EQ(Space().Nodes.Count(), 5);
    EXPECT_EQ(Space().CurrentNode, Space().Nodes.Last());
    EXPECT_EQ(Space().CurrentNode->X, 1.5L);
    EXPECT_EQ(Space().CurrentNode->Y, -2.0L);
    EXPECT_EQ(Form->Panel()->MenuIndex(), 1);
    EXPECT_EQ(Label("lCisloU"), "5");
}

TEST_F(TGeometryDialogsTest, MoveNodeAndSupportRotationRefreshTheNodePage) {
    TPrut* m = Frame();
    TUzel* a = m->NodeA;
    a->DofU.Angle = a->DofW.Angle = a->DofRot.Angle = 10.0L;
    Form->MenuItem("Absolutni1")->trigger();
    QTest::keyClicks(Form->Form2()->Edit1(), "30+");
    QTest::keyClick(Form->Form2()->Edit1(), Qt::Key_Return);
    EXPECT_EQ(a->DofRot.Angle, 40.0L);
    EXPECT_EQ(Label("NatPodplbl"), QString::fromUtf8("40,000°"));

    Form->MenuItem("Presunoutuzel1")->trigger();
    QTest::keyClicks(Form->Form3()->Edit1(), "1+");
    QTest::keyClick(Form->Form3(), Qt::Key_Return);
    EXPECT_EQ(a->X, 1.0L);
    EXPECT_EQ(a->Y, 0.0L);
    EXPECT_EQ(Label("lSouradniceU"), QString::fromUtf8("( 1,000 ; 0,000 )"));
    EXPECT_EQ(m->Loads.Count(), 1);
    // Esc leaves everything as it was.
    Form->MenuItem("Presunoutuzel1")->trigger();
    QTest::keyClicks(Form->Form3()->Edit1(), "7");
    QTest::keyClick(Form->Form3(), Qt::Key_Escape);
    EXPECT_FALSE(Form->Form3()->isVisible());
    EXPECT_EQ(a->X, 1.0L);
}

TEST_F(TGeometryDialogsTest, SplitFromThePanelMakesTheNewMemberCurrent) {
    TPrut* m = Frame();
    PanelButton("sbPInsN")->click();
    Form->Form2()->Edit1()->setText("0,2/");
    Form->Form2()->SpeedButton2Click();
    ASSERT_EQ(Space().Members.Count(), 3);
    EXPECT_EQ(Space().CurrentMember, Space().Members.Last());
    EXPECT_EQ(Label("lCisloP"), "3");
    EXPECT_EQ(Label("lDelkaP"), QString::fromUtf8("4,000m"));
    EXPECT_NEAR(static_cast<double>(m->Length), 1.0, 1e-12);
}

// Every tool button is visible at the window's default width (no "»" overflow), the results
// chooser too once the model has load cases, and it covers none of the result tabs.
TEST_F(TGeometryDialogsTest, EveryToolButtonShowsAtTheDefaultWidth) {
    ASSERT_EQ(Form->width(), 765);
    Space().PridejZatezovaciStav("G", TCaseKind::Permanent);
    Form->RepaintCanvas();
    QApplication::processEvents();
    ASSERT_TRUE(Form->ResultsBox()->isVisible());
    const auto inForm = [&](const QWidget* w) { return QRect(w->mapTo(Form.get(), QPoint(0, 0)), w->size()); };
    const QWidget* tabs = Form->findChild<QWidget*>("FlatTabControl2");
    ASSERT_NE(tabs, nullptr);
    EXPECT_FALSE(inForm(Form->ResultsBox()).intersects(inForm(tabs)));
    int buttons = 0;
    for (QToolBar* bar : Form->findChildren<QToolBar*>()) {
        for (QAction* a : bar->actions()) {
            if (a->isSeparator()) continue;
            QWidget* w = bar->widgetForAction(a);
            ASSERT_NE(w, nullptr);
            EXPECT_TRUE(w->isVisible()) << a->objectName().toStdString();
            EXPECT_LE(w->mapTo(Form.get(), QPoint(w->width(), 0)).x(), Form->width())
                << a->objectName().toStdString();
            ++buttons;
        }
    }
    EXPECT_GE(buttons, 28); // the buttons of the four toolbars were all looked at
}

// A right click on the grid or step button opens its input box and nothing else: no toolbar menu
// pops up once the box is closed.
TEST_F(TGeometryDialogsTest, RightClickOnGridOrStepButtonOpensOnlyTheInputBox) {
    for (const char* name : {"GridBtn", "SnapBtn"}) {
        SCOPED_TRACE(name);
        int boxes = 0;
        Form->SetInputBox([&](const QString&, const QString&, const QString& text) {
            ++boxes;
            return text;
        });
        QWidget* popup = nullptr;
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            if (QWidget* p = QApplication::activePopupWidget()) {
                popup = p;
                p->close();
            }
        });
        probe.start(10);
        auto* button = Form->findChild<QToolBar*>("View")->widgetForAction(Form->Tool(name));
        ASSERT_NE(button, nullptr);
        // The press, then the context menu event that the windowing system sends after it.
        QTest::mousePress(button, Qt::RightButton);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(button, &menuEvent);
        QTest::mouseRelease(button, Qt::RightButton);
        QTest::qWait(60);
        EXPECT_EQ(boxes, 1);
        EXPECT_EQ(popup, nullptr);
    }
}

// Neither a cancelled open nor a failed one leaves the "Profil" page showing a material that is gone.
TEST_F(TGeometryDialogsTest, ProfilPageForgetsTheMaterialAfterAnEmptyOpen) {
    Frame();
    Form->Panel()->VypisHodnotyProfilu();
    ASSERT_FALSE(Label("lEMat").isEmpty());
    ASSERT_FALSE(Label("lDMat").isEmpty());
    QTimer::singleShot(0, [] {
        if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) d->reject();
    });
    Form->nactis();
    EXPECT_EQ(Label("lEMat"), "");
    EXPECT_EQ(Label("lDMat"), "");

    Frame();
    Form->Panel()->VypisHodnotyProfilu();
    ASSERT_FALSE(Label("lEMat").isEmpty());
    Form->OpenProjectFile("/nonexistent/korvan/none.inp");
    EXPECT_EQ(Label("lEMat"), "");
    EXPECT_EQ(Label("lDMat"), "");
}

TEST(SplashTexts, EveryLineFitsTheSplashPicture) {
    for (const QSize size : {QSize(192, 81), QSize(200, 89)}) {
        const QList<TSplashText> texts = SplashTexts(size.width(), size.height());
        ASSERT_EQ(texts.size(), 3);
        EXPECT_EQ(texts.last().Text, QString::fromUtf8("Rámové konstrukce"));
        for (const TSplashText& t : texts) {
            SCOPED_TRACE(t.Text.toStdString());
            const QFontMetrics metrics(t.Font);
            EXPECT_LE(metrics.horizontalAdvance(t.Text), t.Box.width());
            EXPECT_GE(t.Box.left(), 0);
            EXPECT_LE(t.Box.right(), size.width());
            EXPECT_LE(t.Box.bottom(), size.height());
        }
    }
}

// A double click on "Okno" > "Panel objektů": the first click hides the panel, the second one
// lands where the menu was, over the view toolbar, and must not press the button there.
TEST_F(TGeometryDialogsTest, DoubleClickOnAMenuItemPressesNothingUnderIt) {
    QMenu* okno = nullptr;
    for (QAction* a : Form->menuBar()->actions())
        if (a->text() == "Okno") okno = a->menu();
    ASSERT_NE(okno, nullptr);
    QAction* item = Form->MenuItem("ObjectPanel1");
    okno->popup(Form->mapToGlobal(QPoint(400, 30)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
    QTest::mouseClick(okno, Qt::LeftButton, {}, okno->actionGeometry(item).center());
    EXPECT_FALSE(Form->Panel()->isVisible());
    QWidget* button = Form->findChild<QToolBar*>("View")->widgetForAction(Form->Tool("tbZoomOutW"));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(Form->IsDown("tbZoomOutW"));
    // A click of its own, later, presses it.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(Form->IsDown("tbZoomOutW"));
}

// Unconnected nodes go from the model and from the selection, by the button and by the menu item.
TEST_F(TGeometryDialogsTest, DeleteUnconnectedNodes) {
    for (bool byMenu : {false, true}) {
        SCOPED_TRACE(byMenu ? "menu" : "button");
        Space().SmazVse();
        Frame();
        TUzel* free1 = Space().PridejUzel(5, 7, 7);
        TUzel* free2 = Space().PridejUzel(6, 8, 8);
        Space().SelectedNodes.Add(free1);
        Space().SelectedNodes.Add(Space().Nodes[0]);
        Space().CurrentNode = free2;
        if (byMenu)
            Form->MenuItem("Smazatnepripojene1")->trigger();
        else
            PanelButton("SpeedButton7")->click();
        ASSERT_EQ(Space().Nodes.Count(), 4);
        EXPECT_EQ(Space().SelectedNodes.Count(), 1);
        EXPECT_EQ(Space().SelectedNodes.First(), Space().Nodes[0]);
        EXPECT_EQ(Space().CurrentNode, Space().Nodes.First());
        EXPECT_EQ(Form->StatusText(8), "1");
        EXPECT_EQ(Form->Panel()->MenuIndex(), 1);
        EXPECT_EQ(Label("lCisloU"), "1");
    }
}

// The load dialog takes the remembered tool too, and gives it back to nobody.
TEST_F(TGeometryDialogsTest, LoadDialogOpenedLaterLeavesTheGeometryDialogWithoutTool) {
    TPrut* m = Frame();
    Form->sbDDelka1Click("sbDDelka1");
    Form->Form2()->Edit1()->setText("10");
    QTest::keyClick(Form->Canvas(), 'l');
    EXPECT_EQ(Form->RememberedTool(), "sbAddLP");
    Form->Form2()->SpeedButton2Click();
    EXPECT_FALSE(Form->Form2()->isVisible());
    EXPECT_EQ(m->NodeB->X, 3.0L);
    EXPECT_EQ(m->Loads.Count(), 1);
    // And the other way round: the geometry dialog opened after the load dialog owns the tool.
    Form->sbDDelka1Click("sbDUhel3");
    EXPECT_EQ(Form->RememberedTool(), "sbDUhel3");
}

TEST_F(TGeometryDialogsTest, GeometryButtonsCarryTheirHints) {
    const std::pair<const char*, const char*> rows[] = {
        {"sbDDelka1", "Změnit délku ..."},
        {"sbDDelka2", "Změnit délku podle prutu ..."},
        {"sbDDelka3", "Prodloužit k ose ..."},
        {"sbDUhel3", "Otočit (uzel \"a\" je pevný)"},
        {"sbDUhel1", "Kolmo k prutu ..."},
        {"sbDUhel2", "Rovnoběžně s prutem ..."},
        {"sbDUhel4", "Natočit pod úhlem k prutu ..."},
        {"sbPInsN", "Rozdělit prut (vložit uzel)"},
        {"sbPdpRot1", "NAtočit podporu ..."},
        {"sbPdpRot2", "NAtočit podporu k prutu ..."},
        {"sbNCoorCh1", "Přesunout uzel ... (t)"},
        {"sbNewNCoor", "Přdat uzel (u)"},
    };
    for (const auto& [name, hint] : rows) {
        QAbstractButton* b = PanelButton(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(hint)) << name;
    }
}

// A geometry edit is one step of the undo history: undo puts node "b" and the deleted loads back.
TEST_F(TGeometryDialogsTest, GeometryEditIsUndone) {
    SetDecimalSeparator('.'); // as the project file writes its numbers
    Form->OpenProjectFile(KORVAN_SOURCE_DIR "/examples/portal-frame.inp");
    ASSERT_TRUE(Sink.Messages.empty());
    std::ostringstream before;
    Space().UlozProjekt(before);
    TPrut* column = Space().CurrentMember;
    ASSERT_NE(column, nullptr);
    const TReal x = column->NodeB->X, y = column->NodeB->Y;
    Form->sbDDelka1Click("sbDDelka1");
    Form->Form2()->Edit1()->setText("2+");
    Form->Form2()->SpeedButton2Click();
    ASSERT_NE(column->NodeB->Y, y);
    ASSERT_TRUE(Sink.Messages.empty());
    EXPECT_TRUE(Form->History().CanUndo());
    Form->Zpet();
    std::ostringstream after;
    Space().UlozProjekt(after);
    EXPECT_EQ(after.str(), before.str());
    EXPECT_EQ(Space().Members.First()->NodeB->X, x);
    EXPECT_EQ(Space().Members.First()->NodeB->Y, y);
}
