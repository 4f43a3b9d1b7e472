#pragma once
// What a computation needs from a model that the editing commands guarantee but a project file
// need not: members between listed nodes with a section and a material, and nodes numbered by
// their list position.
#include <string>

class TMKPSpace;

// Empty when the model can be computed; otherwise a Czech text naming the first fault.
std::string NajdiVaduModelu(const TMKPSpace& space);

// Empty when every value the computation uses is a number it can work with; otherwise a Czech
// text naming the first section, material, node or member at fault. A modulus, an area or the
// second moment a member bends about must be positive, and so must the stiffness terms formed of
// them; load values must be finite, and so must the fixed-end forces formed of them (built and
// released here); coordinates, angles, load positions and lengths must lie within the range of a
// double, so that the powers of them the computation takes stay finite.
std::string NajdiNeplatnouHodnotu(TMKPSpace& space);

// The rounding allowance by which a load may reach past a member's end, relative to the member's
// length: what the load dialog accepts (fractions such as 0,3/ and 0,7/ that meet at node b).
constexpr double KLoadReachTolerance = 1e-12;

// Brings the loads of a member whose node moved, or whose section or material changed, in step
// with it before a computation: a self-weight load covers the whole member again, points straight
// down and carries the section's present weight; a distributed load keeps its start and loaded
// length and ends as far from node b as the member's present length leaves. A load already in
// step keeps its bits.
void SrovnejZatizeniSPruty(TMKPSpace& space);

// Empty when every member load lies on its member: no position before node a, and no load (or
// the end of a distributed one) past node b by more than the allowance. Otherwise a Czech text
// naming the member and the load; member and load (its 1-based position in the member's list)
// name them too. A node move that shortens a member keeps its loads where they were.
std::string NajdiZatizeniMimoPrut(const TMKPSpace& space, int& member, int& load);

// Empty when every result of the last computation is a finite number within the range of a double
// (the range every picture, report and panel can show): node displacements, reactions of the
// restrained degrees of freedom and the members' end results; otherwise a Czech text naming the
// first node or member with a result that is not such a number.
std::string NajdiNekonecnyVysledek(const TMKPSpace& space);
// What NajdiNekonecnyVysledek says once only the reactions have changed since it found nothing:
// the reactions alone are looked at.
std::string NajdiNekonecnouReakci(const TMKPSpace& space);

// The same for the internal forces along every member (builds and releases each member's
// results table, unless TableSurelyShowable proves it finite without it).
std::string NajdiNekonecnyPrubeh(TMKPSpace& space);
