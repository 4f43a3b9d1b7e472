#include "ui/dialogs/CombinationsDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "analysis/En1990.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"
#include "ui/dialogs/DefinitionWidgets.h"
#include "ui/dialogs/DialogHost.h"

namespace {
QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}
QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QTableWidget* List(QWidget* parent, const char* name, const QStringList& headers) {
    auto* t = new QTableWidget(0, int(headers.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(headers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setStretchLastSection(true);
    t->setWordWrap(false);
    t->verticalHeader()->setDefaultSectionSize(22);
    return t;
}

// Puts rows into a list when they differ from those shown; true when it did.
bool Fill(QTableWidget* list, std::vector<TCombinationRow>& shown, std::vector<TCombinationRow> rows,
          bool generated) {
    if (rows == shown) return false;
    shown = std::move(rows);
    const QSignalBlocker block(list);
    list->setRowCount(int(shown.size()));
    for (int i = 0; i < int(shown.size()); ++i) {
        const TCombinationRow& r = shown[std::size_t(i)];
        const QStringList cells = generated ? QStringList{Q(r.Name), Q(r.Kind), Q(r.Terms), Q(r.Formula)}
                                            : QStringList{Q(r.Name), Q(r.Terms)};
        for (int c = 0; c < cells.size(); ++c)
            list->setItem(i, c, new QTableWidgetItem(cells[c]));
    }
    list->resizeColumnsToContents();
    return true;
}
} // namespace

TCombinationsDialog::TCombinationsDialog(TDialogHost& host) : TDefinitionDialog(host, U("Kombinace"), true) {
    setObjectName("FormKombinace");
    setProperty("HelpContext", 310);
    auto* layout = new QVBoxLayout(this);

    auto* user = new QGroupBox(U("Kombinace uživatele"), this);
    auto* userLayout = new QGridLayout(user);
    mUser = List(user, "lvKombinace", {U("Název"), U("Členy")});
    mUser->setMinimumSize(300, 130);
    connect(mUser, &QTableWidget::itemSelectionChanged, this, &TCombinationsDialog::RowChosen);
    userLayout->addWidget(mUser, 0, 0, 1, 2);
    mFactors = new QTableWidget(0, 2, user);
    mFactors->setObjectName("sgSoucinitele");
    mFactors->setHorizontalHeaderLabels({U("Zatěžovací stav"), U("Součinitel")});
    mFactors->verticalHeader()->hide();
    mFactors->verticalHeader()->setDefaultSectionSize(22);
    mFactors->horizontalHeader()->setStretchLastSection(true);
    mFactors->setMinimumWidth(220);
    userLayout->addWidget(mFactors, 0, 2, 2, 1);
    userLayout->addWidget(new QLabel(U("Název:"), user), 1, 0);
    mName = new QLineEdit(user);
    mName->setObjectName("eNazev");
    userLayout->addWidget(mName, 1, 1);
    auto* buttons = new QHBoxLayout;
    connect(AddRowButton(this, buttons, "btnPridat", "Přidat"), &QPushButton::clicked, this,
            &TCombinationsDialog::btnPridatClick);
    connect(AddRowButton(this, buttons, "btnZmenit", "Změnit"), &QPushButton::clicked, this,
            &TCombinationsDialog::btnZmenitClick);
    connect(AddRowButton(this, buttons, "btnSmazat", "Smazat"), &QPushButton::clicked, this,
            &TCombinationsDialog::btnSmazatClick);
    buttons->addStretch(1);
    userLayout->addLayout(buttons, 2, 0, 1, 3);
    layout->addWidget(user);

    auto* generated = new QGroupBox(U("Kombinace podle EN 1990"), this);
    auto* genLayout = new QVBoxLayout(generated);
    auto* options = new QHBoxLayout;
    auto option = [generated, options](const char* name, const char* text, bool on) {
        auto* c = new QCheckBox(U(text), generated);
        c->setObjectName(name);
        c->setChecked(on);
        options->addWidget(c);
        return c;
    };
    mUltimate = option("chMSU", "MSÚ", true);
    mSplit = option("chRozdelit", "6.10a a 6.10b místo 6.10", false);
    mServiceability = option("chMSP", "MSP", true);
    mAccidental = option("chMimoradne", "Mimořádné", true);
    options->addStretch(1);
    auto* generate = AddRowButton(generated, options, "btnGenerovat", "Generovat");
    generate->setToolTip(U("Nahradí dříve generované kombinace; kombinace uživatele zůstanou."));
    connect(generate, &QPushButton::clicked, this, &TCombinationsDialog::btnGenerovatClick);
    genLayout->addLayout(options);
    mGenerated = List(generated, "lvGenerovane", {U("Název"), U("Druh"), U("Členy"), U("Vznik")});
    mGenerated->setMinimumSize(780, 200);
    genLayout->addWidget(mGenerated);
    mGeneratedCount = new QLabel(generated);
    mGeneratedCount->setObjectName("lPocetGenerovanych");
    genLayout->addWidget(mGeneratedCount);
    layout->addWidget(generated);

    auto* close = new QHBoxLayout;
    close->addStretch(1);
    connect(AddRowButton(this, close, "btnZavrit", "Zavřít"), &QPushButton::clicked, this, &QWidget::hide);
    layout->addLayout(close);
}

void TCombinationsDialog::ShowDialog() {
    Refresh();
    if (Selected() < 0) {
        TCombinationFields f;
        f.Name = NewCombinationName(mHost.Space());
        f.Factors.assign(mCaseNames.size(), {});
        SetFields(f);
    }
    ShowCentred();
}

// The factor rows name the cases a combination can take; their texts stay while the cases do.
void TCombinationsDialog::FillFactorCases() {
    std::vector<std::string> names;
    for (const TZatezovaciStav* c : CombinationCases(mHost.Space()))
        names.push_back(c->Name);
    if (names == mCaseNames) return;
    mCaseNames = std::move(names);
    mFactors->setRowCount(int(mCaseNames.size()));
    for (int i = 0; i < int(mCaseNames.size()); ++i) {
        auto* item = new QTableWidgetItem(Q(mCaseNames[std::size_t(i)]));
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        mFactors->setItem(i, 0, item);
        if (!mFactors->item(i, 1)) mFactors->setItem(i, 1, new QTableWidgetItem);
    }
    mFactors->resizeColumnToContents(0);
}

void TCombinationsDialog::Refresh() {
    TMKPSpace& space = mHost.Space();
    FillFactorCases();
    const int selected = Selected();
    if (Fill(mUser, mUserRows, UserCombinationRows(space), false) && selected >= 0 &&
        selected < mUser->rowCount())
        mUser->selectRow(selected);
    Fill(mGenerated, mGeneratedRows, GeneratedCombinationRows(space), true);
    mGeneratedCount->setText(U("Generovaných kombinací: %1").arg(mGeneratedRows.size()));
}

int TCombinationsDialog::Selected() const {
    const auto rows = mUser->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TCombinationsDialog::Select(int row) {
    mUser->selectRow(row);
}

TCombinationFields TCombinationsDialog::Fields() const {
    TCombinationFields f;
    f.Name = mName->text().toStdString();
    for (int i = 0; i < mFactors->rowCount(); ++i) {
        const QTableWidgetItem* item = mFactors->item(i, 1);
        f.Factors.push_back(item ? item->text().trimmed().toStdString() : std::string());
    }
    return f;
}

void TCombinationsDialog::SetFields(const TCombinationFields& f) {
    mName->setText(Q(f.Name));
    for (int i = 0; i < mFactors->rowCount(); ++i) {
        const std::string text =
            std::size_t(i) < f.Factors.size() ? f.Factors[std::size_t(i)] : std::string();
        mFactors->setItem(i, 1, new QTableWidgetItem(Q(text)));
    }
}

TGenerationOptions TCombinationsDialog::Options() const {
    TGenerationOptions o;
    o.Ultimate = mUltimate->isChecked();
    o.Split610 = mSplit->isChecked();
    o.Serviceability = mServiceability->isChecked();
    o.Accidental = mAccidental->isChecked();
    return o;
}

void TCombinationsDialog::RowChosen() {
    if (TKombinace* k = UserCombination(mHost.Space(), Selected()))
        SetFields(CombinationFieldsOf(mHost.Space(), *k));
}

void TCombinationsDialog::Edited() {
    mHost.ModelEdited();
    Refresh();
}

void TCombinationsDialog::btnPridatClick() {
    if (std::string fault = AddCombination(mHost.Space(), Fields()); !fault.empty()) {
        Dialogs().Inform(fault);
        return;
    }
    Edited();
    Select(mUser->rowCount() - 1);
}

void TCombinationsDialog::btnZmenitClick() {
    if (std::string fault = ChangeCombination(mHost.Space(), Selected(), Fields()); !fault.empty()) {
        Dialogs().Inform(fault);
        return;
    }
    Edited();
}

void TCombinationsDialog::btnSmazatClick() {
    const int row = Selected();
    if (!DeleteCombination(mHost.Space(), row)) return;
    Edited();
    if (mUser->rowCount() > 0) Select(std::min(row, mUser->rowCount() - 1));
}

void TCombinationsDialog::btnGenerovatClick() {
    GenerateCombinations(mHost.Space(), Options());
    Edited();
}

// Enter: the chosen combination takes the fields; without one a combination is added.
void TCombinationsDialog::Confirm() {
    if (Selected() >= 0)
        btnZmenitClick();
    else
        btnPridatClick();
}
