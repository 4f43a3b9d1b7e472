#include "model/UserDialogs.h"

namespace {
TRecordingDialogs gDefaultSink;
TUserDialogs* gSink = nullptr;
thread_local TUserDialogs* gThreadSink = nullptr;
} // namespace

TUserDialogs& Dialogs() {
    if (gThreadSink) return *gThreadSink;
    return gSink ? *gSink : gDefaultSink;
}

void SetDialogs(TUserDialogs* sink) { gSink = sink; }

TDialogsGuard::TDialogsGuard(TUserDialogs& sink) : mPrevious(gSink) { gSink = &sink; }

TDialogsGuard::~TDialogsGuard() { gSink = mPrevious; }

TThreadDialogsGuard::TThreadDialogsGuard(TUserDialogs& sink) : mPrevious(gThreadSink) { gThreadSink = &sink; }

TThreadDialogsGuard::~TThreadDialogsGuard() { gThreadSink = mPrevious; }
