#include "cli/CurveCommand.h"

#include <exception>
#include <ostream>

#include "base/MessageText.h"
#include "expr/CalcExpress.h"
#include "expr/CurveGenerator.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"

namespace {
const char* const KCurveUsage =
    "Použití: korvan-calc --curve VZOREC --from A --to B --step S [--chord [--tolerance T]] [--join]\n"
    "                     --save VYSTUP.inp [PROJEKT.inp]\n"
    "  --curve VZOREC   funkce y = f(x), x a y v metrech (desetinná tečka)\n"
    "  --from, --to     interval v x (m)\n"
    "  --step S         krok v x, s --chord délka tětivy (m)\n"
    "  --chord          konstantní délka tětivy místo konstantního kroku v x\n"
    "  --tolerance T    přesnost délky tětivy (m), výchozí 0.0005\n"
    "  --join           spojit nové uzly pruty s prvním profilem projektu\n"
    "  --save VYSTUP    soubor, do něhož se projekt uloží (- na standardní výstup)\n";

int Usage(std::ostream& err, const std::string& problem) {
    err << problem << "\n" << KCurveUsage;
    return 2;
}
} // namespace

int RunCurveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TCurveFields fields;
    fields.Tolerance.clear();
    bool haveCurve = false, haveFrom = false, haveTo = false, haveStep = false, haveTolerance = false;
    std::string save, project;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& target, bool& seen) {
            if (i + 1 >= args.size()) return false;
            target = args[++i];
            seen = true;
            return true;
        };
        bool seen = false;
        if (a == "--curve") {
            if (!value(fields.Formula, haveCurve)) return Usage(err, "Chybí vzorec za volbou --curve.");
        } else if (a == "--from") {
            if (!value(fields.From, haveFrom)) return Usage(err, "Chybí hodnota za volbou --from.");
        } else if (a == "--to") {
            if (!value(fields.To, haveTo)) return Usage(err, "Chybí hodnota za volbou --to.");
        } else if (a == "--step") {
            if (!value(fields.Step, haveStep)) return Usage(err, "Chybí hodnota za volbou --step.");
        } else if (a == "--tolerance") {
            if (!value(fields.Tolerance, haveTolerance))
                return Usage(err, "Chybí hodnota za volbou --tolerance.");
        } else if (a == "--save") {
            if (!value(save, seen)) return Usage(err, "Chybí soubor za volbou --save.");
        } else if (a == "--chord") {
            fields.Mode = 1;
        } else if (a == "--join") {
            fields.Join = true;
        } else if (!a.empty() && a[0] == '-') {
            return Usage(err, "Neznámá volba: " + a);
        } else if (project.empty()) {
            project = a;
        } else {
            return Usage(err, "Zadejte nejvýše jeden projekt.");
        }
    }
    if (!haveCurve || !haveFrom || !haveTo || !haveStep)
        return Usage(err, "Zadejte --curve, --from, --to a --step.");
    if (save.empty()) return Usage(err, "Zadejte výstupní soubor volbou --save.");
    if (haveTolerance && fields.Mode != 1) return Usage(err, "Volba --tolerance patří k volbě --chord.");

    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    auto showMessages = [&] {
        for (const std::string& m : sink.Messages)
            err << m << "\n";
        sink.Messages.clear();
    };
    TMKPSpace space;
    if (!project.empty()) {
        try {
            space.NactiProjekt(project);
        } catch (const std::exception& e) {
            showMessages();
            err << project << ": " << ErrorText(e) << "\n";
            return 2;
        }
    }
    if (fields.Join) {
        space.CurrentSection = space.Sections.First();
        if (!space.CurrentSection) err << "Projekt nemá žádný profil: nové uzly se nespojí pruty.\n";
    }

    TCalcExpress calc('.');
    TCurveResult result = GenerateCurve(space, calc, fields, '.');
    showMessages();
    if (!result.Succeeded) return 2;

    // "-" writes the project to standard output; the summary then goes with the messages.
    try {
        if (save == "-")
            space.UlozProjekt(out);
        else
            space.UlozProjekt(save);
    } catch (const std::exception& e) {
        showMessages();
        err << save << ": " << ErrorText(e) << "\n";
        return 2;
    }
    showMessages();
    (save == "-" ? err : out) << "Přidáno uzlů: " << result.Nodes.size()
                              << ", prutů: " << result.Members.size() << "\n"
                              << "Uloženo: " << save << "\n";
    return 0;
}
