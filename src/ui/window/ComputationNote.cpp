#include "ui/window/ComputationNote.h"

#include <QEvent>
#include <algorithm>

namespace {
const int KMargin = 2; // pixels between the note and the canvas edges
}

QString ComputationNoteHint(const QString& note) {
    if (!note.startsWith(QString::fromUtf8("Rovnováha: "))) return note;
    return note +
           QString::fromUtf8("\nKontrola rovnováhy výsledků: větší z obou poměrů – nevyvážený součet sil a "
                             "momentů zatížení a reakcí k největší síle či momentu, a zbytek rovnic uzlů "
                             "|K·u − f + R| k |f|. Malá hodnota (řádově 1E-10 a menší) znamená, že výsledky "
                             "rovnováhu splňují; větší ukazuje na nepřesný výpočet, například u téměř "
                             "pohyblivé konstrukce.");
}

TComputationNote::TComputationNote(QWidget* canvas) : QLabel(canvas) {
    setObjectName("StatusInfo");
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(1);
    setStyleSheet("QLabel { background: #ffffe1; color: black; border: 1px solid #a0a0a0; }");
    canvas->installEventFilter(this);
    hide();
}

void TComputationNote::SetNote(const QString& note) {
    setText(note);
    setToolTip(ComputationNoteHint(note));
    if (note.isEmpty()) {
        hide();
        return;
    }
    Place();
    show();
}

bool TComputationNote::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) Place();
    return QLabel::eventFilter(watched, event);
}

void TComputationNote::Place() {
    const QWidget* canvas = parentWidget();
    const QSize hint = sizeHint();
    const int width = std::min(hint.width(), std::max(0, canvas->width() - 2 * KMargin));
    setGeometry(KMargin, canvas->height() - hint.height() - KMargin, width, hint.height());
}
