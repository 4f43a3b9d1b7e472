// Value labels of the result modes cover no other text; a value at a joint is written once. The
// origin marker keeps clear of a node standing at the origin.
#include <gtest/gtest.h>

#include "analysis/ProfileMatrix.h"
#include "CanvasFixture.h"
#include "canvas/DiagramFit.h"
#include "canvas/LabelPlacement.h"
#include "model/UserDialogs.h"

namespace {
bool Overlap(const TPixelRect& a, const TPixelRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}
TPixelRect Box(const TPaintOp& t) {
    return TextBox(t.Points[0].X, t.Points[0].Y, t.Text, t.Font);
}
void Compute(TMKPSpace& space) {
    TRecordingDialogs quiet;
    TDialogsGuard guard(quiet);
    space.TraceEnabled = false;
    ASSERT_EQ(space.Vypocet().Result, TSolveResult::Ok);
}
} // namespace

// A beam of two members loaded at the joint: M there is one value, written once.
TEST(LabelPlacement, AJointValueIsWrittenOnce) {
    TCanvasModel m(488, 398);
    TUzel *a = m.Node(0, 0), *joint = m.Node(2, 0), *b = m.Node(4, 0);
    a->DofU.Fixed = a->DofW.Fixed = b->DofW.Fixed = true;
    joint->PridejZatizeni(KLoadForce, nullptr, 10, 90);
    m.Member(a, joint);
    m.Member(joint, b);
    Compute(m.space);
    m.space.SetTypZobrazeni(3);
    int written = 0; // PL/4
    for (const TPaintOp& t : m.Paint().OfKind(TPaintKind::Text))
        written += t.Text == "10.000" && t.Font.Color == KGreen;
    EXPECT_EQ(written, 1);
}

// A parabolic arch (20 m span, 5 m rise, 16 members, hinged springings, load on its left half
// and a force at three quarters) with node numbers, each mode fitted as the window shows it: no
// label on the canvas (the texts written last) covers another text.
TEST(LabelPlacement, ArchLabelsCoverNoText) {
    TCanvasModel m(765, 520);
    std::vector<TUzel*> nodes;
    for (int i = 0; i <= 16; ++i)
        nodes.push_back(m.Node(1.25L * i, 1.25L * i * (20 - 1.25L * i) / 20));
    for (TUzel* springing : {nodes.front(), nodes.back()})
        springing->DofU.Fixed = springing->DofW.Fixed = true;
    for (std::size_t i = 0; i < 16; ++i) {
        TPrut* p = m.Member(nodes[i], nodes[i + 1]);
        p->Geometrie();
        if (i < 8) p->PridejZatizeni(KLoadDistributed, nullptr, 0, p->Length, 10, 10, 90 - p->Angle);
    }
    nodes[12]->PridejZatizeni(KLoadForce, nullptr, 50, 90);
    Compute(m.space);
    m.space.ShowNumbers = true;
    for (int mode = 1; mode <= 4; ++mode) {
        m.space.SetTypZobrazeni(std::uint8_t(mode));
        PrizpusobMeritko(m.space);
        const TRecordingPainter p = m.Paint();
        const auto texts = p.OfKind(TPaintKind::Text);
        std::size_t labels = 0, seen = 0;
        while (labels < p.Ops.size() && p.Ops[p.Ops.size() - 1 - labels].Kind == TPaintKind::Text)
            ++labels;
        for (std::size_t i = texts.size() - labels; i < texts.size(); ++i) {
            if (!Overlap(Box(texts[i]), {0, 0, 765, 520})) continue;
            ++seen;
            for (std::size_t j = 0; j < texts.size(); ++j)
                EXPECT_TRUE(i == j || !Overlap(Box(texts[i]), Box(texts[j])))
                    << "mode " << mode << ": " << texts[i].Text << " over " << texts[j].Text;
        }
        EXPECT_GE(seen, 8u) << "mode " << mode;
    }
}

// Node 1 at the origin, fixed, with a six-digit number: the arrows start beyond its support and
// the letters cover no number. A node elsewhere leaves the marker as it always stands.
TEST(LabelPlacement, OriginMarkerKeepsClearOfANodeAtTheOrigin) {
    TCanvasModel m(488, 398);
    m.space.Origin.Visible = m.space.ShowNumbers = true;
    TUzel* first = m.Node(0, 0);
    first->DofU.Fixed = first->DofW.Fixed = first->DofRot.Fixed = true;
    first->Number = 100000;
    auto p = m.Paint();
    for (const TPaintOp& line : p.OfKind(TPaintKind::Line)) {
        if (line.Pen.Width != 3) continue;
        for (const TPixel& end : line.Points)
            EXPECT_GT(std::max(std::abs(end.X - 40), std::abs(end.Y - 358)), 15);
    }
    for (const char* letter : {"X", "Y"})
        EXPECT_FALSE(Overlap(Box(*p.FindText(letter)), Box(*p.FindText("100000")))) << letter;
    first->X = 3;
    auto q = m.Paint();
    EXPECT_TRUE(q.FindLine({40, 358}, {70, 358}) && q.FindLine({40, 358}, {40, 328}));
    EXPECT_EQ(q.FindText("X")->Points[0], (TPixel{60, 363}));
}
