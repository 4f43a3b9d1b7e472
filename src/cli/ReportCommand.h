#pragma once
// The report options of korvan-calc: --report (the results report as text), --protocol (the model
// protocol as text; it cleans the model in memory, never the project file), --rtf FILE (the
// printed document also as an RTF file, written atomically) and --imperial (imperial display
// units, as the desktop program's unit-system state 1).
#include <iosfwd>
#include <string>
#include <vector>

class TMKPSpace;

struct TReportOptions {
    bool Report = false;
    bool Protocol = false;
    bool Imperial = false;
    std::string RtfFile;
};

enum class TReportOptionResult { NotReportOption, Taken, Error };

// Looks at args[i]; a report option is stored in `options` (--rtf also takes args[i + 1] and
// advances i). Error: a missing file name, --report together with --protocol, or --rtf twice;
// `error` then holds the Czech message.
TReportOptionResult TakeReportOption(const std::vector<std::string>& args, std::size_t& i,
                                     TReportOptions& options, std::string& error);

// Usage lines of the report options, for the program's help text.
extern const char* const KReportUsage;

// Whether a document is to be printed: on request, and the results report by default after a
// successful computation.
bool WantsReportOutput(const TReportOptions& options, const TMKPSpace& space);

// Sets the display unit system the options ask for (the metric system stays otherwise).
void ApplyReportOptions(TMKPSpace& space, const TReportOptions& options);

// Prints the protocol (with --protocol) or the results report as UTF-8 text and, with --rtf,
// saves the same document as RTF; --rtf - prints the RTF document instead of the text. Returns 0,
// or 2 after a message on `err` when the RTF file cannot be written (the text has been printed by
// then; an existing file is left untouched).
int RunReportCommand(TMKPSpace& space, const TReportOptions& options, std::ostream& out, std::ostream& err);
