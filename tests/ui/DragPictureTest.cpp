// The picture of a node drag painted in layers is at every move, after any other repaint during
// the drag and after the release the full repaint of the model as it stands.
#include <random>

#include "MainWindowTestSupport.h"
#include "render/QtCanvasPainter.h"

namespace {
class TDragPictureTest : public TMainWindowTest {
protected:
    TCanvasArea& Area() { return *Form->Canvas()->Area(); }

    // The picture shown is the full repaint of the model as it stands, however it was painted.
    bool ShowsFull() {
        QImage full(Area().Picture().size(), QImage::Format_RGB32);
        TQtCanvasPainter p(full);
        Space().Prekresli(p);
        return Area().Picture() == full;
    }

    // cols × rows nodes `step` apart around the origin (no node on it) with supports, loads and
    // hinges of every kind, some of it selected, fitted to the canvas.
    void Frame(std::mt19937& random, int cols, int rows, TReal step = 1) {
        AddSection();
        auto pick = [&](int n) { return int(random() % unsigned(n)); };
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                TUzel* n = Space().PridejUzel(r * cols + c + 1, (c - 1.5L) * step, (r - 0.5L) * step);
                n->DofW.Fixed = r == 0;
                if (r == 0) n->DofU.Fixed = n->DofRot.Fixed = pick(2) == 0;
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

    // Presses the move tool on the node; returns its pixel.
    QPoint Grab(const TUzel* node) {
        if (!Form->IsDown("tbeMoveNode")) Click("tbeMoveNode");
        const QPoint at = Pixel(node->X, node->Y);
        Form->MKPSpace1MouseDown(Qt::LeftButton, Qt::LeftButton, {}, at.x(), at.y());
        return at;
    }
    void MoveTo(QPoint at) { Form->MKPSpace1MouseMove(Qt::LeftButton, {}, at.x(), at.y()); }
};

// Random frames, a node dragged over them with, between its moves, what may happen during a drag:
// a zoom, an edit by keyboard, an edit elsewhere in the model, an undo, a move near the origin
// marker (whose letters and gap heed the nodes there); some in a result mode without results.
TEST_F(TDragPictureTest, EveryMoveShowsTheFullPicture) {
    Form->resize(700, 500);
    QApplication::processEvents();
    Area().SetLayeredFrom(0);
    int layered = 0, moves = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        Space().SmazVse();
        Frame(random, 3 + int(random() % 3u), 2 + int(random() % 3u));
        if (seed % 3 == 0) Space().SetTypZobrazeni(std::uint8_t(1 + seed % 4));
        Grab(Space().Nodes[int(random() % unsigned(Space().Nodes.Count()))]);
        for (int step = 0; step < 8 && Form->NodeDragging(); ++step) {
            const std::string what = "seed " + std::to_string(seed) + " step " + std::to_string(step);
            MoveTo(step == 5 ? Pixel(0, 0) + QPoint(3, -2)
                             : QPoint(40 + int(random() % 600u), 40 + int(random() % 380u)));
            EXPECT_TRUE(ShowsFull()) << what;
            layered += Area().Layered();
            ++moves;
            const int event = int(random() % 6u);
            if (event == 0) Form->FormKeyPress(random() % 2 ? '+' : '-');
            if (event == 1) Form->FormKeyPress('<');
            if (event == 2) { // a far node's load, as a panel command changes it
                TUzel* other = Space().Nodes[Space().Nodes[0] == Space().CurrentNode];
                other->PridejZatizeni(KLoadForce, nullptr, 7, 9);
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

// Members a few pixels long on a frame of the size painted in layers: a move's region meets many
// other objects, which keep their places over and under the moving ones.
TEST_F(TDragPictureTest, DenseFrameShowsTheFullPicture) {
    std::mt19937 random(5);
    Frame(random, 36, 30, 0.2L);
    ASSERT_GE(Space().Nodes.Count(), TCanvasArea::KLayeredFrom);
    Space().ShowNumbers = true;
    Space().Prekresli();
    const QPoint start = Grab(Space().Nodes[15 * 36 + 18]);
    for (int step = 1; step <= 4; ++step) {
        MoveTo(start + QPoint(7 * step, 3 - 5 * step));
        EXPECT_TRUE(Area().Layered()) << step;
        EXPECT_TRUE(ShowsFull()) << step;
    }
}

// Results computed again at every move (live results on a small frame) change every member's
// diagram and every reaction: such moves are painted whole.
TEST_F(TDragPictureTest, ResultsOfEveryMoveArePaintedWhole) {
    Area().SetLayeredFrom(0);
    std::mt19937 random(3);
    Frame(random, 4, 3);
    for (TPrut* m : Space().Members)
        m->HingeA = m->HingeB = false;
    Space().Nodes[0]->DofU.Fixed = Space().Nodes[0]->DofRot.Fixed = true;
    Form->SetLiveResults(true);
    Form->sbComputeClick();
    ASSERT_TRUE(Space().ResultsValid);
    Form->FlatTabControl2()->setCurrentIndex(3);
    const QPoint start = Grab(Space().Nodes[Space().Nodes.Count() - 1]);
    for (int step = 1; step <= 6; ++step) {
        if (step == 4) {
            Form->FlatTabControl2()->setCurrentIndex(0);
            Space().SetShowReactions(true);
        }
        MoveTo(start + QPoint(9 * step, -7 * step));
        ASSERT_TRUE(Space().ResultsValid);
        ASSERT_EQ(Space().TypZobrazeni(), step < 4 ? 3 : 0);
        EXPECT_TRUE(ShowsFull()) << step;
    }
}

// A frame below the size at which drags are painted in layers is painted whole at every move.
TEST_F(TDragPictureTest, SmallFrameIsPaintedWholeAtEveryMove) {
    std::mt19937 random(7);
    Frame(random, 4, 3);
    const QPoint start = Grab(Space().Nodes[1]);
    MoveTo(start + QPoint(30, -20));
    EXPECT_FALSE(Area().Layered());
    EXPECT_TRUE(ShowsFull());
}
} // namespace
