// The value labels of the result modes cover no other text and no node number; one value at a
// joint is written once. The origin marker keeps clear of a node standing at the origin.
#include <gtest/gtest.h>

#include <cmath>

#include "CanvasFixture.h"
#include "canvas/DiagramFit.h"
#include "canvas/LabelPlacement.h"
#include "model/UserDialogs.h"

namespace {
bool Overlap(const TPixelRect& a, const TPixelRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

TPixelRect Box(const TPaintOp& text) {
    return TextBox(text.Points[0].X, text.Points[0].Y, text.Text, text.Font);
}

void Compute(TMKPSpace& space) {
    space.TraceEnabled = false;
    TRecordingDialogs quiet;
    TDialogsGuard guard(quiet);
    ASSERT_EQ(space.Vypocet().Result, TSolveResult::Ok);
}

// A parabolic arch of 20 m span and 5 m rise in `members` pieces, hinged at both springings,
// with a distributed load on its left half and a point force at three quarters of the span.
void Arch(TCanvasModel& m, int members) {
    std::vector<TUzel*> nodes;
    for (int i = 0; i <= members; ++i) {
        const TReal x = 20.0L * i / members;
        nodes.push_back(m.Node(x, 5 * x * (20 - x) / 100));
    }
    for (TUzel* springing : {nodes.front(), nodes.back()})
        springing->DofU.Fixed = springing->DofW.Fixed = true;
    for (int i = 0; i < members; ++i) {
        TPrut* p = m.Member(nodes[std::size_t(i)], nodes[std::size_t(i) + 1]);
        p->Geometrie();
        if (i < members / 2)
            p->PridejZatizeni(KLoadDistributed, nullptr, 0, p->Length, 10, 10, 90 - p->Angle);
    }
    nodes[std::size_t(members * 3 / 4)]->PridejZatizeni(KLoadForce, nullptr, 50, 90);
    Compute(m.space);
}
} // namespace

// A simply supported beam in two members with a force at the joint: the moment there is one
// value and is written once; the shear force jumps there and both values stay, apart.
TEST(LabelPlacement, AJointShowsOneValueOnceAndTwoValuesApart) {
    TCanvasModel m(488, 398);
    TUzel* a = m.Node(0, 0);
    TUzel* joint = m.Node(2, 0);
    TUzel* b = m.Node(4, 0);
    a->DofU.Fixed = a->DofW.Fixed = true;
    b->DofW.Fixed = true;
    joint->PridejZatizeni(KLoadForce, nullptr, 10, 90);
    m.Member(a, joint);
    m.Member(joint, b);
    Compute(m.space);
    m.space.SetTypZobrazeni(3);
    auto moment = m.Paint();
    int written = 0;
    for (const TPaintOp& t : moment.OfKind(TPaintKind::Text))
        written += t.Text == "10.000" && t.Font.Color == KGreen;
    EXPECT_EQ(written, 1); // PL/4 at the joint, end of both members
    m.space.SetTypZobrazeni(1);
    auto shear = m.Paint();
    const TPaintOp* left = shear.FindText("-5.000");
    const TPaintOp* right = shear.FindText("5.000");
    ASSERT_TRUE(left && right);
    int atJoint = 0;
    for (const TPaintOp& t : shear.OfKind(TPaintKind::Text))
        atJoint += std::abs(t.Points[0].X - 240) <= 60 && t.Font.Color == KGreen;
    EXPECT_EQ(atJoint, 2);
}

// Every mode of an arch, with node numbers, fitted as the window shows it: no value label on the
// canvas covers another text. The labels are the texts written after everything else.
TEST(LabelPlacement, ArchLabelsCoverNoTextAndNoNodeNumber) {
    for (int members : {8, 16}) {
        TCanvasModel m(765, 520);
        Arch(m, members);
        m.space.ShowNumbers = true;
        m.space.ShowAll();
        for (int mode = 1; mode <= 4; ++mode) {
            SCOPED_TRACE(testing::Message() << members << " members, mode " << mode);
            m.space.SetTypZobrazeni(std::uint8_t(mode));
            PrizpusobMeritko(m.space); // as the window shows a result tab
            auto p = m.Paint();
            const auto texts = p.OfKind(TPaintKind::Text);
            std::size_t first = p.Ops.size();
            while (first > 0 && p.Ops[first - 1].Kind == TPaintKind::Text)
                --first;
            const std::size_t labels = p.Ops.size() - first;
            std::size_t seen = 0;
            for (std::size_t i = texts.size() - labels; i < texts.size(); ++i) {
                EXPECT_EQ(texts[i].Font.Color, KGreen);
                const TPixelRect box = Box(texts[i]);
                if (box.Right <= 0 || box.Bottom <= 0 || box.Left >= 765 || box.Top >= 520)
                    continue; // unseen
                ++seen;
                for (std::size_t j = 0; j < texts.size(); ++j) {
                    if (j == i) continue;
                    EXPECT_FALSE(Overlap(Box(texts[i]), Box(texts[j])))
                        << texts[i].Text << " over " << texts[j].Text;
                }
            }
            EXPECT_GE(seen, std::size_t(members / 2));
        }
    }
}

// Node 1 at the origin with a fixed support and its number: the marker's arrows start beyond
// the support symbol and its letters cover no number. Without a node there it stands as always.
TEST(LabelPlacement, OriginMarkerKeepsClearOfANodeAtTheOrigin) {
    TCanvasModel m(488, 398);
    m.space.Origin.Visible = true;
    m.space.ShowNumbers = true;
    TUzel* first = m.Node(0, 0);
    first->DofU.Fixed = first->DofW.Fixed = first->DofRot.Fixed = true;
    first->Number = 100000; // a long number reaches under the letter "X"
    auto p = m.Paint();
    const TPixel origin{40, 358};
    for (const TPaintOp& line : p.OfKind(TPaintKind::Line)) {
        if (line.Pen.Color != KRed || line.Pen.Width != 3) continue;
        for (const TPixel& end : line.Points)
            EXPECT_GT(std::max(std::abs(end.X - origin.X), std::abs(end.Y - origin.Y)), 15);
    }
    const TPaintOp* number = p.FindText("100000");
    ASSERT_TRUE(number);
    for (const char* letter : {"X", "Y"})
        EXPECT_FALSE(Overlap(Box(*p.FindText(letter)), Box(*number))) << letter;
    // Moved off the origin, the node leaves the marker as it is drawn without one.
    first->X = 3;
    auto q = m.Paint();
    EXPECT_TRUE(q.FindLine(origin, {70, 358}));
    EXPECT_TRUE(q.FindLine(origin, {40, 328}));
    EXPECT_EQ(q.FindText("X")->Points[0], (TPixel{60, 363}));
}
