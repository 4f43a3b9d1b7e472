#pragma once
// The expression evaluator: parses a formula of named variables (such as "x/2") once into an
// expression tree and evaluates the tree quickly for many sets of variable values. All values
// are 80-bit extended reals; angles of the trigonometric functions are in radians.
//
// Outcomes chosen where the grammar leaves them open: a character that is no token (a tab, the
// other decimal separator), a name that is neither a function nor a variable of the list, and a
// parenthesis nesting deeper than KMaxDepth are syntax errors ("Error in formula.").
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "base/Types.h"

enum class TCalcErrorKind {
    DivisionByZero,   // x/0, ctg(0), cth(0), ln(0), 0 raised to a negative power
    InvalidOperation, // sqrt or ln of a negative number, arcsin/arccos outside -1..1, (-8)^0.5
    Overflow,         // a result (or a number of the formula) beyond the extended range, also x^n
                      // overflowing (or underflowing to 0) before the reciprocal of x^-n
    NoFormula,        // evaluating after a failed parse
    MissingValue,     // fewer values than variables
};

// An error of evaluation; Kind() says which.
class TCalcError : public TKorvanError {
public:
    TCalcError(TCalcErrorKind kind, const std::string& message) : TKorvanError(message), mKind(kind) {}
    TCalcErrorKind Kind() const { return mKind; }

private:
    TCalcErrorKind mKind;
};

class TCalcExpress {
public:
    // Deepest parenthesis nesting accepted (keeps the recursive parser's stack bounded).
    static constexpr int KMaxDepth = 200;

    // separator: the decimal separator of the formula's numbers; '\0' means the program's
    // separator (DecimalSeparator()) at the time of each parse. Starts with the formula "0" and
    // no variables.
    explicit TCalcExpress(char separator = '\0');

    // Stores the formula in lower case and parses it at once. A formula that does not parse shows
    // "Error in formula." and leaves no tree; Valid() is then false.
    void SetFormula(const std::string& text);
    const std::string& Formula() const { return mFormula; }
    // Replaces the variable list and parses the stored formula again against the new names.
    void SetVariables(const std::vector<std::string>& names);
    const std::vector<std::string>& Variables() const { return mVariables; }
    // Changes the decimal separator and parses the stored formula again.
    void SetSeparator(char separator);

    // True when the last parse succeeded and a tree exists.
    bool Valid() const { return !mProgram.empty(); }

    // Value of the formula with values[i] bound to Variables()[i]. Throws TCalcError on division
    // by zero, an invalid operation, overflow, a failed parse or missing values; never returns an
    // infinity or a NaN.
    TReal Evaluate(std::span<const TReal> values) const;
    TReal Evaluate(std::initializer_list<TReal> values) const {
        return Evaluate(std::span<const TReal>(values.begin(), values.size()));
    }

    // The values of a formula of at most one variable for many values of it: out[i] is
    // Evaluate({xs[i]}) to the bit (n = the shorter length). Throws TCalcError when any of them
    // fails, not necessarily for the first failing value: a caller that must know which value
    // failed first evaluates that batch again value by value.
    void EvaluateBatch(std::span<const TReal> xs, std::span<TReal> out) const;

    // Node kinds of the tree; the functions of the formula language each have their own kind.
    enum class TNodeKind {
        Add,
        Subtract,
        Multiply,
        Divide,
        Number,
        Variable,
        Negate,
        Power,
        Cos,
        Sin,
        Tg,
        Ctg,
        Abs,
        Sgn,
        Sqrt,
        Ln,
        Exp,
        ArcSin,
        ArcCos,
        ArcTg,
        ArcCtg,
        Sh,
        Ch,
        Th,
        Cth,
        Heaviside,
        IntegralPower, // evaluation only: a power with a non-zero integral constant exponent
    };

private:
    // A node of the tree: kind, text (the number as written, the variable's index, the function's
    // name) and the positions of its children in mNodes (-1 for none). Children are always created
    // before their parent, so mNodes in order is the post-order of the tree and the root is last.
    struct TNode {
        TNodeKind Kind;
        std::string Text;
        int Left = -1;
        int Right = -1;
        TReal Value = 0.0L; // a number's value, converted once with the formula's separator
        int Index = -1;     // a variable's index in mVariables
        bool Convertible = true;
    };

    // The compiled post-order: each step takes its operands from the value stack, from a constant
    // or from a variable, and pushes its result.
    enum class TOperandMode : unsigned char { None, Stack, Constant, Variable };
    struct TOperand {
        TOperandMode Mode = TOperandMode::None;
        int Index = 0;
        TReal Value = 0.0L;
        int Slot = -1; // a stack operand: the step that computed it
    };
    struct TStep {
        TNodeKind Kind = TNodeKind::Number;
        TOperand A;
        TOperand B;
    };

    enum class TToken {
        None,
        Start,
        LeftParen,
        RightParen,
        Plus,
        Minus,
        Times,
        Divide,
        Power,
        Number,
        Name,
        End,
        Bad
    };

    // EvaluateBatch for as many values as the batch rows hold.
    void EvaluateChunk(std::span<const TReal> xs, std::span<TReal> out) const;
    void Parse();
    void Compile();
    void NextToken();
    void ReadNumber();
    int Expression();
    int Term();
    int Factor();
    int Exponent();
    int Operand();
    int AddNode(TNodeKind kind, int left = -1, int right = -1, std::string text = {});
    [[noreturn]] void SyntaxError();
    char Separator() const;

    std::string mFormula;
    std::vector<std::string> mVariables;
    char mSeparator;

    std::vector<TNode> mNodes;
    std::vector<TStep> mProgram;
    bool mUnconvertible = false; // a number of the formula lies beyond the extended range
    int mStackSize = 0;
    mutable std::vector<TReal> mStack;
    mutable std::vector<TReal> mBatch; // one row of results per step (EvaluateBatch)

    // Parser state: error flag, parenthesis depth, 1-based position, current and previous token.
    bool mError = false;
    int mDepth = 0;
    std::size_t mPos = 1;
    TToken mToken = TToken::None;
    TToken mPrevious = TToken::None;
    std::string mTokenText;
};
