#pragma once
// The node generator along a function curve y = f(x): reads the texts of the "2D f(x) editor"
// fields and adds a row of nodes (and, when asked, members between them) to a model space.
// Lengths are in m; in the imperial unit system the step, the tolerance and the interval ends are
// feet-inch texts.
#include <functional>
#include <string>
#include <vector>

#include "expr/CalcExpress.h"
#include "model/MKPSpace.h"

// The field texts of the editor, with the editor's defaults.
struct TCurveFields {
    std::string Formula = "x/2";      // "Y="
    std::string Step = "1";           // "Krok (x,l):" the step in x or along the curve
    std::string From = "0";           // "Inteval:"
    std::string To = "1";             // "to:"
    int Mode = 0;                     // 0 "x konst." (constant step in x), 1 "l konst." (constant chord)
    std::string Tolerance = "0,0005"; // "Přesnost:" tolerance of the chord; empty means 0.0005
    bool Join = false;                // "Spojit": join consecutive new nodes with members
};

// What one generation added, in the order added. Succeeded is false after a failure or a
// cancellation; what was added before it stays in the model and is listed here too.
struct TCurveResult {
    bool Succeeded = false;
    bool Cancelled = false; // the progress callback asked to stop (no message is shown)
    std::vector<TUzel*> Nodes;
    std::vector<TPrut*> Members;
};

// The smallest step and the grid of the chord search, in m.
constexpr TReal KCurveMinStepMetric = 0.05L;
constexpr TReal KCurveMinStepImperial = 0.0254L;
constexpr TReal KCurveChordGrid = 0.000001L;

// Told now and then how far a generation has come (0 … 1 of the interval); answers false to
// stop it there. Long runs are allowed: a caller that shows a window offers a way to stop.
using TCurveProgress = std::function<bool(double fraction)>;

// Generates the curve on the model space with the given evaluator (its formula and variable list
// are replaced). separator: decimal separator of the number fields ('\0': the program's); the
// formula's numbers are read with the evaluator's own separator.
// A formula that does not parse shows "Error in formula." twice (for the formula and for the
// variable list). Any failure (a field that is no number, an evaluation error, a stepping that
// cannot advance because x + step equals x) shows "Operace selhala. Zkontrolujte vstupní údaje."
// through Dialogs() and keeps what was added. The caller repaints.
TCurveResult GenerateCurve(TMKPSpace& space, TCalcExpress& calc, const TCurveFields& fields,
                           char separator = '\0', const TCurveProgress& progress = {});
