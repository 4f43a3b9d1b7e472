#include "analysis/TraceFile.h"

#include "model/NumberText.h"

namespace {
constexpr std::size_t KBufferSize = std::size_t(1) << 20;
}

TTraceFile::TTraceFile(const std::string& path) : mPath(path), mBuffer(KBufferSize) {
    mFile = std::fopen(path.c_str(), "wb");
    if (!mFile) mFailed = true;
}

TTraceFile::~TTraceFile() { Close(); }

void TTraceFile::Drain(std::size_t needed) {
    if (mFile && mUsed > 0 && std::fwrite(mBuffer.data(), 1, mUsed, mFile) != mUsed) mFailed = true;
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

void TTraceFile::PutFixed(TReal v, int p, int d, char separator) { Put(FormatFixed(v, p, d, separator)); }

bool TTraceFile::Close() {
    if (!mFile) return false;
    Drain(0);
    if (std::fclose(mFile) != 0) mFailed = true;
    mFile = nullptr;
    return !mFailed;
}
