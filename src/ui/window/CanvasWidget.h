#pragma once
// The canvas of the main window: the paint area MKPSpace1Area with the scroll bars HScrollBar
// (below) and VScrollBar (right). It keeps the visible picture in an image; a full repaint
// composes the picture off screen and copies it onto the visible image in one step, and the
// direct drawings of the model space (selected node, member, rubber band) paint straight onto the
// visible image. Mouse events go to the main window's three handlers.
//
// A node drag's move is painted in two layers (canvas/DragPicture.h): what does not move is
// painted once into a still image, and each move copies it and paints anew only the region that
// the dragged node and its members cover, exactly as the full repaint paints it there. The still
// image serves the moves of one drag only while nothing else has been painted: any other repaint
// (a command, undo, a view change, results arriving, a resize) is the full one and drops it, and so
// does a move that finds the view, the display or the model's lists not as they were.
#include <QImage>
#include <QWidget>
#include <memory>

#include "canvas/DragPicture.h"
#include "ui/window/CanvasHost.h"

class QScrollBar;
class TMKPSpace;
class TQtCanvasPainter;

class TCanvasArea : public QWidget {
    Q_OBJECT
public:
    TCanvasArea(TCanvasHost& form, TMKPSpace& space, QWidget* parent);
    ~TCanvasArea() override;

    // Prekresli onto the visible image, then shows it.
    void Repaint();
    // The visible picture as it is on the screen now.
    const QImage& Picture() const { return mImage; }

    // The repaints asked for between the two calls are those of a node drag's move of `part`.
    void BeginDragMove(TDragPart part);
    void EndDragMove();
    // The drag is over: the still image goes.
    void EndDrag();
    // The picture shown was painted in layers (tests).
    bool Layered() const { return mLayered; }
    // From how many nodes on a drag is painted in layers. A smaller frame is painted whole at every
    // move as it always was: its full repaint takes a millisecond or less, about what the copies
    // of the images take.
    static constexpr int KLayeredFrom = 1000;
    void SetLayeredFrom(int nodes) { mLayeredFrom = nodes; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // What the still image was painted from besides the model's objects themselves.
    struct TStillView {
        TDragPart Part;
        std::int32_t Zoom, OffsetX, OffsetY, Width, Height, LoadsOfCase;
        int Nodes, Members, SelectedNodes, SelectedMembers, LoadCases;
        std::uint8_t Mode, UnitSystem;
        bool Grid, Origin, Anchor, Numbers, NodalLoads, MemberLoads, CaseColours;
        TReal GridDX, GridDY, AnchorX, AnchorY, ScaleSL, ScaleCL;
        std::uint32_t ColorX, ColorY;
        friend bool operator==(const TStillView&, const TStillView&) = default;
    };
    TStillView StillViewNow() const;
    void NewImage(int width, int height);
    // The move: the still image (painted again when it does not hold), a copy of it and the region
    // of the part painted anew.
    void PaintMove();

    TCanvasHost& mForm;
    TMKPSpace& mSpace;
    QImage mImage;
    QImage mOffscreen;
    std::unique_ptr<TQtCanvasPainter> mVisible;
    bool mInMove = false;
    TDragPart mPart;
    QImage mStill;
    TPictureExtents mExtents;
    QImage mRegion;
    bool mStillValid = false;
    TStillView mStillView{};
    bool mLayered = false;
    int mLayeredFrom = KLayeredFrom;
};

class TCanvasWidget : public QWidget {
    Q_OBJECT
public:
    TCanvasWidget(TCanvasHost& form, TMKPSpace& space, QWidget* parent = nullptr);

    TCanvasArea* Area() const { return mArea; }
    QScrollBar* HScrollBar() const { return mH; }
    QScrollBar* VScrollBar() const { return mV; }
    // Writes the model space's scroll state (range, position, enabled) into the two bars without
    // reacting to it; a position the bar clamps acts as a scroll afterwards.
    void SyncScrollBars();

private:
    TMKPSpace& mSpace;
    TCanvasArea* mArea;
    QScrollBar* mH;
    QScrollBar* mV;
    bool mSyncing = false;
};
