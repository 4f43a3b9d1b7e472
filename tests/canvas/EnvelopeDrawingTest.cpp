// The envelope in the result modes and the pinned values, through the recording painter.
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
    std::vector<std::string> Texts(const TRecordingPainter& p) const {
        std::vector<std::string> t;
        for (const TPaintOp& op : p.OfKind(TPaintKind::Text)) t.push_back(op.Text);
        return t;
    }
};

bool Has(const std::vector<std::string>& texts, const std::string& part) {
    for (const std::string& t : texts)
        if (t.find(part) != std::string::npos) return true;
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
    const std::vector<std::string> texts = f.Texts(p);
    const auto name = [&](int by) { return f.space.Envelope->Combinations[std::size_t(by)]->Name; };
    const TExtreme& mid = f.Midspan();
    ASSERT_NE(mid.MaxBy, mid.MinBy);
    EXPECT_TRUE(Has(texts, FormatFixed(mid.Max, 12, 3) + " (" + name(mid.MaxBy) + ")"));
    EXPECT_TRUE(Has(texts, FormatFixed(mid.Min, 12, 3) + " (" + name(mid.MinBy) + ")"));
    EXPECT_FALSE(Has(texts, "0.000 (")) << "a value of nothing names no combination";

    // The deformed shape of an envelope: numbers only, no deformed line (green, width 2).
    f.space.SetTypZobrazeni(4);
    const TRecordingPainter d = f.Paint();
    for (const TPaintOp& op : d.OfKind(TPaintKind::Line)) EXPECT_FALSE(op.Pen.Color == KGreen && op.Pen.Width == 2);
    EXPECT_TRUE(Has(f.Texts(d), "w max ") || Has(f.Texts(d), "w min "));
}

TEST(EnvelopeDrawing, PinnedValuesOfTheModeShown) {
    TEnvelopeBeam f;
    f.space.SetTypZobrazeni(3);
    const size_t plain = f.Paint().Ops.size();
    f.space.ValueMarks.push_back({0, 2, 3});
    f.space.ValueMarks.push_back({0, 1, 1}); // of T: not drawn in M
    const TRecordingPainter p = f.Paint();
    EXPECT_GT(p.Ops.size(), plain);
    const std::vector<TPaintOp> rings = p.OfKind(TPaintKind::Ellipse);
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(rings[0].Pen.Color, KRed);
    const TExtreme& mid = f.Midspan();
    EXPECT_TRUE(Has(f.Texts(p), "M max = " + FormatFixed(mid.Max, 12, 3) + " kNm ("));
}
