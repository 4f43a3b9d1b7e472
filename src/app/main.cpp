#include <QApplication>
#include <QLocale>
#include <clocale>

#include "model/NumberText.h"
#include "ui/MKPUnit1.h"
#include "units/Prevody.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // QApplication sets the C locale from the environment; the program's numbers never depend on it.
    std::setlocale(LC_NUMERIC, "C");
    const QString point = QLocale::system().decimalPoint();
    SetDecimalSeparator(point.isEmpty() ? '.' : point.at(0).toLatin1());
    SetSystemDecimalSeparator(point.toStdString());
    TForm1 form;
    form.show();
    return app.exec();
}
