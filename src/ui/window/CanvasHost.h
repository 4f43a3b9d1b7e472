#pragma once
#include <Qt>

// What the canvas hands on to the main window: its size changed, and the mouse on it (button
// pressed or released, buttons held, Shift/Ctrl, pixel position).
class TCanvasHost {
public:
    virtual ~TCanvasHost() = default;
    virtual void FormResize() = 0;
    virtual void MKPSpace1MouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods,
                                    int x, int y) = 0;
    virtual void MKPSpace1MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, int x, int y) = 0;
    virtual void MKPSpace1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers mods, int x, int y) = 0;
    virtual void MKPSpace1DblClick(Qt::MouseButton button, Qt::KeyboardModifiers mods, int x, int y) = 0;
};
