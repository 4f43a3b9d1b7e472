#pragma once
// Rows of the dialogs: a caption, an edit field and an optional unit label; the confirm and cancel
// buttons of the definition dialogs; a button in a row of buttons.
#include <QString>

class QBoxLayout;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

QLineEdit* AddField(QGridLayout* grid, int row, const char* name, const char* caption, QLabel** unit = nullptr,
                    const char* unitName = nullptr);
// SpeedButton2 (confirm) and SpeedButton1 (cancel) in the given row.
void AddButtons(QGridLayout* grid, int row, QPushButton** confirm, QPushButton** cancel);
// A push button with its objectName and caption (UTF-8) added to row; Enter does not press it.
QPushButton* AddRowButton(QWidget* owner, QBoxLayout* row, const char* name, const char* caption);
