#include "ui/dialogs/DefinitionDialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "ui/dialogs/DialogHost.h"

TDefinitionDialog::TDefinitionDialog(TDialogHost& host, const QString& caption, bool titleButtons)
    : QDialog(host.DialogParent()), mHost(host) {
    setWindowTitle(caption);
    setModal(false);
    Qt::WindowFlags flags = Qt::Dialog;
    if (!titleButtons) flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    setWindowFlags(flags);
}

void TDefinitionDialog::ShowCentred() {
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    show();
    raise();
    activateWindow();
}

void TDefinitionDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        Confirm();
        return;
    case Qt::Key_Escape:
        event->accept();
        Cancel();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
