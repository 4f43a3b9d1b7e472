#pragma once
// The mark of the place where a refused structure moves: a red ring around the node and, for a
// displacement, a double arrow along its direction (the node's u or w axis), for a rotation a
// curved arrow around the node. A member at fault is drawn over in red with a ring at its middle;
// a load at fault is a red line along the member's axis over the length it covers (past node b
// where it reaches there) with a ring at its far end. Drawn over the picture, on top of everything.
#include "analysis/Diagnostics.h"
#include "canvas/CanvasPainter.h"

class TMKPSpace;

// False (nothing drawn) when the place names no node, member or load of the model.
bool KresliMistoMechanismu(const TMKPSpace& space, TCanvasPainter& canvas, const TDofPlace& place);
