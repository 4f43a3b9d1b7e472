#pragma once
// A node drag's picture in two layers. What the dragged node carries moves: the node with its
// support, number and loads, and the members that end at it with their hinges, numbers and loads.
// Everything else of the full repaint stands still and is painted once for the whole drag, each
// object's box on the canvas recorded. A move copies the still picture and paints anew only the
// region that the moving part covers now: the background there and, in the full repaint's order,
// the part and every still object whose box meets the region. So the things that cross the part
// lie over or under it as in the full repaint, and the picture is the full repaint's exactly.
#include <vector>

#include "canvas/CanvasPainter.h"
#include "model/MKPSpace.h"

struct TDragPart {
    const TUzel* Node = nullptr;
    // The list positions of the members that end at the node, ascending.
    std::vector<int> Members;
    friend bool operator==(const TDragPart&, const TDragPart&) = default;
};

// The boxes that the objects of the still layer cover on the canvas, by list position (an empty box
// where nothing is drawn), and those of the origin marker and the anchor.
struct TPictureExtents {
    std::vector<TPixelRect> Nodes, Members;
    TPixelRect Origin, Anchor;
};

// The full repaint (Prekresli) without the part: the same calls in the same order, less the part's.
// The boxes its objects cover are recorded.
void PaintStill(TMKPSpace& space, TCanvasPainter& painter, const TDragPart& part, TPictureExtents& extents);
// The box that the part covers where it stands now (empty when it draws nothing on the canvas).
TPixelRect PartExtent(TMKPSpace& space, const TDragPart& part);
// Within `region`, what the full repaint paints there: the background, the grid, and in the full
// repaint's order the part and every object whose box of the still layer meets the region. Pixels
// outside the region are left as they come out.
void PaintRegion(TMKPSpace& space, TCanvasPainter& painter, const TPixelRect& region, const TDragPart& part,
                 const TPictureExtents& still);
// Whether the still layer of a drag of this node, at the place it has now, is the full repaint's
// but for the part: false when it shows results (reactions, a result mode while the model holds
// results) or when the node stands near the origin marker, whose arrows and letters make room for
// nodes there.
bool StillLayerHolds(const TMKPSpace& space, const TUzel& node);
// Whether a node at its place can change the origin marker: it lies within a support symbol's reach
// of the marker's corner, or its number (when numbers are shown) could cover a place of a letter.
bool NearOriginMarker(const TMKPSpace& space, const TUzel& node);
