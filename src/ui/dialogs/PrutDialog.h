#pragma once
// TForm2: the single-value dialog of the member and support geometry tools (length, length by
// member, extend to axis, orientation, perpendicular, parallel, angle to member, split member,
// support rotation). Not modal, stays on top, centred on the desktop, without border icons. The
// tool that opened it is the main window's remembered tool; OK applies the field to whatever is
// current at that moment (GeometryTools).
#include <QDialog>
#include <QString>

class QLineEdit;
class QToolButton;
class TDialogHost;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    // tool is the main window's remembered tool, shared with the other small input dialogs.
    TForm2(TDialogHost& host, QString& tool);

    // Opening for the tool of the button (sbDDelka1Click): remembers the tool, sets the caption,
    // fills the field and shows the dialog; a tool that needs the auxiliary member hides it again
    // when there is none.
    void Open(const QString& button);
    QLineEdit* Edit1() const { return mEdit1; }

public slots:
    void SpeedButton2Click(); // OK (also Enter in the field)
    void SpeedButton1Click(); // cancel (also Esc)

protected:
    void reject() override { SpeedButton1Click(); }

private:
    TDialogHost& mHost;
    QString& mTool;
    QLineEdit* mEdit1 = nullptr;
    QToolButton* mOk = nullptr;
    QToolButton* mCancel = nullptr;
};
