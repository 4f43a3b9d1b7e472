#pragma once
// Buffered writer of one computation trace file (windows-1250 text, CR LF lines). A file that
// cannot be created is remembered, not fatal: the computation goes on.
#include <cstdio>
#include <string>

#include "model/Types.h"

class TTraceFile {
public:
    // Opens dir/name for writing (dir empty: the working directory). Disabled writers do nothing.
    TTraceFile(const std::string& dir, const std::string& name, bool enabled);
    ~TTraceFile();
    TTraceFile(const TTraceFile&) = delete;
    TTraceFile& operator=(const TTraceFile&) = delete;

    bool Failed() const { return mFailed; }
    const std::string& Path() const { return mPath; }
    // Appends text without a line end.
    void Put(const char* text, std::size_t length);
    void Put(const std::string& text) { Put(text.data(), text.size()); }
    void PutInt(long long value);
    // general(15) with the program's separator.
    void PutReal(TReal value);
    void EndLine() { Put("\r\n", 2); }
    // Flushes and closes; false when anything could not be written.
    bool Close();

private:
    void Flush();
    std::FILE* mFile = nullptr;
    std::string mPath;
    std::string mBuffer;
    bool mEnabled;
    bool mFailed = false;
};
