// The note of a computation at the window's starting size: it is seen whole, never covers the
// status panels (the result tabs, the counters), and its hint explains the equilibrium number.
#include <QLabel>
#include <QStatusBar>
#include <QTabBar>

#include "MainWindowTestSupport.h"

namespace {
QRect Global(const QWidget* w) {
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}
} // namespace

TEST_F(TMainWindowTest, ComputationNoteLeavesTheStatusPanelsUncovered) {
    Form->resize(765, 520);
    Form->OpenProjectFile(QStringLiteral(KORVAN_SOURCE_DIR "/examples/portal-frame.inp"));
    Form->sbComputeClick();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents(); // the equilibrium note follows the repaint
    ASSERT_FALSE(Form->InfoText().isEmpty());
    auto* note = Form->findChild<QLabel*>("StatusInfo");
    ASSERT_NE(note, nullptr);
    ASSERT_TRUE(note->isVisible());
    for (int panel : {8, 10, 12}) {
        auto* widget = Form->statusBar()->findChild<QWidget*>(QString("StatusPanel%1").arg(panel));
        ASSERT_NE(widget, nullptr) << panel;
        EXPECT_FALSE(Global(note).intersects(Global(widget))) << "panel " << panel;
    }
    // The whole note stays at hand in its hint.
    EXPECT_TRUE(note->toolTip().startsWith(Form->InfoText()));
}

// "Rovnováha: …" and the place of a refusal are seen whole within the canvas at 765 pixels; the
// hint says what the equilibrium number is.
TEST_F(TMainWindowTest, ComputationNoteIsSeenWholeAtTheStartingWidth) {
    Form->resize(765, 520);
    Form->OpenProjectFile(QStringLiteral(KORVAN_SOURCE_DIR "/examples/portal-frame.inp"));
    auto* note = Form->findChild<QLabel*>("StatusInfo");
    ASSERT_NE(note, nullptr);
    QWidget* canvas = Form->Canvas()->Area();
    auto seenWhole = [&] {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        const QString shown = note->text();
        return note->isVisible() && !shown.isEmpty() && Global(canvas).contains(Global(note)) &&
               note->width() >= note->sizeHint().width();
    };
    Form->sbComputeClick();
    EXPECT_TRUE(seenWhole()) << note->text().toStdString();
    EXPECT_TRUE(note->text().startsWith(QString::fromUtf8("Rovnováha: ")));
    EXPECT_TRUE(note->toolTip().contains(QString::fromUtf8("Kontrola rovnováhy")))
        << note->toolTip().toStdString();
    // A structure that moves: the place is named in the note.
    for (TUzel* n : Space().Nodes)
        n->DofU.Fixed = n->DofW.Fixed = n->DofRot.Fixed = false;
    Form->ModelEdited();
    Form->sbComputeClick();
    EXPECT_TRUE(seenWhole()) << note->text().toStdString();
    EXPECT_TRUE(note->text().contains("Uzel ")) << note->text().toStdString();
    EXPECT_EQ(note->toolTip(), note->text());
}
