#pragma once
// The report viewer TForm6: a fixed-size window without title-bar buttons holding an editable
// rich-text memo (Arial) and four flat buttons: print, copy, save and close. Both the results
// report and the model protocol are shown here. The window is created once by the main window and
// hidden, never destroyed, when closed; closing (the button, Enter or Esc) also clears the memo.
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "reports/DocumentWriters.h"
#include "reports/StyledDocument.h"

class QFileDialog;
class QMimeData;
class QTextDocument;
class QTextEdit;
class QToolButton;

// The runs of a Qt text document, one paragraph per block, for the RTF writer. Sizes without an
// explicit point size take the document's default font size; line separators become "\n".
std::vector<TRichParagraph> RichParagraphs(const QTextDocument& document);
// The document (as the user may have edited it) as an RTF document.
std::string TextDocumentToRtf(const QTextDocument& document);

class TForm6 : public QWidget {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);

    QTextEdit* Memo1() const { return mMemo; }
    QFileDialog* SaveDialog1() const { return mSaveDialog; }

    // Operations of the report producers: clear, style of the lines appended next, one line.
    void Clear();
    void SetStyle(bool bold, int points);
    void AppendLine(const std::string& text);
    // Clears the memo and shows the document's lines in their styles under its caption (the
    // window is shown, not modal).
    void ShowDocument(const TStyledDocument& doc);

    // The memo's whole content, formatting included, as RTF.
    std::string MemoRtf() const;
    // The current selection as the clipboard gets it (plain text, HTML and RTF); null when
    // nothing is selected.
    QMimeData* SelectionMimeData() const;

    // The step of saving after the file name has been chosen: the overwrite question, the atomic
    // write and its error message. True when the file was written.
    bool SaveToFile(const QString& fileName);

    // How a file dialog is asked for a name (empty when cancelled); replaceable for tests.
    using TFileChooser = std::function<QString(QFileDialog* dialog)>;
    void SetFileChooser(TFileChooser chooser) { mChooser = std::move(chooser); }

public slots:
    void SpeedButton1Click(); // close: clear and hide
    void sbSaveTXTClick();    // save as RTF
    void SpeedButton2Click(); // print (the caption is the job title), or a PDF when there is no printer
    void SpeedButton3Click(); // copy the selection

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(class QKeyEvent* event) override;
    void closeEvent(class QCloseEvent* event) override;

private:
    bool FormKeyPress(int key);

    QTextEdit* mMemo = nullptr;
    QFileDialog* mSaveDialog = nullptr;
    TFileChooser mChooser;
    bool mHasLine = false; // the memo holds at least one appended line
    bool mBold = false;
    int mSize = 8;
};
