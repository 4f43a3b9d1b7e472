#include "analysis/TraceFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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
