// Result tabs fit their diagram when first shown after a computation; later showings keep the
// scale the user left, and the next computation fits again.
#include "MainWindowTestSupport.h"
#include "canvas/DiagramFit.h"

TEST_F(TMainWindowTest, ResultTabsFitTheirDiagramWhenFirstShownAfterAComputation) {
    Form->OpenProjectFile(QStringLiteral(KORVAN_SOURCE_DIR "/examples/portal-frame.inp"));
    Form->sbComputeClick();
    auto inside = [this] {
        const TPixelRect b = RozsahKresby(Space());
        return b.Left >= 0 && b.Top >= 0 && b.Right <= Space().Width && b.Bottom <= Space().Height;
    };
    QTabBar* tabs = Form->FlatTabControl2();
    for (int tab : {3, 2, 1, 4}) {
        tabs->setCurrentIndex(tab);
        EXPECT_TRUE(inside()) << tab;
        EXPECT_EQ(Form->StatusText(3), tab == 4 ? "mm" : "m") << tab;
    }
    Form->Klavesa('f');
    EXPECT_EQ(Form->StatusText(3), "mm"); // a fit leaves the deformed shape's unit
    Space().SetScaleIF(50);
    tabs->setCurrentIndex(3);
    EXPECT_EQ(Space().ScaleIF(), 50);
    Form->sbComputeClick(); // the tab in front is fitted at once
    EXPECT_TRUE(inside());
    EXPECT_EQ(Form->StatusText(2), QString::number(Space().Zoom()) + "%");
}
