#include "model/UserDialogs.h"

namespace {
TRecordingDialogs gDefaultSink;
TUserDialogs* gSink = nullptr;
} // namespace

TUserDialogs& Dialogs() { return gSink ? *gSink : gDefaultSink; }

void SetDialogs(TUserDialogs* sink) { gSink = sink; }

TDialogsGuard::TDialogsGuard(TUserDialogs& sink) : mPrevious(gSink) { gSink = &sink; }

TDialogsGuard::~TDialogsGuard() { gSink = mPrevious; }
