#pragma once
// The message sink of the desktop program: information boxes with an OK button and questions
// without an icon with "Ano" and "Ne", as modal QMessageBox windows over the active window.
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
