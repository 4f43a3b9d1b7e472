#include <gtest/gtest.h>

#include "analysis/En1990.h"
#include "base/NumberText.h"

namespace {
// Two permanent cases, imposed load of category B, snow (up to 1000 m), temperature and a pair of
// wind cases that never act together.
struct TCases {
    TZatezovaciStav g1{"G1", TCaseKind::Permanent}, g2{"G2", TCaseKind::Permanent};
    TZatezovaciStav q{"Q", TCaseKind::Variable, TCaseCategory::B};
    TZatezovaciStav s{"S", TCaseKind::Variable, TCaseCategory::SnowLow};
    TZatezovaciStav t{"T", TCaseKind::Variable, TCaseCategory::Temperature};
    TZatezovaciStav w1{"W1", TCaseKind::Variable, TCaseCategory::Wind, "vítr"};
    TZatezovaciStav w2{"W2", TCaseKind::Variable, TCaseCategory::Wind, "vítr"};
    TZatezovaciStav a{"A", TCaseKind::Accidental};
    std::vector<TZatezovaciStav*> List() { return {&g1, &g2, &q, &s, &t, &w1, &w2}; }
};

// "name | kind | formula | terms" of every combination.
std::vector<std::string> Table(const std::vector<std::unique_ptr<TKombinace>>& list) {
    std::vector<std::string> rows;
    for (const auto& k : list)
        rows.push_back(k->Name + " | " + CombinationKindCode(k->Kind) + " | " + k->Formula + " | " + k->TermsText('.'));
    return rows;
}
} // namespace

TEST(En1990, HandMadeTableOfFrameWithSnowAndWindPair) {
    TCases c;
    const std::vector<std::string> uls610 = {
        "MSÚ 1 | uls | 6.10, hlavní Q | 1.35·G1 + 1.35·G2 + 1.5·Q + 0.75·S + 0.9·T + 0.9·W1",
        "MSÚ 2 | uls | 6.10, hlavní Q | 1.35·G1 + 1.35·G2 + 1.5·Q + 0.75·S + 0.9·T + 0.9·W2",
        "MSÚ 3 | uls | 6.10, hlavní S | 1.35·G1 + 1.35·G2 + 1.05·Q + 1.5·S + 0.9·T + 0.9·W1",
        "MSÚ 4 | uls | 6.10, hlavní S | 1.35·G1 + 1.35·G2 + 1.05·Q + 1.5·S + 0.9·T + 0.9·W2",
        "MSÚ 5 | uls | 6.10, hlavní T | 1.35·G1 + 1.35·G2 + 1.05·Q + 0.75·S + 1.5·T + 0.9·W1",
        "MSÚ 6 | uls | 6.10, hlavní T | 1.35·G1 + 1.35·G2 + 1.05·Q + 0.75·S + 1.5·T + 0.9·W2",
        "MSÚ 7 | uls | 6.10, hlavní W1 | 1.35·G1 + 1.35·G2 + 1.05·Q + 0.75·S + 0.9·T + 1.5·W1",
        "MSÚ 8 | uls | 6.10, hlavní W2 | 1.35·G1 + 1.35·G2 + 1.05·Q + 0.75·S + 0.9·T + 1.5·W2",
    };
    const std::vector<std::string> sls = {
        "MSP-Ch 1 | sls-c | 6.14b, hlavní Q | 1·G1 + 1·G2 + 1·Q + 0.5·S + 0.6·T + 0.6·W1",
        "MSP-Ch 2 | sls-c | 6.14b, hlavní Q | 1·G1 + 1·G2 + 1·Q + 0.5·S + 0.6·T + 0.6·W2",
        "MSP-Ch 3 | sls-c | 6.14b, hlavní S | 1·G1 + 1·G2 + 0.7·Q + 1·S + 0.6·T + 0.6·W1",
        "MSP-Ch 4 | sls-c | 6.14b, hlavní S | 1·G1 + 1·G2 + 0.7·Q + 1·S + 0.6·T + 0.6·W2",
        "MSP-Ch 5 | sls-c | 6.14b, hlavní T | 1·G1 + 1·G2 + 0.7·Q + 0.5·S + 1·T + 0.6·W1",
        "MSP-Ch 6 | sls-c | 6.14b, hlavní T | 1·G1 + 1·G2 + 0.7·Q + 0.5·S + 1·T + 0.6·W2",
        "MSP-Ch 7 | sls-c | 6.14b, hlavní W1 | 1·G1 + 1·G2 + 0.7·Q + 0.5·S + 0.6·T + 1·W1",
        "MSP-Ch 8 | sls-c | 6.14b, hlavní W2 | 1·G1 + 1·G2 + 0.7·Q + 0.5·S + 0.6·T + 1·W2",
        // ψ2 of snow, temperature and wind is 0: the two wind choices give one combination.
        "MSP-Č 1 | sls-f | 6.15b, hlavní Q | 1·G1 + 1·G2 + 0.5·Q",
        "MSP-Č 2 | sls-f | 6.15b, hlavní S | 1·G1 + 1·G2 + 0.3·Q + 0.2·S",
        "MSP-Č 3 | sls-f | 6.15b, hlavní T | 1·G1 + 1·G2 + 0.3·Q + 0.5·T",
        "MSP-Č 4 | sls-f | 6.15b, hlavní W1 | 1·G1 + 1·G2 + 0.3·Q + 0.2·W1",
        "MSP-Č 5 | sls-f | 6.15b, hlavní W2 | 1·G1 + 1·G2 + 0.3·Q + 0.2·W2",
        "MSP-K 1 | sls-qp | 6.16b | 1·G1 + 1·G2 + 0.3·Q",
    };
    std::vector<std::string> want = uls610;
    want.insert(want.end(), sls.begin(), sls.end());
    EXPECT_EQ(Table(GenerujKombinace(c.List(), {})), want);

    // 6.10a once per wind choice, 6.10b with every case leading and ξ·γG,sup = 1.1475.
    TGenerationOptions split;
    split.Split610 = true;
    split.Serviceability = false;
    want = {
        "MSÚ 1 | uls | 6.10a | 1.35·G1 + 1.35·G2 + 1.05·Q + 0.75·S + 0.9·T + 0.9·W1",
        "MSÚ 2 | uls | 6.10a | 1.35·G1 + 1.35·G2 + 1.05·Q + 0.75·S + 0.9·T + 0.9·W2",
    };
    for (std::size_t i = 0; i < uls610.size(); ++i) {
        std::string row = uls610[i];
        row.replace(0, row.find(" |"), "MSÚ " + std::to_string(i + 3));
        row.replace(row.find("6.10,"), 5, "6.10b,");
        for (std::size_t p; (p = row.find("1.35·")) != std::string::npos;) row.replace(p, std::string("1.35·").size(), "1.1475·");
        want.push_back(row);
    }
    EXPECT_EQ(Table(GenerujKombinace(c.List(), split)), want);

    // An accidental case: 6.11 with every variable case leading at ψ1, the others at ψ2; a
    // permanent case taken with both values doubles the ultimate combinations; user names are
    // skipped.
    c.g2.BothValues = true;
    std::vector<TZatezovaciStav*> list = {&c.g1, &c.g2, &c.q, &c.a};
    TGenerationOptions accidental;
    accidental.Serviceability = false;
    EXPECT_EQ(Table(GenerujKombinace(list, accidental, {"MSÚ 2"})),
              (std::vector<std::string>{
                  "MSÚ 1 | uls | 6.10, hlavní Q | 1.35·G1 + 1.35·G2 + 1.5·Q",
                  "MSÚ 3 | uls | 6.10, hlavní Q | 1.35·G1 + 1·G2 + 1.5·Q",
                  "MIM 1 | acc | 6.11, mimořádný A, hlavní Q | 1·G1 + 1·G2 + 0.5·Q + 1·A",
              }));
}

TEST(En1990, RecommendedPsiValues) {
    const struct {
        TCaseCategory Category;
        TPsi Want;
    } rows[] = {
        {TCaseCategory::A, {0.7L, 0.5L, 0.3L}},     {TCaseCategory::B, {0.7L, 0.5L, 0.3L}},
        {TCaseCategory::C, {0.7L, 0.7L, 0.6L}},     {TCaseCategory::D, {0.7L, 0.7L, 0.6L}},
        {TCaseCategory::E, {1.0L, 0.9L, 0.8L}},     {TCaseCategory::F, {0.7L, 0.7L, 0.6L}},
        {TCaseCategory::G, {0.7L, 0.5L, 0.3L}},     {TCaseCategory::H, {0, 0, 0}},
        {TCaseCategory::SnowNordic, {0.7L, 0.5L, 0.2L}}, {TCaseCategory::SnowHigh, {0.7L, 0.5L, 0.2L}},
        {TCaseCategory::SnowLow, {0.5L, 0.2L, 0}},  {TCaseCategory::Wind, {0.6L, 0.2L, 0}},
        {TCaseCategory::Temperature, {0.6L, 0.5L, 0}},
    };
    for (const auto& r : rows) {
        const TPsi p = Psi(r.Category);
        EXPECT_EQ(p.Psi0, r.Want.Psi0) << CategoryCode(r.Category);
        EXPECT_EQ(p.Psi1, r.Want.Psi1) << CategoryCode(r.Category);
        EXPECT_EQ(p.Psi2, r.Want.Psi2) << CategoryCode(r.Category);
        TCaseCategory back;
        EXPECT_TRUE(CategoryFromCode(CategoryCode(r.Category), back) && back == r.Category);
    }
}

// Generated factors are the decimals they stand for, so a project file writes them as such
// (0.9, not the 80-bit product 0.6 · 1.5 = 0.90000000000000000003).
TEST(En1990, FactorsAreTheirDecimals) {
    TCases c;
    std::vector<TZatezovaciStav*> cases = c.List();
    cases.push_back(&c.a);
    c.g1.BothValues = true;
    for (bool split : {false, true}) {
        TGenerationOptions options;
        options.Split610 = split;
        for (const auto& k : GenerujKombinace(cases, options))
            for (const TCombinationTerm& t : k->Terms)
                EXPECT_LE(FormatRoundTrip(t.Factor, '.').size(), 6u) << k->Name << " " << FormatRoundTrip(t.Factor, '.');
    }
}
