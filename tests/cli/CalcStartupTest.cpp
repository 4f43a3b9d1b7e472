// The calculator as a process: which runs load Qt, the hand-over of Qt pictures to the helper,
// and the choice of the equation order.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/Calc.h"

namespace fs = std::filesystem;

namespace {
const std::string KPortal = std::string(KORVAN_SOURCE_DIR) + "/examples/portal-frame.inp";

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct TRun {
    int Code = -1;
    std::string Out, Err;
};

// Runs korvan-calc in dir with the environment settings env (e.g. "LD_DEBUG=libs").
TRun Process(const fs::path& dir, const std::string& env, const std::string& args) {
    const std::string cmd = "cd '" + dir.string() + "' && env LC_ALL=C " + env + " '" KORVAN_CALC_PATH "' " + args +
                            " > stdout.txt 2> stderr.txt";
    TRun r;
    const int status = std::system(cmd.c_str());
    r.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.Out = ReadFile(dir / "stdout.txt");
    r.Err = ReadFile(dir / "stderr.txt");
    return r;
}

struct TDir {
    fs::path Path = fs::temp_directory_path() /
                    ("korvan-startup-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    TDir() {
        fs::remove_all(Path);
        fs::create_directories(Path);
    }
    ~TDir() { fs::remove_all(Path); }
};

// A grid of storeys × bays with its node numbers shuffled by a fixed rule (i·7 mod count).
std::string ShuffledGrid(int bays, int storeys) {
    const int columns = bays + 1, count = columns * (storeys + 1);
    auto number = [&](int g) { return (g * 7) % count + 1; };
    std::vector<int> where(std::size_t(count) + 1);
    for (int g = 0; g < count; ++g) where[std::size_t(number(g))] = g;
    std::ostringstream s;
    s << "*Materials\nM\nS\n210000\n7850\n*Shapes\nC\nR\nS\n0.01\n0.0001\n0.00005\n*Nodes\n";
    for (int n = 1; n <= count; ++n)
        s << "U\n" << n << "\n" << 5 * (where[std::size_t(n)] % columns) << "\n" << 3 * (where[std::size_t(n)] / columns) << "\n";
    s << "*Members\n";
    int member = 0;
    for (int r = 1; r <= storeys; ++r) {
        for (int c = 0; c < columns; ++c)
            s << "P\nR\n" << ++member << "\n0\n" << number((r - 1) * columns + c) << "\n" << number(r * columns + c) << "\n0\n0\n";
        for (int c = 0; c < bays; ++c)
            s << "P\nR\n" << ++member << "\n0\n" << number(r * columns + c) << "\n" << number(r * columns + c + 1) << "\n0\n0\n";
    }
    s << "*Supports\n";
    for (int c = 0; c < columns; ++c) s << "B\n" << number(c) << "\n1\n1\n1\n0\n";
    s << "*NodalLoads\n";
    for (int r = 1; r <= storeys; ++r) s << "ZU\n" << number(r * columns) << "\nP\n10\n0\n";
    return s.str();
}
} // namespace

TEST(CalcStartup, OnlyPicturesOfTheQtPainterNeedQt) {
    const struct {
        std::vector<std::string> args;
        bool qt;
    } cases[] = {
        {{"p.inp"}, false},
        {{"--table", "p.inp"}, false},
        {{"--picture", "a.wmf", "p.inp"}, false},
        {{"--picture", "a.WMF", "--mode", "M", "p.inp"}, false},
        {{"--picture", "a.png", "p.inp"}, true},
        {{"--picture", "a.svg", "--mode", "def", "p.inp"}, true},
        {{"--picture", "a.PDF", "p.inp"}, true},
        {{"--picture", "a.gif", "p.inp"}, false}, // refused with a message, no Qt needed for that
        {{"--picture", "a.png"}, false},          // no project: bad usage
        {{"--help", "--picture", "a.png"}, false},
        {{"--curve", "x", "--picture", "a.png"}, false},
    };
    for (const auto& c : cases) {
        std::string joined;
        for (const std::string& a : c.args) joined += a + " ";
        EXPECT_EQ(PictureNeedsQt(c.args), c.qt) << joined;
    }
    EXPECT_EQ(PictureHelperPath("/opt/k/bin/korvan-calc"), "/opt/k/bin/korvan-picture");
}

TEST(CalcStartup, ComputingReportingAndMetafilesDoNotLoadQt) {
    TDir dir;
    for (const std::string& args : std::vector<std::string>{"--version", "--no-trace --table '" + KPortal + "'",
                                   "--no-trace '" + KPortal + "'",
                                   "--no-trace --picture p.wmf --mode M '" + KPortal + "'"}) {
        const TRun r = Process(dir.Path, "LD_DEBUG=libs", args);
        EXPECT_EQ(r.Code, 0) << args;
        EXPECT_NE(r.Err.find("libc.so"), std::string::npos) << "no loader trace for " << args;
        EXPECT_EQ(r.Err.find("libQt"), std::string::npos) << args;
    }
    EXPECT_TRUE(fs::exists(dir.Path / "p.wmf"));
}

TEST(CalcStartup, QtPicturesAreDrawnByTheHelper) {
    TDir dir;
    const TRun r = Process(dir.Path, "QT_QPA_PLATFORM=offscreen", "--no-trace --picture p.png --size 200x150 '" + KPortal + "'");
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_NE(r.Out.find("p.png"), std::string::npos);
    const std::string png = ReadFile(dir.Path / "p.png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
}

TEST(CalcStartup, ExactOrderGivesTheSameResultsToPrintedPrecision) {
    TDir dir;
    {
        std::ofstream(dir.Path / "grid.inp", std::ios::binary) << ShuffledGrid(12, 14);
    }
    const TRun automatic = Process(dir.Path, "", "--no-trace --table grid.inp");
    const TRun exact = Process(dir.Path, "", "--no-trace --table --exact-order grid.inp");
    ASSERT_EQ(automatic.Code, 0) << automatic.Err;
    ASSERT_EQ(exact.Code, 0) << exact.Err;
    EXPECT_EQ(automatic.Out, exact.Out);
    EXPECT_NE(exact.Out.find("Uzly: 195"), std::string::npos);
    std::string error;
    TCalcOptions o;
    ASSERT_TRUE(ParseCalcOptions({"--exact-order", "a.inp"}, o, error)) << error;
    EXPECT_TRUE(o.ExactOrder);
    EXPECT_FALSE(ParseCalcOptions({"--exact-order=1", "a.inp"}, o, error));
}
