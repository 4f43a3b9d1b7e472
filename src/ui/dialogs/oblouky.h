#pragma once
// TForm11 "2D f(x) editor": places a row of new nodes (and members between them) on the curve
// y = f(x) through the curve generator, then closes. A run that takes longer than a moment shows
// a progress dialog whose cancel button stops it; the nodes placed so far stay.
#include <memory>

#include "expr/CalcExpress.h"
#include "ui/dialogs/DefinitionDialog.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class TForm11 : public TDefinitionDialog {
    Q_OBJECT
public:
    explicit TForm11(TDialogHost& host);

    // Shows the window (the main window's Addnew2Dfxeditor1Click).
    void ShowDialog() { ShowCentred(); }

    QLineEdit* teVyraz = nullptr;
    QLineEdit* teDelka = nullptr;
    QPlainTextEdit* tmvariables = nullptr;
    QLineEdit* teOd = nullptr;
    QLineEdit* teDo = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QRadioButton* rbKonstX = nullptr;
    QRadioButton* rbKonstL = nullptr;
    QLineEdit* tePresnost = nullptr;
    QCheckBox* cbSpojit = nullptr;
    QPushButton* SpeedButton2 = nullptr;
    QPushButton* SpeedButton1 = nullptr;

    // How long a generation runs before the progress dialog appears, in ms.
    void SetProgressDelay(int ms) { mProgressDelay = ms; }
    TCalcExpress& CalcExpress1() { return mCalc; }

public slots:
    void SpeedButton2Click();
    void SpeedButton1Click() { hide(); }

protected:
    void Confirm() override { SpeedButton2Click(); }

private:
    TCalcExpress mCalc; // the evaluator of the formulas, with the program's decimal separator
    int mProgressDelay = 500;
};
