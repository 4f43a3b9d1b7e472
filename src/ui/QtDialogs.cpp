#include "ui/QtDialogs.h"

#include <QApplication>
#include <QAbstractButton>
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
    // The buttons speak the program's language whether or not Qt's own translations are installed.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Ano"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Ne"));
    return box.exec() == QMessageBox::Yes;
}
