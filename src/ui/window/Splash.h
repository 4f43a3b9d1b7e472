#pragma once
// The splash window TForm7: 200 × 89 pixels, borderless, on top, disabled, centred, a picture
// under a raised bevel. Shown and painted at once while the main window starts.
#include <QWidget>

class TForm7 : public QWidget {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
    // Shows the window, centred on the screen, and paints it before returning.
    void ShowNow();

protected:
    void paintEvent(QPaintEvent* event) override;
};
