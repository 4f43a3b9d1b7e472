// The result tabs fit their diagram to the canvas the first time each is shown after a
// computation; later showings keep what the user left, and the next computation fits again.
#include "MainWindowTestSupport.h"
#include "canvas/DiagramFit.h"

namespace {
bool Inside(const TPixelRect& box, const TMKPSpace& s) {
    return box.Left >= 0 && box.Top >= 0 && box.Right <= s.Width && box.Bottom <= s.Height;
}
} // namespace

TEST_F(TMainWindowTest, ResultTabsFitTheirDiagramWhenFirstShownAfterAComputation) {
    Form->resize(765, 520);
    Form->OpenProjectFile(QStringLiteral(KORVAN_SOURCE_DIR "/examples/portal-frame.inp"));
    Form->sbComputeClick();
    ASSERT_TRUE(Space().ResultsValid);
    QTabBar* tabs = Form->FlatTabControl2();
    for (int tab : {3, 2, 1, 4}) {
        tabs->setCurrentIndex(tab);
        EXPECT_TRUE(Inside(RozsahKresby(Space()), Space())) << "tab " << tab;
        EXPECT_EQ(Form->StatusText(3), tab == 4 ? "mm" : "m") << "tab " << tab;
    }
    Form->Klavesa('f'); // the deformed shape keeps its unit
    EXPECT_EQ(Form->StatusText(3), "mm");
    // Shown again: the scale the user set stays.
    tabs->setCurrentIndex(0);
    Space().SetScaleIF(50);
    tabs->setCurrentIndex(3);
    EXPECT_EQ(Space().ScaleIF(), 50);
    EXPECT_EQ(Form->StatusText(2), QString::number(Space().Zoom()) + "%");
    // A new computation shows the tab in front fitted, and the others at their next showing.
    Form->sbComputeClick();
    EXPECT_TRUE(Inside(RozsahKresby(Space()), Space()));
    Space().SetScaleIF(50);
    tabs->setCurrentIndex(2);
    EXPECT_TRUE(Inside(RozsahKresby(Space()), Space()));
}
