#pragma once
// Small controls of the object panel: a clickable shape (circle or horizontal line with a pen and
// a brush, as the member schematic of page "Prut" draws them) and a spin button with an up and a
// down half.
#include <QColor>
#include <QWidget>

class QToolButton;

class TPanelShape : public QWidget {
    Q_OBJECT
public:
    enum TKind { KCircle, KLine };
    TPanelShape(TKind kind, QWidget* parent = nullptr);

    TKind Kind() const { return mKind; }
    // A hollow shape has no fill; a shape without a pen has no outline.
    void SetBrush(const QColor& color, bool hollow);
    void SetPen(bool visible);
    QColor BrushColor() const { return mBrushColor; }
    bool BrushHollow() const { return mHollow; }
    bool PenVisible() const { return mPen; }

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TKind mKind;
    QColor mBrushColor = Qt::black;
    bool mHollow = false;
    bool mPen = true;
};

// Two small arrow buttons on top of each other, objectNames "UpButton" and "DownButton".
class TSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit TSpinButton(QWidget* parent = nullptr);
    QToolButton* UpButton() const { return mUp; }
    QToolButton* DownButton() const { return mDown; }

signals:
    void UpClick();
    void DownClick();

private:
    QToolButton* mUp;
    QToolButton* mDown;
};
