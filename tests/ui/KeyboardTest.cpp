// Keys of the main window: menu shortcuts act in the main window and its floating panel, not in
// a field of a dialog that stays open; characters typed in the section and material lists run
// their command and then show their page.
#include <QAbstractButton>
#include <QLineEdit>
#include <QSignalSpy>

#include "MainWindowTestSupport.h"
#include "ui/panel/ObjectPanel.h"
#include "ui/dialogs/ProfilDialog.h"

TEST_F(TMainWindowTest, MenuShortcutsActInTheMainWindowOnly) {
    Form->Definovatprofil1Click(); // the section dialog, not modal
    QWidget* field = Form->Form8()->findChild<QLineEdit*>("eJmeno");
    QWidget* button = Form->Panel()->findChild<QAbstractButton*>("sbCompute");
    ASSERT_TRUE(field && button);
    for (const char* item : {"Kopirovat1", "Presunoutuzel1", "Smazatprut1", "Spustit1"}) {
        QAction* action = Form->MenuItem(item);
        QSignalSpy fired(action, &QAction::triggered);
        const struct {
            QWidget *Window, *Focus;
            int Fired;
        } places[] = {{Form->Form8(), field, 0}, {Form.get(), Form->Canvas(), 1}, {Form->Panel(), button, 2}};
        for (const auto& at : places) {
            Form->Panel()->setFloating(at.Window == Form->Panel());
            QApplication::setActiveWindow(at.Window);
            at.Focus->setFocus();
            QTest::keySequence(at.Focus, action->shortcut());
            EXPECT_EQ(fired.count(), at.Fired) << item << " in " << at.Window->objectName().toStdString();
        }
        Form->Panel()->setFloating(false);
        for (QWidget* w : QApplication::topLevelWidgets()) // what the commands opened
            if (w != Form->Form8() && qobject_cast<QDialog*>(w)) w->hide();
    }
}

TEST_F(TMainWindowTest, TypingInTheSectionListRunsTheCommandAndShowsTheSectionPage) {
    AddSection();
    Form->Panel()->RefillSectionAndMaterialLists();
    for (QComboBox* combo : {Form->Panel()->cbProfily(), Form->Panel()->cbMaterialy()}) {
        Form->Panel()->SetMenuIndex(2);
        QWidget* target = combo->lineEdit() ? static_cast<QWidget*>(combo->lineEdit()) : combo;
        target->setFocus();
        const int zoom = Space().Zoom();
        QTest::keyClick(target, '+');
        EXPECT_EQ(Space().Zoom(), zoom + 10); // a command
        QTest::keyClick(target, ' ');         // next page ("Prut"), then the list's own page
        EXPECT_EQ(Form->Panel()->MenuIndex(), 2) << combo->objectName().toStdString();
    }
}
