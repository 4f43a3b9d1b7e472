#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "GoldenCases.h"
#include "base/NumberText.h"
#include "cli/Calc.h"
#include "cli/ReportCommand.h"
#include "units/Prevody.h"

namespace {
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Source(const std::string& relative) {
    return std::string(KORVAN_SOURCE_DIR) + "/" + relative;
}
std::string Golden(const std::string& name) {
    return ReadFile(Source("tests/data/reports/" + name));
}

struct TRun {
    int code;
    std::string out, err;
};

TRun Calc(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int code = RunCalc(args, out, err);
    return {code, out.str(), err.str()};
}

// Sets the program's separator and the system locale's one (which the project reader adapts the
// file's numbers to) alike, as the desktop program has them, and restores both afterwards.
struct TSeparatorGuard {
    char savedProgram = DecimalSeparator();
    std::string savedSystem = SystemDecimalSeparator();
    explicit TSeparatorGuard(char separator) {
        SetDecimalSeparator(separator);
        SetSystemDecimalSeparator(std::string(1, separator));
    }
    ~TSeparatorGuard() {
        SetDecimalSeparator(savedProgram);
        SetSystemDecimalSeparator(savedSystem);
    }
};

fs::path TempDir(const std::string& name) {
    fs::path dir =
        fs::temp_directory_path() / ("korvan-report-cli-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}
} // namespace

TEST(ReportOptions, TakeReportOptionTable) {
    struct Row {
        std::vector<std::string> args;
        TReportOptionResult last;
        bool report, protocol, imperial;
        std::string rtf;
    } rows[] = {
        {{"--report"}, TReportOptionResult::Taken, true, false, false, ""},
        {{"--protocol"}, TReportOptionResult::Taken, false, true, false, ""},
        {{"--imperial"}, TReportOptionResult::Taken, false, false, true, ""},
        {{"--rtf", "a.rtf"}, TReportOptionResult::Taken, false, false, false, "a.rtf"},
        {{"--rtf"}, TReportOptionResult::Error, false, false, false, ""},     // no file name
        {{"--rtf", ""}, TReportOptionResult::Error, false, false, false, ""}, // empty file name
        {{"--rtf", "a", "--rtf", "b"}, TReportOptionResult::Error, false, false, false, "a"},
        {{"--report", "--protocol"}, TReportOptionResult::Error, true, true, false, ""},
        {{"--reports"}, TReportOptionResult::NotReportOption, false, false, false, ""},
        {{"projekt.inp"}, TReportOptionResult::NotReportOption, false, false, false, ""},
    };
    for (const Row& r : rows) {
        TReportOptions o;
        std::string error;
        TReportOptionResult result = TReportOptionResult::NotReportOption;
        for (std::size_t i = 0; i < r.args.size(); ++i) {
            result = TakeReportOption(r.args, i, o, error);
            if (result != TReportOptionResult::Taken) break;
        }
        const std::string what = r.args[0] + (r.args.size() > 1 ? " " + r.args[1] : "");
        EXPECT_EQ(result, r.last) << what;
        EXPECT_EQ(result == TReportOptionResult::Error, !error.empty()) << what;
        EXPECT_EQ(o.Report, r.report) << what;
        EXPECT_EQ(o.Protocol, r.protocol) << what;
        EXPECT_EQ(o.Imperial, r.imperial) << what;
        EXPECT_EQ(o.RtfFile, r.rtf) << what;
    }
}

// The calculator as a user runs it on each golden project: the protocol, and the report after
// the computation (without trace files).
class CalculatorGolden : public ::testing::TestWithParam<TGoldenCase> {};

TEST_P(CalculatorGolden, ProtocolAndReport) {
    const TGoldenCase& c = GetParam();
    const TGoldenVariant& v = std::get<1>(c);
    TSeparatorGuard guard(v.Separator);
    std::vector<std::string> args = {"--decimal-separator", std::string(1, v.Separator),
                                     GoldenProjectPath(c)};
    if (v.UnitSystem == 1) args.insert(args.begin(), "--imperial");

    std::vector<std::string> protocolArgs = args;
    protocolArgs.insert(protocolArgs.begin(), "--protocol");
    TRun protocol = Calc(protocolArgs);
    EXPECT_EQ(protocol.code, 0) << protocol.err;
    EXPECT_EQ(protocol.out, ReadFile(GoldenPath(c, "protocol"))) << GoldenPath(c, "protocol");

    args.insert(args.begin(), "--no-trace");
    TRun report = Calc(args);
    EXPECT_EQ(report.code, 0) << report.err;
    EXPECT_EQ(report.out, ReadFile(GoldenPath(c, "report"))) << GoldenPath(c, "report");
}

INSTANTIATE_TEST_SUITE_P(Examples, CalculatorGolden, GoldenTable(KGoldenExamples), GoldenCaseName);

TEST(ReportCommand, ResultsReportIsTheDefaultAfterAComputation) {
    struct Row {
        const char* project;
        char separator;
        bool imperial;
        const char* golden;
    } rows[] = {
        {"cantilever.inp", '.', false, "cantilever.report.point.txt"},
        {"cantilever.inp", ',', true, "cantilever.report.imperial.comma.txt"},
        {"simple-beam.inp", ',', false, "simple-beam.report.comma.txt"},
        {"simple-beam.inp", '.', true, "simple-beam.report.imperial.point.txt"},
    };
    for (const Row& r : rows) {
        TSeparatorGuard guard(r.separator);
        const fs::path dir = TempDir("default"); // the computation writes its trace files here
        const fs::path cwd = fs::current_path();
        fs::current_path(dir);
        std::vector<std::string> args = {"--decimal-separator", std::string(1, r.separator),
                                         Source(std::string("tests/data/reports/") + r.project)};
        if (r.imperial) args.insert(args.begin(), "--imperial");
        TRun plain = Calc(args);
        args.insert(args.begin(), "--report");
        TRun explicitReport = Calc(args);
        fs::current_path(cwd);
        EXPECT_EQ(plain.code, 0) << r.golden << plain.err;
        EXPECT_EQ(plain.out, Golden(r.golden)) << r.golden;
        EXPECT_EQ(explicitReport.out, plain.out) << r.golden;
        fs::remove_all(dir);
    }
}

TEST(ReportCommand, ProtocolCleansTheModelInMemoryOnly) {
    const fs::path dir = TempDir("clean");
    const fs::path project = dir / "s-uzlem.inp";
    // The portal frame with a fifth node that no member uses.
    std::string text = ReadFile(Source("examples/portal-frame.inp"));
    text.replace(text.find("*Members"), 8, "U\n5\n9\n9\n*Members");
    { std::ofstream(project, std::ios::binary) << text; }
    TSeparatorGuard guard('.');
    TRun run = Calc({"--protocol", project.string()});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, Golden("portal-frame.protocol.point.txt"));
    EXPECT_EQ(ReadFile(project), text) << "the project file must stay as it was";
    fs::remove_all(dir);
}

TEST(ReportCommand, RtfFileBesideTheText) {
    const fs::path dir = TempDir("rtf");
    const fs::path rtf = dir / "protokol.rtf";
    { std::ofstream(rtf) << "old"; }
    TSeparatorGuard guard('.');
    TRun run = Calc({"--rtf", rtf.string(), "--protocol", Source("examples/portal-frame.inp")});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, Golden("portal-frame.protocol.point.txt"));
    const std::string written = ReadFile(rtf);
    EXPECT_EQ(written.rfind("{\\rtf1\\ansi\\ansicpg1250", 0), 0u);
    EXPECT_NE(written.find("\\plain\\f0\\b\\fs28 PROTOKOL\\par"), std::string::npos);
    EXPECT_NE(written.find("[4]: (6.000;0.000), Podpora: Kloub"), std::string::npos);

    // A folder that does not exist: the text is printed, the failure is reported,
    // exit code 2.
    TRun failed =
        Calc({"--protocol", "--rtf", (dir / "nic" / "p.rtf").string(), Source("examples/portal-frame.inp")});
    EXPECT_EQ(failed.code, 2);
    EXPECT_EQ(failed.out, Golden("portal-frame.protocol.point.txt"));
    EXPECT_NE(failed.err.find((dir / "nic" / "p.rtf").string()), std::string::npos) << failed.err;
    EXPECT_FALSE(fs::exists(dir / "nic"));
    fs::remove_all(dir);
}

TEST(ReportCommand, BadReportOptionsAreUsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--rtf"}, {"--report", "--protocol", "x.inp"}, {"x.inp", "--rtf"}}) {
        TRun run = Calc(args);
        EXPECT_EQ(run.code, 2) << args[0];
        EXPECT_TRUE(run.out.empty()) << args[0];
        EXPECT_FALSE(run.err.empty()) << args[0];
    }
    TRun help = Calc({"--help"});
    EXPECT_NE(help.out.find("--protocol"), std::string::npos);
    EXPECT_NE(help.out.find("--rtf SOUBOR"), std::string::npos);
}

// The installed program, as a user runs it.
TEST(ReportCommand, ProgramPrintsTheImperialProtocol) {
    const std::string cmd = std::string("'") + KORVAN_CALC_PATH + "' --imperial --protocol '" +
                            Source("examples/portal-frame.inp") + "'";
    FILE* pipe = popen(cmd.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
        out.append(buf, n);
    const int status = pclose(pipe);
    EXPECT_EQ(status, 0);
    const std::string point = Golden("portal-frame.protocol.imperial.point.txt");
    const std::string comma = Golden("portal-frame.protocol.imperial.comma.txt");
    EXPECT_TRUE(out == point || out == comma) << out; // the separator comes from the environment
}
