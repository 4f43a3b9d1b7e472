#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "base/NumberText.h"
#include "expr/CurveGenerator.h"
#include "model/UserDialogs.h"

namespace {
const std::string KFailure = "Operace selhala. Zkontrolujte vstupní údaje.";

struct Fixture {
    TRecordingDialogs sink;
    TDialogsGuard guard{sink};
    TMKPSpace space;
    TCalcExpress calc{','};

    void AddSection() {
        TMaterial* m = space.PridejMaterial("S235", 210000, 7850);
        space.CurrentSection = space.PridejProfil("IPE 200", m, 0.00285, 0.0000194, 0.00000142);
    }
    TCurveResult Run(const TCurveFields& fields, char sep = ',') {
        return GenerateCurve(space, calc, fields, sep);
    }
    std::vector<TReal> Xs() const {
        std::vector<TReal> xs;
        for (TUzel* n : space.Nodes)
            xs.push_back(n->X);
        return xs;
    }
};

TCurveFields Fields(const std::string& formula, const std::string& step, const std::string& from,
                    const std::string& to, bool join = false) {
    TCurveFields f;
    f.Formula = formula;
    f.Step = step;
    f.From = from;
    f.To = to;
    f.Join = join;
    return f;
}

// Every member joins consecutive nodes of the row: member i runs from node i to node i + 1.
void ExpectChain(const TMKPSpace& space, int firstNode) {
    for (int i = 0; i < space.Members.Count(); ++i) {
        TPrut* m = space.Members[i];
        EXPECT_EQ(m->Number, i + 1);
        EXPECT_EQ(m->NodeA->Number, firstNode + i);
        EXPECT_EQ(m->NodeB->Number, firstNode + i + 1);
        EXPECT_FALSE(m->HingeA);
        EXPECT_FALSE(m->HingeB);
        EXPECT_FALSE(m->SectionTurned);
        EXPECT_EQ(m->Section, space.CurrentSection);
    }
}
} // namespace

TEST(CurveGenerator, ConstantStepEndsExactlyAtTheIntervalEnd) {
    struct TCase {
        const char* Step;
        const char* From;
        const char* To;
        std::vector<TReal> Xs;
    };
    const std::vector<TCase> cases = {
        {"0,3", "0", "1", {0, 0.3L, 0.6L, 0.3L + 0.3L + 0.3L, 1}}, // no node at 1.2
        {"1", "0", "1", {0, 1}},                                   // the defaults: no second (1, 0.5)
        {"0,25", "0", "1", {0, 0.25L, 0.5L, 0.75L, 1}},            // exact multiple: b once
        {"0,5", "2", "2", {2}},                                    // a = b: one node
        {"1", "5", "2", {2, 3, 4, 5}},                             // swapped ends
        {"0,01", "0", "0,1", {0, 0.05L, 0.1L}},                    // the minimum step is 0.05
        {"-3", "0", "0,1", {0, 0.05L, 0.1L}},
        {"10", "-1", "1", {-1, 1}}, // step longer than the interval
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string("step ") + c.Step + " on " + c.From + ".." + c.To);
        Fixture fx;
        TCurveResult r = fx.Run(Fields("x/2", c.Step, c.From, c.To));
        EXPECT_TRUE(r.Succeeded);
        EXPECT_TRUE(fx.sink.Messages.empty());
        ASSERT_EQ(fx.Xs().size(), c.Xs.size());
        for (std::size_t i = 0; i < c.Xs.size(); ++i) {
            EXPECT_NEAR(static_cast<double>(fx.Xs()[i]), static_cast<double>(c.Xs[i]), 1e-15);
            EXPECT_EQ(fx.space.Nodes[static_cast<int>(i)]->Y, fx.space.Nodes[static_cast<int>(i)]->X / 2);
            EXPECT_EQ(fx.space.Nodes[static_cast<int>(i)]->Number, static_cast<int>(i) + 1);
        }
        EXPECT_EQ(fx.space.Nodes.Last()->X, c.Xs.back()); // the end node is b exactly
        EXPECT_EQ(r.Nodes.size(), c.Xs.size());
        EXPECT_TRUE(fx.space.Members.Empty());
    }
}

TEST(CurveGenerator, InexactStepThatDividesTheIntervalGivesNoNearDuplicateAtTheEnd) {
    Fixture fx;
    fx.Run(Fields("x^2", "0,1", "0", "1"));
    ASSERT_EQ(fx.space.Nodes.Count(), 11);
    for (int i = 1; i < fx.space.Nodes.Count(); ++i)
        EXPECT_NEAR(static_cast<double>(fx.space.Nodes[i]->X - fx.space.Nodes[i - 1]->X), 0.1, 1e-12);
    EXPECT_EQ(fx.space.Nodes.Last()->X, 1.0L);
    EXPECT_EQ(fx.space.Nodes.Last()->Y, 1.0L);
}

TEST(CurveGenerator, JoinsEveryNewNodeIncludingTheEndNode) {
    Fixture fx;
    fx.AddSection();
    fx.space.PridejUzel(1, 10, 10); // an existing node: the row starts after it
    TCurveResult r = fx.Run(Fields("x/2", "0,3", "0", "1", true));
    ASSERT_TRUE(r.Succeeded);
    EXPECT_EQ(fx.space.Nodes.Count(), 6);
    ASSERT_EQ(fx.space.Members.Count(), 4);
    ExpectChain(fx.space, 2);
    EXPECT_EQ(r.Members.size(), 4u);
    EXPECT_EQ(fx.space.CurrentMember, fx.space.Members.Last());
    EXPECT_EQ(fx.space.Members.Last()->NodeB->X, 1.0L);
    EXPECT_NEAR(static_cast<double>(fx.space.Members.Last()->Length), 0.1 * std::sqrt(1.25), 1e-12);
}

TEST(CurveGenerator, JoinWithoutSectionCreatesNodesOnly) {
    Fixture fx;
    TCurveResult r = fx.Run(Fields("x/2", "0,3", "0", "1", true));
    EXPECT_TRUE(r.Succeeded);
    EXPECT_EQ(fx.space.Nodes.Count(), 5);
    EXPECT_TRUE(fx.space.Members.Empty());
    EXPECT_TRUE(fx.sink.Messages.empty());
}

TEST(CurveGenerator, ImperialFieldsAreFeetInchTexts) {
    Fixture fx;
    fx.space.NastavSoustavuJednotek(1);
    // From 1' to 2'-0'' in steps of 6 inches; a step of half an inch is raised to one inch.
    fx.Run(Fields("x", "6", "1'", "2'-0''"));
    std::vector<TReal> xs = fx.Xs();
    ASSERT_EQ(xs.size(), 3u);
    EXPECT_NEAR(static_cast<double>(xs[1]), 0.4572, 1e-15);
    EXPECT_EQ(xs[2], 0.6096L);

    Fixture small;
    small.space.NastavSoustavuJednotek(1);
    small.Run(Fields("x", "0,5", "0", "2''"));
    ASSERT_EQ(small.space.Nodes.Count(), 3);
    EXPECT_NEAR(static_cast<double>(small.space.Nodes[1]->X), 0.0254, 1e-15);
}

TEST(CurveGenerator, BadFieldsFailBeforeAnyNode) {
    struct TCase {
        TCurveFields Fields;
        char Sep;
    };
    TCurveFields defaults;
    TCurveFields badStep = defaults, badFrom = defaults, badTo = defaults, dotTolerance = defaults;
    badStep.Step = "abc";
    badFrom.From = "";
    badTo.To = "1;5";
    dotTolerance.Mode = 1;
    const std::vector<TCase> cases = {
        {badStep, ','},
        {badFrom, ','},
        {badTo, ','},
        {dotTolerance, '.'}, // the default tolerance text "0,0005" is no number under "."
    };
    for (const TCase& c : cases) {
        Fixture fx;
        fx.calc.SetSeparator(c.Sep);
        TCurveResult r = fx.Run(c.Fields, c.Sep);
        EXPECT_FALSE(r.Succeeded);
        EXPECT_EQ(fx.sink.Messages, std::vector<std::string>{KFailure});
        EXPECT_TRUE(fx.space.Nodes.Empty());
    }
}

TEST(CurveGenerator, EmptyToleranceMeansTheDefault) {
    Fixture fx;
    fx.calc.SetSeparator('.');
    TCurveFields f = Fields("0", "1", "0", "2");
    f.Mode = 1;
    f.Tolerance = "";
    TCurveResult r = fx.Run(f, '.');
    EXPECT_TRUE(r.Succeeded);
    ASSERT_EQ(fx.space.Nodes.Count(), 4); // 0, ~0.9995, ~1.999, 2
    EXPECT_GT(fx.space.Nodes[1]->X, 0.9995L);
    EXPECT_LT(fx.space.Nodes[1]->X, 0.9995L + 1.5e-6L);
}

TEST(CurveGenerator, FormulaErrorIsReportedTwiceThenTheFailure) {
    // Whatever the evaluator held before (nothing, another variable list, a bad formula), a bad
    // formula gives its message for the formula and for the variable list, then the failure.
    const std::vector<std::vector<std::string>> before = {{}, {"x"}, {"t", "u"}};
    for (const auto& variables : before) {
        for (const char* previous : {"0", "x^(2*x)"}) {
            SCOPED_TRACE(std::string(previous) + " with " + std::to_string(variables.size()) + " variables");
            Fixture fx;
            {
                TRecordingDialogs earlier;
                TDialogsGuard guard(earlier);
                fx.calc.SetVariables(variables);
                fx.calc.SetFormula(previous);
            }
            TCurveResult r = fx.Run(Fields("x^(2*x)", "1", "0", "1"));
            EXPECT_FALSE(r.Succeeded);
            EXPECT_EQ(fx.sink.Messages,
                      (std::vector<std::string>{"Error in formula.", "Error in formula.", KFailure}));
            EXPECT_TRUE(fx.space.Nodes.Empty());
        }
    }
}

TEST(CurveGenerator, EvaluationErrorKeepsWhatWasAdded) {
    Fixture fx;
    fx.AddSection();
    TCurveResult r = fx.Run(Fields("1/(x-0,5)", "0,25", "0", "1", true));
    EXPECT_FALSE(r.Succeeded);
    EXPECT_EQ(fx.sink.Messages, std::vector<std::string>{KFailure});
    EXPECT_EQ(fx.space.Nodes.Count(), 2); // x = 0 and 0.25; x = 0.5 divides by zero
    EXPECT_EQ(fx.space.Members.Count(), 1);
    EXPECT_EQ(r.Nodes.size(), 2u);
    EXPECT_EQ(r.Members.size(), 1u);

    Fixture first;
    first.Run(Fields("ln(x)", "1", "-1", "1"));
    EXPECT_TRUE(first.space.Nodes.Empty());
    EXPECT_EQ(first.sink.Messages, std::vector<std::string>{KFailure});
}

TEST(CurveGenerator, UnsetVariableListIsTakenCareOf) {
    // A fresh evaluator has no variables; the formula must still parse against x.
    Fixture fx;
    TCalcExpress fresh(',');
    TCurveResult r = GenerateCurve(fx.space, fresh, Fields("x/2", "1", "0", "1"), ',');
    EXPECT_TRUE(r.Succeeded);
    EXPECT_TRUE(fx.sink.Messages.empty());
    EXPECT_EQ(fresh.Variables(), std::vector<std::string>{"x"});
}

TEST(CurveGenerator, ChordsStayWithinTheTolerance) {
    struct TCase {
        const char* Formula;
        const char* Step;
        const char* Tolerance;
        const char* From;
        const char* To;
    };
    const std::vector<TCase> cases = {
        {"sqrt(25-x^2)", "0,5", "0,0005", "-4", "4"}, // an arch of radius 5
        {"x^2/4", "0,3", "0,001", "-1", "2"},
        {"sin(x)", "0,2", "0,0002", "0", "3"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Formula);
        Fixture fx;
        fx.AddSection();
        TCurveFields f = Fields(c.Formula, c.Step, c.From, c.To, true);
        f.Mode = 1;
        f.Tolerance = c.Tolerance;
        TCurveResult r = fx.Run(f);
        ASSERT_TRUE(r.Succeeded);
        TReal s = StrToFloat(c.Step, ','), t = StrToFloat(c.Tolerance, ',');
        TReal a = StrToFloat(c.From, ','), b = StrToFloat(c.To, ',');
        int n = fx.space.Nodes.Count();
        ASSERT_GE(n, 3);
        EXPECT_EQ(fx.space.Nodes[0]->X, a);
        EXPECT_EQ(fx.space.Nodes[n - 1]->X, b);
        EXPECT_EQ(fx.space.Members.Count(), n - 1);
        ExpectChain(fx.space, 1);
        fx.calc.SetFormula(c.Formula);
        for (int i = 0; i < n; ++i) {
            TUzel* node = fx.space.Nodes[i];
            EXPECT_EQ(node->Y, fx.calc.Evaluate({node->X})); // on the curve
            if (i == 0 || i == n - 1) continue;
            TUzel* prev = fx.space.Nodes[i - 1];
            TReal dx = node->X - prev->X, dy = node->Y - prev->Y;
            EXPECT_LT(std::fabs(std::sqrt(dx * dx + dy * dy) - s), t) << "node " << i + 1;
            // The first grid point in the band: one grid step earlier the chord was still too short.
            TReal xe = node->X - KCurveChordGrid;
            TReal ye = fx.calc.Evaluate({xe});
            TReal de = std::sqrt((xe - prev->X) * (xe - prev->X) + (ye - prev->Y) * (ye - prev->Y));
            EXPECT_LE(de, s - t + 1e-9L) << "node " << i + 1;
        }
        // The last segment to b is no longer than a chord.
        TUzel* last = fx.space.Nodes[n - 1];
        TUzel* prev = fx.space.Nodes[n - 2];
        EXPECT_LT(std::hypot(last->X - prev->X, last->Y - prev->Y), s + t);
    }
}

TEST(CurveGenerator, ChordSearchSkipsJumpsPastTheBand) {
    // A spike of height 5 on 0.75..0.8: the chord from the node near 0.5 jumps past the band
    // 0.5 +- 0.0005 there, and the search goes on until the band is met again on the flat part.
    Fixture fx;
    TCurveFields f = Fields("5*h(x-0,75)*h(0,8-x)", "0,5", "0", "3");
    f.Mode = 1;
    TCurveResult r = fx.Run(f);
    ASSERT_TRUE(r.Succeeded);
    std::vector<TReal> xs = fx.Xs();
    ASSERT_GE(xs.size(), 4u);
    EXPECT_NEAR(static_cast<double>(xs[1]), 0.4995, 2e-6);
    EXPECT_NEAR(static_cast<double>(xs[2]), 0.999, 4e-6);
    for (TUzel* n : fx.space.Nodes)
        EXPECT_EQ(n->Y, 0.0L) << "node at x = " << static_cast<double>(n->X);
}

TEST(CurveGenerator, RunsThatCannotAdvanceAreRefused) {
    struct TCase {
        const char* From;
        const char* To;
        int Mode;
    };
    const std::vector<TCase> cases = {
        {"1e15", "1000000000000010", 1}, // x + 0.000001 rounds back to x
        {"1e20", "100000000000000000100", 0}, // x + 1 rounds back to x
        {"-1e20", "0", 0},               // stalls at the start only
        {"0", "-1e15", 1},               // the ends exchanged first
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.From) + ".." + c.To);
        Fixture fx;
        TCurveFields f = Fields("x", "1", c.From, c.To);
        f.Mode = c.Mode;
        TCurveResult r = fx.Run(f);
        EXPECT_FALSE(r.Succeeded);
        EXPECT_FALSE(r.Cancelled);
        EXPECT_EQ(fx.sink.Messages, std::vector<std::string>{KFailure});
        EXPECT_TRUE(fx.space.Nodes.Empty());
    }
}

TEST(CurveGenerator, LongRunsGoOnAndStopWhenAsked) {
    // A 1000 m chord run and 10^12 constant steps are long but sound: they run, reporting their
    // progress, until the caller stops them; the nodes placed so far stay, with no message.
    struct TCase {
        const char* Formula;
        const char* Step;
        const char* To;
        int Mode;
        int Reports;
    };
    const std::vector<TCase> cases = {
        {"x", "0,5", "1000", 1, 600}, // a report every 2048 grid points
        {"x/2", "1", "1e12", 0, 2},
        {"0", "0,05", "100000", 0, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Formula);
        Fixture fx;
        fx.AddSection();
        TCurveFields f = Fields(c.Formula, c.Step, "0", c.To, true);
        f.Mode = c.Mode;
        std::vector<double> fractions;
        TCurveResult r = GenerateCurve(fx.space, fx.calc, f, ',', [&](double fraction) {
            fractions.push_back(fraction);
            return static_cast<int>(fractions.size()) < c.Reports;
        });
        EXPECT_FALSE(r.Succeeded);
        EXPECT_TRUE(r.Cancelled);
        EXPECT_TRUE(fx.sink.Messages.empty());
        ASSERT_EQ(static_cast<int>(fractions.size()), c.Reports);
        for (std::size_t i = 0; i < fractions.size(); ++i) {
            EXPECT_GT(fractions[i], 0.0);
            EXPECT_LT(fractions[i], 1.0);
            if (i > 0) EXPECT_GT(fractions[i], fractions[i - 1]);
        }
        // What was placed stays, joined, and nothing beyond the point reached.
        ASSERT_GE(fx.space.Nodes.Count(), 2);
        EXPECT_EQ(fx.space.Members.Count(), fx.space.Nodes.Count() - 1);
        EXPECT_EQ(r.Nodes.size(), static_cast<std::size_t>(fx.space.Nodes.Count()));
        EXPECT_LE(static_cast<double>(fx.space.Nodes.Last()->X),
                  fractions.back() * StrToFloat(c.To, ',') + 1e-9);
    }
}

// The chord search point by point, as the plain loop over the grid does it: the nodes of the
// generator must be these, in this order, to the bit.
struct TPlainChordRun {
    std::vector<std::pair<TReal, TReal>> Nodes;
    bool Failed = false;
};
TPlainChordRun PlainChordRun(TCalcExpress& calc, TReal step, TReal tolerance, TReal a, TReal b) {
    TPlainChordRun run;
    try {
        TReal x = a, x0 = a, y0 = calc.Evaluate({a});
        run.Nodes.push_back({x, y0});
        const TReal lastGrid = b - KCurveChordGrid / 2.0L;
        while (x < b) {
            x = x + KCurveChordGrid;
            if (x >= lastGrid) break;
            TReal fx = calc.Evaluate({x});
            TReal dy = y0 - fx, dx = x - x0;
            if (std::fabs(std::sqrt(dy * dy + dx * dx) - step) < tolerance) {
                x0 = x;
                y0 = fx;
                run.Nodes.push_back({x, fx});
            }
        }
        if (b > x0) run.Nodes.push_back({b, calc.Evaluate({b})});
    } catch (const TCalcError&) {
        run.Failed = true;
    }
    return run;
}

TEST(CurveGenerator, ChordNodesAreThoseOfThePlainSearchToTheBit) {
    struct TCase {
        const char* Formula;
        const char* Step;
        const char* Tolerance;
        const char* From;
        const char* To;
    };
    const std::vector<TCase> cases = {
        {"x/2", "0,5", "0,0005", "0", "3"},
        {"sqrt(100-(x-5)^2)", "0,5", "0,0005", "0", "2"},
        {"0,3*sin(x)+x^2/20", "0,25", "0,0001", "-1", "1,5"},
        {"exp(x)*ch(x/3)-abs(x)^(1,5)", "0,3", "0,001", "-1", "1"},
        {"5*h(x-0,75)*h(0,8-x)", "0,5", "0,0005", "0", "2"},
        {"1/(x-0,7)", "0,1", "0,001", "0", "1"},   // fails inside a batch
        {"sqrt(0,9-x)", "0,2", "0,001", "0", "1"}, // fails at a batch's first point or later
        {"x", "0,05", "0,0005", "0", "0,0007"},    // shorter than one batch
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Formula);
        Fixture fx;
        TCurveFields f = Fields(c.Formula, c.Step, c.From, c.To);
        f.Mode = 1;
        f.Tolerance = c.Tolerance;
        TCurveResult r = fx.Run(f);

        TCalcExpress plain(',');
        {
            TRecordingDialogs quiet;
            TDialogsGuard guard(quiet);
            plain.SetVariables({"x"});
            plain.SetFormula(c.Formula);
        }
        TPlainChordRun expected = PlainChordRun(plain, StrToFloat(c.Step, ','), StrToFloat(c.Tolerance, ','),
                                                StrToFloat(c.From, ','), StrToFloat(c.To, ','));
        EXPECT_EQ(r.Succeeded, !expected.Failed);
        EXPECT_EQ(fx.sink.Messages.size(), expected.Failed ? 1u : 0u);
        ASSERT_EQ(static_cast<std::size_t>(fx.space.Nodes.Count()), expected.Nodes.size());
        for (std::size_t i = 0; i < expected.Nodes.size(); ++i) {
            const TUzel* n = fx.space.Nodes[static_cast<int>(i)];
            EXPECT_EQ(0, std::memcmp(&n->X, &expected.Nodes[i].first, 10)) << "x of node " << i + 1;
            EXPECT_EQ(0, std::memcmp(&n->Y, &expected.Nodes[i].second, 10)) << "y of node " << i + 1;
        }
    }
}
