// The member matrices window opened from the main window: the grids of a horizontal member and of
// a member hinged at both ends, before and after a computation, and the end results kept when the
// next member has none.
#include <QAbstractButton>
#include <QTableWidget>
#include <map>

#include "MainWindowTestSupport.h"
#include "model/Zatizeni.h"
#include "ui/dialogs/MatDialog.h"
#include "ui/panel/ObjectPanel.h"

namespace {
class TMatricesWindowTest : public TMainWindowTest {
protected:
    // A 4 m horizontal bar of IPE 300 (E = 210000 MPa, A = 0.00538 m2) hinged at both ends,
    // pinned at node 1 and on a roller at node 2, pulled along its axis by 100 kN at node 2.
    TPrut* BuildBar() {
        AddSection();
        TUzel* a = Space().PridejUzel(1, 0, 0);
        TUzel* b = Space().PridejUzel(2, 4, 0);
        a->DofU.Fixed = a->DofW.Fixed = true;
        b->DofW.Fixed = true;
        b->PridejZatizeni(KLoadForce, nullptr, 100, 0);
        TPrut* m = Space().PridejPrut(a, b, Space().CurrentSection, false, 1, true, true);
        Space().CurrentMember = m;
        return m;
    }
    TForm4* Window() { return Form->Form4(); }
    QString Cell(const char* grid, int col, int row) { return Window()->Cell(grid, col, row); }
};

TEST_F(TMatricesWindowTest, F10WithoutACurrentMemberDoesNothing) {
    ASSERT_TRUE(Form->MenuItem("Matice1")->isEnabled());
    Form->MenuItem("Matice1")->trigger();
    EXPECT_FALSE(Window()->isVisible());
}

TEST_F(TMatricesWindowTest, HorizontalMemberHasTheIdentityTransformation) {
    BuildBar();
    Form->MenuItem("Matice1")->trigger();
    ASSERT_TRUE(Window()->isVisible());
    EXPECT_EQ(Window()->windowTitle(), "Matice");
    EXPECT_EQ(Window()->property("HelpContext").toInt(), 240);
    for (const char* grid : {"sgPrT", "sgPrTI"}) {
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 6; ++c) EXPECT_EQ(Cell(grid, c, r), r == c ? "1.000" : "0.000") << grid << r << c;
        for (int r = 0; r < 6; ++r) EXPECT_EQ(Cell(grid, 6, r), "") << grid; // last column never written
    }
    // The values stay in the model's units; in the imperial system a note says so.
    QWidget* note = Window()->findChild<QWidget*>("lJednotky");
    EXPECT_FALSE(note->isVisibleTo(Window()));
    Space().NastavSoustavuJednotek(1);
    Form->MenuItem("Matice1")->trigger();
    EXPECT_TRUE(note->isVisibleTo(Window()));
    EXPECT_EQ(Cell("sgPrT", 0, 0), "1.000");
}

TEST_F(TMatricesWindowTest, PinPinMemberBeforeAndAfterAComputation) {
    BuildBar();
    QAbstractButton* button = Form->Panel()->findChild<QAbstractButton*>("sbShowMatr");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    button->click();
    ASSERT_TRUE(Window()->isVisible());

    // EA / l = 210000 * 0.00538 / 4: only the four axial terms (u of each end) are not zero.
    const QString axial = QString::fromStdString(FormatFixed(210000 * 0.00538L / 4, 6, 2));
    const QString minusAxial = QString::fromStdString(FormatFixed(-210000 * 0.00538L / 4, 6, 2));
    for (const char* grid : {"sgPrkabL", "sgPrkabG"}) {
        EXPECT_EQ(Cell(grid, 0, 0), "") << grid;
        for (int i = 1; i <= 6; ++i) {
            EXPECT_EQ(Cell(grid, i, 0), QString::number(i)) << grid; // equation numbers of nodes 1 and 2
            EXPECT_EQ(Cell(grid, 0, i), QString::number(i)) << grid;
        }
        for (int r = 1; r <= 6; ++r)
            for (int c = 1; c <= 6; ++c) {
                const bool ur = r == 2 || r == 5, uc = c == 2 || c == 5;
                const QString expected = ur && uc ? (r == c ? axial : minusAxial) : "0.00";
                EXPECT_EQ(Cell(grid, c, r), expected) << grid << " row " << r << " col " << c;
            }
    }
    // No member load: zero fixed-end forces; node b carries the 100 kN along u.
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(Cell("sgPrMabL", 0, r), "0.000");
        EXPECT_EQ(Cell("sgPrMabG", 0, r), QString::number(r + 1));
        EXPECT_EQ(Cell("sgPrMabG", 1, r), "0.000");
        EXPECT_EQ(Cell("sgPrPab", 0, r), QString::number(r + 1));
        EXPECT_EQ(Cell("sgPrPab", 1, r), r == 4 ? "100.000" : "0.000") << r;
    }
    // Before the first computation the end results stay empty.
    for (const char* grid : {"sgPrSa", "sgPrSb"})
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 3; ++c) EXPECT_EQ(Cell(grid, c, r), "") << grid;

    Form->sbComputeClick();
    ASSERT_TRUE(Space().ResultsValid);
    button->click();
    // The bar stretches by F l / EA = 100 * 4 / (210000 * 0.00538) mm.
    struct Row {
        const char* grid;
        int row;
        QString text;
    } const rows[] = {
        {"sgPrSa", 0, "0.000"},   {"sgPrSa", 1, "-100.000"}, {"sgPrSa", 2, "0.000"},
        {"sgPrSa", 4, "0.00E+0"}, {"sgPrSa", 5, "0.00E+0"},  {"sgPrSb", 0, "0.000"},
        {"sgPrSb", 1, "100.000"}, {"sgPrSb", 2, "0.000"},    {"sgPrSb", 4, "3.54E-1"},
        {"sgPrSb", 5, "0.00E+0"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Cell(r.grid, 1, r.row), r.text) << r.grid << " row " << r.row;
        EXPECT_EQ(Cell(r.grid, 0, r.row), "") << r.grid; // column 0 is never written
    }

    // A member added since has no end results: its filling keeps the previous ones.
    TUzel* c = Space().PridejUzel(3, 4, 3);
    Space().CurrentMember = Space().PridejPrut(Space().Nodes[1], c, Space().CurrentSection, false, 2, false, false);
    Form->Vpismatic1Click();
    EXPECT_EQ(Cell("sgPrSb", 1, 4), "3.54E-1");
    EXPECT_EQ(Cell("sgPrSb", 1, 1), "100.000");
    // ... while the other grids show the new member, which points down (90 degrees clockwise).
    EXPECT_EQ(Cell("sgPrT", 0, 0), "1.000");
    EXPECT_NE(Cell("sgPrT", 1, 1), "1.000");
    EXPECT_EQ(Cell("sgPrkabL", 1, 0), "4"); // node 2 is its end a
}
} // namespace

namespace {
// The texts without a window: a hinged end has no rotational stiffness in kab*, before any
// computation could turn the member round, and the end results stay unwritten.
TEST(MemberMatrixTexts, HingedEndsHaveNoRotationalStiffness) {
    struct Row {
        bool hingeA, hingeB;
        bool zeroA, zeroB; // row and column of the rotation at a / b all zero
        bool zeroShear;    // transverse terms zero as well
    } const rows[] = {
        {false, false, false, false, false},
        {true, false, true, false, false},
        {false, true, false, true, false},
        {true, true, true, true, true},
    };
    for (const Row& r : rows) {
        TMKPSpace space;
        TMaterial* m = space.PridejMaterial("S", 210000, 7850);
        TProfil* s = space.PridejProfil("P", m, 0.01L, 0.0001L, 0.0001L);
        TUzel* a = space.PridejUzel(1, 0, 0);
        TUzel* b = space.PridejUzel(2, 5, 0);
        TPrut* member = space.PridejPrut(a, b, s, false, 1, r.hingeA, r.hingeB);
        const TMatrixGridWrites w = MemberMatrixTexts(*member, '.');
        std::map<std::pair<int, int>, std::string> k;
        for (const TGridCell& c : w.KabL) k[{c.Col, c.Row}] = c.Text;
        EXPECT_EQ(k[std::make_pair(0, 0)], "") << r.hingeA << r.hingeB;
        auto zeroLine = [&](int i) {
            for (int j = 1; j <= 6; ++j)
                if (k[{i, j}] != "0.00" || k[{j, i}] != "0.00") return false;
            return true;
        };
        EXPECT_EQ(zeroLine(1), r.zeroA) << r.hingeA << r.hingeB;
        EXPECT_EQ(zeroLine(4), r.zeroB) << r.hingeA << r.hingeB;
        EXPECT_EQ(k[std::make_pair(3, 3)] == "0.00", r.zeroShear) << r.hingeA << r.hingeB; // w at a
        EXPECT_NE(k[std::make_pair(2, 2)], "0.00");                                       // u at a: axial
        EXPECT_TRUE(w.Sa.empty());
        EXPECT_TRUE(w.Sb.empty());
        // Working matrices are released again.
        EXPECT_TRUE(member->T.empty() && member->kabL.empty() && member->kabG.empty() && member->MabG.empty());
        EXPECT_TRUE(a->LoadVector.empty() && b->LoadVector.empty());
    }
}
} // namespace
