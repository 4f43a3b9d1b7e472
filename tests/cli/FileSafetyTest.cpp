// Files the calculator writes: a failed write (a full disk, a read-only file) is an error and
// leaves the previous file as it was, and a link planted where a file is written never sends the
// bytes elsewhere.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/AtomicFile.h"
#include "model/Errors.h"
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
    // process writes (in 512-byte blocks), so writing more fails as on a full disk.
    TRun Calc(const std::string& args, int fileLimit = 0) const {
        std::string cmd = "cd '" + Path.string() + "' && (trap '' XFSZ; ";
        if (fileLimit > 0) cmd += "ulimit -f " + std::to_string(fileLimit) + "; ";
        cmd += "LC_ALL=C exec '" KORVAN_CALC_PATH "' " + args + ") > ../" + Path.filename().string() +
               ".out 2> ../" + Path.filename().string() + ".err";
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
    // A trace file that cannot be written is reported, and the results still stand.
    struct TCase {
        const char* File;
        std::string Args;
        int Code;
    } const cases[] = {
        {"r.rtf", "--rtf r.rtf '" + KPortal + "'", 2},
        {"00KG.out", "'" + KPortal + "'", 0},
        {"c.inp", "--curve 'x*x/100' --from 0 --to 400 --step 0.5 --save c.inp", 2},
    };
    for (const TCase& c : cases) {
        TFolder dir;
        dir.Put(c.File, KOld);
        const auto r = dir.Calc(c.Args, 2);
        EXPECT_EQ(r.Code, c.Code) << c.Args << "\n" << r.Err;
        EXPECT_NE(r.Err.find(c.File), std::string::npos) << c.Args << "\n" << r.Err;
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
