// A new user's first frame: from an empty model, with the mouse on the canvas, the menus, the
// panel buttons and the load dialog only, up to the reactions of the computation.
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

#include "MainWindowTestSupport.h"
#include "ui/dialogs/ZatizeniDialog1.h"
#include "ui/panel/LoadInput.h"
#include "ui/panel/ObjectPanel.h"
#include "units/Prevody.h"

namespace {

double D(TReal v) {
    return static_cast<double>(v);
}

class TFrameFromScratchTest : public TMainWindowTest {
protected:
    void SetUp() override {
        TMainWindowTest::SetUp();
        mSaved = DecimalSeparator();
        mSavedSystem = SystemDecimalSeparator();
        SetDecimalSeparator(',');
        SetSystemDecimalSeparator(",");
    }
    void TearDown() override {
        SetDecimalSeparator(mSaved);
        SetSystemDecimalSeparator(mSavedSystem);
        TMainWindowTest::TearDown();
    }

    QWidget* Area() { return Form->Canvas()->Area(); }
    void ClickAt(TReal x, TReal y, Qt::MouseButton button = Qt::LeftButton) {
        const QPoint at = Pixel(x, y);
        ASSERT_TRUE(Area()->rect().contains(at)) << "(" << double(x) << ", " << double(y) << ") off the canvas";
        QTest::mouseClick(Area(), button, {}, at);
    }
    TForm5* Dialog() { return Form->Form5(); }
    void Choose(const char* radio) { Dialog()->findChild<QRadioButton*>(radio)->click(); }
    void Type(const char* field, const char* text) {
        QLineEdit* e = Dialog()->findChild<QLineEdit*>(field);
        e->selectAll();
        QTest::keyClicks(e, QString::fromUtf8(text));
    }
    void Ok() {
        QTest::mouseClick(Dialog()->findChild<QToolButton*>("SpeedButton2"), Qt::LeftButton);
        EXPECT_FALSE(Dialog()->isVisible());
    }
    void PanelClick(const char* button) { Form->Panel()->findChild<QAbstractButton*>(button)->click(); }

private:
    char mSaved = '.';
    std::string mSavedSystem;
};

} // namespace

// A portal frame 4 m wide and 3 m high, pinned at its left foot and on a roller (vertical
// restraint) at its right foot: statically determinate, so its reactions follow from the three
// equilibrium conditions alone.
TEST_F(TFrameFromScratchTest, PortalFrameReactionsMatchEquilibrium) {
    // Steel and the IPE library through the menus; the first section becomes current.
    Form->MenuItem("ocel2")->trigger();
    Form->MenuItem("Natiprofily_crsIPE")->trigger();
    ASSERT_TRUE(Sink.Messages.empty()) << Sink.Messages.front();
    ASSERT_NE(Space().CurrentSection, nullptr);

    // Snap on, then draw the chain of three members and end it with a right click.
    Click("SnapBtn");
    Click("tbAddPrutFH");
    ClickAt(0, 0);
    ClickAt(0, 3);
    ClickAt(4, 3);
    ClickAt(4, 0);
    ClickAt(2, 1.5L, Qt::RightButton);
    ASSERT_EQ(Space().Nodes.Count(), 4);
    ASSERT_EQ(Space().Members.Count(), 3);
    EXPECT_FALSE(Form->IsDown("tbAddPrutFH"));
    TUzel* n1 = Space().Nodes[0];
    TUzel* n4 = Space().Nodes[3];
    TPrut* beam = Space().Members[1];
    EXPECT_NEAR(D(beam->Length), 4, 1e-12);
    EXPECT_NEAR(D(beam->Angle), 0, 1e-12);

    // Supports: pick the node, then the support menu.
    ClickAt(0, 0);
    ASSERT_EQ(Space().CurrentNode, n1);
    Form->MenuItem("Podpora2")->trigger(); // "Kloub (u,w)"
    ClickAt(4, 0);
    ASSERT_EQ(Space().CurrentNode, n4);
    Form->MenuItem("Podpora4")->trigger(); // "Pos. kloub (w)"
    EXPECT_TRUE(n1->DofU.Fixed && n1->DofW.Fixed && !n1->DofRot.Fixed);
    EXPECT_TRUE(!n4->DofU.Fixed && n4->DofW.Fixed && !n4->DofRot.Fixed);

    // Member loads on the beam: 10 kN/m down over its length, 20 kN down at 1 m (typed negative),
    // 12 kNm clockwise at mid-span.
    ClickAt(2, 3);
    ASSERT_EQ(Space().CurrentMember, beam);
    PanelClick("sbAddLP");
    Choose("rgZatTyp2");
    Choose("rgZatOrientace0");
    Type("eZatQb", "10");
    Type("eZatQe", "10");
    Type("eZatUhel", "90");
    Type("eZatA", "0");
    Type("eZatC", "1/");
    Ok();
    PanelClick("sbAddLP");
    Choose("rgZatTyp0");
    Type("eZatQb", "-20");
    Type("eZatA", "1");
    Ok();
    EXPECT_EQ(Sink.Messages, std::vector<std::string>{KNegativeLoadNote});
    Form->MenuItem("PridatzatP1")->trigger();
    Choose("rgZatTyp1");
    Type("eZatQb", "12");
    Type("eZatA", "0,5/");
    Ok();
    ASSERT_EQ(beam->Loads.Count(), 3);

    // Nodal loads: 8 kN to the right at the top of the left column, 6 kNm anticlockwise at the
    // top of the right column (the key "l" on the node page).
    ClickAt(0, 3);
    ASSERT_EQ(Space().CurrentNode, Space().Nodes[1]);
    PanelClick("sbAddLU");
    Choose("rgZatTyp0");
    Type("eZatQb", "8");
    Type("eZatUhel", "0");
    Ok();
    ClickAt(4, 3);
    ASSERT_EQ(Space().CurrentNode, Space().Nodes[2]);
    QTest::keyClick(Area(), Qt::Key_L);
    ASSERT_TRUE(Dialog()->isVisible());
    Choose("rgZatTyp1");
    Type("eZatQb", "-6");
    Ok();
    EXPECT_EQ(Space().Nodes[1]->Loads.Count(), 1);
    EXPECT_EQ(Space().Nodes[2]->Loads.Count(), 1);

    // Self-weight of every member.
    Form->MenuItem("Zapotatthukonstrukce1")->trigger();
    for (TPrut* m : Space().Members)
        EXPECT_EQ(m->Loads.Last()->Kind, KLoadSelfWeight);

    PanelClick("sbCompute");
    ASSERT_TRUE(Space().ResultsValid) << (Sink.Messages.empty() ? "" : Sink.Messages.back());
    EXPECT_TRUE(Form->FlatTabControl2()->isEnabled());

    // By hand, y up, moments about the left foot: self-weight w = rho A g per metre.
    //   H1 = 8 (the node presses to the right on its support);
    //   4 V4 = 40·2 + 20·1 + 8·3 + 12 - 6 + (4w)·2 + (3w)·4  =>  V4 = 32.5 + 5w;
    //   V1 = 40 + 20 + 10w - V4 = 27.5 + 5w.
    const TProfil* section = beam->Section;
    const double w = D(section->Material->D * section->A * 10 / 1000);
    EXPECT_GT(w, 0.0);
    EXPECT_NEAR(D(n1->DofU.Reaction), 8.0, 1e-9);
    EXPECT_NEAR(D(n1->DofW.Reaction), 27.5 + 5 * w, 1e-9);
    EXPECT_NEAR(D(n4->DofW.Reaction), 32.5 + 5 * w, 1e-9);
}
