#include "cli/Calc.h"

#include <algorithm>
#include <ostream>

#include "cli/CurveCommand.h"
#include "cli/Picture.h"
#include "cli/ReportCommand.h"
#include "model/Errors.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"

namespace {
const char* const KUsage = "Použití: korvan-calc [volby] PROJEKT.inp\n"
                           "  --help       tato nápověda\n"
                           "  --version    verze programu\n";
}

int RunCalc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (std::find(args.begin(), args.end(), "--curve") != args.end()) return RunCurveCommand(args, out, err);
    std::string project;
    TPictureOptions picture;
    TReportOptions reportOptions;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string pictureError;
        if (TakePictureOption(args, i, picture, pictureError)) {
            if (pictureError.empty()) continue;
            err << pictureError << "\n" << KUsage << KPictureUsage;
            return 2;
        }
        if (a == "--help") {
            out << KUsage << KPictureUsage << KReportUsage;
            return 0;
        }
        std::string reportError;
        TReportOptionResult taken = TakeReportOption(args, i, reportOptions, reportError);
        if (taken == TReportOptionResult::Error) {
            err << reportError << "\n" << KUsage << KReportUsage;
            return 2;
        }
        if (taken == TReportOptionResult::Taken) continue;
        if (a == "--version") {
            out << "korvan-calc " << KORVAN_VERSION << "\n";
            return 0;
        }
        if (!a.empty() && a[0] == '-') {
            err << "Neznámá volba: " << a << "\n" << KUsage;
            return 2;
        }
        project = a;
    }
    if (project.empty()) {
        err << KUsage;
        return 2;
    }
    TMKPSpace space;
    try {
        space.NactiProjekt(project);
    } catch (const std::exception& e) {
        err << project << ": " << e.what() << "\n";
        return 2;
    }
    // A report follows a computation (the default without a picture); the protocol lists the model
    // only. The solver's refusals come through the message sink and go to the error stream.
    const bool report = !reportOptions.Protocol &&
                        (reportOptions.Report || !reportOptions.RtfFile.empty() || !picture.Requested);
    int refused = 0;
    if (report) {
        TRecordingDialogs messages;
        TDialogsGuard guard(messages);
        const TMKPSpace::TSolveResult result = space.Vypocet().Result;
        for (const std::string& m : messages.Messages)
            err << m << "\n";
        if (result == TMKPSpace::TSolveResult::ZeroPivot || result == TMKPSpace::TSolveResult::Mechanism)
            refused = 1;
        if (refused && !reportOptions.Report) return refused;
    }
    if (WantsReportOutput(reportOptions, space) || report) {
        int code = RunReportCommand(space, reportOptions, out, err);
        if (code == 0 && picture.Requested) code = WritePicture(space, picture, out, err);
        return code ? code : refused;
    }
    out << "Projekt: " << project << "\n"
        << "Materiály: " << space.Materials.Count() << ", profily: " << space.Sections.Count()
        << ", uzly: " << space.Nodes.Count() << ", pruty: " << space.Members.Count() << "\n";
    if (picture.Requested) return WritePicture(space, picture, out, err);
    return 0;
}
