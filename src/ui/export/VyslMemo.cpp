#include "ui/export/VyslMemo.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QPagedPaintDevice>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QToolButton>
#include <cmath>

#include "ui/export/PrintFallback.h"
#include "ui/export/SaveTarget.h"

namespace {
const int KClientWidth = 649;
const int KClientHeight = 442;
const int KButtonRow = 30;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string S(const QString& s) {
    return s.toStdString();
}

int HalfPoints(const QTextCharFormat& format, const QFont& fallback) {
    qreal points = format.fontPointSize();
    if (points <= 0) points = format.font().pointSizeF();
    if (points <= 0) points = fallback.pointSizeF();
    return points > 0 ? int(std::lround(points * 2)) : 16;
}

TRichRun Run(const QString& text, const QTextCharFormat& format, const QFont& fallback) {
    QString t = text;
    t.replace(QChar(0x2028), QChar('\n')); // a line break within the paragraph
    t.replace(QChar::ParagraphSeparator, QChar('\n'));
    TRichRun run;
    run.Text = S(t);
    run.Bold = format.fontWeight() >= QFont::DemiBold;
    run.Italic = format.fontItalic();
    run.Underline = format.fontUnderline();
    run.HalfPoints = HalfPoints(format, fallback);
    return run;
}

QToolButton* FlatButton(QWidget* parent, const char* name, const QString& text, const QString& hint, int x) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setGeometry(x, KClientHeight - KButtonRow + 3, 80, KButtonRow - 6);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}
} // namespace

std::vector<TRichParagraph> RichParagraphs(const QTextDocument& document) {
    std::vector<TRichParagraph> out;
    const QFont fallback = document.defaultFont();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        TRichParagraph paragraph;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && !fragment.text().isEmpty())
                paragraph.push_back(Run(fragment.text(), fragment.charFormat(), fallback));
        }
        // An empty paragraph keeps the size of its own format, so an empty line keeps its height.
        if (paragraph.empty()) paragraph.push_back(Run(QString(), block.charFormat(), fallback));
        out.push_back(std::move(paragraph));
    }
    return out;
}

std::string TextDocumentToRtf(const QTextDocument& document) {
    return RichTextToRtf(RichParagraphs(document));
}

TForm6::TForm6(QWidget* parent) : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("Form6");
    setProperty("HelpContext", 260);
    setFixedSize(KClientWidth, KClientHeight);

    mMemo = new QTextEdit(this);
    mMemo->setObjectName("Memo1");
    mMemo->setAcceptRichText(true);
    mMemo->setReadOnly(false);
    // Only a vertical scroll bar: a line longer than the memo is wide wraps at the memo's edge.
    mMemo->setLineWrapMode(QTextEdit::WidgetWidth);
    mMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont arial("Arial", 8);
    mMemo->setFont(arial);
    mMemo->document()->setDefaultFont(arial);
    mMemo->setGeometry(0, 0, KClientWidth, KClientHeight - KButtonRow);
    mMemo->installEventFilter(this);

    const QString hint = QString::fromUtf8("Uložení protokolu ...");
    connect(FlatButton(this, "SpeedButton2", QString::fromUtf8("Tisk"), hint, 4), &QToolButton::clicked, this,
            &TForm6::SpeedButton2Click);
    connect(FlatButton(this, "SpeedButton3", QString::fromUtf8("Kopírovat"), hint, 88), &QToolButton::clicked,
            this, &TForm6::SpeedButton3Click);
    connect(FlatButton(this, "sbSaveTXT", QString::fromUtf8("Uložit ..."), hint, 172), &QToolButton::clicked, this,
            &TForm6::sbSaveTXTClick);
    connect(FlatButton(this, "SpeedButton1", QString::fromUtf8("Zavřít"), QString(), KClientWidth - 84),
            &QToolButton::clicked, this, &TForm6::SpeedButton1Click);

    // The save dialog has neither a filter nor a default extension: whatever the name, the file
    // holds rich text.
    mSaveDialog = new QFileDialog(this, QString::fromUtf8("Uložit"));
    mSaveDialog->setObjectName("SaveDialog1");
    mSaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    mSaveDialog->setFileMode(QFileDialog::AnyFile);
    for (QFileDialog* d : {mSaveDialog}) {
        d->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
        d->setModal(true);
    }
    mChooser = [](QFileDialog* dialog) {
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return QString();
        return dialog->selectedFiles().first();
    };
}

void TForm6::Clear() {
    mMemo->clear();
    mHasLine = false;
    mMemo->setCurrentCharFormat(QTextCharFormat());
    mMemo->document()->setDefaultFont(QFont("Arial", 8));
}

void TForm6::SetStyle(bool bold, int points) {
    mBold = bold;
    mSize = points;
}

void TForm6::AppendLine(const std::string& text) {
    QTextCharFormat format;
    format.setFontFamilies({"Arial"});
    format.setFontWeight(mBold ? QFont::Bold : QFont::Normal);
    format.setFontPointSize(mSize);
    QTextCursor cursor(mMemo->document());
    cursor.movePosition(QTextCursor::End);
    // The cleared memo holds one empty paragraph, which takes the first line.
    if (mHasLine) cursor.insertBlock(QTextBlockFormat(), format);
    cursor.setBlockCharFormat(format);
    cursor.setCharFormat(format);
    cursor.insertText(Q(text), format);
    mHasLine = true;
}

void TForm6::ShowDocument(const TStyledDocument& doc) {
    Clear();
    for (const TStyledLine& line : doc.Lines()) {
        SetStyle(line.Bold, line.Size);
        AppendLine(line.Text);
    }
    mMemo->moveCursor(QTextCursor::Start);
    setWindowTitle(Q(doc.Caption()));
    show();
    raise();
    activateWindow();
}

std::string TForm6::MemoRtf() const {
    return TextDocumentToRtf(*mMemo->document());
}

QMimeData* TForm6::SelectionMimeData() const {
    const QTextCursor cursor = mMemo->textCursor();
    if (!cursor.hasSelection()) return nullptr;
    const QTextDocumentFragment fragment = cursor.selection();
    QTextDocument selected;
    selected.setDefaultFont(mMemo->document()->defaultFont());
    QTextCursor(&selected).insertFragment(fragment);
    auto* mime = new QMimeData;
    QString plain = fragment.toPlainText();
    plain.replace(QChar::Nbsp, QChar(' '));
    mime->setText(plain);
    mime->setHtml(fragment.toHtml());
    mime->setData("text/rtf", QByteArray::fromStdString(TextDocumentToRtf(selected)));
    return mime;
}

void TForm6::SpeedButton1Click() {
    Clear();
    hide();
}

bool TForm6::SaveToFile(const QString& fileName) {
    if (!ConfirmSaveTarget(fileName, "Soubor existuje. Nahradit?")) return false;
    return WriteSavedDocument(fileName, MemoRtf());
}

void TForm6::sbSaveTXTClick() {
    mSaveDialog->setDirectory(QDir::current());
    const QString file = mChooser(mSaveDialog);
    if (file.isEmpty()) return;
    // As the program's other file dialogs, the chosen folder becomes the working directory.
    QDir::setCurrent(QFileInfo(file).absolutePath());
    SaveToFile(QFileInfo(file).absoluteFilePath());
}

// Prints the memo as it stands (edits included) through the program's one print path: the current
// printer without a dialog, or a PDF when there is no printer.
void TForm6::SpeedButton2Click() {
    PrintOrSavePdf(this, windowTitle(), [this](QPagedPaintDevice& device) {
        mMemo->document()->print(&device);
        return true;
    });
}

void TForm6::SpeedButton3Click() {
    if (QMimeData* mime = SelectionMimeData()) QApplication::clipboard()->setMimeData(mime);
}

// Key preview: Enter and Esc close the window wherever the focus is, and never reach the memo.
bool TForm6::FormKeyPress(int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape) return false;
    SpeedButton1Click();
    return true;
}

bool TForm6::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mMemo && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (FormKeyPress(key->key())) return true;
        // The copy keys copy as the copy button does: with the rich text as RTF.
        if (key == QKeySequence::Copy) {
            SpeedButton3Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm6::keyPressEvent(QKeyEvent* event) {
    if (FormKeyPress(event->key())) return;
    QWidget::keyPressEvent(event);
}

// The title bar has no close button; a close asked for by the window manager all the same
// (Alt+F4) closes the viewer the same way as its own button.
void TForm6::closeEvent(QCloseEvent* event) {
    event->ignore();
    SpeedButton1Click();
}
