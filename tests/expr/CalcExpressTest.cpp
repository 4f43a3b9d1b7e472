#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "base/NumberText.h"
#include "expr/CalcExpress.h"
#include "model/UserDialogs.h"

namespace {
using TKind = TCalcErrorKind;

// One row of the grammar table. In the formula, '#' stands for the decimal separator under test
// and '@' for the other one. Variables x and y take the values 2 and 3.
struct TRow {
    const char* Formula;
    enum { Value, Syntax, Eval } Outcome;
    TReal Expected = 0.0L;
    TKind Error = TKind::DivisionByZero;
};

TRow V(const char* f, TReal v) {
    return {f, TRow::Value, v};
}
TRow S(const char* f) {
    return {f, TRow::Syntax};
}
TRow E(const char* f, TKind k) {
    return {f, TRow::Eval, 0.0L, k};
}

const TReal X = 2.0L, Y = 3.0L;

const std::vector<TRow> KRows = {
    // arithmetic, precedence and associativity
    V("x/2", 1.0L),
    V("1+2*3", 7.0L),
    V("(1+2)*3", 9.0L),
    V("8/4/2", 1.0L),
    V("8-4-2", 2.0L),
    V("2*3/4", 1.5L),
    V("1 - 2 + 3", 2.0L),
    V("   x   ", 2.0L),
    V("X*Y", 6.0L),
    V("SIN(X)", std::sin(2.0L)),
    // the sign of a term and the negative-number token
    V("-2^2", 4.0L),
    V("-x^2", -4.0L),
    V("- 2^2", -4.0L),
    V("-x*y", -6.0L),
    V("-x+y", 1.0L),
    V("+x", 2.0L),
    V("(-x)", -2.0L),
    V("(+3)*2", 6.0L),
    V("2*(-3)", -6.0L),
    V("-(-x)", 2.0L),
    V("sin(-x)", std::sin(-2.0L)),
    V("1-2", -1.0L),
    V("x-2", 0.0L),
    S("2*-3"),
    S("2/-3"),
    S("1+-2"),
    S("1-+2"),
    S("--x"),
    S("x*+y"),
    // powers and their restricted exponent
    V("2^3^2", 64.0L),
    V("x^2^3", 64.0L),
    V("x^(2)", 4.0L),
    V("x^(y)", 8.0L),
    V("x^(-2)", 0.25L),
    V("x^y", 8.0L),
    V("2*x^2", 8.0L),
    V("(x+1)^2", 9.0L),
    V("sin(x)^2", std::sin(2.0L) * std::sin(2.0L)),
    V("x^0", 1.0L),
    V("0^0", 1.0L),
    V("0^3", 0.0L),
    V("(-2)^3", -8.0L),
    V("(-2)^(-2)", 0.25L),
    V("(-8)^(1)", -8.0L),
    V("4^0#5", 2.0L),
    V("2^10", 1024.0L),
    V("1^2147483647", 1.0L),
    V("(-1)^2147483647", -1.0L),
    V("(-1)^2147483646", 1.0L),
    S("x^(2*y)"),
    S("x^-2"),
    S("x^sin(y)"),
    S("x^(y)^"),
    S("x^(-y)"),
    S("x^((2))"),
    S("x^"),
    S("^2"),
    E("(-8)^(0#5)", TKind::InvalidOperation),
    E("0^(-1)", TKind::DivisionByZero),
    E("0^(-0#5)", TKind::DivisionByZero),
    E("10^5000", TKind::Overflow),
    E("2^2147483648", TKind::Overflow),
    E("10^(-5000)", TKind::Overflow),
    E("(1e-3000)^(-2)", TKind::Overflow),
    V("(1e-3000)^2", 0.0L),
    E("0^(-2)", TKind::DivisionByZero),
    E("(-2)^2147483648", TKind::InvalidOperation),
    // numbers
    V("0#5*x", 1.0L),
    V("1e2", 100.0L),
    V("1E2", 100.0L),
    V("15e-1", 1.5L),
    V("1#5e+1", 15.0L),
    V("007", 7.0L),
    S("0@5*x"),
    S("1#"),
    S("1e"),
    S("1e+"),
    S("1#e2"),
    S("#5"),
    S("2x"),
    S("1 2"),
    E("1e5000", TKind::Overflow),
    // functions
    V("cos(0)", 1.0L),
    V("sin(0)", 0.0L),
    V("sin(1e19)", 0.0L),
    V("cos(-1e19)", 0.0L),
    V("sin(1e18)", std::sin(1e18L)),
    V("tg(1)", std::tan(1.0L)),
    V("ctg(1)", 1.0L / std::tan(1.0L)),
    V("abs(-x)", 2.0L),
    V("sgn(-x)", -1.0L),
    V("sign(0)", 0.0L),
    V("sgn(0#1)", 1.0L),
    V("sqrt(x*8)", 4.0L),
    V("ln(exp(x))", 2.0L),
    V("exp(0)", 1.0L),
    V("arcsin(1)", std::atan2(1.0L, 0.0L)),
    V("arcsin(0#5)", std::atan2(0.5L, std::sqrt(0.75L))),
    V("arccos(0#5)", std::atan2(std::sqrt(0.75L), 0.5L)),
    V("arccos(-1)", std::atan2(0.0L, -1.0L)),
    V("arctg(1)", std::atan(1.0L)),
    V("arcctg(1)", KPi / 2.0L - std::atan(1.0L)),
    V("sh(1)", (std::exp(1.0L) - std::exp(-1.0L)) / 2.0L),
    V("ch(1)", (std::exp(1.0L) + std::exp(-1.0L)) / 2.0L),
    V("th(1)", (std::exp(1.0L) - std::exp(-1.0L)) / (std::exp(1.0L) + std::exp(-1.0L))),
    V("cth(1)", (std::exp(1.0L) + std::exp(-1.0L)) / (std::exp(1.0L) - std::exp(-1.0L))),
    V("h(0)", 1.0L),
    V("heaviside(-0#001)", 0.0L),
    V("HeaviSide(x)", 1.0L),
    V("abs(sin(x))+ch(0)", std::fabs(std::sin(2.0L)) + 1.0L),
    E("ctg(0)", TKind::DivisionByZero),
    E("cth(0)", TKind::DivisionByZero),
    E("sqrt(-1)", TKind::InvalidOperation),
    E("ln(-1)", TKind::InvalidOperation),
    E("ln(0)", TKind::DivisionByZero),
    E("arcsin(1#5)", TKind::InvalidOperation),
    E("arccos(-2)", TKind::InvalidOperation),
    E("exp(20000)", TKind::Overflow),
    E("th(20000)", TKind::Overflow),
    E("x/0", TKind::DivisionByZero),
    E("x/(y-3)", TKind::DivisionByZero),
    E("1e4000*1e4000", TKind::Overflow),
    S("sin x"),
    S("sin"),
    S("sin()"),
    S("h"),
    S("sin(x"),
    // parentheses and stray tokens
    S(""),
    S("   "),
    S("(x"),
    S("x)"),
    S("(x))"),
    S("((x)"),
    S("()"),
    S("x+"),
    S("*x"),
    S("x**2"),
    S("x y"),
    S("x\t+1"),
    S("z"),
    S("x+y+t"),
    S("pi"),
    S("e"),
    S("x=2"),
    S("x!"),
    S("\xc3\xa9"),
};

class CalcGrammar : public ::testing::TestWithParam<char> {};

std::string Substitute(const char* pattern, char sep) {
    std::string s = pattern;
    char other = sep == ',' ? '.' : ',';
    for (char& c : s) {
        if (c == '#')
            c = sep;
        else if (c == '@')
            c = other;
    }
    return s;
}

TEST_P(CalcGrammar, EveryRowOfTheTable) {
    const char sep = GetParam();
    for (const TRow& row : KRows) {
        std::string formula = Substitute(row.Formula, sep);
        SCOPED_TRACE("formula \"" + formula + "\" separator '" + std::string(1, sep) + "'");
        TRecordingDialogs sink;
        TDialogsGuard guard(sink);
        TCalcExpress calc(sep);
        calc.SetVariables({"x", "y"});
        calc.SetFormula(formula);
        if (row.Outcome == TRow::Syntax) {
            EXPECT_FALSE(calc.Valid());
            EXPECT_EQ(sink.Messages, std::vector<std::string>{"Error in formula."});
            try {
                calc.Evaluate({X, Y});
                ADD_FAILURE() << "evaluated a formula that did not parse";
            } catch (const TCalcError& e) {
                EXPECT_EQ(e.Kind(), TKind::NoFormula);
            }
            continue;
        }
        ASSERT_TRUE(calc.Valid());
        EXPECT_TRUE(sink.Messages.empty());
        if (row.Outcome == TRow::Value) {
            // Within a few units of the last place: the compiler may fold the expected library
            // values at compile time more exactly than the run-time functions compute them.
            TReal v = calc.Evaluate({X, Y});
            TReal scale = std::fmax(std::fabs(v), std::fabs(row.Expected));
            EXPECT_LE(std::fabs(v - row.Expected), 4.0L * LDBL_EPSILON * scale)
                << static_cast<double>(v) << " instead of " << static_cast<double>(row.Expected);
        } else {
            try {
                TReal v = calc.Evaluate({X, Y});
                ADD_FAILURE() << "evaluated to " << static_cast<double>(v);
            } catch (const TCalcError& e) {
                EXPECT_EQ(e.Kind(), row.Error) << e.what();
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothSeparators, CalcGrammar, ::testing::Values(',', '.'));
} // namespace

TEST(CalcExpress, StartsWithZeroAndNoVariables) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    TCalcExpress calc('.');
    EXPECT_EQ(calc.Formula(), "0");
    EXPECT_TRUE(calc.Variables().empty());
    EXPECT_EQ(calc.Evaluate({}), 0.0L);
    EXPECT_TRUE(sink.Messages.empty());
}

TEST(CalcExpress, FormulaIsStoredLowerCasedAndVariablesIgnoreCase) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    TCalcExpress calc('.');
    calc.SetVariables({"Alpha_1"});
    calc.SetFormula("SQRT(ALPHA_1)/2");
    EXPECT_EQ(calc.Formula(), "sqrt(alpha_1)/2");
    EXPECT_EQ(calc.Evaluate({16.0L}), 2.0L);
    EXPECT_TRUE(sink.Messages.empty());
}

TEST(CalcExpress, SettingVariablesParsesTheFormulaAgain) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    TCalcExpress calc('.');
    calc.SetFormula("x/2"); // x is no variable yet
    EXPECT_FALSE(calc.Valid());
    calc.SetVariables({"x"});
    EXPECT_TRUE(calc.Valid());
    EXPECT_EQ(calc.Evaluate({3.0L}), 1.5L);
    calc.SetVariables({"y", "x"}); // the index of x moves to 1
    EXPECT_EQ(calc.Evaluate({10.0L, 3.0L}), 1.5L);
    calc.SetVariables({"y"}); // x disappears: the formula no longer parses
    EXPECT_FALSE(calc.Valid());
    EXPECT_EQ(sink.Messages, (std::vector<std::string>{"Error in formula.", "Error in formula."}));
}

TEST(CalcExpress, FewerValuesThanVariablesIsAnError) {
    TCalcExpress calc('.');
    calc.SetVariables({"x", "y"});
    calc.SetFormula("x");
    try {
        calc.Evaluate({1.0L});
        FAIL() << "evaluated without a value of y";
    } catch (const TCalcError& e) {
        EXPECT_EQ(e.Kind(), TKind::MissingValue);
    }
}

TEST(CalcExpress, NonFiniteValuesAreRefused) {
    TCalcExpress calc('.');
    calc.SetVariables({"x"});
    calc.SetFormula("x*0");
    for (TReal v : {INFINITY, -INFINITY, NAN}) {
        EXPECT_THROW(calc.Evaluate({static_cast<TReal>(v)}), TCalcError);
    }
}

TEST(CalcExpress, ChangingTheSeparatorParsesAgain) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    TCalcExpress calc(',');
    calc.SetFormula("0,25*4");
    EXPECT_EQ(calc.Evaluate({}), 1.0L);
    calc.SetSeparator('.');
    EXPECT_FALSE(calc.Valid());
    calc.SetFormula("0.25*4");
    EXPECT_EQ(calc.Evaluate({}), 1.0L);
    EXPECT_EQ(sink.Messages.size(), 1u);
}

TEST(CalcExpress, DeepNestingIsRefusedWithoutCrashing) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    TCalcExpress calc('.');
    std::string ok =
        std::string(TCalcExpress::KMaxDepth, '(') + "1" + std::string(TCalcExpress::KMaxDepth, ')');
    calc.SetFormula(ok);
    EXPECT_EQ(calc.Evaluate({}), 1.0L);
    calc.SetFormula(std::string(100000, '(') + "1" + std::string(100000, ')'));
    EXPECT_FALSE(calc.Valid());
    calc.SetFormula(std::string(100000, '('));
    EXPECT_FALSE(calc.Valid());
    EXPECT_EQ(sink.Messages.size(), 2u);
}

TEST(CalcExpress, LongChainsEvaluateWithoutRecursion) {
    TCalcExpress calc('.');
    calc.SetVariables({"x"});
    std::string f = "x";
    for (int i = 0; i < 200000; ++i)
        f += "+x";
    calc.SetFormula(f);
    ASSERT_TRUE(calc.Valid());
    EXPECT_EQ(calc.Evaluate({0.5L}), 100000.5L);
}

TEST(CalcExpress, ProgramSeparatorIsTakenAtParseTime) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    char saved = DecimalSeparator();
    SetDecimalSeparator(',');
    TCalcExpress calc;
    calc.SetFormula("1,5");
    EXPECT_EQ(calc.Evaluate({}), 1.5L);
    SetDecimalSeparator('.');
    calc.SetFormula("1,5");
    EXPECT_FALSE(calc.Valid());
    SetDecimalSeparator(saved);
}

TEST(CalcExpress, BatchEvaluationGivesTheValuesOfSingleEvaluationsToTheBit) {
    // Formulas over every kind of step, at values spread over a few ranges; a batch either gives
    // every value of the single evaluations bit for bit or throws when one of them does.
    const std::vector<const char*> formulas = {
        "x",         "2,5",        "x/2",          "sqrt(100-(x-5)^2)", "0,3*sin(x)+x^2/20",
        "-x^3+x^(-2)", "x^(0,5)",    "cos(x)*tg(x)", "ctg(x)+abs(x)",     "sgn(x)*ln(abs(x)+1)",
        "exp(-x)",   "arcsin(x/9)", "arccos(x/9)", "arctg(x)-arcctg(x)", "sh(x)+ch(x)-th(x)*cth(x)",
        "h(x-1)",    "(x+1)*(x-1)/(x*x-1)", "1/(x-2)", "sqrt(x)", "x^x",
    };
    std::vector<TReal> xs;
    for (int i = 0; i < 200; ++i)
        xs.push_back(-7.0L + i * 0.0731L);
    xs.push_back(2.0L);
    xs.push_back(0.0L);
    for (const char* formula : formulas) {
        SCOPED_TRACE(formula);
        TRecordingDialogs sink;
        TDialogsGuard guard(sink);
        TCalcExpress calc(',');
        calc.SetVariables({"x"});
        calc.SetFormula(formula);
        ASSERT_TRUE(sink.Messages.empty());
        // Windows of the values, so that some batches fail and others do not.
        for (std::size_t from = 0; from < xs.size(); from += 37) {
            const std::size_t n = std::min<std::size_t>(53, xs.size() - from);
            std::vector<TReal> single(n);
            bool singleFails = false;
            for (std::size_t i = 0; i < n; ++i) {
                try {
                    single[i] = calc.Evaluate({xs[from + i]});
                } catch (const TCalcError&) {
                    singleFails = true;
                }
            }
            std::vector<TReal> batch(n, -1.0L);
            bool batchFails = false;
            try {
                calc.EvaluateBatch({xs.data() + from, n}, batch);
            } catch (const TCalcError&) {
                batchFails = true;
            }
            ASSERT_EQ(batchFails, singleFails) << "values from " << from;
            if (batchFails) continue;
            for (std::size_t i = 0; i < n; ++i)
                EXPECT_EQ(0, std::memcmp(&batch[i], &single[i], 10)) << "x = " << static_cast<double>(xs[from + i]);
        }
    }
}

TEST(CalcExpress, BatchEvaluationRefusesWhatSingleEvaluationRefuses) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    TCalcExpress calc(',');
    calc.SetVariables({"x"});
    calc.SetFormula("x^(");
    std::vector<TReal> xs{1.0L}, out(1);
    EXPECT_THROW(calc.EvaluateBatch(xs, out), TCalcError); // no formula
    calc.SetFormula("x+1");
    xs[0] = std::numeric_limits<TReal>::infinity();
    EXPECT_THROW(calc.EvaluateBatch(xs, out), TCalcError); // no finite value
    calc.SetVariables({"x", "y"});
    xs[0] = 1.0L;
    EXPECT_THROW(calc.EvaluateBatch(xs, out), TCalcError); // a value of y is missing
    calc.SetVariables({"x"});
    calc.EvaluateBatch(xs, out);
    EXPECT_EQ(out[0], 2.0L);
}

TEST(CalcExpress, BatchEvaluationOfALongFormulaKeepsItsRowsSmall) {
    // 40000 steps: one row of all the values per step would take 40000 × 300 values; the batch
    // goes through the values in parts and still gives the single results.
    std::string formula = "x";
    for (int i = 0; i < 40000; ++i)
        formula += i % 2 ? "*1" : "+0,5";
    TCalcExpress calc(',');
    calc.SetVariables({"x"});
    calc.SetFormula(formula);
    ASSERT_TRUE(calc.Valid());
    std::vector<TReal> xs(300), out(300);
    for (std::size_t i = 0; i < xs.size(); ++i)
        xs[i] = 0.001L * static_cast<TReal>(i);
    calc.EvaluateBatch(xs, out);
    for (std::size_t i = 0; i < xs.size(); i += 37)
        EXPECT_EQ(out[i], calc.Evaluate({xs[i]})) << i;
}
