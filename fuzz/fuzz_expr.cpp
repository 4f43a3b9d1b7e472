// The formula evaluator and the curve node generator: the first line is the formula, the next
// ones the interval, the step, the mode and the tolerance.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "base/NumberText.h"
#include "expr/CalcExpress.h"
#include "expr/CurveGenerator.h"

namespace {
std::string NextLine(std::istringstream& in, const char* fallback) {
    std::string line;
    if (!std::getline(in, line)) return fallback;
    return line.substr(0, 40);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const std::string formula = NextLine(in, "x");

    TCalcExpress calc('.');
    calc.SetVariables({"x", "y"});
    calc.SetFormula(formula);
    if (calc.Valid()) {
        for (TReal x : {-2.5L, -1.0L, 0.0L, 0.5L, 3.0L, 1e300L}) {
            try {
                const TReal v = calc.Evaluate({x, 2.0L});
                if (!std::isfinite(v)) fuzz::Finding("the evaluator returned a value that is not finite");
            } catch (const TCalcError&) {
            }
        }
    }

    TCurveFields fields;
    fields.Formula = formula;
    fields.From = NextLine(in, "0");
    fields.To = NextLine(in, "2");
    fields.Step = NextLine(in, "0.5");
    fields.Mode = NextLine(in, "0") == "1" ? 1 : 0;
    fields.Tolerance = NextLine(in, "");
    fields.Join = true;
    // Keep one input fast: a short interval and a coarse enough step. The chord search evaluates
    // the formula at every micrometre of the interval, so its interval is shorter still.
    TReal from = 0, to = 0, step = 0;
    if (!TryStrToFloat(fields.From, from, '.') || !TryStrToFloat(fields.To, to, '.') ||
        !TryStrToFloat(fields.Step, step, '.'))
        return 0;
    const TReal longest = fields.Mode == 1 ? 0.2L : 20;
    if (!(std::fabs(to - from) <= longest) || !(std::fabs(step) >= 0.05L)) return 0;
    TMKPSpace space;
    TMaterial* m = space.PridejMaterial("S", 210000, 7850);
    space.CurrentSection = space.PridejProfil("P", m, 0.01, 1e-4, 1e-4);
    const TCurveResult r = GenerateCurve(space, calc, fields, '.');
    for (const TUzel* n : r.Nodes)
        if (!std::isfinite(n->X) || !std::isfinite(n->Y)) fuzz::Finding("a generated node is not finite");
    return 0;
}
