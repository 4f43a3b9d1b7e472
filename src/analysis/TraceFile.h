#pragma once
// One buffered writer for the computation's trace files: bytes go into a large buffer that is
// written to a new temporary file when full, and Close puts the file in place (TAtomicFile; a
// link planted under a trace file's name is replaced, never followed). A file that cannot be
// created makes every call a no-op; Close reports whether the file was created and written
// completely, and Error() then says why not.
#include <charconv>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/Types.h"
#include "model/AtomicFile.h"

class TTraceFile {
public:
    explicit TTraceFile(const std::string& path);
    ~TTraceFile();
    TTraceFile(const TTraceFile&) = delete;
    TTraceFile& operator=(const TTraceFile&) = delete;

    bool IsOpen() const { return mFile != nullptr; }
    const std::string& Path() const { return mPath; }

    void Put(std::string_view text) {
        if (mUsed + text.size() > mBuffer.size()) Drain(text.size());
        text.copy(mBuffer.data() + mUsed, text.size());
        mUsed += text.size();
    }
    void Put(char c) {
        if (mUsed + 1 > mBuffer.size()) Drain(1);
        mBuffer[mUsed++] = c;
    }
    void PutInt(long long v) {
        if (mUsed + 24 > mBuffer.size()) Drain(24);
        mUsed = std::size_t(std::to_chars(mBuffer.data() + mUsed, mBuffer.data() + mBuffer.size(), v).ptr -
                            mBuffer.data());
    }
    // general(15) with the given separator; an exact zero is "0" without formatting.
    void PutGeneral(TReal v, char separator);
    // fixed(p, d) with the given separator.
    void PutFixed(TReal v, int p, int d, char separator);
    void EndLine() { Put(std::string_view("\r\n")); }

    // Writes what is left and closes the file; false when it was never open or a write failed.
    bool Close();
    // Why the file could not be written (the system's text for the error); empty while it could.
    const std::string& Error() const { return mError; }

private:
    void Drain(std::size_t needed);
    void Failed(const std::exception& e);

    std::string mPath;
    std::unique_ptr<TAtomicFile> mFile;
    std::vector<char> mBuffer;
    std::size_t mUsed = 0;
    bool mFailed = false;
    std::string mError;
};

// The size of one dense matrix trace file of `equations` equations when every entry is written
// with one character ("[p,q]:0" and the line end): the least the file can take, so a file of this
// size over a limit surely exceeds it.
std::uint64_t DenseMatrixTraceBytes(std::uint64_t equations);
// The note of a computation that left its matrix files out: they would exceed `limit` bytes.
std::string TraceMatricesLeftOutText(std::uint64_t limit);

// The names of the computation's trace files.
extern const char* const KTraceFileNames[7];

// An exclusive lock on a trace folder, held while one computation writes its set of trace files,
// so that two programs computing into one folder take turns instead of mixing their models'
// files. It locks the folder itself (flock), so nothing is added to it; a folder that cannot be
// opened is not locked (its files cannot be written either, and that is reported).
class TTraceFolderLock {
public:
    explicit TTraceFolderLock(const std::string& folder);
    ~TTraceFolderLock();
    TTraceFolderLock(const TTraceFolderLock&) = delete;
    TTraceFolderLock& operator=(const TTraceFolderLock&) = delete;
    bool Locked() const { return mFd >= 0; }

private:
    int mFd = -1;
};

// Removes the file at `path` when it is a regular file or a link: the result of an earlier
// computation that the current one did not write. Devices, FIFOs and folders stay.
void RemoveStaleTraceFile(const std::string& path);
