#pragma once
// Drawn images of the program: toolbar glyphs (16 × 16), the nine canvas cursors and the splash
// picture. Everything is painted with QPainter, so no image files are needed.
#include <QCursor>
#include <QFont>
#include <QList>
#include <QRect>
#include <QIcon>
#include <QPixmap>
#include <QString>

// The glyph of a toolbar button, by the button's objectName (a neutral square for unknown names).
QIcon ToolGlyph(const QString& buttonName);

// Cursor numbers 1 to 9: KRIZEK, PRUT, UZEL, LUPA, ZSL, ZCL, ZIF, RUKA, MOVE.
enum TCursorNumber {
    KCursorKrizek = 1,
    KCursorPrut,
    KCursorUzel,
    KCursorLupa,
    KCursorZsl,
    KCursorZcl,
    KCursorZif,
    KCursorRuka,
    KCursorMove
};
QCursor ProgramCursor(int number);

// The splash picture: a small frame drawing with the program's name.
QPixmap SplashPicture(int width, int height);

// The splash texts: the title and the lines under it, each with the font it is drawn in and the
// rectangle it gets in a splash picture of the given size. The fonts are made small enough that
// every text fits its rectangle whole.
struct TSplashText {
    QString Text;
    QFont Font;
    QRect Box;
};
QList<TSplashText> SplashTexts(int width, int height);
