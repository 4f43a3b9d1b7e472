#include "ui/dialogs/UzelDialog.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QToolButton>

#include "model/MKPSpace.h"
#include "ui/common/GeometryTools.h"
#include "ui/dialogs/DialogHost.h"
#include "ui/panel/ObjectPanel.h"

TForm3::TForm3(TDialogHost& host, QString& tool)
    : QDialog(host.DialogParent(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), mHost(host), mTool(tool) {
    setObjectName("Form3");
    setModal(false);
    setProperty("HelpContext", 230);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    mEdit1 = new QLineEdit(this);
    mEdit1->setObjectName("Edit1");
    mEdit2 = new QLineEdit(this);
    mEdit2->setObjectName("Edit2");
    for (QLineEdit* e : {mEdit1, mEdit2})
        e->setMinimumWidth(120);
    grid->addWidget(new QLabel("x:", this), 0, 0);
    grid->addWidget(mEdit1, 0, 1);
    grid->addWidget(new QLabel("y:", this), 1, 0);
    grid->addWidget(mEdit2, 1, 1);
    auto* ok = new QToolButton(this);
    ok->setObjectName("SpeedButton2");
    ok->setText("OK");
    auto* cancel = new QToolButton(this);
    cancel->setObjectName("SpeedButton1");
    cancel->setText(QString::fromUtf8("Storno"));
    grid->addWidget(ok, 0, 2);
    grid->addWidget(cancel, 1, 2);
    connect(ok, &QToolButton::clicked, this, &TForm3::SpeedButton2Click);
    connect(cancel, &QToolButton::clicked, this, &TForm3::SpeedButton1Click);
}

void TForm3::Open(const QString& button) {
    const TGeometryTool tool = GeometryToolOf(button.toStdString());
    if (!IsCoordinatesTool(tool)) return;
    mTool = button;
    for (QLineEdit* e : {mEdit1, mEdit2}) {
        e->setReadOnly(false);
        e->clear();
    }
    setWindowTitle(QString::fromUtf8(GeometryToolCaption(tool)));
    adjustSize();
    show();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect frame = frameGeometry();
        move(screen->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
    raise();
    activateWindow();
    mEdit1->setFocus();
}

void TForm3::SpeedButton2Click() {
    if (!isVisible()) return;
    const TGeometryTool tool = GeometryToolOf(mTool.toStdString());
    TMKPSpace& space = mHost.Space();
    TToolOutcome o;
    hide(); // before any message of the tool
    if (IsCoordinatesTool(tool))
        o = ApplyCoordinates(space, tool, mEdit1->text().toStdString(), mEdit2->text().toStdString());
    if (o.Edited) mHost.ModelEdited();
    if (o.NodeDisplay) mHost.Panel()->VypisHodnotyUzlu();
    space.Prekresli();
}

void TForm3::SpeedButton1Click() { hide(); }

void TForm3::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        SpeedButton2Click();
        return;
    }
    QDialog::keyPressEvent(event);
}
