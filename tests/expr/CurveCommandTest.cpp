#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "cli/Calc.h"
#include "model/MKPSpace.h"

namespace {
namespace fs = std::filesystem;

const std::string KFailure = "Operace selhala. Zkontrolujte vstupní údaje.";

struct TCalcRun {
    int Code;
    std::string Out;
    std::string Err;
};

TCalcRun Calc(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int code = RunCalc(args, out, err);
    return {code, out.str(), err.str()};
}

class CurveCommand : public ::testing::Test {
protected:
    void SetUp() override {
        mDir =
            fs::temp_directory_path() /
            ("korvan-curve-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(mDir);
        fs::create_directories(mDir);
    }
    void TearDown() override { fs::remove_all(mDir); }
    std::string Path(const char* name) const { return (mDir / name).string(); }
    fs::path mDir;
};

const std::string KPortal = std::string(KORVAN_SOURCE_DIR) + "/examples/portal-frame.inp";
} // namespace

TEST_F(CurveCommand, ArchOnAnEmptyProjectIsSaved) {
    std::string out = Path("arch.inp");
    TCalcRun r = Calc({"--curve", "4-x^2/4", "--from", "-4", "--to", "4", "--step", "0.5", "--save", out});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_NE(r.Out.find("Přidáno uzlů: 17, prutů: 0"), std::string::npos) << r.Out;
    TMKPSpace space;
    space.NactiProjekt(out);
    ASSERT_EQ(space.Nodes.Count(), 17);
    EXPECT_EQ(space.Nodes[0]->X, -4);
    EXPECT_EQ(space.Nodes[8]->Y, 4);
    EXPECT_EQ(space.Nodes[16]->X, 4);
    EXPECT_EQ(space.Nodes[16]->Y, 0);
}

TEST_F(CurveCommand, JoinedChordOnAProjectUsesItsFirstSection) {
    std::string out = Path("chord.inp");
    TCalcRun r = Calc({"--curve", "4+sqrt(9-(x-3)^2)/3", "--from", "0", "--to", "6", "--step", "1", "--chord",
                       "--tolerance", "0.001", "--join", "--save", out, KPortal});
    ASSERT_EQ(r.Code, 0) << r.Err;
    TMKPSpace before, after;
    before.NactiProjekt(KPortal);
    after.NactiProjekt(out);
    int newNodes = after.Nodes.Count() - before.Nodes.Count();
    ASSERT_GE(newNodes, 6);
    ASSERT_EQ(after.Members.Count() - before.Members.Count(), newNodes - 1);
    for (int i = before.Members.Count(); i < after.Members.Count(); ++i) {
        TPrut* m = after.Members[i];
        EXPECT_EQ(m->Section, after.Sections.First());
        EXPECT_EQ(m->NodeB->Number, m->NodeA->Number + 1);
        if (i + 1 < after.Members.Count()) EXPECT_NEAR(static_cast<double>(m->Length), 1.0, 0.001);
    }
    EXPECT_EQ(after.Nodes.Last()->X, 6);
}

TEST_F(CurveCommand, JoinWithoutSectionsAddsNodesOnly) {
    std::string out = Path("nodes.inp");
    TCalcRun r = Calc({"--curve", "x", "--from", "0", "--to", "1", "--step", "0.5", "--join", "--save", out});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_NE(r.Err.find("nemá žádný profil"), std::string::npos);
    EXPECT_NE(r.Out.find("Přidáno uzlů: 3, prutů: 0"), std::string::npos) << r.Out;
}

TEST_F(CurveCommand, BadInputExitsWithTwoAndSavesNothing) {
    const std::string out = Path("never.inp");
    struct TCase {
        std::vector<std::string> Args;
        std::string Message; // part of the error output
    };
    const std::vector<TCase> cases = {
        {{"--curve", "x", "--from", "0", "--to", "1", "--step", "abc", "--save", out}, KFailure},
        {{"--curve", "x", "--from", "0", "--to", "1", "--step", "0,5", "--save", out}, KFailure},
        {{"--curve", "x^(2*x)", "--from", "0", "--to", "1", "--step", "1", "--save", out},
         "Error in formula.\n" + KFailure},
        {{"--curve", "1/x", "--from", "0", "--to", "1", "--step", "1", "--save", out}, KFailure},
        {{"--curve", "x", "--from", "0", "--to", "1", "--step", "1"}, "--save"},
        {{"--curve", "x", "--from", "0", "--step", "1", "--save", out}, "--to"},
        {{"--curve", "x", "--from", "0", "--to", "1", "--step", "1", "--tolerance", "0.1", "--save", out},
         "--chord"},
        {{"--curve", "x", "--from", "0", "--to", "1", "--step", "1", "--bogus", "--save", out}, "--bogus"},
        {{"--curve", "x", "--from", "0", "--to", "1", "--step"}, "--step"},
        {{"--curve", "x", "--from", "0", "--to", "1", "--step", "1", "--save", out, "a.inp", "b.inp"},
         "projekt"},
        {{"--curve", "x", "--from", "0", "--to", "1", "--step", "1", "--save", out, "/nonexistent/p.inp"},
         "/nonexistent/p.inp"},
    };
    for (const TCase& c : cases) {
        std::string joined;
        for (const std::string& a : c.Args)
            joined += a + " ";
        SCOPED_TRACE(joined);
        TCalcRun r = Calc(c.Args);
        EXPECT_EQ(r.Code, 2);
        EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST_F(CurveCommand, UnwritableOutputIsReported) {
    TCalcRun r = Calc({"--curve", "x", "--from", "0", "--to", "1", "--step", "1", "--save",
                       Path("missing-folder/out.inp")});
    EXPECT_EQ(r.Code, 2);
    EXPECT_NE(r.Err.find("missing-folder"), std::string::npos) << r.Err;
}

TEST_F(CurveCommand, TheProgramItselfRunsTheCommand) {
    std::string out = Path("cli.inp");
    std::string cmd = std::string(KORVAN_CALC_PATH) + " --curve 'x/2' --from 5 --to 2 --step 1 --save '" +
                      out + "' > '" + Path("stdout.txt") + "' 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    TMKPSpace space;
    space.NactiProjekt(out);
    ASSERT_EQ(space.Nodes.Count(), 4);
    EXPECT_EQ(space.Nodes[0]->X, 2);
    EXPECT_EQ(space.Nodes[3]->Y, 2.5);
    std::string bad = std::string(KORVAN_CALC_PATH) + " --curve 'x/' --from 0 --to 1 --step 1 --save '" +
                      out + "x' > /dev/null 2>&1";
    int status = std::system(bad.c_str());
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
}
