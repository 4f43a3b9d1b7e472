#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "model/UserDialogs.h"
#include "ui/panel/ObjectPanel.h"
#include "ui/ObjectPanelTestSupport.h"
#include "ui/panel/ObjectPanelWidgets.h"

namespace {

class ObjectPanelWidget : public ::testing::Test {
protected:
    std::string Text(const char* name) const {
        auto* l = mPanel.findChild<QLabel*>(name);
        EXPECT_NE(l, nullptr) << name;
        return l ? l->text().toStdString() : std::string();
    }
    TPanelShape* ShapeNamed(const char* name) const {
        auto* s = mPanel.findChild<TPanelShape*>(name);
        EXPECT_NE(s, nullptr) << name;
        return s;
    }
    QAbstractButton* ButtonNamed(const char* name) const {
        auto* b = mPanel.findChild<QAbstractButton*>(name);
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    void Click(QWidget* w, Qt::MouseButton button = Qt::LeftButton) {
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w, button, Qt::NoModifier, QPoint(w->width() / 2, w->height() / 2));
    }
    void Spin(const char* name, bool up) {
        auto* s = mPanel.findChild<TSpinButton*>(name);
        ASSERT_NE(s, nullptr);
        Click(up ? s->UpButton() : s->DownButton());
    }
    QAction* MenuAction(QMenu* menu, const QString& text) {
        for (QAction* a : menu->actions())
            if (a->text() == text) return a;
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }
    // A circle shows a hinge: white fill and black outline. A fixed end shows nothing.
    static bool ShowsHinge(const TPanelShape* s) {
        return s->PenVisible() && !s->BrushHollow() && s->BrushColor() == QColor(Qt::white);
    }
    static bool ShowsNothing(const TPanelShape* s) { return !s->PenVisible() && s->BrushHollow(); }

    TRecordingDialogs mDialogs;
    TDialogsGuard mDialogsGuard{mDialogs};
    TSeparatorGuard mSeparator{','};
    TFakeHost mHost;
    TSmallModel mModel{mHost.Model};
    TObjectPanel mPanel{mHost};
};

TEST_F(ObjectPanelWidget, DockTabsAndPages) {
    EXPECT_EQ(mPanel.objectName(), "TBXDockablePanel1");
    ASSERT_NE(mPanel.widget(), nullptr);
    EXPECT_EQ(mPanel.widget()->size(), QSize(238, 401));
    auto* tabs = mPanel.findChild<QTabBar*>("FlatTabControl1");
    auto* notebook = mPanel.findChild<QStackedWidget*>("Notebook1");
    ASSERT_TRUE(tabs && notebook);
    EXPECT_EQ(tabs->shape(), QTabBar::RoundedSouth);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "Prut");
    EXPECT_EQ(tabs->tabText(1), "Uzel");
    EXPECT_EQ(tabs->tabText(2), "Profil");
    EXPECT_EQ(notebook->count(), 3);
    // The tab bar lies below the notebook.
    EXPECT_GE(tabs->geometry().top(), notebook->geometry().bottom());

    mPanel.SetMenuIndex(2);
    EXPECT_EQ(mPanel.MenuIndex(), 2);
    EXPECT_EQ(tabs->currentIndex(), 2);
    mPanel.NextPage();
    EXPECT_EQ(mPanel.MenuIndex(), 0);
    mPanel.NextPage();
    EXPECT_EQ(mPanel.MenuIndex(), 1);
    mPanel.SetMenuIndex(3); // no such page
    EXPECT_EQ(mPanel.MenuIndex(), 1);
    tabs->setCurrentIndex(2); // clicking a tab shows its page
    EXPECT_EQ(notebook->currentIndex(), 2);
}

TEST_F(ObjectPanelWidget, ControlsCarryTheirNamesAndHints) {
    struct TRow {
        const char* Name;
        const char* Hint;
        bool Enabled;
    } buttons[] = {
        {"sbCopyPr", "Kopírovat profil ...", true},
        {"sbPastePr", "Vložit profil ...", true},
        {"sbSAPr", "NAstavit profil jako výchozí ...", true},
        {"sbGAPr", "Přiřadit výchozí profil ...", true},
        {"SpeedButton1", "Zaměnit uzly ...", true},
        {"SpeedButton2", "Otočit profil ...", true},
        {"sbDelPrut1", "Smazat prut ...", true},
        {"ToolButton9", "Přiřadit uzel ...", true},
        {"sbAddLP", "Přidat zatížení ...", true},
        {"sbDelLP", "Smazat zatížení ...", true},
        {"sbCompute", "Výpočet ...", true},
        {"sbShowMatr", "Matice ...", false},
        {"ToolButton10", "Změnit podepření ...", true},
        {"sbPdpRot1", "NAtočit podporu ...", false},
        {"sbPdpRot2", "NAtočit podporu k prutu ...", false},
        {"sbNCoorCh1", "Přesunout uzel ... (t)", false},
        {"sbNewNCoor", "Přdat uzel (u)", false},
        {"SpeedButton7", "Smazat nepřipojené .... (Ctrl+Del)", true},
        {"sbNewNExpr", "2D f(x) editor", false},
        {"SpeedButton4", "Umístit kotvu do uzlu. (Shift+r)", true},
        {"sbAddLU", "Přidat zatížení ...", true},
        {"sbDelLU", "Smazat zatížení ...", true},
        {"ToolButton12", "Načíst knihovnu ...", true},
        {"ToolButton11", "Načíst knihovnu ...", true},
        {"SpeedButton8", "Definovat profil ...", false},
        {"SpeedButton11", "Definovat materiál ...", false},
        {"sbDelNUCrs", "Smazat nepoužité profily ...", true},
        {"sbDelNUMat", "Smazat nepoužité materiály ...", true},
        {"sbCrsAssAll", "Přiřadit všem ...", true},
        {"sbCrsAssSel", "Přiřadit vybraným ...", true},
    };
    for (const TRow& r : buttons) {
        QAbstractButton* b = ButtonNamed(r.Name);
        if (!b) continue;
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(r.Hint)) << r.Name;
        EXPECT_EQ(b->isEnabled(), r.Enabled) << r.Name;
    }
    for (const char* name :
         {"sbDDelka1", "sbDDelka2", "sbDDelka3", "sbDUhel1", "sbDUhel2", "sbDUhel3", "sbDUhel4", "sbPInsN"})
        if (QAbstractButton* b = ButtonNamed(name)) {
            EXPECT_FALSE(b->isEnabled()) << name;
        }
    struct THint {
        const char* Name;
        const char* Hint;
    } hints[] = {{"lCisloP", "číslo prutu"},       {"lCisloU1", "číslo uzlu \"a\""},
                 {"lCisloU2", "číslo uzlu \"b\""}, {"lPrP", "Profil"},
                 {"lDelkaP", "délka prutu"},       {"lPrRP", "Otočit profil ..."},
                 {"lCPomUz", "Pomocný uzel ..."},  {"lCisloU", "číslo uzlu"},
                 {"lSouradniceU", "souřadnice"}};
    for (const THint& h : hints) {
        auto* l = mPanel.findChild<QLabel*>(h.Name);
        ASSERT_NE(l, nullptr) << h.Name;
        EXPECT_EQ(l->toolTip(), QString::fromUtf8(h.Hint)) << h.Name;
    }
    EXPECT_EQ(ShapeNamed("shUzel1")->toolTip(), QString::fromUtf8("uzel \"a\""));
    EXPECT_EQ(ShapeNamed("shUzel2")->toolTip(), QString::fromUtf8("uzel \"b\""));
    EXPECT_EQ(ShapeNamed("shPripojeni1")->toolTip(), QString::fromUtf8("Pevné připojení/kloub"));
    EXPECT_EQ(mPanel.cbProfily()->objectName(), "cbProfily");
    EXPECT_EQ(mPanel.cbProfily()->toolTip(), "Shape library ...");
    EXPECT_EQ(mPanel.cbMaterialy()->objectName(), "cbMaterialy");
    EXPECT_EQ(mPanel.cbMaterialy()->toolTip(), "Material library ...");
    auto* tb9 = mPanel.findChild<QToolButton*>("ToolButton9");
    auto* tb10 = mPanel.findChild<QToolButton*>("ToolButton10");
    ASSERT_TRUE(tb9 && tb10);
    EXPECT_EQ(tb9->menu(), mPanel.PopupMenu2());
    EXPECT_EQ(tb10->menu(), mPanel.PopupMenu1());
    EXPECT_EQ(Text("lZatPCounter"), "x/x");
    EXPECT_EQ(Text("lZatUCounter"), "x/x");
}

TEST_F(ObjectPanelWidget, MemberDisplayFillsLabelsAndCircles) {
    mPanel.SetMenuIndex(2);
    mPanel.VypisHodnotyPrutu();
    EXPECT_EQ(mPanel.MenuIndex(), 0);
    EXPECT_EQ(Text("lCisloP"), "1");
    EXPECT_EQ(Text("lCisloU1"), "1");
    EXPECT_EQ(Text("lCisloU2"), "2");
    EXPECT_EQ(Text("lPrP"), "IPE 200");
    EXPECT_EQ(Text("lDelkaP"), "5,000m");
    EXPECT_EQ(Text("lUhelP"), "306,870 °");
    EXPECT_EQ(Text("lSinP"), "-0,800");
    EXPECT_EQ(Text("lCosP"), "0,600");
    EXPECT_EQ(Text("lPrRP"), "0°");
    EXPECT_EQ(Text("lDeleni"), "10");
    // Hinge at "a", fixed at "b": one circle, at the "a" end only.
    EXPECT_TRUE(ShowsHinge(ShapeNamed("shPripojeni1")));
    EXPECT_TRUE(ShowsNothing(ShapeNamed("shPripojeni2")));
    EXPECT_EQ(Text("lZatPCounter"), ""); // no load: the member load display is empty

    mHost.Model.CurrentMember = nullptr;
    mPanel.VypisHodnotyPrutu();
    for (const char* name : {"lCisloP", "lCisloU1", "lCisloU2", "lPrP", "lDelkaP", "lUhelP", "lSinP", "lCosP",
                             "lPrRP", "lDeleni", "lZatPVelikost", "lZatPCounter"})
        EXPECT_EQ(Text(name), "") << name;
    EXPECT_TRUE(ShowsNothing(ShapeNamed("shPripojeni1")));
}

TEST_F(ObjectPanelWidget, ClickingTheConnectionTogglesTheHinge) {
    mPanel.VypisHodnotyPrutu();
    Click(ShapeNamed("shPripojeni1"));
    EXPECT_FALSE(mModel.M1->HingeA);
    EXPECT_TRUE(ShowsNothing(ShapeNamed("shPripojeni1")));
    Click(ShapeNamed("shPripojeni2"));
    EXPECT_TRUE(mModel.M1->HingeB);
    EXPECT_TRUE(ShowsHinge(ShapeNamed("shPripojeni2")));
    EXPECT_EQ(mHost.Edits, 2);
    EXPECT_EQ(mHost.Repaints, 2);

    mHost.Model.CurrentMember = nullptr;
    Click(ShapeNamed("shPripojeni1"));
    EXPECT_EQ(mHost.Edits, 2);
}

TEST_F(ObjectPanelWidget, SchematicLeadsToNodeAndSectionPages) {
    mPanel.VypisHodnotyPrutu();
    Click(ShapeNamed("shUzel2"));
    EXPECT_EQ(mHost.Model.CurrentNode, mModel.N2);
    EXPECT_EQ(mPanel.MenuIndex(), 1);
    EXPECT_EQ(Text("lCisloU"), "2");
    EXPECT_EQ(Text("lCPomUz"), "2");
    EXPECT_EQ(Text("lSouradniceU"), "( 3,000 ; 4,000 )");
    EXPECT_EQ(Text("Podporalbl"), "žádná");
    EXPECT_EQ(Text("NatPodplbl"), "0,000°");
    Click(ShapeNamed("shUzel1"));
    EXPECT_EQ(mHost.Model.CurrentNode, mModel.N1);
    mHost.Model.CurrentMember = mModel.M2;
    Click(ShapeNamed("Shape3"));
    EXPECT_EQ(mHost.Model.CurrentSection, mModel.Heb);
    EXPECT_EQ(mHost.Model.CurrentMaterial, mModel.Steel);
    EXPECT_EQ(mPanel.MenuIndex(), 2);
    EXPECT_EQ(mPanel.cbProfily()->currentText(), "HEB 200");
    EXPECT_EQ(mPanel.cbMaterialy()->currentText(), "S235");
    EXPECT_EQ(Text("lmPr"), "61,230 kg/m"); // 7850 x 0.00780
    EXPECT_EQ(Text("lAPr"), "0,007800 m2");
    EXPECT_EQ(mHost.Edits, 0); // looking changes nothing
}

TEST_F(ObjectPanelWidget, LoadSpinButtonsWalkTheList) {
    TPrut* m = mModel.M1;
    m->PridejZatizeni(KLoadForce, nullptr, 1, 0, 10, 0, 90);
    TZatizeni* second = m->PridejZatizeni(KLoadMoment, nullptr, 2, 0, 10, 0, 0);
    m->PridejZatizeni(KLoadDistributed, nullptr, 1, 3, 5, 3, 90);
    m->CurrentLoad = second;
    mPanel.VypisHodnotyPrutu();
    EXPECT_EQ(Text("lZatPCounter"), "2/3");
    EXPECT_EQ(Text("lZatPVelikost"), "10,00 kNm");
    EXPECT_EQ(Text("lZatPPoloha"), "2,00 m");
    EXPECT_EQ(Text("lZatPTyp"), "Moment");
    EXPECT_EQ(Text("lZatPUhel"), "x");
    EXPECT_EQ(Text("lZSSoucinitelP"), "1,0");
    Spin("SpinButton2", false);
    Spin("SpinButton2", false);
    EXPECT_EQ(Text("lZatPCounter"), "1/3");
    EXPECT_EQ(Text("lZatPTyp"), "Os.síla");
    Spin("SpinButton2", true);
    Spin("SpinButton2", true);
    Spin("SpinButton2", true);
    EXPECT_EQ(Text("lZatPCounter"), "3/3");
    EXPECT_EQ(Text("lZatPVelikost"), "5,00kN/3,00kN");
    EXPECT_EQ(Text("lZatPPoloha"), "1,00m/4,00m");
    EXPECT_EQ(mHost.Edits, 0);

    TUzel* n = mModel.N3;
    mHost.Model.CurrentNode = n;
    n->PridejZatizeni(KLoadMoment, nullptr, 10, 0);
    n->PridejZatizeni(KLoadForce, nullptr, 7.5L, 45);
    mPanel.VypisHodnotyUzlu();
    EXPECT_EQ(Text("lZatUCounter"), "2/2");
    EXPECT_EQ(Text("lZatUVelikost"), "7,50kN");
    Spin("SpinButton1", false);
    EXPECT_EQ(Text("lZatUCounter"), "1/2");
    EXPECT_EQ(Text("lZatUVelikost"), "10,00kNm");
    EXPECT_EQ(Text("lZatUUhel"), "x");
    Spin("SpinButton1", false);
    EXPECT_EQ(Text("lZatUCounter"), "1/2");
    // The last load deleted: empty nodal display and counter.
    n->SmazZatizeni();
    n->SmazZatizeni();
    mPanel.VypisHodnotyZatizeniU();
    EXPECT_EQ(Text("lZatUCounter"), "");
    EXPECT_EQ(Text("lZatUVelikost") + Text("lZatUTyp") + Text("lZatUUhel"), "");
}

TEST_F(ObjectPanelWidget, LoadCaseFactorInBothLabelsAndKeptWithoutLoad) {
    mHost.Model.WeightCase.Factor = 1.35L;
    mPanel.VypisHodnotyZatezovacihoStavu();
    EXPECT_EQ(Text("lZSSoucinitelP"), "1,35");
    EXPECT_EQ(Text("lZSSoucinitelU"), "1,35");
    mPanel.VypisHodnotyPrutu(); // no load on the member: the factor label stays
    EXPECT_EQ(Text("lZSSoucinitelP"), "1,35");
    mHost.Model.NastavVlastniTihu(true);
    mPanel.VypisHodnotyPrutu();
    EXPECT_EQ(Text("lZatPTyp"), "Vl.tíha kce.");
    EXPECT_EQ(Text("lZSSoucinitelP"), "1,35");
}

TEST_F(ObjectPanelWidget, DeleteMemberAsksFirst) {
    mHost.Model.SelectedMembers.Add(mModel.M1);
    mPanel.VypisPomocnyPrut();
    EXPECT_EQ(Text("lCPomPr"), "1");
    EXPECT_EQ(Text("lCPomPr1"), "1");

    mDialogs.Answers = {false};
    Click(ButtonNamed("sbDelPrut1"));
    ASSERT_EQ(mDialogs.Questions.size(), 1u);
    EXPECT_EQ(mDialogs.Questions[0], "Smazat prut?");
    EXPECT_EQ(mHost.Model.Members.Count(), 2);
    EXPECT_EQ(mHost.Model.SelectedMembers.Count(), 1);
    EXPECT_EQ(mHost.Edits, 0);

    mDialogs.Answers = {true};
    Click(ButtonNamed("sbDelPrut1"));
    ASSERT_EQ(mHost.Model.Members.Count(), 1);
    EXPECT_EQ(mHost.Model.Members[0], mModel.M2);
    EXPECT_EQ(mModel.M2->Number, 1);
    EXPECT_EQ(mHost.Model.CurrentMember, mModel.M2);
    EXPECT_TRUE(mHost.Model.SelectedMembers.Empty());
    EXPECT_EQ(Text("lCPomPr"), "");
    EXPECT_EQ(Text("lCPomPr1"), "");
    EXPECT_EQ(Text("lCisloP"), "1");
    EXPECT_EQ(Text("lPrP"), "HEB 200");
    EXPECT_EQ(mHost.Edits, 1);
    EXPECT_EQ(mHost.Repaints, 1);
    EXPECT_EQ(mHost.SelectionChanges, 1);

    mHost.Model.CurrentMember = nullptr; // nothing to delete: no question
    Click(ButtonNamed("sbDelPrut1"));
    EXPECT_EQ(mDialogs.Questions.size(), 2u);
}

TEST_F(ObjectPanelWidget, AssignNodeFromPopupMenu2) {
    QAction* toA = MenuAction(mPanel.PopupMenu2(), QString::fromUtf8("Přiřadit uzlu \"a\" ..."));
    QAction* toB = MenuAction(mPanel.PopupMenu2(), QString::fromUtf8("Přiřadit uzlu \"b\" ..."));
    ASSERT_TRUE(toA && toB);
    const std::string refusal =
        "Není možno přiřadit oběma koncům týž uzel. Nulová délka prutu není povolena.";
    mHost.Model.CurrentNode = mModel.N2; // node "b" of member 1
    toA->trigger();
    mHost.Model.CurrentNode = mModel.N4; // another node at node "b"'s point
    toA->trigger();
    ASSERT_EQ(mDialogs.Messages.size(), 2u);
    EXPECT_EQ(mDialogs.Messages[0], refusal);
    EXPECT_EQ(mDialogs.Messages[1], refusal);
    EXPECT_EQ(mModel.M1->NodeA, mModel.N1);
    EXPECT_EQ(mHost.Edits, 0);

    mHost.Model.CurrentNode = mModel.N3;
    toB->trigger();
    EXPECT_EQ(mModel.M1->NodeB, mModel.N3);
    EXPECT_EQ(Text("lCisloU2"), "3");
    EXPECT_EQ(Text("lDelkaP"), "7,211m");
    EXPECT_EQ(mPanel.MenuIndex(), 0);
    EXPECT_EQ(mHost.Edits, 1);
    EXPECT_EQ(mHost.Repaints, 1);
}

TEST_F(ObjectPanelWidget, SupportMenuSetsKindAndLabel) {
    const char* captions[] = {"(žádná)",
                              "Vetknutí",
                              "Kloub (u,w-vazba)",
                              "Pos. kloub (u-vazba)",
                              "Pos. kloub (w-vazba)",
                              "Pos. vetknutí (u,rot.-vazba)"};
    const char* labels[] = {"žádná", "Vetknutí", "Kloub", "Pos.kloub (u)", "Pos.kloub (w)", "Pos.vetknutí"};
    ASSERT_EQ(mPanel.PopupMenu1()->actions().size(), 6);
    TUzel* n = mModel.N1;
    mHost.Model.CurrentNode = n;
    n->DofU.Angle = n->DofW.Angle = n->DofRot.Angle = 30;
    mPanel.VypisHodnotyUzlu();
    for (int i = 5; i >= 0; --i) {
        QAction* a = MenuAction(mPanel.PopupMenu1(), QString::fromUtf8(captions[i]));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->data().toInt(), i);
        a->trigger();
        EXPECT_EQ(Text("Podporalbl"), labels[i]);
    }
    // "(žádná)" came last: no restraint, rotation back to 0; the orientation label is not refreshed.
    EXPECT_FALSE(n->DofU.Fixed || n->DofW.Fixed || n->DofRot.Fixed);
    EXPECT_EQ(n->DofU.Angle, 0.0L);
    EXPECT_EQ(n->DofRot.Angle, 0.0L);
    EXPECT_EQ(Text("NatPodplbl"), "30,000°");
    EXPECT_EQ(mHost.Edits, 6);
    EXPECT_EQ(mHost.Repaints, 6);

    mHost.Model.CurrentNode = nullptr;
    mPanel.NastavPodporu(1);
    EXPECT_EQ(mHost.Edits, 6);
}

TEST_F(ObjectPanelWidget, RightClickOnTheSupportLabelOpensTheSupportMenu) {
    mPanel.show();
    mPanel.SetMenuIndex(1);
    auto* label = mPanel.findChild<QLabel*>("Podporalbl");
    ASSERT_NE(label, nullptr);
    Click(label, Qt::LeftButton);
    EXPECT_FALSE(mPanel.PopupMenu1()->isVisible());
    Click(label, Qt::RightButton);
    EXPECT_TRUE(mPanel.PopupMenu1()->isVisible());
    mPanel.PopupMenu1()->hide();
}

TEST_F(ObjectPanelWidget, SectionClipboardAndDefaultSectionButtons) {
    mPanel.VypisHodnotyPrutu();
    Click(ButtonNamed("sbPastePr")); // empty clipboard: nothing
    EXPECT_EQ(mModel.M1->Section, mModel.Ipe);
    Click(ButtonNamed("sbCopyPr"));
    mHost.Model.CurrentMember = mModel.M2;
    mPanel.VypisHodnotyPrutu();
    EXPECT_EQ(Text("lPrP"), "HEB 200");
    Click(ButtonNamed("sbPastePr"));
    EXPECT_EQ(mModel.M2->Section, mModel.Ipe);
    EXPECT_EQ(Text("lPrP"), "IPE 200");
    EXPECT_EQ(mHost.Edits, 1);

    Click(ButtonNamed("sbSAPr")); // the member's section becomes the default
    EXPECT_EQ(mHost.Model.CurrentSection, mModel.Ipe);
    EXPECT_EQ(mPanel.MenuIndex(), 2);
    EXPECT_EQ(mPanel.cbProfily()->currentText(), "IPE 200");

    mHost.Model.CurrentSection = mModel.Heb;
    mPanel.SetMenuIndex(0);
    Click(ButtonNamed("sbGAPr"));
    EXPECT_EQ(mModel.M2->Section, mModel.Heb);
    EXPECT_EQ(Text("lPrP"), "HEB 200");
    EXPECT_EQ(mHost.Edits, 2);
    EXPECT_EQ(mHost.Repaints, 0);
}

TEST_F(ObjectPanelWidget, TurnSectionAndSwapNodes) {
    mPanel.VypisHodnotyPrutu();
    Click(mPanel.findChild<QLabel*>("lPrRP"));
    EXPECT_TRUE(mModel.M1->SectionTurned);
    EXPECT_EQ(Text("lPrRP"), "90°");
    Click(ButtonNamed("SpeedButton2"));
    EXPECT_FALSE(mModel.M1->SectionTurned);
    EXPECT_EQ(Text("lPrRP"), "0°");
    EXPECT_EQ(mHost.Edits, 2);

    Click(ButtonNamed("SpeedButton1"));
    EXPECT_EQ(Text("lCisloU1"), "2");
    EXPECT_EQ(Text("lCisloU2"), "1");
    EXPECT_EQ(Text("lUhelP"), "126,870 °");
    EXPECT_TRUE(ShowsNothing(ShapeNamed("shPripojeni1")));
    EXPECT_TRUE(ShowsHinge(ShapeNamed("shPripojeni2")));
    EXPECT_EQ(mHost.Edits, 3);
    EXPECT_EQ(mHost.Repaints, 1);

    // Without a member the turn only refreshes the (empty) display.
    mHost.Model.CurrentMember = nullptr;
    mPanel.SetMenuIndex(1);
    Click(ButtonNamed("SpeedButton2"));
    EXPECT_EQ(mPanel.MenuIndex(), 0);
    EXPECT_EQ(Text("lPrRP"), "");
    Click(ButtonNamed("SpeedButton1"));
    EXPECT_EQ(mHost.Edits, 3);
}

TEST_F(ObjectPanelWidget, ComboRefillAndChoice) {
    // With no sections or materials the refill leaves the combo boxes as they were.
    TFakeHost emptyHost;
    TObjectPanel emptyPanel(emptyHost);
    emptyPanel.cbProfily()->addItem("stale");
    emptyPanel.RefillSectionAndMaterialLists();
    EXPECT_EQ(emptyPanel.cbProfily()->count(), 1);
    EXPECT_EQ(emptyHost.Model.CurrentSection, nullptr);

    mPanel.RefillSectionAndMaterialLists();
    QComboBox* profily = mPanel.cbProfily();
    QComboBox* materialy = mPanel.cbMaterialy();
    ASSERT_EQ(profily->count(), 3);
    EXPECT_EQ(profily->itemText(2), "Unused");
    EXPECT_EQ(materialy->count(), 2);
    EXPECT_EQ(mHost.Model.CurrentSection, mModel.Ipe);
    EXPECT_EQ(mHost.Model.CurrentMaterial, mModel.Steel);
    EXPECT_EQ(profily->currentText(), "IPE 200");
    EXPECT_EQ(materialy->currentText(), "S235");
    EXPECT_EQ(mPanel.MenuIndex(), 2);

    // Choosing a material changes the current section's material and its mass per metre.
    EXPECT_EQ(Text("lmPr"), "22,294 kg/m"); // 7850 x 0.00284
    mPanel.cbMaterialyChange("C24");
    EXPECT_EQ(mModel.Ipe->Material, mModel.Wood);
    EXPECT_EQ(Text("lmPr"), "1,193 kg/m"); // 420 x 0.00284
    EXPECT_EQ(materialy->currentText(), "C24");
    EXPECT_EQ(mHost.Edits, 1);
    mPanel.cbMaterialyChange("nothing of that name");
    EXPECT_EQ(mHost.Model.CurrentMaterial, nullptr);
    EXPECT_EQ(mModel.Ipe->Material, mModel.Wood);

    mPanel.cbProfilyChange("HEB 200");
    EXPECT_EQ(mHost.Model.CurrentSection, mModel.Heb);
    EXPECT_EQ(mHost.Model.CurrentMaterial, mModel.Steel);
    EXPECT_EQ(materialy->currentText(), "S235");
    mPanel.cbProfilyChange("HEB 999");
    EXPECT_EQ(mHost.Model.CurrentSection, mModel.Heb);

    // Stepping through the list with the arrow keys chooses the same way.
    profily->setCurrentIndex(1);
    QTest::keyClick(profily, Qt::Key_Down);
    EXPECT_EQ(mHost.Model.CurrentSection->Name, "Unused");
    EXPECT_EQ(mHost.Model.CurrentMaterial, mModel.Wood);
    EXPECT_EQ(materialy->currentText(), "C24");
}

TEST_F(ObjectPanelWidget, TypedCharactersGoToTheHostNotTheComboBox) {
    mPanel.RefillSectionAndMaterialLists();
    QComboBox* profily = mPanel.cbProfily();
    profily->setFocus();
    QTest::keyClicks(profily->lineEdit(), "+p");
    ASSERT_EQ(mHost.Keys.size(), 2u);
    EXPECT_EQ(mHost.Keys[0], QChar('+'));
    EXPECT_EQ(mHost.Keys[1], QChar('p'));
    EXPECT_EQ(profily->currentText(), "IPE 200");
    QTest::keyClick(mPanel.cbMaterialy()->lineEdit(), ' ');
    EXPECT_EQ(mHost.Keys.size(), 3u);
    EXPECT_EQ(mPanel.cbMaterialy()->currentText(), "S235");
    // Pasting through the keyboard is a typed character too.
    QTest::keyClick(profily->lineEdit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(profily->currentText(), "IPE 200");
    EXPECT_TRUE(profily->lineEdit()->isReadOnly());
}

TEST_F(ObjectPanelWidget, AssignSectionAndDeleteUnused) {
    mHost.Model.CurrentSection = mModel.Heb;
    mHost.Model.SelectedMembers.Add(mModel.M1);
    Click(ButtonNamed("sbCrsAssSel"));
    EXPECT_EQ(mModel.M1->Section, mModel.Heb);
    EXPECT_EQ(mHost.Edits, 1);
    mHost.Model.CurrentSection = mModel.Ipe;
    Click(ButtonNamed("sbCrsAssAll"));
    EXPECT_EQ(mModel.M1->Section, mModel.Ipe);
    EXPECT_EQ(mModel.M2->Section, mModel.Ipe);
    EXPECT_EQ(mHost.Edits, 2);
    EXPECT_EQ(mHost.Repaints, 0); // assigning a section neither repaints nor refreshes

    mPanel.RefillSectionAndMaterialLists();
    Click(ButtonNamed("sbDelNUCrs"));
    ASSERT_EQ(mHost.Model.Sections.Count(), 1);
    ASSERT_EQ(mPanel.cbProfily()->count(), 1);
    EXPECT_EQ(mPanel.cbProfily()->itemText(0), "IPE 200");
    EXPECT_EQ(mPanel.cbProfily()->currentText(), "IPE 200");
    Click(ButtonNamed("sbDelNUMat"));
    ASSERT_EQ(mHost.Model.Materials.Count(), 1);
    EXPECT_EQ(mPanel.cbMaterialy()->count(), 1);
    EXPECT_EQ(mPanel.cbMaterialy()->currentText(), "S235");
    EXPECT_EQ(mHost.Edits, 4);
    Click(ButtonNamed("sbDelNUCrs")); // nothing left to delete
    EXPECT_EQ(mHost.Edits, 4);
}

TEST_F(ObjectPanelWidget, ImperialDisplays) {
    mHost.Model.NastavSoustavuJednotek(1);
    mPanel.VypisHodnotyPrutu();
    EXPECT_EQ(Text("lDelkaP"), "16'-4,850''");
    mHost.Model.CurrentNode = mModel.N2;
    mPanel.VypisHodnotyUzlu();
    EXPECT_EQ(Text("lSouradniceU"), "( 9'-10,110'' ; 13'-1,480'' )");
    mHost.Model.CurrentSection = mModel.Ipe;
    mPanel.VypisHodnotyProfilu();
    EXPECT_EQ(Text("lAPr"), "4,402009 in2");
    EXPECT_NE(Text("lmPr").find(" lb/ft"), std::string::npos);
    EXPECT_NE(Text("lEMat").find(" psi"), std::string::npos);
    EXPECT_NE(Text("lDMat").find(" lb/ft3"), std::string::npos);
}

TEST_F(ObjectPanelWidget, PointSeparator) {
    SetDecimalSeparator('.');
    mPanel.VypisHodnotyPrutu();
    EXPECT_EQ(Text("lDelkaP"), "5.000m");
    EXPECT_EQ(Text("lSinP"), "-0.800");
    mHost.Model.CurrentNode = mModel.N2;
    mPanel.VypisHodnotyUzlu();
    EXPECT_EQ(Text("lSouradniceU"), "( 3.000 ; 4.000 )");
}

} // namespace
