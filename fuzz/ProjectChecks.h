#pragma once
// What follows a successful read of a project in the fuzz targets: the save, which must read back
// as the same model; the computation, whose results must be numbers and in equilibrium (a computed
// model passes what `korvan-calc --check` checks, or the computation refuses it); the results
// report and the model protocol.
#include <exception>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "analysis/Diagnostics.h"
#include "analysis/ModelCheck.h"
#include "base/Errors.h"
#include "base/NumberText.h"
#include "cli/Calc.h"
#include "reports/DocumentWriters.h"
#include "reports/Protocol.h"
#include "reports/ResultsReport.h"
#include "reports/StyledDocument.h"

namespace fuzz {

inline std::string Save(TMKPSpace& space) {
    std::ostringstream out;
    space.UlozProjekt(out);
    return out.str();
}

// The residual ‖K·u − f + R‖/‖f‖ of a model the computation accepted is within the limit of
// --check.
inline void RequireEquilibrium(TMKPSpace& space) {
    TEquilibrium e;
    if (!KontrolaRovnovahy(space, e)) Finding("a computed model has no results to check");
    if (!(e.Residual <= KCheckLimit))
        Finding("a computed model is out of equilibrium: residual " + FormatExponent(e.Residual, 3, 2, '.') +
                " (‖K·u − f + R‖ " + FormatExponent(e.ResidualNorm, 3, 2, '.') + ", ‖f‖ " +
                FormatExponent(e.LoadNorm, 3, 2, '.') + ")");
}

inline void CheckReadProject(TMKPSpace& space) {
    std::string saved;
    try {
        saved = Save(space);
    } catch (const TKorvanError&) {
        saved.clear(); // a model the writer refuses (names outside windows-1250 ...)
    }
    if (!saved.empty()) {
        // What was written reads back, and writes the very same bytes again.
        TMKPSpace again;
        try {
            std::istringstream in(saved);
            again.NactiProjekt(in);
        } catch (const std::exception& e) {
            Finding(std::string("a saved project does not read back: ") + e.what());
        }
        if (Save(again) != saved) Finding("a saved project reads back as another model");
    }
    if (!NajdiVaduModelu(space).empty()) return;
    LimitDivisions(space);
    if (space.Vypocet().Result == TSolveResult::Ok) {
        RequireFiniteResults(space);
        RequireEquilibrium(space);
        TStyledDocument report;
        BuildResultsReport(space, report, '.');
        const std::string text = DocumentToText(report);
        if (text.find("NAN") != std::string::npos || text.find("INF") != std::string::npos)
            Finding("the results report shows a value that is not a number");
        DocumentToRtf(report);
    }
    TStyledDocument protocol;
    ListProtocol(space, protocol, ',');
    DocumentToRtf(protocol);
}

} // namespace fuzz
