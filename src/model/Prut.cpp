#include "model/Prut.h"
#include "model/Trig.h"

#include <cmath>
#include <utility>

namespace {
// arcsin and arccos through the two-argument arc tangent, in degrees.
TReal ArcSinDeg(TReal x) { return RadToDeg(std::atan2(x, std::sqrt(1.0L - x * x))); }
TReal ArcCosDeg(TReal x) { return RadToDeg(std::atan2(std::sqrt(1.0L - x * x), x)); }

// The angle is measured clockwise with y upward, hence dy = y(a) - y(b).
TReal DirectionAngle(TReal dx, TReal dy) {
    TReal l = std::sqrt(dx * dx + dy * dy);
    TReal s = dy / l;
    TReal c = dx / l;
    if (dx == 0) return ArcSinDeg(s);
    if (dy == 0) return ArcCosDeg(c);
    TReal t = RadToDeg(std::atan(dy / dx));
    if (s > 0 && c > 0) return t;
    if (s < 0 && c > 0) return t + 360;
    return t + 180; // c < 0, either sign of s
}
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

// A frame repeats a few member directions and lengths (its bays and storeys), so the last few are
// remembered with what they gave: the same values, formed once. (The sign of a zero difference
// changes nothing here, and a NaN never matches.)
void TPrut::Geometrie() {
    struct TSeen {
        TReal Dx, Dy, Angle, Length, Cos, Sin;
    };
    constexpr int KSeen = 4;
    thread_local TSeen seen[KSeen];
    thread_local int used = 0, next = 0;
    const TReal dx = NodeB->X - NodeA->X;
    const TReal dy = NodeA->Y - NodeB->Y;
    for (int i = 0; i < used; ++i)
        if (seen[i].Dx == dx && seen[i].Dy == dy) {
            Angle = seen[i].Angle;
            CosA = seen[i].Cos;
            SinA = seen[i].Sin;
            Length = seen[i].Length;
            return;
        }
    NastavUhel(DirectionAngle(dx, dy));
    Length = std::sqrt(dx * dx + dy * dy);
    seen[next] = {dx, dy, Angle, Length, CosA, SinA};
    next = (next + 1) % KSeen;
    if (used < KSeen) ++used;
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
TReal TPrut::IntenzitaVlastniTihy() const { return Section->Material->D * Section->A / 100.0L; }

void TPrut::PridejVlastniTihu(TZatezovaciStav* loadCase) {
    TReal q = IntenzitaVlastniTihy();
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
