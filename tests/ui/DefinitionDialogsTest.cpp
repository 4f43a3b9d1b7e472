#include <QAction>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

#include "MainWindowTestSupport.h"
#include "canvas/RecordingPainter.h"
#include "reports/Protocol.h"
#include "reports/ResultsReport.h"
#include "ui/dialogs/MaterialDialog.h"
#include "ui/panel/ObjectPanel.h"
#include "ui/dialogs/ProfilDialog.h"
#include "ui/dialogs/meritka.h"
#include "ui/dialogs/oblouky.h"

namespace {
const QString KExample = QStringLiteral(KORVAN_SOURCE_DIR "/examples/portal-frame.inp");

class TDefinitionDialogsTest : public TMainWindowTest {
protected:
    QString PanelText(const char* label) { return Form->Panel()->findChild<QLabel*>(label)->text(); }
    void Type(QLineEdit* edit, const QString& text) {
        edit->clear();
        QTest::keyClicks(edit, text);
    }
};
} // namespace

TEST_F(TDefinitionDialogsTest, MenuItemsAndPanelButtonsOpenTheirDialogs) {
    struct TCase {
        const char* Item;
        const char* Button; // "" when only the menu opens it
        QDialog* Dialog;
        bool TitleButtons;
    };
    const std::vector<TCase> cases = {
        {"Vytvoritnovy2", "SpeedButton8", Form->Form8(), false},
        {"Vytvoritnovy1", "SpeedButton11", Form->Form10(), false},
        {"Nastaveni1", "", Form->Form9(), false},
        {"Novyfx1", "sbNewNExpr", Form->Form11(), true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Item);
        QAction* item = Form->MenuItem(c.Item);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->isEnabled());
        EXPECT_FALSE(c.Dialog->isVisible());
        item->trigger();
        EXPECT_TRUE(c.Dialog->isVisible());
        EXPECT_FALSE(c.Dialog->isModal());
        EXPECT_EQ(bool(c.Dialog->windowFlags() & Qt::WindowCloseButtonHint), c.TitleButtons);
        // Esc hides the dialog, from any field.
        QTest::keyClick(c.Dialog->focusWidget() ? c.Dialog->focusWidget() : c.Dialog, Qt::Key_Escape);
        EXPECT_FALSE(c.Dialog->isVisible());
        if (*c.Button) {
            auto* b = Form->Panel()->findChild<QAbstractButton*>(c.Button);
            ASSERT_NE(b, nullptr);
            EXPECT_TRUE(b->isEnabled());
            b->click();
            EXPECT_TRUE(c.Dialog->isVisible());
            c.Dialog->hide();
        }
    }
    EXPECT_EQ(Form->Form8()->property("HelpContext").toInt(), 280);
    EXPECT_TRUE(Sink.Messages.empty());
}

TEST_F(TDefinitionDialogsTest, SectionDialogCreatesChoosesAndKeepsItsFields) {
    TForm8* d = Form->Form8();
    // Without a material: the message, and the dialog stays open with what was typed.
    Form->Definovatprofil1Click();
    Type(d->eJmeno, "P1");
    const QString area = QString("2") + QChar(DecimalSeparator()) + "5E-3";
    Type(d->ePlocha, area);
    Type(d->eIy, "1");
    Type(d->eIz, "x");
    QTest::keyClick(d->eIz, Qt::Key_Return);
    EXPECT_EQ(Sink.Messages.size(), 1u);
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(Space().Sections.Empty());

    AddSection();
    Form->Panel()->RefillSectionAndMaterialLists();
    Sink.Messages.clear();
    Type(d->eIz, "3E-6");
    QTest::keyClick(d->eIz, Qt::Key_Return);
    EXPECT_TRUE(Sink.Messages.empty());
    EXPECT_FALSE(d->isVisible());
    ASSERT_EQ(Space().Sections.Count(), 2);
    TProfil* p1 = Space().Sections.Last();
    EXPECT_EQ(p1->Name, "P1");
    EXPECT_EQ(p1->A, 2.5e-3L);
    EXPECT_EQ(Space().CurrentSection, p1);
    EXPECT_EQ(Space().CurrentMaterial, p1->Material);
    QComboBox* list = Form->Panel()->cbProfily();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), "IPE 300");
    EXPECT_EQ(list->currentText(), "P1");
    EXPECT_EQ(Form->Panel()->MenuIndex(), 2);

    // Opened again: the fields still hold the last texts; the same name is refused.
    Form->MenuItem("Vytvoritnovy2")->trigger();
    EXPECT_EQ(d->eJmeno->text(), "P1");
    EXPECT_EQ(d->ePlocha->text(), area);
    d->SpeedButton2->click();
    EXPECT_EQ(Sink.Messages, std::vector<std::string>{"Použijte unikátní jméno. P1 již existuje."});
    EXPECT_TRUE(d->isVisible());
    d->SpeedButton1->click();
    EXPECT_FALSE(d->isVisible());
}

TEST_F(TDefinitionDialogsTest, MaterialDialogCreatesWithoutTouchingTheSection) {
    AddSection();
    Form->Panel()->RefillSectionAndMaterialLists();
    TMaterial* steel = Space().CurrentSection->Material;
    TForm10* d = Form->Form10();
    Form->Definovatmateril1Click();
    EXPECT_EQ(d->Label5->text(), "MPa");
    EXPECT_EQ(d->Label6->text(), "kg/m3");
    Type(d->eJmeno, "C30/37");
    Type(d->eE, "33000");
    Type(d->eD, "2500");
    QTest::keyClick(d->eD, Qt::Key_Enter);
    EXPECT_TRUE(Sink.Messages.empty());
    EXPECT_FALSE(d->isVisible());
    ASSERT_EQ(Space().Materials.Count(), 2);
    EXPECT_EQ(Space().CurrentMaterial, Space().Materials.Last());
    EXPECT_EQ(Space().CurrentSection->Material, steel);
    EXPECT_EQ(Form->Panel()->cbMaterialy()->currentText(), "C30/37");
    EXPECT_EQ(Form->Panel()->cbMaterialy()->count(), 2);
}

namespace {
// Every text that shows a value with a unit, outside the dialogs' own labels.
struct TShownTexts {
    std::vector<QString> Status;
    std::vector<QString> Panel;
    std::vector<std::string> Canvas;
    std::vector<std::string> Report;
    std::vector<std::string> Protocol;
    std::vector<QString> Dialogs;
};
} // namespace

TEST_F(TDefinitionDialogsTest, SettingsSwitchTheWholeProgramToImperialAndBack) {
    Form->OpenProjectFile(KExample);
    Form->sbComputeClick();
    ASSERT_TRUE(Space().ResultsValid);
    Space().SetShowReactions(true);
    Space().SetTypZobrazeni(3);
    auto capture = [&] {
        TShownTexts t;
        for (int i : {3, 4, 5})
            t.Status.push_back(Form->StatusText(i));
        Form->Panel()->VypisHodnotyUzlu();
        Form->Panel()->VypisHodnotyPrutu();
        Form->Panel()->VypisHodnotyProfilu();
        for (const char* l : {"lSouradniceU", "lDelkaP", "lAPr", "lIyPr", "lmPr", "lEMat", "lDMat"})
            t.Panel.push_back(PanelText(l));
        TRecordingPainter painter(Space().Width, Space().Height);
        Space().Prekresli(painter);
        for (const TPaintOp& op : painter.OfKind(TPaintKind::Text))
            t.Canvas.push_back(op.Text);
        TStyledDocument report, protocol;
        BuildResultsReport(Space(), report);
        ListProtocol(Space(), protocol);
        for (const TStyledLine& l : report.Lines())
            t.Report.push_back(l.Text);
        for (const TStyledLine& l : protocol.Lines())
            t.Protocol.push_back(l.Text);
        Form->Form8()->ShowDialog();
        Form->Form10()->ShowDialog();
        t.Dialogs = {Form->Form8()->Label5->text(), Form->Form8()->Label6->text(), Form->Form10()->Label5->text(),
                     Form->Form10()->Label6->text()};
        Form->Form8()->hide();
        Form->Form10()->hide();
        return t;
    };
    auto apply = [&](int system) {
        Form->MenuItem("Nastaveni1")->trigger();
        TForm9* d = Form->Form9();
        EXPECT_TRUE(d->rgUSSettings->isEnabled());
        EXPECT_EQ(d->UnitSystemItem(), Space().UnitSystem);
        (system == 1 ? d->rbImperial : d->rbMetric)->click();
        QTest::keyClick(d->eMemDiv, Qt::Key_Return);
        EXPECT_FALSE(d->isVisible());
    };
    const TShownTexts metric = capture();
    apply(1);
    EXPECT_EQ(Space().UnitSystem, 1);
    // The status bar right after applying, before anything else writes it.
    EXPECT_EQ((std::vector<QString>{Form->StatusText(3), Form->StatusText(4), Form->StatusText(5)}),
              (std::vector<QString>{"ft", "lb", "psi"}));
    const TShownTexts imperial = capture();
    EXPECT_EQ(imperial.Dialogs, (std::vector<QString>{"in2", "in4", "psi", "lb/ft3"}));
    EXPECT_TRUE(imperial.Panel[0].contains("'")) << imperial.Panel[0].toStdString(); // feet and inches
    EXPECT_TRUE(imperial.Panel[2].endsWith("in2"));
    EXPECT_TRUE(imperial.Panel[5].endsWith("psi"));
    EXPECT_TRUE(imperial.Panel[6].endsWith("lb/ft3"));
    for (std::size_t i = 0; i < metric.Panel.size(); ++i)
        EXPECT_NE(imperial.Panel[i], metric.Panel[i]) << i;
    EXPECT_EQ(imperial.Canvas.size(), metric.Canvas.size());
    EXPECT_NE(imperial.Canvas, metric.Canvas);
    EXPECT_NE(imperial.Report, metric.Report);
    EXPECT_NE(imperial.Protocol, metric.Protocol);
    // The results stay: only their display changed.
    EXPECT_TRUE(Space().ResultsValid);
    EXPECT_TRUE(Form->FlatTabControl2()->isEnabled());

    apply(0);
    const TShownTexts back = capture();
    EXPECT_EQ(back.Status, (std::vector<QString>{"m", "kN", "MPa"}));
    EXPECT_EQ(back.Panel, metric.Panel);
    EXPECT_EQ(back.Canvas, metric.Canvas);
    EXPECT_EQ(back.Report, metric.Report);
    EXPECT_EQ(back.Protocol, metric.Protocol);
    EXPECT_EQ(back.Dialogs, (std::vector<QString>{"m2", "m4", "MPa", "kg/m3"}));
    EXPECT_TRUE(Sink.Messages.empty());
}

TEST_F(TDefinitionDialogsTest, SettingsApplyFieldsIndependentlyAndAChangedFactorVoidsResults) {
    Form->OpenProjectFile(KExample);
    Form->sbComputeClick();
    ASSERT_TRUE(Space().ResultsValid);
    TForm9* d = Form->Form9();
    Form->Settings1Click();
    EXPECT_EQ(d->eMC->text(), QString("1"));
    EXPECT_EQ(d->eMemDiv->text(), QString("10"));
    Type(d->eMC, QString("1") + QChar(DecimalSeparator()) + "35");
    d->eMemDiv->clear();
    d->SpeedButton2->click();
    EXPECT_EQ(Sink.Messages, std::vector<std::string>{"Neplatné zadání."});
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(Space().WeightCase.Factor, 1.35L);
    EXPECT_FALSE(Space().ResultsValid);

    // Opened and confirmed untouched: the coefficient keeps its digits though the field shows two.
    Form->Settings1Click();
    EXPECT_EQ(d->eMC->text(), QString("1") + QChar(DecimalSeparator()) + "4");
    Type(d->eMemDiv, "5");
    d->SpeedButton2->click();
    EXPECT_EQ(Space().WeightCase.Factor, 1.35L);
    EXPECT_EQ(Space().MemberDivision, 10);
    for (const TPrut* m : Space().Members)
        EXPECT_EQ(m->Divisions, 10);

    // The text it shows, typed again, is the value used.
    Form->Settings1Click();
    Type(d->eMC, QString("1") + QChar(DecimalSeparator()) + "4");
    d->SpeedButton2->click();
    EXPECT_EQ(Space().WeightCase.Factor, 1.4L);
}

TEST_F(TDefinitionDialogsTest, FxEditorDefaultsGenerateTheCurveAndClose) {
    TForm11* d = Form->Form11();
    Form->Addnew2Dfxeditor1Click();
    EXPECT_EQ(d->teVyraz->text(), "x/2");
    EXPECT_EQ(d->tmvariables->toPlainText(), "x");
    EXPECT_FALSE(d->tmvariables->isEnabled());
    EXPECT_TRUE(d->rbKonstX->isChecked());
    QTest::keyClick(d->teVyraz, Qt::Key_Return);
    EXPECT_TRUE(Sink.Messages.empty());
    EXPECT_FALSE(d->isVisible());
    ASSERT_EQ(Space().Nodes.Count(), 2);
    EXPECT_EQ(Space().Nodes[0]->X, 0.0L);
    EXPECT_EQ(Space().Nodes[0]->Y, 0.0L);
    EXPECT_EQ(Space().Nodes[1]->X, 1.0L);
    EXPECT_EQ(Space().Nodes[1]->Y, 0.5L);

    // The chord mode with the default tolerance text reads under the program's separator.
    Form->Addnew2Dfxeditor1Click();
    d->rbKonstL->click();
    Type(d->teDelka, QString("0") + QChar(DecimalSeparator()) + "5");
    d->SpeedButton2->click();
    EXPECT_TRUE(Sink.Messages.empty());
    EXPECT_EQ(Space().Nodes.Count(), 6); // 0, ~0.447, ~0.894 and 1 after the first two
}

TEST_F(TDefinitionDialogsTest, FxEditorSyntaxErrorGivesThreeMessagesInOrder) {
    TForm11* d = Form->Form11();
    Form->Addnew2Dfxeditor1Click();
    Type(d->teVyraz, "sin x");
    QTest::keyClick(d->teDo, Qt::Key_Enter);
    EXPECT_EQ(Sink.Messages, (std::vector<std::string>{"Error in formula.", "Error in formula.",
                                                       "Operace selhala. Zkontrolujte vstupní údaje."}));
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(Space().Nodes.Empty());
}

TEST_F(TDefinitionDialogsTest, FxEditorLongRunShowsProgressAndCancelKeepsTheNodes) {
    TForm11* d = Form->Form11();
    d->SetProgressDelay(0);
    Form->Addnew2Dfxeditor1Click();
    Type(d->teVyraz, "0");
    Type(d->teDo, "1000");
    d->rbKonstL->click();
    bool seen = false;
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        if (auto* p = d->findChild<QProgressDialog*>("CurveProgress"); p && p->isVisible()) {
            seen = true;
            p->cancel();
        }
    });
    canceller.start(20);
    d->SpeedButton2->click();
    canceller.stop();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(Sink.Messages.empty());
    EXPECT_FALSE(d->isVisible());
    EXPECT_GE(Space().Nodes.Count(), 1);
    EXPECT_LT(Space().Nodes.Last()->X, 1000.0L); // stopped before the end
    EXPECT_EQ(d->findChild<QProgressDialog*>("CurveProgress"), nullptr);
}
