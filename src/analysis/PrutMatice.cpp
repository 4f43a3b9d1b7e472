// Element matrices of a member: the transformation between the node systems and the member's local
// system, its inverse, and the stiffness matrices. Degrees of freedom in the order rotation a, u a,
// w a, rotation b, u b, w b; in kabL and kabG they are rows/columns 1-6 and row 0 / column 0 hold
// the equation numbers.
#include <cmath>

#include "model/Prut.h"

namespace {
void PutCodes(TMatrix& k, const TUzel* a, const TUzel* b) {
    const TReal codes[6] = {TReal(a->DofRot.Code), TReal(a->DofU.Code), TReal(a->DofW.Code),
                            TReal(b->DofRot.Code), TReal(b->DofU.Code), TReal(b->DofW.Code)};
    for (int i = 1; i <= 6; ++i) {
        k[0][i] = codes[i - 1];
        k[i][0] = codes[i - 1];
    }
}

void FillT(TMatrix& t, TReal alphaA, TReal alphaB, TReal sign) {
    t = NewMatrix(6, 6);
    TReal ca = std::cos(alphaA), sa = std::sin(alphaA), cb = std::cos(alphaB), sb = std::sin(alphaB);
    t[0][0] = 1;
    t[1][1] = ca;
    t[1][2] = sign * sa;
    t[2][1] = -sign * sa;
    t[2][2] = ca;
    t[3][3] = 1;
    t[4][4] = cb;
    t[4][5] = sign * sb;
    t[5][4] = -sign * sb;
    t[5][5] = cb;
}
} // namespace

// alpha = member angle - support rotation of the node: local = T · node-system displacements.
void TPrut::SestavT() {
    FillT(T, DegToRad(Angle - NodeA->DofU.Angle), DegToRad(Angle - NodeB->DofU.Angle), 1);
}

void TPrut::SestavTI() {
    FillT(TI, DegToRad(Angle - NodeA->DofU.Angle), DegToRad(Angle - NodeB->DofU.Angle), -1);
}

void TPrut::SestavKabL() {
    kabL = NewMatrix(7, 7);
    PutCodes(kabL, NodeA, NodeB);
    const TReal e = Section->Material->E;
    const TReal a = Section->A;
    const TReal i = SectionTurned ? Section->Iz : Section->Iy;
    const TReal l = Length;
    enum { Pa = 1, Ua = 2, Wa = 3, Pb = 4, Ub = 5, Wb = 6 };
    auto set = [&](int r, int c, TReal v) {
        kabL[r][c] = v;
        kabL[c][r] = v;
    };
    const TReal ea = e * a / l;
    set(Ua, Ua, ea);
    set(Ub, Ub, ea);
    set(Ua, Ub, -ea);
    const TReal ei = e * i;
    if (!HingeA && !HingeB) {
        set(Pa, Pa, 4 * ei / l);
        set(Pb, Pb, 4 * ei / l);
        set(Pa, Pb, 2 * ei / l);
        set(Wa, Wa, 12 * ei / (l * l * l));
        set(Wb, Wb, 12 * ei / (l * l * l));
        set(Wa, Wb, -12 * ei / (l * l * l));
        set(Pa, Wa, 6 * ei / (l * l));
        set(Pa, Wb, -6 * ei / (l * l));
        set(Pb, Wa, 6 * ei / (l * l));
        set(Pb, Wb, -6 * ei / (l * l));
    } else if (HingeA && !HingeB) {
        set(Pb, Pb, 3 * ei / l);
        set(Wa, Wa, 3 * ei / (l * l * l));
        set(Wb, Wb, 3 * ei / (l * l * l));
        set(Wa, Wb, -3 * ei / (l * l * l));
        set(Pb, Wa, 3 * ei / (l * l));
        set(Pb, Wb, -3 * ei / (l * l));
    } else if (!HingeA && HingeB) {
        set(Pa, Pa, 3 * ei / l);
        set(Wa, Wa, 3 * ei / (l * l * l));
        set(Wb, Wb, 3 * ei / (l * l * l));
        set(Wa, Wb, -3 * ei / (l * l * l));
        set(Pa, Wa, 3 * ei / (l * l));
        set(Pa, Wb, -3 * ei / (l * l));
    }
}

// kabG = Tᵀ · kab* · T, accumulated in the order W = kab*·T, then TI·W.
void TPrut::SestavKabG() {
    kabG = NewMatrix(7, 7);
    PutCodes(kabG, NodeA, NodeB);
    TMatrix w = NewMatrix(6, 6);
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j)
            for (int k = 1; k <= 6; ++k) w[i - 1][j - 1] += kabL[i][k] * T[k - 1][j - 1];
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j)
            for (int k = 1; k <= 6; ++k) kabG[i][j] += TI[i - 1][k - 1] * w[k - 1][j - 1];
}

void TPrut::SestavMatice() {
    SestavT();
    SestavTI();
    SestavKabL();
    SestavKabG();
    SestavMabL();
    SestavMabG();
}

void TPrut::UvolniT() { Release(T); }
void TPrut::UvolniTI() { Release(TI); }
void TPrut::UvolniKabL() { Release(kabL); }
void TPrut::UvolniKabG() { Release(kabG); }
void TPrut::UvolniMabL() { Release(MabL); }
void TPrut::UvolniMabG() { Release(MabG); }

void TPrut::UvolniMatice() {
    UvolniT();
    UvolniTI();
    UvolniKabL();
    UvolniKabG();
    UvolniMabL();
    UvolniMabG();
}
