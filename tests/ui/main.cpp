#include <QApplication>
#include <clocale>
#include <gtest/gtest.h>

#include "ui/editing/EditSession.h"

// The UI tests run on the offscreen platform unless the caller chose another one. Every look of
// the window's edit session that finds the model's print unchanged also compares the project
// texts: a command of any test that edits the model without changing the print fails that test.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    TEditSession::CheckPrints([](const TModelSnapshot& seen, const TModelSnapshot& now) {
        ADD_FAILURE() << "an edit left the model's print as it was; the text was\n"
                      << seen.Project.substr(0, 2000) << "\nand is\n"
                      << now.Project.substr(0, 2000);
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
