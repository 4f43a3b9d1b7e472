#include <gtest/gtest.h>

#include <algorithm>

#include "CanvasFixture.h"
#include "canvas/Drawing.h"
#include "canvas/LoadHit.h"

// A member from (0, 0) to (2, 0), drawn from (40, 358) to (240, 358) at zoom 100, with a nodal
// force at node 1, a force, a moment and a distributed load on the member, and a vertical member
// that carries nothing but its self-weight.
TEST(LoadHit, FindsTheLoadDrawnUnderThePixel) {
    TCanvasModel m(488, 398);
    TUzel* a = m.Node(0, 0);
    TUzel* b = m.Node(2, 0);
    TPrut* beam = m.Member(a, b);
    TZatizeni* nodal = a->PridejZatizeni(KLoadForce, nullptr, 10, 90);            // shaft (40, 358)-(40, 328)
    TZatizeni* force = beam->PridejZatizeni(KLoadForce, nullptr, 1, 0, 5, 0, 90); // (140, 358)-(140, 343)
    TZatizeni* moment = beam->PridejZatizeni(KLoadMoment, nullptr, 0.5L, 0, 10, 0, 0); // arc about (90, 358)
    TZatizeni* spread = beam->PridejZatizeni(KLoadDistributed, nullptr, 1.5L, 0.5L, 5, 5, 90); // x 190..240
    m.Member(b, m.Node(2, 2))->PridejVlastniTihu(&m.space.WeightCase);
    struct TRow {
        int X, Y;
        const TZatizeni* Load;
    } rows[] = {
        {41, 340, nodal},    {36, 340, nodal},
        {35, 340, nullptr}, // four pixels left of the shaft, not five
        {140, 350, force},   {90, 339, moment},
        {110, 358, moment}, // the arc and its right end
        {215, 350, spread},  {215, 343, spread},
        {200, 331, spread},                       // inside, edge, label of q1
        {300, 200, nullptr}, {240, 258, nullptr}, // the self-weight is never drawn
    };
    for (const TRow& r : rows) {
        const TLoadHit hit = ZatizeniNaPozici(m.space, r.X, r.Y);
        EXPECT_EQ(hit.Load, r.Load) << r.X << ", " << r.Y;
        EXPECT_TRUE(!hit ||
                    (hit.Load == nodal ? hit.Node == a && !hit.Member : hit.Member == beam && !hit.Node));
    }
    // Loads switched off in the display cannot be hit.
    m.space.ShowNodalLoads = false;
    EXPECT_FALSE(ZatizeniNaPozici(m.space, 41, 340));
    m.space.ShowMemberLoads = false;
    EXPECT_FALSE(ZatizeniNaPozici(m.space, 215, 350));
}

// With cases, the canvas draws one case's loads, or every load in its case's colour; the loads of a
// case that is not drawn cannot be hit either. A model without cases ignores both settings.
TEST(LoadHit, CaseChoiceDecidesWhatIsDrawnAndHit) {
    TCanvasModel m(488, 398);
    TUzel* a = m.Node(0, 0);
    TPrut* beam = m.Member(a, m.Node(2, 0));
    TZatizeni* nodal = a->PridejZatizeni(KLoadForce, nullptr, 10, 90);
    TZatizeni* force = beam->PridejZatizeni(KLoadForce, nullptr, 1, 0, 5, 0, 90);
    const auto colours = [&m] {
        std::vector<TColor> seen;
        for (const TPaintOp& op : m.Paint().Ops)
            if (op.Kind == TPaintKind::Line &&
                std::find(seen.begin(), seen.end(), op.Pen.Color) == seen.end())
                seen.push_back(op.Pen.Color);
        std::sort(seen.begin(), seen.end());
        return seen;
    };
    const auto sorted = [](std::vector<TColor> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    m.space.LoadsOfCase = 1;
    m.space.CaseColours = true;
    EXPECT_EQ(colours(), sorted({KBlack, KBlue})) << "a model without cases draws as ever";
    EXPECT_EQ(ZatizeniNaPozici(m.space, 41, 340).Load, nodal);

    m.space.PridejZatezovaciStav("G", TCaseKind::Permanent); // takes both loads
    TZatezovaciStav* q = m.space.PridejZatezovaciStav("Q", TCaseKind::Variable);
    m.space.NastavStavZatizeni(*force, q);
    EXPECT_EQ(ZatizeniNaPozici(m.space, 41, 340).Load, nullptr) << "G's load is not drawn";
    EXPECT_EQ(ZatizeniNaPozici(m.space, 140, 350).Load, force);
    m.space.LoadsOfCase = 0;
    EXPECT_EQ(ZatizeniNaPozici(m.space, 41, 340).Load, nodal);
    EXPECT_EQ(ZatizeniNaPozici(m.space, 140, 350).Load, nullptr);
    EXPECT_EQ(colours(), sorted({KBlack, KBlue})) << "one case: the colours of the kinds";
    m.space.LoadsOfCase = -1;
    EXPECT_EQ(colours(), sorted({KBlack, CaseColour(0), CaseColour(1)}));
    m.space.CaseColours = false;
    EXPECT_EQ(colours(), sorted({KBlack, KBlue}));
    for (int i = 0; i < 8; ++i) {
        for (TColor taken : {KBlack, KRed, KBlue, KGreen, KPurple, KWhite})
            EXPECT_NE(CaseColour(i), taken) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(CaseColour(i), CaseColour(j)) << i << " " << j;
    }
}
