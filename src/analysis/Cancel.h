#pragma once
// Stopping a computation that runs off the window's thread. The thread that runs it raises a scope
// over a flag (TCancelScope); the long stages of the computation ask at coarse points (PollCancel:
// between the stages of a case, between the cases, every step of the profile elimination), and a
// raised flag unwinds the computation with TComputationCancelled. Only the thread of the scope
// ever throws; the helper threads of one computation and every computation without a scope (the
// calculator, the window's own) run to their end as ever.
#include <atomic>
#include <exception>

struct TComputationCancelled : std::exception {
    const char* what() const noexcept override { return "computation cancelled"; }
};

class TCancelScope {
public:
    explicit TCancelScope(const std::atomic<bool>& flag);
    ~TCancelScope();
    TCancelScope(const TCancelScope&) = delete;
    TCancelScope& operator=(const TCancelScope&) = delete;

private:
    const std::atomic<bool>* mPrevious;
};

// The flag of this thread's scope is raised.
bool CancelRequested();
// Throws TComputationCancelled when CancelRequested.
void PollCancel();
