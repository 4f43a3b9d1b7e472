#include "ui/panel/ObjectPanelWidgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

TPanelShape::TPanelShape(TKind kind, QWidget* parent) : QWidget(parent), mKind(kind) {
    setCursor(Qt::PointingHandCursor);
}

void TPanelShape::SetBrush(const QColor& color, bool hollow) {
    mBrushColor = color;
    mHollow = hollow;
    update();
}

void TPanelShape::SetPen(bool visible) {
    mPen = visible;
    update();
}

void TPanelShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(mPen ? QPen(Qt::black, 1) : QPen(Qt::NoPen));
    p.setBrush(mHollow ? QBrush(Qt::NoBrush) : QBrush(mBrushColor));
    if (mKind == KCircle) {
        p.drawEllipse(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0));
    } else {
        // The member of the schematic: a line through the middle of the shape's height.
        p.setPen(mPen ? QPen(Qt::black, 2) : QPen(Qt::NoPen));
        p.drawLine(QPointF(0, height() / 2.0), QPointF(width(), height() / 2.0));
    }
}

void TPanelShape::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit Clicked();
    QWidget::mousePressEvent(event);
}

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent) {
    mUp = new QToolButton(this);
    mUp->setObjectName("UpButton");
    mUp->setArrowType(Qt::UpArrow);
    mDown = new QToolButton(this);
    mDown->setObjectName("DownButton");
    mDown->setArrowType(Qt::DownArrow);
    connect(mUp, &QToolButton::clicked, this, &TSpinButton::UpClick);
    connect(mDown, &QToolButton::clicked, this, &TSpinButton::DownClick);
    setFixedSize(16, 24);
    mUp->setGeometry(0, 0, 16, 12);
    mDown->setGeometry(0, 12, 16, 12);
}
