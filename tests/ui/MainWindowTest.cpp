#include <QAbstractButton>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>

#include "MainWindowTestSupport.h"
#include "ui/panel/ObjectPanel.h"

namespace {
struct TButtonRow {
    const char* Name;
    const char* Toolbar;
    const char* Hint;
    bool Checkable;
    bool DownAtStart;
};
const TButtonRow KButtons[] = {
    {"NewBtn", "Files", "Nový ...", false, false},
    {"ToolButton1", "Files", "Otevřít ...", false, false},
    {"tbSave", "Files", "Uložit ...", false, false},
    {"ToolButton2", "Files", "Knihovna profilů ...", false, false},
    {"ToolButton5", "Files", "Knihovyn materiálů ...", false, false},
    {"DelBtn", "Draw", "Smazat prut ...", true, false},
    {"AddUzelBtn", "Draw", "Kreslení uzly ...", true, false},
    {"ToolButton3", "Draw", "Spojit vybrané uzly ... (p)", false, false},
    {"tbAddPrutFH", "Draw", "Kreslení prutů ...", true, false},
    {"tbeMoveNode", "Editace", "Přesun uzlu myší ...", true, false},
    {"ZoomInBtn", "View", "Přiblížit ...", false, false},
    {"ZoomOutBtn", "View", "Oddálit ...", false, false},
    {"ShowAllBtn", "View", "Zobrazit vše ...", false, false},
    {"tbZoomInW", "View", "Zvětšení (výběrem) ...", true, false},
    {"tbZoomOutW", "View", "Zmenšení (výběrem) ...", true, false},
    {"tbZoomDynBtn", "View", "Dynamická lupa ...", true, false},
    {"tbScaleSL", "View", "Měřítko zobrazení os. břemen ...", true, false},
    {"tbScaleCL", "View", "Měřítko zobrazení spojitých zatížení ...", true, false},
    {"tbScaleIF", "View", "Měřítko zobrazení vnitřních sila  deformací ...", true, false},
    {"tbCenterToBtn", "View", "Centrovat pohled ...", true, false},
    {"tbSTCSC", "View", "Najít počátek ...", false, false},
    {"tbSHCSC", "View", "Zobrazit počátek ...", true, true},
    {"SnapBtn", "View", "Krok ...", true, false},
    {"GridBtn", "View", "Mřížka ...", true, false},
    {"NumBtn", "View", "Čísla ...", true, false},
    {"tbShowLoad", "View", "Prutová zatížení ...", true, true},
    {"tbShowLoadU", "View", "Uzlová zatížení ...", true, true},
    {"tbShowR", "View", "Reakce ...", true, false},
};
} // namespace

TEST_F(TMainWindowTest, StartsWithCaptionSizeAndEveryToolbarButton) {
    EXPECT_EQ(Form->windowTitle(), QString::fromUtf8("KORVAN - B 2D 2003"));
    EXPECT_EQ(Form->size(), QSize(765, 520));
    for (const TButtonRow& row : KButtons) {
        SCOPED_TRACE(row.Name);
        auto* bar = Form->findChild<QToolBar*>(row.Toolbar);
        ASSERT_NE(bar, nullptr);
        QAction* a = Form->Tool(row.Name);
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(bar->actions().contains(a));
        EXPECT_EQ(a->toolTip(), QString::fromUtf8(row.Hint));
        EXPECT_EQ(a->isCheckable(), row.Checkable);
        EXPECT_EQ(a->isChecked(), row.DownAtStart);
        EXPECT_NE(bar->findChild<QAbstractButton*>(row.Name), nullptr);
    }
    EXPECT_EQ(Form->findChild<QToolBar*>("Editace")->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_EQ(Form->findChild<QToolBar*>("View")->allowedAreas(), Qt::TopToolBarArea | Qt::BottomToolBarArea);
}

TEST_F(TMainWindowTest, StatusBarHasThirteenPanelsAndDisabledResultTabs) {
    const int widths[13] = {80, 80, 55, 30, 30, 30, 50, 20, 50, 20, 50, 10, 177};
    for (int i = 0; i < 13; ++i) {
        auto* l = Form->statusBar()->findChild<QLabel*>(QString("StatusPanel%1").arg(i));
        ASSERT_NE(l, nullptr) << i;
        EXPECT_EQ(l->width(), widths[i]) << i;
    }
    EXPECT_EQ(Form->StatusText(2), "100%");
    EXPECT_EQ(Form->StatusText(3), "m");
    EXPECT_EQ(Form->StatusText(4), "kN");
    EXPECT_EQ(Form->StatusText(5), "MPa");
    EXPECT_EQ(Form->StatusText(8), "0");
    EXPECT_EQ(Form->findChild<QLabel*>("lPocvybuz")->text(), "VU:");
    EXPECT_EQ(Form->findChild<QLabel*>("lPocvybpr")->toolTip(),
              QString::fromUtf8("Dvojím kliknutím zrušíte výběr"));
    QTabBar* tabs = Form->FlatTabControl2();
    ASSERT_EQ(tabs->count(), 5);
    EXPECT_EQ(tabs->tabText(0), "model");
    EXPECT_EQ(tabs->tabText(4), "def");
    EXPECT_FALSE(tabs->isEnabled());
}

TEST_F(TMainWindowTest, MenuItemsCarryTheirShortcuts) {
    const std::pair<const char*, const char*> rows[] = {{"Nast1", "Ctrl+O"},
                                                        {"Ulosoubor1", "Ctrl+S"},
                                                        {"Konec1", "Ctrl+Q"},
                                                        {"Spustit1", "F11"},
                                                        {"Napoveda1", "F1"},
                                                        {"Smazatprut1", "Shift+Del"},
                                                        {"Smazatnepripojene1", "Ctrl+Del"},
                                                        {"Matice1", "F10"},
                                                        {"Vysledky1", "F12"},
                                                        {"Kopirovat1", "Ctrl+C"}};
    for (const auto& [name, key] : rows) {
        QAction* a = Form->MenuItem(name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->shortcut(), QKeySequence(key)) << name;
    }
    // The matrices window, the results report and the protocol are always offered.
    for (const char* name : {"Matice1", "Vysledky1", "Protokol1"})
        EXPECT_TRUE(Form->MenuItem(name)->isEnabled()) << name;
    EXPECT_TRUE(Form->MenuItem("ShowCSC1")->isChecked());
    EXPECT_TRUE(Form->MenuItem("Singleloads2")->isChecked());
    EXPECT_FALSE(Form->MenuItem("Zobrazitreakce1")->isChecked());
}

// Clicking a tool button: groups release each other; releasable buttons go up on a second click,
// the others stay down.
TEST_F(TMainWindowTest, ToolStateMachine) {
    struct TStep {
        const char* Click;
        std::vector<const char*> Down;
        std::vector<const char*> Up;
    };
    const TStep steps[] = {
        {"AddUzelBtn", {"AddUzelBtn"}, {"DelBtn", "tbAddPrutFH"}},
        {"tbAddPrutFH", {"tbAddPrutFH"}, {"AddUzelBtn", "DelBtn"}},
        {"tbAddPrutFH", {"tbAddPrutFH"}, {}},
        {"DelBtn", {"DelBtn"}, {"tbAddPrutFH"}},
        {"DelBtn", {}, {"DelBtn", "AddUzelBtn", "tbAddPrutFH"}},
        {"tbZoomInW", {"tbZoomInW"}, {"tbZoomOutW"}},
        {"tbZoomInW", {"tbZoomInW"}, {}},
        {"tbScaleSL", {"tbScaleSL"}, {"tbZoomInW", "tbZoomDynBtn"}},
        {"tbZoomDynBtn", {"tbZoomDynBtn"}, {"tbScaleSL"}},
        {"tbeMoveNode", {"tbeMoveNode", "tbZoomDynBtn"}, {}},
        {"tbeMoveNode", {"tbZoomDynBtn"}, {"tbeMoveNode"}},
    };
    for (const TStep& s : steps) {
        Click(s.Click);
        for (const char* n : s.Down)
            EXPECT_TRUE(Form->IsDown(n)) << s.Click << " -> " << n;
        for (const char* n : s.Up)
            EXPECT_FALSE(Form->IsDown(n)) << s.Click << " -> " << n;
    }
    Form->MenuItem("DynamicZoom1")->trigger();
    EXPECT_FALSE(Form->IsDown("tbZoomDynBtn"));
    Form->MenuItem("ZoomOutWindow1")->trigger();
    EXPECT_TRUE(Form->IsDown("tbZoomOutW"));
    Form->MenuItem("Pridatnovykreslit1")->trigger();
    EXPECT_TRUE(Form->IsDown("tbAddPrutFH"));
    Form->MenuItem("Pridatnovykreslit1")->trigger();
    EXPECT_FALSE(Form->IsDown("tbAddPrutFH"));
}

TEST_F(TMainWindowTest, FinishActionLeavesZoomWindowsAndCentreToolAlone) {
    Click("tbCenterToBtn");
    Click("tbZoomInW");
    Click("AddUzelBtn");
    Click("tbeMoveNode");
    Form->FinishAction();
    EXPECT_TRUE(Form->IsDown("tbZoomInW"));
    EXPECT_TRUE(Form->IsDown("tbCenterToBtn"));
    EXPECT_FALSE(Form->IsDown("AddUzelBtn"));
    EXPECT_FALSE(Form->IsDown("tbeMoveNode"));
    for (const char* n : {"tbZoomDynBtn", "tbScaleSL", "tbScaleCL", "tbScaleIF"}) {
        Click(n);
        Form->FinishAction();
        EXPECT_FALSE(Form->IsDown(n)) << n;
    }
    EXPECT_TRUE(Form->MenuItem("Centerview1")->isChecked());
}

TEST_F(TMainWindowTest, ToggleButtonsAndMenuChecksStayEqual) {
    Click("GridBtn");
    EXPECT_TRUE(Space().GridVisible);
    EXPECT_TRUE(Form->MenuItem("Show1")->isChecked());
    Form->MenuItem("Show1")->trigger();
    EXPECT_FALSE(Space().GridVisible);
    EXPECT_FALSE(Form->IsDown("GridBtn"));
    Form->MenuItem("Zobrazitreakce1")->trigger();
    EXPECT_TRUE(Space().ShowReactions());
    EXPECT_TRUE(Form->IsDown("tbShowR"));
    Click("tbSHCSC");
    EXPECT_FALSE(Space().Origin.Visible);
    EXPECT_FALSE(Form->MenuItem("ShowCSC1")->isChecked());
    Click("SnapBtn");
    EXPECT_TRUE(Space().SnapOn);
}

TEST_F(TMainWindowTest, KeyboardCommands) {
    AddSection();
    TUzel* a = Space().PridejUzel(1, 0, 0);
    TUzel* b = Space().PridejUzel(2, 2, 0);
    Form->Klavesa('<');
    EXPECT_TRUE(Sink.Messages.empty());
    TPrut* m = Space().PridejPrut(a, b, Space().CurrentSection, false, 1, true, false);
    Form->Klavesa('<');
    EXPECT_FALSE(m->HingeA);
    Form->Klavesa('<');
    EXPECT_TRUE(m->HingeA);
    Form->Klavesa('>');
    EXPECT_TRUE(m->HingeB);

    const int zoom = Space().Zoom();
    Form->Klavesa('+');
    EXPECT_EQ(Space().Zoom(), zoom + 10);
    EXPECT_EQ(Form->StatusText(2), QString::number(zoom + 10) + "%");
    Form->Klavesa('-');
    EXPECT_EQ(Space().Zoom(), zoom);

    // "R" places the anchor at the current node, "r" switches it off and on.
    Space().CurrentNode = b;
    Form->Klavesa('R');
    EXPECT_EQ(Space().Anchor.X(), 2.0L);
    Form->Klavesa('r');
    EXPECT_FALSE(Space().Anchor.Active);
    EXPECT_EQ(Space().Anchor.X(), 0.0L);

    const int page = Form->Panel()->MenuIndex();
    for (int i = 0; i < 3; ++i)
        Form->Klavesa(' ');
    EXPECT_EQ(Form->Panel()->MenuIndex(), page);
    Form->Klavesa(' ');
    EXPECT_EQ(Form->Panel()->MenuIndex(), (page + 1) % 3);
}

// Typed characters reach no control: in the section combo box "+" zooms instead.
TEST_F(TMainWindowTest, KeyPreviewTakesCharactersFromControls) {
    QComboBox* combo = Form->Panel()->cbProfily();
    combo->setEditable(false);
    combo->addItem("IPE 300");
    combo->addItem("+ sign");
    Form->Panel()->SetMenuIndex(2);
    combo->setFocus();
    const int zoom = Space().Zoom();
    QTest::keyClick(combo, '+');
    EXPECT_EQ(Space().Zoom(), zoom + 10);
    EXPECT_EQ(combo->currentIndex(), 0);
}

TEST_F(TMainWindowTest, NewProjectAsksAndClears) {
    AddSection();
    Space().PridejUzel(1, 0, 0);
    Form->setWindowTitle("x");
    Sink.Answers = {false};
    Form->NewBtnClick();
    ASSERT_EQ(Sink.Questions.size(), 1u);
    EXPECT_EQ(Sink.Questions[0], "Přejete si založit nový projekt? Všechny objekty budou vymazány.");
    EXPECT_EQ(Space().Nodes.Count(), 1);
    EXPECT_EQ(Form->windowTitle(), "x");
    Form->NewBtnClick();
    EXPECT_EQ(Space().Nodes.Count(), 0);
    EXPECT_EQ(Space().Sections.Count(), 0);
    EXPECT_EQ(Form->Panel()->cbProfily()->count(), 0);
    EXPECT_EQ(Form->windowTitle(), QString::fromUtf8("KORVAN - B 2D : Nový"));
    EXPECT_EQ(Form->Panel()->MenuIndex(), 0);
    EXPECT_FALSE(Form->FlatTabControl2()->isEnabled());
}

TEST_F(TMainWindowTest, CloseAsksAndNoKeepsTheWindow) {
    Form->SetAskOnClose(true);
    Sink.Answers = {false};
    EXPECT_FALSE(Form->close());
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(Sink.Questions.back(), "Ukončit program? Neuložené změny budou ztraceny.");
    Sink.Answers = {true};
    EXPECT_TRUE(Form->close());
}

TEST_F(TMainWindowTest, PanelMenuMirrorsPanelVisibility) {
    QAction* item = Form->MenuItem("ObjectPanel1");
    EXPECT_TRUE(item->isChecked());
    Form->Panel()->close();
    QApplication::processEvents();
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(Form->Panel()->isVisible());
    item->trigger();
    EXPECT_FALSE(Form->Panel()->isVisible());
}

TEST_F(TMainWindowTest, GridAndSnapInputBoxes) {
    QString answer;
    QString caption;
    Form->SetInputBox([&](const QString& c, const QString&, const QString&) {
        caption = c;
        return answer;
    });
    const std::tuple<const char*, bool, TReal, const char*> gridRows[] = {
        {"2", true, 2.0L, nullptr},
        {"0", true, 2.0L, nullptr},
        {"-1", true, -1.0L, nullptr},
        {"abc", true, -1.0L, "Neplatné zadání"}};
    for (const auto& [text, grid, expected, message] : gridRows) {
        answer = text;
        Sink.Messages.clear();
        Form->GridEdit();
        EXPECT_EQ(Space().GridDX, expected) << text;
        EXPECT_EQ(Space().GridDY, expected) << text;
        EXPECT_EQ(Sink.Messages.size(), message ? 1u : 0u) << text;
    }
    EXPECT_EQ(caption, QString::fromUtf8("Mřížka"));
    answer = "0";
    Form->SnapEdit();
    EXPECT_EQ(Space().SnapDX, 0.001L);
    answer = "0.25";
    Form->SnapEdit();
    EXPECT_EQ(Space().SnapDY, 0.25L);
    EXPECT_EQ(caption, "Krok");
}

TEST_F(TMainWindowTest, DoubleClickOnSelectionLabelsEmptiesThem) {
    AddSection();
    TUzel* a = Space().PridejUzel(1, 0, 0);
    TUzel* b = Space().PridejUzel(2, 3, 0);
    Space().PridejPrut(a, b, Space().CurrentSection, false, 1, false, false);
    Press(Pixel(0, 0), Qt::LeftButton, Qt::ShiftModifier);
    Press(Pixel(1.5L, 0), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Form->StatusText(8), "1");
    EXPECT_EQ(Form->StatusText(10), "1");
    QTest::mouseDClick(Form->findChild<QLabel*>("lPocvybuz"), Qt::LeftButton);
    EXPECT_EQ(Space().SelectedNodes.Count(), 0);
    EXPECT_EQ(Form->StatusText(8), "0");
    QTest::mouseDClick(Form->findChild<QLabel*>("lPocvybpr"), Qt::LeftButton);
    EXPECT_EQ(Space().SelectedMembers.Count(), 0);
    EXPECT_EQ(Form->StatusText(10), "0");
}

// QWidget deletes the window's children only after ~TForm1 has destroyed the window's own
// members; a dock that reports itself hidden on the way out must then find no handler of the
// window still listening, or the handler reads freed members.
TEST(MainWindowTeardown, NoChildSignalReachesTheWindowOnceItIsTornDown) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    auto* form = new TForm1;
    form->SetAskOnClose(false);
    form->MKPSpace1().TraceEnabled = false;
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    QApplication::processEvents();

    const QList<QObject*> children = form->findChildren<QObject*>();
    ASSERT_TRUE(children.contains(form->Panel()));
    QStringList stillConnected;
    for (QObject* child : children) {
        const QString name = child->metaObject()->className() + QString(" ") + child->objectName();
        QObject::connect(child, &QObject::destroyed, [&stillConnected, form, child, name] {
            // Disconnecting reports whether any connection from the child to the window was left.
            if (QObject::disconnect(child, nullptr, form, nullptr)) stillConnected << name;
        });
    }
    delete form;
    EXPECT_TRUE(stillConnected.isEmpty()) << stillConnected.join(", ").toStdString();
}
