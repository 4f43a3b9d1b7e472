#pragma once
// The canvas of the main window: the paint area MKPSpace1Area with the scroll bars HScrollBar
// (below) and VScrollBar (right). It keeps the visible picture in an image; a full repaint
// composes the picture off screen and copies it onto the visible image in one step, and the
// direct drawings of the model space (selected node, member, rubber band) paint straight onto the
// visible image. Mouse events go to the main window's three handlers.
#include <QImage>
#include <QWidget>
#include <memory>

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

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void NewImage(int width, int height);

    TCanvasHost& mForm;
    TMKPSpace& mSpace;
    QImage mImage;
    QImage mOffscreen;
    std::unique_ptr<TQtCanvasPainter> mVisible;
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
