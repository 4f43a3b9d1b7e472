// The status bar at the window's starting size: the note after a computation never covers the
// result tabs or the counters, however long it is.
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
    auto* note = Form->statusBar()->findChild<QLabel*>("StatusInfo");
    ASSERT_NE(note, nullptr);
    for (int panel : {8, 10, 12}) {
        auto* widget = Form->statusBar()->findChild<QWidget*>(QString("StatusPanel%1").arg(panel));
        ASSERT_NE(widget, nullptr) << panel;
        const QRect shown = note->isVisible() ? note->geometry() : QRect();
        EXPECT_FALSE(shown.intersects(widget->geometry()))
            << "panel " << panel << " at " << widget->geometry().x() << ".." << widget->geometry().right()
            << ", note at " << shown.x() << ".." << shown.right();
    }
    // The whole note stays at hand in its hint.
    EXPECT_EQ(note->toolTip(), Form->InfoText());
}
