#pragma once
// The frame shared by the small definition dialogs: shown without being modal, centred on the
// screen each time it is shown, hidden rather than closed. Enter confirms and Esc cancels
// anywhere in the dialog; both consume the key.
#include <QDialog>

class QKeyEvent;
class TDialogHost;

class TDefinitionDialog : public QDialog {
    Q_OBJECT
public:
    // titleButtons: whether the title bar keeps its buttons (the f(x) editor does; the others
    // show only their caption).
    TDefinitionDialog(TDialogHost& host, const QString& caption, bool titleButtons);

    // Shows the dialog centred on the screen and brings it to the front.
    void ShowCentred();

protected:
    // What Enter and Esc run.
    virtual void Confirm() = 0;
    virtual void Cancel() { hide(); }
    void keyPressEvent(QKeyEvent* event) override;

    TDialogHost& mHost;
};
