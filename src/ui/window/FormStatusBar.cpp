// The main window's status bar: the thirteen panels of fixed width (pointer coordinates, zoom,
// units, the selection counters) and the display-type tabs in the last one. The note a
// computation leaves stands in the canvas corner instead (ComputationNote), since these panels
// fill the whole default width of the window.
#include <QLabel>
#include <QStatusBar>
#include <QTabBar>

#include "ui/window/MKPUnit1.h"

namespace {
QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Widths of the thirteen status panels and their first captions.
const int KPanelWidths[13] = {80, 80, 55, 30, 30, 30, 50, 20, 50, 20, 50, 10, 177};
const char* const KPanelCaptions[13] = {"x", "x", "x", "m", "kN", "MPa", "", "", "0", "", "0", "", ""};
} // namespace

void TForm1::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 13; ++i) {
        auto* l = new QLabel(KPanelCaptions[i], bar);
        l->setObjectName(QString("StatusPanel%1").arg(i));
        l->setFixedWidth(KPanelWidths[i]);
        if (i != 6 && i != 11 && i != 12) l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        mPanels[i] = l;
        bar->addWidget(l);
    }
    const QString hint = U("Dvojím kliknutím zrušíte výběr");
    auto* vu = mSelectedNodesCaption = new QLabel("VU:", mPanels[7]);
    vu->setObjectName("lPocvybuz");
    vu->setToolTip(hint);
    auto* vp = mSelectedMembersCaption = new QLabel("VP:", mPanels[9]);
    vp->setObjectName("lPocvybpr");
    vp->setToolTip(hint);
    for (QLabel* l : {vu, vp}) {
        l->setGeometry(1, 0, 19, 18);
        l->installEventFilter(this);
    }
    mTabs = new QTabBar(mPanels[12]);
    mTabs->setObjectName("FlatTabControl2");
    for (const char* t : {"model", "T", "N", "M", "def"})
        mTabs->addTab(t);
    mTabs->setExpanding(false);
    mTabs->setDrawBase(false);
    mTabs->setUsesScrollButtons(false);
    // Flat, compact tabs, so that all five fit the panel's 177 pixels.
    mTabs->setStyleSheet("QTabBar::tab { padding: 0px 8px; min-width: 0px; height: 18px; margin: 0px; }"
                         "QTabBar::tab:selected { background: white; border: 1px solid gray; }"
                         "QTabBar::tab:disabled { color: gray; }");
    mPanels[12]->setFixedHeight(20);
    mTabs->setGeometry(0, 0, 177, 20);
    mTabs->setCursor(Qt::ArrowCursor);
    mTabs->setEnabled(false);
    connect(mTabs, &QTabBar::currentChanged, this, &TForm1::FlatTabControl2Change);
}

void TForm1::ShowSelectionCounts() {
    SetStatus(8, QString::number(mSpace.SelectedNodes.Count()));
    SetStatus(10, QString::number(mSpace.SelectedMembers.Count()));
}

void TForm1::SetStatus(int panel, const QString& text) {
    mPanels[panel]->setText(text);
}

QString TForm1::StatusText(int panel) const {
    return mPanels[panel]->text();
}

void TForm1::StatusBarRefresh() {
    SetStatus(2, QString::number(mSpace.Zoom()) + "%");
    SetStatus(3, QString::fromStdString(mSpace.LengthLabel));
    SetStatus(4, QString::fromStdString(mSpace.ForceLabel));
    SetStatus(5, QString::fromStdString(mSpace.StressLabel));
}
