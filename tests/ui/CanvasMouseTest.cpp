#include <QLabel>

#include <functional>
#include <sstream>
#include <vector>

#include "MainWindowTestSupport.h"
#include "ObjectPanelTestSupport.h"
#include "ui/panel/ObjectPanel.h"

using TCanvasMouseTest = TMainWindowTest;

TEST_F(TCanvasMouseTest, DrawingAChainMakesNodesAndMembers) {
    AddSection();
    Click("tbAddPrutFH");
    Press(Pixel(0, 0));
    Press(Pixel(2, 0));
    Press(Pixel(2, 2));
    ASSERT_EQ(Space().Nodes.Count(), 3);
    ASSERT_EQ(Space().Members.Count(), 2);
    EXPECT_EQ(Space().Members[0]->NodeA, Space().Nodes[0]);
    EXPECT_EQ(Space().Members[1]->NodeB, Space().Nodes[2]);
    EXPECT_EQ(Space().SelectedNodes.Count(), 1);
    EXPECT_EQ(Space().CurrentNode, Space().Nodes[2]);
    // Clicking the chain's start node again is the first entry of the selection: nothing happens.
    Press(Pixel(2, 2));
    EXPECT_EQ(Space().Members.Count(), 2);
    // Clicking an existing node reuses it and closes the triangle.
    Press(Pixel(0, 0));
    EXPECT_EQ(Space().Nodes.Count(), 3);
    ASSERT_EQ(Space().Members.Count(), 3);
    EXPECT_EQ(Space().Members[2]->NodeB, Space().Nodes[0]);
    // A right press ends the chain and releases the tool.
    Press(Pixel(5, 5), Qt::RightButton);
    EXPECT_FALSE(Form->IsDown("tbAddPrutFH"));
    EXPECT_EQ(Space().SelectedNodes.Count(), 0);
    EXPECT_EQ(Form->StatusText(8), "0");
}

TEST_F(TCanvasMouseTest, DrawingWithoutSectionKeepsTheFirstNode) {
    Click("tbAddPrutFH");
    Press(Pixel(0, 0));
    Press(Pixel(2, 0));
    ASSERT_EQ(Sink.Messages.size(), 1u);
    EXPECT_EQ(Sink.Messages[0], "Nejdříve načtěte nebo vytvořte alespoň jeden profil.");
    EXPECT_EQ(Space().Nodes.Count(), 2);
    EXPECT_EQ(Space().Members.Count(), 0);
    EXPECT_EQ(Space().SelectedNodes.Count(), 0);
}

TEST_F(TCanvasMouseTest, RightPressEndsTheChainAndPicks) {
    AddSection();
    TUzel* a = Space().PridejUzel(1, 0, 0);
    TUzel* b = Space().PridejUzel(2, 3, 0);
    TPrut* m = Space().PridejPrut(a, b, Space().CurrentSection, false, 1, false, false);
    Space().CurrentMember = nullptr;
    Click("tbAddPrutFH");
    Press(Pixel(1.5L, 0), Qt::RightButton);
    EXPECT_FALSE(Form->IsDown("tbAddPrutFH"));
    EXPECT_EQ(Space().CurrentMember, m);
    EXPECT_EQ(Space().Nodes.Count(), 2);
}

TEST_F(TCanvasMouseTest, ShiftSelectionsAndConnecting) {
    AddSection();
    Space().PridejUzel(1, 0, 0);
    Space().PridejUzel(2, 2, 0);
    for (TReal x : {0.0L, 2.0L, 0.0L, 2.0L, 2.0L})
        Press(Pixel(x, 0), Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(Space().SelectedNodes.Count(), 4);
    EXPECT_EQ(Form->StatusText(8), "4");
    Form->Klavesa('p');
    ASSERT_EQ(Space().Members.Count(), 3);
    const int ends[3][2] = {{1, 2}, {2, 1}, {1, 2}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Space().Members[i]->NodeA->Number, ends[i][0]);
        EXPECT_EQ(Space().Members[i]->NodeB->Number, ends[i][1]);
        EXPECT_EQ(Space().Members[i]->Number, i + 1);
    }
    EXPECT_EQ(Space().CurrentMember, Space().Members[2]);
    EXPECT_EQ(Space().SelectedNodes.Count(), 0);
    // Shift-clicking one member twice lists it twice.
    Press(Pixel(1, 0), Qt::LeftButton, Qt::ShiftModifier);
    Press(Pixel(1, 0), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Space().SelectedMembers.Count(), 2);
    EXPECT_EQ(Form->StatusText(10), "2");
}

TEST_F(TCanvasMouseTest, CoincidentNodesAreNeverJoined) {
    AddSection();
    Click("AddUzelBtn");
    Press(Pixel(1, 1));
    Press(Pixel(1, 1));
    ASSERT_EQ(Space().Nodes.Count(), 2);
    Space().SelectedNodes.Add(Space().Nodes[0]);
    Space().SelectedNodes.Add(Space().Nodes[1]);
    Form->CreateMemberP();
    EXPECT_EQ(Space().Members.Count(), 0);
    EXPECT_EQ(Space().SelectedNodes.Count(), 0);
    // Without a section the command says so and only empties the selection.
    Space().CurrentSection = nullptr;
    Space().SelectedNodes.Add(Space().Nodes[0]);
    Form->CreateMemberP();
    ASSERT_FALSE(Sink.Messages.empty());
    EXPECT_EQ(Sink.Messages.back(), "Seznam profilů je prázdný. Vytvořte nový nebo načtěte knihovnu.");
}

TEST_F(TCanvasMouseTest, DeleteToolRenumbersAndCleansTheSelection) {
    AddSection();
    for (int i = 0; i < 4; ++i)
        Space().PridejUzel(i + 1, 2 * i, 0);
    for (int i = 0; i < 3; ++i)
        Space().PridejPrut(Space().Nodes[i], Space().Nodes[i + 1], Space().CurrentSection, false, i + 1,
                           false, false);
    TPrut* second = Space().Members[1];
    Press(Pixel(3, 0), Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(Space().SelectedMembers.Count(), 1);
    Click("DelBtn"); // pressing the tool empties the member selection
    EXPECT_EQ(Space().SelectedMembers.Count(), 0);
    Space().SelectedMembers.Add(second);
    Press(Pixel(3, 0));
    ASSERT_EQ(Space().Members.Count(), 2);
    EXPECT_EQ(Space().Members[1]->Number, 2);
    EXPECT_EQ(Space().Members[1]->NodeA->Number, 3);
    EXPECT_EQ(Space().CurrentMember, Space().Members[0]);
    EXPECT_FALSE(Space().SelectedMembers.Contains(second));
    EXPECT_EQ(Space().Nodes.Count(), 4);
}

TEST_F(TCanvasMouseTest, HitTestsTakeTheFirstNodeAndSkipMemberEnds) {
    AddSection();
    Space().SetZoom(100);
    TUzel* a = Space().PridejUzel(1, 0, 0);
    Space().PridejUzel(2, 0.05L, 0); // 5 pixels to the right
    Press(Pixel(0.025L, 0));
    EXPECT_EQ(Space().CurrentNode, a);
    TUzel* c = Space().PridejUzel(3, 3, 0);
    TPrut* m = Space().PridejPrut(a, c, Space().CurrentSection, false, 1, false, false);
    Space().CurrentMember = nullptr;
    Space().CurrentNode = nullptr;
    // 7 pixels from the end along the member: neither the member nor the node.
    Press(Pixel(2.93L, 0));
    EXPECT_EQ(Space().CurrentMember, nullptr);
    EXPECT_EQ(Space().CurrentNode, nullptr);
    Press(Pixel(1.5L, 0));
    EXPECT_EQ(Space().CurrentMember, m);
}

TEST_F(TCanvasMouseTest, DraggingANodeOntoTheOtherEndIsRefused) {
    AddSection();
    TUzel* a = Space().PridejUzel(1, 0, 0);
    TUzel* b = Space().PridejUzel(2, 2, 0);
    Space().PridejPrut(a, b, Space().CurrentSection, false, 1, false, false);
    Click("tbeMoveNode");
    const QPoint start = Pixel(2, 0);
    Form->MKPSpace1MouseDown(Qt::LeftButton, Qt::LeftButton, {}, start.x(), start.y());
    ASSERT_TRUE(Form->NodeDragging());
    const QPoint mid = Pixel(1, 1);
    Form->MKPSpace1MouseMove(Qt::LeftButton, {}, mid.x(), mid.y());
    EXPECT_NEAR(double(b->X), 1.0, 1e-9);
    EXPECT_NEAR(double(b->Y), 1.0, 1e-9);
    const QPoint onA = Pixel(0, 0);
    Form->MKPSpace1MouseMove(Qt::LeftButton, {}, onA.x(), onA.y());
    ASSERT_EQ(Sink.Messages.size(), 1u);
    EXPECT_EQ(Sink.Messages[0], "Nulová délka prutu není dovolena.");
    EXPECT_NEAR(double(b->X), 1.0, 1e-9);
    EXPECT_GT(Space().Members[0]->Length, 1.0L);
    Form->MKPSpace1MouseUp(Qt::LeftButton, {}, onA.x(), onA.y());
    EXPECT_FALSE(Form->NodeDragging());
    EXPECT_TRUE(Form->IsDown("tbeMoveNode"));
}

TEST_F(TCanvasMouseTest, ZoomWindowWithMirroredCornersMatchesTheOtherWay) {
    Space().PridejUzel(1, 0, 0);
    auto zoomWindow = [&](QPoint first, QPoint second) {
        Space().SetZoom(100);
        Space().OffsetX = Space().OffsetY = 40;
        Click("tbZoomInW");
        Press(first);
        EXPECT_TRUE(Form->Engaged("tbZoomInW"));
        EXPECT_FALSE(Form->Canvas()->HScrollBar()->isEnabled());
        Form->MKPSpace1MouseMove({}, {}, (first.x() + second.x()) / 2, (first.y() + second.y()) / 2);
        Press(second);
        EXPECT_FALSE(Form->IsDown("tbZoomInW"));
        EXPECT_FALSE(Form->Engaged("tbZoomInW"));
        EXPECT_TRUE(Form->Canvas()->HScrollBar()->isEnabled());
        return std::tuple(Space().Zoom(), Space().OffsetX, Space().OffsetY);
    };
    const auto forward = zoomWindow(QPoint(100, 100), QPoint(200, 150));
    const auto mirrored = zoomWindow(QPoint(200, 150), QPoint(100, 100));
    EXPECT_EQ(forward, mirrored);
    EXPECT_GT(std::get<0>(forward), 100);
    EXPECT_EQ(Form->StatusText(2), QString::number(std::get<0>(forward)) + "%");
    // A right press with the tool down is a corner too and leaves the tool down.
    Click("tbZoomOutW");
    Press(QPoint(50, 50), Qt::RightButton);
    EXPECT_TRUE(Form->IsDown("tbZoomOutW"));
    EXPECT_TRUE(Form->Engaged("tbZoomOutW"));
}

TEST_F(TCanvasMouseTest, DynamicZoomAndScaleToolsFollowThePointer) {
    Click("tbZoomDynBtn");
    const int zoom = Space().Zoom();
    Form->MKPSpace1MouseDown(Qt::LeftButton, Qt::LeftButton, {}, 100, 200);
    Form->MKPSpace1MouseMove(Qt::LeftButton, {}, 100, 180);
    EXPECT_EQ(Space().Zoom(), zoom + 20);
    Form->MKPSpace1MouseUp(Qt::LeftButton, {}, 100, 180);
    Form->MKPSpace1MouseMove({}, {}, 100, 100);
    EXPECT_EQ(Space().Zoom(), zoom + 20); // released: no longer engaged, still down
    EXPECT_TRUE(Form->IsDown("tbZoomDynBtn"));

    Click("tbScaleSL");
    Form->MKPSpace1MouseDown(Qt::LeftButton, Qt::LeftButton, {}, 100, 200);
    Form->MKPSpace1MouseMove(Qt::LeftButton, {}, 100, 150);
    EXPECT_NEAR(double(Space().ScaleSL()), 13.0, 1e-9);
    Form->MKPSpace1MouseMove(Qt::LeftButton, {}, 100, 5000);
    EXPECT_EQ(Space().ScaleSL(), 0.0L);
    Form->MKPSpace1MouseMove(Qt::LeftButton, {}, 100, -5000);
    EXPECT_EQ(Space().ScaleSL(), 100.0L);
    Form->MKPSpace1MouseUp(Qt::LeftButton, {}, 100, 0);
    EXPECT_FALSE(Form->Engaged("tbScaleSL"));
}

TEST_F(TCanvasMouseTest, MiddleButtonPansAndCtrlRightCentres) {
    const int ox = Space().OffsetX;
    const int oy = Space().OffsetY;
    Form->MKPSpace1MouseDown(Qt::MiddleButton, Qt::MiddleButton, {}, 100, 100);
    Form->MKPSpace1MouseMove(Qt::MiddleButton, {}, 110, 95);
    EXPECT_EQ(Space().OffsetX, ox + 10);
    EXPECT_EQ(Space().OffsetY, oy + 5);
    Form->MKPSpace1MouseUp(Qt::MiddleButton, {}, 110, 95);
    const int w = Space().Width;
    const int h = Space().Height;
    const int before = Space().OffsetX;
    Form->MKPSpace1MouseDown(Qt::RightButton, Qt::RightButton, Qt::ControlModifier, w / 2, h / 2);
    EXPECT_EQ(Space().OffsetX, before);
}

TEST_F(TCanvasMouseTest, CoordinatesAreRelativeToTheAnchorAndSnapped) {
    Space().SnapOn = true;
    Space().SnapDX = Space().SnapDY = 0.5L;
    Space().SetZoom(100);
    const QPoint at = Pixel(0.75L, 0.25L);
    Form->MKPSpace1MouseMove({}, {}, at.x(), at.y());
    EXPECT_EQ(Form->StatusText(0), "X(1" + QString(QChar(DecimalSeparator())) + "000)");
    EXPECT_EQ(Form->StatusText(1), "Y(0" + QString(QChar(DecimalSeparator())) + "000)");
    // Ctrl + left places the anchor at the snapped point; coordinates then count from it.
    Form->MKPSpace1MouseDown(Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier, at.x(), at.y());
    EXPECT_EQ(Space().Anchor.X(), 1.0L);
    Form->MKPSpace1MouseMove({}, {}, at.x(), at.y());
    EXPECT_EQ(Form->StatusText(0), "X(0" + QString(QChar(DecimalSeparator())) + "000)");
}

// Once a dragged node is let go, the panel shows where it now is: its coordinates, and the
// length and angle of the current member. A drag stopped by the zero-length refusal (whose
// message box takes the mouse release) shows the last accepted position.
TEST_F(TCanvasMouseTest, PanelShowsTheDraggedNodeWhereItWasLetGo) {
    const struct {
        const char* name;
        TReal toX, toY;          // where the pointer goes last
        bool release;            // a release reaches the canvas
        const char* coordinates; // lSouradniceU afterwards
        const char* length;      // lDelkaP afterwards
    } cases[] = {
        {"dragged and released", 2, 1.5L, true, "( 2,000 ; 1,500 )", "2,500m"},
        {"dragged onto the other end", 0, 0, false, "( 1,000 ; 1,000 )", "1,414m"},
    };
    TSeparatorGuard comma(',');
    for (const auto& c : cases) {
        Space().SmazVse();
        AddSection();
        TUzel* a = Space().PridejUzel(1, 0, 0);
        TUzel* b = Space().PridejUzel(2, 2, 0);
        Space().CurrentMember = Space().PridejPrut(a, b, Space().CurrentSection, false, 1, false, false);
        if (!Form->IsDown("tbeMoveNode")) Click("tbeMoveNode");
        const QPoint start = Pixel(2, 0);
        Form->MKPSpace1MouseDown(Qt::LeftButton, Qt::LeftButton, {}, start.x(), start.y());
        ASSERT_TRUE(Form->NodeDragging()) << c.name;
        const QPoint mid = Pixel(1, 1);
        Form->MKPSpace1MouseMove(Qt::LeftButton, {}, mid.x(), mid.y());
        const QPoint to = Pixel(c.toX, c.toY);
        Form->MKPSpace1MouseMove(Qt::LeftButton, {}, to.x(), to.y());
        if (c.release) Form->MKPSpace1MouseUp(Qt::LeftButton, {}, to.x(), to.y());
        EXPECT_EQ(Form->findChild<QLabel*>("lSouradniceU")->text(), c.coordinates) << c.name;
        EXPECT_EQ(Form->findChild<QLabel*>("lDelkaP")->text(), c.length) << c.name;
        EXPECT_EQ(Form->Panel()->MenuIndex(), 1) << c.name; // the node page stays in front
        Sink.Messages.clear();
    }
}

// A dragged node takes only its own members' geometry along; after every move each member's
// length and angle are those a recomputation of all members gives, also after a member was added
// at the node during the drag, and the drag is one step that undo takes back whole.
TEST_F(TCanvasMouseTest, DraggedNodesMembersFollowItExactly) {
    AddSection();
    for (int i = 0; i < 9; ++i)
        Space().PridejUzel(i + 1, i % 3, i / 3);
    const int ends[][2] = {{0, 1}, {1, 2}, {3, 4}, {4, 5}, {1, 4}, {4, 7}, {6, 7}, {7, 8}};
    for (const auto& e : ends)
        Space().PridejPrut(Space().Nodes[e[0]], Space().Nodes[e[1]], Space().CurrentSection, false,
                           Space().Members.Count() + 1, false, false);
    Space().Prekresli();
    const std::size_t stepsBefore = Form->History().Position();
    std::ostringstream before;
    Space().UlozProjekt(before);
    auto geometry = [&] {
        std::vector<TReal> g;
        for (TPrut* m : Space().Members)
            g.insert(g.end(), {m->Length, m->Angle, m->CosA, m->SinA});
        return g;
    };
    // The geometry as the move leaves it, before the repaint (the canvas forms what it draws).
    int moves = 0;
    const std::function<void()> repaint = Space().OnRepaint;
    Space().OnRepaint = [&] {
        if (Form->NodeDragging()) {
            const std::vector<TReal> moved = geometry();
            Space().Members.Precisluj();
            EXPECT_EQ(moved, geometry()) << "move " << moves;
            ++moves;
        }
        repaint();
    };
    Click("tbeMoveNode");
    const QPoint start = Pixel(1, 1);
    Form->MKPSpace1MouseDown(Qt::LeftButton, Qt::LeftButton, {}, start.x(), start.y());
    ASSERT_TRUE(Form->NodeDragging());
    const TReal to[][2] = {{1.3L, 1.1L}, {0.5L, 1.9L}, {1.7L, 0.6L}, {1.2L, 1.4L}};
    for (int i = 0; i < 4; ++i) {
        if (i == 2) // a member at the node made by a command while the node follows the pointer
            Space().PridejPrut(Space().Nodes[4], Space().Nodes[8], Space().CurrentSection, false,
                               Space().Members.Count() + 1, false, false);
        const QPoint p = Pixel(to[i][0], to[i][1]);
        Form->MKPSpace1MouseMove(Qt::LeftButton, {}, p.x(), p.y());
    }
    EXPECT_EQ(moves, 4);
    const QPoint end = Pixel(to[3][0], to[3][1]);
    Form->MKPSpace1MouseUp(Qt::LeftButton, {}, end.x(), end.y());
    EXPECT_EQ(Form->History().Position(), stepsBefore + 1);
    Form->Zpet();
    std::ostringstream undone;
    Space().UlozProjekt(undone);
    EXPECT_EQ(undone.str(), before.str());
    Space().OnRepaint = repaint;
}
