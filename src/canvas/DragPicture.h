#pragma once
// A node drag's picture in two layers. What the dragged node carries moves: the node with its
// support, number and loads, and the members that end at it with their hinges, numbers and loads.
// Everything else of the full repaint stands still and can be painted once for the whole drag;
// each move then paints only the moving layer over a copy of it. The two together differ from the
// full repaint only in what lies over what where the moving things cross others (the moving layer
// comes last), so a drag ends with a full repaint.
#include <vector>

#include "canvas/CanvasPainter.h"
#include "model/MKPSpace.h"

struct TDragPart {
    const TUzel* Node = nullptr;
    // The list positions of the members that end at the node, ascending.
    std::vector<int> Members;
    friend bool operator==(const TDragPart&, const TDragPart&) = default;
};

// The full repaint (Prekresli) without the part: the same calls in the same order, less the part's.
void PaintStill(TMKPSpace& space, TCanvasPainter& painter, const TDragPart& part);
// Only the part, over the picture already there (no background): the node, then its members.
void PaintMoving(TMKPSpace& space, TCanvasPainter& painter, const TDragPart& part);
// Whether the still layer of a drag of this node, at the place it has now, is the full repaint's
// but for the part: false when it shows results (reactions, a result mode while the model holds
// results) or when the node stands near the origin marker, whose arrows and letters make room for
// nodes there.
bool StillLayerHolds(const TMKPSpace& space, const TUzel& node);
// Whether a node at its place can change the origin marker: it lies within a support symbol's reach
// of the marker's corner, or its number (when numbers are shown) could cover a place of a letter.
bool NearOriginMarker(const TMKPSpace& space, const TUzel& node);
