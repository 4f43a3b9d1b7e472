#include "ui/dialogs/PrutDialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScreen>
#include <QToolButton>

#include "model/MKPSpace.h"
#include "ui/common/GeometryTools.h"
#include "ui/dialogs/DialogHost.h"
#include "ui/panel/ObjectPanel.h"

namespace {
// Puts a shown tool dialog in the middle of the desktop.
void CentreOnDesktop(QWidget* w) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect frame = w->frameGeometry();
        w->move(screen->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
}
} // namespace

TForm2::TForm2(TDialogHost& host, QString& tool)
    : QDialog(host.DialogParent(), Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      mHost(host), mTool(tool) {
    setObjectName("Form2");
    setModal(false);
    setProperty("HelpContext", 220);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 6, 6, 6);
    mEdit1 = new QLineEdit(this);
    mEdit1->setObjectName("Edit1");
    mEdit1->setMinimumWidth(120);
    row->addWidget(mEdit1);
    mOk = new QToolButton(this);
    mOk->setObjectName("SpeedButton2");
    mOk->setText("OK");
    mCancel = new QToolButton(this);
    mCancel->setObjectName("SpeedButton1");
    mCancel->setText(QString::fromUtf8("Storno"));
    row->addWidget(mOk);
    row->addWidget(mCancel);
    connect(mOk, &QToolButton::clicked, this, &TForm2::SpeedButton2Click);
    connect(mCancel, &QToolButton::clicked, this, &TForm2::SpeedButton1Click);
    connect(mEdit1, &QLineEdit::returnPressed, this, &TForm2::SpeedButton2Click);
}

void TForm2::Open(const QString& button) {
    const TGeometryTool tool = GeometryToolOf(button.toStdString());
    if (tool == TGeometryTool::None || IsCoordinatesTool(tool)) return;
    mTool = button;
    mEdit1->setReadOnly(false);
    setWindowTitle(QString::fromUtf8(GeometryToolCaption(tool)));
    mEdit1->clear();
    // The values (and any message) come first: a message box must not open under this window,
    // which stays on top.
    hide();
    const TSingleValueOpening o = OpenSingleValue(mHost.Space(), tool);
    if (!o.Shown) return;
    mEdit1->setReadOnly(o.ReadOnly);
    mEdit1->setText(QString::fromStdString(o.Text));
    adjustSize();
    show();
    CentreOnDesktop(this);
    raise();
    activateWindow();
    mEdit1->setFocus();
}

void TForm2::SpeedButton2Click() {
    if (!isVisible()) return;
    const TGeometryTool tool = GeometryToolOf(mTool.toStdString());
    TMKPSpace& space = mHost.Space();
    // Hidden while the tool runs, so that its messages are not covered; shown again when it keeps
    // the dialog open.
    hide();
    const TToolOutcome o = IsCoordinatesTool(tool)
                               ? TToolOutcome{}
                               : ApplySingleValue(space, tool, mEdit1->text().toStdString());
    if (o.Edited) mHost.ModelEdited();
    if (o.MemberDisplay) mHost.Panel()->VypisHodnotyPrutu();
    if (o.NodeDisplay) mHost.Panel()->VypisHodnotyUzlu();
    if (o.Edited) space.Prekresli();
    // Loads the tool deleted are named in the status bar (with a refusal of the live
    // computation, if the repaint gave one).
    if (!o.LostLoads.empty()) {
        const QString note = QString::fromStdString(LostLoadsNote(o.LostLoads));
        const QString before = mHost.InfoText();
        mHost.StatusNote(before.isEmpty() ? note : note + "  " + before);
    }
    if (o.KeepOpen) {
        show();
        raise();
        activateWindow();
    }
}

void TForm2::SpeedButton1Click() {
    hide();
}
