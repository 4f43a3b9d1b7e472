// Random formulas built from the grammar are parsed and evaluated, and the result is compared
// with a plain recursive evaluation of the expression the generator had in mind. Random texts
// and mutated formulas must never crash the parser, and evaluation either gives a finite value
// or raises TCalcError.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/NumberText.h"
#include "expr/CalcExpress.h"
#include "model/UserDialogs.h"

namespace {
using TKind = TCalcErrorKind;

// The expression a generated text stands for.
struct TExpr {
    enum TOp { Num, Var, Add, Sub, Mul, Div, Neg, Pow, Fn } Op = Num;
    TReal Value = 0.0L; // Num
    int Index = 0;      // Var
    std::string Function;
    std::unique_ptr<TExpr> L, R;
};
using TPtr = std::unique_ptr<TExpr>;

struct TRefError {
    TKind Kind;
};

TReal Finite(TReal v) {
    if (std::isnan(v)) throw TRefError{TKind::InvalidOperation};
    if (std::isinf(v)) throw TRefError{TKind::Overflow};
    return v;
}

// Reference semantics, written out plainly: x^n by n-fold multiplication (the generator keeps
// integral exponents within -3..3), any other exponent through e^(y ln x).
TReal RefPower(TReal x, TReal y) {
    if (y == 0) return 1;
    if (x == 0 && y > 0) return 0;
    if (y == std::trunc(y)) {
        TReal p = 1;
        for (int i = 0; i < std::fabs(y); ++i)
            p = i == 0 ? x : p * x;
        Finite(p);
        if (y < 0) {
            if (p == 0) throw TRefError{x == 0 ? TKind::DivisionByZero : TKind::Overflow};
            p = 1 / p;
        }
        return p;
    }
    if (x < 0) throw TRefError{TKind::InvalidOperation};
    if (x == 0) throw TRefError{TKind::DivisionByZero};
    return Finite(std::exp(y * std::log(x)));
}

TReal RefFunction(const std::string& f, TReal a) {
    auto e = [](TReal v) { return Finite(std::exp(v)); };
    // The sine and cosine of arguments from 2^63 on are 0.
    if ((f == "sin" || f == "cos") && std::fabs(a) >= 9223372036854775808.0L) return 0;
    if (f == "sin") return std::sin(a);
    if (f == "cos") return std::cos(a);
    if (f == "tg") return Finite(std::tan(a));
    if (f == "ctg") {
        if (std::tan(a) == 0) throw TRefError{TKind::DivisionByZero};
        return Finite(1 / std::tan(a));
    }
    if (f == "abs") return std::fabs(a);
    if (f == "sgn" || f == "sign") return a > 0 ? 1 : a < 0 ? -1 : 0;
    if (f == "sqrt") {
        if (a < 0) throw TRefError{TKind::InvalidOperation};
        return std::sqrt(a);
    }
    if (f == "ln") {
        if (a < 0) throw TRefError{TKind::InvalidOperation};
        if (a == 0) throw TRefError{TKind::DivisionByZero};
        return std::log(a);
    }
    if (f == "exp") return e(a);
    if (f == "arcsin" || f == "arccos") {
        if (1 - a * a < 0) throw TRefError{TKind::InvalidOperation};
        TReal c = std::sqrt(1 - a * a);
        return f == "arcsin" ? std::atan2(a, c) : std::atan2(c, a);
    }
    if (f == "arctg") return std::atan(a);
    if (f == "arcctg") return KPi / 2 - std::atan(a);
    if (f == "sh") return Finite((e(a) - e(-a)) / 2);
    if (f == "ch") return Finite((e(a) + e(-a)) / 2);
    if (f == "th") return Finite((e(a) - e(-a)) / Finite(e(a) + e(-a)));
    if (f == "cth") {
        if (e(a) - e(-a) == 0) throw TRefError{TKind::DivisionByZero};
        return Finite((e(a) + e(-a)) / (e(a) - e(-a)));
    }
    if (f == "h" || f == "heaviside") return a >= 0 ? 1 : 0;
    ADD_FAILURE() << "no reference for " << f;
    return 0;
}

TReal Ref(const TExpr& e, const std::vector<TReal>& vars) {
    switch (e.Op) {
    case TExpr::Num:
        return e.Value;
    case TExpr::Var:
        return vars[static_cast<std::size_t>(e.Index)];
    case TExpr::Neg:
        return -Ref(*e.L, vars);
    case TExpr::Fn:
        return RefFunction(e.Function, Ref(*e.L, vars));
    default:
        break;
    }
    TReal a = Ref(*e.L, vars);
    TReal b = Ref(*e.R, vars);
    switch (e.Op) {
    case TExpr::Add:
        return Finite(a + b);
    case TExpr::Sub:
        return Finite(a - b);
    case TExpr::Mul:
        return Finite(a * b);
    case TExpr::Div:
        if (b == 0) throw TRefError{TKind::DivisionByZero};
        return Finite(a / b);
    default:
        return RefPower(a, b);
    }
}

const char* const KFunctions[] = {"sin",  "cos", "tg",  "ctg",    "abs",    "sgn",      "sign",
                                  "sqrt", "ln",  "exp", "arcsin", "arccos", "arctg",    "arcctg",
                                  "sh",   "ch",  "th",  "cth",    "h",      "heaviside"};
const char* const KVariables[] = {"x", "y", "alpha"};

// Builds a random well-formed formula text and the expression it stands for.
class TFormulaMaker {
public:
    TFormulaMaker(unsigned seed, char sep) : mRandom(seed), mSep(sep) {}

    TPtr Formula(std::string& text) { return Expression(text, 0); }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(mRandom); }
    bool Chance(int percent) { return Pick(100) < percent; }
    void Blank(std::string& text) {
        if (Chance(20)) text += std::string(static_cast<std::size_t>(1 + Pick(2)), ' ');
    }
    std::string RandomCase(std::string s) {
        for (char& c : s)
            if (Chance(30)) c = static_cast<char>(c - 'a' + 'A');
        return s;
    }
    TPtr Node(TExpr::TOp op, TPtr l = nullptr, TPtr r = nullptr) {
        auto e = std::make_unique<TExpr>();
        e->Op = op;
        e->L = std::move(l);
        e->R = std::move(r);
        return e;
    }
    // A non-negative number text; its value is read with the program's number reader.
    TPtr Number(std::string& text, bool negative) {
        static const char* const forms[] = {"0",     "1",     "2",     "3",   "7",      "12",   "0#5", "2#25",
                                            "1#125", "15e-1", "25E-1", "1e1", "3#5e+0", "0#75", "100"};
        std::string t = forms[Pick(static_cast<int>(std::size(forms)))];
        for (char& c : t)
            if (c == '#') c = mSep;
        if (negative) t = "-" + t;
        text += t;
        auto e = Node(TExpr::Num);
        e->Value = StrToFloat(t, mSep);
        return e;
    }
    TPtr Variable(std::string& text) {
        auto e = Node(TExpr::Var);
        e->Index = Pick(3);
        text += RandomCase(KVariables[e->Index]);
        return e;
    }
    // number | variable | "(" number | variable ")"; integral exponents stay within -3..3.
    TPtr Exponent(std::string& text) {
        static const char* const numbers[] = {"0", "1", "2", "3", "0#5", "1#5"};
        bool paren = Chance(40);
        if (paren) text += "(";
        TPtr e;
        if (Chance(40)) {
            e = Variable(text);
        } else {
            bool negative = paren && Chance(50);
            std::string t = std::string(negative ? "-" : "") + numbers[Pick(6)];
            for (char& c : t)
                if (c == '#') c = mSep;
            text += t;
            e = Node(TExpr::Num);
            e->Value = StrToFloat(t, mSep);
        }
        if (paren) text += ")";
        return e;
    }
    // negativeAllowed: the factor is the first of a term that follows the start or "(" and has
    // no sign, so a number may be written as a negative number token.
    TPtr Factor(std::string& text, int depth, bool negativeAllowed) {
        TPtr e;
        int kind = Pick(depth > 3 ? 2 : 4);
        if (kind == 0) {
            e = Number(text, negativeAllowed && Chance(30));
        } else if (kind == 1) {
            e = Variable(text);
        } else if (kind == 2) {
            text += "(";
            Blank(text);
            e = Expression(text, depth + 1);
            text += ")";
        } else {
            e = Node(TExpr::Fn);
            e->Function = KFunctions[Pick(static_cast<int>(std::size(KFunctions)))];
            text += RandomCase(e->Function);
            Blank(text);
            text += "(";
            Blank(text);
            e->L = Expression(text, depth + 1);
            text += ")";
        }
        while (Chance(15)) {
            Blank(text);
            text += "^";
            Blank(text);
            e = Node(TExpr::Pow, std::move(e), Exponent(text));
        }
        return e;
    }
    TPtr Term(std::string& text, int depth, bool signAllowed) {
        int sign = signAllowed ? Pick(5) : 0; // 1 "-", 2 "+"
        if (sign == 1) text += "- ";          // the blank keeps a following digit out of the number
        if (sign == 2) text += "+";
        TPtr e = Factor(text, depth, signAllowed && sign == 0);
        while (Chance(30)) {
            Blank(text);
            bool times = Chance(50);
            text += times ? "*" : "/";
            Blank(text);
            e = Node(times ? TExpr::Mul : TExpr::Div, std::move(e), Factor(text, depth, false));
        }
        return sign == 1 ? Node(TExpr::Neg, std::move(e)) : std::move(e);
    }
    // Every expression starts the text or follows "(", so its first term may carry a sign.
    TPtr Expression(std::string& text, int depth) {
        TPtr e = Term(text, depth, true);
        while (Chance(35)) {
            Blank(text);
            bool plus = Chance(50);
            text += plus ? "+" : "-";
            Blank(text);
            e = Node(plus ? TExpr::Add : TExpr::Sub, std::move(e), Term(text, depth, false));
        }
        Blank(text);
        return e;
    }

    std::mt19937 mRandom;
    char mSep;
};

class CalcProperty : public ::testing::TestWithParam<char> {};

TEST_P(CalcProperty, RandomFormulasAgreeWithTheReference) {
    const char sep = GetParam();
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    TFormulaMaker maker(20240917u + static_cast<unsigned>(sep), sep);
    std::mt19937 random(7);
    const TReal values[] = {-2.5L, -1, 0, 0.5L, 1, 2, 3.25L, -0.75L};
    TCalcExpress calc(sep);
    calc.SetVariables({"x", "y", "alpha"});
    int compared = 0, errors = 0;
    for (int i = 0; i < 4000; ++i) {
        std::string text;
        TPtr e = maker.Formula(text);
        calc.SetFormula(text);
        ASSERT_TRUE(calc.Valid()) << "\"" << text << "\" did not parse";
        for (int k = 0; k < 3; ++k) {
            std::vector<TReal> vars;
            for (int v = 0; v < 3; ++v)
                vars.push_back(values[random() % std::size(values)]);
            std::optional<TReal> expected;
            std::optional<TKind> expectedError;
            try {
                expected = Ref(*e, vars);
            } catch (const TRefError& r) {
                expectedError = r.Kind;
            }
            try {
                TReal v = calc.Evaluate(vars);
                ASSERT_TRUE(expected)
                    << "\"" << text << "\" gave " << static_cast<double>(v) << " instead of an error";
                ASSERT_EQ(v, *expected) << "\"" << text << "\"";
                ++compared;
            } catch (const TCalcError& err) {
                ASSERT_TRUE(expectedError) << "\"" << text << "\" raised " << err.what();
                ASSERT_EQ(err.Kind(), *expectedError) << "\"" << text << "\"";
                ++errors;
            }
        }
    }
    EXPECT_TRUE(sink.Messages.empty());
    // The sample exercises both outcomes in earnest.
    EXPECT_GT(compared, 6000);
    EXPECT_GT(errors, 100);
}

TEST_P(CalcProperty, RandomTextsNeverCrashTheParser) {
    const char sep = GetParam();
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    std::mt19937 random(99);
    const std::string alphabet = "0123456789.,eE+-*/^()  xyhsinqrtlgabcp_\t";
    TCalcExpress calc(sep);
    calc.SetVariables({"x", "y"});
    TFormulaMaker maker(5u, sep);
    int valid = 0;
    for (int i = 0; i < 30000; ++i) {
        std::string text;
        if (i % 2 == 0) {
            std::size_t n = random() % 25;
            for (std::size_t k = 0; k < n; ++k)
                text += alphabet[random() % alphabet.size()];
        } else {
            maker.Formula(text); // a well-formed formula with one character changed, added or removed
            std::size_t at = text.empty() ? 0 : random() % text.size();
            char c = alphabet[random() % alphabet.size()];
            int how = static_cast<int>(random() % 3);
            if (how == 0 && !text.empty())
                text[at] = c;
            else if (how == 1)
                text.insert(at, 1, c);
            else if (!text.empty())
                text.erase(at, 1);
        }
        std::size_t before = sink.Messages.size();
        calc.SetFormula(text);
        ASSERT_EQ(sink.Messages.size() - before, calc.Valid() ? 0u : 1u) << "\"" << text << "\"";
        if (!calc.Valid()) continue;
        ++valid;
        try {
            TReal v = calc.Evaluate({0.5L, -2.0L});
            ASSERT_TRUE(std::isfinite(v)) << "\"" << text << "\"";
        } catch (const TCalcError&) {
        }
    }
    EXPECT_GT(valid, 1000);
}

INSTANTIATE_TEST_SUITE_P(BothSeparators, CalcProperty, ::testing::Values(',', '.'));
} // namespace
