#pragma once
// One buffered writer for the computation's trace files: bytes go into a large buffer that is
// written to a new temporary file when full, and Close puts the file in place (TAtomicFile; a
// link planted under a trace file's name is replaced, never followed). A file that cannot be
// created makes every call a no-op; Close reports whether the file was created and written
// completely.
#include <charconv>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/AtomicFile.h"
#include "model/Types.h"

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

private:
    void Drain(std::size_t needed);

    std::string mPath;
    std::unique_ptr<TAtomicFile> mFile;
    std::vector<char> mBuffer;
    std::size_t mUsed = 0;
    bool mFailed = false;
};
