#include <QApplication>
#include <QDateTime>
#include <QLocale>
#include <QLibraryInfo>
#include <QThread>
#include <QTranslator>
#include <clocale>

#include "base/NumberText.h"
#include "render/QtCanvasPainter.h"
#include "ui/window/MKPUnit1.h"
#include "ui/window/QtDialogs.h"
#include "ui/window/Splash.h"
#include "units/Prevody.h"

namespace {
// Keeps the splash window up: from the start second of the tick count until two whole seconds
// later, so the wait lasts one to two seconds.
void StartupWait() {
    const qint64 start = QDateTime::currentMSecsSinceEpoch() / 1000;
    while (QDateTime::currentMSecsSinceEpoch() / 1000 < start + 2) {
        QApplication::processEvents();
        QThread::msleep(1);
    }
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Qt's own texts (file dialogs, standard buttons) in Czech where the translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Czech), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    // QApplication sets the C locale from the environment; the program's numbers never depend on it.
    std::setlocale(LC_NUMERIC, "C");
    const QString point = QLocale::system().decimalPoint();
    SetDecimalSeparator(point.isEmpty() ? '.' : point.at(0).toLatin1());
    SetSystemDecimalSeparator(point.toStdString());
    TQtCanvasPainter::InstallFontSubstitutes();
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");

    TForm7 splash;
    splash.ShowNow();
    TForm1 form;
    TQtDialogs dialogs(&form);
    TDialogsGuard guard(dialogs);
    StartupWait();
    splash.close();
    form.show();
    return app.exec();
}
