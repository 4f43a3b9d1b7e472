#pragma once
// The note a computation leaves: the equilibrium check after a successful one ("Rovnováha:
// 2.1E-16"), or why and where a computation was refused. It stands in the lower left corner of
// the canvas, over the picture, and is shown whole at any window width: the status bar's fixed
// panels fill the whole default width of the window. Without a note it is hidden. Its hint
// holds the note and, for the equilibrium check, what the number means.
#include <QLabel>

// The hint of a note: the note, and for the equilibrium check an explanation of its number.
QString ComputationNoteHint(const QString& note);

class TComputationNote : public QLabel {
public:
    // A child of the canvas's drawing area, which it follows when resized.
    explicit TComputationNote(QWidget* canvas);
    // Shows `note` (hides itself when it is empty).
    void SetNote(const QString& note);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();
};
