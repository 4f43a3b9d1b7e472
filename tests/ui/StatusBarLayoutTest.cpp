// The window at its starting size: the note after a computation ("Rovnováha: …", the place of a
// refusal) is seen whole on the canvas and never covers the result tabs or the counters.
#include <QLabel>
#include <QStatusBar>
#include <QTabBar>

#include "MainWindowTestSupport.h"

TEST_F(TMainWindowTest, ComputationNoteLeavesTheStatusPanelsUncovered) {
    Form->resize(765, 520);
    Form->OpenProjectFile(QStringLiteral(KORVAN_SOURCE_DIR "/examples/portal-frame.inp"));
    Form->sbComputeClick();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents(); // the equilibrium note follows the repaint
    ASSERT_FALSE(Form->InfoText().isEmpty());
    auto* note = Form->findChild<QLabel*>("StatusInfo");
    ASSERT_NE(note, nullptr);
    auto global = [](const QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); };
    for (int panel : {8, 10, 12}) {
        auto* widget = Form->statusBar()->findChild<QWidget*>(QString("StatusPanel%1").arg(panel));
        ASSERT_NE(widget, nullptr) << panel;
        EXPECT_FALSE(global(note).intersects(global(widget))) << "panel " << panel;
    }
    // Seen whole on the canvas; the hint says what the number means.
    EXPECT_TRUE(note->isVisible() && global(Form->Canvas()->Area()).contains(global(note)));
    EXPECT_GE(note->width(), note->sizeHint().width());
    EXPECT_TRUE(note->toolTip().startsWith(Form->InfoText() + "\nKontrola rovnováhy"));
    for (TUzel* n : Space().Nodes) // one pin holds the frame: the note names where it turns
        n->DofU.Fixed = n->DofW.Fixed = n->DofRot.Fixed = n == Space().Nodes[0];
    Space().Nodes[0]->DofRot.Fixed = false;
    Form->ModelEdited();
    Form->sbComputeClick();
    EXPECT_TRUE(note->isVisible() && note->text().startsWith("Uzel ") &&
                note->width() >= note->sizeHint().width());
}
