#pragma once
// The tool that last opened one of the main window's small input dialogs: the single-value
// dialog TForm2, the coordinates dialog TForm3 and the load dialog TForm5. It is the objectName
// of the button that was pressed, or of the button that a menu item or a key stands for
// ("sbDDelka1", "sbNCoorCh1", "sbAddLP", ...). Every opening replaces it, so the OK of a dialog
// that was opened earlier finds another tool and only hides its own dialog. The main window owns
// the one instance (TForm1::RememberedTool()).
#include <QString>

class TRememberedTool {
public:
    void Remember(const QString& button) { mButton = button; }
    const QString& Button() const { return mButton; }
    bool Is(const QString& button) const { return !mButton.isEmpty() && mButton == button; }

private:
    QString mButton;
};
