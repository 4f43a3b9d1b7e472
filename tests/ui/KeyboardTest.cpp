// Keys of the main window: its menu shortcuts act in the main window and its panel, not in the
// fields of a dialog that stays open beside it; characters typed in the section and material
// lists run their command and then show their page.
#include <QAbstractButton>
#include <QLineEdit>
#include <QSignalSpy>

#include "MainWindowTestSupport.h"
#include "ui/ObjectPanel.h"
#include "ui/ProfilDialog.h"

TEST_F(TMainWindowTest, MenuShortcutsActInTheMainWindowOnly) {
    struct TCase {
        const char* Item;
        QKeySequence Key;
    } cases[] = {{"Kopirovat1", QKeySequence("Ctrl+C")},
                 {"Presunoutuzel1", QKeySequence("Ctrl+T")},
                 {"Smazatprut1", QKeySequence("Shift+Del")},
                 {"Spustit1", QKeySequence(Qt::Key_F11)}};
    Form->Definovatprofil1Click(); // the section dialog, not modal
    QWidget* field = Form->Form8()->findChild<QLineEdit*>("eJmeno");
    ASSERT_NE(field, nullptr);
    for (const TCase& c : cases) {
        QAction* item = Form->MenuItem(c.Item);
        ASSERT_NE(item, nullptr) << c.Item;
        ASSERT_EQ(item->shortcut(), c.Key) << c.Item;
        QSignalSpy fired(item, &QAction::triggered);
        // Typing in the dialog's field: the item does not fire.
        QApplication::setActiveWindow(Form->Form8());
        field->setFocus();
        QTest::keySequence(field, c.Key);
        EXPECT_EQ(fired.count(), 0) << c.Item << " fired in the dialog";
        // Keys in the main window still work, and in the object panel floating beside it.
        QApplication::setActiveWindow(Form.get());
        Form->Canvas()->setFocus();
        QTest::keySequence(Form->Canvas(), c.Key);
        EXPECT_EQ(fired.count(), 1) << c.Item << " did not fire in the main window";
        Form->Panel()->setFloating(true);
        QApplication::setActiveWindow(Form->Panel());
        auto* button = Form->Panel()->findChild<QAbstractButton*>("sbCompute");
        ASSERT_NE(button, nullptr);
        button->setFocus();
        QTest::keySequence(button, c.Key);
        EXPECT_EQ(fired.count(), 2) << c.Item << " did not fire in the floating panel";
        Form->Panel()->setFloating(false);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != Form.get() && w != Form->Form8() && w->isVisible() && qobject_cast<QDialog*>(w))
                w->hide();
    }
}

TEST_F(TMainWindowTest, TypingInTheSectionListRunsTheCommandAndShowsTheSectionPage) {
    AddSection();
    Form->Panel()->RefillSectionAndMaterialLists();
    for (const char* list : {"cbProfily", "cbMaterialy"}) {
        Form->Panel()->SetMenuIndex(2);
        auto* combo = Form->Panel()->findChild<QComboBox*>(list);
        ASSERT_NE(combo, nullptr);
        QWidget* target = combo->lineEdit() ? static_cast<QWidget*>(combo->lineEdit()) : combo;
        target->setFocus();
        const int zoom = Space().Zoom();
        QTest::keyClick(target, '+');
        EXPECT_EQ(Space().Zoom(), zoom + 10) << list; // the character is a command
        // Space turns to the next page, "Prut"; the refresh of the list's own page follows.
        QTest::keyClick(target, ' ');
        EXPECT_EQ(Form->Panel()->MenuIndex(), 2) << list;
    }
}
