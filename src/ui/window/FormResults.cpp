// The main window's choice of what the results show and the value under the pointer. The results
// box beside the result tabs chooses a case, a combination or an envelope (hidden while the model
// has no cases and no combinations). In a result mode the pointer over a member shows the member,
// the distance x from its node a and the shown quantity there, in a panel after the tabs (only
// then shown; it takes the room the window has to spare) and in a small label at the pointer; a
// click pins the value on the canvas, where it stays, drawn and printed with the picture, until
// the model changes or Esc removes it.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>

#include "canvas/PointerValue.h"
#include "ui/window/CanvasWidget.h"
#include "ui/window/MKPUnit1.h"
#include "ui/window/ResultsEntries.h"

namespace {
QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}
} // namespace

// The chooser stands at the end of the view toolbar: the status bar's fixed panels fill the whole
// width of the window as it opens (765 pixels), and a box there would lie over the result tabs.
void TForm1::BuildResultsChooser() {
    QStatusBar* bar = statusBar();
    auto* caption = new QLabel(QString::fromUtf8(" Výsledky: "), mViewBar);
    mResultsChooser[0] = mViewBar->addWidget(caption);
    mResultsBox = new QComboBox(mViewBar);
    mResultsBox->setObjectName("cbVysledky");
    mResultsBox->setToolTip(QString::fromUtf8("Zobrazené výsledky: zatěžovací stav, kombinace nebo obálka"));
    mResultsBox->setFixedWidth(120);
    mResultsBox->setFocusPolicy(Qt::NoFocus);
    mResultsChooser[1] = mViewBar->addWidget(mResultsBox);
    for (QAction* a : mResultsChooser)
        a->setVisible(false);
    connect(mResultsBox, &QComboBox::activated, this, &TForm1::ResultsBoxChange);

    mValuePanel = new QLabel(bar);
    mValuePanel->setObjectName("StatusPanelValue");
    mValuePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // It never widens the window: it takes what room is left beside the fixed panels.
    mValuePanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    mValuePanel->setMinimumWidth(0);
    bar->addWidget(mValuePanel, 1);
    mValuePanel->hide();

    mPointerLabel = new QLabel(mCanvas->Area());
    mPointerLabel->setObjectName("lHodnota");
    mPointerLabel->setStyleSheet("QLabel { background: #ffffe1; border: 1px solid gray; padding: 1px 3px; }");
    mPointerLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    mPointerLabel->hide();
}

// After every command: the entries follow the model's cases and combinations, the entry shown
// follows the choice.
void TForm1::RefreshResultsChooser() {
    if (!mResultsBox) return;
    const std::vector<TResultsEntry> entries = PolozkyVysledku(mSpace);
    QStringList texts;
    for (const TResultsEntry& e : entries) texts << Q(e.Text);
    QStringList shown;
    for (int i = 0; i < mResultsBox->count(); ++i) shown << mResultsBox->itemText(i);
    const QSignalBlocker block(mResultsBox);
    if (texts != shown) {
        mResultsBox->clear();
        mResultsBox->addItems(texts);
    }
    mResultsBox->setCurrentIndex(PolozkaVolby(entries, mSpace.ResultsChoice));
    if (mResultsChooser[1]->isVisible() == !entries.empty()) return;
    for (QAction* a : mResultsChooser)
        a->setVisible(!entries.empty());
    mViewBar->layout()->activate(); // the box shows at once, not at the toolbar's next layout
}

void TForm1::ResultsBoxChange(int index) {
    const std::vector<TResultsEntry> entries = PolozkyVysledku(mSpace);
    if (index < 0 || std::size_t(index) >= entries.size()) return;
    if (entries[std::size_t(index)].Choice == mSpace.ResultsChoice) return;
    HidePointerValue();
    // An envelope forms every member's table for each of its combinations: about a second on a
    // frame of 10,000 nodes and twenty combinations.
    bool shown;
    {
        struct TWaitCursor {
            TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
            ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
        } wait;
        shown = mSpace.NastavVysledky(entries[std::size_t(index)].Choice);
    }
    if (!shown) {
        RefreshResultsChooser();
        return;
    }
    mSpace.Prekresli();
}

QString TForm1::PointerValueText() const {
    return mValuePanel && mValuePanel->isVisible() ? mValuePanel->text() : QString();
}

void TForm1::ShowPointerValue(int x, int y) {
    const TMKPSpace::TModelPoint p = mSpace.ToModel(x, y);
    TPointerValue value;
    if (!mTabs->isEnabled() || !HodnotaPodUkazatelem(mSpace, PrutVBode(mSpace, p.X, p.Y), value)) {
        HidePointerValue();
        return;
    }
    const QString text = Q(TextHodnoty(mSpace, value));
    mValuePanel->setText(text);
    mValuePanel->setToolTip(text);
    mValuePanel->show();
    mPointerLabel->setText(text);
    mPointerLabel->adjustSize();
    // Below and right of the pointer, kept within the canvas.
    const QWidget* area = mCanvas->Area();
    int lx = x + 14, ly = y + 16;
    if (lx + mPointerLabel->width() > area->width()) lx = std::max(0, x - 6 - mPointerLabel->width());
    if (ly + mPointerLabel->height() > area->height()) ly = std::max(0, y - 6 - mPointerLabel->height());
    mPointerLabel->move(lx, ly);
    mPointerLabel->show();
    mPointerLabel->raise();
}

void TForm1::HidePointerValue() {
    if (mValuePanel) {
        mValuePanel->hide();
        mValuePanel->clear();
    }
    if (mPointerLabel) mPointerLabel->hide();
}

bool TForm1::PinValue(int x, int y) {
    if (!mTabs->isEnabled()) return false;
    const TMKPSpace::TModelPoint p = mSpace.ToModel(x, y);
    const TMemberPoint at = PrutVBode(mSpace, p.X, p.Y);
    TPointerValue value;
    if (!HodnotaPodUkazatelem(mSpace, at, value)) return false;
    mSpace.ValueMarks.push_back({at.Member, at.X, mSpace.TypZobrazeni()});
    mSpace.Prekresli();
    return true;
}

void TForm1::ClearValueMarks() {
    if (mSpace.ValueMarks.empty()) return;
    mSpace.ValueMarks.clear();
}
