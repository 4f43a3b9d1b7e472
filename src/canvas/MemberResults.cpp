#include "canvas/MemberResults.h"

#include "analysis/MemberTable.h"
#include "model/Prut.h"

// The table must hold the rows the drawing reads (x, M, N, T, rotation, u, w), each with one
// value per station.
bool ComputeMemberResults(TPrut& member) {
    SestavPrubehy(member);
    const TMatrix& r = member.Results;
    if (r.size() < 7 || r[0].empty()) return false;
    for (std::size_t row = 1; row < 7; ++row)
        if (r[row].size() != r[0].size()) return false;
    return true;
}

void ReleaseMemberResults(TPrut& member) {
    member.UvolniPrubehy();
}
