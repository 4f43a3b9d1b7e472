#pragma once
// TForm10 "Materiál": creates a material from its name, modulus of elasticity and density. The
// fields keep their texts between uses.
#include "ui/dialogs/DefinitionDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TForm10 : public TDefinitionDialog {
    Q_OBJECT
public:
    explicit TForm10(TDialogHost& host);

    // Sets the unit labels from the unit system and shows the dialog.
    void ShowDialog();
    // "MPa" and "kg/m3", or "psi" and "lb/ft3".
    void SetUnitLabels();

    QLineEdit* eJmeno = nullptr;
    QLineEdit* eE = nullptr;
    QLineEdit* eD = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* SpeedButton2 = nullptr;
    QPushButton* SpeedButton1 = nullptr;

public slots:
    void SpeedButton2Click();
    void SpeedButton1Click() { hide(); }

protected:
    void Confirm() override { SpeedButton2Click(); }
};
