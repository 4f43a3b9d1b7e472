// What the full repaint keeps between repaints never outlives what it was formed from, and what
// cannot be read at the zoom (texts of members shorter than a line, stations nearer than a pixel)
// is left out.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

#include "analysis/En1990.h"
#include "analysis/ProfileMatrix.h"
#include "CanvasFixture.h"
#include "canvas/Drawing.h"
#include "canvas/LabelPlacement.h"
#include "canvas/MemberResults.h"
#include "model/UserDialogs.h"

namespace {
// Every primitive with what it was drawn with, one line each.
std::string Picture(const TRecordingPainter& p) {
    std::ostringstream out;
    for (const TPaintOp& op : p.Ops) {
        out << int(op.Kind) << ' ' << op.Text << ' ' << op.Pen.Color << ' ' << op.Pen.Width << ' '
            << op.Brush.Color << ' ' << int(op.Brush.Style) << ' ' << op.Font.Color << ' ' << op.Rect.Left << ' '
            << op.Rect.Top << ' ' << op.Rect.Right << ' ' << op.Rect.Bottom;
        for (const TPixel& q : op.Points)
            out << ' ' << q.X << ',' << q.Y;
        out << '\n';
    }
    return out.str();
}

void Compute(TMKPSpace& space) {
    TRecordingDialogs quiet;
    TDialogsGuard guard(quiet);
    space.TraceEnabled = false;
    ASSERT_EQ(space.Vypocet().Result, TSolveResult::Ok);
}

// A cantilever of the given length at the smallest zoom (10 pixels a metre) under a distributed
// load, computed.
TPrut* Cantilever(TCanvasModel& m, TReal length) {
    m.space.SetZoom(10);
    m.space.OffsetX = 100;
    TUzel* a = m.Node(0, 0);
    a->DofU.Fixed = a->DofW.Fixed = a->DofRot.Fixed = true;
    TPrut* member = m.Member(a, m.Node(length, 0));
    member->PridejZatizeni(KLoadDistributed, nullptr, 0, length, 100, 100, 90);
    Compute(m.space);
    return member;
}
} // namespace

// After every kind of change, in every mode, the repaint with the kept tables draws exactly what
// a repaint that forms every table anew draws; a repaint with nothing changed forms none.
TEST(KeptTables, EveryChangeDrawsAsAFreshRepaint) {
    // A portal under G (the beam's load) and W (a force at the top of the left column).
    TCanvasModel m(600, 450);
    TMKPSpace& s = m.space;
    TUzel *a = m.Node(0, 0), *b = m.Node(0, 4), *c = m.Node(6, 4), *d = m.Node(6, 0);
    a->DofU.Fixed = a->DofW.Fixed = a->DofRot.Fixed = d->DofU.Fixed = d->DofW.Fixed = true;
    m.Member(a, b);
    TPrut* beam = m.Member(b, c, false, true);
    m.Member(c, d);
    TZatizeni* load = beam->PridejZatizeni(KLoadDistributed, nullptr, 1, 4, 10, 20, 90);
    s.NastavStavZatizeni(*load, s.PridejZatezovaciStav("G", TCaseKind::Permanent));
    s.NastavStavZatizeni(*b->PridejZatizeni(KLoadForce, nullptr, 8, 0),
                         s.PridejZatezovaciStav("W", TCaseKind::Variable, TCaseCategory::Wind));
    s.VygenerujKombinace({});
    s.ShowNumbers = true;
    s.ShowAll();
    Compute(s);
    ASSERT_TRUE(s.NastavVysledky({TResultsKind::Case, "G", {}, {}}));
    const TReal q1 = load->Q1;
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"nothing", [] {}},
        {"load value", [&] { load->Q1 = 2 * q1; }},
        {"load value back (undo)", [&] { load->Q1 = q1; }},
        {"load moved", [&] { load->A = 0.5L; }},
        {"node moved", [&] { c->X = 6.5L; }},
        {"computed again", [&] { Compute(s); }},
        {"case shown", [&] { ASSERT_TRUE(s.NastavVysledky({TResultsKind::Case, "W", {}, {}})); }},
        {"combination shown", [&] { ASSERT_TRUE(s.NastavVysledky({TResultsKind::Combination, "MSÚ 1", {}, {}})); }},
        {"envelope shown", [&] { ASSERT_TRUE(s.NastavVysledky({TResultsKind::Envelope, {}, {}, TEnvelopeScope::Ultimate})); }},
        {"other envelope", [&] { ASSERT_TRUE(s.NastavVysledky({TResultsKind::Envelope, {}, {}, TEnvelopeScope::All})); }},
        {"case again", [&] { ASSERT_TRUE(s.NastavVysledky({TResultsKind::Case, "G", {}, {}})); }},
        {"section stiffer", [&] { m.section->Iy *= 2; }},
        {"material softer", [&] { m.steel->E /= 2; }},
        {"divisions", [&] { beam->Divisions = 17; }},
        {"hinge", [&] { beam->HingeB = false; }},
        {"member turned", [&] { s.CurrentMember = beam, s.OtocAktualniPrut(); }},
        {"pan", [&] { s.PanBy(7, -3); }},
        {"zoom", [&] { s.ZoomAboutCentre(s.Zoom() + 10); }},
        {"scale", [&] { s.SetScaleIF(s.ScaleIF() * 1.5L); }},
        {"first member deleted", [&] { s.CurrentMember = s.Members[0], s.SmazPrut(); }},
    };
    for (const auto& [what, change] : changes) {
        for (int mode = 0; mode <= 4; ++mode) {
            s.SetTypZobrazeni(std::uint8_t(mode));
            m.Paint();
        }
        change();
        for (int mode = 0; mode <= 4; ++mode) {
            s.SetTypZobrazeni(std::uint8_t(mode));
            const std::string kept = Picture(m.Paint());
            const long formed = MemberTables(s).Formed();
            EXPECT_EQ(Picture(m.Paint()), kept) << what << ", mode " << mode;
            EXPECT_EQ(MemberTables(s).Formed(), formed) << what << ", mode " << mode << ": formed again unchanged";
            // The same repaint with a new store, which forms every table; the kept store goes on.
            auto store = std::move(s.DrawingTables);
            EXPECT_EQ(Picture(m.Paint()), kept) << what << ", mode " << mode;
            s.DrawingTables = std::move(store);
        }
    }
}

// The diagrams and envelope bands kept for members too short for texts follow every change of the
// members' axes, of the view and of what is shown, made in the mode drawn: each repaint draws what
// a repaint with a new store draws.
TEST(KeptTables, DiagramsOfShortMembersDrawAsAFreshRepaint) {
    for (const bool envelope : {true, false}) {
        // Two bays of 1 m at 10 pixels a metre, under G (the beams) and W (a force at the top left).
        TCanvasModel m(300, 200);
        TMKPSpace& s = m.space;
        s.SetZoom(10), s.OffsetX = 100;
        std::vector<TUzel*> top;
        TZatezovaciStav* g = s.PridejZatezovaciStav("G", TCaseKind::Permanent);
        for (int b = 0; b <= 2; ++b) {
            TUzel* foot = m.Node(b, 0);
            foot->DofU.Fixed = foot->DofW.Fixed = foot->DofRot.Fixed = true;
            top.push_back(m.Node(b, 1));
            m.Member(foot, top.back());
            if (b > 0)
                s.NastavStavZatizeni(
                    *m.Member(top[b - 1], top[b])->PridejZatizeni(KLoadDistributed, nullptr, 0, 1, 10, 10, 90), g);
        }
        s.NastavStavZatizeni(*top[0]->PridejZatizeni(KLoadForce, nullptr, 8, 0),
                             s.PridejZatezovaciStav("W", TCaseKind::Variable, TCaseCategory::Wind));
        s.VygenerujKombinace({});
        Compute(s);
        int turn = 0;
        // Another envelope, or another case.
        const auto show = [&] {
            ASSERT_TRUE(envelope ? s.NastavVysledky({TResultsKind::Envelope, {}, {},
                                                     turn % 2 ? TEnvelopeScope::All : TEnvelopeScope::Ultimate})
                                 : s.NastavVysledky({TResultsKind::Case, turn % 2 ? "W" : "G", {}, {}}));
        };
        show();
        s.SetScaleIF(envelope ? 0.5L : 2.0L);
        const std::vector<std::pair<const char*, std::function<void()>>> changes = {
            {"nothing", [] {}},
            {"node moved", [&] { top[1]->Y = 1 + 0.1L * (++turn % 3); }},
            {"frame moved", [&] {
                 for (TUzel* n : s.Nodes)
                     n->Y += 0.3L;
             }},
            {"pan", [&] { s.PanBy(3, -2); }},
            {"zoom", [&] { s.SetZoom(10 + ++turn % 2); }},
            {"scale", [&] { s.SetScaleIF(s.ScaleIF() * 1.5L); }},
            {"member turned", [&] { s.CurrentMember = s.Members[1], s.OtocAktualniPrut(); }},
            {"other results", [&] { ++turn, show(); }},
            {"first member deleted", [&] { s.CurrentMember = s.Members[0], s.SmazPrut(); }},
        };
        for (const auto& [what, change] : changes) {
            for (int mode = 1; mode <= 4; ++mode) {
                const std::string where = std::string(what) + ", mode " + std::to_string(mode) +
                                          (envelope ? ", envelope" : ", case");
                s.SetTypZobrazeni(std::uint8_t(mode));
                m.Paint();
                change();
                const TRecordingPainter first = m.Paint();
                if (envelope && mode < 4) ASSERT_FALSE(first.OfKind(TPaintKind::Polygon).empty()) << where;
                const std::string kept = Picture(first);
                const long formed = MemberTables(s).Formed();
                EXPECT_EQ(Picture(m.Paint()), kept) << where;
                EXPECT_EQ(MemberTables(s).Formed(), formed) << where << ": formed again unchanged";
                auto store = std::move(s.DrawingTables);
                EXPECT_EQ(Picture(m.Paint()), kept) << where;
                s.DrawingTables = std::move(store);
            }
        }
    }
}

// A member shorter on the canvas than a line of text carries no number, no load value and no
// diagram label; one a pixel longer carries them all. Its lines are drawn either way.
TEST(KeptTables, TextsOnlyOnMembersLongEnoughToHoldThem) {
    for (const int pixels : {TSpaceDrawer::KTextRoom, TSpaceDrawer::KTextRoom - 1}) {
        TCanvasModel m(400, 300);
        Cantilever(m, pixels / 10.0L);
        m.space.ShowNumbers = true;
        for (int mode = 0; mode <= 4; ++mode) {
            m.space.SetTypZobrazeni(std::uint8_t(mode));
            const TRecordingPainter r = m.Paint();
            int green = 0, lines = 0;
            for (const TPaintOp& t : r.OfKind(TPaintKind::Text))
                green += t.Font.Color == KGreen; // member number, load values, diagram labels
            for (const TPaintOp& l : r.OfKind(TPaintKind::Line))
                lines += l.Pen.Color == KGreen;
            const bool fits = pixels >= TSpaceDrawer::KTextRoom;
            EXPECT_EQ(green > 0, fits) << pixels << " px, mode " << mode;
            EXPECT_GT(lines, 0) << pixels << " px, mode " << mode;
        }
    }
}

// On a member 5 pixels long the stations of M stand less than a pixel apart: the curve runs
// through one station a pixel, from the first to the last. A member long enough for texts is
// drawn through every station.
TEST(KeptTables, StationsNearerThanAPixelAreDrawnOnce) {
    for (const TReal length : {0.5L, 5.0L}) {
        TCanvasModel m(400, 300);
        TPrut* member = Cantilever(m, length);
        ASSERT_TRUE(ComputeMemberResults(*member));
        const std::size_t stations = member->Results[0].size();
        ReleaseMemberResults(*member);
        m.space.ShowMemberLoads = false;
        m.space.SetTypZobrazeni(3);
        std::vector<TPaintOp> curve; // from a through the stations drawn, back to b
        for (const TPaintOp& l : m.Paint().OfKind(TPaintKind::Line))
            if (l.Pen.Color == KGreen) curve.push_back(l);
        ASSERT_FALSE(curve.empty());
        EXPECT_EQ(curve.front().Points[0], m.space.ToScreen(0, 0));
        EXPECT_EQ(curve.back().Points[1], m.space.ToScreen(length, 0));
        if (length > 1) {
            EXPECT_EQ(curve.size(), stations + 1);
        } else {
            EXPECT_GE(stations, 11u);
            EXPECT_LE(curve.size(), 6u + 2u) << "one station on each of the 6 pixels, the last, b";
            EXPECT_GE(curve.size(), 3u);
        }
    }
}

// A table is kept while its inputs keep their bits: the next value up, a zero's other sign or a NaN
// in an end result or the geometry forms it anew, and so does the value put back.
TEST(KeptTables, InputsComparedBitForBit) {
    TCanvasModel m(400, 300);
    TPrut* member = Cantilever(m, 5);
    TMemberTables& tables = MemberTables(m.space);
    member->Sb[1] = 0;
    for (TReal* value : {&member->Length, &member->CosA, &member->Sa[0], &member->Sa[5], &member->Sb[1]})
        for (const TReal other : {std::nextafter(*value, 1e9L), -*value, std::nanl("")}) {
            const TReal was = *value;
            tables.Table(*member, 0);
            const long formed = tables.Formed();
            *value = other;
            tables.Table(*member, 0);
            tables.Table(*member, 0); // the same bits, a NaN's too: nothing formed
            *value = was;
            tables.Table(*member, 0);
            EXPECT_EQ(tables.Formed(), formed + 2) << double(was) << " -> " << double(other);
        }
}

// A taken box that reaches far beyond the canvas and the placer's pixel margin keeps a label off
// its part on the canvas; a label wholly outside is written where it stands.
TEST(KeptTables, PlacerSeesTakenBoxesBeyondItsMargin) {
    TRecordingPainter p(200, 100);
    TLabelPlacer labels(200, 100);
    labels.Occupy({-5000, 0, 20, 100}); // all of the left edge, and far beyond
    labels.Queue({-700, 40}, "12.000", {5, 40}, KGreen, true);
    labels.Queue({10, 40}, "7.000", {10, 40}, KGreen, true);
    labels.Queue({60, 40}, "3.000", {60, 40}, KGreen, true);
    labels.Draw(p);
    std::vector<std::string> written;
    for (const TPaintOp& t : p.OfKind(TPaintKind::Text)) {
        written.push_back(t.Text);
        if (t.Text != "12.000") {
            EXPECT_GE(t.Points[0].X, 20) << t.Text;
        }
    }
    EXPECT_EQ(written, (std::vector<std::string>{"12.000", "3.000"}));
}

// With more members and nodes selected than a drawing searches one by one, the selected ones
// are red and the others black, as with a few.
TEST(KeptTables, LongSelectionsDrawAsShortOnes) {
    TCanvasModel m(600, 400);
    std::vector<TUzel*> nodes;
    for (int i = 0; i <= 40; ++i)
        nodes.push_back(m.Node(0.1L * i, 0));
    for (int i = 0; i < 40; ++i) {
        TPrut* p = m.Member(nodes[std::size_t(i)], nodes[std::size_t(i) + 1]);
        if (i != 33) m.space.SelectedMembers.Add(p);
        if (i != 7) m.space.SelectedNodes.Add(nodes[std::size_t(i)]);
    }
    int redLines = 0, redDots = 0;
    for (const TPaintOp& op : m.Paint().Ops) {
        redLines += op.Kind == TPaintKind::Line && op.Pen.Color == KRed;
        redDots += op.Kind == TPaintKind::Ellipse && op.Brush.Color == KRed;
    }
    EXPECT_EQ(redLines, 39);
    EXPECT_EQ(redDots, 39);
}
