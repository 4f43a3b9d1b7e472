#include "ui/window/FileDialogGuard.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QEvent>
#include <QFileDialog>
#include <QPointer>
#include <QTimer>

namespace {
const char* const KGuarded = "KorvanCompletionTied";

class TCompletionGuard : public QObject {
public:
    explicit TCompletionGuard(QFileDialog* dialog) : QObject(dialog), mDialog(dialog) {
        dialog->installEventFilter(this);
        WatchPopups();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == mDialog) {
            // The dialog's widgets (and their completers) may be made only when it first shows.
            if (event->type() == QEvent::Show) WatchPopups();
            if (event->type() == QEvent::Hide) HidePopups();
        } else if (event->type() == QEvent::Show && !mDialog->isVisible()) {
            // A list that opens behind a closed dialog goes away again at once (not from within
            // its own show event, which would leave its window mapped).
            QPointer<QWidget> popup = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, this, [this, popup] {
                if (popup && !mDialog->isVisible()) popup->hide();
            });
        }
        return false;
    }

private:
    void WatchPopups() {
        for (QCompleter* completer : mDialog->findChildren<QCompleter*>()) {
            QAbstractItemView* popup = completer->popup();
            if (!popup || mPopups.contains(QPointer<QWidget>(popup))) continue;
            popup->installEventFilter(this);
            mPopups << popup;
        }
    }
    void HidePopups() {
        for (const QPointer<QWidget>& popup : mPopups)
            if (popup) popup->hide();
    }

    QFileDialog* mDialog;
    QList<QPointer<QWidget>> mPopups;
};
} // namespace

void TieCompletionToDialog(QFileDialog* dialog) {
    if (!dialog || dialog->property(KGuarded).toBool()) return;
    dialog->setProperty(KGuarded, true);
    new TCompletionGuard(dialog);
}
