#include "expr/CurveGenerator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <utility>

#include "base/NumberText.h"
#include "model/UserDialogs.h"
#include "units/Prevody.h"

namespace {
const char* const KFailure = "Operace selhala. Zkontrolujte vstupní údaje.";

// Ends a generation whose input is no usable number or whose stepping cannot advance.
struct TCurveFailure {};
// Ends a generation that the caller stopped.
struct TCurveCancelled {};

// A length field: a feet-inch text in the imperial system, else a plain number.
TReal ReadLength(const std::string& text, bool imperial, char separator) {
    TReal v = imperial ? FtInNaMetry(text, separator) : StrToFloat(text, separator);
    if (!std::isfinite(v)) throw TCurveFailure{};
    return v;
}

// True when a step from one of the interval ends leaves x where it is; every x between the ends
// is smaller in magnitude, so a stepping that advances at both ends advances everywhere.
bool CannotAdvance(TReal a, TReal b, TReal step) {
    return a + step <= a || b + step <= b;
}

// Grid points of the chord search evaluated together.
constexpr std::size_t KChordBatch = 2048;
// Nodes of the constant-step mode between two progress reports.
constexpr long long KNodesPerReport = 1024;
} // namespace

TCurveResult GenerateCurve(TMKPSpace& space, TCalcExpress& calc, const TCurveFields& fields, char separator,
                           const TCurveProgress& progress) {
    TCurveResult result;
    const char sep = separator ? separator : DecimalSeparator();
    try {
        // The formula is set first, then the variable list, so a formula that does not parse is
        // reported for both. An evaluator that has another variable list gets x beforehand,
        // silently: its old formula is of no concern here.
        const std::vector<std::string> variables{"x"};
        if (calc.Variables() != variables) {
            TRecordingDialogs silent;
            TDialogsGuard guard(silent);
            calc.SetVariables(variables);
        }
        calc.SetFormula(fields.Formula);
        calc.SetVariables(variables);

        const bool imperial = space.UnitSystem == 1;
        TReal step = ReadLength(fields.Step, imperial, sep);
        TReal tolerance = fields.Tolerance.empty() ? 0.0005L : ReadLength(fields.Tolerance, imperial, sep);
        TReal a = ReadLength(fields.From, imperial, sep);
        TReal b = ReadLength(fields.To, imperial, sep);
        if (a > b) std::swap(a, b);
        const TReal minStep = imperial ? KCurveMinStepImperial : KCurveMinStepMetric;
        if (step < minStep) step = minStep;
        if (a < b && CannotAdvance(a, b, fields.Mode == 0 ? step : KCurveChordGrid)) throw TCurveFailure{};

        auto f = [&calc](TReal x) { return calc.Evaluate({x}); };
        auto place = [&](TReal x, TReal y) {
            result.Nodes.push_back(space.PridejUzel(space.Nodes.Count() + 1, x, y));
            // Join the second-to-last node of the model to the last one.
            if (fields.Join && space.CurrentSection && space.Nodes.Count() >= 2) {
                TUzel* from = space.Nodes[space.Nodes.Count() - 2];
                TUzel* to = space.Nodes.Last();
                result.Members.push_back(space.PridejPrut(from, to, space.CurrentSection, false,
                                                          space.Members.Count() + 1, false, false));
            }
        };
        auto report = [&](TReal x) {
            if (progress && !progress(static_cast<double>((x - a) / (b - a)))) throw TCurveCancelled{};
        };

        // The first node, (a, f(a)), is never joined: it starts the row.
        TReal x = a;
        TReal y = f(x);
        result.Nodes.push_back(space.PridejUzel(space.Nodes.Count() + 1, x, y));
        TReal lastX = a;

        if (fields.Mode == 0) {
            // x grows by the step from a; a stepped node closer to b than rounding can tell apart
            // is b itself and is left to the end node, so no node lies beyond b and none twice.
            const TReal nearEnd = 1e-9L * std::max({std::fabs(a), std::fabs(b), step});
            for (long long count = 1;; ++count) {
                TReal next = x + step;
                if (next >= b - nearEnd) break;
                if (next <= x) throw TCurveFailure{};
                x = next;
                place(x, f(x));
                lastX = x;
                if (count % KNodesPerReport == 0) report(x);
            }
        } else {
            // Search along the grid of 0.000001 m for the first point whose chord from the last
            // placed point lies within the tolerance of the step. A grid point within half a grid
            // step of b is left to the end node. The grid points are evaluated a batch at a time,
            // which gives the same values as one by one; when a batch fails, it is gone through
            // again point by point, so the nodes before the failing point are placed first.
            const TReal lastGrid = b - KCurveChordGrid / 2.0L;
            // The square of a chord far enough outside the band step ± tolerance tells without a
            // square root that the chord misses it: the margin of 10^-9 is many orders above the
            // rounding of the root and of the difference, so no point changes its outcome.
            const TReal below = step - tolerance;
            const TReal squareLow = below > tolerance * 1e-6L ? (below * (1.0L - 1e-9L)) * (below * (1.0L - 1e-9L))
                                                              : -1.0L;
            const TReal above = (step + tolerance) * (1.0L + 1e-9L);
            const TReal squareHigh = above * above;
            TReal x0 = a, y0 = y;
            std::array<TReal, KChordBatch> xs{}, ys{};
            bool atEnd = false;
            while (!atEnd) {
                std::size_t n = 0;
                bool stalled = false;
                while (n < KChordBatch) {
                    if (!(x < b)) {
                        atEnd = true;
                        break;
                    }
                    TReal next = x + KCurveChordGrid;
                    if (next <= x) {
                        stalled = true;
                        break;
                    }
                    x = next;
                    if (x >= lastGrid) {
                        atEnd = true;
                        break;
                    }
                    xs[n++] = x;
                }
                bool batched = true;
                try {
                    calc.EvaluateBatch({xs.data(), n}, {ys.data(), n});
                } catch (const TCalcError&) {
                    batched = false;
                }
                for (std::size_t i = 0; i < n; ++i) {
                    const TReal xi = xs[i];
                    const TReal fx = batched ? ys[i] : f(xi);
                    TReal dy = y0 - fx;
                    TReal dx = xi - x0;
                    TReal square = dy * dy + dx * dx;
                    if (square < squareLow || square > squareHigh) continue;
                    TReal chord = std::sqrt(square);
                    if (std::fabs(chord - step) < tolerance) {
                        x0 = xi;
                        y0 = fx;
                        place(xi, fx);
                    }
                }
                if (stalled) throw TCurveFailure{};
                if (!atEnd) report(x);
            }
            lastX = x0;
        }

        // The end node (b, f(b)), joined like the others; none when the interval is one point.
        if (b > lastX) place(b, f(b));
        result.Succeeded = true;
    } catch (const TCurveCancelled&) {
        result.Cancelled = true;
    } catch (const TCurveFailure&) {
        Dialogs().Inform(KFailure);
    } catch (const std::exception&) {
        Dialogs().Inform(KFailure);
    }
    return result;
}
