#include "analysis/TraceFile.h"

#include "model/NumberText.h"

namespace {
constexpr std::size_t KBufferSize = std::size_t(1) << 20;
}

TTraceFile::TTraceFile(const std::string& path) : mPath(path), mBuffer(KBufferSize) {
    try {
        mFile = std::make_unique<TAtomicFile>(path, TAtomicFileOptions{false, false});
    } catch (const std::exception&) {
        mFailed = true;
    }
}

TTraceFile::~TTraceFile() { Close(); }

void TTraceFile::Drain(std::size_t needed) {
    if (mFile && mUsed > 0 && !mFailed) {
        try {
            mFile->Write(std::string_view(mBuffer.data(), mUsed));
        } catch (const std::exception&) {
            mFailed = true;
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

void TTraceFile::PutFixed(TReal v, int p, int d, char separator) { Put(FormatFixed(v, p, d, separator)); }

bool TTraceFile::Close() {
    if (!mFile) return false;
    Drain(0);
    if (!mFailed) {
        try {
            mFile->Commit();
        } catch (const std::exception&) {
            mFailed = true;
        }
    }
    mFile.reset();
    return !mFailed;
}
