#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "base/NumberText.h"
#include "units/Prevody.h"

namespace {
std::string With(std::string text, char sep) {
    for (char& c : text)
        if (c == '.') c = sep;
    return text;
}

// |a - b| <= tol in extended precision (EXPECT_NEAR would compare doubles).
::testing::AssertionResult Near(TReal a, TReal b, TReal tol) {
    if (std::fabs(a - b) <= tol) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << FormatGeneral(a, 18, '.') << " differs from " << FormatGeneral(b, 18, '.') << " by more than "
           << FormatGeneral(tol, 3, '.');
}

// Restores the system-separator seam after a test that sets it.
class TSystemSeparatorGuard {
public:
    TSystemSeparatorGuard() : mSaved(SystemDecimalSeparator()) {}
    ~TSystemSeparatorGuard() { SetSystemDecimalSeparator(mSaved); }

private:
    std::string mSaved;
};

struct TConversionRow {
    const char* Name;
    TReal (*Convert)(TReal);
    TReal X;
    const char* Exact; // the exact decimal value of the formula
};

// Exact values from 34-digit decimal arithmetic; 1 lb of force = 0.45359237 kg × 9.80665 m/s² =
// 4.4482216152605 N, 1 ft = 0.3048 m.
const TConversionRow kConversions[] = {
    {"KNNaLb", KNNaLb, 1, "224.8089430997104829100394134031775"},
    {"LbNaKN", LbNaKN, 1, "0.0044482216152605"},
    {"KNmNaLbFt", KNmNaLbFt, 1, "737.5621492772653638780820649710547"},
    {"LbFtNaKNm", LbFtNaKNm, 1, "0.0013558179483314004"},
    {"KNPerMNaLbPerFt", KNPerMNaLbPerFt, 1, "68.52176585679175519098001320528849"},
    {"LbPerFtNaKNPerM", LbPerFtNaKNPerM, 1, "0.01459390293720636482939632545931759"},
    {"MPaNaPsi", MPaNaPsi, 1, "145.0377377302092151542410279511940"},
    {"PsiNaMPa", PsiNaMPa, 1, "0.006894757293168361336722673445346891"},
    {"KgM3NaLbFt3", KgM3NaLbFt3, 1000, "62.42796057614461195632545582722214"},
    {"LbFt3NaKgM3", LbFt3NaKgM3, 1, "16.01846337396013957965507065455659"},
    {"In2NaM2", In2NaM2, 1, "0.00064516"},
    {"M2NaIn2", M2NaIn2, 1, "1550.003100006200012400024800049600"},
    {"In4NaM4", In4NaM4, 1, "0.0000004162314256"},
    {"M4NaIn4", M4NaIn4, 1, "2402509.610028830076880192200461281"},
    {"M2NaFt2", M2NaFt2, 1, "10.76391041670972230833350555590000"},
    {"MmNaIn", MmNaIn, 1000, "39.37007874015748031496062992125984"},
    {"KNNaLb", KNNaLb, -2.5L, "-562.0223577492762072750985335079437"},
    {"MmNaIn", MmNaIn, 25.4L, "1"},
};
} // namespace

TEST(Prevody, ConversionsAgreeWithExactValues) {
    for (const auto& row : kConversions) {
        TReal exact = StrToFloat(row.Exact, '.');
        TReal got = row.Convert(row.X);
        // A few steps of extended rounding: within 1e-18 relative (about ten units of the last bit).
        EXPECT_TRUE(Near(got, exact, std::fabs(exact) * 1e-18L))
            << row.Name << "(" << FloatToStr(row.X, '.') << ")";
    }
    // The digits the displays show: E of steel, 210000 MPa, is 3,05E+07 psi; 10 kN/m about 685 lb/ft.
    EXPECT_EQ(FormatGeneral(KNNaLb(1), 16, '.'), "224.8089430997105");
    EXPECT_EQ(FormatGeneral(KNmNaLbFt(1), 16, '.'), "737.5621492772654");
    EXPECT_EQ(FormatGeneral(MPaNaPsi(1), 16, '.'), "145.0377377302092");
    EXPECT_EQ(FormatExponent(MPaNaPsi(210000), 3, 2, ','), "3,05E+07");
    EXPECT_EQ(FormatFixed(KNPerMNaLbPerFt(10), 12, 3, ','), "685,218");
    EXPECT_EQ(FormatGeneral(KgM3NaLbFt3(1000), 14, '.'), "62.427960576145");
    EXPECT_EQ(MPaNaPsi(0), 0);
    EXPECT_EQ(M4NaIn4(0), 0);
}

TEST(Prevody, ConversionPairsAreInverse) {
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<TReal> dist(-1e6L, 1e6L);
    for (int i = 0; i < 2000; ++i) {
        TReal x = dist(rng);
        TReal tol = std::fabs(x) * 1e-17L;
        EXPECT_TRUE(Near(PsiNaMPa(MPaNaPsi(x)), x, tol));
        EXPECT_TRUE(Near(LbNaKN(KNNaLb(x)), x, tol));
        EXPECT_TRUE(Near(LbFtNaKNm(KNmNaLbFt(x)), x, tol));
        EXPECT_TRUE(Near(LbPerFtNaKNPerM(KNPerMNaLbPerFt(x)), x, tol));
        EXPECT_TRUE(Near(LbFt3NaKgM3(KgM3NaLbFt3(x)), x, tol));
        EXPECT_TRUE(Near(In2NaM2(M2NaIn2(x)), x, tol));
        EXPECT_TRUE(Near(In4NaM4(M4NaIn4(x)), x, tol));
        // 1 ft² = 144 in²; 1 kNm = (1 kN in lb) × (1 m in ft).
        EXPECT_TRUE(Near(M2NaIn2(x), M2NaFt2(x) * 144, tol * 1e3L));
        EXPECT_TRUE(Near(KNmNaLbFt(x), KNNaLb(x) / 0.3048L, tol * 1e3L));
        EXPECT_TRUE(Near(KNPerMNaLbPerFt(x), KNNaLb(x) * 0.3048L, tol * 1e3L));
    }
}

TEST(Prevody, MetryNaFtInTable) {
    struct {
        TReal Metres;
        const char* Text;
    } rows[] = {
        {1.6002L, "5'-3.000''"},   {-1.6002L, "-5'-3.000''"}, {0.0254L, "0'-1.000''"},
        {0.3048L, "1'-0.000''"},   {0, "0'-0.000''"},         {0.3047L, "0'-11.996''"},
        {1.524L, "5'-0.000''"},    {30.48L, "100'-0.000''"},  {-0.0127L, "-0'-0.500''"},
        {0.30479L, "0'-12.000''"}, // the inches round up to 12 rather than carrying into the feet
    };
    for (char sep : {',', '.'})
        for (const auto& row : rows)
            EXPECT_EQ(MetryNaFtIn(row.Metres, sep), With(row.Text, sep)) << FloatToStr(row.Metres, '.');
}

TEST(Prevody, FtInNaMetryTable) {
    struct {
        const char* Text;
        TReal Metres;
    } rows[] = {
        {"5'-3''", 1.6002L},   {"5'3", 1.6002L},     {"5'3''", 1.6002L},
        {"-5'-3''", -1.6002L}, {"-5'3", -1.6002L},   {"5'", 1.524L},
        {"63", 1.6002L},       {"-63", -1.6002L},    {"0'-1.000''", 0.0254L},
        {"5'-3.5''", 1.6129L}, {" 5 ' 3 ", 1.6002L}, {"1.5'", 0.4572L},
        {"-0'-6''", -0.1524L}, {"abc", 0.3048L},     {"", 0.3048L},
        {"5'abc", 0.3048L},    {"x'3", 0.3048L},     {"'3", 0.3048L},
        {"-", 0.3048L},        {"5''3", 1.3462L}, // the inch mark goes first: 53 inches
    };
    for (char sep : {',', '.'})
        for (const auto& row : rows) {
            std::string text = With(row.Text, sep);
            EXPECT_TRUE(Near(FtInNaMetry(text, sep), row.Metres, 1e-15L)) << text;
        }
    // Numbers use the separator given: a point does not convert under a comma.
    EXPECT_EQ(FtInNaMetry("5'-3.5''", ','), 0.3048L);
    EXPECT_EQ(FtInNaMetry("3.5", ','), 0.3048L);
    EXPECT_TRUE(Near(FtInNaMetry("3,5", ','), 3.5L * 0.0254L, 1e-18L));
}

TEST(Prevody, FeetInchTextsReadBack) {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<TReal> dist(-500.0L, 500.0L);
    // Half a unit of the third inch decimal, in metres, plus room for the extended rounding.
    const TReal tolerance = 0.0005L * 0.0254L * (1 + 1e-9L);
    for (char sep : {',', '.'})
        for (int i = 0; i < 5000; ++i) {
            TReal x = i % 10 == 0 ? dist(rng) / 1000 : dist(rng);
            std::string text = MetryNaFtIn(x, sep);
            TReal back = FtInNaMetry(text, sep);
            ASSERT_TRUE(Near(back, x, tolerance)) << text;
            if (x < -tolerance) {
                EXPECT_LT(back, 0) << text;
            }
        }
}

// A length typed in feet and inches comes back exactly, with the usual three decimals; any other
// within 1e-17 of itself.
TEST(Prevody, ExactFeetInchTextsReadBackToTheSameValue) {
    std::mt19937_64 rng(5);
    std::uniform_int_distribution<int> thousandths(-3000000, 3000000);
    for (char sep : {',', '.'})
        for (int i = 0; i < 2000; ++i) {
            const int t = thousandths(rng), a = std::abs(t); // thousandths of an inch
            const std::string typed = With(std::string(t < 0 ? "-" : "") + std::to_string(a / 12000) + "'-" +
                                               FormatFixed((a % 12000) / 1000.0L, 18, 3, '.') + "''",
                                           sep);
            const TReal x = FtInNaMetry(typed, sep);
            const std::string text = MetryNaFtInPresne(x, sep);
            EXPECT_EQ(text, MetryNaFtIn(x, sep)) << typed;
            EXPECT_EQ(FtInNaMetry(text, sep), x) << typed;
            const TReal y = x / 3;
            EXPECT_TRUE(Near(FtInNaMetry(MetryNaFtInPresne(y, sep), sep), y, std::fabs(y) * 1e-17L));
        }
}

TEST(Prevody, DefaultSeparatorIsTheProgramOne) {
    char saved = DecimalSeparator();
    SetDecimalSeparator(',');
    EXPECT_EQ(MetryNaFtIn(0.0127L), "0'-0,500''");
    EXPECT_TRUE(Near(FtInNaMetry("0'-0,5''"), 0.0127L, 1e-18L));
    SetDecimalSeparator('.');
    EXPECT_EQ(MetryNaFtIn(0.0127L), "0'-0.500''");
    SetDecimalSeparator(saved);
}

TEST(Prevody, NormalizujOddelovacFollowsTheSystemSeparator) {
    TSystemSeparatorGuard guard;
    struct {
        const char* System;
        const char* Text;
        const char* Result;
    } rows[] = {
        {",", "1.5E-5", "1,5E-5"}, {",", "1,5", "1,5"}, {",", "1.5 2.5", "1,5 2,5"},
        {".", "1,5E-5", "1.5E-5"}, {".", "1.5", "1.5"}, {".", "-0,25,3", "-0.25.3"},
        {";", "1,5", "1,5"},       {";", "1.5", "1.5"}, {"", "1,5.2", "1,5.2"},
        {",.", "1.5", "1.5"},      {",", "", ""},       {".", "abc", "abc"},
    };
    for (const auto& row : rows) {
        SetSystemDecimalSeparator(row.System);
        EXPECT_EQ(SystemDecimalSeparator(), row.System);
        std::string text = row.Text;
        NormalizujOddelovac(text);
        EXPECT_EQ(text, row.Result) << "system '" << row.System << "', text " << row.Text;
    }
    // The normalised text converts under the matching program separator.
    SetSystemDecimalSeparator(",");
    std::string text = "2.5E3";
    NormalizujOddelovac(text);
    EXPECT_EQ(StrToFloat(text, ','), 2500);
    // The seam keeps at most ten characters, as the system query does.
    SetSystemDecimalSeparator("123456789012");
    EXPECT_EQ(SystemDecimalSeparator(), "1234567890");
}
