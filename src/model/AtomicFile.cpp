#include "model/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "model/Errors.h"

namespace {
namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& path, int error) {
    throw TFileIoError("Soubor „" + path + "“ nelze uložit: " + std::strerror(error) + ".", path);
}

// The path that is really replaced: the target of a symbolic link, the path itself otherwise.
std::string TargetPath(const std::string& path) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(path, ec))) {
        fs::path target = fs::weakly_canonical(fs::path(path), ec);
        if (!ec) return target.string();
    }
    return path;
}

std::string TemporaryName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    return target + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
}
} // namespace

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
    const std::string target = TargetPath(path);
    std::string temporary;
    int fd = -1;
    // A stale temporary of the same name is never reused: O_EXCL makes a collision fail, and the
    // counter then gives another name.
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = TemporaryName(target);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) Fail(path, errno);
    }
    if (fd < 0) Fail(path, EEXIST);

    auto abandon = [&](int error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        Fail(path, error);
    };
    struct stat previous {};
    if (::stat(target.c_str(), &previous) == 0 && ::fchmod(fd, previous.st_mode & 07777) != 0) abandon(errno);

    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            abandon(errno);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (::fsync(fd) != 0) abandon(errno);
    if (::close(fd) != 0) {
        int error = errno;
        ::unlink(temporary.c_str());
        Fail(path, error);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        int error = errno;
        ::unlink(temporary.c_str());
        Fail(path, error);
    }
}
