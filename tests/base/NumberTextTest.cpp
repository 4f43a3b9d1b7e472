#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "base/Errors.h"
#include "base/NumberText.h"

namespace {
// The expected text written with a point, shown with the separator under test.
std::string With(std::string text, char sep) {
    for (char& c : text)
        if (c == '.') c = sep;
    return text;
}

struct TGeneralRow {
    TReal Value;
    int P;
    const char* Text;
};

struct TModeRow {
    TReal Value;
    int P, D;
    const char* Text;
};

const TGeneralRow kGeneral[] = {
    {0.1L + 0.2L, 15, "0.3"},
    {1.0L / 3.0L, 15, "0.333333333333333"},
    {2.0L / 3.0L, 15, "0.666666666666667"},
    {0.5L, 15, "0.5"},
    {12.0L, 15, "12"},
    {0.0L, 15, "0"},
    {-0.0L, 15, "0"},
    {0.0001L, 15, "0.0001"},
    {0.00001L, 15, "1E-5"},
    {1.5e-5L, 15, "1.5E-5"},
    {-1.5e-5L, 15, "-1.5E-5"},
    {2.5e20L, 15, "2.5E20"},
    {1.35L, 2, "1.4"},
    {-1.35L, 2, "-1.4"},
    {9.999L, 3, "10"},    // the carry makes a new leading digit
    {999.96L, 4, "1000"}, // still four integer digits: fixed form
    {9999.6L, 4, "1E4"},  // the carry makes five integer digits: exponent form
    {999999999999999.0L, 15, "999999999999999"},
    {1e15L, 15, "1E15"},
    {123456789012345678.0L, 15, "1.23456789012346E17"},
    {123456789012345678.0L, 18, "123456789012345678"},
    {0.000123L, 15, "0.000123"},
    {0.0000999996L, 5, "0.0001"}, // rounds up into the fixed range
    {-2.5e-20L, 15, "-2.5E-20"},
    {1e-300L, 15, "1E-300"},
    {1.25e4000L, 15, "1.25E4000"},
    {-273.15L, 15, "-273.15"},
    {100.0L, 1, "1E2"}, // more integer digits than the precision: exponent form
    {150.0L, 1, "2E2"},
    {1234.0L, 2, "1.2E3"},
    {1234.0L, 4, "1234"},
};

const TModeRow kFixed[] = {
    {2.5L, 18, 3, "2.500"},
    {-1.23456L, 18, 3, "-1.235"},
    {0.0005L, 18, 3, "0.001"},
    {-0.0004L, 18, 3, "0.000"},
    {0.0L, 18, 3, "0.000"},
    {1e-10L, 18, 3, "0.000"},
    {9.9996L, 18, 3, "10.000"},
    {12.345L, 3, 2, "12.30"},
    {0.12345L, 3, 2, "0.12"},
    {1234.5L, 3, 2, "1.23E03"},
    {999.7L, 3, 2, "1E03"}, // the carry gives four integer digits
    {1234.5678L, 12, 3, "1234.568"},
    {1234.5678L, 6, 3, "1234.570"},
    {1500000.0L, 6, 3, "1.5E006"},
    {1500000.0L, 6, 4, "1.5E0006"},
    {1500000.0L, 6, 5, "1.5E6"}, // no exponent minimum beyond four digits
    {-1500000.0L, 6, 0, "-1.5E6"},
    {2.5L, 18, 0, "3"},
    {-2.5L, 18, 0, "-3"},
    {0.4L, 18, 0, "0"},
    {123.0L, 18, 2, "123.00"},
    {0.05L, 3, 1, "0.1"},
    {-0.05L, 3, 1, "-0.1"},
    {0.049L, 3, 1, "0.0"},
};

const TModeRow kExponent[] = {
    {210000.0L, 4, 1, "2.100E+5"},
    {210000.0L, 3, 2, "2.10E+05"},
    {0.0L, 4, 1, "0.000E+0"},
    {-0.0L, 4, 1, "0.000E+0"},
    {0.0L, 3, 3, "0.00E+000"},
    {-0.00123L, 3, 2, "-1.23E-03"},
    {9.9996L, 4, 1, "1.000E+1"},
    {1.0L, 5, 4, "1.0000E+0000"},
    {1e-100L, 5, 6, "1.0000E-100"},
    {7.0L, 1, 1, "7E+0"},
    {12345.0L, 18, 1, "1.23450000000000000E+4"},
};

class NumberTextBySeparator : public ::testing::TestWithParam<char> {};
} // namespace

TEST_P(NumberTextBySeparator, GeneralTable) {
    char sep = GetParam();
    for (const auto& row : kGeneral)
        EXPECT_EQ(FormatGeneral(row.Value, row.P, sep), With(row.Text, sep))
            << "general(" << row.P << ") of " << row.Text;
}

TEST_P(NumberTextBySeparator, FixedTable) {
    char sep = GetParam();
    for (const auto& row : kFixed)
        EXPECT_EQ(FormatFixed(row.Value, row.P, row.D, sep), With(row.Text, sep))
            << "fixed(" << row.P << ", " << row.D << ") expected " << row.Text;
}

TEST_P(NumberTextBySeparator, ExponentTable) {
    char sep = GetParam();
    for (const auto& row : kExponent)
        EXPECT_EQ(FormatExponent(row.Value, row.P, row.D, sep), With(row.Text, sep))
            << "exponent(" << row.P << ", " << row.D << ") expected " << row.Text;
}

TEST_P(NumberTextBySeparator, ShorthandsAndAppend) {
    char sep = GetParam();
    EXPECT_EQ(FloatToStr(0.1L + 0.2L, sep), With("0.3", sep));
    EXPECT_EQ(Fixed3(-1.23456L, sep), With("-1.235", sep));
    EXPECT_EQ(Fixed2(12.345L, sep), With("12.30", sep));
    std::string out = "x=";
    AppendGeneral(out, 1.5e-5L, 15, sep);
    out += ';';
    AppendGeneral(out, 0.0L, 15, sep);
    EXPECT_EQ(out, With("x=1.5E-5;0", sep));
}

// The project writer's text: general(15) wherever that reads back, else as many digits as it takes.
TEST_P(NumberTextBySeparator, RoundTripTextsReadBackAsTheirValue) {
    const char sep = GetParam();
    const struct {
        TReal Value;
        const char* Text;
    } rows[] = {
        {0.5L, "0.5"},
        {-1.5e-5L, "-1.5E-5"},
        {2.5e20L, "2.5E20"},
        {-0.0L, "0"},
        {1e15L, "1E15"},
        {1e15L + 6.7L, "1000000000000006.7"},
        {1e17L + 0.3L, "100000000000000000.3"},
        {1e17L + 6.7L, "100000000000000006.7"},
        {1.0L / 3, "0.33333333333333333334"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FormatRoundTrip(row.Value, sep), With(row.Text, sep));
    std::mt19937_64 rng(sep);
    for (int i = 0; i < 30000; ++i) {
        // Full 64-bit mantissas over the whole range (subnormals too), and 15-digit decimals.
        const bool decimal = i % 3 == 0;
        const TReal v = decimal ? StrToFloat(std::to_string(rng() % 1000000000000000ULL) + "E" +
                                                 std::to_string(int(rng() % 80) - 40),
                                             '.')
                                : std::ldexp(TReal(rng() | 1ULL << 63), int(rng() % 32820) - 16500) *
                                      (rng() % 2 ? 1 : -1);
        const std::string text = FormatRoundTrip(v, sep);
        TReal back = 0;
        // Beyond the range of a double a value reads as refused, whatever its digits.
        if (!(std::fabs(v) <= TReal(std::numeric_limits<double>::max()))) {
            ASSERT_FALSE(TryStrToFloat(text, back, sep)) << text;
            continue;
        }
        back = StrToFloat(text, sep);
        ASSERT_TRUE(back == v) << text;
        const std::string general = FormatGeneral(v, 15, sep);
        if (decimal || StrToFloat(general, sep) == v) ASSERT_EQ(text, general);
    }
}

TEST_P(NumberTextBySeparator, ReadsValidTexts) {
    char sep = GetParam();
    struct {
        const char* Text;
        TReal Value;
    } rows[] = {
        {"1.5", 1.5L},
        {" 1.5 ", 1.5L},
        {"\t-2.25\t", -2.25L},
        {"+3", 3.0L},
        {"1.5E-5", 1.5e-5L},
        {"1.5e+5", 1.5e5L},
        {"2E3", 2000.0L},
        {".5", 0.5L},
        {"5.", 5.0L},
        {"-0", -0.0L},
        {"0.1", 0.1L},
        {"007", 7.0L},
        {"123456789012345678901234567890", 123456789012345678901234567890.0L},
        {"1e-5000", 0.0L}, // below every extended value: the nearest one is zero
        {"-1.7976931348623157e308", -1.7976931348623157e308L}, // the largest double
    };
    for (const auto& row : rows) {
        std::string text = With(row.Text, sep);
        TReal v = 99.0L;
        ASSERT_TRUE(TryStrToFloat(text, v, sep)) << text;
        EXPECT_EQ(v, row.Value) << text;
        EXPECT_EQ(StrToFloat(text, sep), row.Value) << text;
    }
    // Below the normal range the nearest extended value is a subnormal, not zero.
    TReal tiny = StrToFloat(With("3.5e-4940", sep), sep);
    EXPECT_GT(tiny, 0.0L);
    EXPECT_LT(tiny, std::numeric_limits<TReal>::min());
}

TEST_P(NumberTextBySeparator, RejectsInvalidTexts) {
    char sep = GetParam();
    char other = sep == ',' ? '.' : ',';
    const std::string rows[] = {"",       " ",      "abc",   std::string("1") + other + "5",
                                "1.5.",   "1..5",   "1.2.3", "1e",
                                "1e+",    "e5",     "--1",   "+-1",
                                "1 5",    "0x10",   "inf",   "nan",
                                "1e5000", ".",      "-",     "1.5x",
                                "1 000",  "1.5 e5", "1e5.0", "\n1",
                                "1e4000", "-2e308"}; // beyond the range of a double
    for (std::string text : rows) {
        if (text.find(other) == std::string::npos) text = With(text, sep);
        TReal v = 42.0L;
        EXPECT_FALSE(TryStrToFloat(text, v, sep)) << "'" << text << "'";
        EXPECT_EQ(v, 42.0L) << "a failed reading leaves the value alone";
        try {
            StrToFloat(text, sep);
            ADD_FAILURE() << "no error for '" << text << "'";
        } catch (const TNumberError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid floating point value");
            EXPECT_EQ(e.Text(), text);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothSeparators, NumberTextBySeparator, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "Comma" : "Point"; });

TEST(NumberText, NonFiniteValues) {
    TReal inf = std::numeric_limits<TReal>::infinity();
    EXPECT_EQ(FormatGeneral(inf, 15, '.'), "INF");
    EXPECT_EQ(FormatGeneral(-inf, 15, '.'), "-INF");
    EXPECT_EQ(FormatFixed(std::numeric_limits<TReal>::quiet_NaN(), 18, 3, '.'), "NAN");
    EXPECT_EQ(FormatExponent(-inf, 4, 1, '.'), "-INF");
}

TEST(NumberText, DefaultsFollowTheProgramSeparator) {
    char saved = DecimalSeparator();
    SetDecimalSeparator(',');
    EXPECT_EQ(FloatToStr(2.5L), "2,5");
    EXPECT_EQ(Fixed3(2.5L), "2,500");
    EXPECT_EQ(StrToFloat("1,5"), 1.5L);
    EXPECT_THROW(StrToFloat("1.5"), TNumberError);
    SetDecimalSeparator('.');
    EXPECT_EQ(FloatToStr(2.5L), "2.5");
    EXPECT_EQ(StrToFloat("1.5"), 1.5L);
    SetDecimalSeparator(saved);
}

TEST(NumberText, IndependentOfTheCLocale) {
    std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "cs_CZ.UTF-8")) GTEST_SKIP() << "cs_CZ.UTF-8 is not installed";
    EXPECT_EQ(FormatGeneral(1.5e-5L, 15, '.'), "1.5E-5");
    EXPECT_EQ(FormatGeneral(1234.5678L, 15, '.'), "1234.5678");
    EXPECT_EQ(FormatFixed(1.0L / 3.0L, 18, 3, '.'), "0.333");
    EXPECT_EQ(FormatExponent(210000.0L, 4, 1, '.'), "2.100E+5");
    EXPECT_EQ(FormatGeneral(std::ldexp(1.0L, -80), 15, '.'), "8.27180612553028E-25"); // general path
    EXPECT_EQ(StrToFloat(" 1.5 ", '.'), 1.5L);
    EXPECT_EQ(StrToFloat("1,5", ','), 1.5L);
    EXPECT_EQ(StrToFloat("3.5e-4940", '.'), StrToFloat("3,5e-4940", ','));
    EXPECT_THROW(StrToFloat("1,5", '.'), TNumberError);
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(NumberText, DigitsAreThe18CorrectlyRoundedOnes) {
    // exponent(18, 1) shows all 18 digits of step 1; they must be those of the correctly rounded
    // conversion, over the exact integer range and beyond it (huge, tiny, subnormal values).
    std::mt19937_64 rng(20261209);
    for (int i = 0; i < 40000; ++i) {
        TReal v;
        switch (i % 4) {
        case 0:
            v = std::uniform_real_distribution<TReal>(-1e6L, 1e6L)(rng);
            break;
        case 1:
            v = std::ldexp(std::uniform_real_distribution<TReal>(0.5L, 1.0L)(rng), int(rng() % 240) - 120);
            break;
        case 2:
            v = std::ldexp(std::uniform_real_distribution<TReal>(0.5L, 1.0L)(rng),
                           int(rng() % 32000) - 16000);
            break;
        default:
            v = static_cast<TReal>(rng() % 10000000000000000000ULL);
            break;
        }
        char buf[64];
        auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 17);
        std::string ref(buf, r.ptr);
        std::string mantissa = ref.substr(0, ref.find('e'));
        int exp10 = std::atoi(ref.c_str() + ref.find('e') + 1);
        std::string expected = mantissa + "E" + (exp10 < 0 ? "-" : "+") + std::to_string(std::abs(exp10));
        ASSERT_EQ(FormatExponent(v, 18, 1, '.'), expected) << ref;
    }
    // A value exactly halfway between two 18-digit texts takes the even one.
    EXPECT_EQ(FormatGeneral(1234567890123456785.0L, 18, '.'), "1.23456789012345678E18");
    EXPECT_EQ(FormatGeneral(1234567890123456775.0L, 18, '.'), "1.23456789012345678E18");
}

TEST(NumberText, General15ReadsBackWithin15Digits) {
    std::mt19937_64 rng(7);
    for (char sep : {',', '.'})
        for (int i = 0; i < 20000; ++i) {
            TReal mantissa = std::uniform_real_distribution<TReal>(-10.0L, 10.0L)(rng);
            TReal v = mantissa * std::pow(10.0L, static_cast<TReal>(static_cast<int>(rng() % 60) - 30));
            std::string text = FormatGeneral(v, 15, sep);
            TReal back = StrToFloat(text, sep);
            // 15 significant digits: the error is at most half a unit of the 15th digit (plus the
            // rounding to 18 digits before it).
            TReal bound = std::fabs(v) * 5.001e-15L;
            ASSERT_LE(std::fabs(back - v), bound) << text;
            EXPECT_EQ(FormatGeneral(back, 15, sep), text) << "the text is stable";
        }
}

TEST(NumberText, ReadsIntegers) {
    struct {
        const char* Text;
        int Value;
    } valid[] = {{"12", 12},
                 {" -7 ", -7},
                 {"+3", 3},
                 {"0", 0},
                 {"2147483647", 2147483647},
                 {"-2147483648", -2147483647 - 1},
                 {"007", 7}};
    for (const auto& row : valid) {
        int v = 99;
        ASSERT_TRUE(TryStrToInt(row.Text, v)) << row.Text;
        EXPECT_EQ(v, row.Value);
        EXPECT_EQ(StrToInt(row.Text), row.Value);
    }
    const char* invalid[] = {"",    " ",   "2147483648", "-2147483649", "99999999999999999999",
                             "1.0", "1,0", "abc",        "1e3",         "-",
                             "+",   "1 2", "0x10",       "--1"};
    for (const char* text : invalid) {
        int v = 5;
        EXPECT_FALSE(TryStrToInt(text, v)) << text;
        EXPECT_EQ(v, 5);
        try {
            StrToInt(text);
            ADD_FAILURE() << "no error for '" << text << "'";
        } catch (const TNumberError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + text + "' is not a valid integer value");
        }
    }
}

TEST(NumberText, FixedAndGeneralTextsHaveTheirShape) {
    std::mt19937_64 rng(99);
    for (int i = 0; i < 20000; ++i) {
        TReal v = std::uniform_real_distribution<TReal>(-1.0L, 1.0L)(rng) *
                  std::pow(10.0L, static_cast<TReal>(static_cast<int>(rng() % 12) - 5));
        int p = 1 + static_cast<int>(rng() % 18);
        int d = static_cast<int>(rng() % 6);
        // fixed(18, d) of values below 10^7: exactly d decimals, within half a unit of the last one.
        std::string fixed = FormatFixed(v, 18, d, ',');
        std::size_t comma = fixed.find(',');
        if (d == 0) {
            ASSERT_EQ(comma, std::string::npos) << fixed;
        } else {
            ASSERT_EQ(fixed.size() - comma - 1, static_cast<std::size_t>(d)) << fixed;
        }
        TReal unit = std::pow(10.0L, static_cast<TReal>(-d));
        // Half a unit of the last decimal, plus half a unit of the 18th digit rounded before it.
        TReal digit18 = std::pow(10.0L, std::floor(std::log10(std::fabs(v))) + 1 - 18);
        ASSERT_LE(std::fabs(StrToFloat(fixed, ',') - v), (unit + digit18) / 2 * (1 + 1e-9L)) << fixed;
        ASSERT_NE(fixed, "-0" + std::string(d ? "," : "") + std::string(static_cast<std::size_t>(d), '0'));
        // general(p): at most p significant digits, within half a unit of the p-th of them (and of
        // the 18th, as above).
        std::string general = FormatGeneral(v, p, ',');
        std::string mantissa = general.substr(0, general.find('E'));
        std::size_t first = mantissa.find_first_of("123456789");
        std::size_t significant = 0;
        if (first != std::string::npos)
            for (std::size_t k = first; k < mantissa.size(); ++k)
                significant += mantissa[k] >= '0' && mantissa[k] <= '9';
        ASSERT_LE(significant, static_cast<std::size_t>(p)) << general;
        TReal digitUnit = std::pow(10.0L, std::floor(std::log10(std::fabs(v))) + 1 - p);
        ASSERT_LE(std::fabs(StrToFloat(general, ',') - v), (digitUnit + digit18) / 2 * (1 + 1e-9L))
            << general;
    }
}
