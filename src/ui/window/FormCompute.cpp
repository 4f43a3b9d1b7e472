// The main window's computation commands: compute, the result tabs, the results report, the
// protocol and the member matrices.
#include "ui/window/MKPUnit1.h"

#include <QApplication>
#include <QTabBar>

#include <algorithm>

#include "base/NumberText.h"
#include "reports/CaseReports.h"
#include "reports/Protocol.h"
#include "reports/ResultsReport.h"
#include "ui/dialogs/MatDialog.h"
#include "ui/export/VyslMemo.h"
#include "ui/panel/ObjectPanel.h"

void TForm1::sbComputeClick() {
    if (mSpace.Members.Empty()) return;
    mSession.Settle(); // an edit not yet seen is a step before the computation changes anything
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mLastStatus = {};
    mComputation(mSpace);
    QApplication::restoreOverrideCursor();
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
