#pragma once
// The combinations dialog "Kombinace": the user's combinations with their factors, which can be
// edited, and the combinations of EN 1990 generated from the cases, each with how it was formed.
// Not modal; hidden, never destroyed. What it does to the model is in CombinationsLogic; each
// change is one edit announced to the window.
#include <vector>

#include "ui/dialogs/CombinationsLogic.h"
#include "ui/dialogs/DefinitionDialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTableWidget;
struct TGenerationOptions;

class TCombinationsDialog : public TDefinitionDialog {
    Q_OBJECT
public:
    explicit TCombinationsDialog(TDialogHost& host);

    void ShowDialog();
    // The lists follow the model (after an edit elsewhere, an undo).
    void Refresh();
    int Selected() const;
    void Select(int row);
    TCombinationFields Fields() const;
    void SetFields(const TCombinationFields& fields);
    TGenerationOptions Options() const;
    QTableWidget* GeneratedList() const { return mGenerated; }

public slots:
    void btnPridatClick();
    void btnZmenitClick();
    void btnSmazatClick();
    void btnGenerovatClick();

protected:
    void Confirm() override;

private:
    void RowChosen();
    void FillFactorCases();
    void Edited();

    QTableWidget* mUser = nullptr;
    QTableWidget* mFactors = nullptr;
    QLineEdit* mName = nullptr;
    QCheckBox* mUltimate = nullptr;
    QCheckBox* mSplit = nullptr;
    QCheckBox* mServiceability = nullptr;
    QCheckBox* mAccidental = nullptr;
    QTableWidget* mGenerated = nullptr;
    QLabel* mGeneratedCount = nullptr;
    std::vector<TCombinationRow> mUserRows;
    std::vector<TCombinationRow> mGeneratedRows;
    std::vector<std::string> mCaseNames; // the rows of the factors
};
