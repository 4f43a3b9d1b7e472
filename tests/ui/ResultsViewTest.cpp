// The window's results box, the value under the pointer, pinned values and the report of what
// is shown, on a simply supported beam with three load cases.
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QTabBar>
#include <QTextEdit>

#include "analysis/En1990.h"
#include "analysis/Envelope.h"
#include "MainWindowTestSupport.h"
#include "ui/export/VyslMemo.h"

namespace {
class TResultsViewTest : public TMainWindowTest {
protected:
    // A 6 m beam, pinned at node 1, on rollers at node 2: G 4 kN/m and Q 3 kN/m down along it,
    // W a force along it at node 2.
    void Beam() {
        AddSection();
        TMKPSpace& s = Space();
        TUzel* a = s.PridejUzel(1, 0, 0);
        TUzel* b = s.PridejUzel(2, 6, 0);
        a->DofU.Fixed = a->DofW.Fixed = true;
        b->DofW.Fixed = true;
        TPrut* m = s.PridejPrut(a, b, s.CurrentSection, false, 1, false, false);
        TZatezovaciStav* g = s.PridejZatezovaciStav("G", TCaseKind::Permanent);
        TZatezovaciStav* q = s.PridejZatezovaciStav("Q", TCaseKind::Variable, TCaseCategory::B);
        TZatezovaciStav* w = s.PridejZatezovaciStav("W", TCaseKind::Variable, TCaseCategory::Wind);
        s.NastavStavZatizeni(*m->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 4, 4, 90), g);
        s.NastavStavZatizeni(*m->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 3, 3, 90), q);
        s.NastavStavZatizeni(*b->PridejZatizeni(KLoadForce, nullptr, 5, 180), w);
        s.VygenerujKombinace({});
        s.SetZoom(100);
        Form->RepaintCanvas();
    }
    void Choose(const char* text) {
        const int i = Form->ResultsBox()->findText(QString::fromUtf8(text));
        ASSERT_GE(i, 0) << text;
        Form->ResultsBoxChange(i);
    }
    void Hover(QPoint at) { Form->MKPSpace1MouseMove({}, {}, at.x(), at.y()); }
};
} // namespace

TEST_F(TResultsViewTest, BoxIsHiddenWithoutCases) {
    AddSection();
    Space().PridejUzel(1, 0, 0);
    Form->RepaintCanvas();
    EXPECT_FALSE(Form->ResultsBox()->isVisible());
    EXPECT_EQ(Form->ResultsBox()->count(), 0);
}

TEST_F(TResultsViewTest, EnvelopeAndTheValueUnderThePointer) {
    Beam();
    QComboBox* box = Form->ResultsBox();
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->itemText(0), "G");
    EXPECT_EQ(box->itemText(box->count() - 1), QString::fromUtf8("Obálka všech kombinací"));
    Form->sbComputeClick();
    ASSERT_TRUE(Space().ResultsValid);
    Form->FlatTabControl2()->setCurrentIndex(3);

    // A case: M at midspan is q·L²/8 of its load.
    Choose("G");
    const QPoint mid = Pixel(3, 0);
    Hover(mid);
    EXPECT_EQ(Form->PointerValueText(), "Prut 1, x = 3.000 m: M = 18.000 kNm");
    EXPECT_TRUE(Form->PointerLabel()->isVisible());
    EXPECT_EQ(Form->PointerLabel()->text(), Form->PointerValueText());
    Hover(Pixel(3, 1)); // a metre off the beam
    EXPECT_TRUE(Form->PointerValueText().isEmpty());
    EXPECT_FALSE(Form->PointerLabel()->isVisible());

    // The ultimate envelope: the largest M at midspan is the largest q of its combinations · L²/8.
    Choose("Obálka MSÚ");
    ASSERT_TRUE(Space().Envelope);
    TReal largest = 0;
    std::string by;
    for (const TKombinace* k : Space().Envelope->Combinations) {
        TReal q = 0;
        for (const TCombinationTerm& t : k->Terms)
            q += t.Factor * (t.Case->Name == "G" ? 4 : t.Case->Name == "Q" ? 3 : 0);
        if (q * 36 / 8 > largest) largest = q * 36 / 8, by = k->Name;
    }
    ASSERT_GT(largest, 18);
    Hover(mid);
    const QString text = Form->PointerValueText();
    const QString head = QString::fromUtf8("Prut 1, x = 3.000 m: M max = ");
    ASSERT_TRUE(text.startsWith(head)) << text.toStdString();
    EXPECT_NEAR(text.mid(head.size()).section(' ', 0, 0).toDouble(), double(largest), 1e-3);
    EXPECT_TRUE(text.contains(QString::fromStdString(" kNm (" + by + "), min = "))) << text.toStdString();

    // A click pins the value: the picture changes; Esc takes it away again.
    const QImage before = Form->Canvas()->Area()->Picture().copy();
    Press(mid);
    ASSERT_EQ(Space().ValueMarks.size(), 1u);
    EXPECT_NE(Form->Canvas()->Area()->Picture(), before);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(Form->Canvas()->Area(), &esc);
    EXPECT_TRUE(Space().ValueMarks.empty());
    EXPECT_EQ(Form->Canvas()->Area()->Picture(), before);

    // F12 shows the envelope's report; an edit of the model removes pinned values.
    Form->Reakce1Click();
    EXPECT_TRUE(Form->Form6()->Memo1()->toPlainText().startsWith(QString::fromUtf8("OBÁLKA VÝSLEDKŮ")));
    Press(mid);
    ASSERT_EQ(Space().ValueMarks.size(), 1u);
    Space().Nodes[1]->X = 7;
    Form->ModelEdited();
    Form->RepaintCanvas();
    EXPECT_TRUE(Space().ValueMarks.empty());
}
