#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <fstream>

#include "MainWindowTestSupport.h"
#include "ui/dialogs/ZatizeniDialog1.h"
#include "ui/panel/LoadInput.h"
#include "ui/panel/ObjectPanel.h"
#include "units/Prevody.h"

namespace {

// The decimal comma of a Czech system for one test (program and system separator, as the
// program sets both at start), the previous separators afterwards.
class TCommaGuard {
public:
    TCommaGuard() : mSaved(DecimalSeparator()), mSavedSystem(SystemDecimalSeparator()) {
        SetDecimalSeparator(',');
        SetSystemDecimalSeparator(",");
    }
    ~TCommaGuard() {
        SetDecimalSeparator(mSaved);
        SetSystemDecimalSeparator(mSavedSystem);
    }

private:
    char mSaved;
    std::string mSavedSystem;
};

} // namespace

class TLoadDialogTest : public TMainWindowTest {
protected:
    void SetUp() override {
        TMainWindowTest::SetUp();
        AddSection();
        TUzel* a = Space().PridejUzel(1, 0, 0);
        TUzel* b = Space().PridejUzel(2, 4, 0);
        Member = Space().PridejPrut(a, b, Space().CurrentSection, false, 1, false, false);
        Space().CurrentNode = b;
    }

    TForm5* Dialog() { return Form->Form5(); }
    QLineEdit* Edit(const char* name) { return Dialog()->findChild<QLineEdit*>(name); }
    QRadioButton* Radio(const QString& name) { return Dialog()->findChild<QRadioButton*>(name); }
    QToolButton* PanelButton(const char* name) { return Form->Panel()->findChild<QToolButton*>(name); }
    // Types a text into a field as the user would.
    void Type(const char* field, const char* text) {
        QLineEdit* e = Edit(field);
        e->clear();
        QTest::keyClicks(e, QString::fromUtf8(text));
    }
    // The fields shown, in the order q2, angle, A, C, B.
    std::vector<bool> Shown() {
        std::vector<bool> shown;
        for (const char* n : {"eZatQe", "eZatUhel", "eZatA", "eZatC", "eZatB"})
            shown.push_back(Edit(n)->isVisibleTo(Dialog()));
        return shown;
    }
    void Ok() { QTest::mouseClick(Dialog()->findChild<QToolButton*>("SpeedButton2"), Qt::LeftButton); }

    TCommaGuard Comma;
    TPrut* Member = nullptr;
};

TEST_F(TLoadDialogTest, OpensNonModalForTheMemberOrTheNode) {
    EXPECT_FALSE(Dialog()->isVisible());
    PanelButton("sbAddLP")->click();
    ASSERT_TRUE(Dialog()->isVisible());
    EXPECT_FALSE(Dialog()->isModal());
    EXPECT_EQ(Dialog()->windowTitle(), QString::fromUtf8("Zatížení prutu."));
    EXPECT_EQ(Dialog()->property("HelpContext").toInt(), 250);
    EXPECT_FALSE(Dialog()->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(Form->RememberedTool(), "sbAddLP");
    EXPECT_EQ(Edit("eZatUhel")->text(), "90");
    EXPECT_TRUE(Radio("rgZatTyp0")->isChecked());
    EXPECT_TRUE(Radio("rgZatOrientace0")->isChecked());
    EXPECT_EQ(Shown(), (std::vector<bool>{false, true, true, false, false}));
    EXPECT_FALSE(Edit("eZatB")->isEnabled());
    // The labels go with their fields.
    EXPECT_FALSE(Dialog()->findChild<QWidget*>("lZatQe")->isVisibleTo(Dialog()));
    EXPECT_TRUE(Dialog()->findChild<QWidget*>("lZatA")->isVisibleTo(Dialog()));

    Radio("rgZatTyp2")->click();
    EXPECT_EQ(Shown(), (std::vector<bool>{true, true, true, true, true}));
    Radio("rgZatTyp1")->click();
    EXPECT_EQ(Shown(), (std::vector<bool>{false, false, true, false, false}));

    // A distributed load chosen before: the node dialog offers a force, and choosing the
    // distributed load there gives a moment.
    Radio("rgZatTyp2")->click();
    Form->MenuItem("PridatzatU1")->trigger();
    EXPECT_EQ(Dialog()->windowTitle(), QString::fromUtf8("Uzlové zatížení."));
    EXPECT_EQ(Form->RememberedTool(), "sbAddLU");
    EXPECT_TRUE(Radio("rgZatTyp0")->isChecked());
    EXPECT_EQ(Shown(), (std::vector<bool>{false, true, false, false, false}));
    Radio("rgZatTyp2")->click();
    EXPECT_TRUE(Radio("rgZatTyp1")->isChecked());
    EXPECT_EQ(Shown(), (std::vector<bool>{false, false, false, false, false}));
}

TEST_F(TLoadDialogTest, KeyLOpensTheDialogOfThePage) {
    struct TRow {
        int Page;
        const char* Tool;
    } rows[] = {{0, "sbAddLP"}, {1, "sbAddLU"}, {2, "sbAddLP"}};
    for (const TRow& r : rows) {
        Dialog()->hide();
        Form->Panel()->SetMenuIndex(r.Page);
        QTest::keyClick(Form->Canvas()->Area(), Qt::Key_L);
        EXPECT_TRUE(Dialog()->isVisible()) << r.Page;
        EXPECT_EQ(Form->RememberedTool(), r.Tool) << r.Page;
    }
}

TEST_F(TLoadDialogTest, EntriesKeptBetweenUsesAndEnterConfirms) {
    PanelButton("sbAddLP")->click();
    Radio("rgZatTyp2")->click();
    Radio("rgZatOrientace1")->click();
    Type("eZatQb", "-3");
    Type("eZatQe", "");
    Type("eZatA", "0,25/");
    Type("eZatC", "2");
    QTest::keyClick(Edit("eZatC"), Qt::Key_Return);
    EXPECT_FALSE(Dialog()->isVisible());
    ASSERT_EQ(Member->Loads.Count(), 1);
    const TZatizeni* z = Member->CurrentLoad;
    EXPECT_EQ(z->Kind, KLoadDistributed);
    EXPECT_EQ(z->A, 1);
    EXPECT_EQ(z->C, 2);
    EXPECT_EQ(z->B, 1);
    EXPECT_EQ(z->Q1, 3);
    EXPECT_EQ(z->Q2, 0);
    EXPECT_EQ(z->Angle, 90);
    EXPECT_EQ(Sink.Messages, std::vector<std::string>{KNegativeLoadNote});
    // The panel shows the new load.
    EXPECT_EQ(Form->Panel()->findChild<QLabel*>("lZatPCounter")->text(), "1/1");

    PanelButton("sbAddLP")->click();
    EXPECT_TRUE(Radio("rgZatTyp2")->isChecked());
    EXPECT_TRUE(Radio("rgZatOrientace1")->isChecked());
    EXPECT_EQ(Edit("eZatQb")->text(), "-3");
    EXPECT_EQ(Edit("eZatQe")->text(), "0"); // the empty field was filled
    EXPECT_EQ(Edit("eZatA")->text(), "0,25/");
    // Esc cancels.
    QTest::keyClick(Edit("eZatA"), Qt::Key_Escape);
    EXPECT_FALSE(Dialog()->isVisible());
    EXPECT_EQ(Member->Loads.Count(), 1);
}

TEST_F(TLoadDialogTest, ReachBeyondTheMemberKeepsTheDialogOpen) {
    struct TRow {
        int Type;
        const char* A;
        const char* C;
    } rows[] = {{KTypeDistributed, "0,5/", "0,6/"}, {KTypeForce, "-1", "0"}, {KTypeMoment, "4,5", "0"}};
    for (const TRow& r : rows) {
        Sink.Messages.clear();
        PanelButton("sbAddLP")->click();
        Radio(QString("rgZatTyp%1").arg(r.Type))->click();
        Type("eZatQb", "1");
        Type("eZatA", r.A);
        Type("eZatC", r.C);
        Ok();
        EXPECT_TRUE(Dialog()->isVisible()) << r.A;
        EXPECT_EQ(Sink.Messages, std::vector<std::string>{KLoadBeyondMember}) << r.A;
        EXPECT_EQ(Member->Loads.Count(), 0);
    }
    // An entry that is no number closes the dialog without a load.
    Sink.Messages.clear();
    Type("eZatA", "konec");
    Ok();
    EXPECT_FALSE(Dialog()->isVisible());
    EXPECT_EQ(Sink.Messages, std::vector<std::string>{KInvalidEntry});
    EXPECT_EQ(Member->Loads.Count(), 0);
    // Corrected, the same entry is accepted.
    PanelButton("sbAddLP")->click();
    Type("eZatA", "4");
    Ok();
    EXPECT_FALSE(Dialog()->isVisible());
    EXPECT_EQ(Member->Loads.Count(), 1);
}

TEST_F(TLoadDialogTest, OkActsOnlyForTheToolThatOpenedIt) {
    // A dialog of its own with a remembered tool that another dialog changes in between.
    QString tool;
    TForm5 dialog(Space(), tool);
    dialog.FormZatizeni("sbAddLP");
    TLoadFields f;
    f.Value = "5";
    f.A = "1";
    dialog.SetFields(f);
    tool = "sbDDelka1";
    QTest::mouseClick(dialog.findChild<QToolButton*>("SpeedButton2"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Member->Loads.Count(), 0);
    // Without a current member, OK only closes the dialog.
    dialog.FormZatizeni("sbAddLP");
    Space().CurrentMember = nullptr;
    QTest::mouseClick(dialog.findChild<QToolButton*>("SpeedButton2"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Member->Loads.Count(), 0);
    EXPECT_TRUE(Sink.Messages.empty());
}

TEST_F(TLoadDialogTest, AddingALoadEndsEarlierResults) {
    Member->NodeA->DofU.Fixed = Member->NodeA->DofW.Fixed = Member->NodeA->DofRot.Fixed = true;
    Form->sbComputeClick();
    ASSERT_TRUE(Form->FlatTabControl2()->isEnabled());
    Form->MenuItem("PridatzatU1")->trigger();
    Radio("rgZatTyp0")->click();
    Type("eZatQb", "2");
    Type("eZatUhel", "45");
    Ok();
    ASSERT_EQ(Space().CurrentNode->Loads.Count(), 1);
    EXPECT_EQ(Space().CurrentNode->CurrentLoad->Angle, 45);
    EXPECT_FALSE(Space().ResultsValid);
    EXPECT_FALSE(Form->FlatTabControl2()->isEnabled());
    EXPECT_EQ(Form->Panel()->findChild<QLabel*>("lZatUCounter")->text(), "1/1");
}

TEST_F(TLoadDialogTest, DeletingTheCurrentLoadFromThePanelAndTheMenus) {
    for (int i = 1; i <= 3; ++i)
        Member->PridejZatizeni(KLoadForce, nullptr, i, 0, i, 0, 90);
    TZatizeni* third = Member->Loads[2];
    Member->CurrentLoad = Member->Loads[1];
    Form->Panel()->VypisHodnotyPrutu();
    PanelButton("sbDelLP")->click();
    ASSERT_EQ(Member->Loads.Count(), 2);
    EXPECT_EQ(Member->CurrentLoad, third);
    EXPECT_EQ(Form->Panel()->findChild<QLabel*>("lZatPCounter")->text(), "2/2");
    Form->MenuItem("SmazatzatP1")->trigger();
    EXPECT_EQ(Member->Loads.Count(), 1);

    TUzel* node = Space().CurrentNode;
    node->PridejZatizeni(KLoadMoment, nullptr, 1, 0);
    node->PridejZatizeni(KLoadForce, nullptr, 2, 90);
    Form->Panel()->VypisHodnotyUzlu();
    PanelButton("sbDelLU")->click();
    ASSERT_EQ(node->Loads.Count(), 1);
    EXPECT_EQ(node->CurrentLoad->Kind, KLoadMoment);
    EXPECT_EQ(Form->Panel()->findChild<QLabel*>("lZatUCounter")->text(), "1/1");
    Form->MenuItem("SmazatzatU1")->trigger();
    EXPECT_EQ(node->Loads.Count(), 0);
    // Without a current node nothing happens.
    Space().CurrentNode = nullptr;
    Form->MenuItem("SmazatzatU1")->trigger();
    EXPECT_TRUE(Sink.Messages.empty());
}

TEST_F(TLoadDialogTest, SelfWeightOnOffOn) {
    QAction* item = Form->MenuItem("Zapotatthukonstrukce1");
    auto selfWeights = [this] {
        int n = 0;
        for (const TZatizeni* z : Member->Loads)
            n += z->Kind == KLoadSelfWeight;
        return n;
    };
    struct TStep {
        bool Checked;
        int Loads;
    } steps[] = {{true, 1}, {false, 0}, {true, 1}};
    for (const TStep& s : steps) {
        item->trigger();
        EXPECT_EQ(item->isChecked(), s.Checked);
        EXPECT_EQ(Space().SelfWeight, s.Checked);
        EXPECT_EQ(selfWeights(), s.Loads);
    }
    EXPECT_EQ(Form->Panel()->findChild<QLabel*>("lZatPTyp")->text(), QString::fromUtf8("Vl.tíha kce."));
}

TEST_F(TLoadDialogTest, SelfWeightMarkFollowsAnOpenedProject) {
    QAction* item = Form->MenuItem("Zapotatthukonstrukce1");
    item->trigger();
    ASSERT_TRUE(item->isChecked());
    QTemporaryDir dir;
    const QString file = dir.filePath("beam.inp");
    Space().UlozProjekt(file.toStdString());
    Form->OpenProjectFile(file);
    ASSERT_EQ(Space().Members.Count(), 1) << (Sink.Messages.empty() ? "" : Sink.Messages.back());
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(Space().SelfWeight);
    // The next click switches it on: every member gains its self-weight load.
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    ASSERT_EQ(Space().Members[0]->Loads.Count(), 1);
    EXPECT_EQ(Space().Members[0]->Loads[0]->Kind, KLoadSelfWeight);

    // A new project is empty: the mark goes off with it.
    Form->NewBtnClick();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(Space().SelfWeight);
}

TEST_F(TLoadDialogTest, LoadsAtNodeBGoAndThePanelShowsIt) {
    TUzel* c = Space().PridejUzel(3, 4, 3);
    TPrut* other = Space().PridejPrut(Member->NodeB, c, Space().CurrentSection, false, 1, false, false);
    Member->PridejZatizeni(KLoadForce, nullptr, 1, 0, 5, 0, 90);
    Member->PridejZatizeni(KLoadForce, nullptr, 2, 0, 5, 0, 90);
    other->PridejZatizeni(KLoadForce, nullptr, 1, 0, 5, 0, 90);
    Space().CurrentMember = Member;
    Form->Panel()->VypisHodnotyPrutu();
    ASSERT_EQ(Form->Panel()->findChild<QLabel*>("lZatPCounter")->text(), "2/2");
    Form->SmazVsechnaZatizeniPrutu();
    EXPECT_EQ(Member->Loads.Count(), 0);
    EXPECT_EQ(other->Loads.Count(), 0);
    EXPECT_TRUE(Form->Panel()->findChild<QLabel*>("lZatPCounter")->text().isEmpty());
    EXPECT_TRUE(Sink.Messages.empty());
}

// The value is what one types first: whichever field had the focus, the dialog opens with the
// focus in P/ M/ q1 and its text selected, so typing replaces it.
TEST_F(TLoadDialogTest, OpensWithTheValueSelected) {
    PanelButton("sbAddLP")->click();
    Type("eZatQb", "7");
    Edit("eZatUhel")->setFocus();
    Dialog()->hide();
    QTest::keyClick(Form->Canvas()->Area(), Qt::Key_L);
    ASSERT_TRUE(Dialog()->isVisible());
    EXPECT_EQ(Dialog()->focusWidget(), Edit("eZatQb"));
    EXPECT_EQ(Edit("eZatQb")->selectedText(), "7");
    // The imperial units are named beside the fields; the metric dialog shows no hint.
    QLabel* units = Dialog()->findChild<QLabel*>("lZatJednotky");
    EXPECT_FALSE(units->isVisibleTo(Dialog()));
    Space().NastavSoustavuJednotek(1);
    PanelButton("sbAddLU")->click();
    EXPECT_TRUE(units->isVisibleTo(Dialog()) && units->text() == "P [lb]");
}

// A double click on a drawn load opens it in the dialog; OK puts the entry into the same load,
// one step of the history.
TEST_F(TLoadDialogTest, ALoadEditedByDoubleClickIsOneUndoStep) {
    PanelButton("sbAddLP")->click();
    Type("eZatQb", "10");
    Type("eZatA", "1");
    Ok();
    ASSERT_EQ(Member->Loads.Count(), 1);
    TZatizeni* load = Member->CurrentLoad;
    Space().CurrentMember = nullptr;
    // The shaft rises 30 pixels from the load's point (ScaleSL 3 per kN).
    QTest::mouseDClick(Form->Canvas()->Area(), Qt::LeftButton, {}, Pixel(1, 0) - QPoint(0, 15));
    ASSERT_TRUE(Dialog()->isVisible());
    EXPECT_EQ(Dialog()->windowTitle(), QString::fromUtf8("Úprava zatížení prutu."));
    EXPECT_EQ(Space().CurrentMember, Member);
    EXPECT_EQ(Edit("eZatQb")->selectedText(), "10");
    Type("eZatQb", "12");
    Ok();
    ASSERT_EQ(Member->Loads.Count(), 1);
    EXPECT_TRUE(Member->Loads[0] == load && load->Q1 == 12);
    EXPECT_EQ(Form->Panel()->findChild<QLabel*>("lZatPVelikost")->text(), "12,00kN");
    Form->Zpet();
    ASSERT_EQ(Space().Members[0]->Loads.Count(), 1);
    EXPECT_EQ(Space().Members[0]->Loads[0]->Q1, 10);

    // The panel's edit button opens the current load; a self-weight load is not edited there.
    Dialog()->hide();
    Space().CurrentMember = Space().Members[0];
    Form->MenuItem("Zapotatthukonstrukce1")->trigger();
    PanelButton("sbEditLP")->click();
    EXPECT_FALSE(Dialog()->isVisible());
    EXPECT_EQ(Sink.Messages, std::vector<std::string>{KSelfWeightNotEditable});
}
