#pragma once
// The load cases dialog "Zatěžovací stavy": the list of the model's cases and the fields of one
// (name, kind, category, exclusive group, both values); adds, changes and deletes cases. Not modal;
// hidden, never destroyed. What it does to the model is in LoadCasesLogic; each change is one
// edit announced to the window.
#include <vector>

#include "ui/dialogs/DefinitionDialog.h"
#include "ui/dialogs/LoadCasesLogic.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTableWidget;

class TLoadCasesDialog : public TDefinitionDialog {
    Q_OBJECT
public:
    explicit TLoadCasesDialog(TDialogHost& host);

    void ShowDialog();
    // The list follows the model (after an edit elsewhere, an undo); the fields stay as typed.
    void Refresh();
    // The row chosen, -1 for none.
    int Selected() const;
    void Select(int row);
    TCaseFields Fields() const;
    void SetFields(const TCaseFields& fields);

public slots:
    void btnPridatClick();
    void btnZmenitClick();
    void btnSmazatClick();

protected:
    void Confirm() override;

private:
    void RowChosen();
    void KindChosen();
    void Edited();

    QTableWidget* mList = nullptr;
    QLineEdit* mName = nullptr;
    QComboBox* mKind = nullptr;
    QComboBox* mCategory = nullptr;
    QLineEdit* mGroup = nullptr;
    QCheckBox* mBoth = nullptr;
    std::vector<TCaseRow> mRows; // what the list shows
};
