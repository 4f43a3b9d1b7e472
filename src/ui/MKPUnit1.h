#pragma once
// The main window: menus, toolbars, status bar, the canvas and the object panel around one model
// space, and the commands of the program.
#include <QMainWindow>

#include "model/MKPSpace.h"

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    TMKPSpace& MKPSpace1() { return mSpace; }

private:
    TMKPSpace mSpace;
};
