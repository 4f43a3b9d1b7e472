#include "ui/window/QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace {
const char* const KTitle = "KORVAN";

// The window the user works in and its focused control, from before a message box until after
// it: closing a box hands the activation to the box's owner (or wherever the window manager
// chooses), and a dialog that stays open would lose Enter and Esc to the main window.
class TActiveWindowKeeper {
public:
    explicit TActiveWindowKeeper(QWidget* fallbackOwner) {
        QWidget* active = QApplication::activeWindow();
        if (active && active->isVisible() && !(active->windowType() == Qt::Popup)) {
            mWindow = active;
            mFocus = QApplication::focusWidget();
        }
        mOwner = mWindow ? mWindow.data() : fallbackOwner;
    }
    ~TActiveWindowKeeper() {
        if (!mWindow || !mWindow->isVisible()) return;
        mWindow->activateWindow();
        if (mFocus && mFocus->window() == mWindow && mFocus->isVisible() && mFocus->isEnabled())
            mFocus->setFocus(Qt::ActiveWindowFocusReason);
    }
    TActiveWindowKeeper(const TActiveWindowKeeper&) = delete;
    TActiveWindowKeeper& operator=(const TActiveWindowKeeper&) = delete;

    // The box's owner: the window the user works in, else the program's main window.
    QWidget* Owner() const { return mOwner; }

private:
    QPointer<QWidget> mWindow;
    QPointer<QWidget> mFocus;
    QWidget* mOwner = nullptr;
};
} // namespace

void TQtDialogs::Inform(const std::string& message) {
    TActiveWindowKeeper keeper(mOwner);
    QMessageBox box(QMessageBox::Information, KTitle, QString::fromStdString(message), QMessageBox::Ok,
                    keeper.Owner());
    box.exec();
}

bool TQtDialogs::AskYesNo(const std::string& question) {
    TActiveWindowKeeper keeper(mOwner);
    QMessageBox box(QMessageBox::NoIcon, KTitle, QString::fromStdString(question),
                    QMessageBox::Yes | QMessageBox::No, keeper.Owner());
    box.setDefaultButton(QMessageBox::Yes);
    // The buttons speak the program's language whether or not Qt's own translations are installed.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Ano"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Ne"));
    return box.exec() == QMessageBox::Yes;
}
