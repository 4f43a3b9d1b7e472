#include "ui/dialogs/MatDialogLogic.h"

#include <cmath>

#include "model/Prut.h"
#include "model/Uzel.h"

namespace {
std::string Integer(TReal v) {
    return std::to_string(std::llround(v));
}

// A 6 x 6 matrix into columns and rows 0-5.
void Square6(TGridWrites& out, const TMatrix& m, char sep) {
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 6; ++c)
            out.push_back({c, r, FormatFixed(m[std::size_t(r)][std::size_t(c)], 4, 3, sep)});
}

// A 7 x 7 stiffness matrix whose row 0 and column 0 hold the equation numbers.
void Stiffness(TGridWrites& out, const TMatrix& k, char sep) {
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 7; ++c) {
            const TReal v = k[std::size_t(r)][std::size_t(c)];
            out.push_back({c, r, r == 0 || c == 0 ? Integer(v) : FormatFixed(v, 6, 2, sep)});
        }
    out.push_back({0, 0, ""});
}

void EndResults(TGridWrites& out, const TVector& s, char sep) {
    for (int r = 0; r < 6; ++r) {
        const TReal v = s[std::size_t(r)];
        out.push_back({1, r, r < 3 ? FormatFixed(v, 12, 3, sep) : FormatExponent(v, 3, 1, sep)});
    }
}
} // namespace

TMatrixGridWrites MemberMatrixTexts(TPrut& member, char sep) {
    TMatrixGridWrites w;
    member.UpravPolohyZatizeni();
    member.SestavT();
    member.SestavTI();
    Square6(w.T, member.T, sep);
    Square6(w.TI, member.TI, sep);
    member.SestavKabL();
    Stiffness(w.KabL, member.kabL, sep);
    member.SestavKabG();
    Stiffness(w.KabG, member.kabG, sep);
    member.SestavMabL();
    for (int r = 0; r < 6; ++r) w.MabL.push_back({0, r, FormatFixed(member.MabL[std::size_t(r)][1], 12, 3, sep)});
    member.SestavMabG();
    for (int r = 0; r < 6; ++r) {
        w.MabG.push_back({0, r, Integer(member.MabG[std::size_t(r)][0])});
        w.MabG.push_back({1, r, FormatFixed(member.MabG[std::size_t(r)][1], 12, 3, sep)});
    }
    member.NodeA->SestavVektorZatizeni();
    member.NodeB->SestavVektorZatizeni();
    for (int r = 0; r < 6; ++r) {
        const TMatrix& p = (r < 3 ? member.NodeA : member.NodeB)->LoadVector;
        w.Pab.push_back({0, r, Integer(p[std::size_t(r % 3)][0])});
        w.Pab.push_back({1, r, FormatFixed(p[std::size_t(r % 3)][1], 12, 3, sep)});
    }
    if (member.HasResults()) {
        EndResults(w.Sa, member.Sa, sep);
        EndResults(w.Sb, member.Sb, sep);
    }
    member.UvolniT();
    member.UvolniTI();
    member.UvolniKabL();
    member.UvolniKabG();
    member.UvolniMabL();
    member.UvolniMabG();
    member.NodeA->UvolniVektorZatizeni();
    member.NodeB->UvolniVektorZatizeni();
    return w;
}
