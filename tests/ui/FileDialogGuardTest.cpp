// The completion list of a kept file dialog never outlives the dialog on screen.
#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>

#include "MainWindowTestSupport.h"
#include "ui/window/FileDialogGuard.h"
#include "ui/export/VyslMemo.h"

namespace {
QFileDialog* NewWidgetDialog() {
    auto* dialog = new QFileDialog(nullptr, "Otevřít");
    dialog->setOptions(QFileDialog::DontUseNativeDialog);
    return dialog;
}

QAbstractItemView* CompletionList(QFileDialog* dialog) {
    QCompleter* completer = dialog->findChild<QCompleter*>();
    return completer ? completer->popup() : nullptr;
}

void Settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}
} // namespace

TEST(TFileDialogGuardTest, CompletionListShowsOnlyWhileItsDialogIsOpen) {
    const struct {
        const char* name;
        bool dialogOpen;
        bool listStays;
    } cases[] = {
        {"list opened while the dialog is open", true, true},
        {"list opened after the dialog closed", false, false},
    };
    for (const auto& c : cases) {
        std::unique_ptr<QFileDialog> dialog(NewWidgetDialog());
        TieCompletionToDialog(dialog.get());
        dialog->show();
        QAbstractItemView* list = CompletionList(dialog.get());
        ASSERT_NE(list, nullptr) << c.name;
        if (!c.dialogOpen) dialog->hide();
        list->show();
        Settle();
        EXPECT_EQ(list->isVisible(), c.listStays) << c.name;
        list->hide();
    }
}

TEST(TFileDialogGuardTest, ClosingTheDialogTakesItsOpenListAlong) {
    std::unique_ptr<QFileDialog> dialog(NewWidgetDialog());
    TieCompletionToDialog(dialog.get());
    TieCompletionToDialog(dialog.get()); // tying twice is harmless
    dialog->show();
    QAbstractItemView* list = CompletionList(dialog.get());
    ASSERT_NE(list, nullptr);
    list->show();
    ASSERT_TRUE(list->isVisible());
    dialog->hide();
    Settle();
    EXPECT_FALSE(list->isVisible());
    // The dialog opened again completes as before.
    dialog->show();
    list->show();
    Settle();
    EXPECT_TRUE(list->isVisible());
}

// A name typed quickly and confirmed before the folder is read: Qt completes it only once the
// folder is in, when the dialog is already gone.
TEST(TFileDialogGuardTest, NameConfirmedBeforeTheFolderIsReadLeavesNoList) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"portal-frame.inp", "portal-beam.inp"})
        std::ofstream(dir.filePath(name).toStdString()) << "*Materials\n";
    std::unique_ptr<QFileDialog> dialog(NewWidgetDialog());
    dialog->setFileMode(QFileDialog::ExistingFile);
    TieCompletionToDialog(dialog.get());
    dialog->setDirectory(dir.path());
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(edit, nullptr);
    QTimer::singleShot(0, dialog.get(), [&] {
        edit->setFocus();
        QTest::keyClicks(edit, "portal-frame.inp");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QTimer::singleShot(3000, dialog.get(), [&] { dialog->reject(); }); // never hang the suite
    EXPECT_EQ(dialog->exec(), QDialog::Accepted);
    QAbstractItemView* list = CompletionList(dialog.get());
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < 20; ++i) {
        QTest::qWait(20);
        EXPECT_FALSE(list->isVisible()) << "after " << (i + 1) * 20 << " ms";
    }
}

TEST_F(TMainWindowTest, KeptFileDialogsCloseTheirCompletionLists) {
    QList<QFileDialog*> dialogs = {Form->OpenDialog1(), Form->SaveDialog1(), Form->SaveDialog2(),
                                   Form->Form6()->SaveDialog1()};
    for (QFileDialog* d : Form->findChildren<QFileDialog*>())
        if (!dialogs.contains(d)) dialogs << d;
    EXPECT_GE(dialogs.size(), 6); // open, save, both libraries, the metafile and the report
    for (QFileDialog* dialog : dialogs) {
        dialog->show();
        QAbstractItemView* list = CompletionList(dialog);
        ASSERT_NE(list, nullptr) << dialog->objectName().toStdString();
        dialog->hide();
        list->show();
        Settle();
        EXPECT_FALSE(list->isVisible()) << dialog->objectName().toStdString();
    }
}
