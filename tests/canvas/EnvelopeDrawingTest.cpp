// The envelope in the result modes, through the recording painter.
#include <gtest/gtest.h>

#include "analysis/En1990.h"
#include "analysis/Envelope.h"
#include "analysis/ProfileMatrix.h"
#include "base/NumberText.h"
#include "CanvasFixture.h"
#include "model/UserDialogs.h"

namespace {
// A 4 m beam, pinned and on rollers, under G and Q downwards.
struct TEnvelopeBeam : TCanvasModel {
    TPrut* beam;
    TEnvelopeBeam() {
        TUzel* a = Node(0, 0);
        TUzel* b = Node(4, 0);
        a->DofU.Fixed = a->DofW.Fixed = true;
        b->DofW.Fixed = true;
        beam = Member(a, b);
        TZatezovaciStav* g = space.PridejZatezovaciStav("G", TCaseKind::Permanent);
        g->BothValues = true;
        TZatezovaciStav* q = space.PridejZatezovaciStav("Q", TCaseKind::Variable, TCaseCategory::B);
        space.NastavStavZatizeni(*beam->PridejZatizeni(KLoadDistributed, nullptr, 0, 4, 2, 2, 90), g);
        space.NastavStavZatizeni(*beam->PridejZatizeni(KLoadDistributed, nullptr, 0, 4, 1, 1, 90), q);
        space.VygenerujKombinace({});
        space.TraceEnabled = false;
        TRecordingDialogs messages;
        TDialogsGuard guard(messages);
        EXPECT_EQ(space.Vypocet().Result, TMKPSpace::TSolveResult::Ok);
        EXPECT_TRUE(space.NastavVysledky({TResultsKind::Envelope, {}, {}, TEnvelopeScope::Ultimate}));
    }
    const TExtreme& Midspan() const { // M at x = 2
        const TObalka::TMemberEnvelope& e = space.Envelope->Members[0];
        std::size_t j = 0;
        while (j + 1 < e.X.size() && e.X[j] != 2) ++j;
        return e.Values[j][0];
    }
};

bool Has(const TRecordingPainter& p, const std::string& part) {
    for (const TPaintOp& op : p.OfKind(TPaintKind::Text))
        if (op.Text.find(part) != std::string::npos) return true;
    return false;
}
} // namespace

TEST(EnvelopeDrawing, BandBetweenTheCurvesAndLabelsNamingTheirCombinations) {
    TEnvelopeBeam f;
    f.space.SetTypZobrazeni(3);
    const TRecordingPainter p = f.Paint();
    const std::vector<TPaintOp> band = p.OfKind(TPaintKind::Polygon);
    ASSERT_EQ(band.size(), 1u);
    EXPECT_EQ(band[0].Brush.Style, TBrushStyle::Solid);
    EXPECT_EQ(band[0].Points.size(), 2 * f.space.Envelope->Members[0].X.size());
    // Midspan, a strict extreme of both curves: labelled with the combinations giving them.
    const auto name = [&](int by) { return f.space.Envelope->Combinations[std::size_t(by)]->Name; };
    const TExtreme& mid = f.Midspan();
    ASSERT_NE(mid.MaxBy, mid.MinBy);
    EXPECT_TRUE(Has(p, FormatFixed(mid.Max, 12, 3) + " (" + name(mid.MaxBy) + ")"));
    EXPECT_TRUE(Has(p, FormatFixed(mid.Min, 12, 3) + " (" + name(mid.MinBy) + ")"));
    for (const TPaintOp& op : p.OfKind(TPaintKind::Text)) // a value of nothing names none
        if (const std::size_t at = op.Text.find(" ("); at != std::string::npos)
            EXPECT_NE(op.Text.substr(0, at).find_first_of("123456789"), std::string::npos) << op.Text;

    // The deformed shape of an envelope: numbers only, no deformed line (green, width 2).
    f.space.SetTypZobrazeni(4);
    const TRecordingPainter d = f.Paint();
    for (const TPaintOp& op : d.OfKind(TPaintKind::Line)) EXPECT_FALSE(op.Pen.Color == KGreen && op.Pen.Width == 2);
    EXPECT_TRUE(Has(d, "w max ") || Has(d, "w min "));
}

// Under a triangular load the span's largest moment lies between stations: the curve of the
// largest values goes through it and labels it, the band gains one point on each curve.
TEST(EnvelopeDrawing, MomentPeakBetweenStationsIsDrawnAndLabelled) {
    TEnvelopeBeam f;
    f.space.NastavStavZatizeni(*f.beam->PridejZatizeni(KLoadDistributed, nullptr, 0, 4, 0, 6, 90),
                               f.space.LoadCases[1]);
    {
        TRecordingDialogs messages;
        TDialogsGuard guard(messages);
        ASSERT_EQ(f.space.Vypocet().Result, TMKPSpace::TSolveResult::Ok);
    }
    ASSERT_TRUE(f.space.NastavVysledky({TResultsKind::Envelope, {}, {}, TEnvelopeScope::Ultimate}));
    const TObalka::TMemberEnvelope& e = f.space.Envelope->Members[0];
    ASSERT_EQ(e.Peaks.size(), 1u);
    const TObalka::TPeak& peak = e.Peaks[0];
    EXPECT_TRUE(peak.Largest);
    f.space.SetTypZobrazeni(3);
    const TRecordingPainter p = f.Paint();
    const std::vector<TPaintOp> band = p.OfKind(TPaintKind::Polygon);
    ASSERT_EQ(band.size(), 1u);
    EXPECT_EQ(band[0].Points.size(), 2 * e.X.size() + 2);
    const std::string name = f.space.Envelope->Combinations[std::size_t(peak.By)]->Name;
    EXPECT_TRUE(Has(p, FormatFixed(peak.Value, 12, 3) + " (" + name + ")"));
    TReal station = e.Values[0][0].Max; // the highest station, below the peak, carries no label
    for (const auto& v : e.Values) station = std::max(station, v[0].Max);
    EXPECT_LT(station, peak.Value);
    EXPECT_FALSE(Has(p, FormatFixed(station, 12, 3) + " ("));
}
