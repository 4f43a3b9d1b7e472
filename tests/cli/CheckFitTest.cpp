// The calculator's equilibrium check (--check), the place of a refused structure on the second
// error line, and --fit keeping the picture's diagram and labels inside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "analysis/Frames.h"
#include "cli/Calc.h"
#include "model/UserDialogs.h"

#ifdef KORVAN_WITH_QT
#include <QImage>
#endif

namespace fs = std::filesystem;

namespace {
std::string Example(const std::string& name) {
    return std::string(KORVAN_SOURCE_DIR) + "/examples/" + name + ".inp";
}

struct TRun {
    int Code = -1;
    std::string Out, Err;
};

TRun Calc(std::vector<std::string> args) {
    args.insert(args.begin(), {"--decimal-separator", ".", "--no-trace"});
    std::ostringstream out, err;
    TRun r;
    r.Code = RunCalc(args, out, err);
    r.Out = out.str();
    r.Err = err.str();
    return r;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The value after "name = " on its line of the check's output.
double Value(const std::string& out, const std::string& name) {
    for (const std::string& line : Lines(out))
        if (line.rfind(name + " = ", 0) == 0) return std::stod(line.substr(name.size() + 3));
    ADD_FAILURE() << name << " missing in\n" << out;
    return 1e300;
}

struct TTempDir {
    fs::path Path;
    TTempDir() {
        Path = fs::temp_directory_path() /
               ("korvan-check-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Path);
        fs::create_directories(Path);
    }
    ~TTempDir() { fs::remove_all(Path); }
};

// The four-bar linkage of the mechanism tests as a project file.
std::string LinkageProject(const fs::path& dir) {
    TFrame f;
    TUzel* n1 = f.Node(0, 0);
    TUzel* n2 = f.Node(0, 3);
    TUzel* n3 = f.Node(4, 3);
    TUzel* n4 = f.Node(4, 0);
    f.Member(n1, n2, true, true);
    f.Member(n2, n3, true, true);
    f.Member(n3, n4, true, true);
    TFrame::Support(n1, true, true, false);
    TFrame::Support(n4, true, true, false);
    n2->PridejZatizeni(KLoadForce, nullptr, 10, 0);
    const fs::path file = dir / "linkage.inp";
    f.Space.UlozProjekt(file.string());
    return file.string();
}
} // namespace

TEST(CalcCheckTest, EveryExampleBalances) {
    for (const char* name : {"portal-frame", "continuous-beam", "three-hinged-frame", "truss"}) {
        const TRun r = Calc({"--check", Example(name)});
        ASSERT_EQ(r.Code, 0) << name << "\n" << r.Err;
        EXPECT_EQ(r.Err, "") << name;
        const std::vector<std::string> lines = Lines(r.Out);
        ASSERT_EQ(lines.size(), 5u) << r.Out;
        EXPECT_EQ(lines[0], "Kontrola rovnováhy");
        const double loads = 1.0; // every example carries loads of a few kN at least
        EXPECT_LT(std::fabs(Value(r.Out, "ΣFx")), 1e-9 * 100 * loads) << name;
        EXPECT_LT(std::fabs(Value(r.Out, "ΣFy")), 1e-9 * 100 * loads) << name;
        EXPECT_LT(std::fabs(Value(r.Out, "ΣM")), 1e-9 * 1000 * loads) << name;
        EXPECT_LT(Value(r.Out, "‖K·u − f‖/‖f‖"), 1e-12) << name;
    }
}

// A solution disturbed on purpose fails the check with exit code 1.
TEST(CalcCheckTest, DisturbedSolutionFails) {
    TMKPSpace space;
    space.NactiProjekt(Example("portal-frame"));
    space.TraceEnabled = false;
    {
        TRecordingDialogs quiet;
        TDialogsGuard guard(quiet);
        ASSERT_EQ(space.Vypocet().Result, TSolveResult::Ok);
    }
    std::ostringstream out, err;
    ASSERT_EQ(PrintEquilibrium(space, out, err, '.'), 0) << err.str();
    const struct {
        TReal Relative;
        int Code;
    } rows[] = {{1e-15L, 0}, {1e-3L, 1}, {1e-2L, 1}};
    TUzel* node = space.Nodes[1];
    const TReal kept = node->Displacement[1];
    for (const auto& row : rows) {
        node->Displacement[1] = kept * (1 + row.Relative);
        std::ostringstream o, e;
        EXPECT_EQ(PrintEquilibrium(space, o, e, '.'), row.Code) << double(row.Relative);
        EXPECT_EQ(e.str().find("překračuje") != std::string::npos, row.Code == 1) << e.str();
        EXPECT_EQ(Value(o.str(), "‖K·u − f‖/‖f‖") > KCheckLimit, row.Code == 1);
    }
}

// The refusal's message stays the first line; the place follows as the second.
TEST(CalcCheckTest, RefusedStructureNamesItsPlace) {
    TTempDir dir;
    const std::string project = LinkageProject(dir.Path);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{project}, {"--check", project}, {"--table", project}}) {
        const TRun r = Calc(args);
        EXPECT_EQ(r.Code, 1);
        const std::vector<std::string> lines = Lines(r.Err);
        ASSERT_GE(lines.size(), 3u) << r.Err;
        EXPECT_TRUE(lines[0] == "Na diagonále matice tuhosti byla nalezena nulová hodnota. Zkontrolujte, prosím, "
                                "podepření soustavy," ||
                    lines[0] == "Zkontrolujte podepření soustavy, prosím. Konstrukce je pravděpodobně pohyblivým "
                                "mechanismem.")
            << lines[0];
        EXPECT_EQ(lines[1], "Uzel 3: posun u");
    }
    const TRun picture = Calc({"--picture", (dir.Path / "m.svg").string(), "--mode", "M", project});
    EXPECT_EQ(picture.Code, 1);
    const std::vector<std::string> lines = Lines(picture.Err);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "Uzel 3: posun u");
}

TEST(CalcCheckTest, FitIsAPictureOption) {
    TTempDir dir;
    const TRun bad = Calc({"--fit", "--picture", (dir.Path / "x.bmp").string(), Example("portal-frame")});
    EXPECT_EQ(bad.Code, 2);
    const TRun help = Calc({"--help"});
    EXPECT_NE(help.Out.find("--fit"), std::string::npos);
    EXPECT_NE(help.Out.find("--check"), std::string::npos);
}

#ifdef KORVAN_WITH_QT
namespace {
// Non-white pixels within `band` pixels of the picture's edge.
int InkAtEdges(const QImage& image, int band) {
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool edge = x < band || y < band || x >= image.width() - band || y >= image.height() - band;
            if (edge && (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) ++ink;
        }
    return ink;
}
} // namespace

// Painted by Qt with real fonts: with --fit no diagram line and no label reaches the edges, while
// the default scale runs the portal frame's moments off a picture too small for show-all to hold
// them at any zoom.
TEST(CalcCheckTest, FitKeepsDiagramAndLabelsInsideThePicture) {
    TTempDir dir;
    const fs::path plain = dir.Path / "plain.png";
    ASSERT_EQ(
        Calc({"--picture", plain.string(), "--mode", "M", "--size", "120x100", Example("portal-frame")}).Code,
        0);
    QImage image(QString::fromStdString(plain.string()));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(InkAtEdges(image, 2), 0);

    for (const char* name : {"portal-frame", "continuous-beam", "three-hinged-frame"})
        for (const char* mode : {"T", "N", "M", "def"})
            for (const char* size : {"765x520", "500x400"}) {
                const fs::path fitted = dir.Path / "fit.png";
                const TRun r =
                    Calc({"--picture", fitted.string(), "--mode", mode, "--size", size, "--fit", Example(name)});
                ASSERT_EQ(r.Code, 0) << r.Err;
                QImage fit(QString::fromStdString(fitted.string()));
                ASSERT_FALSE(fit.isNull());
                EXPECT_EQ(InkAtEdges(fit, 3), 0) << name << " " << mode << " " << size;
            }
}
#endif
