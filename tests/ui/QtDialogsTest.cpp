// The desktop message sink: questions answer with the button pressed, and the buttons are Czech.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "ui/QtDialogs.h"

namespace {
// Presses the button captioned `caption` of the modal box once it is up; records every caption seen.
void PressWhenShown(const QString& caption, QStringList& seen) {
    QTimer::singleShot(0, [caption, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons()) seen << button->text();
        for (QAbstractButton* button : box->buttons())
            if (button->text() == caption) button->click();
    });
}
} // namespace

TEST(TQtDialogsTest, QuestionsOfferAnoAndNeAndAnswerWithThePressedButton) {
    const struct {
        const char* caption;
        bool answer;
    } cases[] = {{"Ano", true}, {"Ne", false}};
    for (const auto& c : cases) {
        TQtDialogs dialogs;
        QStringList seen;
        PressWhenShown(c.caption, seen);
        EXPECT_EQ(dialogs.AskYesNo("Soubor existuje. Nahradit?"), c.answer) << c.caption;
        seen.sort();
        EXPECT_EQ(seen, (QStringList{"Ano", "Ne"}));
    }
}

// A dialog that stays open gets the activation and its field the focus back after a message
// or a question, whoever owns the box; the box itself opens over that dialog.
TEST(TQtDialogsTest, TheActiveDialogKeepsTheFocusAcrossABox) {
    QWidget main;
    main.setObjectName("main");
    main.resize(300, 200);
    main.show();
    QDialog dialog(&main);
    QLineEdit* field = new QLineEdit(&dialog);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    field->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), field);
    TQtDialogs dialogs(&main);
    for (const char* caption : {"OK", "Ne"}) {
        QWidget* owner = nullptr;
        QTimer::singleShot(0, [&owner, caption] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            owner = box->parentWidget();
            for (QAbstractButton* button : box->buttons())
                if (button->text() == caption || box->buttonRole(button) == QMessageBox::AcceptRole)
                    button->click();
        });
        if (QString(caption) == "OK")
            dialogs.Inform("Neplatné zadání.");
        else
            dialogs.AskYesNo("Soubor existuje. Nahradit?");
        QApplication::processEvents();
        EXPECT_EQ(owner, &dialog) << caption;
        EXPECT_EQ(QApplication::activeWindow(), &dialog) << caption;
        EXPECT_EQ(QApplication::focusWidget(), field) << caption;
    }
}
