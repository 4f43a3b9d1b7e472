#include "expr/CalcExpress.h"

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <utility>

#include "base/NumberText.h"
#include "model/UserDialogs.h"

namespace {
// Thrown inside the parser to abandon the parse; never leaves the class.
struct TSyntaxError {};
// The number reader's own error ("Wrong number."), caught inside the reader.
struct TWrongNumber {
    const char* Message = "Wrong number.";
};

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

std::string Lower(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        c = LowerAscii(c);
    return r;
}

using TKind = TCalcExpress::TNodeKind;

struct TFunctionName {
    const char* Name;
    TKind Kind;
};
const TFunctionName KFunctions[] = {
    {"cos", TKind::Cos},
    {"sin", TKind::Sin},
    {"tg", TKind::Tg},
    {"ctg", TKind::Ctg},
    {"abs", TKind::Abs},
    {"sgn", TKind::Sgn},
    {"sign", TKind::Sgn},
    {"sqrt", TKind::Sqrt},
    {"ln", TKind::Ln},
    {"exp", TKind::Exp},
    {"arcsin", TKind::ArcSin},
    {"arccos", TKind::ArcCos},
    {"arctg", TKind::ArcTg},
    {"arcctg", TKind::ArcCtg},
    {"sh", TKind::Sh},
    {"ch", TKind::Ch},
    {"th", TKind::Th},
    {"cth", TKind::Cth},
    {"heaviside", TKind::Heaviside},
    {"h", TKind::Heaviside},
};

bool FindFunction(const std::string& name, TKind& kind) {
    for (const TFunctionName& f : KFunctions)
        if (name == f.Name) {
            kind = f.Kind;
            return true;
        }
    return false;
}

[[noreturn]] void Fail(TCalcErrorKind kind) {
    switch (kind) {
    case TCalcErrorKind::DivisionByZero:
        throw TCalcError(kind, "Division by zero");
    case TCalcErrorKind::InvalidOperation:
        throw TCalcError(kind, "Invalid floating point operation");
    case TCalcErrorKind::Overflow:
        throw TCalcError(kind, "Floating point overflow");
    case TCalcErrorKind::NoFormula:
        throw TCalcError(kind, "No valid formula to evaluate");
    case TCalcErrorKind::MissingValue:
        throw TCalcError(kind, "Missing value of a variable");
    }
    throw TCalcError(kind, "Evaluation error");
}

// Every intermediate result passes here: an infinity is an overflow, a NaN an invalid operation.
inline TReal Checked(TReal v) {
    if (std::isfinite(v)) return v;
    Fail(std::isnan(v) ? TCalcErrorKind::InvalidOperation : TCalcErrorKind::Overflow);
}

inline TReal CheckedExp(TReal v) {
    return Checked(std::exp(v));
}

// The x87 sine and cosine instructions refuse arguments of magnitude 2^63 and more; such
// arguments give 0.
constexpr TReal KTrigLimit = 9223372036854775808.0L;

// An exponent that is applied by repeated multiplication: integral and at most 2147483647 in
// magnitude.
bool IsIntegralExponent(TReal y) {
    return y == std::trunc(y) && std::fabs(y) <= 2147483647.0L;
}

// x^n for an integral n by square and multiply; a negative n gives the reciprocal.
TReal IntegralPower(TReal base, std::int64_t n) {
    std::int64_t y = n < 0 ? -n : n;
    TReal b = base;
    TReal result = 1.0L;
    while (y > 0) {
        while ((y & 1) == 0) {
            y >>= 1;
            b = b * b;
        }
        --y;
        result = result * b;
    }
    // x^-n overflows when x^n does, even though its reciprocal would be tiny.
    Checked(result);
    if (n < 0) {
        // 0^-n divides by zero; a power that only underflowed to 0 stands for an overflow.
        if (result == 0.0L) Fail(base == 0.0L ? TCalcErrorKind::DivisionByZero : TCalcErrorKind::Overflow);
        result = 1.0L / result;
    }
    return result;
}

// x^y: 1 for y = 0, 0 for x = 0 and y > 0, repeated multiplication for integral y up to
// 2147483647 in magnitude, else e^(y·ln x).
TReal Power(TReal base, TReal exponent) {
    if (exponent == 0.0L) return 1.0L;
    if (base == 0.0L && exponent > 0.0L) return 0.0L;
    if (IsIntegralExponent(exponent)) return IntegralPower(base, static_cast<std::int64_t>(exponent));
    if (base < 0.0L) Fail(TCalcErrorKind::InvalidOperation);
    if (base == 0.0L) Fail(TCalcErrorKind::DivisionByZero); // ln 0 with a negative exponent
    return CheckedExp(exponent * std::log(base));
}
// One step of the compiled formula on its operand values; the scalar and the batch evaluation
// share it, so both give the same bits.
inline TReal ApplyStep(TKind kind, TReal a, TReal b, int exponent) {
    switch (kind) {
    case TKind::Number:
    case TKind::Variable:
        return a;
    case TKind::Add:
        return Checked(a + b);
    case TKind::Subtract:
        return Checked(a - b);
    case TKind::Multiply:
        return Checked(a * b);
    case TKind::Divide:
        if (b == 0.0L) Fail(TCalcErrorKind::DivisionByZero);
        return Checked(a / b);
    case TKind::Power:
        return Power(a, b);
    case TKind::IntegralPower:
        return (a == 0.0L && b > 0.0L) ? 0.0L : IntegralPower(a, exponent);
    case TKind::Negate:
        return -a;
    case TKind::Cos:
        return std::fabs(a) >= KTrigLimit ? 0.0L : std::cos(a);
    case TKind::Sin:
        return std::fabs(a) >= KTrigLimit ? 0.0L : std::sin(a);
    case TKind::Tg:
        return Checked(std::tan(a));
    case TKind::Ctg: {
        TReal t = std::tan(a);
        if (t == 0.0L) Fail(TCalcErrorKind::DivisionByZero);
        return Checked(1.0L / t);
    }
    case TKind::Abs:
        return std::fabs(a);
    case TKind::Sgn:
        return a < 0.0L ? -1.0L : (a > 0.0L ? 1.0L : 0.0L);
    case TKind::Sqrt:
        if (a < 0.0L) Fail(TCalcErrorKind::InvalidOperation);
        return std::sqrt(a);
    case TKind::Ln:
        if (a < 0.0L) Fail(TCalcErrorKind::InvalidOperation);
        if (a == 0.0L) Fail(TCalcErrorKind::DivisionByZero);
        return std::log(a);
    case TKind::Exp:
        return CheckedExp(a);
    case TKind::ArcSin:
    case TKind::ArcCos: {
        // atan2 of x and sqrt(1 - x^2), which is no real number outside -1..1.
        TReal q = 1.0L - a * a;
        if (q < 0.0L) Fail(TCalcErrorKind::InvalidOperation);
        return kind == TKind::ArcSin ? std::atan2(a, std::sqrt(q)) : std::atan2(std::sqrt(q), a);
    }
    case TKind::ArcTg:
        return std::atan(a);
    case TKind::ArcCtg:
        return KPi / 2.0L - std::atan(a);
    case TKind::Sh:
        return Checked((CheckedExp(a) - CheckedExp(-a)) / 2.0L);
    case TKind::Ch:
        return Checked((CheckedExp(a) + CheckedExp(-a)) / 2.0L);
    case TKind::Th: {
        TReal ep = CheckedExp(a), em = CheckedExp(-a);
        return Checked((ep - em) / Checked(ep + em));
    }
    case TKind::Cth: {
        TReal ep = CheckedExp(a), em = CheckedExp(-a);
        TReal d = ep - em;
        if (d == 0.0L) Fail(TCalcErrorKind::DivisionByZero);
        return Checked((ep + em) / d);
    }
    case TKind::Heaviside:
        return a >= 0.0L ? 1.0L : 0.0L;
    default:
        return a;
    }
}
} // namespace

TCalcExpress::TCalcExpress(char separator) : mSeparator(separator) {
    SetFormula("0");
}

char TCalcExpress::Separator() const {
    return mSeparator ? mSeparator : DecimalSeparator();
}

void TCalcExpress::SetFormula(const std::string& text) {
    mFormula = Lower(text);
    Parse();
}

void TCalcExpress::SetVariables(const std::vector<std::string>& names) {
    mVariables = names;
    SetFormula(mFormula);
}

void TCalcExpress::SetSeparator(char separator) {
    mSeparator = separator;
    SetFormula(mFormula);
}

void TCalcExpress::Parse() {
    mNodes.clear();
    mError = false;
    mDepth = 0;
    mPos = 1;
    mToken = TToken::Start;
    mPrevious = TToken::None;
    try {
        NextToken();
        Expression();
        if (mToken != TToken::End) mError = true; // an expression closed by one ")" too many
    } catch (const TSyntaxError&) {
        mError = true;
    }
    if (mError || mDepth != 0) {
        mNodes.clear();
        mProgram.clear();
        Dialogs().Inform("Error in formula.");
        return;
    }
    Compile();
}

void TCalcExpress::SyntaxError() {
    throw TSyntaxError{};
}

int TCalcExpress::AddNode(TNodeKind kind, int left, int right, std::string text) {
    TNode node{kind, std::move(text), left, right};
    if (kind == TNodeKind::Number) node.Convertible = TryStrToFloat(node.Text, node.Value, Separator());
    mNodes.push_back(std::move(node));
    return static_cast<int>(mNodes.size()) - 1;
}

void TCalcExpress::NextToken() {
    const std::string& s = mFormula;
    TToken before = mToken;
    mPrevious = mToken;
    mTokenText.clear();
    while (mPos <= s.size() && s[mPos - 1] == ' ')
        ++mPos;
    if (mPos > s.size()) {
        mToken = TToken::End;
        return;
    }
    char c = s[mPos - 1];
    auto single = [&](TToken t) {
        mToken = t;
        ++mPos;
    };
    switch (c) {
    case '(':
        return single(TToken::LeftParen);
    case ')':
        return single(TToken::RightParen);
    case '+':
        return single(TToken::Plus);
    case '*':
        return single(TToken::Times);
    case '/':
        return single(TToken::Divide);
    case '^':
        return single(TToken::Power);
    case '-':
        // At the start or after "(" a minus sign directly followed by a digit belongs to the number.
        if ((before == TToken::Start || before == TToken::LeftParen) && mPos < s.size() && IsDigit(s[mPos]))
            return ReadNumber();
        return single(TToken::Minus);
    default:
        break;
    }
    if (IsDigit(c)) return ReadNumber();
    if (IsLetter(c)) {
        std::size_t start = mPos;
        while (mPos <= s.size() && (IsLetter(s[mPos - 1]) || IsDigit(s[mPos - 1])))
            ++mPos;
        mTokenText = s.substr(start - 1, mPos - start);
        mToken = TToken::Name;
        return;
    }
    // Any other character (a tab, the other decimal separator, ...) is no token.
    SyntaxError();
}

// A number: ["-"] digits [separator digits] [("e"|"E") ["+"|"-"] digits]. A separator or an
// exponent letter without digits after it is a malformed number: the reader's own error is caught
// here, the error flag is set and the parse goes on.
void TCalcExpress::ReadNumber() {
    const std::string& s = mFormula;
    const char sep = Separator();
    std::size_t start = mPos;
    auto at = [&](std::size_t pos) { return pos <= s.size() ? s[pos - 1] : '\0'; };
    try {
        if (at(mPos) == '-') ++mPos;
        while (IsDigit(at(mPos)))
            ++mPos;
        if (at(mPos) == sep) {
            ++mPos;
            if (!IsDigit(at(mPos))) throw TWrongNumber{};
            while (IsDigit(at(mPos)))
                ++mPos;
        }
        if (at(mPos) == 'e' || at(mPos) == 'E') {
            ++mPos;
            if (at(mPos) == '+' || at(mPos) == '-') ++mPos;
            if (!IsDigit(at(mPos))) throw TWrongNumber{};
            while (IsDigit(at(mPos)))
                ++mPos;
        }
    } catch (const TWrongNumber&) {
        mError = true;
    }
    mTokenText = s.substr(start - 1, mPos - start);
    mToken = TToken::Number;
}

// expression = term {("+" | "-") term}; ends at ")" (depth - 1) or at the end of the text.
int TCalcExpress::Expression() {
    int left = Term();
    while (mToken == TToken::Plus || mToken == TToken::Minus) {
        TNodeKind kind = mToken == TToken::Plus ? TNodeKind::Add : TNodeKind::Subtract;
        NextToken();
        int right = Term();
        left = AddNode(kind, left, right);
    }
    if (mToken == TToken::RightParen) {
        --mDepth;
        return left;
    }
    if (mToken != TToken::End) SyntaxError();
    return left;
}

// term = [sign] factor {("*" | "/") factor}; the sign only at the start of the text or after "(",
// and a leading "-" negates the whole product.
int TCalcExpress::Term() {
    bool negate = false;
    if ((mToken == TToken::Minus || mToken == TToken::Plus) &&
        (mPrevious == TToken::Start || mPrevious == TToken::LeftParen)) {
        negate = mToken == TToken::Minus;
        NextToken();
    }
    int left = Factor();
    while (mToken == TToken::Times || mToken == TToken::Divide) {
        TNodeKind kind = mToken == TToken::Times ? TNodeKind::Multiply : TNodeKind::Divide;
        NextToken();
        int right = Factor();
        left = AddNode(kind, left, right);
    }
    return negate ? AddNode(TNodeKind::Negate, left) : left;
}

// factor = ("(" expression ")" | number | variable | function "(" expression ")") {"^" exponent};
// powers chain to the left: x^2^3 is (x^2)^3.
int TCalcExpress::Factor() {
    int node = -1;
    TNodeKind function;
    if (mToken == TToken::LeftParen) {
        if (++mDepth > KMaxDepth) SyntaxError();
        NextToken();
        node = Expression();
        if (mToken != TToken::RightParen) SyntaxError();
        NextToken();
    } else if (mToken == TToken::Name && FindFunction(mTokenText, function)) {
        std::string name = mTokenText;
        NextToken();
        if (mToken != TToken::LeftParen) SyntaxError();
        if (++mDepth > KMaxDepth) SyntaxError();
        NextToken();
        int argument = Expression();
        if (mToken != TToken::RightParen) SyntaxError();
        NextToken();
        node = AddNode(function, argument, -1, name);
    } else {
        node = Operand();
    }
    while (mToken == TToken::Power) {
        NextToken();
        int exponent = Exponent();
        node = AddNode(TNodeKind::Power, node, exponent);
    }
    return node;
}

// exponent = operand | "(" operand ")": a number or a variable, nothing else.
int TCalcExpress::Exponent() {
    if (mToken != TToken::LeftParen) return Operand();
    ++mDepth;
    NextToken();
    int node = Operand();
    if (mToken != TToken::RightParen) SyntaxError();
    --mDepth;
    NextToken();
    return node;
}

// operand = number | variable; a name must be a function or one of the variables.
int TCalcExpress::Operand() {
    int node = -1;
    TNodeKind function;
    if (mToken == TToken::Number) {
        node = AddNode(TNodeKind::Number, -1, -1, mTokenText);
    } else if (mToken == TToken::Name && !FindFunction(mTokenText, function)) {
        std::string name = Lower(mTokenText);
        int index = -1;
        for (std::size_t i = 0; i < mVariables.size(); ++i)
            if (Lower(mVariables[i]) == name) {
                index = static_cast<int>(i);
                break;
            }
        if (index < 0) SyntaxError();
        node = AddNode(TNodeKind::Variable, -1, -1, std::to_string(index));
        mNodes[static_cast<std::size_t>(node)].Index = index;
    } else {
        SyntaxError();
    }
    NextToken();
    return node;
}

// The post-order of the tree as a program for a value stack. A number or variable leaf is not a
// step of its own: its parent reads it directly, which keeps most values out of the stack.
void TCalcExpress::Compile() {
    mProgram.clear();
    mUnconvertible = false;
    auto operand = [this](int i) {
        TOperand op;
        if (i < 0) return op;
        const TNode& n = mNodes[static_cast<std::size_t>(i)];
        if (n.Kind == TNodeKind::Number) {
            op.Mode = TOperandMode::Constant;
            op.Value = n.Value;
        } else if (n.Kind == TNodeKind::Variable) {
            op.Mode = TOperandMode::Variable;
            op.Index = n.Index;
        } else {
            op.Mode = TOperandMode::Stack;
        }
        return op;
    };
    for (std::size_t i = 0; i < mNodes.size(); ++i) {
        const TNode& n = mNodes[i];
        if (n.Kind == TNodeKind::Number && !n.Convertible) mUnconvertible = true;
        bool leaf = n.Left < 0;
        bool root = i + 1 == mNodes.size();
        if (leaf && !root) continue;
        TStep step;
        // A formula that is a single number or variable is one step that loads it.
        step.Kind = leaf ? TNodeKind::Number : n.Kind;
        step.A = operand(leaf ? static_cast<int>(i) : n.Left);
        step.B = operand(n.Right);
        // A constant exponent is classified once: the common x^2 then needs no test of its own.
        if (step.Kind == TNodeKind::Power && step.B.Mode == TOperandMode::Constant && step.B.Value != 0.0L &&
            IsIntegralExponent(step.B.Value)) {
            step.Kind = TNodeKind::IntegralPower;
            step.B.Index = static_cast<int>(step.B.Value);
        }
        mProgram.push_back(step);
    }
    // The step whose result each stack operand takes, for the batch evaluation.
    std::vector<int> producers;
    for (std::size_t k = 0; k < mProgram.size(); ++k) {
        TStep& step = mProgram[k];
        for (TOperand* op : {&step.B, &step.A})
            if (op->Mode == TOperandMode::Stack) {
                op->Slot = producers.back();
                producers.pop_back();
            }
        producers.push_back(static_cast<int>(k));
    }
    int depth = 0;
    mStackSize = 0;
    for (const TStep& step : mProgram) {
        depth -= (step.A.Mode == TOperandMode::Stack) + (step.B.Mode == TOperandMode::Stack);
        ++depth;
        if (depth > mStackSize) mStackSize = depth;
    }
    mStack.assign(static_cast<std::size_t>(mStackSize), 0.0L);
}

TReal TCalcExpress::Evaluate(std::span<const TReal> values) const {
    if (mProgram.empty()) Fail(TCalcErrorKind::NoFormula);
    if (values.size() < mVariables.size()) Fail(TCalcErrorKind::MissingValue);
    for (std::size_t i = 0; i < mVariables.size(); ++i)
        Checked(values[i]);
    if (mUnconvertible) Fail(TCalcErrorKind::Overflow);
    const TReal* v = values.data();
    // The top of the value stack is kept in tos (valid when hasTos); only the values below it
    // live in memory, so a chain of steps passes its intermediate results without memory.
    TReal* stack = mStack.data();
    int below = 0;
    TReal tos = 0.0L;
    bool hasTos = false;
    auto fetch = [&](const TOperand& op) {
        switch (op.Mode) {
        case TOperandMode::Stack:
            if (hasTos) {
                hasTos = false;
                return tos;
            }
            return stack[--below];
        case TOperandMode::Constant:
            return op.Value;
        case TOperandMode::Variable:
            return v[op.Index];
        default:
            return 0.0L;
        }
    };
    for (const TStep& step : mProgram) {
        // The right operand was pushed last, so it comes off the stack first.
        TReal b = fetch(step.B);
        TReal a = fetch(step.A);
        TReal r = ApplyStep(step.Kind, a, b, step.B.Index);
        if (hasTos) stack[below++] = tos;
        tos = r;
        hasTos = true;
    }
    return tos;
}

void TCalcExpress::EvaluateBatch(std::span<const TReal> xs, std::span<TReal> out) const {
    if (mProgram.empty()) Fail(TCalcErrorKind::NoFormula);
    if (mVariables.size() > 1) Fail(TCalcErrorKind::MissingValue);
    const std::size_t total = std::min(xs.size(), out.size());
    // The rows of a long formula hold fewer values at a time, so that they stay within about
    // 2^16 values (1 MiB) whatever the length of the formula.
    const std::size_t chunk = std::max<std::size_t>(1, (std::size_t(1) << 16) / mProgram.size());
    for (std::size_t from = 0; from < total; from += chunk) {
        const std::size_t n = std::min(chunk, total - from);
        EvaluateChunk(xs.subspan(from, n), out.subspan(from, n));
    }
}

void TCalcExpress::EvaluateChunk(std::span<const TReal> xs, std::span<TReal> out) const {
    const std::size_t n = xs.size();
    if (n == 0) return;
    if (!mVariables.empty())
        for (std::size_t i = 0; i < n; ++i)
            Checked(xs[i]);
    if (mUnconvertible) Fail(TCalcErrorKind::Overflow);
    // Every step writes its results for all the values into its own row; an operand reads a
    // row, the values themselves or a constant (stride 0).
    mBatch.resize(mProgram.size() * n);
    auto source = [&](const TOperand& op, std::size_t& stride) -> const TReal* {
        stride = 1;
        switch (op.Mode) {
        case TOperandMode::Stack:
            return mBatch.data() + static_cast<std::size_t>(op.Slot) * n;
        case TOperandMode::Variable:
            return xs.data();
        default:
            stride = 0;
            return &op.Value;
        }
    };
    for (std::size_t k = 0; k < mProgram.size(); ++k) {
        const TStep& step = mProgram[k];
        std::size_t sa = 0, sb = 0;
        const TReal* a = source(step.A, sa);
        const TReal* b = source(step.B, sb);
        TReal* r = mBatch.data() + k * n;
        const TNodeKind kind = step.Kind;
        const int exponent = step.B.Index;
        // The common arithmetic steps run as plain loops; every other step goes through the
        // one step function. Either way each value takes exactly the operations of Evaluate.
        switch (kind) {
        case TNodeKind::Add:
            for (std::size_t i = 0; i < n; ++i)
                r[i] = Checked(a[i * sa] + b[i * sb]);
            break;
        case TNodeKind::Subtract:
            for (std::size_t i = 0; i < n; ++i)
                r[i] = Checked(a[i * sa] - b[i * sb]);
            break;
        case TNodeKind::Multiply:
            for (std::size_t i = 0; i < n; ++i)
                r[i] = Checked(a[i * sa] * b[i * sb]);
            break;
        case TNodeKind::Divide:
            for (std::size_t i = 0; i < n; ++i) {
                if (b[i * sb] == 0.0L) Fail(TCalcErrorKind::DivisionByZero);
                r[i] = Checked(a[i * sa] / b[i * sb]);
            }
            break;
        default:
            for (std::size_t i = 0; i < n; ++i)
                r[i] = ApplyStep(kind, a[i * sa], b[i * sb], exponent);
            break;
        }
    }
    const TReal* last = mBatch.data() + (mProgram.size() - 1) * n;
    std::copy(last, last + n, out.data());
}
