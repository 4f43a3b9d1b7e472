// The window with load cases, offscreen: cases made in their dialog, the toolbar's case choice
// routing new loads and choosing what is drawn, the load dialog and the panel showing the case,
// undo, and save and open keeping the cases.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include "MainWindowTestSupport.h"
#include "ui/dialogs/CombinationsDialog.h"
#include "ui/dialogs/LoadCasesDialog.h"
#include "ui/dialogs/ZatizeniDialog1.h"
#include "ui/panel/ObjectPanel.h"

namespace {
QStringList Entries(QComboBox* box) {
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries << box->itemText(i);
    return entries;
}
} // namespace

class TLoadCasesWindowTest : public TMainWindowTest {
protected:
    void SetUp() override {
        TMainWindowTest::SetUp();
        AddSection();
        TUzel* a = Space().PridejUzel(1, 0, 0);
        TUzel* b = Space().PridejUzel(2, 4, 0);
        Space().CurrentMember = Space().PridejPrut(a, b, Space().CurrentSection, false, 1, false, false);
        Space().CurrentNode = b;
        Space().Prekresli();
    }
    // Adds a member load of value P through the load dialog, as the panel's button does.
    void AddMemberLoad(const char* value) {
        Form->FormZatizeni("sbAddLP");
        TLoadFields f = Form->Form5()->Fields();
        f.Value = value;
        f.A = "1";
        f.Type = KTypeForce;
        Form->Form5()->SetFields(f);
        Form->Form5()->SpeedButton2Click();
        QApplication::processEvents();
    }
    QString PanelText(const char* name) { return Form->Panel()->findChild<QLabel*>(name)->text(); }
};

TEST_F(TLoadCasesWindowTest, ThreeCasesRouteNewLoadsAndSurviveSaveAndOpen) {
    QComboBox* box = Form->cbZatStav();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Entries(box), QStringList{QString::fromUtf8("Výchozí")});
    AddMemberLoad("1");
    EXPECT_FALSE(Form->Form5()->findChild<QComboBox*>("cbZatStav")->isVisibleTo(Form->Form5()))
        << "a model without cases shows no case in the load dialog";
    EXPECT_FALSE(Form->Panel()->findChild<QLabel*>("lZatPStav")->isVisibleTo(Form->Panel()));

    // Three cases through their dialog; the first takes the load there is.
    TLoadCasesDialog* cases = Form->CasesDialog();
    Form->ZatezovaciStavy1Click();
    ASSERT_TRUE(cases->isVisible());
    const std::size_t steps = Form->History().Position();
    const TCaseFields added[] = {{"G", 0, 0, "", false}, {"Q", 1, 2, "", false}, {"S", 1, 11, "", false}};
    for (const TCaseFields& c : added) {
        cases->SetFields(c);
        cases->btnPridatClick();
        QApplication::processEvents();
    }
    ASSERT_EQ(Space().LoadCases.Count(), 3);
    EXPECT_EQ(Form->History().Position(), steps + 3) << "each case added is an undo step";
    EXPECT_EQ(Space().StavZatizeni(*Space().Members[0]->Loads[0])->Name, "G");
    EXPECT_EQ(Entries(box), (QStringList{"G", "Q", "S", QString::fromUtf8("Všechny stavy")}));
    EXPECT_EQ(box->currentIndex(), 0);

    // The case chosen takes the new loads and is the only one drawn; "all" keeps it.
    box->setCurrentIndex(2); // as the wheel over the box does
    EXPECT_EQ(Form->CaseChoice().Name, "S");
    Form->ChooseCase(1);
    EXPECT_EQ(Space().LoadsOfCase, 1);
    AddMemberLoad("2");
    EXPECT_EQ(Form->Form5()->findChild<QComboBox*>("cbZatStav")->currentText(), "Q");
    Form->ChooseCase(3);
    EXPECT_EQ(Space().LoadsOfCase, -1);
    EXPECT_TRUE(Space().CaseColours);
    AddMemberLoad("3");
    const TLoadList& loads = Space().Members[0]->Loads;
    ASSERT_EQ(loads.Count(), 3);
    EXPECT_EQ(Space().StavZatizeni(*loads[1])->Name, "Q");
    EXPECT_EQ(Space().StavZatizeni(*loads[2])->Name, "Q");
    Form->Panel()->VypisHodnotyPrutu();
    EXPECT_TRUE(Form->Panel()->findChild<QLabel*>("lZatPStav")->isVisibleTo(Form->Panel()));
    EXPECT_EQ(PanelText("lZatPStav"), "Q");

    // The load dialog moves a load into another case.
    Form->UpravZatizeni("sbEditLP");
    auto* dialogCase = Form->Form5()->findChild<QComboBox*>("cbZatStav");
    EXPECT_EQ(dialogCase->currentText(), "Q");
    dialogCase->setCurrentIndex(2);
    Form->Form5()->SpeedButton2Click();
    QApplication::processEvents();
    EXPECT_EQ(Space().StavZatizeni(*loads[2])->Name, "S");
    EXPECT_EQ(PanelText("lZatPStav"), "S");

    // Undo takes the move back, and the list of the open cases dialog follows.
    EXPECT_EQ(cases->findChild<QTableWidget*>("lvStavy")->item(2, 5)->text(), "1");
    Form->Zpet();
    QApplication::processEvents();
    EXPECT_EQ(Space().StavZatizeni(*Space().Members[0]->Loads[2])->Name, "Q");
    EXPECT_EQ(cases->findChild<QTableWidget*>("lvStavy")->item(2, 5)->text(), "0");

    // A user combination, then save and open: the cases, the loads' cases and the combination stay.
    TCombinationsDialog* combinations = Form->CombinationsDialog();
    Form->Kombinace1Click();
    combinations->SetFields({"K 1", {"2", "3", ""}});
    combinations->btnPridatClick();
    combinations->btnGenerovatClick();
    EXPECT_GT(combinations->GeneratedList()->rowCount(), 0);
    QTemporaryDir dir;
    const QString file = dir.filePath("tri.inp");
    Form->SaveProjectFile(file);
    Form->NewBtnClick();
    EXPECT_EQ(Entries(box), QStringList{QString::fromUtf8("Výchozí")});
    Form->OpenProjectFile(file);
    QApplication::processEvents();
    ASSERT_EQ(Space().LoadCases.Count(), 3);
    EXPECT_EQ(Entries(box), (QStringList{"G", "Q", "S", QString::fromUtf8("Všechny stavy")}));
    std::vector<std::string> of;
    for (const TZatizeni* z : Space().Members[0]->Loads)
        of.push_back(Space().StavZatizeni(*z)->Name);
    EXPECT_EQ(of, (std::vector<std::string>{"G", "Q", "Q"}));
    ASSERT_NE(Space().Combinations.NajdiKombinaci("K 1"), nullptr);
    EXPECT_EQ(Space().Combinations.NajdiKombinaci("K 1")->TermsText('.'), "2·G + 3·Q");
    EXPECT_TRUE(Sink.Messages.empty());

    // Deleting a case with loads asks first; No keeps it.
    cases->Select(1);
    Sink.Answers = {false};
    cases->btnSmazatClick();
    ASSERT_EQ(Sink.Questions.size(), 2u); // the new-project question, then this one
    EXPECT_EQ(Space().LoadCases.Count(), 3);
}
