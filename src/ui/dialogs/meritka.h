#pragma once
// TForm9 "Nastavení": the coefficient of the self-weight load case, the number of divisions of
// every member and the unit system of the whole program.
#include <string>

#include "ui/dialogs/DefinitionDialog.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TForm9 : public TDefinitionDialog {
    Q_OBJECT
public:
    explicit TForm9(TDialogHost& host);

    // Fills the fields from the model and shows the dialog (the main window's Settings1Click).
    void ShowDialog();

    QLineEdit* eMC = nullptr;
    QLineEdit* eMemDiv = nullptr;
    QGroupBox* rgUSSettings = nullptr;
    QRadioButton* rbMetric = nullptr;
    QRadioButton* rbImperial = nullptr;
    QPushButton* SpeedButton2 = nullptr;
    QPushButton* SpeedButton1 = nullptr;

    // 0 metric, 1 imperial: the item chosen in rgUSSettings.
    int UnitSystemItem() const;
    void SetUnitSystemItem(int item);

public slots:
    void SpeedButton2Click();
    void SpeedButton1Click() { hide(); }

protected:
    void Confirm() override { SpeedButton2Click(); }

private:
    std::string mShownFactor; // the coefficient's text as the dialog was opened
};
