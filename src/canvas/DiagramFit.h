#pragma once
// Fitting the diagram scale: the largest ordinate of the shown result mode is made a fixed share
// of the model's extent on the canvas, and the view is then narrowed and moved until everything
// drawn (diagram, labels, loads, supports) lies inside the canvas.
#include "base/Types.h"
#include "canvas/CanvasPainter.h"

class TMKPSpace;

// Share of the model's larger extent on the canvas that the largest ordinate takes.
constexpr TReal KFitShare = 0.2L;
// Free pixels kept between the drawing and each canvas edge.
constexpr int KFitMargin = 6;

// The largest magnitude among the drawn values of the mode (1 T, 2 N, 3 M: the force; 4: the
// displacement vector, mm) over every member with results; 0 when there is none.
TReal NejvetsiPoradnice(TMKPSpace& space, int mode);

// The box of everything the full repaint draws (texts by an estimate of their width) apart from
// the origin marker and the anchor, which stand wherever the user put them. Empty (all 0) when
// nothing is drawn.
TPixelRect RozsahKresby(TMKPSpace& space);

// Sets ScaleIF for the current display mode and fits the view to the drawing; repaints. False
// (nothing changed) in the model mode or when there is no ordinate to fit.
bool PrizpusobMeritko(TMKPSpace& space);
