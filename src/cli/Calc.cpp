#include "cli/Calc.h"

#include <algorithm>
#include <ostream>

#include "cli/CurveCommand.h"
#include "cli/Picture.h"
#include "model/Errors.h"
#include "model/MKPSpace.h"

namespace {
const char* const KUsage = "Použití: korvan-calc [volby] PROJEKT.inp\n"
                           "  --help       tato nápověda\n"
                           "  --version    verze programu\n";
}

int RunCalc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (std::find(args.begin(), args.end(), "--curve") != args.end()) return RunCurveCommand(args, out, err);
    std::string project;
    TPictureOptions picture;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string pictureError;
        if (TakePictureOption(args, i, picture, pictureError)) {
            if (pictureError.empty()) continue;
            err << pictureError << "\n" << KUsage << KPictureUsage;
            return 2;
        }
        if (a == "--help") {
            out << KUsage << KPictureUsage;
            return 0;
        }
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
    out << "Projekt: " << project << "\n"
        << "Materiály: " << space.Materials.Count() << ", profily: " << space.Sections.Count()
        << ", uzly: " << space.Nodes.Count() << ", pruty: " << space.Members.Count() << "\n";
    if (picture.Requested) return WritePicture(space, picture, out, err);
    return 0;
}
