// Files the calculator writes: a failed write (a full disk, a read-only file) is an error and
// leaves the previous file as it was, and a link planted where a file is written never sends the
// bytes elsewhere.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "analysis/Frames.h"
#include "analysis/TraceFile.h"
#include "base/Errors.h"
#include "model/AtomicFile.h"
#include "model/MKPSpace.h"

namespace {
namespace fs = std::filesystem;

const std::string KPortal = std::string(KORVAN_SOURCE_DIR) + "/examples/portal-frame.inp";
const std::string KOld = "the previous file, which must survive";

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct TFolder {
    fs::path Path;
    TFolder() {
        Path = fs::temp_directory_path() /
               ("korvan-safety-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Path);
        fs::create_directories(Path);
    }
    ~TFolder() {
        std::error_code ec;
        fs::permissions(Path, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(Path, ec);
    }
    fs::path Put(const std::string& name, const std::string& text) const {
        std::ofstream(Path / name, std::ios::binary) << text;
        return Path / name;
    }
    // Files left in the folder apart from the ones named.
    int Entries() const { return int(std::distance(fs::directory_iterator(Path), {})); }

    struct TRun {
        int Code = -1;
        std::string Out, Err;
    };
    // The calculator as a process in this folder. fileLimit > 0 limits the size of every file the
    // process writes (in 512-byte blocks), so writing more fails as on a full disk; `shell` runs
    // before it (more limits). A run that hangs is cut off after a minute (exit code 124).
    TRun Calc(const std::string& args, int fileLimit = 0, const std::string& shell = "") const {
        std::string cmd = "cd '" + Path.string() + "' && (trap '' XFSZ; ";
        if (fileLimit > 0) cmd += "ulimit -f " + std::to_string(fileLimit) + "; ";
        cmd += shell + "LC_ALL=C exec timeout 60 '" KORVAN_CALC_PATH "' " + args + ") > ../" +
               Path.filename().string() + ".out 2> ../" + Path.filename().string() + ".err";
        const int status = std::system(cmd.c_str());
        TRun r;
        r.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        const fs::path out = Path.parent_path() / (Path.filename().string() + ".out");
        const fs::path err = Path.parent_path() / (Path.filename().string() + ".err");
        r.Out = Slurp(out);
        r.Err = Slurp(err);
        fs::remove(out);
        fs::remove(err);
        return r;
    }
};
} // namespace

// A picture that does not fit on the disk: exit 2 with the reason, no "Obrázek:" line, the old
// picture untouched and no temporary left behind.
TEST(FileSafety, PictureOnAFullDiskKeepsTheOldFile) {
    for (const char* name : {"p.png", "p.svg", "p.pdf", "p.wmf"}) {
        TFolder dir;
        dir.Put(name, KOld);
        const auto r = dir.Calc("--picture " + std::string(name) + " --numbers '" + KPortal + "'", 2);
        EXPECT_EQ(r.Code, 2) << name << "\n" << r.Out << r.Err;
        EXPECT_EQ(r.Out.find("Obrázek"), std::string::npos) << name << "\n" << r.Out;
        EXPECT_NE(r.Err.find(name), std::string::npos) << name << "\n" << r.Err;
        EXPECT_EQ(Slurp(dir.Path / name), KOld) << name;
        EXPECT_EQ(dir.Entries(), 1) << name;
        // With room on the disk the same command replaces the picture.
        const auto ok = dir.Calc("--picture " + std::string(name) + " '" + KPortal + "'");
        EXPECT_EQ(ok.Code, 0) << name << "\n" << ok.Err;
        EXPECT_GT(Slurp(dir.Path / name).size(), KOld.size()) << name;
    }
}

// The report document, a computation's trace files and a saved project meet the same disk.
TEST(FileSafety, ReportTraceAndCurveSaveOnAFullDisk) {
    // A trace file that cannot be written is reported with the reason and fails the run; the
    // results are printed all the same.
    struct TCase {
        const char* File;
        std::string Args;
        int Code;
    } const cases[] = {
        {"r.rtf", "--rtf r.rtf '" + KPortal + "'", 2},
        {"00KG.out", "'" + KPortal + "'", 2},
        {"c.inp", "--curve 'x*x/100' --from 0 --to 400 --step 0.5 --save c.inp", 2},
    };
    for (const TCase& c : cases) {
        TFolder dir;
        dir.Put(c.File, KOld);
        const auto r = dir.Calc(c.Args, 2);
        EXPECT_EQ(r.Code, c.Code) << c.Args << "\n" << r.Err;
        EXPECT_NE(r.Err.find(c.File), std::string::npos) << c.Args << "\n" << r.Err;
        EXPECT_NE(r.Err.find(std::strerror(EFBIG)), std::string::npos) << c.Args << "\n" << r.Err;
        EXPECT_EQ(Slurp(dir.Path / c.File), KOld) << c.Args;
        for (const auto& entry : fs::directory_iterator(dir.Path))
            EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
                << c.Args << ": " << entry.path();
    }
}

// Links planted where the program writes: the temporary names of the old picture writer and the
// trace files' fixed names. The file a link points to is never written.
TEST(FileSafety, PlantedLinksAreNotFollowed) {
    struct TCase {
        const char* Link;
        std::string Args;
        const char* Written;
    } const cases[] = {
        {"p.svg.tmp-korvan", "--picture p.svg '" + KPortal + "'", "p.svg"},
        {"p.png.tmp-korvan", "--picture p.png '" + KPortal + "'", "p.png"},
        {"00KG.out", "'" + KPortal + "'", "00KG.out"},
        {"00reakce.out", "'" + KPortal + "'", "00reakce.out"},
    };
    for (const TCase& c : cases) {
        TFolder dir;
        const fs::path victim = dir.Put("victim.txt", KOld);
        fs::create_symlink(victim, dir.Path / c.Link);
        const auto r = dir.Calc(c.Args);
        EXPECT_EQ(r.Code, 0) << c.Args << "\n" << r.Err;
        EXPECT_EQ(Slurp(victim), KOld) << c.Args;
        EXPECT_FALSE(fs::is_symlink(dir.Path / c.Written)) << c.Args;
        EXPECT_GT(fs::file_size(dir.Path / c.Written), 0u) << c.Args;
    }
}

// An existing file that nobody may write is refused the way an editor refuses it, even for a
// user whose rights would let the rename replace it.
TEST(FileSafety, ReadOnlyTargetsAreRefused) {
    TFolder dir;
    const fs::path target = dir.Put("ro.inp", KOld);
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
    const auto r = dir.Calc("--curve x --from 0 --to 1 --step 1 --save ro.inp");
    EXPECT_EQ(r.Code, 2) << r.Out;
    EXPECT_NE(r.Err.find("jen pro čtení"), std::string::npos) << r.Err;
    EXPECT_EQ(Slurp(target), KOld);

    const auto picture = dir.Calc("--picture ro.inp.svg '" + KPortal + "'");
    EXPECT_EQ(picture.Code, 0) << picture.Err;
    ASSERT_EQ(::chmod((dir.Path / "ro.inp.svg").c_str(), 0444), 0);
    const std::string svg = Slurp(dir.Path / "ro.inp.svg");
    EXPECT_EQ(dir.Calc("--picture ro.inp.svg --numbers '" + KPortal + "'").Code, 2);
    EXPECT_EQ(Slurp(dir.Path / "ro.inp.svg"), svg);

    TMKPSpace space;
    space.NactiProjekt(KPortal);
    EXPECT_THROW(space.UlozProjekt(target.string()), TFileIoError);
    EXPECT_EQ(Slurp(target), KOld);
}

// Every temporary is a new file of its own: two writers of one target never share one, and a
// file is replaced only by Commit.
TEST(FileSafety, TemporariesAreUniqueAndExclusive) {
    TFolder dir;
    const std::string target = dir.Put("t.txt", KOld).string();
    {
        TAtomicFile a(target), b(target);
        EXPECT_NE(a.TemporaryPath(), b.TemporaryPath());
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(a.TemporaryPath())));
        a.Write("first");
        b.Write("second");
        b.Commit();
        EXPECT_EQ(Slurp(target), "second");
    }
    // The uncommitted one is gone with its object; the target holds the committed bytes.
    EXPECT_EQ(Slurp(target), "second");
    EXPECT_EQ(dir.Entries(), 1);
}

// The calculator refuses a project whose values it cannot compute, naming the fault, with exit
// code 1 and no report that could show a value that is not a number.
TEST(FileSafety, CalculatorRefusesValuesThatAreNotNumbers) {
    auto project = [](const std::string& e, const std::string& a, const std::string& extra) {
        return "*Materials\r\nM\r\nS\r\n" + e + "\r\n7850\r\n*Shapes\r\nC\r\nX\r\nS\r\n" + a +
               "\r\n1E-4\r\n1E-4\r\n*Nodes\r\nU\r\n1\r\n0\r\n0\r\nU\r\n2\r\n4\r\n0\r\n" + extra +
               "*Members\r\nP\r\nX\r\n1\r\n0\r\n1\r\n2\r\n0\r\n0\r\n*Supports\r\nB\r\n1\r\n1\r\n1\r\n1\r\n0\r\n"
               "*NodalLoads\r\nZU\r\n2\r\nP\r\n15\r\n90\r\n";
    };
    struct TCase {
        std::string Text;
        const char* Message;
    } const cases[] = {
        {project("0", "0.01", ""), "Materiál \"S\": modul pružnosti musí být kladný."},
        {project("210000", "0", ""), "Profil \"X\": plocha musí být kladná."},
        {project("210000", "0.01", "U\r\n3\r\n9\r\n9\r\n") + "ZU\r\n3\r\nP\r\n15\r\n90\r\n",
         "pohyblivým mechanismem"},
    };
    for (const TCase& c : cases) {
        TFolder dir;
        dir.Put("p.inp", c.Text);
        for (const char* options : {"", "--table "}) {
            const auto r = dir.Calc(std::string(options) + "p.inp");
            EXPECT_EQ(r.Code, 1) << c.Message << "\n" << r.Out << r.Err;
            EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
            for (const char* bad : {"nan", "NAN", "inf", "INF"})
                EXPECT_EQ(r.Out.find(bad), std::string::npos) << c.Message << "\n" << r.Out;
        }
    }
}

// Through a link to standard output (here a pipe) the document goes down the pipe and the link
// stays; "-" is standard output itself.
TEST(FileSafety, StandardOutputAsTarget) {
    TFolder dir;
    fs::create_symlink("/proc/self/fd/1", dir.Path / "stdout.rtf");
    const auto piped = dir.Calc("--rtf stdout.rtf '" + KPortal + "' | cat");
    EXPECT_NE(piped.Out.find("REAKCE"), std::string::npos) << piped.Err;
    EXPECT_NE(piped.Out.find("{\\rtf1"), std::string::npos) << piped.Err;
    EXPECT_TRUE(fs::is_symlink(dir.Path / "stdout.rtf"));
    const auto out = dir.Calc("--rtf - '" + KPortal + "'");
    EXPECT_EQ(out.Code, 0) << out.Err;
    EXPECT_EQ(out.Out.rfind("{\\rtf1", 0), 0u) << out.Out.substr(0, 40);
}

// No output replaces the project being read, whatever name it goes by.
TEST(FileSafety, OutputsNeverReplaceTheProjectBeingRead) {
    TFolder dir;
    const std::string project = Slurp(KPortal);
    for (const char* name : {"same.inp", "p.wmf", "00KG.out"})
        dir.Put(name, project);
    fs::create_hard_link(dir.Path / "same.inp", dir.Path / "hard.rtf");
    for (const char* args : {"--rtf same.inp same.inp", "--rtf hard.rtf same.inp", "--picture p.wmf p.wmf",
                             "--table 00KG.out"}) {
        const auto r = dir.Calc(args);
        EXPECT_EQ(r.Code, 2) << args << "\n" << r.Err;
        EXPECT_NE(r.Err.find("čtený projekt"), std::string::npos) << args << "\n" << r.Err;
    }
    for (const char* name : {"same.inp", "p.wmf", "00KG.out"})
        EXPECT_EQ(Slurp(dir.Path / name), project) << name;
}

// Input that never ends or never comes is refused at once; standard input is read up to the
// limit; memory that runs out is named in Czech.
TEST(FileSafety, InputIsBoundedAndNeverWaitedFor) {
    TFolder dir;
    ASSERT_EQ(::mkfifo((dir.Path / "fifo.inp").c_str(), 0600), 0);
    fs::resize_file(dir.Put("huge.inp", ""), std::uintmax_t(800) << 20); // sparse
    const struct {
        std::string Args, Shell;
        int Code;
        const char* Message;
    } cases[] = {
        {"/dev/zero", "", 2, "není to obyčejný soubor"},
        {"fifo.inp", "", 2, "není to obyčejný soubor"},
        {"--max-size 1M - < /dev/zero", "", 2, "Vstup je větší než 1 MB"},
        {"--max-size 700M huge.inp", "", 2, "je větší než 700 MB"},
        {"huge.inp", "ulimit -v 400000; ", 2, "nedostatek paměti"},
        {"--table - < '" + KPortal + "'", "", 0, "Uzly: 4, pruty: 3"},
    };
    for (const auto& c : cases) {
#ifdef __SANITIZE_ADDRESS__
        // AddressSanitizer reserves its shadow memory at start: under a limit of the address
        // space the program never starts.
        if (!c.Shell.empty()) continue;
#endif
        const auto r = dir.Calc(c.Args, 0, c.Shell);
        EXPECT_EQ(r.Code, c.Code) << c.Args << "\n" << r.Err;
        EXPECT_NE((r.Err + r.Out).find(c.Message), std::string::npos) << c.Args << "\n" << r.Err;
        EXPECT_EQ(r.Err.find("bad_alloc"), std::string::npos) << r.Err;
    }
}

// Two computations of two models into one trace folder at once: the folder always holds the
// whole set of one of them.
TEST(FileSafety, TwoComputationsIntoOneTraceFolderNeverMixTheirFiles) {
    TFolder dir;
    for (int force : {10, 20}) { // cantilevers of 80 nodes, loaded differently
        TFrame f;
        TFrame::Support(f.Node(0, 0), true, true, true);
        for (int i = 1; i < 80; ++i)
            f.Member(f.Space.Nodes[i - 1], f.Node(i, 0));
        f.Space.Nodes.Last()->PridejZatizeni(KLoadForce, nullptr, force, 90);
        f.Space.UlozProjekt((dir.Path / (force == 10 ? "a.inp" : "b.inp")).string());
    }
    auto traceSet = [&dir](const char* folder) {
        std::string set;
        for (const char* name : KTraceFileNames)
            set += std::string(name) + ":" + Slurp(dir.Path / folder / name);
        return set;
    };
    ASSERT_EQ(dir.Calc("--trace-dir ref-a a.inp").Code + dir.Calc("--trace-dir ref-b b.inp").Code, 0);
    const std::string a = traceSet("ref-a"), b = traceSet("ref-b");
    const std::string run = "LC_ALL=C '" KORVAN_CALC_PATH "' --trace-dir both ";
    for (int round = 0; round < 15; ++round) {
        const std::string cmd =
            "cd '" + dir.Path.string() + "' && (" + run + "a.inp & " + run + "b.inp & wait) > /dev/null 2>&1";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
        const std::string both = traceSet("both");
        EXPECT_TRUE(both == a || both == b) << "round " << round;
    }
}
