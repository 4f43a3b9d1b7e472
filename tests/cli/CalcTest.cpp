#include <gtest/gtest.h>

#include <sys/wait.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/Calc.h"

namespace fs = std::filesystem;

namespace {
const std::string KPortal = std::string(KORVAN_SOURCE_DIR) + "/examples/portal-frame.inp";

struct TCalcRun {
    int Code = -1;
    std::string Out, Err;
};

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct TWorkDir {
    fs::path Path;
    TWorkDir() {
        Path = fs::temp_directory_path() /
               (std::string("korvan-calc-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Path);
        fs::create_directories(Path);
    }
    ~TWorkDir() { fs::remove_all(Path); }
    fs::path Write(const std::string& name, const std::string& text) const {
        std::ofstream(Path / name, std::ios::binary) << text;
        return Path / name;
    }
    // Runs the program as a process in this directory, in the C locale.
    TCalcRun Process(const std::string& args) const {
        const std::string cmd = "cd '" + Path.string() + "' && LC_ALL=C '" KORVAN_CALC_PATH "' " + args +
                                " > stdout.txt 2> stderr.txt";
        TCalcRun r;
        int status = std::system(cmd.c_str());
        r.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.Out = ReadFile(Path / "stdout.txt");
        r.Err = ReadFile(Path / "stderr.txt");
        fs::remove(Path / "stdout.txt");
        fs::remove(Path / "stderr.txt");
        return r;
    }
};

TCalcRun Direct(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    TCalcRun r;
    r.Code = RunCalc(args, out, err);
    r.Out = out.str();
    r.Err = err.str();
    return r;
}

// Sum of the values of the reaction lines of one component (H or V).
double SumOf(const std::string& out, const std::string& component) {
    std::istringstream in(out);
    std::string line;
    double sum = 0;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string node, eq, comp, value;
        if (words >> node >> eq >> comp >> value && comp == component && std::isdigit((unsigned char)eq[0]))
            sum += std::stod(value);
    }
    return sum;
}

const char* const KTwoNodes = "*Materials\r\nM\r\nS\r\n210000\r\n7850\r\n*Shapes\r\nC\r\nP\r\nS\r\n0.01\r\n0.0001\r\n"
                              "0.0001\r\n*Nodes\r\nU\r\n1\r\n0\r\n0\r\nU\r\n2\r\n4\r\n0\r\n";
} // namespace

TEST(Calc, ComputesThePortalFrame) {
    TWorkDir dir;
    TCalcRun r = dir.Process("--table --decimal-separator . '" + KPortal + "'");
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Err, "");
    EXPECT_EQ(r.Out, "Projekt: " + KPortal +
                         "\nUzly: 4, pruty: 3\n\n"
                         "Reakce\n"
                         "  Uzel  Rovnice  Složka           Hodnota\n"
                         "     1        1  M                 23.277 kNm\n"
                         "     1        2  H                  6.452 kN\n"
                         "     1        3  V                 23.879 kN\n"
                         "     4       11  H                  8.548 kN\n"
                         "     4       12  V                 36.121 kN\n"
                         "\nPosuny uzlů\n"
                         "  Uzel    Pootočení [mrad]              u [mm]              w [mm]\n"
                         "     1            0.000000            0.000000            0.000000\n"
                         "     2            3.472267            9.824373            0.058239\n"
                         "     3           -1.370536            9.778978            0.088094\n"
                         "     4            4.352385            0.000000            0.000000\n");
    // The loads: 15 kN sideways at node 2, 10 kN/m over the 6 m beam.
    EXPECT_NEAR(SumOf(r.Out, "H"), 15, 2e-3);
    EXPECT_NEAR(SumOf(r.Out, "V"), 60, 2e-3);
    for (const char* f : {"00KG.out", "00MG.out", "00FG.out", "00KGa.out", "00FGa.out", "00RG.out", "00reakce.out"})
        EXPECT_TRUE(fs::exists(dir.Path / f)) << f;
}

TEST(Calc, TraceOptionsAndSeparator) {
    TWorkDir dir;
    fs::create_directories(dir.Path / "trace");
    TCalcRun r = dir.Process("--table --trace-dir trace --decimal-separator , '" + KPortal + "'");
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_NE(r.Out.find("23,277 kNm"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.Path / "00KG.out"));
    EXPECT_NE(ReadFile(dir.Path / "trace" / "00reakce.out").find("M [1]: 23,277 kNm"), std::string::npos);

    TWorkDir quiet;
    r = quiet.Process("--no-trace '" + KPortal + "'");
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_TRUE(fs::is_empty(quiet.Path));

    // A trace directory that does not exist is made.
    r = quiet.Process("--table --trace-dir=missing/dir '" + KPortal + "'");
    EXPECT_EQ(r.Code, 0) << r.Err;
    EXPECT_TRUE(r.Err.empty()) << r.Err;
    EXPECT_NE(ReadFile(quiet.Path / "missing/dir/00reakce.out").find("M [1]: 23.277 kNm"), std::string::npos);

    // One that cannot be made (a file stands in its way): computed all the same, the folder and
    // the files are named on the error stream with the reason, and the run fails.
    quiet.Write("blocker", "x");
    r = quiet.Process("--table --trace-dir=blocker/dir '" + KPortal + "'");
    EXPECT_EQ(r.Code, 2);
    EXPECT_NE(r.Err.find("blocker/dir/00reakce.out (Not a directory)"), std::string::npos) << r.Err;
    EXPECT_NE(r.Out.find("36.121"), std::string::npos);
    EXPECT_NE(r.Err.find("adresář blocker/dir"), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("blocker/dir/00KG.out"), std::string::npos) << r.Err;
    EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 2) << r.Err;
}

TEST(Calc, SelfWeightAndDivisions) {
    TCalcRun plain = Direct({"--table", "--no-trace", "--decimal-separator", ".", KPortal});
    TCalcRun heavy = Direct({"--table", "--no-trace", "--decimal-separator", ".", "--self-weight", "1,35", KPortal});
    ASSERT_EQ(heavy.Code, 0) << heavy.Err;
    // 7850 kg/m³ · A / 100 kN/m: two HEB 200 columns of 4 m and an IPE 300 beam of 6 m.
    const double weight = 1.35 * 78.5 * (2 * 4 * 0.00781 + 6 * 0.00538);
    EXPECT_NEAR(SumOf(heavy.Out, "V") - SumOf(plain.Out, "V"), weight, 3e-3);
    EXPECT_NEAR(SumOf(heavy.Out, "H"), 15, 2e-3);

    TCalcRun fine = Direct({"--no-trace", "--divisions", "60", KPortal});
    EXPECT_EQ(fine.Code, 0);
    EXPECT_NE(fine.Err.find("Zvažte, prosím, praktickou využitelnost"), std::string::npos);
}

TEST(Calc, BadUsageAndUnreadableProjects) {
    TWorkDir dir;
    dir.Write("bad-number.inp", "*Materials\r\nM\r\nS\r\nabc\r\n7850\r\n");
    dir.Write("no-section.inp", std::string(KTwoNodes) + "*Members\r\nP\r\nXYZ\r\n1\r\n0\r\n1\r\n2\r\n0\r\n0\r\n");
    struct Row {
        std::vector<std::string> args;
        int code;
        const char* message; // part of the error text
    } rows[] = {
        {{}, 2, "Chybí soubor projektu"},
        {{"--bogus", KPortal}, 2, "Neznámá volba: --bogus"},
        {{"--divisions"}, 2, "vyžaduje hodnotu"},
        {{"--divisions", "ten", KPortal}, 2, "Neplatný počet dílků: ten"},
        {{"--divisions", "0", KPortal}, 2, "Neplatný počet dílků"},
        {{"--self-weight", "x", KPortal}, 2, "Neplatný součinitel"},
        {{"--self-weight", "inf", KPortal}, 2, "Neplatný součinitel"},
        {{"--decimal-separator", ";", KPortal}, 2, "Oddělovač"},
        {{"--no-trace=1", KPortal}, 2, "nemá hodnotu"},
        {{KPortal, KPortal}, 2, "jen jeden soubor"},
        {{(dir.Path / "none.inp").string()}, 2, "none.inp"},
        {{(dir.Path / "bad-number.inp").string()}, 2, "abc"},
        {{(dir.Path / "no-section.inp").string()}, 2, "neexistující profil"},
    };
    for (const Row& r : rows) {
        TCalcRun run = Direct(r.args);
        EXPECT_EQ(run.Code, r.code) << r.message;
        EXPECT_NE(run.Err.find(r.message), std::string::npos) << run.Err;
        EXPECT_EQ(run.Out, "") << r.message;
    }
}

// A value as wide as its column keeps a blank before it, so the columns never run together.
TEST(Calc, TableColumnsStayApartForWideValues) {
    TWorkDir dir;
    // A cantilever of 4 m with 15 kN at its tip and a modulus of 1e-7 MPa: a deflection of 3.2e13 mm,
    // 21 characters in fixed(15, 6).
    std::string soft = KTwoNodes;
    soft.replace(soft.find("210000"), 6, "1E-7");
    const fs::path file =
        dir.Write("soft.inp", soft + "*Members\r\nP\r\nP\r\n1\r\n0\r\n1\r\n2\r\n0\r\n0\r\n"
                                     "*Supports\r\nB\r\n1\r\n1\r\n1\r\n1\r\n0\r\n*NodalLoads\r\nZU\r\n2\r\n"
                                     "P\r\n15\r\n90\r\n");
    const TCalcRun r = Direct({"--table", "--no-trace", "--decimal-separator", ".", file.string()});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const std::string tip = r.Out.substr(r.Out.rfind("\n     2 ") + 1);
    std::istringstream fields(tip);
    std::vector<std::string> values{std::istream_iterator<std::string>(fields), {}};
    ASSERT_EQ(values.size(), 4u) << r.Out;
    EXPECT_GE(values[3].size(), 20u) << r.Out;
}

TEST(Calc, RefusedStructuresExitWithOne) {
    TWorkDir dir;
    const std::string member = "*Members\r\nP\r\nP\r\n1\r\n0\r\n1\r\n2\r\n0\r\n0\r\n";
    const fs::path free = dir.Write("free.inp", std::string(KTwoNodes) + member);
    const fs::path empty = dir.Write("empty.inp", KTwoNodes);
    TCalcRun r = dir.Process("--no-trace '" + free.string() + "'");
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("Zkontrolujte"), std::string::npos) << r.Err;
    EXPECT_EQ(r.Out, "");
    r = dir.Process("'" + empty.string() + "'");
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("žádný prut"), std::string::npos);
}

TEST(Calc, HelpAndVersion) {
    TCalcRun help = Direct({"--help"});
    EXPECT_EQ(help.Code, 0);
    for (const char* o : {"--decimal-separator", "--self-weight", "--divisions", "--trace-dir", "--no-trace", "--help",
                          "--version"})
        EXPECT_NE(help.Out.find(o), std::string::npos) << o;
    TCalcRun version = Direct({"--version"});
    EXPECT_EQ(version.Code, 0);
    EXPECT_EQ(version.Out, "korvan-calc " KORVAN_VERSION "\n");
}

TEST(Calc, SeparatorOfTheUsersLocale) {
    // Only where the Czech locale is installed; the C locale always gives a point.
    const char* old = std::getenv("LC_ALL");
    std::string saved = old ? old : "";
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(UserLocaleSeparator(), '.');
    setenv("LC_ALL", "cs_CZ.UTF-8", 1);
    const bool installed = std::setlocale(LC_NUMERIC, "") != nullptr;
    std::setlocale(LC_NUMERIC, "C");
    if (installed) EXPECT_EQ(UserLocaleSeparator(), ',');
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C"); // the program's own locale is restored
    if (old)
        setenv("LC_ALL", saved.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

// A member whose only load is the self-weight lists "Zatížení:" with nothing under it once the
// option switches the self-weight on, and "(žádné)" without it.
TEST(Calc, ProtocolListsTheSelfWeightAsALoad) {
    TWorkDir dir;
    const fs::path beam =
        dir.Write("beam.inp", std::string(KTwoNodes) + "*Members\r\nP\r\nP\r\n1\r\n0\r\n1\r\n2\r\n0\r\n0\r\n");
    struct Row {
        std::vector<std::string> args;
        bool empty; // "(žádné)" under the member
    } const rows[] = {
        {{"--protocol", "--decimal-separator", "."}, true},
        {{"--protocol", "--decimal-separator", ".", "--self-weight", "1"}, false},
        {{"--protocol", "--decimal-separator", ".", "--self-weight", "1.35", "--imperial"}, false},
    };
    for (const Row& r : rows) {
        std::vector<std::string> args = r.args;
        args.push_back(beam.string());
        TCalcRun run = Direct(args);
        ASSERT_EQ(run.Code, 0) << run.Err;
        const auto members = run.Out.find("PRUTY\n");
        ASSERT_NE(members, std::string::npos) << run.Out;
        const std::string tail = run.Out.substr(members);
        EXPECT_EQ(tail.find("    Zatížení:\n    (žádné)\n") != std::string::npos, r.empty) << tail;
        EXPECT_NE(tail.find("    Zatížení:\n"), std::string::npos) << tail;
        // Nodes carry no self-weight: their lists stay empty either way.
        EXPECT_NE(run.Out.find("UZLY\n"), std::string::npos);
        EXPECT_NE(run.Out.substr(0, members).find("    (žádné)\n"), std::string::npos);
    }
}

// Nodes without members: nothing to compute, but the report asked for is printed (headings,
// reactions of a model never computed, an empty member section); outputs that need results
// are refused.
TEST(Calc, ReportOfAModelWithoutMembers) {
    TWorkDir dir;
    const fs::path nodes =
        dir.Write("nodes.inp", std::string(KTwoNodes) + "*Supports\r\nB\r\n1\r\n1\r\n1\r\n1\r\n0\r\n");
    const std::string report = "VÝSLEDKY VÝPOČTU\n\nREAKCE\nUzel [1]: M=0.000kNm\n"
                               "Uzel [1]: H=0.000kN natočení: 0.00°\nUzel [1]: V=0.000kN natočení: 0.00°\n"
                               "\nSÍLY NA PRUTECH\n";
    struct Row {
        std::vector<std::string> args;
        int code;
        std::string out;
    } const rows[] = {
        {{"--report"}, 0, report},
        {{"--rtf", (dir.Path / "r.rtf").string()}, 0, report},
        {{}, 1, ""},
        {{"--table"}, 1, ""},
        {{"--report", "--picture", (dir.Path / "p.svg").string(), "--mode", "M"}, 1, ""},
    };
    for (const Row& r : rows) {
        std::vector<std::string> args = r.args;
        args.insert(args.end(), {"--no-trace", "--decimal-separator", ".", nodes.string()});
        TCalcRun run = Direct(args);
        EXPECT_EQ(run.Code, r.code) << run.Err;
        EXPECT_EQ(run.Out, r.out);
        EXPECT_NE(run.Err.find("žádný prut"), std::string::npos) << run.Err;
    }
    EXPECT_EQ(ReadFile(dir.Path / "r.rtf").rfind("{\\rtf1", 0), 0u);
    EXPECT_FALSE(fs::exists(dir.Path / "p.svg"));
}

namespace {
// Characters (not bytes) of a UTF-8 text.
std::size_t Chars(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}
} // namespace

// Every option the calculator takes is listed in --help, its description in the one column of
// the table, and all of them before the closing note on exit codes.
TEST(Calc, HelpListsEveryOptionInOneTableBeforeTheExitCodes) {
    const struct {
        const char* option;
        const char* value; // nullptr for a switch
    } options[] = {
        {"--decimal-separator", ","}, {"--self-weight", "1,35"}, {"--divisions", "20"},
        {"--trace-dir", "out"},       {"--no-trace", nullptr},   {"--table", nullptr},
        {"--check", nullptr},         {"--report", nullptr},     {"--rtf", "zprava.rtf"},
        {"--imperial", nullptr},      {"--picture", "ram.svg"},  {"--mode", "M"},
        {"--size", "800x600"},        {"--numbers", nullptr},    {"--reactions", nullptr},
        {"--fit", nullptr},           {"--protocol", nullptr},   {"--max-size", "64M"},
        {"--trace-limit", "0"},
    };
    const TCalcRun help = Direct({"--help"});
    ASSERT_EQ(help.Code, 0);
    const std::size_t exitNote = help.Out.find("Návratový kód");
    ASSERT_NE(exitNote, std::string::npos);
    std::size_t column = 0;
    for (const auto& o : options) {
        // The parser takes it, so the help must tell of it.
        TCalcOptions parsed;
        std::string error;
        std::vector<std::string> args{o.option};
        if (o.value) args.push_back(o.value);
        args.push_back("ram.inp");
        EXPECT_TRUE(ParseCalcOptions(args, parsed, error)) << o.option << ": " << error;

        const std::size_t at = help.Out.find("\n  " + std::string(o.option) + (o.value ? " " : "  "));
        ASSERT_NE(at, std::string::npos) << o.option << " missing from\n" << help.Out;
        EXPECT_LT(at, exitNote) << o.option << " listed after the exit codes";
        const std::string line = help.Out.substr(at + 1, help.Out.find('\n', at + 1) - at - 1);
        const std::size_t gap = line.find("  ", 2);
        ASSERT_NE(gap, std::string::npos) << line;
        const std::size_t text = Chars(line.substr(0, line.find_first_not_of(' ', gap)));
        if (column == 0) column = text;
        EXPECT_EQ(text, column) << line;
    }
    EXPECT_NE(help.Out.find("--curve"), std::string::npos);
    EXPECT_LT(help.Out.find("--curve"), exitNote);
}
