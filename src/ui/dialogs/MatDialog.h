#pragma once
// The member matrices window TForm4 ("Matice"): nine read-only string grids with the current
// member's transformation matrices, stiffness matrices, fixed-end force vectors, its nodes' load
// vectors and its end results. It shows a snapshot: it changes only when it is filled again, and
// grids a filling does not write (the end results of a member without them) keep their texts.
#include <QWidget>

#include "ui/dialogs/MatDialogLogic.h"

class QTableWidget;
class TPrut;

class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    // Fills the grids for the member and shows the window centred on the desktop. The values are
    // always in the model's units; in the imperial system (imperial true) a note below the grids
    // says so.
    void Fill(TPrut& member, char separator = DecimalSeparator(), bool imperial = false);
    // The grid by its name (sgPrT, sgPrTI, sgPrkabL, sgPrkabG, sgPrMabL, sgPrMabG, sgPrPab, sgPrSa,
    // sgPrSb) and the text of one of its cells.
    QTableWidget* Grid(const QString& name) const;
    QString Cell(const QString& grid, int col, int row) const;

public slots:
    void SpeedButton1Click(); // hide

protected:
    void keyPressEvent(class QKeyEvent* event) override;
    void closeEvent(class QCloseEvent* event) override;

private:
    QTableWidget* mT = nullptr;
    QTableWidget* mTI = nullptr;
    QTableWidget* mKabL = nullptr;
    QTableWidget* mKabG = nullptr;
    QTableWidget* mMabL = nullptr;
    QTableWidget* mMabG = nullptr;
    QTableWidget* mPab = nullptr;
    QTableWidget* mSa = nullptr;
    QTableWidget* mSb = nullptr;
    class QLabel* mUnits = nullptr;
};
