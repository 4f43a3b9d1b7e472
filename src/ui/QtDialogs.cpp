#include "ui/QtDialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace {
const char* const KTitle = "KORVAN";
}

void TQtDialogs::Inform(const std::string& message) {
    QWidget* owner = mOwner ? mOwner : QApplication::activeWindow();
    QMessageBox box(QMessageBox::Information, KTitle, QString::fromStdString(message), QMessageBox::Ok,
                    owner);
    box.exec();
}

bool TQtDialogs::AskYesNo(const std::string& question) {
    QWidget* owner = mOwner ? mOwner : QApplication::activeWindow();
    QMessageBox box(QMessageBox::NoIcon, KTitle, QString::fromStdString(question),
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}
