// The desktop message sink: questions answer with the button pressed, and the buttons are Czech.
#include <QAbstractButton>
#include <QApplication>
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
