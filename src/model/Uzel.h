#pragma once
#include "model/ObjectPool.h"
// A node: coordinates in m (y upward), three degrees of freedom in the equation order rotation, u,
// w, its loads (owned) and, after a computation, its displacements (mrad, mm, mm).
#include <cstdint>
#include <memory>

#include "base/Types.h"
#include "model/ObjectList.h"
#include "model/Zatizeni.h"

// One degree of freedom of a node.
struct TNodeDof {
    bool Fixed = false;     // restrained by a support
    std::int32_t Code = 0;  // global equation number, 1-based
    TReal Angle = 0.0L;     // support rotation, degrees clockwise from +x
    TReal Reaction = 0.0L;  // support reaction: kN for u and w, kNm for the rotation
};

class TUzel {
public:
    KORVAN_POOLED(TUzel)
    // Node number n owns the equation numbers 3n-2 (rotation), 3n-1 (u) and 3n (w).
    TUzel(std::int32_t n, TReal x, TReal y);
    ~TUzel();
    TUzel(const TUzel&) = delete;
    TUzel& operator=(const TUzel&) = delete;

    // Appends a nodal load (A = B = C = 0, Q1 = value, Q2 = 0) and makes it current.
    TZatizeni* PridejZatizeni(std::uint8_t kind, TZatezovaciStav* loadCase, TReal value, TReal angle);
    // Destroys the current load; the last remaining load becomes current.
    void SmazZatizeni();
    // Builds / releases LoadVector (3 × 2: equation numbers, nodal load components).
    void SestavVektorZatizeni();
    void UvolniVektorZatizeni();

    // Sets the numbering: Number = n and the equation numbers of the three degrees of freedom.
    void NastavCislo(std::int32_t n);
    bool HasSupport() const { return DofU.Fixed || DofW.Fixed || DofRot.Fixed; }

    TReal X;
    TReal Y;
    TNodeDof DofU;
    TNodeDof DofW;
    TNodeDof DofRot;
    std::int32_t Number = 0;
    TZatizeni* CurrentLoad = nullptr;
    TLoadList Loads;
    TMatrix LoadVector;
    TVector Displacement; // [0] rotation (mrad), [1] u (mm), [2] w (mm)
    // The loads of the state whose results the node holds (LoadCases.h); none: every load once.
    std::shared_ptr<const TLoadFactors> LoadFactors;
};

class TNodeList : public TObjectList<TUzel> {
public:
    using TObjectList<TUzel>::TObjectList;
    // The first node of the given number, or nullptr.
    TUzel* NajdiUzel(std::int32_t number) const;
    // Numbers from list positions: Number = i + 1, codes 3i + 1, 3i + 2, 3i + 3.
    void Precisluj();
    // The first node closer than 6 pixels to the model point (x, y) at the given zoom (px per m).
    TUzel* UzelNaPozici(std::int32_t zoom, TReal x, TReal y) const;
};

// The one test of the editing commands for two points that a member between them would join with
// no length: equal, or apart only by the rounding of coordinates formed from a length and an angle
// (1e-12 of the coordinates' size, at least of 1 m). Drawing, dragging, the geometry tools and the
// panel ask it; the project reader keeps refusing equal coordinates only, and the computation
// refuses a member too short beside the others by name.
bool Coincide(TReal x1, TReal y1, TReal x2, TReal y2);
inline bool Coincide(const TUzel& a, const TUzel& b) { return Coincide(a.X, a.Y, b.X, b.Y); }
