// The choice of listed points works on a results table alone, so these tables are written out
// directly: row 0 the abscissae, row 1 the quantity under test.
#include <gtest/gtest.h>

#include "reports/ResultsReport.h"

namespace {
TMatrix Table(const TVector& x, const TVector& v) {
    TMatrix t = NewMatrix(8, x.size());
    t[0] = x;
    t[1] = v;
    return t;
}
} // namespace

TEST(ReportedColumns, CharacteristicPointsTable) {
    struct Row {
        const char* what;
        TVector x, v;
        std::vector<int> expected;
    } rows[] = {
        {"constant: first and last", {0, 1, 2, 3}, {5, 5, 5, 5}, {0, 3}},
        {"monotonic: no inner point", {0, 1, 2, 3}, {0, 1, 2, 3}, {0, 3}},
        {"strict maximum", {0, 1, 2, 3, 4}, {0, 3, 4, 3, 0}, {0, 2, 4}},
        {"strict minimum", {0, 1, 2, 3, 4}, {0, -3, -4, -3, 0}, {0, 2, 4}},
        {"plateau is no extreme", {0, 1, 2, 3, 4}, {0, 4, 4, 4, 0}, {0, 4}},
        {"plateau edge is no extreme", {0, 1, 2, 3}, {0, 4, 4, 0}, {0, 3}},
        {"moment at a point force: one line", {0, 1, 2, 2, 3, 4}, {0, 2, 4, 4, 2, 0}, {0, 2, 5}},
        {"shear at a point force: both sides", {0, 1, 2, 2, 3, 4}, {4, 4, 4, -4, -4, -4}, {0, 2, 3, 5}},
        {"jump at the first step", {0, 0, 1, 2}, {1, 2, 2, 2}, {0, 1, 3}},
        {"jump at the last step", {0, 1, 2, 2}, {1, 1, 1, 5}, {0, 2, 3}},
        {"single point listed once", {0}, {7}, {0}},
        {"empty table", {}, {}, {}},
        {"two equal points at one abscissa", {1, 1}, {3, 3}, {0}},
        // Joined into one text both keys would read "123"; the second point must stay.
        {"keys that join alike", {0, 3, 10, 23, 30}, {0, 12, 5, 1, 40}, {0, 1, 3, 4}},
        {"same value at a new abscissa", {0, 1, 2, 3, 4}, {0, 2, 1, 2, 0}, {0, 1, 2, 3, 4}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ReportedColumns(Table(r.x, r.v), 1), r.expected) << r.what;
}

TEST(ReportedColumns, KeysCompareFifteenDigitTexts) {
    // Values equal in 15 significant digits count as a repetition even if their bits differ.
    const TMatrix t = Table({0, 2, 2, 4}, {0, 8.0L, 8.0L + 1e-17L, 0});
    EXPECT_EQ(ReportedColumns(t, 1), (std::vector<int>{0, 1, 3}));
    // Each quantity is marked on its own: row 2 is constant in the same table.
    TMatrix u = t;
    u[2] = {3, 3, 3, 3};
    EXPECT_EQ(ReportedColumns(u, 2), (std::vector<int>{0, 1, 3}));
    // A row the table does not have lists nothing.
    EXPECT_TRUE(ReportedColumns(TMatrix(2, TVector{0, 1}), 6).empty());
}
