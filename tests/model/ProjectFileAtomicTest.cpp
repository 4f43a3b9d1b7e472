#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/AtomicFile.h"
#include "model/Errors.h"

namespace {
namespace fs = std::filesystem;

struct TempFolder {
    fs::path Path;
    TempFolder() {
        static int counter = 0;
        Path = fs::temp_directory_path() /
               ("korvan-atomic-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::remove_all(Path);
        fs::create_directories(Path);
    }
    ~TempFolder() { fs::remove_all(Path); }
    std::string operator/(const std::string& name) const { return (Path / name).string(); }
    int Entries() const { return static_cast<int>(std::distance(fs::directory_iterator(Path), {})); }
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
} // namespace

TEST(AtomicFile, WritesExactBytesAndLeavesNoTemporary) {
    TempFolder dir;
    std::string bytes("a\r\nb\0c\xFF", 7);
    WriteFileAtomically(dir / "x.inp", bytes);
    EXPECT_EQ(Slurp(dir / "x.inp"), bytes);
    EXPECT_EQ(dir.Entries(), 1);
    WriteFileAtomically(dir / "empty.inp", "");
    EXPECT_TRUE(fs::exists(dir / "empty.inp"));
    EXPECT_EQ(fs::file_size(dir / "empty.inp"), 0u);
}

TEST(AtomicFile, ReplacesAnExistingFileKeepingItsPermissions) {
    TempFolder dir;
    const std::string path = dir / "p.inp";
    WriteFileAtomically(path, "old contents that are longer");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    WriteFileAtomically(path, "new");
    EXPECT_EQ(Slurp(path), "new");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(dir.Entries(), 1);
}

TEST(AtomicFile, FollowsASymbolicLink) {
    TempFolder dir;
    WriteFileAtomically(dir / "real.inp", "1");
    fs::create_symlink(dir / "real.inp", dir / "link.inp");
    WriteFileAtomically(dir / "link.inp", "2");
    EXPECT_TRUE(fs::is_symlink(dir / "link.inp"));
    EXPECT_EQ(Slurp(dir / "real.inp"), "2");
}

TEST(AtomicFile, FailuresRaiseIoErrorAndKeepThePreviousState) {
    TempFolder dir;
    // A missing folder: nothing can be created.
    EXPECT_THROW(WriteFileAtomically(dir / "missing/x.inp", "x"), TFileIoError);
    // The target is a folder: the rename fails, the folder and its content stay, no temporary.
    fs::create_directory(dir / "folder.inp");
    WriteFileAtomically(dir / "folder.inp/inner", "keep");
    try {
        WriteFileAtomically(dir / "folder.inp", "x");
        FAIL() << "a folder was replaced";
    } catch (const TFileIoError& e) {
        EXPECT_EQ(e.Path(), dir / "folder.inp");
        EXPECT_NE(std::string(e.what()).find("nelze uložit"), std::string::npos);
    }
    EXPECT_EQ(Slurp(dir / "folder.inp/inner"), "keep");
    EXPECT_EQ(dir.Entries(), 1);
}
