#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "canvas/Rounding.h"

#include "CanvasFixture.h"
#include "canvas/DiagramFit.h"

TEST(View, ZoomSetterKeepsTenToTwoThousand) {
    TMKPSpace s;
    struct Row {
        int in, out;
    } rows[] = {{100, 100}, {10, 10}, {11, 11}, {9, 10}, {-5, 10}, {1999, 1999}, {2000, 2000}, {5000, 2000}};
    for (Row r : rows) {
        s.SetZoom(r.in);
        EXPECT_EQ(s.Zoom(), r.out) << r.in;
    }
}

TEST(View, TransformRoundsHalvesToEvenAndInverts) {
    TMKPSpace s;
    s.Height = 398;
    EXPECT_EQ(s.ToScreen(0, 0), (TPixel{40, 358}));
    EXPECT_EQ(s.ToScreen(2, 0), (TPixel{240, 358}));
    EXPECT_EQ(s.ToScreen(0.005L, 0), (TPixel{40, 358})); // 40.5 → 40
    EXPECT_EQ(s.ToScreen(0.015L, 0), (TPixel{42, 358})); // 41.5 → 42
    EXPECT_EQ(s.ToScreen(0, 0.025L), (TPixel{40, 356})); // 355.5 → 356
    auto m = s.ToModel(240, 258);
    EXPECT_NEAR(static_cast<double>(m.X), 2.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(m.Y), 1.0, 1e-15);
}

// Pixel rounding is that of rint (halves to even) across the canvas range, negatives, fractions
// just off a half and values next to the limits included; beyond them it holds at ±10⁹.
TEST(View, PixelRoundingIsRintWithinTheLimits) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> wide(-1e9, 1e9), small(-3000, 3000);
    auto same = [](TReal v) { return RoundPx(v) == static_cast<int>(std::rint(v)); };
    for (int i = -4000; i <= 4000; ++i) {
        const TReal half = i + 0.5L;
        EXPECT_TRUE(same(half)) << i;
        EXPECT_TRUE(same(std::nextafter(half, TReal(0)))) << i;
        EXPECT_TRUE(same(std::nextafter(half, TReal(1e10)))) << i;
        EXPECT_TRUE(same(std::nextafter(half, TReal(-1e10)))) << i;
    }
    for (int i = 0; i < 200000; ++i) {
        ASSERT_TRUE(same(TReal(small(random)) / 7)) << i;
        ASSERT_TRUE(same(TReal(wide(random)))) << i;
    }
    for (TReal v : {0.0L, -0.0L, 1e-4000L, -0.49999L, 999999999.5L, -999999999.5L, 1e9L, -1e9L + 0.75L})
        EXPECT_TRUE(same(v)) << double(v);
    EXPECT_EQ(RoundPx(1e9L + 1), 1000000000);
    EXPECT_EQ(RoundPx(-1e12L), -1000000000);
    EXPECT_EQ(RoundPx(std::numeric_limits<TReal>::quiet_NaN()), 0);
}

TEST(View, SnapGoesToTheEvenMultipleOnHalves) {
    TMKPSpace s;
    s.SnapDX = s.SnapDY = 0.5L;
    EXPECT_EQ(s.SnapToStep({0.25L, 0.75L}).X, 0.25L); // snap off: unchanged
    s.SnapOn = true;
    auto p = s.SnapToStep({0.25L, 0.75L});
    EXPECT_EQ(p.X, 0.0L);
    EXPECT_EQ(p.Y, 1.0L);
    EXPECT_EQ(s.SnapToStep({-0.75L, 1.3L}).X, -1.0L);
}

TEST(View, ShowAllFitsTheExtentsWithFiftyPixelMargins) {
    TCanvasModel m(488, 398);
    m.Node(0, 0);
    m.Node(10, 4);
    EXPECT_TRUE(m.space.ShowAll());
    EXPECT_EQ(m.space.Zoom(), 40);
    EXPECT_EQ(m.space.OffsetX, 50);
    EXPECT_EQ(m.space.OffsetY, 50);
    EXPECT_EQ(m.space.HScroll.Position, -50);
    EXPECT_EQ(m.space.VScroll.Position, 50);
    EXPECT_EQ(m.repaints, 1);
}

TEST(View, ShowAllOnOneLineFitsThatDirectionOnly) {
    TCanvasModel v(488, 398);
    v.Node(1, -1);
    v.Node(1, 2); // vertical: height only, Round(298 / 30)·10 = 100
    ASSERT_TRUE(v.space.ShowAll());
    EXPECT_EQ(v.space.Zoom(), 100);
    EXPECT_EQ(v.space.OffsetX, -50);
    EXPECT_EQ(v.space.OffsetY, 150);
    TCanvasModel h(488, 398);
    h.Node(-2, 3);
    h.Node(6, 3); // horizontal: width only, Round(388 / 80)·10 = 50
    ASSERT_TRUE(h.space.ShowAll());
    EXPECT_EQ(h.space.Zoom(), 50);
    EXPECT_EQ(h.space.OffsetX, 150);
    EXPECT_EQ(h.space.OffsetY, -100);
}

TEST(View, ShowAllWithoutExtentChangesNothing) {
    for (int nodes = 0; nodes <= 2; ++nodes) {
        TCanvasModel m;
        for (int i = 0; i < nodes; ++i)
            m.Node(3, 3);
        m.space.SetZoom(70);
        EXPECT_FALSE(m.space.ShowAll());
        EXPECT_EQ(m.space.Zoom(), 70);
        EXPECT_EQ(m.space.OffsetX, 40);
        EXPECT_EQ(m.space.OffsetY, 40);
        EXPECT_EQ(m.repaints, 0);
    }
}

// What is drawn beyond the nodes stays on the canvas too: where the rounded zoom lets a wide
// structure run over the edge (720 / 200 rounds to a zoom of 40: 800 px of a 20 m span on a
// canvas of 820) the zoom steps down. A drawing that fits, or fits at no zoom (a force drawn
// 1000 px long), keeps the usual view.
TEST(View, ShowAllKeepsWhatIsDrawnBeyondTheNodesInside) {
    const struct {
        int Width, Height;
        TReal Span, Rise, ScaleSL;
        int Zoom; // 0: any that keeps the drawing inside
    } cases[] = {{820, 600, 20, 5, 0.3L, 0},
                 {600, 900, 4, 14.5L, 0.3L, 0},
                 {488, 398, 10, 4, 0.3L, 40},
                 {488, 398, 10, 4, 10, 40}};
    for (const auto& c : cases) {
        TCanvasModel m(c.Width, c.Height);
        TUzel *a = m.Node(0, 0), *top = m.Node(c.Span / 2, c.Rise), *b = m.Node(c.Span, 0);
        a->DofU.Fixed = a->DofW.Fixed = b->DofU.Fixed = b->DofW.Fixed = b->DofRot.Fixed = true;
        top->PridejZatizeni(KLoadForce, nullptr, 100, 90);
        m.Member(a, top);
        m.Member(top, b);
        m.space.SetScaleSL(c.ScaleSL); // px per kN of the 100 kN force
        ASSERT_TRUE(m.space.ShowAll());
        const TPixelRect box = RozsahKresby(m.space);
        if (c.Zoom == 0)
            EXPECT_TRUE(box.Left >= 0 && box.Top >= 0 && box.Right <= c.Width && box.Bottom <= c.Height)
                << c.Width << "x" << c.Height << " at zoom " << m.space.Zoom();
        else
            EXPECT_TRUE(m.space.Zoom() == c.Zoom && m.space.OffsetX == 50 && m.space.OffsetY == 50)
                << c.ScaleSL;
        EXPECT_EQ(m.space.Zoom() % 10, 0);
    }
}

TEST(View, ShowAllOfAHugeStructureStopsAtTheSmallestZoom) {
    TCanvasModel m;
    m.Node(0, 0);
    m.Node(5000, 1);
    ASSERT_TRUE(m.space.ShowAll());
    EXPECT_EQ(m.space.Zoom(), 10);
}

TEST(View, ZoomStepKeepsTheCentrePointAndTheLimits) {
    TMKPSpace s;
    s.Width = 488;
    s.Height = 398;
    auto centre = s.ToModel(244, 199);
    s.ZoomAboutCentre(s.Zoom() + 10);
    EXPECT_EQ(s.Zoom(), 110);
    auto after = s.ToModel(244, 199);
    EXPECT_NEAR(static_cast<double>(after.X), static_cast<double>(centre.X), 1.0 / 110);
    EXPECT_NEAR(static_cast<double>(after.Y), static_cast<double>(centre.Y), 1.0 / 110);
    s.SetZoom(2000);
    s.ZoomAboutCentre(s.Zoom() + 10);
    EXPECT_EQ(s.Zoom(), 2000);
    s.SetZoom(15);
    s.ZoomAboutCentre(s.Zoom() - 10);
    EXPECT_EQ(s.Zoom(), 10);
}

TEST(View, CentreAtTheCentreLeavesTheOffsets) {
    TCanvasModel m(488, 398);
    m.space.CentreAt(244, 199);
    EXPECT_EQ(m.space.OffsetX, 40);
    EXPECT_EQ(m.space.OffsetY, 40);
    m.space.CentreAt(144, 99); // the pixel comes to the centre
    EXPECT_EQ(m.space.OffsetX, 140);
    EXPECT_EQ(m.space.OffsetY, -60);
    EXPECT_EQ(m.space.HScroll.Position, -140);
    EXPECT_EQ(m.space.VScroll.Position, -60);
    EXPECT_EQ(m.repaints, 2);
}

TEST(View, PanMovesTheImageWithThePointer) {
    TCanvasModel m;
    m.space.PanBy(7, -3);
    EXPECT_EQ(m.space.OffsetX, 47);
    EXPECT_EQ(m.space.OffsetY, 43); // pointer up moves the model up: OffsetY grows
    m.space.ScrolltoCSO();
    EXPECT_EQ(m.space.OffsetX, 40);
    EXPECT_EQ(m.space.OffsetY, 40);
    EXPECT_EQ(m.space.HScroll.Position, -40);
    EXPECT_EQ(m.space.VScroll.Position, 40);
}

TEST(View, ZoomWindowUsesTheLargerRatio) {
    TCanvasModel m(400, 400);
    // 2 m × 1 m on a canvas showing 4 m × 4 m: rx = 0.5, ry = 0.25.
    m.space.ZoomCorner1 = {1, 1};
    m.space.ZoomCorner2 = {3, 2};
    ASSERT_TRUE(m.space.ZoomToWindow(true));
    EXPECT_EQ(m.space.Zoom(), 200);
    EXPECT_EQ(m.space.OffsetX, 200 - 400); // centre (2, 1.5) at the canvas centre
    EXPECT_EQ(m.space.OffsetY, 200 - 300);
    EXPECT_EQ(m.space.HScroll.Position, 200);
    EXPECT_GE(m.space.HScroll.Max, 200);
    m.space.ZoomCorner1 = {0, 0};
    m.space.ZoomCorner2 = {1, 0.5L}; // visible 2 m: r = 0.5, zoom out halves
    ASSERT_TRUE(m.space.ZoomToWindow(false));
    EXPECT_EQ(m.space.Zoom(), 100);
}

TEST(View, ZoomWindowWithCoincidentCornersIsIgnored) {
    TCanvasModel m;
    m.space.ZoomCorner1 = m.space.ZoomCorner2 = {1.5L, 2};
    EXPECT_FALSE(m.space.ZoomToWindow(true));
    EXPECT_FALSE(m.space.ZoomToWindow(false));
    EXPECT_EQ(m.space.Zoom(), 100);
    EXPECT_EQ(m.space.OffsetX, 40);
    EXPECT_EQ(m.repaints, 0);
}

TEST(View, ScrollRangesFollowTheExtentsAndHoldThePositions) {
    TCanvasModel m;
    m.Node(0, 0);
    m.Node(10.4L, 3.6L);
    m.space.ScrollBarsReset();
    EXPECT_EQ(m.space.HScroll.Min, 100 * (-10 - 50));
    EXPECT_EQ(m.space.HScroll.Max, 100 * (10 + 50));
    EXPECT_EQ(m.space.VScroll.Min, 100 * (-4 - 50));
    EXPECT_EQ(m.space.VScroll.Max, 100 * (4 + 50));
    // An offset beyond the range widens it instead of being clamped back.
    m.space.PanBy(-9000, 0);
    EXPECT_EQ(m.space.HScroll.Position, 8960);
    EXPECT_GE(m.space.HScroll.Max, 8960);
    m.space.ScrollBarsReset();
    EXPECT_EQ(m.space.OffsetX, -8960);
    m.space.HScrollBarChange(120);
    EXPECT_EQ(m.space.OffsetX, -120);
    m.space.VScrollBarChange(-33);
    EXPECT_EQ(m.space.OffsetY, -33);
}

TEST(View, GridLinesFromTheLineNearestTheOrigin) {
    TCanvasModel m(200, 100);
    m.space.GridVisible = true;
    auto p = m.Paint();
    std::vector<int> xs, ys;
    for (const TPaintOp& op : p.OfKind(TPaintKind::Line)) {
        if (op.Pen.Color != KSilver) continue;
        if (op.Points[0].X == op.Points[1].X)
            xs.push_back(op.Points[0].X);
        else
            ys.push_back(op.Points[0].Y);
    }
    // x0 = 40 − 100·(Int(40 / 50)·0.5) = 40; n = Round(200 / 100 / 0.5) = 4.
    EXPECT_EQ(xs, (std::vector<int>{40, 90, 140, 190, 240}));
    // y0 = 60 − 100·(Int(60 / 50)·0.5) = 10; m = Round(100 / 100 / 0.5) = 2.
    EXPECT_EQ(ys, (std::vector<int>{10, 60, 110}));
    EXPECT_EQ(p.FindLine({40, 0}, {40, 100})->Pen.Width, 1);
}

TEST(View, NegativeGridSpacingDrawsNoLines) {
    TCanvasModel m(200, 100);
    m.space.GridVisible = true;
    m.space.GridDX = m.space.GridDY = -1;
    EXPECT_TRUE(m.Paint().OfKind(TPaintKind::Line).empty());
}

TEST(View, OriginMarkerAndAnchor) {
    TCanvasModel m(200, 100);
    m.space.Origin.Visible = true;
    m.space.Anchor.Active = true;
    m.space.Anchor.SetX(1);
    m.space.Anchor.SetY(0.5L);
    auto p = m.Paint();
    const TPaintOp* x = p.FindLine({40, 60}, {70, 60});
    ASSERT_TRUE(x);
    EXPECT_EQ(x->Pen.Width, 3);
    EXPECT_EQ(x->Pen.Color, KRed);
    ASSERT_TRUE(p.FindLine({40, 60}, {40, 30}));
    const TPaintOp* tx = p.FindText("X");
    ASSERT_TRUE(tx);
    EXPECT_EQ(tx->Points[0], (TPixel{60, 65}));
    EXPECT_FALSE(tx->TextOpaque);
    EXPECT_EQ(p.FindText("Y")->Points[0], (TPixel{25, 30}));
    // The anchor at (1, 0.5) → (140, 10).
    const TPaintOp* ring = p.FindEllipse({135, 5, 146, 16});
    ASSERT_TRUE(ring);
    EXPECT_EQ(ring->Brush.Style, TBrushStyle::Clear);
    EXPECT_TRUE(p.FindLine({126, 10}, {154, 10}));
    EXPECT_TRUE(p.FindLine({140, -4}, {140, 24}));
    m.space.Anchor.Active = false;
    EXPECT_FALSE(m.Paint().FindEllipse({35, 55, 46, 66}));
}

TEST(View, EmptyModelPaintsOnlyTheBackground) {
    TCanvasModel m(120, 80);
    auto p = m.Paint();
    ASSERT_EQ(p.Ops.size(), 1u);
    EXPECT_EQ(p.Ops[0].Kind, TPaintKind::FillRect);
    EXPECT_EQ(p.Ops[0].Rect, (TPixelRect{0, 0, 120, 80}));
    EXPECT_EQ(p.Ops[0].Colour, KWhite);
}

TEST(View, RubberBandPutsThePixelsBackBeforeEachOutline) {
    TCanvasModel m(200, 100);
    TRecordingPainter visible(200, 100);
    m.space.SetVisibleCanvas(&visible);
    m.space.ZoomCorner1 = {0, 0}; // pixel (40, 60)
    m.space.BeginRubberBand();
    m.space.MoveRubberBand(90, 20);
    m.space.MoveRubberBand(10, 80);
    m.space.EndRubberBand();
    std::vector<TPaintKind> kinds;
    for (const TPaintOp& op : visible.Ops)
        kinds.push_back(op.Kind);
    using K = TPaintKind;
    EXPECT_EQ(kinds, (std::vector<K>{K::Save, K::Restore, K::Save, K::Rectangle, K::Restore, K::Save,
                                     K::Rectangle, K::Restore}));
    auto rects = visible.OfKind(K::Rectangle);
    EXPECT_EQ(rects[0].Rect, (TPixelRect{40, 20, 90, 60}));
    EXPECT_EQ(rects[0].Pen.Style, TPenStyle::Dot);
    EXPECT_EQ(rects[0].Brush.Style, TBrushStyle::Clear);
    EXPECT_EQ(rects[1].Rect, (TPixelRect{10, 60, 40, 80}));
    EXPECT_EQ(m.space.RubberRect, (TPixelRect{10, 60, 40, 80}));
    EXPECT_EQ(visible.Pen().Style, TPenStyle::Solid);
}

TEST(Display, SettersClampAndRepaint) {
    TCanvasModel m;
    struct Row {
        TReal in, outSL, outIF;
    } rows[] = {{3, 3, 3}, {0, 0, 0}, {-1, 0, 0}, {100, 100, 100}, {150, 100, 150}, {2e5L, 100, 100000}};
    for (Row r : rows) {
        m.space.SetScaleSL(r.in);
        m.space.SetScaleCL(r.in);
        m.space.SetScaleIF(r.in);
        EXPECT_EQ(m.space.ScaleSL(), r.outSL);
        EXPECT_EQ(m.space.ScaleCL(), r.outSL);
        EXPECT_EQ(m.space.ScaleIF(), r.outIF);
    }
    EXPECT_EQ(m.repaints, 18);
    m.space.SetShowReactions(true);
    m.space.SetTypZobrazeni(3);
    EXPECT_EQ(m.repaints, 20);
    m.space.SetTypZobrazeni(5);
    EXPECT_EQ(m.space.TypZobrazeni(), 3);
}

TEST(Display, ClearingTheModelResetsModeAndLoadScales) {
    TCanvasModel m;
    m.space.SetTypZobrazeni(4);
    m.space.SetScaleSL(13);
    m.space.SetScaleCL(50);
    m.space.SetScaleIF(7);
    m.space.SetShowReactions(true);
    m.space.SmazVse();
    EXPECT_EQ(m.space.TypZobrazeni(), 0);
    EXPECT_EQ(m.space.ScaleSL(), 3);
    EXPECT_EQ(m.space.ScaleCL(), 3);
    EXPECT_EQ(m.space.ScaleIF(), 7);
    EXPECT_TRUE(m.space.ShowReactions());
}
