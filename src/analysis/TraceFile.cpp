#include "analysis/TraceFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "base/Errors.h"
#include "base/MessageText.h"
#include "base/NumberText.h"

namespace {
constexpr std::size_t KBufferSize = std::size_t(1) << 20;
}

const char* const KTraceFileNames[7] = {"00KG.out",  "00MG.out", "00FG.out",    "00KGa.out",
                                        "00FGa.out", "00RG.out", "00reakce.out"};

TTraceFile::TTraceFile(const std::string& path) : mPath(path), mBuffer(KBufferSize) {
    try {
        mFile = std::make_unique<TAtomicFile>(path, TAtomicFileOptions{false, false});
    } catch (const std::exception& e) {
        Failed(e);
    }
}

void TTraceFile::Failed(const std::exception& e) {
    mFailed = true;
    if (!mError.empty()) return;
    const auto* io = dynamic_cast<const TFileIoError*>(&e);
    mError = io && !io->Reason().empty() ? io->Reason() : ErrorText(e);
}

TTraceFile::~TTraceFile() {
    Close();
}

void TTraceFile::Drain(std::size_t needed) {
    if (mFile && mUsed > 0 && !mFailed) {
        try {
            mFile->Write(std::string_view(mBuffer.data(), mUsed));
        } catch (const std::exception& e) {
            Failed(e);
        }
    }
    mUsed = 0;
    if (needed > mBuffer.size()) mBuffer.resize(needed);
}

void TTraceFile::PutGeneral(TReal v, char separator) {
    if (v == 0) {
        Put('0');
        return;
    }
    Put(FormatGeneral(v, 15, separator));
}

void TTraceFile::PutFixed(TReal v, int p, int d, char separator) {
    Put(FormatFixed(v, p, d, separator));
}

bool TTraceFile::Close() {
    if (!mFile) return false;
    Drain(0);
    if (!mFailed) {
        try {
            mFile->Commit();
        } catch (const std::exception& e) {
            Failed(e);
        }
    }
    mFile.reset();
    return !mFailed;
}

TTraceFolderLock::TTraceFolderLock(const std::string& folder) {
    mFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (mFd < 0) return;
    int result;
    do {
        result = ::flock(mFd, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) { // a file system without locks: go on unlocked
        ::close(mFd);
        mFd = -1;
    }
}

TTraceFolderLock::~TTraceFolderLock() {
    if (mFd >= 0) ::close(mFd); // closing the folder releases the lock
}

void RemoveStaleTraceFile(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode)))
        ::unlink(path.c_str());
}

namespace {
// Σ of the decimal digits of 1..n.
std::uint64_t DigitsUpTo(std::uint64_t n) {
    std::uint64_t sum = 0;
    for (std::uint64_t low = 1, digits = 1; low <= n; low *= 10, ++digits)
        sum += (std::min(n, low * 10 - 1) - low + 1) * digits;
    return sum;
}
} // namespace

std::uint64_t DenseMatrixTraceBytes(std::uint64_t equations) {
    // "[" p "," q "]:" value "\r\n": 7 characters besides the two numbers, with a value of one.
    return 2 * equations * DigitsUpTo(equations) + 7 * equations * equations;
}

std::string TraceMatricesLeftOutText(std::uint64_t limit) {
    std::string size;
    if (limit % (std::uint64_t(1) << 20) == 0)
        size = std::to_string(limit >> 20) + " MB";
    else if (limit % 1024 == 0)
        size = std::to_string(limit >> 10) + " kB";
    else
        size = std::to_string(limit) + " B";
    return "Soubory matic 00KG.out a 00KGa.out nebyly zapsány: byly by větší než " + size + ".";
}
