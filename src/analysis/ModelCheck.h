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

// Empty when every result of the last computation is finite: node displacements, reactions of
// the restrained degrees of freedom and the members' end results; otherwise a Czech text naming
// the first node or member with a result that is not a number.
std::string NajdiNekonecnyVysledek(const TMKPSpace& space);

// The same for the internal forces along every member (builds and releases each member's
// results table).
std::string NajdiNekonecnyPrubeh(TMKPSpace& space);
