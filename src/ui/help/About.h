#pragma once
// The About box "O programu": program name, version year and the home page.
#include <QDialog>

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
};
