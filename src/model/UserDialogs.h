#pragma once
// The one replaceable sink for modal messages and yes/no questions. The desktop program installs
// a message-box implementation; tests and the command-line program install recording or
// scripted ones, so nothing in the core can block on a modal box.
#include <deque>
#include <string>
#include <vector>

class TUserDialogs {
public:
    virtual ~TUserDialogs() = default;
    // An information box with an OK button.
    virtual void Inform(const std::string& message) = 0;
    // A question without icon with the buttons Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& question) = 0;
};

// The sink in force. Never null: without an installed sink the messages go to a recording sink.
TUserDialogs& Dialogs();
// Installs a sink (not owned); nullptr restores the default recording sink.
void SetDialogs(TUserDialogs* sink);

// Records every message and answers questions from a script (Yes when the script is empty).
class TRecordingDialogs : public TUserDialogs {
public:
    void Inform(const std::string& message) override { Messages.push_back(message); }
    bool AskYesNo(const std::string& question) override {
        Questions.push_back(question);
        if (Answers.empty()) return true;
        bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::vector<std::string> Messages;
    std::vector<std::string> Questions;
    std::deque<bool> Answers;
};

// Installs a sink for the lifetime of the guard and restores the previous one afterwards.
class TDialogsGuard {
public:
    explicit TDialogsGuard(TUserDialogs& sink);
    ~TDialogsGuard();
    TDialogsGuard(const TDialogsGuard&) = delete;
    TDialogsGuard& operator=(const TDialogsGuard&) = delete;

private:
    TUserDialogs* mPrevious;
};

// Installs a sink for the calling thread only, for the lifetime of the guard: a computation that
// runs off the window's thread records its messages there, and the window shows them when it takes
// the results. While one is installed, Dialogs() on that thread returns it; other threads are not
// affected.
class TThreadDialogsGuard {
public:
    explicit TThreadDialogsGuard(TUserDialogs& sink);
    ~TThreadDialogsGuard();
    TThreadDialogsGuard(const TThreadDialogsGuard&) = delete;
    TThreadDialogsGuard& operator=(const TThreadDialogsGuard&) = delete;

private:
    TUserDialogs* mPrevious;
};
