#include "ui/dialogs/DefinitionWidgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QLineEdit* AddField(QGridLayout* grid, int row, const char* name, const char* caption, QLabel** unit,
                    const char* unitName) {
    QWidget* parent = grid->parentWidget();
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(120);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    if (unit) {
        *unit = new QLabel(parent);
        (*unit)->setObjectName(unitName);
        (*unit)->setMinimumWidth(40);
        grid->addWidget(*unit, row, 2);
    }
    return edit;
}

void AddButtons(QGridLayout* grid, int row, QPushButton** confirm, QPushButton** cancel) {
    QWidget* parent = grid->parentWidget();
    auto* box = new QHBoxLayout;
    box->addStretch();
    *confirm = new QPushButton(QString::fromUtf8("OK"), parent);
    (*confirm)->setObjectName("SpeedButton2");
    *cancel = new QPushButton(QString::fromUtf8("Zrušit"), parent);
    (*cancel)->setObjectName("SpeedButton1");
    for (QPushButton* b : {*confirm, *cancel}) {
        // Enter and Esc are the dialog's own keys, not a default button's.
        b->setAutoDefault(false);
        b->setDefault(false);
        box->addWidget(b);
    }
    grid->addLayout(box, row, 0, 1, 3);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

QPushButton* AddRowButton(QWidget* owner, QBoxLayout* row, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), owner);
    b->setObjectName(name);
    b->setAutoDefault(false);
    row->addWidget(b);
    return b;
}
