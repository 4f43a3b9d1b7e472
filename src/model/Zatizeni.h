#pragma once
#include "model/ObjectPool.h"
// Loads and load cases. One load class serves nodal and member loads; the distances are in m,
// forces in kN, moments in kNm, intensities in kN/m, angles in degrees clockwise.
#include <cstdint>
#include <string>

#include "base/Types.h"
#include "model/ObjectList.h"

// What kind of action a load case is.
enum class TCaseKind : std::uint8_t { Permanent, Variable, Accidental };

// The category of a variable case, which gives its combination factors psi0, psi1 and psi2
// (LoadCases.h): imposed loads of categories A to H, snow (three climates), wind, temperature.
enum class TCaseCategory : std::uint8_t {
    None,
    A, // domestic, residential
    B, // office
    C, // congregation
    D, // shopping
    E, // storage
    F, // traffic, vehicle weight up to 30 kN
    G, // traffic, vehicle weight 30 to 160 kN
    H, // roofs
    SnowNordic, // snow: Finland, Iceland, Norway, Sweden
    SnowHigh,   // snow: other states, sites above 1000 m
    SnowLow,    // snow: other states, sites up to 1000 m
    Wind,
    Temperature
};

// A load case: a name and the factor applied to its self-weight loads (the self-weight
// coefficient of the "Weight" case; no other load uses it), its kind, the category of a variable
// case and the exclusive group it belongs to: cases of one group never act together.
class TZatezovaciStav {
public:
    TZatezovaciStav(std::string name, TReal factor) : Name(std::move(name)), Factor(factor) {}
    TZatezovaciStav(std::string name, TCaseKind kind, TCaseCategory category = TCaseCategory::None,
                    std::string group = {})
        : Name(std::move(name)), Factor(1.0L), Kind(kind), Category(category), Group(std::move(group)) {}
    std::string Name;
    TReal Factor;
    TCaseKind Kind = TCaseKind::Permanent;
    TCaseCategory Category = TCaseCategory::None;
    std::string Group; // empty: no exclusive group
    // A permanent case that may also act favourably: the generated ultimate combinations take it
    // with both partial factors, not only the unfavourable one.
    bool BothValues = false;
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

// The loads of one state of results and their factors (LoadCases.h).
class TLoadFactors;

class TZatStavList : public TObjectList<TZatezovaciStav> {
public:
    using TObjectList<TZatezovaciStav>::TObjectList;
};
