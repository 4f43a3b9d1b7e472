#include "ui/dialogs/meritka.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/MKPSpace.h"
#include "ui/dialogs/DefinitionLogic.h"
#include "ui/dialogs/DefinitionWidgets.h"
#include "ui/dialogs/DialogHost.h"

TForm9::TForm9(TDialogHost& host) : TDefinitionDialog(host, QString::fromUtf8("Nastavení"), false) {
    setObjectName("Form9");
    auto* grid = new QGridLayout(this);
    eMC = AddField(grid, 0, "eMC", "Součinitel pro vlastní tíhu:");
    eMC->setText("1");
    eMemDiv = AddField(grid, 1, "eMemDiv", "Dělení prutu:");
    rgUSSettings = new QGroupBox(QString::fromUtf8("Jednotkový systém"), this);
    rgUSSettings->setObjectName("rgUSSettings");
    auto* items = new QVBoxLayout(rgUSSettings);
    rbMetric = new QRadioButton(QString::fromUtf8("Metrický (m,mm,mm2,mm4,MPa,kN,kN/m)"), rgUSSettings);
    rbImperial = new QRadioButton(QString::fromUtf8("Anglický (ft, in,in2,in4,psi,lb,lb/ft)"), rgUSSettings);
    auto* group = new QButtonGroup(rgUSSettings);
    group->addButton(rbMetric, 0);
    group->addButton(rbImperial, 1);
    items->addWidget(rbMetric);
    items->addWidget(rbImperial);
    rbMetric->setChecked(true);
    grid->addWidget(rgUSSettings, 2, 0, 1, 3);
    AddButtons(grid, 3, &SpeedButton2, &SpeedButton1);
    connect(SpeedButton2, &QPushButton::clicked, this, &TForm9::SpeedButton2Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &TForm9::SpeedButton1Click);
}

int TForm9::UnitSystemItem() const {
    return rbImperial->isChecked() ? 1 : 0;
}

void TForm9::SetUnitSystemItem(int item) {
    (item == 1 ? rbImperial : rbMetric)->setChecked(true);
}

void TForm9::ShowDialog() {
    const TSettingsFields f = SettingsFieldsOf(mHost.Space());
    eMC->setText(QString::fromStdString(f.Factor));
    mShownFactor = f.ShownFactor;
    eMemDiv->setText(QString::fromStdString(f.Division));
    SetUnitSystemItem(f.UnitSystem);
    ShowCentred();
}

void TForm9::SpeedButton2Click() {
    TSettingsFields f;
    f.Factor = eMC->text().toStdString();
    f.ShownFactor = mShownFactor;
    f.FactorTyped = eMC->isModified();
    f.Division = eMemDiv->text().toStdString();
    f.UnitSystem = UnitSystemItem();
    const TSettingsOutcome outcome = ApplySettings(mHost.Space(), f);
    // The coefficient as applied is what the field shows from now on.
    mShownFactor.clear();
    if (outcome.DivisionApplied) mHost.UnitSystemApplied();
    if (outcome.FactorChanged) mHost.ModelEdited();
    mHost.Space().Prekresli();
    hide();
}
