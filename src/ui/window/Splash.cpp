#include "ui/window/Splash.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>

#include "ui/common/Glyphs.h"

TForm7::TForm7(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("Form7");
    setFixedSize(200, 89);
    setEnabled(false);
}

void TForm7::ShowNow() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    repaint();
    QApplication::processEvents();
}

void TForm7::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(236, 233, 216));
    // Raised bevel: light top-left, dark bottom-right edges.
    p.setPen(Qt::white);
    p.drawLine(0, 0, width() - 1, 0);
    p.drawLine(0, 0, 0, height() - 1);
    p.setPen(QColor(128, 128, 128));
    p.drawLine(width() - 1, 0, width() - 1, height() - 1);
    p.drawLine(0, height() - 1, width() - 1, height() - 1);
    const QPixmap picture = SplashPicture(width() - 8, height() - 8);
    p.drawPixmap((width() - picture.width()) / 2, (height() - picture.height()) / 2, picture);
}
