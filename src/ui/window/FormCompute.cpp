// The main window's computation commands: compute, the result tabs, the results report, the
// protocol and the member matrices.
#include "ui/window/MKPUnit1.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTabBar>
#include <QTimer>

#include <algorithm>

#include "base/NumberText.h"
#include "reports/CaseReports.h"
#include "reports/Protocol.h"
#include "reports/ResultsReport.h"
#include "ui/dialogs/MatDialog.h"
#include "ui/export/VyslMemo.h"
#include "ui/panel/ObjectPanel.h"

// A large frame is computed off the window's thread (the session takes its results at the look
// after it has finished, CommandComputed); a scripted computation (tests) always runs here.
void TForm1::sbComputeClick() {
    if (mSpace.Members.Empty()) return;
    mSession.Settle(); // an edit not yet seen is a step before the computation changes anything
    if (!mScriptedComputation && mSession.ComputeInBackground()) return;
    ComputeHere();
}

void TForm1::ComputeHere() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mLastStatus = {};
    mComputation(mSpace);
    QApplication::restoreOverrideCursor();
    CommandComputed(mLastStatus);
}

void TForm1::CommandComputed(const TSolveStatus& status) {
    mLastStatus = status;
    if (mSpace.ResultsValid)
        mTabs->setEnabled(true);
    else
        ResultTabsToModel();
    mSession.Computed(mLastStatus);
    if (mSpace.ResultsValid) {
        mTabFit.Computed();
        if (mTabFit.Shown(mTabs->currentIndex())) PrizpusobMeritkoClick();
    }
    mSpace.Prekresli();
}

// Called on the computing thread: the look that takes the results runs on the window's thread. A
// look under way (a message box of its own open) is left to end first.
void TForm1::Wake() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!mSession.Computing()) return; // taken already (within the brief wait)
            if (mSession.Looking())
                QTimer::singleShot(50, this, [this] { Wake(); });
            else
                RepaintCanvas();
        },
        Qt::QueuedConnection);
}

// The progress shows half a second after the window began to wait (not modal: editing goes on,
// and an edit starts the computation again); "Zrušit" stops it.
void TForm1::ComputationBusy(bool busy) {
    if (!busy) {
        mProgressGate.End();
        if (mProgress) mProgress->hide();
        return;
    }
    mProgressGate.Begin(TProgressGate::TClock::now());
    QTimer::singleShot(int(mProgressGate.Left(TProgressGate::TClock::now()).count()), this,
                       [this] { ShowProgressWhenDue(); });
}

void TForm1::ShowProgressWhenDue() {
    if (!mProgressGate.Busy() || !mSession.Computing()) return;
    const auto now = TProgressGate::TClock::now();
    if (!mProgressGate.Due(now)) {
        QTimer::singleShot(int(mProgressGate.Left(now).count()), this, [this] { ShowProgressWhenDue(); });
        return;
    }
    if (!mProgress) {
        mProgress = new QProgressDialog(QString::fromUtf8("Výpočet…"), QString::fromUtf8("Zrušit"), 0, 0, this);
        mProgress->setObjectName("ComputationProgress");
        mProgress->setWindowTitle(windowTitle());
        mProgress->setWindowModality(Qt::NonModal);
        mProgress->setMinimumDuration(0);
        mProgress->setAutoClose(false);
        mProgress->setAutoReset(false);
        connect(mProgress, &QProgressDialog::canceled, this, [this] {
            mSession.CancelComputation();
            mSpace.Prekresli();
        });
    }
    if (!mProgress->isVisible()) {
        mProgress->reset();
        mProgress->setRange(0, 0);
        mProgress->show();
    }
}

void TForm1::FlatTabControl2Change(int index) {
    if (index < 0) return;
    HidePointerValue();
    mSpace.SetTypZobrazeni(static_cast<std::uint8_t>(index));
    if (mSpace.ResultsValid && mTabFit.Shown(index)) PrizpusobMeritkoClick();
    const bool imperial = mSpace.UnitSystem == 1;
    if (index == 4)
        SetStatus(3, imperial ? "in" : "mm");
    else
        SetStatus(3, imperial ? "ft-in" : "m");
}

void TForm1::Reakce1Click() {
    TStyledDocument doc;
    if (mSpace.Envelope)
        BuildEnvelopeReport(mSpace, doc);
    else
        BuildResultsReport(mSpace, doc); // a case or a combination under a heading that names it
    mForm6->ShowDocument(doc);
}

// The protocol first deletes the nodes, sections and materials nothing uses (permanently, without
// a question), refreshes what shows them and then lists the model.
void TForm1::Protokol1Click() {
    mForm6->Clear();
    const int nodes = mSpace.Nodes.Count();
    const int sections = mSpace.Sections.Count();
    const int materials = mSpace.Materials.Count();
    CleanUnusedObjects(mSpace); // the calculator's protocol cleans up the same way
    mPanel->VypisHodnotyUzlu();
    if (mSpace.Nodes.Count() != nodes || mSpace.Sections.Count() != sections ||
        mSpace.Materials.Count() != materials)
        ModelEdited();
    ShowSelectionCounts();
    // One repaint after the whole clean-up, so that it is one edit (sections and materials are
    // not drawn).
    mSpace.Prekresli();
    mPanel->RefreshListsKeepingCurrent();
    TStyledDocument doc;
    ListProtocol(mSpace, doc);
    mForm6->ShowDocument(doc);
}

void TForm1::sbShowMatrClick() {
    if (!mSpace.CurrentMember) return;
    mForm4->Fill(*mSpace.CurrentMember, DecimalSeparator(), mSpace.UnitSystem == 1);
}
