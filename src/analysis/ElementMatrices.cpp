// Member element matrices: the transformation between the node systems and the member's local
// system, the local stiffness with its four end-connection variants, and the stiffness in the
// node systems. Degrees of freedom in every member matrix: rotation a, u a, w a, rotation b, u b,
// w b; in kabL and kabG they are rows/columns 1-6 and row 0 / column 0 hold the equation numbers.
#include <cmath>

#include "model/Prut.h"
#include "model/Trig.h"

namespace {
// Row 0 and column 0 of kabL and kabG: the equation numbers of the six degrees of freedom.
void WriteCodes(TMatrix& k, const TUzel* a, const TUzel* b) {
    const TReal codes[6] = {TReal(a->DofRot.Code), TReal(a->DofU.Code), TReal(a->DofW.Code),
                            TReal(b->DofRot.Code), TReal(b->DofU.Code), TReal(b->DofW.Code)};
    for (int i = 0; i < 6; ++i) {
        k[0][i + 1] = codes[i];
        k[i + 1][0] = codes[i];
    }
}

// T and TI differ only in the signs of the sine terms.
void FillTransformation(TMatrix& m, const TPrut& p, TReal sign) {
    TReal alphaA = DegToRad(p.Angle - p.NodeA->DofU.Angle);
    TReal alphaB = DegToRad(p.Angle - p.NodeB->DofU.Angle);
    TReal ca, sa, cb, sb;
    CosSin(alphaA, ca, sa);
    CosSin(alphaB, cb, sb);
    m[0][0] = 1;
    m[1][1] = ca;
    m[1][2] = sign * sa;
    m[2][1] = -sign * sa;
    m[2][2] = ca;
    m[3][3] = 1;
    m[4][4] = cb;
    m[4][5] = sign * sb;
    m[5][4] = -sign * sb;
    m[5][5] = cb;
}
} // namespace

void TPrut::SestavT() {
    ResetMatrix(T, 6, 6);
    FillTransformation(T, *this, 1);
}

void TPrut::SestavTI() {
    ResetMatrix(TI, 6, 6);
    FillTransformation(TI, *this, -1);
}

void TPrut::SestavKabL() {
    ResetMatrix(kabL, 7, 7);
    WriteCodes(kabL, NodeA, NodeB);
    TReal e = Section->Material->E;
    TReal a = Section->A;
    TReal i = SectionTurned ? Section->Iz : Section->Iy;
    TReal l = Length;
    enum { PhiA = 1, UA = 2, WA = 3, PhiB = 4, UB = 5, WB = 6 };
    auto put = [this](int r, int c, TReal v) {
        kabL[r][c] = v;
        kabL[c][r] = v;
    };
    TReal ea = e * a / l;
    put(UA, UA, ea);
    put(UB, UB, ea);
    put(UA, UB, -ea);

    TReal ei = e * i;
    if (!HingeA && !HingeB) {
        put(PhiA, PhiA, 4 * ei / l);
        put(PhiB, PhiB, 4 * ei / l);
        put(PhiA, PhiB, 2 * ei / l);
        put(WA, WA, 12 * ei / (l * l * l));
        put(WB, WB, 12 * ei / (l * l * l));
        put(WA, WB, -12 * ei / (l * l * l));
        put(PhiA, WA, 6 * ei / (l * l));
        put(PhiA, WB, -6 * ei / (l * l));
        put(PhiB, WA, 6 * ei / (l * l));
        put(PhiB, WB, -6 * ei / (l * l));
    } else if (HingeA && !HingeB) {
        put(PhiB, PhiB, 3 * ei / l);
        put(WA, WA, 3 * ei / (l * l * l));
        put(WB, WB, 3 * ei / (l * l * l));
        put(WA, WB, -3 * ei / (l * l * l));
        put(PhiB, WA, 3 * ei / (l * l));
        put(PhiB, WB, -3 * ei / (l * l));
    } else if (!HingeA && HingeB) {
        put(PhiA, PhiA, 3 * ei / l);
        put(WA, WA, 3 * ei / (l * l * l));
        put(WB, WB, 3 * ei / (l * l * l));
        put(WA, WB, -3 * ei / (l * l * l));
        put(PhiA, WA, 3 * ei / (l * l));
        put(PhiA, WB, -3 * ei / (l * l));
    }
    // Hinges at both ends: a truss bar, only the axial terms.
}

// kabG = TI · kab* · T, accumulated term by term in the index order i, j, k.
void TPrut::SestavKabG() {
    ResetMatrix(kabG, 7, 7);
    WriteCodes(kabG, NodeA, NodeB);
    TReal w[6][6] = {};
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

void TPrut::UvolniMatice() {
    UvolniT();
    UvolniTI();
    UvolniKabL();
    UvolniKabG();
    UvolniMabL();
    UvolniMabG();
}

void TPrut::PredejMatice(TPrut& to) {
    for (TMatrix TPrut::*m : {&TPrut::T, &TPrut::TI, &TPrut::kabL, &TPrut::kabG, &TPrut::MabL, &TPrut::MabG}) {
        (to.*m).swap(this->*m);
        Release(this->*m);
    }
}

void TPrut::UvolniT() { Release(T); }
void TPrut::UvolniTI() { Release(TI); }
void TPrut::UvolniKabL() { Release(kabL); }
void TPrut::UvolniKabG() { Release(kabG); }
