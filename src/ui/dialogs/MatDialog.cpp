#include "ui/dialogs/MatDialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QTableWidget>
#include <QToolButton>

namespace {
const int KColWidth = 45;
const int KRowHeight = 16;

QTableWidget* MakeGrid(QWidget* parent, const char* name, int cols, int rows, int fixedCols, int x, int y) {
    auto* g = new QTableWidget(rows, cols, parent);
    g->setObjectName(name);
    g->horizontalHeader()->hide();
    g->verticalHeader()->hide();
    g->horizontalHeader()->setMinimumSectionSize(1);
    g->verticalHeader()->setMinimumSectionSize(1);
    for (int c = 0; c < cols; ++c) g->setColumnWidth(c, KColWidth);
    for (int r = 0; r < rows; ++r) g->setRowHeight(r, KRowHeight);
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(QAbstractItemView::NoSelection);
    g->setFocusPolicy(Qt::NoFocus);
    g->setFrameShape(QFrame::NoFrame);
    g->setTextElideMode(Qt::ElideNone);
    g->setWordWrap(false);
    QFont font("Arial");
    font.setPixelSize(9);
    g->setFont(font);
    g->setGeometry(x, y, cols * KColWidth + 1, rows * KRowHeight + 1);
    const QColor fixedColour = parent->palette().color(QPalette::Button);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (c < fixedCols) item->setBackground(fixedColour);
            g->setItem(r, c, item);
        }
    return g;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::RichText);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setGeometry(x, y, 44, 20);
    return l;
}

void Write(QTableWidget* grid, const TGridWrites& writes) {
    for (const TGridCell& cell : writes) {
        QTableWidgetItem* item = grid->item(cell.Row, cell.Col);
        item->setText(QString::fromStdString(cell.Text));
        // A long number may not fit its 45 pixels; its hint shows it whole.
        item->setToolTip(item->text());
    }
}
} // namespace

TForm4::TForm4(QWidget* parent) : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("Form4");
    setWindowTitle("Matice");
    setProperty("HelpContext", 240);

    // Left column: T and kab*, right column: T^-1 and kab; the vectors below.
    const int lx = 4, gx = 50, rx = 430, rgx = 476;
    MakeLabel(this, "T =", lx, 8 + 38);
    mT = MakeGrid(this, "sgPrT", 7, 6, 6, gx, 8);
    MakeLabel(this, "T<sup>-1</sup> =", rx, 8 + 38);
    mTI = MakeGrid(this, "sgPrTI", 7, 6, 6, rgx, 8);
    const int ky = 116;
    MakeLabel(this, "kab* = ", lx, ky + 46);
    mKabL = MakeGrid(this, "sgPrkabL", 8, 7, 7, gx, ky);
    MakeLabel(this, "kab =", rx, ky + 46);
    mKabG = MakeGrid(this, "sgPrkabG", 8, 7, 7, rgx, ky);
    const int vy = 240;
    MakeLabel(this, "Mab* = ", lx, vy + 38);
    mMabL = MakeGrid(this, "sgPrMabL", 2, 6, 1, gx, vy);
    MakeLabel(this, "Mab =", 142, vy + 38);
    mMabG = MakeGrid(this, "sgPrMabG", 3, 6, 2, 188, vy);
    MakeLabel(this, "Pa =", 325, vy + 14);
    MakeLabel(this, "Pb =", 325, vy + 62);
    mPab = MakeGrid(this, "sgPrPab", 3, 6, 2, 371, vy);
    MakeLabel(this, "Sa =", 508, vy + 38);
    mSa = MakeGrid(this, "sgPrSa", 3, 6, 2, 554, vy);
    MakeLabel(this, "Sb =", 691, vy + 38);
    mSb = MakeGrid(this, "sgPrSb", 3, 6, 2, 737, vy);

    auto* units = mUnits = new QLabel(QString::fromUtf8("Hodnoty jsou ve vnitřních jednotkách modelu: kN, kNm, m; posuny "
                                               "v mm, pootočení v mrad."),
                             this);
    units->setObjectName("lJednotky");
    units->setGeometry(8, 352, 780, 20);
    units->hide();

    auto* close = new QToolButton(this);
    close->setObjectName("SpeedButton1");
    close->setText(QString::fromUtf8("Zavřít"));
    close->setAutoRaise(true);
    close->setGeometry(800, 350, 70, 24);
    connect(close, &QToolButton::clicked, this, &TForm4::SpeedButton1Click);
    setFixedSize(880, 380);
}

QTableWidget* TForm4::Grid(const QString& name) const {
    for (QTableWidget* g : {mT, mTI, mKabL, mKabG, mMabL, mMabG, mPab, mSa, mSb})
        if (g->objectName() == name) return g;
    return nullptr;
}

QString TForm4::Cell(const QString& grid, int col, int row) const {
    const QTableWidget* g = Grid(grid);
    const QTableWidgetItem* item = g ? g->item(row, col) : nullptr;
    return item ? item->text() : QString();
}

void TForm4::Fill(TPrut& member, char separator, bool imperial) {
    const TMatrixGridWrites w = MemberMatrixTexts(member, separator);
    mUnits->setVisible(imperial);
    if (!isVisible()) {
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    Write(mT, w.T);
    Write(mTI, w.TI);
    Write(mKabL, w.KabL);
    Write(mKabG, w.KabG);
    Write(mMabL, w.MabL);
    Write(mMabG, w.MabG);
    Write(mPab, w.Pab);
    Write(mSa, w.Sa);
    Write(mSb, w.Sb);
}

void TForm4::SpeedButton1Click() {
    hide();
}

void TForm4::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        SpeedButton1Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm4::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}
