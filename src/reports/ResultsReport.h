#pragma once
// The results report: support reactions of every restrained node and, for every member with
// results, M, N, T, u and w at the member's characteristic points, in the display unit system.
#include <vector>

#include "base/NumberText.h"
#include "model/MKPSpace.h"
#include "reports/StyledDocument.h"

// Columns of a member's results table (rows: 0 x, 1 M, 2 N, 3 T, 4 rotation, 5 u, 6 w) that the
// report lists for the quantity in `row`: the first and the last column and every interior column
// that is a strict local extreme of the quantity or belongs to a jump (its abscissa equals a
// neighbour's), leaving out a candidate whose value and abscissa both repeat those of the
// previous candidate exactly (as 15-digit general texts).
std::vector<int> ReportedColumns(const TMatrix& results, int row);

// Clears the document and writes the report of the results the model holds now (no computation
// is started); caption "Výsledky výpočtu". Builds and releases each member's results table.
void BuildResultsReport(TMKPSpace& space, TStyledDocument& doc, char separator = DecimalSeparator());
