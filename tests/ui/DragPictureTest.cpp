// The picture of a node drag painted in layers is at every move, after any other repaint during
// the drag and after the release the full repaint of the model as it stands.
#include <random>

#include "MainWindowTestSupport.h"
#include "canvas/DragPicture.h"
#include "render/QtCanvasPainter.h"

namespace {
class TDragPictureTest : public TMainWindowTest {
protected:
    TCanvasArea& Area() { return *Form->Canvas()->Area(); }

    QImage Full() {
        QImage image(Area().Picture().size(), QImage::Format_RGB32);
        TQtCanvasPainter p(image);
        Space().Prekresli(p);
        return image;
    }

    // A frame of cols × rows nodes around the origin (no node on it) with supports, loads and hinges
    // of every kind, some of it selected, fitted to the canvas.
    void Frame(std::mt19937& random) {
        AddSection();
        auto pick = [&](int n) { return int(random() % unsigned(n)); };
        const int cols = 3 + pick(3), rows = 2 + pick(3);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                TUzel* n = Space().PridejUzel(r * cols + c + 1, c - 1.5L, r - 0.5L);
                if (r == 0) n->DofU.Fixed = n->DofW.Fixed = n->DofRot.Fixed = pick(2) == 0;
                if (r == 0 && !n->DofU.Fixed) n->DofW.Fixed = true;
                if (pick(3) == 0)
                    n->PridejZatizeni(pick(2) ? KLoadForce : KLoadMoment, nullptr, 1 + pick(9), 45 * pick(8));
            }
        auto join = [&](int a, int b) {
            TPrut* m = Space().PridejPrut(Space().Nodes[a], Space().Nodes[b], Space().CurrentSection, false,
                                          Space().Members.Count() + 1, pick(4) == 0, pick(4) == 0);
            const int kind = pick(4);
            if (kind == 1) m->PridejZatizeni(KLoadDistributed, nullptr, 0, 1, 2 + pick(5), 2 + pick(5), 90);
            if (kind == 2) m->PridejZatizeni(KLoadForce, nullptr, 0.5L, 0, 3 + pick(5), 0, 90);
            if (kind == 3) m->PridejZatizeni(KLoadMoment, nullptr, 0.5L, 0, 3, 0, 0);
            if (pick(5) == 0) Space().SelectedMembers.Add(m);
        };
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                if (c + 1 < cols) join(r * cols + c, r * cols + c + 1);
                if (r + 1 < rows) join(r * cols + c, (r + 1) * cols + c);
            }
        Space().SelectedNodes.Add(Space().Nodes[pick(Space().Nodes.Count())]);
        Space().CurrentMember = Space().Members[pick(Space().Members.Count())];
        Space().ShowNumbers = pick(2) == 0;
        Space().GridVisible = pick(2) == 0;
        Form->FormKeyPress('*');
    }

    // The picture shown is the full repaint of the model as it stands, however it was painted.
    bool ShowsFull() { return Area().Picture() == Full(); }
};

// Random frames, a node dragged over them with, between its moves, what may happen during a drag:
// a zoom, an edit by keyboard, an edit elsewhere in the model, an undo, a move near the origin
// marker (whose letters and gap heed the nodes there).
TEST_F(TDragPictureTest, EveryMoveShowsTheFullPicture) {
    Form->resize(700, 500);
    QApplication::processEvents();
    Area().SetLayeredFrom(0);
    int layered = 0, moves = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        Space().SmazVse();
        Frame(random);
        // A result mode without results draws the members as lines, as a large frame shows while
        // it is dragged with live results.
        if (seed % 3 == 0) Space().SetTypZobrazeni(std::uint8_t(1 + seed % 4));
        TUzel* node = Space().Nodes[int(random() % unsigned(Space().Nodes.Count()))];
        if (!Form->IsDown("tbeMoveNode")) Click("tbeMoveNode");
        const QPoint start = Pixel(node->X, node->Y);
        Form->MKPSpace1MouseDown(Qt::LeftButton, Qt::LeftButton, {}, start.x(), start.y());
        ASSERT_TRUE(Form->NodeDragging());
        for (int step = 0; step < 8 && Form->NodeDragging(); ++step) {
            const std::string what = "seed " + std::to_string(seed) + " step " + std::to_string(step);
            QPoint to(40 + int(random() % 600u), 40 + int(random() % 380u));
            if (step == 5) to = Pixel(0, 0) + QPoint(3, -2);
            Form->MKPSpace1MouseMove(Qt::LeftButton, {}, to.x(), to.y());
            EXPECT_TRUE(ShowsFull()) << what;
            layered += Area().Layered();
            ++moves;
            const int event = int(random() % 6u);
            if (event == 0) Form->FormKeyPress(random() % 2 ? '+' : '-');
            if (event == 1) Form->FormKeyPress('<');
            if (event == 2) { // a far node's load, as a panel command changes it
                TUzel* other = Space().Nodes[Space().Nodes[0] == Space().CurrentNode ? 1 : 0];
                other->PridejZatizeni(KLoadForce, nullptr, 7, 30 * step);
                Form->ModelEdited();
                Space().Prekresli();
            }
            if (event == 3) Form->Zpet();
            if (event <= 3) {
                EXPECT_FALSE(Area().Layered()) << what;
                EXPECT_TRUE(ShowsFull()) << what;
            }
        }
        Form->MKPSpace1MouseUp(Qt::LeftButton, {}, 0, 0);
        EXPECT_TRUE(ShowsFull()) << seed;
        Sink.Messages.clear();
    }
    EXPECT_GT(layered, moves / 2);
}

// A node without members covers little of the canvas, less than the origin marker changes when
// the node comes near it (the arrows keep off its support, the letters off its number).
TEST_F(TDragPictureTest, NodeNearTheOriginMarkerShowsTheFullPicture) {
    Area().SetLayeredFrom(0);
    std::mt19937 random(5);
    Frame(random);
    Space().ShowNumbers = true;
    TUzel* lone = Space().PridejUzel(Space().Nodes.Count() + 1, 0.5L, 0.25L);
    Space().Prekresli();
    Click("tbeMoveNode");
    const QPoint start = Pixel(lone->X, lone->Y), origin = Pixel(0, 0);
    Form->MKPSpace1MouseDown(Qt::LeftButton, Qt::LeftButton, {}, start.x(), start.y());
    for (const QPoint by : {QPoint(60, -60), QPoint(3, -2), QPoint(60, -60), QPoint(14, -8), QPoint(60, -60),
                            QPoint(-30, -52), QPoint(60, -60), QPoint(10, -2)}) {
        Form->MKPSpace1MouseMove(Qt::LeftButton, {}, origin.x() + by.x(), origin.y() + by.y());
        EXPECT_TRUE(ShowsFull()) << by.x() << " " << by.y();
    }
    Form->MKPSpace1MouseUp(Qt::LeftButton, {}, 0, 0);
}

// Results computed again at every move (live results on a small frame) change every member's
// diagram: such moves are painted whole.
TEST_F(TDragPictureTest, ResultsOfEveryMoveArePaintedWhole) {
    Area().SetLayeredFrom(0);
    std::mt19937 random(3);
    Frame(random);
    for (TPrut* m : Space().Members)
        m->HingeA = m->HingeB = false;
    Space().Nodes[0]->DofU.Fixed = Space().Nodes[0]->DofW.Fixed = Space().Nodes[0]->DofRot.Fixed = true;
    Form->SetLiveResults(true);
    Form->sbComputeClick();
    ASSERT_TRUE(Space().ResultsValid);
    Form->FlatTabControl2()->setCurrentIndex(3);
    Click("tbeMoveNode");
    TUzel* node = Space().Nodes[Space().Nodes.Count() - 1];
    const QPoint start = Pixel(node->X, node->Y);
    Form->MKPSpace1MouseDown(Qt::LeftButton, Qt::LeftButton, {}, start.x(), start.y());
    // The diagrams of the bending moments, then the model view with the reactions.
    for (int step = 1; step <= 6; ++step) {
        if (step == 4) {
            Form->FlatTabControl2()->setCurrentIndex(0);
            Space().SetShowReactions(true);
        }
        Form->MKPSpace1MouseMove(Qt::LeftButton, {}, start.x() + 9 * step, start.y() - 7 * step);
        ASSERT_TRUE(Space().ResultsValid);
        ASSERT_EQ(Space().TypZobrazeni(), step < 4 ? 3 : 0);
        EXPECT_TRUE(ShowsFull()) << step;
    }
    Form->MKPSpace1MouseUp(Qt::LeftButton, {}, 0, 0);
}

// A frame of the size at which drags are painted in layers, its members a few pixels long: the
// region of a move meets many others.
TEST_F(TDragPictureTest, DenseFrameShowsTheFullPicture) {
    AddSection();
    const int side = 36;
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            TUzel* n = Space().PridejUzel(r * side + c + 1, c * 0.2L, r * 0.2L);
            if (r == 0) n->DofU.Fixed = n->DofW.Fixed = n->DofRot.Fixed = true;
            if (r == side - 1) n->PridejZatizeni(KLoadForce, nullptr, 1, 0);
        }
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            TUzel* n = Space().Nodes[r * side + c];
            if (c + 1 < side)
                Space().PridejPrut(n, Space().Nodes[r * side + c + 1], Space().CurrentSection, false,
                                   Space().Members.Count() + 1, false, false);
            if (r + 1 < side)
                Space().PridejPrut(n, Space().Nodes[(r + 1) * side + c], Space().CurrentSection, false,
                                   Space().Members.Count() + 1, false, false);
        }
    Space().ShowNumbers = true;
    Form->FormKeyPress('*');
    ASSERT_GE(Space().Nodes.Count(), TCanvasArea::KLayeredFrom);
    Click("tbeMoveNode");
    const TUzel* node = Space().Nodes[side * side / 2 + side / 2];
    const QPoint start = Pixel(node->X, node->Y);
    Form->MKPSpace1MouseDown(Qt::LeftButton, Qt::LeftButton, {}, start.x(), start.y());
    for (int step = 1; step <= 4; ++step) {
        Form->MKPSpace1MouseMove(Qt::LeftButton, {}, start.x() + 7 * step, start.y() + 3 - 5 * step);
        EXPECT_TRUE(Area().Layered()) << step;
        EXPECT_TRUE(ShowsFull()) << step;
    }
    Form->MKPSpace1MouseUp(Qt::LeftButton, {}, 0, 0);
}

// A frame below the size at which drags are painted in layers is painted whole at every move.
TEST_F(TDragPictureTest, SmallFrameIsPaintedWholeAtEveryMove) {
    std::mt19937 random(7);
    Frame(random);
    ASSERT_LT(Space().Nodes.Count(), TCanvasArea::KLayeredFrom);
    Click("tbeMoveNode");
    const QPoint start = Pixel(Space().Nodes[1]->X, Space().Nodes[1]->Y);
    Form->MKPSpace1MouseDown(Qt::LeftButton, Qt::LeftButton, {}, start.x(), start.y());
    Form->MKPSpace1MouseMove(Qt::LeftButton, {}, start.x() + 30, start.y() - 20);
    EXPECT_FALSE(Area().Layered());
    EXPECT_TRUE(ShowsFull());
}
} // namespace
