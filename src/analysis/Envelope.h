#pragma once
// The envelope of a set of combinations: for every member and every station along it the largest
// and smallest M, N, T, u and w, each with the combination that gives it; for every node the
// extremes of its three displacements and three reactions.
//
// Every combination's table along a member is formed with the loads of all the envelope's
// combinations present (those not in the combination at the factor 0), so that all the tables
// of a member have the same stations.
#include <array>
#include <vector>

#include "base/Types.h"

class TKombinace;
class TMKPSpace;

// The extremes of one value over the combinations; MaxBy and MinBy are positions in
// TObalka::Combinations (-1 before any value).
struct TExtreme {
    TReal Max = 0, Min = 0;
    int MaxBy = -1, MinBy = -1;
    // Takes the value of combination `by`; a tie keeps the earlier combination.
    void Take(TReal v, int by);
};

class TObalka {
public:
    // The quantities along a member, in the order of their rows of the results table: M (1),
    // N (2), T (3), u (5), w (6).
    static constexpr int KQuantities = 5;
    static constexpr std::array<int, KQuantities> KRows{1, 2, 3, 5, 6};

    // A bending moment that passes the envelope at both stations of a step: the largest (or
    // smallest) M of a combination at a point of zero shear inside the step, where the envelope
    // of that side is its value (any combination that comes higher there has a peak of its own
    // in the step). One per step and side at most, in the order of the steps.
    struct TPeak {
        std::size_t Step = 0; // between stations Step and Step + 1
        bool Largest = true;  // a maximum of M (else a minimum)
        TReal X = 0;          // from node a
        TReal Value = 0;
        int By = -1; // position in Combinations
    };
    struct TMemberEnvelope {
        std::vector<TReal> X; // stations; empty for a member without results
        std::vector<std::array<TExtreme, KQuantities>> Values; // per station
        std::vector<TPeak> Peaks; // moments between stations beyond both stations' extremes
    };
    struct TNodeEnvelope {
        std::array<TExtreme, 3> Displacement; // rotation, u, w
        std::array<TExtreme, 3> Reaction;     // rotation, u, w (restrained degrees of freedom only)
    };

    std::vector<const TKombinace*> Combinations;
    std::vector<TMemberEnvelope> Members; // in member order
    std::vector<TNodeEnvelope> Nodes;     // in node order

    // The maxima (max) or minima of member i as a results table (rows x, M, N, T, rotation (0),
    // u, w, spare), for the drawing; false for a member without results.
    bool Table(int member, bool max, TMatrix& table) const;
};

// The extreme of M inside the step from station j to j + 1 of a results table: along a step M is
// a cubic with dM/dx = -T (the stations include every load's start and end), so the values and
// shears at both stations give it exactly. Fills `out` with the extremes strictly inside the step
// (none for a step of no length, at most a maximum and a minimum) and returns their number.
struct TMomentExtreme {
    TReal X = 0;     // from node a
    TReal Value = 0;
    bool Largest = true;
};
int ExtremyMeziStanicemi(const TMatrix& table, std::size_t j, std::array<TMomentExtreme, 2>& out);

// Forms the envelope from the results of the cases the model holds (each combination is shown in
// turn); afterwards the model shows what it showed before. Needs computed results.
TObalka SestavObalku(TMKPSpace& space, const std::vector<const TKombinace*>& combinations);

// The extremes at distance x from node a of member i over the envelope's combinations: each
// combination's values there as HodnotyVMiste gives them for the member showing that combination
// (with the loads of all the envelope's combinations present, as in SestavObalku), so that at a
// station they are the envelope's own. The member is left showing what it showed. False for a
// member without results.
bool ObalkaVMiste(TMKPSpace& space, const TObalka& envelope, int member, TReal x,
                  std::array<TExtreme, TObalka::KQuantities>& out);
