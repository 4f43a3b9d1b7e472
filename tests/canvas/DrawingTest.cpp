#include <gtest/gtest.h>

#include "CanvasFixture.h"
#include "canvas/Drawing.h"

namespace {
// Every line in the painter's record drawn with the given colour.
int LinesOfColour(const TRecordingPainter& p, TColor c) {
    int n = 0;
    for (const TPaintOp& op : p.OfKind(TPaintKind::Line))
        n += op.Pen.Color == c;
    return n;
}
} // namespace

TEST(Drawing, HorizontalMemberLineAndHinge) {
    TCanvasModel m(488, 398);
    TUzel* n0 = m.Node(0, 0);
    TPrut* bar = m.Member(n0, m.Node(2, 0), true, false);
    auto p = m.Paint();
    const TPaintOp* line = p.FindLine({43, 358}, {237, 358});
    ASSERT_TRUE(line);
    EXPECT_EQ(line->Pen.Color, KBlack);
    EXPECT_EQ(line->Pen.Width, 1);
    const TPaintOp* hinge = p.FindEllipse({44, 355, 50, 361});
    ASSERT_TRUE(hinge);
    EXPECT_EQ(hinge->Brush.Color, KWhite);
    EXPECT_EQ(hinge->Pen.Color, KBlack);
    EXPECT_FALSE(p.FindEllipse({230, 355, 236, 361})); // no hinge at b
    bar->HingeB = true;
    EXPECT_TRUE(m.Paint().FindEllipse({230, 355, 236, 361}));
}

TEST(Drawing, VerticalMemberStopsShortOfBothNodes) {
    TCanvasModel m(488, 398);
    TUzel* n0 = m.Node(1, 0);
    TPrut* bar = m.Member(n0, m.Node(1, 2), false, true);
    auto p = m.Paint();
    EXPECT_TRUE(p.FindLine({140, 355}, {140, 161})); // A = (140, 358), B = (140, 158)
    EXPECT_TRUE(p.FindEllipse({137, 162, 143, 168}));
    EXPECT_EQ(bar->Angle, -90); // the drawing refreshed the geometry
}

TEST(Drawing, SelectionDrawsRed) {
    TCanvasModel m(488, 398);
    TUzel* a = m.Node(0, 0);
    TPrut* bar = m.Member(a, m.Node(2, 0), true, false);
    m.space.SelectedNodes.Add(a);
    m.space.SelectedMembers.Add(bar);
    auto p = m.Paint();
    const TPaintOp* dot = p.FindEllipse({37, 355, 44, 362});
    ASSERT_TRUE(dot);
    EXPECT_EQ(dot->Brush.Color, KRed);
    EXPECT_EQ(p.FindEllipse({237, 355, 244, 362})->Brush.Color, KBlack);
    EXPECT_EQ(p.FindLine({43, 358}, {237, 358})->Pen.Color, KRed);
    EXPECT_EQ(p.FindEllipse({44, 355, 50, 361})->Pen.Color, KRed);
    m.space.SelectedNodes.Clear();
    m.space.SelectedMembers.Clear();
    auto q = m.Paint();
    EXPECT_EQ(q.FindEllipse({37, 355, 44, 362})->Brush.Color, KBlack);
    EXPECT_EQ(q.FindLine({43, 358}, {237, 358})->Pen.Color, KBlack);
}

// Node at (1, 1) on a 488 × 398 canvas: pixel (140, 258).
struct TSupportRow {
    bool u, w, r;
    TReal angleU, angleW;
    std::vector<TPaintOp> expected; // the support figure, before the node dot
};

TEST(Drawing, SupportSymbolForEachRestraintKind) {
    const TPixel n{140, 258};
    auto line = [](TPixel a, TPixel b, int w) {
        TPaintOp op{TPaintKind::Line, {a, b}, {}, {}, {KBlack, w, TPenStyle::Solid}, {}, {}, false, 0};
        return op;
    };
    auto poly = [](TPaintKind k, std::vector<TPixel> pts, int w) {
        TPaintOp op{k, pts, {}, {}, {KBlack, w, TPenStyle::Solid}, {}, {}, false, 0};
        return op;
    };
    const TSupportRow rows[] = {
        // "Vetknutí": P(14, 0) → P(14, 180).
        {true, true, true, 0, 0, {line({154, 258}, {126, 258}, 2)}},
        // rotated by 90°: a vertical line.
        {true, true, true, 90, 0, {line({140, 272}, {140, 244}, 2)}},
        // "Kloub": apex at the node, base below.
        {true, true, false, 0, 0, {poly(TPaintKind::Polygon, {n, {146, 268}, {134, 268}}, 1)}},
        // "Kloub" rotated by 90°: opens to the left, base at x ≈ X − 10.
        {true, true, false, 90, 0, {poly(TPaintKind::Polygon, {n, {130, 264}, {130, 252}}, 1)}},
        // "Pos.vetknutí": a ground line with a slot at the node.
        {true,
         false,
         true,
         0,
         0,
         {poly(TPaintKind::Polyline, {{154, 258}, {144, 258}, {144, 272}}, 2),
          poly(TPaintKind::Polyline, {{126, 258}, {136, 258}, {136, 272}}, 2)}},
        // "Pos.kloub (u)": to the right of the node.
        {true,
         false,
         false,
         0,
         0,
         {poly(TPaintKind::Polygon, {n, {150, 252}, {150, 264}}, 1), line({153, 250}, {153, 266}, 1)}},
        // "Pos.kloub (w)" uses the angle of w.
        {false,
         true,
         false,
         45,
         0,
         {poly(TPaintKind::Polygon, {n, {146, 268}, {134, 268}}, 1), line({148, 271}, {133, 271}, 1)}},
        // combinations without a symbol
        {false, true, true, 0, 0, {}},
        {false, false, true, 0, 0, {}},
        {false, false, false, 0, 0, {}},
    };
    for (const TSupportRow& row : rows) {
        TCanvasModel m(488, 398);
        TUzel* node = m.Node(1, 1);
        node->DofU = {row.u, node->DofU.Code, row.angleU, 0};
        node->DofW = {row.w, node->DofW.Code, row.angleW, 0};
        node->DofRot.Fixed = row.r;
        auto p = m.Paint();
        std::vector<TPaintOp> figure(p.Ops.begin() + 1, p.Ops.end() - 1); // between background and dot
        SCOPED_TRACE(testing::Message()
                     << row.u << row.w << row.r << " a=" << static_cast<double>(row.angleU));
        ASSERT_EQ(figure.size(), row.expected.size());
        for (std::size_t i = 0; i < figure.size(); ++i) {
            EXPECT_EQ(figure[i].Kind, row.expected[i].Kind);
            EXPECT_EQ(figure[i].Points, row.expected[i].Points);
            EXPECT_EQ(figure[i].Pen, row.expected[i].Pen);
        }
        EXPECT_EQ(p.Ops.back().Kind, TPaintKind::Ellipse); // the node dot is always drawn
        EXPECT_EQ(p.Ops.back().Rect, (TPixelRect{137, 255, 144, 262}));
        EXPECT_EQ(p.Pen().Width, 1);
    }
}

TEST(Drawing, NumbersOfNodesAndMembers) {
    TCanvasModel m(488, 398);
    TUzel* a = m.Node(0, 0);
    m.Member(a, m.Node(2, 1));
    EXPECT_FALSE(m.Paint().FindText("1"));
    m.space.ShowNumbers = true;
    auto p = m.Paint();
    auto texts = p.OfKind(TPaintKind::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].Points[0], (TPixel{45, 363}));
    EXPECT_EQ(texts[0].Font.Color, KRed);
    EXPECT_TRUE(texts[0].TextOpaque);
    EXPECT_EQ(texts[0].Colour, KWhite);
    EXPECT_EQ(texts[1].Text, "2");
    EXPECT_EQ(texts[1].Points[0], (TPixel{245, 263}));
    // Member number at the rounded midpoint (140, 308) + 4, green, transparent.
    EXPECT_EQ(texts[2].Text, "1");
    EXPECT_EQ(texts[2].Points[0], (TPixel{144, 312}));
    EXPECT_EQ(texts[2].Font.Color, KGreen);
    EXPECT_FALSE(texts[2].TextOpaque);
    EXPECT_EQ(texts[2].Font.Name, "MS Sans Serif");
    EXPECT_EQ(texts[2].Font.Height, 11);
}

TEST(Drawing, NodalForceArrowTrailsBehindItsHead) {
    TCanvasModel m(488, 398);
    TUzel* n = m.Node(1, 1); // (140, 258)
    n->PridejZatizeni(KLoadForce, nullptr, 10, 90);
    auto p = m.Paint();
    const TPaintOp* shaft = p.FindLine({140, 258}, {140, 228});
    ASSERT_TRUE(shaft);
    EXPECT_EQ(shaft->Pen.Color, KBlue);
    EXPECT_TRUE(p.FindLine({140, 258}, {136, 251}));
    EXPECT_TRUE(p.FindLine({140, 258}, {144, 251}));
    const TPaintOp* label = p.FindText("10.000");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->Points[0], (TPixel{140, 228}));
    EXPECT_EQ(label->Font.Color, KBlue);
    EXPECT_FALSE(label->TextOpaque);
    // A negative force puts the shaft on the other side; the head keeps its direction.
    n->Loads[0]->Q1 = -10;
    auto q = m.Paint();
    EXPECT_TRUE(q.FindLine({140, 258}, {140, 288}));
    EXPECT_TRUE(q.FindLine({140, 258}, {136, 251}));
    EXPECT_TRUE(q.FindText("-10.000"));
}

TEST(Drawing, NodalMomentSymbolTurnsWithItsSign) {
    TCanvasModel m(488, 398);
    TUzel* n = m.Node(1, 1); // (140, 258)
    n->PridejZatizeni(KLoadMoment, nullptr, 5, 0);
    auto p = m.Paint();
    auto arcs = p.OfKind(TPaintKind::Arc);
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_EQ(arcs[0].Rect, (TPixelRect{120, 238, 160, 278}));
    EXPECT_EQ(arcs[0].Points, (std::vector<TPixel>{{160, 258}, {120, 258}}));
    EXPECT_EQ(arcs[0].Pen.Color, KPurple);
    // m ≥ 0: barbs from the right end at 220° and 290°.
    EXPECT_TRUE(p.FindLine({160, 258}, {154, 253}));
    EXPECT_TRUE(p.FindLine({160, 258}, {163, 250}));
    EXPECT_EQ(p.FindText("5.000")->Points[0], (TPixel{125, 223}));
    n->Loads[0]->Q1 = -5;
    auto q = m.Paint();
    EXPECT_TRUE(q.FindLine({120, 258}, {117, 250})); // 250°
    EXPECT_TRUE(q.FindLine({120, 258}, {125, 252})); // 310°
}

TEST(Drawing, ReactionsBeforeAnyComputationPointAtTheNode) {
    TCanvasModel m(488, 398);
    TUzel* n = m.Node(1, 1); // (140, 258)
    n->DofU.Fixed = n->DofW.Fixed = n->DofRot.Fixed = true;
    m.space.SetShowReactions(true);
    auto p = m.Paint();
    // u to the right: shaft P(10, 0) → P(50, 0), head at the inner end.
    EXPECT_EQ(p.FindLine({150, 258}, {190, 258})->Pen.Color, KRed);
    EXPECT_TRUE(p.FindLine({150, 258}, {164, 252})); // P(25, 345)
    EXPECT_TRUE(p.FindLine({150, 258}, {164, 264})); // P(25, 15)
    // w below the node.
    EXPECT_TRUE(p.FindLine({140, 268}, {140, 308}));
    int zeros = 0;
    for (const TPaintOp& t : p.OfKind(TPaintKind::Text))
        zeros += t.Text == "0.000";
    EXPECT_EQ(zeros, 3);
    // rotation: reaction symbol of radius 30, m = 0 counts as positive: barbs from the left end.
    auto arcs = p.OfKind(TPaintKind::Arc);
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_EQ(arcs[0].Rect, (TPixelRect{110, 228, 170, 288}));
    EXPECT_TRUE(p.FindLine({110, 258}, {105, 244}));
    EXPECT_TRUE(p.FindLine({110, 258}, {120, 247}));
    // A negative u reaction: the head at the outer end, pointing away.
    n->DofU.Reaction = -2.5L;
    auto q = m.Paint();
    EXPECT_TRUE(q.FindLine({190, 258}, {174, 252})); // P(35, 350)
    EXPECT_TRUE(q.FindLine({190, 258}, {174, 264})); // P(35, 10)
    EXPECT_EQ(q.FindText("-2.500")->Points[0], (TPixel{190, 258}));
    n->DofRot.Reaction = -1;
    EXPECT_EQ(m.Paint().FindText("-1.000")->Points[0], (TPixel{115, 213}));
}

TEST(Drawing, DisplayFlagsSwitchLoadsAndReactions) {
    TCanvasModel m(488, 398);
    TUzel* n = m.Node(0, 0);
    n->DofU.Fixed = true;
    n->PridejZatizeni(KLoadForce, nullptr, 10, 90);
    TPrut* bar = m.Member(n, m.Node(2, 0));
    bar->PridejZatizeni(KLoadForce, nullptr, 1, 0, 7, 0, 90);
    EXPECT_EQ(LinesOfColour(m.Paint(), KBlue), 6);
    EXPECT_EQ(LinesOfColour(m.Paint(), KRed), 0);
    m.space.ShowNodalLoads = false;
    m.space.SetShowReactions(true);
    auto p = m.Paint();
    EXPECT_EQ(LinesOfColour(p, KBlue), 3);
    EXPECT_EQ(LinesOfColour(p, KRed), 3);
    m.space.ShowMemberLoads = false;
    EXPECT_EQ(LinesOfColour(m.Paint(), KBlue), 0);
}

TEST(Drawing, DistributedLoadOverAWholeMember) {
    TCanvasModel m(488, 398);
    TUzel* n0 = m.Node(0, 0);
    TPrut* bar = m.Member(n0, m.Node(2, 0)); // A = (40, 358)
    bar->PridejZatizeni(KLoadDistributed, nullptr, 0, 2, 5, 5, 90);
    auto p = m.Paint();
    auto polys = p.OfKind(TPaintKind::Polyline);
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(polys[0].Points, (std::vector<TPixel>{{40, 358}, {40, 343}, {240, 343}, {240, 358}}));
    EXPECT_EQ(polys[0].Pen.Color, KGreen);
    std::vector<TPaintOp> hatch;
    for (const TPaintOp& op : p.OfKind(TPaintKind::Line))
        if (op.Pen.Color == KGreen) hatch.push_back(op);
    ASSERT_EQ(hatch.size(), 20u);
    for (int k = 1; k <= 20; ++k) {
        EXPECT_EQ(hatch[k - 1].Points[0], (TPixel{40 + 10 * k, 358}));
        EXPECT_EQ(hatch[k - 1].Points[1], (TPixel{40 + 10 * k, 343}));
    }
    auto texts = p.OfKind(TPaintKind::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Points[0], (TPixel{40, 333}));
    EXPECT_EQ(texts[1].Points[0], (TPixel{240, 333}));
    EXPECT_EQ(texts[0].Text, "5.000");
}

TEST(Drawing, TrapezoidalLoadOnPartOfAMemberDrawnLeftwards) {
    TCanvasModel m(488, 398);
    TUzel* n0 = m.Node(2, 0);
    TPrut* bar = m.Member(n0, m.Node(0, 0)); // α = 180, A = (240, 358)
    bar->PridejZatizeni(KLoadDistributed, nullptr, 0.5L, 1, 2, 6, 90);
    auto p = m.Paint();
    auto polys = p.OfKind(TPaintKind::Polyline);
    ASSERT_EQ(polys.size(), 1u);
    // S = (190, 358), E = (90, 358); φ = 270: the load stands below a leftward member.
    EXPECT_EQ(polys[0].Points, (std::vector<TPixel>{{190, 358}, {190, 364}, {90, 376}, {90, 358}}));
    // k = 5 of 10: from (140, 358) to (190 + Round((−100)·0.5), 364 + Round(12·0.5)).
    EXPECT_TRUE(p.FindLine({140, 358}, {140, 370}));
}

TEST(Drawing, MemberPointForceAndMomentStandAtTheirPosition) {
    TCanvasModel m(488, 398);
    TUzel* n0 = m.Node(0, 0);
    TPrut* bar = m.Member(n0, m.Node(2, 0));
    bar->PridejZatizeni(KLoadForce, nullptr, 0.5L, 0, 10, 0, 90);
    bar->PridejZatizeni(KLoadMoment, nullptr, 1.5L, 0, 3, 0, 0);
    bar->PridejZatizeni(KLoadSelfWeight, nullptr, 0, 2, 1, 1, 90);
    auto p = m.Paint();
    EXPECT_EQ(p.FindLine({90, 358}, {90, 328})->Pen.Color, KBlue);
    EXPECT_TRUE(p.FindLine({90, 358}, {86, 351}));
    EXPECT_TRUE(p.FindLine({90, 358}, {94, 351}));
    EXPECT_EQ(p.FindText("10.000")->Points[0], (TPixel{90, 328}));
    EXPECT_EQ(p.FindLine({185, 358}, {195, 358})->Pen.Color, KPurple); // the cross at S
    EXPECT_TRUE(p.FindLine({190, 353}, {190, 363}));
    EXPECT_EQ(p.FindText("3.000")->Points[0], (TPixel{175, 323}));
    // The self-weight adds nothing: two arrow lines + shaft, arc + two barbs + cross.
    EXPECT_EQ(p.OfKind(TPaintKind::Text).size(), 2u);
    EXPECT_EQ(p.OfKind(TPaintKind::Arc).size(), 1u);
}

TEST(Drawing, ImperialLabelsConvertForcesAndIntensities) {
    TCanvasModel m(488, 398);
    m.space.NastavSoustavuJednotek(1);
    TUzel* n = m.Node(0, 0);
    n->PridejZatizeni(KLoadForce, nullptr, 1, 90);
    m.Member(n, m.Node(2, 0))->PridejZatizeni(KLoadDistributed, nullptr, 0, 2, 1, 1, 90);
    // 1 kN is 224.809 lb; an intensity of 1 kN/m is 68.522 lb/ft, not the pounds of 1 kN.
    int forces = 0, intensities = 0;
    for (const TPaintOp& t : m.Paint().OfKind(TPaintKind::Text)) {
        forces += t.Text == "224.809";
        intensities += t.Text == "68.522";
    }
    EXPECT_EQ(forces, 1);
    EXPECT_EQ(intensities, 2);
}

TEST(Drawing, ResultModesHideSupportsAndDotsButKeepNumbers) {
    for (std::uint8_t mode = 1; mode <= 4; ++mode) {
        TCanvasModel m(488, 398);
        TUzel* a = m.Node(0, 0);
        a->DofU.Fixed = a->DofW.Fixed = a->DofRot.Fixed = true;
        m.Member(a, m.Node(2, 0));
        m.space.ShowNumbers = true;
        m.space.SetTypZobrazeni(mode);
        auto p = m.Paint();
        EXPECT_FALSE(p.FindLine({54, 358}, {26, 358})) << int(mode);
        EXPECT_FALSE(p.FindEllipse({37, 355, 44, 362})) << int(mode);
        EXPECT_TRUE(p.FindText("1")) << int(mode);
        EXPECT_TRUE(p.FindText("2")) << int(mode);
        // Without end results the member is drawn as in the model view.
        EXPECT_TRUE(p.FindLine({43, 358}, {237, 358})) << int(mode);
    }
}

TEST(DirectDrawing, NodeWithHatchedFixedSupportAndLargerDot) {
    TCanvasModel m(488, 398);
    TUzel* n = m.Node(1, 1); // (140, 258)
    n->DofU.Fixed = n->DofW.Fixed = n->DofRot.Fixed = true;
    n->PridejZatizeni(KLoadForce, nullptr, 12.3L, 90);
    m.space.SetShowReactions(true);
    TRecordingPainter visible(488, 398);
    m.space.SetVisibleCanvas(&visible);
    m.space.CurrentNode = n;
    m.space.KresliUzel();
    using K = TPaintKind;
    ASSERT_GE(visible.Ops.size(), 5u);
    EXPECT_EQ(visible.Ops[0].Kind, K::Polyline);
    EXPECT_EQ(visible.Ops[0].Points,
              (std::vector<TPixel>{{140, 258}, {154, 258}, {154, 272}, {126, 272}, {126, 258}, {140, 258}}));
    EXPECT_EQ(visible.Ops[0].Pen, (TPen{KBlack, 1, TPenStyle::Solid}));
    EXPECT_EQ(visible.Ops[1].Kind, K::FloodFill);
    EXPECT_EQ(visible.Ops[1].Points[0], (TPixel{146, 262}));
    EXPECT_EQ(visible.Ops[1].Brush, (TBrush{KSilver, TBrushStyle::BDiagonal}));
    EXPECT_EQ(visible.Ops[1].Colour, KBlack);
    EXPECT_EQ(visible.Ops[2].Points[0], (TPixel{134, 262}));
    EXPECT_EQ(visible.Ops[3].Pen.Color, KWhite);
    EXPECT_EQ(visible.Ops[3].Points, (std::vector<TPixel>{{154, 258}, {154, 272}, {126, 272}, {126, 258}}));
    EXPECT_TRUE(visible.FindText("12.30")); // short format, no reactions
    EXPECT_FALSE(visible.FindText("12.300"));
    EXPECT_FALSE(visible.FindText("0.00"));
    EXPECT_EQ(visible.Ops.back().Kind, K::Ellipse);
    EXPECT_EQ(visible.Ops.back().Rect, (TPixelRect{136, 254, 144, 262}));
}

TEST(DirectDrawing, PartialFixedSupportHatchesTwoBlocks) {
    TCanvasModel m(488, 398);
    TUzel* n = m.Node(1, 1);
    n->DofU.Fixed = n->DofRot.Fixed = true;
    TRecordingPainter visible(488, 398);
    m.space.CurrentNode = n;
    m.space.KresliUzel(visible);
    auto fills = visible.OfKind(TPaintKind::FloodFill);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].Points[0], (TPixel{149, 262}));
    EXPECT_EQ(fills[1].Points[0], (TPixel{131, 262}));
    auto polys = visible.OfKind(TPaintKind::Polyline);
    ASSERT_EQ(polys.size(), 4u);
    EXPECT_EQ(polys[0].Points,
              (std::vector<TPixel>{{144, 258}, {154, 258}, {154, 272}, {144, 272}, {144, 258}}));
    EXPECT_EQ(polys[2].Pen.Color, KWhite);
    EXPECT_EQ(polys[3].Points, (std::vector<TPixel>{{136, 272}, {126, 272}, {126, 258}}));
}

TEST(DirectDrawing, AllNodesRestoreTheCurrentNodeAndOnlyInTheModelView) {
    TCanvasModel m(488, 398);
    TUzel* a = m.Node(0, 0);
    m.Node(1, 0);
    m.Node(2, 0);
    m.space.CurrentNode = a;
    TRecordingPainter visible(488, 398);
    m.space.SetVisibleCanvas(&visible);
    m.space.KresliVsechnyUzly();
    EXPECT_EQ(visible.OfKind(TPaintKind::Ellipse).size(), 3u);
    EXPECT_EQ(m.space.CurrentNode, a);
    visible.Clear();
    m.space.SetTypZobrazeni(2);
    m.space.KresliVsechnyUzly();
    EXPECT_TRUE(visible.Ops.empty());
    m.space.SetVisibleCanvas(nullptr);
    m.space.KresliUzel(); // no visible canvas: nothing to draw on, no crash
}

TEST(DirectDrawing, MemberUsesShortLabels) {
    TCanvasModel m(488, 398);
    TUzel* n0 = m.Node(0, 0);
    TPrut* bar = m.Member(n0, m.Node(2, 0));
    bar->PridejZatizeni(KLoadForce, nullptr, 1, 0, 2.5L, 0, 90);
    TRecordingPainter visible(488, 398);
    m.space.CurrentMember = bar;
    m.space.KresliPrut(visible);
    EXPECT_TRUE(visible.FindLine({43, 358}, {237, 358}));
    EXPECT_TRUE(visible.FindText("2.50"));
    // Imperial: the short label is in the unit of the full repaint's label it covers (562 lb).
    m.space.NastavSoustavuJednotek(1);
    visible.Clear();
    m.space.KresliPrut(visible);
    EXPECT_TRUE(visible.FindText("562.00"));
    EXPECT_FALSE(visible.FindText("2.50"));
}
