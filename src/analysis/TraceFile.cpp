#include "analysis/TraceFile.h"

#include <charconv>

#include "model/NumberText.h"

namespace {
constexpr std::size_t KBufferSize = 1 << 20;
}

TTraceFile::TTraceFile(const std::string& dir, const std::string& name, bool enabled) : mEnabled(enabled) {
    mPath = dir.empty() ? name : (dir.back() == '/' ? dir + name : dir + "/" + name);
    if (!mEnabled) return;
    mFile = std::fopen(mPath.c_str(), "wb");
    if (!mFile) {
        mFailed = true;
        return;
    }
    mBuffer.reserve(KBufferSize + 256);
}

TTraceFile::~TTraceFile() { Close(); }

void TTraceFile::Put(const char* text, std::size_t length) {
    if (!mFile) return;
    mBuffer.append(text, length);
    if (mBuffer.size() >= KBufferSize) Flush();
}

void TTraceFile::PutInt(long long value) {
    if (!mFile) return;
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    Put(buf, static_cast<std::size_t>(r.ptr - buf));
}

void TTraceFile::PutReal(TReal value) {
    if (!mFile) return;
    if (value == 0) {
        Put("0", 1);
        return;
    }
    Put(FormatGeneral(value, 15));
}

void TTraceFile::Flush() {
    if (!mFile || mBuffer.empty()) return;
    if (std::fwrite(mBuffer.data(), 1, mBuffer.size(), mFile) != mBuffer.size()) mFailed = true;
    mBuffer.clear();
}

bool TTraceFile::Close() {
    if (mFile) {
        Flush();
        if (std::fclose(mFile) != 0) mFailed = true;
        mFile = nullptr;
    }
    return !mFailed;
}
