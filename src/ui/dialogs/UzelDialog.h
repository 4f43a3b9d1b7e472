#pragma once
// TForm3: the coordinates dialog, for moving the current node and for a new node. Not modal,
// centred on the desktop, without border icons; Enter anywhere in it is OK, Esc is cancel.
#include <QDialog>
#include <QString>

class QKeyEvent;
class QLineEdit;
class QToolButton;
class TDialogHost;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    // tool is the main window's remembered tool, shared with the other small input dialogs.
    TForm3(TDialogHost& host, QString& tool);

    // Opening for sbNCoorCh1 (move the current node) or sbNewNCoor (new node) (sbNCoorCh1Click).
    void Open(const QString& button);
    QLineEdit* Edit1() const { return mEdit1; }
    QLineEdit* Edit2() const { return mEdit2; }

public slots:
    void SpeedButton2Click(); // OK
    void SpeedButton1Click(); // cancel

protected:
    void reject() override { SpeedButton1Click(); }
    void keyPressEvent(QKeyEvent* event) override;

private:
    TDialogHost& mHost;
    QString& mTool;
    QLineEdit* mEdit1 = nullptr;
    QLineEdit* mEdit2 = nullptr;
};
