// The project and library readers with what follows a successful read: the computation, the
// results report and the model protocol, and the save, which must read back to the same file.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "analysis/ModelCheck.h"
#include "model/Errors.h"
#include "reports/DocumentWriters.h"
#include "reports/Protocol.h"
#include "reports/ResultsReport.h"
#include "reports/StyledDocument.h"

namespace {
std::string Save(TMKPSpace& space) {
    std::ostringstream out;
    space.UlozProjekt(out);
    return out.str();
}

void Project(const std::string& text) {
    TMKPSpace space;
    space.TraceEnabled = false;
    try {
        std::istringstream in(text);
        space.NactiProjekt(in);
    } catch (const TKorvanError&) {
        return; // refused with a message: what a bad file should get
    }
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
            fuzz::Finding(std::string("a saved project does not read back: ") + e.what());
        }
        if (Save(again) != saved) fuzz::Finding("a saved project reads back as another model");
    }
    if (!NajdiVaduModelu(space).empty()) return;
    fuzz::LimitDivisions(space);
    if (space.Vypocet().Result == TSolveResult::Ok) {
        fuzz::RequireFiniteResults(space);
        fuzz::RequireEquilibrium(space);
        TStyledDocument report;
        BuildResultsReport(space, report, '.');
        const std::string text = DocumentToText(report);
        if (text.find("NAN") != std::string::npos || text.find("INF") != std::string::npos)
            fuzz::Finding("the results report shows a value that is not a number");
        DocumentToRtf(report);
    }
    TStyledDocument protocol;
    ListProtocol(space, protocol, ',');
    DocumentToRtf(protocol);
}

void Library(const std::string& text, bool sections) {
    TMKPSpace space;
    try {
        std::istringstream in(text);
        if (sections)
            space.NactiKnihovnuProfilu(in);
        else
            space.NactiKnihovnuMaterialu(in);
    } catch (const TKorvanError&) {
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    const std::string text(reinterpret_cast<const char*>(data), size);
    Project(text);
    // The library readers share the line reader; the first byte picks which one also reads it.
    Library(text, size > 0 && (data[0] & 1));
    return 0;
}
