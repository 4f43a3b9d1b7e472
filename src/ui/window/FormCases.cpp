// The main window's load cases: the combo box "Zatěžovací stav:" of the editing toolbar (the case
// new loads go into, and what the canvas draws of the loads), the menu items of the cases and
// combinations dialogs, and keeping all of them in step with the model at the end of every
// command (RepaintCanvas), whatever changed it: a dialog, undo, a project opened.
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>

#include <algorithm>

#include "canvas/Drawing.h"
#include "ui/dialogs/CombinationsDialog.h"
#include "ui/dialogs/LoadCasesDialog.h"
#include "ui/dialogs/ZatizeniDialog1.h"
#include "ui/window/MKPUnit1.h"

namespace {
QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QColor Colour(TColor c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// A square of a case's colour; the entry of all cases shows the first colours side by side.
QIcon CaseIcon(int position, int cases) {
    QPixmap p(12, 12);
    p.fill(Qt::white);
    QPainter painter(&p);
    if (position < 0) {
        const int stripes = std::min(cases, 4);
        for (int i = 0; i < stripes; ++i)
            painter.fillRect(1 + i * 10 / stripes, 1, 10 / stripes + 1, 10, Colour(CaseColour(i)));
    } else {
        painter.fillRect(1, 1, 10, 10, Colour(CaseColour(position)));
    }
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 11, 11);
    return QIcon(p);
}
} // namespace

void TForm1::BuildCaseCommands() {
    for (QAction* a : menuBar()->actions()) {
        if (!a->menu() || a->text() != U("Zatížení")) continue;
        QMenu* zat = a->menu();
        connect(AddItem(zat, "Zatezovacistavy1", "Zatěžovací stavy ..."), &QAction::triggered, this,
                &TForm1::ZatezovaciStavy1Click);
        connect(AddItem(zat, "Kombinace1", "Kombinace ..."), &QAction::triggered, this,
                &TForm1::Kombinace1Click);
    }
    mCasesDialog = new TLoadCasesDialog(*this);
    mCombinationsDialog = new TCombinationsDialog(*this);

    auto* caption = new QLabel(U(" Zatěžovací stav: "), mEditBar);
    caption->setObjectName("lZatStav");
    mEditBar->addWidget(caption);
    mCaseBox = new QComboBox(mEditBar);
    mCaseBox->setObjectName("cbZatStav");
    mCaseBox->setToolTip(
        U("Zatěžovací stav, do kterého se zadávají nová zatížení a jehož zatížení se kreslí"));
    mCaseBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    mCaseBox->setMinimumContentsLength(8);
    mCaseBox->setFocusPolicy(Qt::NoFocus); // typed characters stay the window's commands
    mEditBar->addWidget(mCaseBox);
    // Any change of the entry by the user (a click, the wheel) is a choice; the window's own
    // refills and settings block the signal.
    connect(mCaseBox, &QComboBox::currentIndexChanged, this, &TForm1::cbZatStavChange);
    SyncCaseChoice();
}

void TForm1::SyncCaseChoice() {
    if (!mCaseBox) return;
    mCaseChoice = ValidCaseChoice(mSpace, mCaseChoice);
    ShowCaseChoice(mSpace, mCaseChoice);
    const std::vector<std::string> entries = CaseChoiceEntries(mSpace);
    bool same = int(entries.size()) == mCaseBox->count();
    for (int i = 0; same && i < mCaseBox->count(); ++i)
        same = mCaseBox->itemText(i).toStdString() == entries[std::size_t(i)];
    if (!same) {
        const QSignalBlocker block(mCaseBox);
        mCaseBox->clear();
        const int cases = mSpace.LoadCases.Count();
        for (int i = 0; i < int(entries.size()); ++i) {
            const QString text = QString::fromStdString(entries[std::size_t(i)]);
            if (cases > 1)
                mCaseBox->addItem(CaseIcon(i < cases ? i : -1, cases), text);
            else
                mCaseBox->addItem(text);
        }
        mForm5->RefreshCases();
    }
    const QSignalBlocker block(mCaseBox);
    mCaseBox->setCurrentIndex(CaseChoiceEntry(mSpace, mCaseChoice));
    if (mCasesDialog->isVisible()) mCasesDialog->Refresh();
    if (mCombinationsDialog->isVisible()) mCombinationsDialog->Refresh();
}

void TForm1::cbZatStavChange(int entry) {
    mCaseChoice = ChooseCaseEntry(mSpace, mCaseChoice, entry);
    mSpace.Prekresli();
}

void TForm1::ChooseCase(int entry) {
    if (mCaseBox) {
        const QSignalBlocker block(mCaseBox);
        mCaseBox->setCurrentIndex(entry);
    }
    cbZatStavChange(entry);
}

std::string TForm1::CaseForNewLoadsName() const {
    const TZatezovaciStav* c = CaseForNewLoads(mSpace, mCaseChoice);
    return c ? c->Name : std::string();
}

void TForm1::ZatezovaciStavy1Click() {
    mCasesDialog->ShowDialog();
}

void TForm1::Kombinace1Click() {
    mCombinationsDialog->ShowDialog();
}
