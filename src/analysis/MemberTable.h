#pragma once
// The results table along a member as every reader shows it (result diagrams, deformed shape,
// results report, the equilibrium check), and end results read from a member's other end.
#include <vector>

#include "base/Types.h"

class TPrut;

// End results (Sa or Sb) of a member seen from its other end: the local axes x and z change
// sign, so do the forces and displacements along them; moments and rotations (clockwise) keep
// theirs.
TVector ReversedEndResults(const TVector& s);

// While it lives, a member whose end results were formed on it turned round (ResultsTurned) is
// the member the computation had: turned round, its point loads adjusted as the fixed-end forces
// leave them, its end results those of the turned member. Any other member is left alone. The
// destructor puts back everything this changed, bit for bit.
class TMemberAsComputed {
public:
    explicit TMemberAsComputed(TPrut& member);
    ~TMemberAsComputed();
    TMemberAsComputed(const TMemberAsComputed&) = delete;
    TMemberAsComputed& operator=(const TMemberAsComputed&) = delete;
    bool Turned() const { return mTurned; }

private:
    struct TLoad {
        TReal A, B, C, Q1, Q2, Angle;
    };
    TPrut& mMember;
    bool mTurned;
    std::vector<TLoad> mLoads;
    TReal mAngle = 0, mCosA = 0, mSinA = 0, mLength = 0;
    TVector mSa, mSb;
};

// Builds member.Results (released by UvolniPrubehy). A member whose end results were formed on it
// turned round gets the table of the turned member (TMemberAsComputed) read from its own end a:
// the station x' of the turned member becomes L − x' and the columns run the other way; N, T and
// the rotation keep their sign, M (its tension side is measured along local z), u and w change
// it.
// extraStation: one more station at that distance from node a (see TPrut::Prubehy).
void SestavPrubehy(TPrut& member, const TReal* extraStation = nullptr);

// The values at distance x from node a (kept on the member) as the table along the member gives
// them (rows x, M, N, T, rotation, u, w): at a station of the table its column, elsewhere the
// column of a table built with one more station at x. Where the table jumps at x (a point load) the column on the side of node
// a is read. member.Results is left as it was. False for a member without results or a table
// that cannot be formed.
bool HodnotyVMiste(TPrut& member, TReal x, TVector& values);
