#pragma once
// What the solutions of several load cases on one structure can share member by member, and what
// a case need not form at all:
// - the matrices of a member that do not depend on the loads (the transformation T, the local
//   stiffness kab* and the stiffness in the node systems kabG), formed once per computation
//   instead of once per case, by the same operations as the member's own Sestav* (same bits);
// - whether any load of a node or member acts in the state it now holds (one that carries none
//   adds exact zeros to the fixed-end forces and the load vector, which can be left out);
// - a bound that proves the table along a member (Prubehy) finite without forming it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "base/Types.h"

class TMKPSpace;
class TPrut;
class TUzel;

struct TMemberMatrix {
    std::size_t Codes[6]; // the equation numbers of the six degrees of freedom
    TReal KabG[6][6];     // rows and columns 1..6 of kabG
    TReal T[6][6];
    TReal KabL[6][6]; // rows and columns 1..6 of kabL
};

// Forms the load-free matrices (T, T⁻¹, kab*, kabG) of every member in turn, one set passed from
// member to member, and hands each member to visit while they are formed; released at the end.
void ForEachMemberMatrices(TMKPSpace& space, const std::function<void(TPrut&)>& visit);

// The matrices of every member, in member order.
std::vector<TMemberMatrix> FormMemberMatrices(TMKPSpace& space);

// The same matrices without their zero entries (a member along an axis has half of them zero), for
// the products of many cases: each member's nonzero entries of kabG, T and kab* row by row, one
// member after the other, with a mask of their places. The products below take the terms of
// AddMemberTimes and LocalEndProducts with the zero entries left out, and give the same bits for
// finite displacements: every sum there starts at +0, a sum that starts at +0 never becomes -0,
// and adding a zero product to it leaves it as it is. (A displacement that is not finite is
// refused at its node before any member's results are looked at.)
class TCompactMemberMatrices {
public:
    TCompactMemberMatrices() = default;
    explicit TCompactMemberMatrices(const std::vector<TMemberMatrix>& members);
    std::size_t Count() const { return mStart.empty() ? 0 : mStart.size() - 1; }
    // Member i's share of K·u added to ku, as AddMemberTimes adds it; u(e) gives the displacement
    // of equation e, ku(e) the sum of equation e to add to.
    template <class U, class KU> void AddTimes(std::size_t i, const U& u, const KU& ku) const {
        const std::size_t* codes = mCodes.data() + 6 * i;
        const std::uint64_t mask = mMasks[3 * i];
        const TReal* v = mValues.data() + mStart[i];
        for (int r = 0; r < 6; ++r)
            if ((mask >> (6 * r)) & 63u) ku(codes[r]) += RowTimes(mask, r, v, [&](int j) { return u(codes[j]); });
    }
    void AddTimes(std::size_t i, const TVector& u, TVector& ku) const {
        AddTimes(i, [&u](std::size_t e) { return u[e]; }, [&ku](std::size_t e) -> TReal& { return ku[e]; });
    }
    // LocalEndProducts of member i.
    void LocalProducts(std::size_t i, const TReal (&d)[6], TReal* local) const;
    // The equations of member i's six degrees of freedom.
    const std::size_t* Codes(std::size_t i) const { return mCodes.data() + 6 * i; }

    // Row r of a compact matrix times x: the terms of the nonzero entries in column order, from +0.
    // Advances v past the row's entries.
    template <class X> static TReal RowTimes(std::uint64_t mask, int r, const TReal*& v, const X& x) {
        TReal sum = 0;
        for (unsigned bits = unsigned(mask >> (6 * r)) & 63u; bits != 0; bits &= bits - 1)
            sum += *v++ * x(__builtin_ctz(bits));
        return sum;
    }

private:
    std::vector<TReal> mValues;
    std::vector<std::size_t> mStart, mCodes; // mCodes: six per member
    std::vector<std::uint64_t> mMasks;       // kabG, T, kab*: bit 6·row + column
};

// Adds the member's share of K·u to ku: per row of kabG the row times u in column order, then
// added to ku at the row's equation (the sums of the equilibrium check).
template <class K> void AddMemberTimes(const K& kabG, const std::size_t (&codes)[6], const TVector& u, TVector& ku) {
    for (int i = 0; i < 6; ++i) {
        TReal sum = 0;
        for (int j = 0; j < 6; ++j) sum += kabG(i, j) * u[codes[j]];
        ku[codes[i]] += sum;
    }
}

// The end results Sa, Sb of a member from its nodes' displacements, its matrices T and kab*
// (rows and columns 1..6) and its fixed-end forces (column 1 of MabL).
void EndResultsFrom(TPrut& member, const TReal (&t)[6][6], const TReal (&kabL)[6][6], const TReal (&fixed)[6]);
// The part of them that does not depend on the loads, from the end displacements d (node a, then
// node b): local[0..5] = dl = T·d, local[6..11] = kab*·dl.
void LocalEndProducts(const TReal (&t)[6][6], const TReal (&kabL)[6][6], const TReal (&d)[6], TReal* local);
// The end results from that part and the fixed-end forces (the same values as EndResultsFrom).
void EndResultsFromLocal(TPrut& member, const TReal* local, const TReal (&fixed)[6]);

// Whether a load of the member (node) acts, with a factor other than 0, under its LoadFactors.
bool CarriesLoad(const TPrut& member);
bool CarriesLoad(const TUzel& node);

// True when the table along the member (Prubehy, from its end results Sa and its loads under its
// LoadFactors) cannot hold a value beyond the range of a double: a bound on every value of the
// table, formed from the largest end result, the loads, the length and the stiffnesses, lies far
// inside it. False says nothing (the table must be formed to know), and so for a member hinged
// at both ends, whose table starts from another rotation.
bool TableSurelyShowable(const TPrut& member);
