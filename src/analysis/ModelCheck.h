#pragma once
// What a computation needs from a model that the editing commands guarantee but a project file
// need not: members between listed nodes with a section and a material, and nodes numbered by
// their list position.
#include <string>

class TMKPSpace;

// Empty when the model can be computed; otherwise a Czech text naming the first fault.
std::string NajdiVaduModelu(const TMKPSpace& space);
