#pragma once
// The mark of the place where a refused structure moves: a red ring around the node and, for a
// displacement, a double arrow along its direction (the node's u or w axis), for a rotation a
// curved arrow around the node. Drawn over the picture, on top of everything.
#include "analysis/Diagnostics.h"
#include "canvas/CanvasPainter.h"

class TMKPSpace;

// False (nothing drawn) when the place names no node of the model.
bool KresliMistoMechanismu(const TMKPSpace& space, TCanvasPainter& canvas, const TDofPlace& place);
