#include "ui/dialogs/MaterialDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/MKPSpace.h"
#include "ui/dialogs/DefinitionLogic.h"
#include "ui/dialogs/DefinitionWidgets.h"
#include "ui/dialogs/DialogHost.h"
#include "ui/panel/ObjectPanel.h"

TForm10::TForm10(TDialogHost& host) : TDefinitionDialog(host, QString::fromUtf8("Materiál"), false) {
    setObjectName("Form10");
    auto* grid = new QGridLayout(this);
    eJmeno = AddField(grid, 0, "eJmeno", "Jméno:");
    eE = AddField(grid, 1, "eE", "E:", &Label5, "Label5");
    eD = AddField(grid, 2, "eD", "Hustota:", &Label6, "Label6");
    AddButtons(grid, 3, &SpeedButton2, &SpeedButton1);
    connect(SpeedButton2, &QPushButton::clicked, this, &TForm10::SpeedButton2Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &TForm10::SpeedButton1Click);
    SetUnitLabels();
}

void TForm10::SetUnitLabels() {
    const TDefinitionUnitLabels l = DefinitionUnitLabels(mHost.Space());
    Label5->setText(QString::fromStdString(l.Stress));
    Label6->setText(QString::fromStdString(l.Density));
}

void TForm10::ShowDialog() {
    SetUnitLabels();
    ShowCentred();
}

void TForm10::SpeedButton2Click() {
    TMKPSpace& space = mHost.Space();
    const TMaterialFields fields{eJmeno->text().toStdString(), eE->text().toStdString(), eD->text().toStdString()};
    TMaterial* material = CreateMaterial(space, fields);
    if (!material) return;
    // The material list shows every material with the new one; it becomes the current material,
    // while the current section keeps its own.
    const QString name = QString::fromStdString(material->Name);
    QComboBox* list = mHost.Panel()->cbMaterialy();
    mHost.Panel()->RefillMaterialNames();
    list->setCurrentIndex(list->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive));
    space.CurrentMaterial = material;
    mHost.Panel()->VypisHodnotyMaterialu();
    mHost.ModelEdited(); // a step of its own
    hide();
}
