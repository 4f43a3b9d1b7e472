#include "cli/Calc.h"

#include <cctype>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <exception>
#include <filesystem>
#include <iostream>
#include <ostream>

#include "analysis/Diagnostics.h"
#include "analysis/EquationOrder.h"
#include "analysis/En1990.h"
#include "analysis/ModelCheck.h"
#include "analysis/ProfileMatrix.h"
#include "analysis/TraceFile.h"
#include "base/Errors.h"
#include "base/MessageText.h"
#include "base/NumberText.h"
#include "cli/CurveCommand.h"
#include "cli/Picture.h"
#include "cli/ReportCommand.h"
#include "cli/TerminalText.h"
#include "model/AtomicFile.h"
#include "model/MKPSpace.h"
#include "model/ProjectFileLines.h"
#include "model/UserDialogs.h"
#include "reports/CaseReports.h"
#include "reports/DocumentWriters.h"
#include "analysis/Envelope.h"
#include "units/Prevody.h"

namespace {
// Messages of the core go to the error stream, one line each; there are no questions to answer.
class TStreamDialogs : public TUserDialogs {
public:
    explicit TStreamDialogs(std::ostream& err) : mErr(err) {}
    void Inform(const std::string& message) override { mErr << message << "\n"; }
    bool AskYesNo(const std::string& question) override {
        mErr << question << " Ne\n";
        return false;
    }

private:
    std::ostream& mErr;
};

// One row per option: its name, the name of its argument (nullptr for a switch), the help line,
// and what it does to the options (false with a message when the argument is bad).
struct TOptionSpec {
    const char* Name;
    const char* Argument;
    const char* Help;
    bool (*Apply)(TCalcOptions& o, const std::string& arg, std::string& error);
};

// A size in bytes, with an optional k, M or G (binary multiples).
bool ReadSize(const std::string& text, std::uint64_t& bytes) {
    std::string digits = text;
    std::uint64_t unit = 1;
    if (!digits.empty()) {
        const char last = char(std::toupper(static_cast<unsigned char>(digits.back())));
        const int shift = last == 'K' ? 10 : last == 'M' ? 20 : last == 'G' ? 30 : 0;
        if (shift) {
            unit = std::uint64_t(1) << shift;
            digits.pop_back();
        }
    }
    if (digits.empty() || digits.size() > 12 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    bytes = std::stoull(digits) * unit;
    return bytes > 0;
}

bool ReadReal(const std::string& text, TReal& value) {
    std::string s = text;
    for (char& c : s)
        if (c == ',') c = '.';
    return TryStrToFloat(s, value, '.') && std::isfinite(value);
}

const TOptionSpec KOptions[] = {
    {"--decimal-separator", ", | .",
     "oddělovač desetinných míst ve výpisech i v souborech výpočtu (jinak podle prostředí)",
     [](TCalcOptions& o, const std::string& arg, std::string& error) {
         if (arg != "," && arg != ".") {
             error = "Oddělovač musí být \",\" nebo \".\": " + arg;
             return false;
         }
         o.Separator = arg[0];
         return true;
     }},
    {"--self-weight", "SOUČINITEL", "zapne vlastní tíhu konstrukce s daným součinitelem",
     [](TCalcOptions& o, const std::string& arg, std::string& error) {
         if (!ReadReal(arg, o.SelfWeightFactor)) {
             error = "Neplatný součinitel vlastní tíhy: " + arg;
             return false;
         }
         o.SelfWeight = true;
         return true;
     }},
    {"--divisions", "N", "počet dílků prutů pro průběhy vnitřních sil (nejméně 10)",
     [](TCalcOptions& o, const std::string& arg, std::string& error) {
         int n = 0;
         if (!TryStrToInt(arg, n) || n < 1) {
             error = "Neplatný počet dílků: " + arg;
             return false;
         }
         o.Divisions = n;
         return true;
     }},
    {"--trace-dir", "ADRESÁŘ", "zapíše soubory výpočtu 00*.out do daného adresáře (jinak do pracovního)",
     [](TCalcOptions& o, const std::string& arg, std::string& error) {
         if (arg.empty()) {
             error = "Chybí adresář pro soubory výpočtu.";
             return false;
         }
         o.TraceDir = arg;
         return true;
     }},
    {"--max-size", "VELIKOST", "největší načtený projekt v bajtech, i s k, M, G (výchozí 1G)",
     [](TCalcOptions& o, const std::string& arg, std::string& error) {
         if (!ReadSize(arg, o.MaxSize)) {
             error = "Neplatná velikost: " + arg;
             return false;
         }
         return true;
     }},
    {"--trace-limit", "VELIKOST",
     "největší souhrnná velikost souborů matic 00KG.out a 00KGa.out v bajtech, i s k, M, G (výchozí 64M, 0 bez "
     "omezení); nad ní se zapíší jen soubory vektorů",
     [](TCalcOptions& o, const std::string& arg, std::string& error) {
         if (arg == "0") {
             o.TraceLimit = 0;
             return true;
         }
         if (!ReadSize(arg, o.TraceLimit)) {
             error = "Neplatná velikost: " + arg;
             return false;
         }
         return true;
     }},
    {"--no-trace", nullptr, "nezapisuje soubory výpočtu",
     [](TCalcOptions& o, const std::string&, std::string&) {
         o.Trace = false;
         return true;
     }},
    {"--table", nullptr, "vypíše tabulku reakcí a posunů uzlů místo výsledkové zprávy",
     [](TCalcOptions& o, const std::string&, std::string&) {
         o.Table = true;
         return true;
     }},
    {"--exact-order", nullptr,
     "řeší soustavu vždy v pořadí rovnic modelu (výsledky bit po bitu jako husté vylučování)",
     [](TCalcOptions& o, const std::string&, std::string&) {
         o.ExactOrder = true;
         return true;
     }},
    {"--case", "NÁZEV", "výsledky, obrázek a soubory výpočtu zatěžovacího stavu NÁZEV",
     [](TCalcOptions& o, const std::string& arg, std::string& error) {
         if (arg.empty()) {
             error = "Chybí název zatěžovacího stavu.";
             return false;
         }
         o.Case = arg;
         return true;
     }},
    {"--combination", "NÁZEV", "výsledky a obrázek kombinace NÁZEV (součet stavů s jejich součiniteli)",
     [](TCalcOptions& o, const std::string& arg, std::string& error) {
         if (arg.empty()) {
             error = "Chybí název kombinace.";
             return false;
         }
         o.Combination = arg;
         return true;
     }},
    {"--envelope", "[ULS|SLS|ALL]", "obálka kombinací mezních stavů únosnosti, použitelnosti nebo všech",
     [](TCalcOptions& o, const std::string& arg, std::string& error) {
         if (arg == "ULS" || arg == "uls")
             o.EnvelopeScope = TEnvelopeScope::Ultimate;
         else if (arg == "SLS" || arg == "sls")
             o.EnvelopeScope = TEnvelopeScope::Serviceability;
         else if (arg == "ALL" || arg == "all" || arg.empty())
             o.EnvelopeScope = TEnvelopeScope::All;
         else {
             error = "Obálka musí být ULS, SLS nebo ALL: " + arg;
             return false;
         }
         o.Envelope = true;
         return true;
     }},
    {"--list-cases", nullptr, "vypíše zatěžovací stavy a kombinace (i vygenerované podle EN 1990)",
     [](TCalcOptions& o, const std::string&, std::string&) {
         o.ListCases = true;
         return true;
     }},
    {"--generate-combinations", nullptr, "vygeneruje kombinace podle EN 1990 do modelu (uloží je --save)",
     [](TCalcOptions& o, const std::string&, std::string&) {
         o.GenerateCombinations = true;
         return true;
     }},
    {"--save", "SOUBOR", "uloží projekt (i s vygenerovanými kombinacemi) do souboru",
     [](TCalcOptions& o, const std::string& arg, std::string& error) {
         if (arg.empty()) {
             error = "Chybí soubor pro uložení projektu.";
             return false;
         }
         o.Save = arg;
         return true;
     }},
    {"--help", nullptr, "tato nápověda",
     [](TCalcOptions& o, const std::string&, std::string&) {
         o.Help = true;
         return true;
     }},
    {"--version", nullptr, "verze programu",
     [](TCalcOptions& o, const std::string&, std::string&) {
         o.Version = true;
         return true;
     }},
    {"--check", nullptr,
     "kontrola rovnováhy: ΣFx, ΣFy, ΣM a reziduum ‖K·u − f‖/‖f‖ (návratový kód 1 nad 1e-6)",
     [](TCalcOptions& o, const std::string&, std::string&) {
         o.Check = true;
         return true;
     }},
};

// Width of a UTF-8 text in characters.
std::size_t Width(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

std::string Right(const std::string& s, std::size_t width) {
    std::size_t w = Width(s);
    return w >= width ? s : std::string(width - w, ' ') + s;
}

std::string Left(const std::string& s, std::size_t width) {
    std::size_t w = Width(s);
    return w >= width ? s : s + std::string(width - w, ' ');
}

// A column of the table, right-aligned; a value as wide as the column, or wider, keeps a blank
// before it, so that columns never run together.
std::string Column(const std::string& s, std::size_t width) {
    return " " + Right(s, width - 1);
}

void PrintResults(const TMKPSpace& space, std::ostream& out, char sep) {
    out << "Reakce\n"
        << Right("Uzel", 6) << Column("Rovnice", 9) << "  " << Left("Složka", 8) << Column("Hodnota", 16)
        << "\n";
    for (const TUzel* n : space.Nodes) {
        const struct {
            const TNodeDof& dof;
            const char* name;
            const char* unit;
        } dofs[3] = {{n->DofRot, "M", " kNm"}, {n->DofU, "H", " kN"}, {n->DofW, "V", " kN"}};
        for (const auto& d : dofs)
            if (d.dof.Fixed)
                out << Right(std::to_string(n->Number), 6) << Column(std::to_string(d.dof.Code), 9) << "  "
                    << Left(d.name, 8) << Column(FormatFixed(d.dof.Reaction, 12, 3, sep), 16) << d.unit
                    << "\n";
    }
    out << "\nPosuny uzlů\n"
        << Right("Uzel", 6) << Column("Pootočení [mrad]", 20) << Column("u [mm]", 20) << Column("w [mm]", 20)
        << "\n";
    for (const TUzel* n : space.Nodes) {
        out << Right(std::to_string(n->Number), 6);
        for (std::size_t k = 0; k < 3; ++k)
            out << Column(n->Displacement.size() == 3 ? FormatFixed(n->Displacement[k], 15, 6, sep) : "-",
                          20);
        out << "\n";
    }
}

// The extremes of the reactions and of the node displacements over the envelope's combinations.
void PrintEnvelope(const TMKPSpace& space, std::ostream& out, char sep) {
    const TObalka& e = *space.Envelope;
    const auto by = [&e](int i) { return i >= 0 ? e.Combinations[std::size_t(i)]->Name : std::string("-"); };
    out << "Obálka kombinací:";
    for (const TKombinace* k : e.Combinations) out << " " << k->Name << (k == e.Combinations.back() ? "" : ",");
    out << "\n\nReakce\n"
        << Right("Uzel", 6) << Column("Rovnice", 9) << "  " << Left("Složka", 8) << Column("Max", 16) << "  "
        << Left("Kombinace", 12) << Column("Min", 16) << "  Kombinace\n";
    const char* const names[3] = {"M", "H", "V"};
    for (int p = 0; p < space.Nodes.Count(); ++p) {
        const TUzel* n = space.Nodes[p];
        const TNodeDof* dofs[3] = {&n->DofRot, &n->DofU, &n->DofW};
        for (std::size_t d = 0; d < 3; ++d) {
            if (!dofs[d]->Fixed) continue;
            const TExtreme& x = e.Nodes[std::size_t(p)].Reaction[d];
            out << Right(std::to_string(n->Number), 6) << Column(std::to_string(dofs[d]->Code), 9) << "  "
                << Left(names[d], 8) << Column(FormatFixed(x.Max, 12, 3, sep), 16) << "  " << Left(by(x.MaxBy), 12)
                << Column(FormatFixed(x.Min, 12, 3, sep), 16) << "  " << by(x.MinBy) << "\n";
        }
    }
    out << "\nPosuny uzlů\n"
        << Right("Uzel", 6) << "  " << Left("Složka", 16) << Column("Max", 20) << "  " << Left("Kombinace", 12)
        << Column("Min", 20) << "  Kombinace\n";
    const char* const dofNames[3] = {"pootočení [mrad]", "u [mm]", "w [mm]"};
    for (int p = 0; p < space.Nodes.Count(); ++p)
        for (std::size_t d = 0; d < 3; ++d) {
            const TExtreme& x = e.Nodes[std::size_t(p)].Displacement[d];
            out << Right(std::to_string(space.Nodes[p]->Number), 6) << "  " << Left(dofNames[d], 16)
                << Column(FormatFixed(x.Max, 15, 6, sep), 20) << "  " << Left(by(x.MaxBy), 12)
                << Column(FormatFixed(x.Min, 15, 6, sep), 20) << "  " << by(x.MinBy) << "\n";
        }
}

// The cases and the combinations of the model; a model without generated combinations also shows
// those EN 1990 would give.
void PrintCases(TMKPSpace& space, std::ostream& out, char sep) {
    TStyledDocument doc;
    if (space.LoadCases.Empty() && space.Combinations.Empty()) {
        out << "Model nemá zatěžovací stavy: všechna zatížení patří stavu „" << space.DefaultCase.Name << "“.\n";
    } else {
        ListCasesAndCombinations(space, doc, sep);
        out << DocumentToText(doc);
    }
    bool generated = false;
    for (const TKombinace* k : space.Combinations) generated = generated || k->Kind != TCombinationKind::User;
    if (generated) return;
    std::vector<std::string> taken;
    for (const TKombinace* k : space.Combinations) taken.push_back(k->Name);
    out << "\nKombinace podle EN 1990 (--generate-combinations je vloží do modelu):\n";
    for (const auto& k : GenerujKombinace(space.PocitaneStavy(), {}, taken))
        out << k->Name << " (" << CombinationKindName(k->Kind) << ", " << k->Formula << ") = " << k->TermsText(sep)
            << "\n";
}

// What the outputs show, from --case, --combination and --envelope; false with the reason when
// the model has no such case or combination.
bool ChooseResults(TMKPSpace& space, const TCalcOptions& options, std::string& why) {
    TResultsChoice choice;
    if (!options.Case.empty()) {
        choice = {TResultsKind::Case, options.Case, {}, TEnvelopeScope::All};
        if (!space.NastavVysledky(choice)) {
            why = "model nemá zatěžovací stav „" + options.Case + "“.";
            return false;
        }
        space.TracedCase = options.Case;
        return true;
    }
    if (!options.Combination.empty()) {
        choice = {TResultsKind::Combination, options.Combination, {}, TEnvelopeScope::All};
        if (!space.NastavVysledky(choice)) {
            why = "model nemá kombinaci „" + options.Combination + "“.";
            return false;
        }
        return true;
    }
    if (!options.Envelope) return true;
    choice = {TResultsKind::Envelope, {}, {}, options.EnvelopeScope};
    std::vector<const TKombinace*> list;
    if (!space.KombinaceObalky(choice, list) || list.empty()) {
        why = "model nemá žádné kombinace pro obálku (vygeneruje je --generate-combinations).";
        return false;
    }
    return space.NastavVysledky(choice);
}
} // namespace

int PrintEquilibrium(TMKPSpace& space, std::ostream& out, std::ostream& err, char sep) {
    TEquilibrium e;
    if (!KontrolaRovnovahy(space, e)) {
        err << "korvan-calc: model nemá výsledky ke kontrole.\n";
        return 1;
    }
    auto number = [sep](TReal v) { return FormatExponent(v, 3, 2, sep); };
    out << "Kontrola rovnováhy\n"
        << "ΣFx = " << number(e.SumFx) << " kN\n"
        << "ΣFy = " << number(e.SumFy) << " kN\n"
        << "ΣM = " << number(e.SumM) << " kNm\n"
        << "‖K·u − f‖/‖f‖ = " << number(e.Residual) << "\n";
    if (e.Residual > KCheckLimit || !(e.Residual == e.Residual)) {
        err << "korvan-calc: reziduum " << number(e.Residual) << " překračuje " << number(KCheckLimit) << ".\n";
        return 1;
    }
    return 0;
}

namespace {
// The usage lines of the report and picture options ("  --name ARG  help", name and help apart by
// at least two spaces) in the columns of the option table above.
std::string AlignedUsage(const std::string& lines) {
    std::string s;
    std::size_t start = 0;
    while (start < lines.size()) {
        std::size_t end = lines.find('\n', start);
        if (end == std::string::npos) end = lines.size();
        const std::string line = lines.substr(start, end - start);
        start = end + 1;
        const std::size_t gap = line.find("  ", 2);
        const std::size_t help = gap == std::string::npos ? gap : line.find_first_not_of(' ', gap);
        if (help == std::string::npos) {
            s += line + "\n";
            continue;
        }
        s += Left(line.substr(0, gap), 30) + " " + line.substr(help) + "\n";
    }
    return s;
}
} // namespace

std::string CalcUsage() {
    std::string s = "Použití: korvan-calc [volby] PROJEKT.inp\n"
                    "Spočítá rovinnou prutovou konstrukci ze souboru projektu, zapíše soubory výpočtu a vypíše\n"
                    "výsledky výpočtu (s volbou --table tabulku reakcí a posunů uzlů).\n\nVolby:\n";
    for (const TOptionSpec& o : KOptions) {
        std::string head = std::string("  ") + o.Name + (o.Argument ? std::string(" ") + o.Argument : "");
        s += Left(head, 30) + " " + o.Help + "\n";
    }
    s += "\nVýpisy:\n" + AlignedUsage(KReportUsage) + "\nObrázky:\n" + AlignedUsage(KPictureUsage);
    s += "\nUzly podél křivky:\n"
         "  korvan-calc --curve VZOREC --from A --to B --step S ... --save VYSTUP.inp [PROJEKT.inp]\n"
         "  (všechny volby vypíše samotné korvan-calc --curve)\n";
    s += "\nNávratový kód: 0 spočteno, 1 konstrukce odmítnuta (podepření) nebo bez prutů, 2 chybné\n"
         "volby nebo soubor (i soubor výpočtu, který nelze zapsat). Projekt bez prutů vypíše výsledky\n"
         "vyžádané volbou --report nebo --rtf. Projekt „-“ se čte ze standardního vstupu, --rtf -\n"
         "píše na standardní výstup.\n";
    return s;
}

bool ParseCalcOptions(const std::vector<std::string>& args, TCalcOptions& options, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string taken;
        if (TakePictureOption(args, i, options.Picture, taken)) {
            if (!taken.empty()) {
                error = taken;
                return false;
            }
            continue;
        }
        const TReportOptionResult report = TakeReportOption(args, i, options.Reports, taken);
        if (report == TReportOptionResult::Error) {
            error = taken;
            return false;
        }
        if (report == TReportOptionResult::Taken) continue;
        if (a.size() < 2 || a.compare(0, 2, "--") != 0) {
            if (!options.Project.empty()) {
                error = "Zadejte jen jeden soubor projektu: " + a;
                return false;
            }
            options.Project = a;
            continue;
        }
        const std::size_t eq = a.find('=');
        const std::string name = a.substr(0, eq);
        const TOptionSpec* found = nullptr;
        for (const TOptionSpec& o : KOptions)
            if (name == o.Name) found = &o;
        if (!found) {
            error = "Neznámá volba: " + a;
            return false;
        }
        std::string arg;
        // The scope of an envelope may be left out: ALL.
        const bool optional = name == "--envelope";
        if (optional && eq == std::string::npos) {
            if (i + 1 < args.size() && (args[i + 1] == "ULS" || args[i + 1] == "SLS" || args[i + 1] == "ALL" ||
                                        args[i + 1] == "uls" || args[i + 1] == "sls" || args[i + 1] == "all"))
                arg = args[++i];
        } else if (found->Argument) {
            if (eq != std::string::npos) {
                arg = a.substr(eq + 1);
            } else if (i + 1 < args.size()) {
                arg = args[++i];
            } else {
                error = "Volba " + name + " vyžaduje hodnotu " + found->Argument + ".";
                return false;
            }
        } else if (eq != std::string::npos) {
            error = "Volba " + name + " nemá hodnotu.";
            return false;
        }
        if (!found->Apply(options, arg, error)) return false;
    }
    if (!options.Help && !options.Version && options.Project.empty()) {
        error = "Chybí soubor projektu.";
        return false;
    }
    if (int(!options.Case.empty()) + int(!options.Combination.empty()) + int(options.Envelope) > 1) {
        error = "Volby --case, --combination a --envelope nelze použít současně.";
        return false;
    }
    return true;
}

char UserLocaleSeparator() {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    char sep = '.';
    if (std::setlocale(LC_NUMERIC, "")) {
        const std::lconv* lc = std::localeconv();
        if (lc && lc->decimal_point && (lc->decimal_point[0] == ',' || lc->decimal_point[0] == '.'))
            sep = lc->decimal_point[0];
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    return sep;
}

bool PictureNeedsQt(const std::vector<std::string>& args) {
    for (const std::string& a : args)
        if (a == "--curve") return false;
    TCalcOptions options;
    std::string error;
    if (!ParseCalcOptions(args, options, error) || options.Help || options.Version) return false;
    const std::string format = PictureFormat(options.Picture.File);
    return options.Picture.Requested && !format.empty() && format != "wmf";
}

bool NeedsPictureHelper(const std::vector<std::string>& args) {
#ifdef KORVAN_WITH_QT
    (void)args;
    return false;
#else
    return PictureNeedsQt(args);
#endif
}

std::string PictureHelperPath(const std::string& self) {
    std::error_code ec;
    const std::filesystem::path program =
        self.empty() ? std::filesystem::read_symlink("/proc/self/exe", ec) : std::filesystem::path(self);
    if (ec || program.empty()) return "korvan-picture";
    return (program.parent_path() / "korvan-picture").string();
}

namespace {
// Refuses an output that would replace the project being read (the same file under any name).
bool WritesOverProject(const std::vector<std::string>& outputs, const std::string& project,
                       std::ostream& err) {
    if (project == "-") return false;
    for (const std::string& output : outputs)
        if (output != "-" && IsSameFile(output, project)) {
            err << "korvan-calc: " << output << " je čtený projekt " << project << "; nepřepíše se.\n";
            return true;
        }
    return false;
}

// The reader's size limit for one run.
struct TMaxSizeGuard {
    std::uint64_t Old = MaxInputSize();
    explicit TMaxSizeGuard(std::uint64_t bytes) {
        if (bytes) SetMaxInputSize(bytes);
    }
    ~TMaxSizeGuard() { SetMaxInputSize(Old); }
};
} // namespace

int RunCalc(const std::vector<std::string>& args, std::ostream& out, std::ostream& rawErr) {
    TEscapingStream err(rawErr);
    for (const std::string& a : args)
        if (a == "--curve") return RunCurveCommand(args, out, err);
    try {
        TCalcOptions options;
        std::string error;
        if (!ParseCalcOptions(args, options, error)) {
            err << "korvan-calc: " << error << "\nNápověda: korvan-calc --help\n";
            return 2;
        }
        if (options.Help) {
            out << CalcUsage();
            return 0;
        }
        if (options.Version) {
            out << "korvan-calc " << KORVAN_VERSION << "\n";
            return 0;
        }
        const char sep = options.Separator ? options.Separator : UserLocaleSeparator();
        const char oldSep = DecimalSeparator();
        const std::string oldSystemSep = SystemDecimalSeparator();
        SetDecimalSeparator(sep);
        // The readers adapt a number text to the system separator and then read it with the
        // program's: both must be the chosen one so files written with either separator read.
        SetSystemDecimalSeparator(std::string(1, sep));
        struct TRestore {
            char Sep;
            std::string SystemSep;
            ~TRestore() {
                SetDecimalSeparator(Sep);
                SetSystemDecimalSeparator(SystemSep);
            }
        } restore{oldSep, oldSystemSep};

        TStreamDialogs dialogs(err);
        TDialogsGuard guard(dialogs);
        TMKPSpace space;
        space.TraceDir = options.TraceDir;
        std::vector<std::string> outputs;
        if (!options.Reports.RtfFile.empty()) outputs.push_back(options.Reports.RtfFile);
        if (options.Picture.Requested) outputs.push_back(options.Picture.File);
        if (WritesOverProject(outputs, options.Project, err)) return 2;
        const TMaxSizeGuard maxSize(options.MaxSize);
        try {
            if (options.Project == "-")
                space.NactiProjekt(std::cin);
            else
                space.NactiProjekt(options.Project);
        } catch (const TFileFormatError& e) {
            err << options.Project << ":";
            if (e.Line() > 0) err << e.Line() << ":";
            err << " " << e.what() << "\n";
            return 2;
        } catch (const std::exception& e) {
            err << options.Project << ": " << ErrorText(e) << "\n";
            return 2;
        }
        const std::string fault = NajdiVaduModelu(space);
        if (!fault.empty()) {
            err << options.Project << ": " << fault << "\n";
            return 2;
        }
        // The self-weight loads belong to the model that every output shows: the protocol and the
        // pictures as well as the computation.
        if (options.SelfWeight) {
            space.WeightCase.Factor = options.SelfWeightFactor;
            space.NastavVlastniTihu(true);
        }
        if (options.Divisions > 0) {
            space.NastavDeleniPrutu(options.Divisions);
            for (TPrut* m : space.Members) m->NastavDeleni(options.Divisions);
        }
        if (options.GenerateCombinations) space.VygenerujKombinace({});
        if (!options.Save.empty()) {
            try {
                space.UlozProjekt(options.Save);
            } catch (const std::exception& e) {
                err << options.Save << ": " << ErrorText(e) << "\n";
                return 2;
            }
        }
        if (options.ListCases) {
            PrintCases(space, out, sep);
            return 0;
        }
        if (std::string unknown; !ChooseResults(space, options, unknown)) {
            err << options.Project << ": " << unknown << "\n";
            return 2;
        }
        const TReportOptions& reports = options.Reports;
        // Saving the generated combinations alone computes nothing.
        if (!options.Save.empty() && !reports.Report && !reports.Protocol && reports.RtfFile.empty() &&
            !options.Table && !options.Check && !options.Picture.Requested)
            return 0;
        // The protocol lists (and cleans) the model in memory; it needs no computation.
        if (reports.Protocol) {
            int code = RunReportCommand(space, reports, out, err);
            if (code == 0 && options.Picture.Requested) code = WritePicture(space, options.Picture, out, err);
            return code;
        }
        const bool reportAsked = reports.Report || !reports.RtfFile.empty();
        if (options.Picture.Requested && options.Picture.Mode == 0 && !reportAsked && !options.Table)
            return WritePicture(space, options.Picture, out, err);
        if (space.Members.Empty()) {
            // Nothing to compute, but the report of such a model (its headings and the reactions of
            // a model never computed) is well defined: printed when asked for. Outputs that need
            // computed results are refused.
            err << options.Project << ": Projekt neobsahuje žádný prut, není co počítat.\n";
            if (!reportAsked || options.Table || options.Picture.Requested) return 1;
            return RunReportCommand(space, reports, out, err);
        }
        space.TraceEnabled = options.Trace;
        space.TraceDir = options.TraceDir;
        space.TraceMatrixLimit = options.TraceLimit;
        // A trace folder that is not there yet is made; one that cannot be made is reported, and
        // the computation goes on (each file that cannot be written is named after it).
        if (options.Trace && !options.TraceDir.empty()) {
            std::error_code ec;
            std::filesystem::create_directories(options.TraceDir, ec);
            if (ec)
                err << "korvan-calc: adresář " << options.TraceDir << " pro soubory výpočtu nelze vytvořit: "
                    << ec.message() << "\n";
        }
        if (options.ExactOrder) space.EquationOrder = TEquationOrder::Model;
        if (options.Trace) {
            std::vector<std::string> traces;
            for (const char* name : KTraceFileNames)
                traces.push_back(space.TracePath(name));
            if (WritesOverProject(traces, options.Project, err)) return 2;
        }

        if (options.Picture.Requested && !reportAsked && !options.Table)
            return WritePicture(space, options.Picture, out, err);
        const TSolveStatus result = space.Vypocet();
        if (space.TraceMatricesLeftOut)
            err << "korvan-calc: " << TraceMatricesLeftOutText(space.TraceMatrixLimit)
                << " Limit mění volba --trace-limit (0: bez omezení).\n";
        if (result.Result != TSolveResult::Ok) {
            const std::string place = PopisMista(MistoOdmitnuti(result));
            if (!place.empty()) err << place << "\n";
            err << "korvan-calc: konstrukce nebyla spočtena";
            if (result.Equation > 0) err << " (rovnice " << result.Equation << ")";
            err << ".\n";
            return 1;
        }
        int code = 0;
        if (options.Check) {
            code = PrintEquilibrium(space, out, err, sep);
        } else if (options.Table) {
            out << "Projekt: " << options.Project << "\n"
                << "Uzly: " << space.Nodes.Count() << ", pruty: " << space.Members.Count() << "\n\n";
            if (space.Envelope)
                PrintEnvelope(space, out, sep);
            else
                PrintResults(space, out, sep);
        } else {
            code = RunReportCommand(space, reports, out, err);
        }
        if (code == 0 && options.Picture.Requested) code = WritePicture(space, options.Picture, out, err);
        // Trace files that were asked for and could not be written (named with the reason above).
        if (code == 0 && options.Trace && !space.TraceFailures.empty()) code = 2;
        return code;
    } catch (const std::bad_alloc&) {
        err << "korvan-calc: nedostatek paměti.\n";
        return 2;
    } catch (const std::exception& e) {
        err << "korvan-calc: " << e.what() << "\n";
        return 2;
    }
}
