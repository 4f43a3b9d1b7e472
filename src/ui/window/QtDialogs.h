#pragma once
// The message sink of the desktop program: information boxes with an OK button and questions
// without an icon with "Ano" and "Ne", as modal QMessageBox windows over the active window (the
// owner given here when no window of the program is active). After the box the window that was
// active gets the activation back, with the focus in the control that had it.
#include "model/UserDialogs.h"

class QWidget;

class TQtDialogs : public TUserDialogs {
public:
    explicit TQtDialogs(QWidget* owner = nullptr) : mOwner(owner) {}
    void Inform(const std::string& message) override;
    bool AskYesNo(const std::string& question) override;

private:
    QWidget* mOwner;
};
