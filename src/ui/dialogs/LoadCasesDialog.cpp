#include "ui/dialogs/LoadCasesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/dialogs/DefinitionWidgets.h"
#include "ui/dialogs/DialogHost.h"
#include "ui/panel/ObjectPanel.h"

namespace {
QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}
QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}
} // namespace

TLoadCasesDialog::TLoadCasesDialog(TDialogHost& host) : TDefinitionDialog(host, U("Zatěžovací stavy"), true) {
    setObjectName("FormZatezovaciStavy");
    setProperty("HelpContext", 300);
    auto* layout = new QVBoxLayout(this);

    mList = new QTableWidget(0, 6, this);
    mList->setObjectName("lvStavy");
    mList->setHorizontalHeaderLabels(
        {U("Název"), U("Druh"), U("Kategorie"), U("Skupina"), U("Obě hodnoty"), U("Zatížení")});
    mList->setSelectionBehavior(QAbstractItemView::SelectRows);
    mList->setSelectionMode(QAbstractItemView::SingleSelection);
    mList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mList->verticalHeader()->hide();
    mList->horizontalHeader()->setStretchLastSection(true);
    mList->setMinimumSize(680, 160);
    mList->setWordWrap(false);
    connect(mList, &QTableWidget::itemSelectionChanged, this, &TLoadCasesDialog::RowChosen);
    layout->addWidget(mList);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(U("Název:"), this), 0, 0);
    mName = new QLineEdit(this);
    mName->setObjectName("eNazev");
    fields->addWidget(mName, 0, 1);
    fields->addWidget(new QLabel(U("Druh:"), this), 0, 2);
    mKind = new QComboBox(this);
    mKind->setObjectName("cbDruh");
    for (const std::string& k : CaseKindEntries())
        mKind->addItem(Q(k));
    connect(mKind, &QComboBox::currentIndexChanged, this, &TLoadCasesDialog::KindChosen);
    fields->addWidget(mKind, 0, 3);
    fields->addWidget(new QLabel(U("Kategorie:"), this), 1, 0);
    mCategory = new QComboBox(this);
    mCategory->setObjectName("cbKategorie");
    for (const std::string& c : CaseCategoryEntries())
        mCategory->addItem(Q(c));
    fields->addWidget(mCategory, 1, 1, 1, 3);
    fields->addWidget(new QLabel(U("Skupina:"), this), 2, 0);
    mGroup = new QLineEdit(this);
    mGroup->setObjectName("eSkupina");
    mGroup->setToolTip(U("Stavy jedné skupiny nikdy nepůsobí společně (např. vítr zleva a zprava)."));
    fields->addWidget(mGroup, 2, 1);
    mBoth = new QCheckBox(U("Obě hodnoty (i příznivě)"), this);
    mBoth->setObjectName("chObeHodnoty");
    mBoth->setToolTip(U("Stálé zatížení se v kombinacích MSÚ uvažuje i s dolní hodnotou součinitele."));
    fields->addWidget(mBoth, 2, 2, 1, 2);
    fields->setColumnStretch(1, 1);
    layout->addLayout(fields);

    auto* buttons = new QHBoxLayout;
    connect(AddRowButton(this, buttons, "btnPridat", "Přidat"), &QPushButton::clicked, this,
            &TLoadCasesDialog::btnPridatClick);
    connect(AddRowButton(this, buttons, "btnZmenit", "Změnit"), &QPushButton::clicked, this,
            &TLoadCasesDialog::btnZmenitClick);
    connect(AddRowButton(this, buttons, "btnSmazat", "Smazat"), &QPushButton::clicked, this,
            &TLoadCasesDialog::btnSmazatClick);
    buttons->addStretch(1);
    connect(AddRowButton(this, buttons, "btnZavrit", "Zavřít"), &QPushButton::clicked, this,
            &QWidget::hide);
    layout->addLayout(buttons);
    KindChosen();
}

void TLoadCasesDialog::ShowDialog() {
    Refresh();
    if (Selected() < 0) SetFields({NewCaseName(mHost.Space()), 0, 0, {}, false});
    ShowCentred();
    mName->setFocus();
    mName->selectAll();
}

void TLoadCasesDialog::Refresh() {
    std::vector<TCaseRow> rows = CaseRows(mHost.Space());
    if (rows == mRows) return;
    const int selected = Selected();
    mRows = std::move(rows);
    const QSignalBlocker block(mList);
    mList->setRowCount(int(mRows.size()));
    for (int i = 0; i < int(mRows.size()); ++i) {
        const TCaseRow& r = mRows[std::size_t(i)];
        const std::string* cells[] = {&r.Name, &r.Kind, &r.Category, &r.Group, &r.BothValues, &r.Loads};
        for (int c = 0; c < 6; ++c)
            mList->setItem(i, c, new QTableWidgetItem(Q(*cells[c])));
    }
    mList->resizeColumnsToContents();
    if (selected >= 0 && selected < mList->rowCount()) mList->selectRow(selected);
}

int TLoadCasesDialog::Selected() const {
    const auto rows = mList->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TLoadCasesDialog::Select(int row) {
    mList->selectRow(row);
}

TCaseFields TLoadCasesDialog::Fields() const {
    return {mName->text().toStdString(), mKind->currentIndex(), mCategory->currentIndex(),
            mGroup->text().toStdString(), mBoth->isChecked()};
}

void TLoadCasesDialog::SetFields(const TCaseFields& f) {
    mName->setText(Q(f.Name));
    mKind->setCurrentIndex(f.Kind);
    mCategory->setCurrentIndex(f.Category);
    mGroup->setText(Q(f.Group));
    mBoth->setChecked(f.BothValues);
    KindChosen();
}

void TLoadCasesDialog::RowChosen() {
    const int row = Selected();
    TMKPSpace& space = mHost.Space();
    if (row >= 0 && row < space.LoadCases.Count()) SetFields(CaseFieldsOf(*space.LoadCases[row]));
}

void TLoadCasesDialog::KindChosen() {
    mCategory->setEnabled(KindTakesCategory(mKind->currentIndex()));
    mBoth->setEnabled(KindTakesBothValues(mKind->currentIndex()));
}

void TLoadCasesDialog::Edited() {
    mHost.ModelEdited();
    Refresh();
    if (TObjectPanel* panel = mHost.Panel()) {
        panel->VypisHodnotyZatizeniP();
        panel->VypisHodnotyZatizeniU();
    }
}

void TLoadCasesDialog::btnPridatClick() {
    TMKPSpace& space = mHost.Space();
    if (std::string fault = AddCase(space, Fields()); !fault.empty()) {
        Dialogs().Inform(fault);
        return;
    }
    Edited();
    Select(space.LoadCases.Count() - 1);
}

void TLoadCasesDialog::btnZmenitClick() {
    if (std::string fault = ChangeCase(mHost.Space(), Selected(), Fields()); !fault.empty()) {
        Dialogs().Inform(fault);
        return;
    }
    Edited();
}

void TLoadCasesDialog::btnSmazatClick() {
    TMKPSpace& space = mHost.Space();
    const int row = Selected();
    if (row < 0) return;
    const std::string question = DeleteCaseQuestion(space, row);
    if (!question.empty() && !Dialogs().AskYesNo(question)) return;
    if (!DeleteCase(space, row)) return;
    Edited();
    if (space.LoadCases.Empty())
        SetFields({NewCaseName(space), 0, 0, {}, false});
    else
        Select(std::min(row, space.LoadCases.Count() - 1));
}

// Enter: the chosen case takes the fields; without one a case is added.
void TLoadCasesDialog::Confirm() {
    if (Selected() >= 0)
        btnZmenitClick();
    else
        btnPridatClick();
}
