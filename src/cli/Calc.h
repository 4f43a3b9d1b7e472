#pragma once
// The headless calculator korvan-calc: reads a project, runs the computation as the desktop
// command does, writes the trace files and prints the reactions and the node displacements.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "analysis/CaseResults.h"
#include "analysis/ProfileMatrix.h"
#include "base/Types.h"
#include "cli/Picture.h"
#include "cli/ReportCommand.h"
#include "model/MKPSpace.h"

// The parsed command line. A new option adds a field here and a row to the option table in
// Calc.cpp.
struct TCalcOptions {
    std::string Project;         // "-": standard input
    char Separator = 0;          // 0: the user's locale
    bool SelfWeight = false;
    TReal SelfWeightFactor = 1;
    int Divisions = 0;           // 0: the members keep their own
    std::string TraceDir;        // empty: the working directory
    bool Trace = true;
    std::uint64_t TraceLimit = TMKPSpace::KDefaultTraceMatrixLimit; // of the matrix files; 0: none
    bool Help = false;
    bool Version = false;
    TPictureOptions Picture;
    TReportOptions Reports;
    bool Table = false; // the reactions and displacements table instead of the results report
    bool ExactOrder = false; // eliminate in the model's equation order, whatever the numbering
    bool Check = false; // the equilibrium check instead of the results report
    std::uint64_t MaxSize = 0; // the largest project read, in bytes (0: the reader's own limit)
    // What the outputs show: a load case (also the case of the trace files), a combination or an
    // envelope of combinations; nothing chosen: the model's first case.
    std::string Case;
    std::string Combination;
    bool Envelope = false;
    TEnvelopeScope EnvelopeScope = TEnvelopeScope::All;
    bool ListCases = false;            // print the cases and the combinations instead of computing
    bool GenerateCombinations = false; // generate the EN 1990 combinations into the model
    std::string Save;                  // write the project (with what was generated) to this file
};

// Parses the arguments (without the program name). False with a message in error on bad usage.
bool ParseCalcOptions(const std::vector<std::string>& args, TCalcOptions& options, std::string& error);

// The usage text of --help.
std::string CalcUsage();

// The decimal separator of the user's locale (LC_ALL / LC_NUMERIC / LANG), '.' when unknown.
char UserLocaleSeparator();

// Whether the arguments ask for a picture that only the Qt painter draws (SVG, PDF, PNG).
bool PictureNeedsQt(const std::vector<std::string>& args);
// Whether such a picture is asked of a build of the calculator without Qt; that run is handed
// whole to the helper korvan-picture.
bool NeedsPictureHelper(const std::vector<std::string>& args);
// The path of korvan-picture: beside the running program (self: its path; empty: the running
// process's own).
std::string PictureHelperPath(const std::string& self = {});

// Runs korvan-calc with the given arguments (without the program name); returns the exit code:
// 0 computed, 1 the structure was refused, 2 bad usage, a project that cannot be read or a file
// that cannot be written. Messages go to err with their control characters escaped.
int RunCalc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The equilibrium check of a computed model (--check): ΣFx, ΣFy, ΣM and the relative residual
// on out; 1 with a message on err when the residual exceeds KCheckLimit or there are no results.
constexpr TReal KCheckLimit = KResidualLimit; // one bound: what computes passes the check
class TMKPSpace;
int PrintEquilibrium(TMKPSpace& space, std::ostream& out, std::ostream& err, char sep);
