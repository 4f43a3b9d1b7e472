#include "model/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include "model/Errors.h"

namespace {
namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& path, int error) {
    throw TFileIoError("Soubor „" + path + "“ nelze uložit: " + std::strerror(error) + ".", path);
}

// The path that is really replaced: the target of a symbolic link when links are followed.
std::string TargetPath(const std::string& path, bool followLinks) {
    std::error_code ec;
    if (followLinks && fs::is_symlink(fs::symlink_status(path, ec))) {
        fs::path target = fs::weakly_canonical(fs::path(path), ec);
        if (!ec) return target.string();
    }
    return path;
}

// A name nobody can guess in advance: the process, a per-process random number and a counter.
std::string TemporaryName(const std::string& target) {
    static const unsigned long long salt = [] {
        std::random_device device;
        return (static_cast<unsigned long long>(device()) << 32) ^ device();
    }();
    static std::atomic<unsigned> counter{0};
    char tail[64];
    std::snprintf(tail, sizeof tail, ".~%d-%llx-%u.tmp", static_cast<int>(::getpid()), salt, counter++);
    return target + tail;
}

// After a rename the new directory entry is durable only once the folder itself is flushed.
// File systems that cannot flush a folder say so with EINVAL; that is no failure of the write.
int SyncFolderOf(const std::string& target) {
    std::string folder = fs::path(target).parent_path().string();
    if (folder.empty()) folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = 0;
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) error = errno;
    ::close(fd);
    return error;
}
} // namespace

TAtomicFile::TAtomicFile(std::string path, TAtomicFileOptions options)
    : mPath(std::move(path)), mTarget(TargetPath(mPath, options.FollowLinks)) {
    struct stat previous {};
    const bool exists = ::stat(mTarget.c_str(), &previous) == 0;
    if (exists && options.RefuseReadOnly && S_ISREG(previous.st_mode) &&
        ((previous.st_mode & 0222) == 0 || ::access(mTarget.c_str(), W_OK) != 0))
        throw TFileIoError("Soubor „" + mPath + "“ je jen pro čtení; nelze jej přepsat.", mPath);
    // O_EXCL never opens what is already there, a planted link included; a collision with a
    // stale temporary only makes the next name be tried.
    for (int attempt = 0; attempt < 100 && mFd < 0; ++attempt) {
        mTemporary = TemporaryName(mTarget);
        mFd = ::open(mTemporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (mFd < 0 && errno != EEXIST) Fail(mPath, errno);
    }
    if (mFd < 0) Fail(mPath, EEXIST);
    // An existing file keeps its permission bits.
    if (exists && S_ISREG(previous.st_mode) && ::fchmod(mFd, previous.st_mode & 07777) != 0) Abandon(errno);
}

TAtomicFile::~TAtomicFile() {
    if (mFd >= 0) {
        ::close(mFd);
        ::unlink(mTemporary.c_str());
    }
}

void TAtomicFile::Abandon(int error) {
    if (mFd >= 0) ::close(mFd);
    mFd = -1;
    ::unlink(mTemporary.c_str());
    Fail(mPath, error);
}

void TAtomicFile::Write(std::string_view bytes) {
    if (mFd < 0) Fail(mPath, EBADF);
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(mFd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            Abandon(errno);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
}

void TAtomicFile::Commit() {
    if (mFd < 0) Fail(mPath, EBADF);
    if (::fsync(mFd) != 0) Abandon(errno);
    const int fd = mFd;
    mFd = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(mTemporary.c_str());
        Fail(mPath, error);
    }
    if (::rename(mTemporary.c_str(), mTarget.c_str()) != 0) {
        const int error = errno;
        ::unlink(mTemporary.c_str());
        Fail(mPath, error);
    }
    if (const int error = SyncFolderOf(mTarget)) Fail(mPath, error);
}

void WriteFileAtomically(const std::string& path, std::string_view bytes, TAtomicFileOptions options) {
    TAtomicFile file(path, options);
    file.Write(bytes);
    file.Commit();
}
