#include "cli/ReportCommand.h"

#include <ostream>

#include "base/Errors.h"
#include "model/MKPSpace.h"
#include "reports/CaseReports.h"
#include "reports/DocumentWriters.h"
#include "reports/Protocol.h"
#include "reports/ResultsReport.h"

const char* const KReportUsage =
    "  --report     výsledky výpočtu jako text (výchozí po úspěšném výpočtu)\n"
    "  --protocol   protokol modelu jako text (nepoužité objekty odstraní jen v paměti)\n"
    "  --rtf SOUBOR  vypsaný dokument také jako RTF (- místo textu na standardní výstup)\n"
    "  --imperial   hodnoty v imperiálních jednotkách\n";

TReportOptionResult TakeReportOption(const std::vector<std::string>& args, std::size_t& i,
                                     TReportOptions& options, std::string& error) {
    const std::string& a = args[i];
    if (a == "--report" || a == "--protocol") {
        (a == "--report" ? options.Report : options.Protocol) = true;
        if (options.Report && options.Protocol) {
            error = "Volby --report a --protocol nelze použít současně.";
            return TReportOptionResult::Error;
        }
        return TReportOptionResult::Taken;
    }
    if (a == "--imperial") {
        options.Imperial = true;
        return TReportOptionResult::Taken;
    }
    if (a == "--rtf") {
        if (!options.RtfFile.empty()) {
            error = "Volba --rtf smí být zadána jen jednou.";
            return TReportOptionResult::Error;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = "Volba --rtf vyžaduje jméno souboru.";
            return TReportOptionResult::Error;
        }
        options.RtfFile = args[++i];
        return TReportOptionResult::Taken;
    }
    return TReportOptionResult::NotReportOption;
}

bool WantsReportOutput(const TReportOptions& options, const TMKPSpace& space) {
    return options.Report || options.Protocol || !options.RtfFile.empty() || space.ResultsValid;
}

void ApplyReportOptions(TMKPSpace& space, const TReportOptions& options) {
    if (options.Imperial) space.NastavSoustavuJednotek(1);
}

int RunReportCommand(TMKPSpace& space, const TReportOptions& options, std::ostream& out, std::ostream& err) {
    ApplyReportOptions(space, options);
    TStyledDocument doc;
    if (options.Protocol)
        BuildProtocol(space, doc);
    else if (space.Envelope)
        BuildEnvelopeReport(space, doc);
    else
        BuildResultsReport(space, doc);
    // "-" puts the RTF document on standard output in place of the text.
    if (options.RtfFile == "-") {
        out << DocumentToRtf(doc);
        out.flush();
        return out ? 0 : 2;
    }
    out << DocumentToText(doc);
    out.flush();
    if (options.RtfFile.empty()) return 0;
    try {
        SaveDocumentAsRtf(doc, options.RtfFile);
    } catch (const TFileIoError& e) {
        const std::string message = e.what();
        if (message.find(options.RtfFile) == std::string::npos) err << options.RtfFile << ": ";
        err << message << "\n";
        return 2;
    }
    return 0;
}
