#include "ui/dialogs/oblouky.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>

#include "base/NumberText.h"
#include "expr/CurveGenerator.h"
#include "model/MKPSpace.h"
#include "ui/dialogs/DefinitionWidgets.h"
#include "ui/dialogs/DialogHost.h"

namespace {
QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}
} // namespace

TForm11::TForm11(TDialogHost& host) : TDefinitionDialog(host, U("2D f(x) editor"), true) {
    setObjectName("Form11");
    const TCurveFields defaults;
    auto* grid = new QGridLayout(this);
    teVyraz = AddField(grid, 0, "teVyraz", "Y=");
    teVyraz->setText(QString::fromStdString(defaults.Formula));
    teDelka = AddField(grid, 1, "teDelka", "Krok (x,l):");
    teDelka->setText(QString::fromStdString(defaults.Step));
    tmvariables = new QPlainTextEdit(U("x"), this);
    tmvariables->setObjectName("tmvariables");
    tmvariables->setEnabled(false);
    tmvariables->setFixedSize(60, 40);
    grid->addWidget(tmvariables, 0, 2, 2, 1);
    teOd = AddField(grid, 2, "teOd", "Inteval:");
    teOd->setText(QString::fromStdString(defaults.From));
    teDo = AddField(grid, 3, "teDo", "to:");
    teDo->setText(QString::fromStdString(defaults.To));
    RadioGroup1 = new QGroupBox(U("Krok"), this);
    RadioGroup1->setObjectName("RadioGroup1");
    auto* modes = new QHBoxLayout(RadioGroup1);
    rbKonstX = new QRadioButton(U("x konst."), RadioGroup1);
    rbKonstL = new QRadioButton(U("l konst."), RadioGroup1);
    modes->addWidget(rbKonstX);
    modes->addWidget(rbKonstL);
    rbKonstX->setChecked(true);
    grid->addWidget(RadioGroup1, 4, 0, 1, 3);
    tePresnost = AddField(grid, 5, "tePresnost", "Přesnost:");
    // The default tolerance 0.0005 in the program's decimal separator, so that it reads.
    tePresnost->setText(U("0") + QChar(DecimalSeparator()) + U("0005"));
    cbSpojit = new QCheckBox(U("Spojit"), this);
    cbSpojit->setObjectName("cbSpojit");
    grid->addWidget(cbSpojit, 6, 1);
    AddButtons(grid, 7, &SpeedButton2, &SpeedButton1);
    connect(SpeedButton2, &QPushButton::clicked, this, &TForm11::SpeedButton2Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &TForm11::SpeedButton1Click);
}

void TForm11::SpeedButton2Click() {
    TMKPSpace& space = mHost.Space();
    TCurveFields f;
    f.Formula = teVyraz->text().toStdString();
    f.Step = teDelka->text().toStdString();
    f.From = teOd->text().toStdString();
    f.To = teDo->text().toStdString();
    f.Mode = rbKonstL->isChecked() ? 1 : 0;
    f.Tolerance = tePresnost->text().toStdString();
    f.Join = cbSpojit->isChecked();

    // After the delay a progress dialog (modal to the whole program, so that nothing edits the
    // model meanwhile) shows how far the run is and lets the user stop it; the events are
    // handled a few times a second.
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProgressDialog> progress;
    qint64 handled = -1000;
    auto report = [&](double fraction) {
        const qint64 now = clock.elapsed();
        if (!progress) {
            if (now < mProgressDelay) return true;
            progress = std::make_unique<QProgressDialog>(U("Generování uzlů ..."), U("Zrušit"), 0, 1000, this);
            progress->setObjectName("CurveProgress");
            progress->setWindowTitle(windowTitle());
            progress->setWindowModality(Qt::ApplicationModal);
            progress->setMinimumDuration(0);
            progress->setAutoClose(false);
            progress->setAutoReset(false);
            progress->show();
        }
        if (now - handled >= 50) {
            handled = now;
            progress->setValue(static_cast<int>(fraction * 1000.0));
            QCoreApplication::processEvents();
        }
        return !progress->wasCanceled();
    };
    const TCurveResult result = GenerateCurve(space, mCalc, f, '\0', report);
    progress.reset();
    if (!result.Nodes.empty()) mHost.ModelEdited();
    space.Prekresli();
    hide();
}
