#include "expr/CurveGenerator.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

#include "model/NumberText.h"
#include "model/UserDialogs.h"
#include "units/Prevody.h"

namespace {
const char* const KFailure = "Operace selhala. Zkontrolujte vstupní údaje.";

// Ends a generation that would not terminate or whose input is no usable number.
struct TCurveFailure {};

// A length field: a feet-inch text in the imperial system, else a plain number.
TReal ReadLength(const std::string& text, bool imperial, char separator) {
    TReal v = imperial ? FtInNaMetry(text, separator) : StrToFloat(text, separator);
    if (!std::isfinite(v)) throw TCurveFailure{};
    return v;
}
} // namespace

TCurveResult GenerateCurve(TMKPSpace& space, TCalcExpress& calc, const TCurveFields& fields, char separator) {
    TCurveResult result;
    const char sep = separator ? separator : DecimalSeparator();
    try {
        // The variable list goes first, and only when it differs, so that the formula is parsed
        // once, against x: a bad formula reports "Error in formula." once.
        const std::vector<std::string> variables{"x"};
        if (calc.Variables() != variables) calc.SetVariables(variables);
        calc.SetFormula(fields.Formula);

        const bool imperial = space.UnitSystem == 1;
        TReal step = ReadLength(fields.Step, imperial, sep);
        TReal tolerance = fields.Tolerance.empty() ? 0.0005L : ReadLength(fields.Tolerance, imperial, sep);
        TReal a = ReadLength(fields.From, imperial, sep);
        TReal b = ReadLength(fields.To, imperial, sep);
        if (a > b) std::swap(a, b);
        const TReal minStep = imperial ? KCurveMinStepImperial : KCurveMinStepMetric;
        if (step < minStep) step = minStep;

        if (fields.Mode == 0 ? (b - a) / step > static_cast<TReal>(KCurveMaxNodes)
                             : (b - a) / KCurveChordGrid > static_cast<TReal>(KCurveMaxGridSteps))
            throw TCurveFailure{};

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

        // The first node, (a, f(a)), is never joined: it starts the row.
        TReal x = a;
        TReal y = f(x);
        result.Nodes.push_back(space.PridejUzel(space.Nodes.Count() + 1, x, y));
        TReal lastX = a;

        if (fields.Mode == 0) {
            // x grows by the step from a; a stepped node closer to b than rounding can tell apart
            // is b itself and is left to the end node, so no node lies beyond b and none twice.
            const TReal nearEnd = 1e-9L * std::max({std::fabs(a), std::fabs(b), step});
            for (;;) {
                TReal next = x + step;
                if (next >= b - nearEnd) break;
                if (next <= x) throw TCurveFailure{};
                x = next;
                place(x, f(x));
                lastX = x;
            }
        } else {
            // Search along the grid of 0.000001 m for the first point whose chord from the last
            // placed point lies within the tolerance of the step; f is evaluated once per grid
            // point. A grid point within half a grid step of b is left to the end node.
            const TReal lastGrid = b - KCurveChordGrid / 2.0L;
            TReal x0 = a, y0 = y;
            while (x < b) {
                TReal next = x + KCurveChordGrid;
                if (next <= x) throw TCurveFailure{};
                x = next;
                if (x >= lastGrid) break;
                TReal fx = f(x);
                TReal dy = y0 - fx;
                TReal dx = x - x0;
                TReal chord = std::sqrt(dy * dy + dx * dx);
                if (std::fabs(chord - step) < tolerance) {
                    x0 = x;
                    y0 = fx;
                    place(x, fx);
                }
            }
            lastX = x0;
        }

        // The end node (b, f(b)), joined like the others; none when the interval is one point.
        if (b > lastX) place(b, f(b));
        result.Succeeded = true;
    } catch (const TCurveFailure&) {
        Dialogs().Inform(KFailure);
    } catch (const std::exception&) {
        Dialogs().Inform(KFailure);
    }
    return result;
}
