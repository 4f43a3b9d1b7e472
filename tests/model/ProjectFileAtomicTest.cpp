#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

#include "base/Errors.h"
#include "model/AtomicFile.h"

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

// What stands at the path decides how it is written: a device or FIFO takes the bytes and stays
// what it is, a link to nothing is refused and left alone.
TEST(AtomicFile, DevicesAndFifosAreWrittenIntoAndNeverReplaced) {
    TempFolder dir;
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir / "deaf").c_str(), 0600), 0);
    fs::create_symlink("/proc/self/fd/" + std::to_string(ends[1]), dir / "stdout"); // as /dev/stdout
    fs::create_symlink(dir / "nowhere", dir / "dangling");
    // A device node of its own: only for root, and where the file system allows devices.
    const bool device = ::mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 &&
                        ::close(::open((dir / "null").c_str(), O_WRONLY)) == 0;
    if (!device) ::unlink((dir / "null").c_str());
    const int reader = ::open((dir / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
    // Name, what is there, written or not, what stays there.
    const std::tuple<std::string, TWriteTarget, bool, fs::file_type> cases[] = {
        {"fifo", TWriteTarget::Stream, true, fs::file_type::fifo},
        {"deaf", TWriteTarget::Stream, false, fs::file_type::fifo}, // nobody reads: refused at once
        {"stdout", TWriteTarget::Stream, true, fs::file_type::symlink},
        {"null", TWriteTarget::Stream, true, fs::file_type::character},
        {"dangling", TWriteTarget::DanglingLink, false, fs::file_type::symlink},
    };
    for (const auto& [name, kind, written, stays] : cases) {
        if (name == "null" && !device) continue;
        EXPECT_EQ(WriteTargetKind(dir / name), kind) << name;
        EXPECT_EQ(written, [&] {
            try {
                WriteFileAtomically(dir / name, "bytes");
                return true;
            } catch (const TFileIoError&) {
                return false;
            }
        }()) << name;
        EXPECT_EQ(fs::symlink_status(dir / name).type(), stays) << name;
    }
    for (const int from : {reader, ends[0]}) {
        char got[8] = {};
        EXPECT_EQ(::read(from, got, sizeof got), 5);
        EXPECT_STREQ(got, "bytes");
        ::close(from);
    }
    ::close(ends[1]);
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
    EXPECT_EQ(dir.Entries(), device ? 5 : 4);
}

// Once the file is renamed into place the save is done: a folder that cannot be flushed after
// it is no failure of the save.
TEST(AtomicFile, AFolderThatCannotBeFlushedDoesNotFailADoneSave) {
    TempFolder dir;
    const TFolderSync old = ExchangeFolderSync([](const std::string&) { return EIO; });
    EXPECT_NO_THROW(WriteFileAtomically(dir / "x.inp", "saved"));
    ExchangeFolderSync(old);
    EXPECT_EQ(Slurp(dir / "x.inp"), "saved");
    EXPECT_EQ(dir.Entries(), 1);
}
