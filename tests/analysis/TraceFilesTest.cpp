#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "analysis/Frames.h"
#include "analysis/TraceFile.h"
#include "base/NumberText.h"
#include "model/UserDialogs.h"

namespace fs = std::filesystem;

namespace {
const char* const KFiles[] = {"00KG.out", "00MG.out", "00FG.out", "00KGa.out", "00FGa.out", "00RG.out", "00reakce.out"};

struct TTempDir {
    fs::path Path;
    TTempDir() {
        Path = fs::temp_directory_path() / ("korvan-trace-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Path);
        fs::create_directories(Path);
    }
    ~TTempDir() { fs::remove_all(Path); }
    std::string Read(const char* name) const {
        std::ifstream in(Path / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::vector<std::string> Lines(const char* name) const {
        std::vector<std::string> lines;
        std::string text = Read(name), line;
        for (std::size_t p = 0; p < text.size();) {
            std::size_t e = text.find("\r\n", p);
            if (e == std::string::npos) {
                lines.push_back(text.substr(p));
                break;
            }
            lines.push_back(text.substr(p, e - p));
            p = e + 2;
        }
        return lines;
    }
};

struct TSeparatorGuard {
    char Old = DecimalSeparator();
    explicit TSeparatorGuard(char s) { SetDecimalSeparator(s); }
    ~TSeparatorGuard() { SetDecimalSeparator(Old); }
};

// A cantilever of 3 m along x from node 1 (fixed), then a second member to node 3, with a
// force 24 at 60° (u 12, w 12·√3) at node 3: EA/L = 100, 4EI/L = 1.2, 12EI/L³ = 0.4 for both members.
struct TChain {
    TFrame F{1000, 0.3, 0.0009};
    TUzel* N1 = F.Node(0, 0);
    TUzel* N2 = F.Node(3, 0);
    TUzel* N3 = F.Node(6, 0);
    TChain() {
        F.Member(N1, N2);
        F.Member(N2, N3);
        TFrame::Support(N1, true, true, true);
        N3->PridejZatizeni(KLoadForce, nullptr, 24, 60);
        F.Space.TraceEnabled = true;
    }
    TSolveStatus Run(TRecordingDialogs& sink) {
        TDialogsGuard guard(sink);
        return F.Space.Vypocet();
    }
};
} // namespace

TEST(TraceFiles, EveryStageIsWrittenWithItsLayout) {
    for (char sep : {'.', ','}) {
        TSeparatorGuard guard(sep);
        TTempDir dir;
        TChain c;
        c.F.Space.TraceDir = dir.Path.string();
        TRecordingDialogs sink;
        ASSERT_EQ(c.Run(sink).Result, TSolveResult::Ok);
        EXPECT_TRUE(sink.Messages.empty());
        for (const char* name : KFiles) EXPECT_TRUE(fs::exists(dir.Path / name)) << name;

        auto kg = dir.Lines("00KG.out");
        ASSERT_EQ(kg.size(), 81u);
        EXPECT_EQ(dir.Read("00KG.out").substr(dir.Read("00KG.out").size() - 2), "\r\n");
        const std::string onePointTwo = std::string("1") + sep + "2";
        // The second assembly (for the reactions) has no support changes.
        EXPECT_EQ(kg[0], "[1,1]:" + onePointTwo);
        EXPECT_EQ(kg[10], "[2,2]:100");
        EXPECT_EQ(kg[13], "[2,5]:-100");
        EXPECT_EQ(kg[6], "[1,7]:0"); // outside the profile: node 3 is not joined to node 1
        EXPECT_EQ(kg[54], "[7,1]:0");
        EXPECT_EQ(kg[30], "[4,4]:" + std::string("2") + sep + "4");

        auto kga = dir.Lines("00KGa.out");
        EXPECT_EQ(kga[0], "[1,1]:1");
        EXPECT_EQ(kga[1], "[1,2]:0");
        EXPECT_EQ(kga[30], kg[30]);

        auto fg = dir.Lines("00FG.out");
        ASSERT_EQ(fg.size(), 9u);
        EXPECT_EQ(fg[7], "[8]:12");
        EXPECT_EQ(fg[0], "[1]:0");
        EXPECT_EQ(dir.Lines("00FGa.out")[2], "[3]:0");
        EXPECT_EQ(dir.Lines("00MG.out").size(), 9u);
        EXPECT_EQ(dir.Lines("00RG.out")[0], "[1]:0");

        // Reactions: windows-1250 "Uzel číslo", fixed(12, 3), M before H before V, then an empty line.
        const std::string text = dir.Read("00reakce.out");
        const std::string v = std::string("20") + sep + "785", m = std::string("124") + sep + "708";
        const std::string h = std::string("12") + sep + "000";
        EXPECT_EQ(text, "-- Reakce --\r\n"
                        "Uzel \xE8\xEDslo 1: M [1]: " + m + " kNm\r\n"
                        "Uzel \xE8\xEDslo 1: H [2]: " + h + " kN\r\n"
                        "Uzel \xE8\xEDslo 1: V [3]: " + v + " kN\r\n"
                        "\r\n");
    }
}

TEST(TraceFiles, FileThatCannotBeCreatedDoesNotStopTheComputation) {
    TTempDir dir;
    // A directory in the place of one file: that file cannot be created, the others can.
    fs::create_directories(dir.Path / "00RG.out");
    TChain c;
    c.F.Space.TraceDir = dir.Path.string();
    TRecordingDialogs sink;
    ASSERT_EQ(c.Run(sink).Result, TSolveResult::Ok);
    EXPECT_TRUE(c.F.Space.ResultsValid);
    EXPECT_NEAR(D(c.N1->DofU.Reaction), 12.0, 1e-12);
    ASSERT_EQ(sink.Messages.size(), 1u);
    EXPECT_NE(sink.Messages[0].find("00RG.out (" + std::string(std::strerror(EISDIR)) + ")"),
              std::string::npos)
        << sink.Messages[0];
    EXPECT_EQ(sink.Messages[0].find("00KG.out"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir.Path / "00reakce.out"));

    TChain missing;
    missing.F.Space.TraceDir = (dir.Path / "no" / "such").string();
    TRecordingDialogs sink2;
    ASSERT_EQ(missing.Run(sink2).Result, TSolveResult::Ok);
    ASSERT_EQ(sink2.Messages.size(), 1u); // one message for all files
    for (const char* name : KFiles) EXPECT_NE(sink2.Messages[0].find(name), std::string::npos) << name;
    EXPECT_NE(sink2.Messages[0].find(std::strerror(ENOENT)), std::string::npos) << sink2.Messages[0];
    EXPECT_NEAR(D(missing.N1->DofRot.Reaction), 72 * std::sqrt(3.0), 1e-12);
}

TEST(TraceFiles, SwitchedOffWritesNothing) {
    TTempDir dir;
    TChain c;
    c.F.Space.TraceDir = dir.Path.string();
    c.F.Space.TraceEnabled = false;
    TRecordingDialogs sink;
    ASSERT_EQ(c.Run(sink).Result, TSolveResult::Ok);
    EXPECT_TRUE(fs::is_empty(dir.Path));
    EXPECT_NEAR(D(c.N1->DofRot.Reaction), 72 * std::sqrt(3.0), 1e-12);
}

TEST(TraceFiles, RefusedStructureLeavesTheFilesWrittenSoFar) {
    TTempDir dir;
    TChain c;
    TFrame::Support(c.N1, false, false, false);
    c.F.Space.TraceDir = dir.Path.string();
    TRecordingDialogs sink;
    EXPECT_NE(c.Run(sink).Result, TSolveResult::Ok);
    EXPECT_TRUE(fs::exists(dir.Path / "00KGa.out"));
    EXPECT_FALSE(fs::exists(dir.Path / "00RG.out"));
    EXPECT_FALSE(fs::exists(dir.Path / "00reakce.out"));
}

// A computation refused before its last stages leaves no results of an earlier one beside its own
// files; what is no file of results (a FIFO under a trace file's name) stays.
TEST(TraceFiles, ARefusedComputationRemovesTheEarlierResults) {
    TTempDir dir;
    TChain good;
    good.F.Space.TraceDir = dir.Path.string();
    TRecordingDialogs sink;
    ASSERT_EQ(good.Run(sink).Result, TSolveResult::Ok);

    TChain loose; // no support: a mechanism, refused after the supports are applied
    TFrame::Support(loose.N1, false, false, false);
    loose.F.Space.TraceDir = dir.Path.string();
    EXPECT_NE(loose.Run(sink).Result, TSolveResult::Ok);
    EXPECT_TRUE(fs::exists(dir.Path / "00KGa.out"));
    EXPECT_FALSE(fs::exists(dir.Path / "00RG.out"));
    EXPECT_FALSE(fs::exists(dir.Path / "00reakce.out"));

    TChain invalid; // refused before anything is assembled: no file of the earlier set stays
    invalid.F.Mat->E = 0;
    invalid.F.Space.TraceDir = dir.Path.string();
    ASSERT_EQ(::mkfifo((dir.Path / "00RG.out").c_str(), 0600), 0);
    EXPECT_EQ(invalid.Run(sink).Result, TSolveResult::Refused);
    for (const char* name : KFiles)
        EXPECT_EQ(fs::exists(dir.Path / name), std::string(name) == "00RG.out") << name;
    EXPECT_TRUE(fs::is_fifo(dir.Path / "00RG.out"));
}

// The matrix files of a computation over the limit are left out (and an earlier run's copies
// removed); up to the limit every file is what it is without one. The limit is judged by the size
// the two files take at the least (every value one character): the formula is checked against the
// lines of written files, with one-, two- and three-digit equation numbers.
TEST(TraceFiles, MatrixFilesOverTheLimitAreLeftOut) {
    for (int nodes : {3, 4, 34}) {
        TTempDir dir;
        TFrame f{1000, 0.3, 0.0009};
        std::vector<TUzel*> n;
        for (int i = 0; i < nodes; ++i) n.push_back(f.Node(3.0 * i, 0));
        for (int i = 1; i < nodes; ++i) f.Member(n[std::size_t(i - 1)], n[std::size_t(i)]);
        TFrame::Support(n[0], true, true, true);
        n.back()->PridejZatizeni(KLoadForce, nullptr, 24, 60);
        f.Space.TraceEnabled = true;
        f.Space.TraceDir = dir.Path.string();
        auto run = [&](std::uint64_t limit) {
            TRecordingDialogs sink;
            TDialogsGuard guard(sink);
            f.Space.TraceMatrixLimit = limit;
            EXPECT_EQ(f.Space.Vypocet().Result, TSolveResult::Ok);
            std::vector<std::string> files;
            for (const char* name : KFiles) files.push_back(fs::exists(dir.Path / name) ? dir.Read(name) : "-");
            return files;
        };
        const std::vector<std::string> all = run(0);
        ASSERT_FALSE(f.Space.TraceMatricesLeftOut);
        const std::uint64_t least = DenseMatrixTraceBytes(3 * std::uint64_t(nodes));
        for (const char* name : {"00KG.out", "00KGa.out"}) {
            std::uint64_t sum = 0;
            for (const std::string& line : dir.Lines(name))
                if (!line.empty()) sum += line.find(':') + 1 + 1 + 2;
            EXPECT_EQ(sum, least) << name << ", " << nodes << " nodes";
        }
        EXPECT_EQ(run(2 * least), all);
        EXPECT_FALSE(f.Space.TraceMatricesLeftOut);
        const std::vector<std::string> bounded = run(2 * least - 1);
        EXPECT_TRUE(f.Space.TraceMatricesLeftOut);
        for (std::size_t i = 0; i < all.size(); ++i)
            EXPECT_EQ(bounded[i], std::string(KFiles[i]).find("KG") != std::string::npos ? "-" : all[i]) << KFiles[i];
    }
    EXPECT_NE(TraceMatricesLeftOutText(64 << 20).find("větší než 64 MB."), std::string::npos);
    EXPECT_NE(TraceMatricesLeftOutText(3 << 10).find("větší než 3 kB."), std::string::npos);
    EXPECT_NE(TraceMatricesLeftOutText(1000).find("větší než 1000 B."), std::string::npos);
}
