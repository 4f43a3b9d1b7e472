#pragma once
// Checks of a computation that stand beside it: where a refused structure moves (the node and the
// direction of the failing equation) and how well a solution satisfies equilibrium. Both work
// from the public model data only (equation numbers, member matrices, loads, displacements and
// reactions), never from the solver's own arrays.
#include <string>

#include "analysis/ProfileMatrix.h"
#include "base/Types.h"

class TMKPSpace;
class TPrut;

// The place of a refusal: a degree of freedom by its node (1-based number) and direction, a
// member (or one of its loads), or a structure without support.
enum class TDofKind { Rotation, U, W };
struct TDofPlace {
    int Node = 0; // 0: no node
    TDofKind Kind = TDofKind::Rotation;
    int Member = 0; // the member at fault (1-based number); 0: none
    int Load = 0;   // with Member: its load at fault (1-based position in its list)
    TUnsupported Unsupported = TUnsupported::No; // Part: the part at Node has no support
    bool Empty() const { return Node <= 0 && Member <= 0 && Unsupported == TUnsupported::No; }
    bool operator==(const TDofPlace&) const = default;
};

// Node n owns the equations 3n-2 (rotation), 3n-1 (u) and 3n (w). Equation 0 or below: no place.
TDofPlace MistoRovnice(int equation);
// The place a refused computation names: its member and load, else its equation; a structure
// without support names no degree of freedom, a part without support names its node.
TDofPlace MistoOdmitnuti(const TSolveStatus& status);
// "Uzel 3: posun u", "Uzel 3: posun w", "Uzel 3: pootočení", "Prut 4", "Prut 4: zatížení 2",
// "Konstrukce nemá žádnou podporu.", "Uzel 3: část konstrukce bez podpory"; empty without a place.
std::string PopisMista(const TDofPlace& place);

// Whether the part of the structure that holds node (1-based; the nodes joined to it by members,
// directly or through others) has a support: Whole when no degree of freedom of the model is
// restrained, Part when none of that part is, No otherwise (also for node 0).
TUnsupported NepodeprenaCast(const TMKPSpace& space, int node);

// A member shorter than KShortMemberRatio times the longest one: its stiffness (as 1/length³)
// then outweighs the others' beyond what the 80-bit elimination resolves.
constexpr double KShortMemberRatio = 1e-5;
// The member to blame for equations that could not be solved: of the members shorter than
// KShortMemberRatio times the longest, the shortest one ending at node, else the shortest one;
// nullptr when there is none.
const TPrut* NajdiKratkyPrut(const TMKPSpace& space, int node);
// "Prut 4 je příliš krátký (…) …": the refusal's text for such a member.
std::string PopisKratkehoPrutu(const TMKPSpace& space, const TPrut& member);

// Equilibrium of a computed model. The residual vector is r = K·u − f + R over every equation,
// with K assembled from the members' stiffness matrices in the node systems, u the stored node
// displacements, f the nodal loads minus the members' fixed-end forces and R the stored support
// reactions (zero where nothing is restrained). The sums are those of the loads and the support
// forces in global x (right), y (up) and clockwise moments about the origin.
struct TEquilibrium {
    TReal SumFx = 0;
    TReal SumFy = 0;
    TReal SumM = 0;
    // The largest single force (kN) and moment (kNm, about the origin) among loads and support
    // forces, the denominators of Relative.
    TReal ForceScale = 0;
    TReal MomentScale = 0;
    // max(|ΣFx|, |ΣFy|) / ForceScale and |ΣM| / MomentScale, the larger one.
    TReal Relative = 0;
    TReal ResidualNorm = 0; // ‖K·u − f + R‖
    TReal LoadNorm = 0;     // ‖f‖
    TReal Residual = 0;     // ResidualNorm / LoadNorm (ResidualNorm itself when there is no load)
    // How far the tables along the members miss their end results: at both ends of every member
    // with end results, the table's M, N, T, u, w (and the rotation at an end without a hinge)
    // against the end results there, relative to the largest force (|M|/L for moments) and the
    // largest displacement (|rotation|·L for rotations) along that member; the largest of these,
    // and the member that gives it (0: none). A right table meets its ends up to rounding.
    TReal Stations = 0;
    int StationsMember = 0;
};

// Above this, the tables along the members do not fit their end results.
constexpr TReal KStationsLimit = 1e-9L;

// False when the model holds no complete results (no member, or a node without displacements).
// Builds and releases every member's matrices and results table.
bool KontrolaRovnovahy(TMKPSpace& space, TEquilibrium& out);
