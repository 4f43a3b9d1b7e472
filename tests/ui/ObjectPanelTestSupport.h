#pragma once
// Shared pieces of the object panel tests: a host that counts what the panel asks of the main
// window, a small model, and a guard for the program's decimal separator.
#include <QChar>
#include <vector>

#include "base/NumberText.h"
#include "model/MKPSpace.h"
#include "ui/panel/PanelHost.h"

class TFakeHost : public TPanelHost {
public:
    TMKPSpace& Space() override { return Model; }
    void RepaintCanvas() override { ++Repaints; }
    void ModelEdited() override { ++Edits; }
    void SelectionChanged() override { ++SelectionChanges; }
    void KeyCommand(QChar key) override { Keys.push_back(key); }

    TMKPSpace Model;
    int Repaints = 0;
    int Edits = 0;
    int SelectionChanges = 0;
    std::vector<QChar> Keys;
};

class TSeparatorGuard {
public:
    explicit TSeparatorGuard(char separator) : mPrevious(DecimalSeparator()) {
        SetDecimalSeparator(separator);
    }
    ~TSeparatorGuard() { SetDecimalSeparator(mPrevious); }

private:
    char mPrevious;
};

// Steel S235 and two sections; nodes 1 (0, 0), 2 (3, 4), 3 (6, 4), 4 (3, 4) (at node 2's point);
// members 1 (1-2, hinge at a) and 2 (2-3), member 1 current.
struct TSmallModel {
    explicit TSmallModel(TMKPSpace& s) : Space(s) {
        Steel = s.PridejMaterial("S235", 210000.0L, 7850.0L);
        Wood = s.PridejMaterial("C24", 11000.0L, 420.0L);
        Ipe = s.PridejProfil("IPE 200", Steel, 0.00284L, 1.943e-5L, 1.42e-6L);
        Heb = s.PridejProfil("HEB 200", Steel, 0.00780L, 5.696e-5L, 2.003e-5L);
        s.PridejProfil("Unused", Wood, 0.01L, 1e-5L, 1e-5L);
        N1 = s.PridejUzel(1, 0.0L, 0.0L);
        N2 = s.PridejUzel(2, 3.0L, 4.0L);
        N3 = s.PridejUzel(3, 6.0L, 4.0L);
        N4 = s.PridejUzel(4, 3.0L, 4.0L);
        M1 = s.PridejPrut(N1, N2, Ipe, false, 1, true, false);
        M2 = s.PridejPrut(N2, N3, Heb, false, 2, false, false);
        s.CurrentMember = M1;
    }
    TMKPSpace& Space;
    TMaterial* Steel;
    TMaterial* Wood;
    TProfil* Ipe;
    TProfil* Heb;
    TUzel *N1, *N2, *N3, *N4;
    TPrut *M1, *M2;
};

// True once the number formats give the exact texts (the exponent form with a signed
// two-digit exponent and fixed-2 rounding to three significant digits).
inline bool ExactNumberFormats() {
    return FormatExponent(210000.0L, 3, 2, '.') == "2.10E+05" && FormatFixed(12.345L, 3, 2, '.') == "12.30";
}
