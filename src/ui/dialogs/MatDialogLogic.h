#pragma once
// What the member matrices window shows, without a window: the texts that one filling writes into
// each of its nine grids, in the order they are written. Cells a filling does not name keep what
// they held before.
#include <string>
#include <vector>

#include "base/NumberText.h"

class TPrut;

struct TGridCell {
    int Col = 0;
    int Row = 0;
    std::string Text;
};
using TGridWrites = std::vector<TGridCell>;

struct TMatrixGridWrites {
    TGridWrites T;    // sgPrT:    T[r][c] in (c, r), fixed(4, 3)
    TGridWrites TI;   // sgPrTI:   the inverse, same layout
    TGridWrites KabL; // sgPrkabL: equation numbers in row 0 and column 0, then the stiffness values
    TGridWrites KabG; // sgPrkabG: the same in the node systems
    TGridWrites MabL; // sgPrMabL: column 0
    TGridWrites MabG; // sgPrMabG: equation number and value
    TGridWrites Pab;  // sgPrPab:  node a's load vector in rows 0-2, node b's in rows 3-5
    TGridWrites Sa;   // sgPrSa:   column 1; empty when the member has no end results
    TGridWrites Sb;   // sgPrSb
};

// Fills the texts for a member: normalises its point-load positions, builds its matrices and its
// nodes' load vectors, formats them and releases them again.
TMatrixGridWrites MemberMatrixTexts(TPrut& member, char separator = DecimalSeparator());
