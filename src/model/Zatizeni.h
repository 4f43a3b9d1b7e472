#pragma once
#include "model/ObjectPool.h"
// Loads and load cases. One load class serves nodal and member loads; the distances are in m,
// forces in kN, moments in kNm, intensities in kN/m, angles in degrees clockwise.
#include <cstdint>
#include <string>

#include "base/Types.h"
#include "model/ObjectList.h"

// A load case: a name and the factor applied to the loads that refer to it (only self-weight does).
class TZatezovaciStav {
public:
    TZatezovaciStav(std::string name, TReal factor) : Name(std::move(name)), Factor(factor) {}
    std::string Name;
    TReal Factor;
};

// Load kinds.
enum : std::uint8_t { KLoadMoment = 0, KLoadForce = 1, KLoadDistributed = 2, KLoadSelfWeight = 3 };

// A load. Member loads: A from node a to the load (start), C the loaded length, B from the load
// (end) to node b; Angle relative to the member axis. Nodal loads: Angle absolute from +x.
class TZatizeni {
public:
    KORVAN_POOLED(TZatizeni)
    TZatizeni(std::uint8_t kind, TReal a, TReal c, TReal q1, TReal q2, TReal angle,
              TZatezovaciStav* loadCase)
        : Kind(kind), A(a), C(c), Q1(q1), Q2(q2), Angle(angle), LoadCase(loadCase) {}
    ~TZatizeni() { LoadCase = nullptr; }

    std::uint8_t Kind;
    TReal A;
    TReal B = 0.0L;
    TReal C;
    TReal Q1;
    TReal Q2;
    TReal Angle;
    TZatezovaciStav* LoadCase; // not owned
};

class TLoadList : public TObjectList<TZatizeni> {
public:
    using TObjectList<TZatizeni>::TObjectList;
};

class TZatStavList : public TObjectList<TZatezovaciStav> {
public:
    using TObjectList<TZatezovaciStav>::TObjectList;
};
