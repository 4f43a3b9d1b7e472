#pragma once
// Rows of the definition dialogs: a caption, an edit field and an optional unit label; the
// confirm and cancel buttons.
#include <QString>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

QLineEdit* AddField(QGridLayout* grid, int row, const char* name, const char* caption, QLabel** unit = nullptr,
                    const char* unitName = nullptr);
// SpeedButton2 (confirm) and SpeedButton1 (cancel) in the given row.
void AddButtons(QGridLayout* grid, int row, QPushButton** confirm, QPushButton** cancel);
