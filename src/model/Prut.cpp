#include "model/Prut.h"
#include "model/Trig.h"

#include <cmath>
#include <utility>

namespace {
// arcsin and arccos through the two-argument arc tangent, in degrees.
TReal ArcSinDeg(TReal x) { return RadToDeg(std::atan2(x, std::sqrt(1.0L - x * x))); }
TReal ArcCosDeg(TReal x) { return RadToDeg(std::atan2(std::sqrt(1.0L - x * x), x)); }
} // namespace

TPrut::TPrut(TUzel* a, TUzel* b, TProfil* section, bool sectionTurned, std::int32_t number)
    : NodeA(a), NodeB(b), Section(section), Number(number), SectionTurned(sectionTurned) {
    Geometrie();
}

TPrut::~TPrut() {
    Release(T);
    Release(TI);
    Release(MabL);
    Release(MabG);
    Release(kabL);
    Release(kabG);
    Release(Sa);
    Release(Sb);
    Release(Results);
    CurrentLoad = nullptr;
}

// The angle is measured clockwise with y upward, hence dy = y(a) - y(b).
void TPrut::Geometrie() {
    TReal dx = NodeB->X - NodeA->X;
    TReal dy = NodeA->Y - NodeB->Y;
    TReal l = std::sqrt(dx * dx + dy * dy);
    TReal s = dy / l;
    TReal c = dx / l;
    TReal angle;
    if (dx == 0) {
        angle = ArcSinDeg(s);
    } else if (dy == 0) {
        angle = ArcCosDeg(c);
    } else {
        TReal t = RadToDeg(std::atan(dy / dx));
        if (s > 0 && c > 0)
            angle = t;
        else if (s < 0 && c > 0)
            angle = t + 360;
        else
            angle = t + 180; // c < 0, either sign of s
    }
    NastavUhel(angle);
    Length = std::sqrt(dx * dx + dy * dy);
}

void TPrut::NastavUhel(TReal angle) {
    Angle = angle;
    CosSin(DegToRad(angle), CosA, SinA);
}

void TPrut::NastavDelku(TReal length) { Length = length; }

void TPrut::NastavDeleni(std::int32_t n) { Divisions = n > 10 ? n : 10; }

TZatizeni* TPrut::PridejZatizeni(std::uint8_t kind, TZatezovaciStav* loadCase, TReal a, TReal c, TReal q1,
                                 TReal q2, TReal angle) {
    auto* load = new TZatizeni(kind, a, c, q1, q2, angle, loadCase);
    load->B = Length - (a + c);
    Loads.Add(load);
    CurrentLoad = load;
    return load;
}

void TPrut::SmazZatizeni() {
    if (!CurrentLoad) return;
    Loads.Remove(CurrentLoad);
    delete CurrentLoad;
    CurrentLoad = Loads.Last();
}

void TPrut::SmazVsechnaZatizeni() {
    while (CurrentLoad) SmazZatizeni();
}

// Intensity in kN/m: density (kg/m³) × area (m²) × g (10 m/s²) / 1000.
void TPrut::PridejVlastniTihu(TZatezovaciStav* loadCase) {
    TReal q = Section->Material->D * Section->A / 100.0L;
    PridejZatizeni(KLoadSelfWeight, loadCase, 0.0L, Length, q, q, 90.0L - Angle);
}

void TPrut::SmazVlastniTihu() {
    if (!CurrentLoad) return;
    for (TZatizeni* load : Loads) {
        if (load->Kind == KLoadSelfWeight) {
            Loads.Remove(load);
            delete load;
            CurrentLoad = Loads.Last();
            return;
        }
    }
}

void TPrut::OtocPrut() {
    std::swap(HingeA, HingeB);
    std::swap(NodeA, NodeB);
    for (TZatizeni* load : Loads) {
        std::swap(load->A, load->B);
        if (load->Kind == KLoadDistributed) std::swap(load->Q1, load->Q2);
        load->Angle += 180.0L;
    }
    Geometrie();
}

TPrut* TMemberList::NajdiPrut(std::int32_t number) const {
    for (TPrut* m : *this)
        if (m->Number == number) return m;
    return nullptr;
}

void TMemberList::Precisluj() {
    for (int i = 0; i < Count(); ++i) {
        (*this)[i]->Number = i + 1;
        (*this)[i]->Geometrie();
    }
}

TPrut* TMemberList::PrutNaPozici(std::int32_t zoom, TReal x, TReal y) const {
    for (TPrut* m : *this) {
        TReal xa = m->NodeA->X, ya = m->NodeA->Y, xb = m->NodeB->X, yb = m->NodeB->Y;
        TReal line = std::fabs(-(yb - ya) * (x - xa) + (xb - xa) * (y - ya)) /
                     std::sqrt((xb - xa) * (xb - xa) + (yb - ya) * (yb - ya));
        TReal mx = (xa + xb) / 2, my = (ya + yb) / 2;
        TReal mid = std::sqrt((x - mx) * (x - mx) + (y - my) * (y - my));
        if (line * zoom < 5 && (m->Length / 2) * zoom - 8 > mid * zoom) return m;
    }
    return nullptr;
}

KORVAN_POOL_DEFINE(TPrut)
