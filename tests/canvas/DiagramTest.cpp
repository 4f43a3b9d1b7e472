#include <gtest/gtest.h>

#include "CanvasFixture.h"
#include "canvas/Drawing.h"

namespace {
// A results table of 8 rows with the given stations and one row of values.
TMatrix Table(const std::vector<TReal>& x, int row, const std::vector<TReal>& v) {
    TMatrix r = NewMatrix(8, x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        r[0][i] = x[i];
        r[static_cast<std::size_t>(row)][i] = v[i];
    }
    return r;
}

struct THorizontal {
    TCanvasModel m{488, 398};
    TPrut* bar;
    TPixel a, b;
    explicit THorizontal(bool leftwards) {
        TUzel* n1 = m.Node(leftwards ? 2 : 0, 0);
        TUzel* n2 = m.Node(leftwards ? 0 : 2, 0);
        bar = m.Member(n1, n2);
        bar->Geometrie();
        a = m.space.ToScreen(n1->X, n1->Y);
        b = m.space.ToScreen(n2->X, n2->Y);
    }
    TRecordingPainter Draw(const TMatrix& results, int mode) {
        TRecordingPainter p(488, 398);
        TSpaceDrawer d(m.space, p, false);
        if (mode == 4)
            d.DeformedShape(*bar, results, a, b);
        else
            d.Diagram(*bar, results, mode, a, b);
        return p;
    }
};

std::vector<std::string> Texts(const TRecordingPainter& p) {
    std::vector<std::string> t;
    for (const TPaintOp& op : p.OfKind(TPaintKind::Text))
        t.push_back(op.Text);
    return t;
}
} // namespace

TEST(Diagram, MarksExtremesAndJumpsOnly) {
    struct Row {
        std::vector<TReal> x, v;
        std::vector<bool> marks;
    } rows[] = {
        {{0, 1, 2}, {1, 2, 3}, {false, false, false}},              // linear
        {{0, 1, 2}, {0, 4, 0}, {false, true, false}},               // maximum
        {{0, 1, 2}, {0, -4, 0}, {false, true, false}},              // minimum
        {{0, 1, 2, 3}, {0, 4, 4, 0}, {false, false, false, false}}, // equal values: no extreme
        {{0, 1, 1, 2}, {5, 5, -5, -5}, {false, true, true, false}}, // a jump
        {{0, 2}, {1, 9}, {false, false}},                           // fewer than three stations
    };
    for (const Row& r : rows)
        EXPECT_EQ(MarkStations(Table(r.x, 1, r.v), {1}), r.marks);
    // Deformed shape: an extreme of either row.
    TMatrix t = Table({0, 1, 2}, 5, {0, 1, 2});
    t[6] = {0, -3, 0};
    EXPECT_EQ(MarkStations(t, {5, 6}), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(MarkStations(t, {5}), (std::vector<bool>{false, false, false}));
}

TEST(Diagram, LinearMomentIsLabelledAtItsEndsOnly) {
    THorizontal h(false);
    auto p = h.Draw(Table({0, 1, 2}, 1, {0, 5, 10}), 3);
    auto lines = p.OfKind(TPaintKind::Line);
    // A → D0 → D1 → D2 → B in green, then the black axis of width 2.
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].Points, (std::vector<TPixel>{{40, 358}, {40, 358}}));
    EXPECT_EQ(lines[1].Points, (std::vector<TPixel>{{40, 358}, {140, 373}}));
    EXPECT_EQ(lines[2].Points, (std::vector<TPixel>{{140, 373}, {240, 388}}));
    EXPECT_EQ(lines[3].Points, (std::vector<TPixel>{{240, 388}, {240, 358}}));
    EXPECT_EQ(lines[3].Pen, (TPen{KGreen, 1, TPenStyle::Solid}));
    EXPECT_EQ(lines[4].Points, (std::vector<TPixel>{{40, 358}, {240, 358}}));
    EXPECT_EQ(lines[4].Pen, (TPen{KBlack, 2, TPenStyle::Solid}));
    EXPECT_EQ(p.Pen().Width, 1);
    EXPECT_EQ(Texts(p), (std::vector<std::string>{"0.000", "10.000"}));
    EXPECT_EQ(p.FindText("10.000")->Points[0], (TPixel{240, 398}));
    EXPECT_EQ(p.FindText("10.000")->Font.Color, KGreen);
}

TEST(Diagram, JumpShowsItsValueOnEachSide) {
    THorizontal h(false);
    // Shear force with a point load at mid-span.
    auto p = h.Draw(Table({0, 1, 1, 2}, 3, {5, 5, -5, -5}), 1);
    EXPECT_EQ(Texts(p), (std::vector<std::string>{"-5.000", "-5.000", "5.000", "5.000"}));
    EXPECT_TRUE(p.FindLine({140, 373}, {140, 343})); // the jump itself
}

TEST(Diagram, SignRulesForMembersDrawnBothWays) {
    struct Row {
        bool leftwards;
        int mode, row;
        int yOfPositive; // pixel y of the diagram at the middle station for v = +2 (axis at 358)
        std::string label;
    } rows[] = {
        {false, 2, 2, 364, "-2.000"},                               // N below, labelled −v
        {true, 2, 2, 364, "-2.000"},  {false, 1, 3, 364, "-2.000"}, // T likewise
        {true, 1, 3, 364, "-2.000"},  {false, 3, 1, 364, "2.000"}, // M on the local w side: below, labelled v
        {true, 3, 1, 352, "-2.000"},                               // drawn leftwards: above, labelled −v
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "leftwards " << r.leftwards << " mode " << r.mode);
        THorizontal h(r.leftwards);
        h.m.space.SetScaleIF(3);
        auto p = h.Draw(Table({0, 1, 2}, r.row, {0, 2, 0}), r.mode);
        auto lines = p.OfKind(TPaintKind::Line);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[1].Points[1], (TPixel{140, r.yOfPositive}));
        const TPaintOp* label = p.FindText(r.label);
        ASSERT_TRUE(label);
        EXPECT_EQ(label->Points[0], (TPixel{140, r.yOfPositive + 10}));
    }
}

TEST(Diagram, ZeroScaleCollapsesOntoTheAxisButKeepsLabels) {
    THorizontal h(false);
    h.m.space.SetScaleIF(0);
    auto p = h.Draw(Table({0, 1, 2}, 1, {0, 7, 0}), 3);
    for (const TPaintOp& op : p.OfKind(TPaintKind::Line)) {
        EXPECT_EQ(op.Points[0].Y, 358);
        EXPECT_EQ(op.Points[1].Y, 358);
    }
    EXPECT_EQ(p.FindText("7.000")->Points[0], (TPixel{140, 368}));
}

TEST(Diagram, VerticalMemberOffsetsAcrossItsAxis) {
    TCanvasModel m(488, 398);
    TUzel* a = m.Node(0, 0);
    TPrut* column = m.Member(a, m.Node(0, 2)); // upward: α = −90, local w to the right on screen
    column->Geometrie();
    TRecordingPainter p(488, 398);
    TSpaceDrawer d(m.space, p, false);
    d.Diagram(*column, Table({0, 1, 2}, 1, {0, 4, 0}), 3, {40, 358}, {40, 158});
    auto lines = p.OfKind(TPaintKind::Line);
    // P1 = (40, 258); M = 4 at 3 px per kNm lies 12 px to the right... of the axis seen upward:
    // x − Round(3·(4·SinA)) with SinA = −1.
    EXPECT_EQ(lines[1].Points[1], (TPixel{52, 258}));
    TRecordingPainter q(488, 398);
    TSpaceDrawer e(m.space, q, false);
    e.Diagram(*column, Table({0, 1, 2}, 2, {0, 4, 0}), 2, {40, 358}, {40, 158});
    EXPECT_EQ(q.OfKind(TPaintKind::Line)[1].Points[1], (TPixel{52, 258}));
}

TEST(Deformed, ThinConnectorsAndWideDeformedLine) {
    THorizontal h(false);
    h.m.space.SetScaleIF(10);
    // u along, w across (downward on a rightward member), mm; the node b moves 1 mm along.
    TMatrix t = Table({0, 1, 2}, 5, {0, 0.5L, 1});
    t[6] = {0, 2, 0};
    auto p = h.Draw(t, 4);
    auto lines = p.OfKind(TPaintKind::Line);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].Points, (std::vector<TPixel>{{40, 358}, {240, 358}}));
    EXPECT_EQ(lines[0].Pen.Color, KSilver);
    EXPECT_EQ(lines[1].Points, (std::vector<TPixel>{{40, 358}, {40, 358}})); // fixed node: zero length
    EXPECT_EQ(lines[1].Pen, (TPen{KGreen, 1, TPenStyle::Solid}));
    EXPECT_EQ(lines[2].Points, (std::vector<TPixel>{{40, 358}, {145, 378}}));
    EXPECT_EQ(lines[2].Pen.Width, 2);
    EXPECT_EQ(lines[3].Points, (std::vector<TPixel>{{145, 378}, {250, 358}}));
    EXPECT_EQ(lines[3].Pen.Width, 2);
    EXPECT_EQ(lines[4].Points, (std::vector<TPixel>{{250, 358}, {240, 358}})); // back to the node
    EXPECT_EQ(lines[4].Pen.Width, 1);
    // The first station and the marked one are labelled, the last only when marked.
    EXPECT_EQ(Texts(p), (std::vector<std::string>{"[0.000;0.000]", "[0.500;2.000]"}));
    EXPECT_EQ(p.FindText("[0.500;2.000]")->Points[0], (TPixel{145, 388}));
}

TEST(Deformed, ImperialLabelsInInches) {
    THorizontal h(false);
    h.m.space.NastavSoustavuJednotek(1);
    TMatrix t = Table({0, 1, 2}, 5, {0, 0, 0});
    t[6] = {0, 25.4L, 0};
    auto p = h.Draw(t, 4);
    EXPECT_TRUE(p.FindText("[0.000;1.000]"));
}
