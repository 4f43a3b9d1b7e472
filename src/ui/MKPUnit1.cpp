#include "ui/MKPUnit1.h"

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName("Form1");
    setWindowTitle(QString::fromUtf8("KORVAN - B 2D 2003"));
    resize(765, 520);
}

TForm1::~TForm1() = default;
