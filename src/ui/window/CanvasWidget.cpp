#include "ui/window/CanvasWidget.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <cstring>

#include "model/MKPSpace.h"
#include "render/QtCanvasPainter.h"

TCanvasArea::TCanvasArea(TCanvasHost& form, TMKPSpace& space, QWidget* parent)
    : QWidget(parent), mForm(form), mSpace(space) {
    setObjectName("MKPSpace1Area");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(20, 20);
    NewImage(105, 105);
}

TCanvasArea::~TCanvasArea() {
    mSpace.SetVisibleCanvas(nullptr);
    mVisible.reset();
}

void TCanvasArea::NewImage(int width, int height) {
    mSpace.SetVisibleCanvas(nullptr);
    mVisible.reset();
    mImage = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    mImage.fill(Qt::white);
    mVisible = std::make_unique<TQtCanvasPainter>(mImage);
    mSpace.SetVisibleCanvas(mVisible.get());
    mSpace.Width = mImage.width();
    mSpace.Height = mImage.height();
}

void TCanvasArea::Repaint() {
    if (mOffscreen.size() != mImage.size()) mOffscreen = QImage(mImage.size(), QImage::Format_RGB32);
    if (mInMove && mPart.Node && mSpace.Nodes.Count() >= mLayeredFrom &&
        StillLayerHolds(mSpace, *mPart.Node)) {
        PaintMove();
    } else {
        // The picture is painted aside and shown whole; the buffer stays for the next repaint (the
        // painting starts by filling the whole canvas, so nothing of the last picture shows through).
        mStillValid = false;
        mLayered = false;
        TQtCanvasPainter p(mOffscreen);
        mSpace.Prekresli(p);
    }
    mVisible->Painter().drawImage(0, 0, mOffscreen);
    update();
}

TCanvasArea::TStillView TCanvasArea::StillViewNow() const {
    const TMKPSpace& s = mSpace;
    return {mPart,
            s.Zoom(),
            s.OffsetX,
            s.OffsetY,
            s.Width,
            s.Height,
            s.LoadsOfCase,
            s.Nodes.Count(),
            s.Members.Count(),
            s.SelectedNodes.Count(),
            s.SelectedMembers.Count(),
            s.LoadCases.Count(),
            s.TypZobrazeni(),
            s.UnitSystem,
            s.GridVisible,
            s.Origin.Visible,
            s.Anchor.Active,
            s.ShowNumbers,
            s.ShowNodalLoads,
            s.ShowMemberLoads,
            s.CaseColours,
            s.GridDX,
            s.GridDY,
            s.Anchor.X(),
            s.Anchor.Y(),
            s.ScaleSL(),
            s.ScaleCL(),
            s.Origin.ColorX,
            s.Origin.ColorY};
}

void TCanvasArea::PaintMove() {
    const TStillView view = StillViewNow();
    if (!mStillValid || mStill.size() != mImage.size() || !(view == mStillView)) {
        if (mStill.size() != mImage.size()) mStill = QImage(mImage.size(), QImage::Format_RGB32);
        TQtCanvasPainter p(mStill);
        PaintStill(mSpace, p, mPart, mExtents);
        mStillView = view;
        mStillValid = true;
    }
    // All images have the size and the format of the canvas: the same bytes, line by line.
    std::memcpy(mOffscreen.bits(), mStill.constBits(), std::size_t(mStill.sizeInBytes()));
    const TPixelRect part = PartExtent(mSpace, mPart);
    const int left = std::max(part.Left, 0), top = std::max(part.Top, 0);
    const int right = std::min(part.Right, mImage.width()), bottom = std::min(part.Bottom, mImage.height());
    if (left < right && top < bottom) {
        if (mRegion.size() != mImage.size()) mRegion = QImage(mImage.size(), QImage::Format_RGB32);
        {
            TQtCanvasPainter p(mRegion);
            PaintRegion(mSpace, p, {left, top, right, bottom}, mPart, mExtents);
        }
        for (int y = top; y < bottom; ++y)
            std::memcpy(mOffscreen.scanLine(y) + 4 * left, mRegion.constScanLine(y) + 4 * left,
                        std::size_t(4 * (right - left)));
    }
    mLayered = true;
}

void TCanvasArea::BeginDragMove(TDragPart part) {
    mPart = std::move(part);
    mInMove = true;
}

void TCanvasArea::EndDragMove() {
    mInMove = false;
}

void TCanvasArea::EndDrag() {
    mInMove = false;
    mPart = {};
    mStill = mRegion = QImage();
    mExtents = {};
    mStillValid = false;
}

void TCanvasArea::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, mImage);
}

void TCanvasArea::resizeEvent(QResizeEvent* event) {
    NewImage(event->size().width(), event->size().height());
    mForm.FormResize();
    Repaint();
}

void TCanvasArea::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    mForm.MKPSpace1MouseDown(event->button(), event->buttons(), event->modifiers(), at.x(), at.y());
}

void TCanvasArea::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    mForm.MKPSpace1MouseMove(event->buttons(), event->modifiers(), at.x(), at.y());
}

// The second press of a double click is a press as any other; then the double click itself.
void TCanvasArea::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    mForm.MKPSpace1DblClick(event->button(), event->modifiers(), at.x(), at.y());
}

void TCanvasArea::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    mForm.MKPSpace1MouseUp(event->button(), event->modifiers(), at.x(), at.y());
}

TCanvasWidget::TCanvasWidget(TCanvasHost& form, TMKPSpace& space, QWidget* parent)
    : QWidget(parent), mSpace(space) {
    setObjectName("MKPSpace1");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    mArea = new TCanvasArea(form, space, this);
    mH = new QScrollBar(Qt::Horizontal, this);
    mH->setObjectName("HScrollBar");
    mV = new QScrollBar(Qt::Vertical, this);
    mV->setObjectName("VScrollBar");
    grid->addWidget(mArea, 0, 0);
    grid->addWidget(mV, 0, 1);
    grid->addWidget(mH, 1, 0);
    SyncScrollBars();
    // The bars move the offsets; a position written by the program reaches the model space only
    // when the bar had to clamp it (then the clamped position scrolls the view).
    connect(mH, &QScrollBar::valueChanged, this, [this](int v) {
        if (!mSyncing) mSpace.HScrollBarChange(v);
    });
    connect(mV, &QScrollBar::valueChanged, this, [this](int v) {
        if (!mSyncing) mSpace.VScrollBarChange(v);
    });
}

void TCanvasWidget::SyncScrollBars() {
    mSyncing = true;
    mH->setRange(mSpace.HScroll.Min, mSpace.HScroll.Max);
    mH->setPageStep(mSpace.HScroll.LargeStep);
    mH->setValue(mSpace.HScroll.Position);
    mH->setEnabled(mSpace.HScroll.Enabled);
    mV->setRange(mSpace.VScroll.Min, mSpace.VScroll.Max);
    mV->setPageStep(mSpace.VScroll.LargeStep);
    mV->setValue(mSpace.VScroll.Position);
    mV->setEnabled(mSpace.VScroll.Enabled);
    mSyncing = false;
    if (mH->value() != mSpace.HScroll.Position) mSpace.HScrollBarChange(mH->value());
    if (mV->value() != mSpace.VScroll.Position) mSpace.VScrollBarChange(mV->value());
}
