#pragma once
// TForm8 "Profil": creates a cross-section from its name, area and second moments of area, with
// the current material. The fields keep their texts between uses.
#include "ui/dialogs/DefinitionDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TForm8 : public TDefinitionDialog {
    Q_OBJECT
public:
    explicit TForm8(TDialogHost& host);

    // Sets the unit labels from the unit system and shows the dialog.
    void ShowDialog();
    // The unit labels "m2", "m4", "m4" or "in2", "in4", "in4".
    void SetUnitLabels();

    QLineEdit* eJmeno = nullptr;
    QLineEdit* ePlocha = nullptr;
    QLineEdit* eIy = nullptr;
    QLineEdit* eIz = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QPushButton* SpeedButton2 = nullptr;
    QPushButton* SpeedButton1 = nullptr;

public slots:
    void SpeedButton2Click();
    void SpeedButton1Click() { hide(); }

protected:
    void Confirm() override { SpeedButton2Click(); }
};
