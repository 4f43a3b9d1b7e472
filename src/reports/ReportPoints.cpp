#include <string>

#include "base/NumberText.h"
#include "reports/ResultsReport.h"

std::vector<int> ReportedColumns(const TMatrix& results, int row) {
    std::vector<int> columns;
    if (results.size() <= static_cast<std::size_t>(row) || results[0].empty()) return columns;
    const TVector& x = results[0];
    const TVector& v = results[static_cast<std::size_t>(row)];
    const int last = static_cast<int>(x.size()) - 1;

    auto marked = [&](int i) {
        const auto k = static_cast<std::size_t>(i);
        const bool maximum = v[k - 1] < v[k] && v[k + 1] < v[k];
        const bool minimum = v[k - 1] > v[k] && v[k + 1] > v[k];
        const bool jump = x[k] == x[k - 1] || x[k] == x[k + 1];
        return maximum || minimum || jump;
    };

    // The key is kept as a pair rather than one joined text: joined, "12" at x = 3 and "1" at
    // x = 23 would both read "123" and the second point would be lost.
    bool havePrevious = false;
    std::string previousValue, previousX;
    for (int i = 0; i <= last; ++i) {
        if (i != 0 && i != last && !marked(i)) continue;
        const auto k = static_cast<std::size_t>(i);
        std::string value = FormatGeneral(v[k], 15, '.');
        std::string abscissa = FormatGeneral(x[k], 15, '.');
        if (havePrevious && value == previousValue && abscissa == previousX) continue;
        columns.push_back(i);
        havePrevious = true;
        previousValue = std::move(value);
        previousX = std::move(abscissa);
    }
    return columns;
}
