#include "ui/dialogs/ProfilDialog.h"

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

TForm8::TForm8(TDialogHost& host) : TDefinitionDialog(host, QString::fromUtf8("Profil"), false) {
    setObjectName("Form8");
    setProperty("HelpContext", 280);
    auto* grid = new QGridLayout(this);
    eJmeno = AddField(grid, 0, "eJmeno", "Jméno:");
    ePlocha = AddField(grid, 1, "ePlocha", "A:", &Label5, "Label5");
    eIy = AddField(grid, 2, "eIy", "Iy:", &Label6, "Label6");
    eIz = AddField(grid, 3, "eIz", "Iz:", &Label7, "Label7");
    AddButtons(grid, 4, &SpeedButton2, &SpeedButton1);
    connect(SpeedButton2, &QPushButton::clicked, this, &TForm8::SpeedButton2Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &TForm8::SpeedButton1Click);
    SetUnitLabels();
}

void TForm8::SetUnitLabels() {
    const TDefinitionUnitLabels l = DefinitionUnitLabels(mHost.Space());
    Label5->setText(QString::fromStdString(l.Area));
    Label6->setText(QString::fromStdString(l.Iy));
    Label7->setText(QString::fromStdString(l.Iz));
}

void TForm8::ShowDialog() {
    SetUnitLabels();
    ShowCentred();
}

void TForm8::SpeedButton2Click() {
    TMKPSpace& space = mHost.Space();
    const TSectionFields fields{eJmeno->text().toStdString(), ePlocha->text().toStdString(),
                                eIy->text().toStdString(), eIz->text().toStdString()};
    TProfil* section = CreateSection(space, fields);
    if (!section) return;
    // The section list shows every section with the new one chosen; choosing it makes it current
    // with its material and refreshes the section page.
    const QString name = QString::fromStdString(section->Name);
    QComboBox* list = mHost.Panel()->cbProfily();
    mHost.Panel()->RefillSectionNames();
    list->setCurrentIndex(list->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive));
    mHost.Panel()->cbProfilyChange(name);
    mHost.ModelEdited(); // a step of its own
    hide();
}
