#include "analysis/Cancel.h"

namespace {
thread_local const std::atomic<bool>* gFlag = nullptr;
} // namespace

TCancelScope::TCancelScope(const std::atomic<bool>& flag) : mPrevious(gFlag) { gFlag = &flag; }

TCancelScope::~TCancelScope() { gFlag = mPrevious; }

bool CancelRequested() { return gFlag && gFlag->load(std::memory_order_relaxed); }

void PollCancel() {
    if (CancelRequested()) throw TComputationCancelled();
}
