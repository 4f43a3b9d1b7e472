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

#include "base/Errors.h"

namespace {
namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& path, int error) {
    throw TFileIoError("Soubor „" + path + "“ nelze uložit: " + std::strerror(error) + ".", path,
                       std::strerror(error));
}

[[noreturn]] void Refuse(const std::string& path, const std::string& message, const std::string& reason) {
    throw TFileIoError("Soubor „" + path + "“ " + message, path, reason);
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
// File systems that cannot flush a folder say so with EINVAL.
int SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = 0;
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) error = errno;
    ::close(fd);
    return error;
}

std::atomic<TFolderSync> gFolderSync{&SyncFolder};
} // namespace

TFolderSync ExchangeFolderSync(TFolderSync sync) {
    return gFolderSync.exchange(sync ? sync : &SyncFolder);
}

TWriteTarget WriteTargetKind(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        struct stat link {};
        return ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode) ? TWriteTarget::DanglingLink
                                                                          : TWriteTarget::Missing;
    }
    if (S_ISDIR(st.st_mode)) return TWriteTarget::Folder;
    return S_ISREG(st.st_mode) ? TWriteTarget::RegularFile : TWriteTarget::Stream;
}

bool IsSameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

TAtomicFile::TAtomicFile(std::string path, TAtomicFileOptions options)
    : mPath(std::move(path)), mTarget(mPath) {
    struct stat st {};
    if (::lstat(mPath.c_str(), &st) != 0) {
        if (errno != ENOENT) Fail(mPath, errno);
        OpenTemporary(false, 0);
        return;
    }
    const bool link = S_ISLNK(st.st_mode);
    if (link) {
        // Not followed: the link itself is replaced by the new file.
        if (!options.FollowLinks) {
            OpenTemporary(false, 0);
            return;
        }
        if (::stat(mPath.c_str(), &st) != 0) {
            if (errno == ENOENT)
                Refuse(mPath, "je odkaz na neexistující soubor; odkaz zůstává, jak je, a nic se neuložilo.",
                       "odkaz na neexistující soubor");
            Fail(mPath, errno);
        }
    }
    if (S_ISDIR(st.st_mode)) Fail(mPath, EISDIR);
    if (!S_ISREG(st.st_mode)) {
        OpenStream(options, S_ISFIFO(st.st_mode));
        return;
    }
    // Through a link, the file it points to is replaced and the link stays.
    if (link) {
        std::error_code ec;
        const fs::path target = fs::canonical(fs::path(mPath), ec);
        if (ec) Fail(mPath, ec.value());
        mTarget = target.string();
    }
    if (options.RefuseReadOnly && ((st.st_mode & 0222) == 0 || ::access(mTarget.c_str(), W_OK) != 0))
        Refuse(mPath, "je jen pro čtení; nelze jej přepsat.", "jen pro čtení");
    OpenTemporary(true, st.st_mode & 07777);
}

void TAtomicFile::OpenTemporary(bool keepMode, unsigned mode) {
    // O_EXCL never opens what is already there, a planted link included; a collision with a
    // stale temporary only makes the next name be tried.
    for (int attempt = 0; attempt < 100 && mFd < 0; ++attempt) {
        mTemporary = TemporaryName(mTarget);
        mFd = ::open(mTemporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (mFd < 0 && errno != EEXIST) Fail(mPath, errno);
    }
    if (mFd < 0) Fail(mPath, EEXIST);
    // An existing file keeps its permission bits.
    if (keepMode && ::fchmod(mFd, mode) != 0) Abandon(errno);
}

// A device or a FIFO takes the bytes as they come; there is nothing to replace. A FIFO is opened
// without waiting, so that one with no reader is an error now rather than a program that hangs.
void TAtomicFile::OpenStream(const TAtomicFileOptions& options, bool fifo) {
    int flags = O_WRONLY | O_CLOEXEC | O_NOCTTY;
    if (!options.FollowLinks) flags |= O_NOFOLLOW;
    if (fifo) flags |= O_NONBLOCK;
    mFd = ::open(mPath.c_str(), flags);
    if (mFd < 0) {
        if (errno == ENXIO && fifo)
            Refuse(mPath, "je roura, ze které nikdo nečte; nic se neuložilo.", "nikdo nečte");
        Fail(mPath, errno);
    }
    struct stat st {};
    if (::fstat(mFd, &st) != 0 || S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) {
        // Exchanged for a file meanwhile: writing into it in place would not be atomic.
        const int error = S_ISREG(st.st_mode) || S_ISDIR(st.st_mode) ? EAGAIN : errno;
        ::close(mFd);
        mFd = -1;
        Fail(mPath, error);
    }
    if (fifo) ::fcntl(mFd, F_SETFL, ::fcntl(mFd, F_GETFL) & ~O_NONBLOCK);
}

TAtomicFile::~TAtomicFile() {
    if (mFd >= 0) {
        ::close(mFd);
        if (!mTemporary.empty()) ::unlink(mTemporary.c_str());
    }
}

void TAtomicFile::Abandon(int error) {
    if (mFd >= 0) ::close(mFd);
    mFd = -1;
    if (!mTemporary.empty()) ::unlink(mTemporary.c_str());
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
    const int fd = mFd;
    mFd = -1;
    if (mTemporary.empty()) { // a device or FIFO: the bytes are gone to it
        if (::close(fd) != 0) Fail(mPath, errno);
        return;
    }
    if (::fsync(fd) != 0) {
        mFd = fd;
        Abandon(errno);
    }
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
    // The file is in place and whole; flushing its folder only makes the rename survive a crash.
    std::string folder = fs::path(mTarget).parent_path().string();
    gFolderSync.load()(folder.empty() ? "." : folder);
}

void WriteFileAtomically(const std::string& path, std::string_view bytes, TAtomicFileOptions options) {
    TAtomicFile file(path, options);
    file.Write(bytes);
    file.Commit();
}
