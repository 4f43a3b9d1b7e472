// Fixed-end forces of member loads (local MabL, node systems MabG) and the nodal load vector.
// MabL column 1 holds, in the order rotation a, u a, w a, rotation b, u b, w b, the moments
// (clockwise) and forces (along local u and w) that the held ends exert on the member.
#include <cmath>

#include "model/LoadCases.h"
#include "model/Prut.h"
#include "model/Trig.h"
#include "model/Uzel.h"


void TPrut::UpravPolohyZatizeni() {
    for (TZatizeni* z : Loads) {
        if (z->Kind != KLoadForce && z->Kind != KLoadMoment) continue;
        z->C = 0;
        z->B = Length - z->A;
        z->Q2 = 0;
        if (z->Kind == KLoadMoment) z->Angle = 0;
    }
}

void TPrut::SestavMabL() {
    ResetMatrix(MabL, 6, 2);
    UpravPolohyZatizeni();
    const TReal l = Length;
    const TReal l2 = l * l;
    for (const TZatizeni* z : Loads) {
        // Only the loads of the member's state act, each with its factor: the self-weight
        // coefficient for self-weight (a self-weight load without a case counts once) times the
        // factor of the load's case in that state. A factor of 1 leaves the values as they are.
        TReal factor;
        if (!LoadActs(LoadFactors.get(), *z, factor) || factor == 0) continue;
        const TReal a = z->A, b = z->B, c = z->C;
        TReal ma = 0, mb = 0, va = 0, vb = 0, na = 0, nb = 0;
        switch (z->Kind) {
        case KLoadForce: {
            TReal rad = DegToRad(z->Angle);
            TReal pz = z->Q1 * SinRad(rad), px = z->Q1 * CosRad(rad);
            if (factor != 1) {
                pz *= factor;
                px *= factor;
            }
            ma = -pz * a * (b * b) / l2;
            mb = pz * (a * a) * b / l2;
            va = -pz * b / l;
            vb = -pz * a / l;
            na = -px * b / l;
            nb = -px * a / l;
            break;
        }
        case KLoadMoment: {
            TReal m = factor != 1 ? z->Q1 * factor : z->Q1;
            ma = (2 * l - 3 * b) * m * b / l2;
            mb = (2 * l - 3 * a) * m * a / l2;
            va = m / l;
            vb = -m / l;
            break;
        }
        case KLoadDistributed:
        case KLoadSelfWeight: {
            TReal rad = DegToRad(z->Angle);
            TReal s, co;
            CosSin(rad, co, s);
            TReal qz1 = z->Q1 * s, qz2 = z->Q2 * s, qx1 = z->Q1 * co, qx2 = z->Q2 * co;
            if (factor != 1) {
                qz1 *= factor;
                qz2 *= factor;
                qx1 *= factor;
                qx2 *= factor;
            }
            TReal dz = qz2 - qz1, dx = qx2 - qx1;
            ma = -(dz * c / (60 * l2) *
                       (20 * a * b * c + 30 * a * b * b + 5 * a * c * c + 20 * b * b * c + 10 * b * c * c +
                        2 * c * c * c) +
                   qz1 * c / (60 * l2) *
                       (60 * a * b * b + 60 * a * b * c + 20 * a * c * c + 30 * b * b * c + 20 * b * c * c +
                        5 * c * c * c));
            mb = dz * c / (60 * l2) *
                     (40 * a * b * c + 30 * a * a * b + 10 * a * a * c + 10 * a * c * c + 15 * b * c * c +
                      3 * c * c * c) +
                 qz1 * c / (60 * l2) *
                     (60 * a * b * c + 60 * a * a * b + 30 * a * a * c + 20 * a * c * c + 20 * b * c * c +
                      5 * c * c * c);
            va = -(dz / 2 * c * (c / 3 + b) + qz1 * c * (c / 2 + b)) / l;
            vb = -(dz / 2 * c * (2 * c / 3 + a) + qz1 * c * (c / 2 + a)) / l;
            na = -(dx / 2 * c * (c / 3 + b) + qx1 * c * (c / 2 + b)) / l;
            nb = -(dx / 2 * c * (2 * c / 3 + a) + qx1 * c * (c / 2 + a)) / l;
            break;
        }
        default:
            continue;
        }
        // A hinged end carries no moment: the rigid-end moment there is released onto the other end.
        if (!HingeA && HingeB) {
            ma = ma - mb / 2;
            mb = 0;
        } else if (HingeA && !HingeB) {
            mb = mb - ma / 2;
            ma = 0;
        } else if (HingeA && HingeB) {
            ma = 0;
            mb = 0;
        }
        MabL[0][1] += ma;
        MabL[1][1] += na;
        MabL[2][1] += va + (ma + mb) / l;
        MabL[3][1] += mb;
        MabL[4][1] += nb;
        MabL[5][1] += vb - (ma + mb) / l;
    }
}

void TPrut::SestavMabG() {
    ResetMatrix(MabG, 6, 2);
    const TReal codes[6] = {TReal(NodeA->DofRot.Code), TReal(NodeA->DofU.Code), TReal(NodeA->DofW.Code),
                            TReal(NodeB->DofRot.Code), TReal(NodeB->DofU.Code), TReal(NodeB->DofW.Code)};
    for (int i = 0; i < 6; ++i) {
        MabG[i][0] = codes[i];
        for (int k = 0; k < 6; ++k) MabG[i][1] += TI[i][k] * MabL[k][1];
    }
}

void TPrut::UvolniMabL() { Release(MabL); }
void TPrut::UvolniMabG() { Release(MabG); }

// Nodal loads in the node's support system: a force at Angle (degrees clockwise from +x) splits
// into u along the support direction and w 90° clockwise from it.
void TUzel::SestavVektorZatizeni() {
    LoadVector = NewMatrix(3, 2);
    LoadVector[0][0] = DofRot.Code;
    LoadVector[1][0] = DofU.Code;
    LoadVector[2][0] = DofW.Code;
    for (const TZatizeni* z : Loads) {
        TReal factor;
        if (!LoadActs(LoadFactors.get(), *z, factor) || factor == 0) continue;
        const TReal q = factor != 1 ? z->Q1 * factor : z->Q1;
        if (z->Kind == KLoadMoment) {
            LoadVector[0][1] += q;
        } else if (z->Kind == KLoadForce) {
            LoadVector[1][1] += q * std::cos(DegToRad(z->Angle - DofU.Angle));
            LoadVector[2][1] += q * std::sin(DegToRad(z->Angle - DofW.Angle));
        }
    }
}

void TUzel::UvolniVektorZatizeni() { Release(LoadVector); }
