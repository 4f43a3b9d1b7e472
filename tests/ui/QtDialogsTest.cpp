// The desktop message sink: questions answer with the button pressed, and the buttons are Czech.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "ui/window/QtDialogs.h"

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

// A dialog that stays open gets the activation and its field the focus back after a message or a
// question, and the box opens over it.
TEST(TQtDialogsTest, TheActiveDialogKeepsTheFocusAcrossABox) {
    QWidget main;
    main.show();
    QDialog dialog(&main);
    auto* field = new QLineEdit(&dialog);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    field->setFocus();
    QApplication::processEvents();
    TQtDialogs dialogs(&main);
    for (bool question : {false, true}) {
        QWidget* owner = nullptr;
        QTimer::singleShot(0, [&owner] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            owner = box->parentWidget();
            box->buttons().first()->click();
        });
        question ? (void)dialogs.AskYesNo("Soubor existuje. Nahradit?") : dialogs.Inform("Neplatné zadání.");
        QApplication::processEvents(); // the activation arrives as a window system event
        EXPECT_EQ(owner, &dialog) << question;
        EXPECT_EQ(QApplication::activeWindow(), &dialog) << question;
        EXPECT_EQ(QApplication::focusWidget(), field) << question;
    }
}
