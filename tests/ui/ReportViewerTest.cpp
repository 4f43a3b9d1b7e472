// The report viewer with the main window: F12 and the protocol fill it from the core's documents,
// saving writes the memo as edited as RTF that a word processor reads back, Enter and Esc close
// and clear it, copying puts the selection on the clipboard, printing without a printer offers a
// PDF.
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QMimeData>
#include <QTextBlock>
#include <QScrollBar>
#include <QTextEdit>
#include <QTextLayout>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "MainWindowTestSupport.h"
#include "model/Zatizeni.h"
#include "reports/DocumentWriters.h"
#include "reports/ResultsReport.h"
#include "ui/panel/ObjectPanel.h"
#include "ui/export/PrintFallback.h"
#include "ui/export/VyslMemo.h"

namespace fs = std::filesystem;

namespace {
std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct TTempDir {
    fs::path Path;
    TTempDir() {
        Path = fs::temp_directory_path() /
               (std::string("korvan-viewer-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Path);
        fs::create_directories(Path);
    }
    ~TTempDir() {
        std::error_code ec;
        fs::permissions(Path, fs::perms::owner_all, ec);
        fs::remove_all(Path, ec);
    }
};

class TReportViewerTest : public TMainWindowTest {
protected:
    // A 4 m beam fixed at node 1 and on a roller at node 2 with a point force at mid-span, and a
    // node 3 that no member uses.
    void BuildBeam() {
        AddSection();
        TUzel* a = Space().PridejUzel(1, 0, 0);
        TUzel* b = Space().PridejUzel(2, 4, 0);
        Space().PridejUzel(3, 8, 2);
        a->DofU.Fixed = a->DofW.Fixed = a->DofRot.Fixed = true;
        b->DofW.Fixed = true;
        TPrut* m = Space().PridejPrut(a, b, Space().CurrentSection, false, 1, false, false);
        m->PridejZatizeni(KLoadForce, nullptr, 2, 0, 10, 0, 90);
        Space().CurrentMember = m;
    }
    TForm6* Viewer() { return Form->Form6(); }
    QTextEdit* Memo() { return Viewer()->Memo1(); }
    QToolButton* Button(const char* name) { return Viewer()->findChild<QToolButton*>(name); }
};

TEST_F(TReportViewerTest, F12ShowsTheCoreReportInItsStyles) {
    BuildBeam();
    Form->sbComputeClick();
    ASSERT_TRUE(Space().ResultsValid);
    EXPECT_TRUE(Form->MenuItem("Vysledky1")->isEnabled());
    Form->MenuItem("Vysledky1")->trigger();

    TStyledDocument expected;
    BuildResultsReport(Space(), expected);
    EXPECT_TRUE(Viewer()->isVisible());
    EXPECT_EQ(Viewer()->windowTitle(), QString::fromUtf8("Výsledky výpočtu"));
    // The memo holds the document's lines as they are, one paragraph each, in their styles.
    const QTextDocument* doc = Memo()->document();
    ASSERT_EQ(doc->blockCount(), int(expected.Lines().size()));
    int i = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next(), ++i) {
        const TStyledLine& line = expected.Lines()[std::size_t(i)];
        EXPECT_EQ(b.text().toStdString(), line.Text) << i;
        const QTextCharFormat f = b.text().isEmpty() ? b.charFormat() : b.begin().fragment().charFormat();
        EXPECT_EQ(f.fontWeight() >= QFont::Bold, line.Bold) << line.Text;
        EXPECT_EQ(f.fontPointSize(), line.Size) << line.Text;
    }
    // The memo's own RTF of an unedited report is the core's RTF of the document.
    EXPECT_EQ(Viewer()->MemoRtf(), DocumentToRtf(expected));
    EXPECT_EQ(Viewer()->size(), QSize(649, 442));
    EXPECT_EQ(Viewer()->property("HelpContext").toInt(), 260);
}

TEST_F(TReportViewerTest, ProtocolCleansTheModelAndListsIt) {
    BuildBeam();
    Space().PridejProfil("unused", Space().PridejMaterial("unused material", 1000, 1), 1, 1, 1);
    Form->MenuItem("Protokol1")->trigger();
    EXPECT_EQ(Space().Nodes.Count(), 2);
    EXPECT_EQ(Space().Sections.Count(), 1);
    EXPECT_EQ(Space().Materials.Count(), 1);
    EXPECT_EQ(Form->Panel()->cbProfily()->count(), 1);
    EXPECT_EQ(Form->Panel()->cbMaterialy()->count(), 1);
    EXPECT_EQ(Viewer()->windowTitle(), "Protokol");
    const QString text = Memo()->toPlainText();
    EXPECT_TRUE(text.startsWith("PROTOKOL\n")) << text.toStdString();
    EXPECT_FALSE(text.contains("[3]:")) << text.toStdString();
    EXPECT_FALSE(text.contains("unused")) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("[1] P: 10.000kN, poloha: 2.000m"))) << text.toStdString();
}

TEST_F(TReportViewerTest, EnterAndEscCloseAndClear) {
    BuildBeam();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        Form->Reakce1Click();
        ASSERT_TRUE(Viewer()->isVisible());
        ASSERT_FALSE(Memo()->toPlainText().isEmpty());
        Memo()->setFocus();
        QTest::keyClick(Memo(), key);
        EXPECT_FALSE(Viewer()->isVisible()) << key;
        EXPECT_TRUE(Memo()->toPlainText().isEmpty()) << key;
    }
    // Other keys edit the memo.
    Form->Reakce1Click();
    Memo()->moveCursor(QTextCursor::End);
    QTest::keyClicks(Memo(), "xy");
    EXPECT_TRUE(Memo()->toPlainText().endsWith("xy"));
    EXPECT_TRUE(Viewer()->isVisible());
    QTest::mouseClick(Button("SpeedButton1"), Qt::LeftButton);
    EXPECT_FALSE(Viewer()->isVisible());
    EXPECT_TRUE(Memo()->toPlainText().isEmpty());
}

TEST_F(TReportViewerTest, CopyPutsTheSelectionOnTheClipboard) {
    BuildBeam();
    Form->Protokol1Click();
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setText("before");
    // Nothing selected: nothing copied.
    QTest::mouseClick(Button("SpeedButton3"), Qt::LeftButton);
    EXPECT_EQ(clipboard->text(), "before");

    QTextCursor c(Memo()->document());
    c.movePosition(QTextCursor::Start);
    c.movePosition(QTextCursor::NextBlock, QTextCursor::MoveAnchor, 2); // "MATERIÁLY"
    c.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, 2);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    Memo()->setTextCursor(c);
    QTest::mouseClick(Button("SpeedButton3"), Qt::LeftButton);
    const QMimeData* mime = clipboard->mimeData();
    ASSERT_NE(mime, nullptr);
    const QString selected = c.selectedText().replace(QChar::ParagraphSeparator, '\n');
    EXPECT_TRUE(selected.startsWith(QString::fromUtf8("MATERIÁLY\n[1] S235"))) << selected.toStdString();
    EXPECT_EQ(mime->text(), selected);
    EXPECT_TRUE(mime->hasHtml());
    const std::string rtf = mime->data("text/rtf").toStdString();
    EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u) << rtf;
    // The heading keeps its bold size-10 style in the rich text.
    EXPECT_NE(rtf.find("\\plain\\f0\\b\\fs20 MATERI\\u193\\'c1LY\\par"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\plain\\f0\\fs16 [1] S235"), std::string::npos) << rtf;

    // The copy keys in the memo copy the same way.
    clipboard->setText("before");
    QTest::keyClick(Memo(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), selected);
    EXPECT_TRUE(clipboard->mimeData()->hasFormat("text/rtf"));
}

TEST_F(TReportViewerTest, SaveAsksBeforeReplacingAndWritesRtfWhateverTheName) {
    BuildBeam();
    TTempDir dir;
    const QString started = QDir::currentPath();
    struct TRestore {
        QString Dir;
        ~TRestore() { QDir::setCurrent(Dir); }
    } restore{started};
    Form->Reakce1Click();
    const fs::path file = dir.Path / "report.txt";
    std::ofstream(file) << "old";
    struct Row {
        bool answer;
        bool written;
    } const rows[] = {{false, false}, {true, true}};
    for (const Row& r : rows) {
        Sink.Answers = {r.answer};
        Sink.Questions.clear();
        Viewer()->SetFileChooser([&](QFileDialog* d) {
            EXPECT_EQ(d->directory().absolutePath(), QDir::current().absolutePath());
            EXPECT_TRUE(d->nameFilters().isEmpty() || d->nameFilters() == QStringList{"All Files (*)"} ||
                        d->nameFilters() == QStringList{"*"});
            EXPECT_TRUE(d->defaultSuffix().isEmpty());
            return QString::fromStdString(file.string());
        });
        Viewer()->sbSaveTXTClick();
        ASSERT_EQ(Sink.Questions.size(), 1u);
        EXPECT_EQ(Sink.Questions[0], "Soubor existuje. Nahradit?");
        EXPECT_EQ(ReadFile(file) == "old", !r.written);
    }
    EXPECT_EQ(ReadFile(file), Viewer()->MemoRtf());
    EXPECT_TRUE(Sink.Messages.empty());
    // The folder of the chosen file became the working directory.
    EXPECT_EQ(fs::path(QDir::currentPath().toStdString()), dir.Path);

    // A new name is written without a question; a cancelled dialog writes nothing.
    Sink.Questions.clear();
    const fs::path fresh = dir.Path / "fresh";
    Viewer()->SetFileChooser([&](QFileDialog*) { return QString::fromStdString(fresh.string()); });
    Viewer()->sbSaveTXTClick();
    EXPECT_TRUE(Sink.Questions.empty());
    EXPECT_EQ(ReadFile(fresh).rfind("{\\rtf1", 0), 0u);
    Viewer()->SetFileChooser([](QFileDialog*) { return QString(); });
    fs::remove(fresh);
    Viewer()->sbSaveTXTClick();
    EXPECT_FALSE(fs::exists(fresh));
}

TEST_F(TReportViewerTest, AFailedWriteSaysSoAndKeepsWhatWasThere) {
    BuildBeam();
    TTempDir dir;
    std::ofstream(dir.Path / "plain") << "old";
    fs::create_directories(dir.Path / "folder" / "inner");
    Form->Reakce1Click();
    // A name under a regular file cannot be created; a folder cannot be replaced by a file.
    for (const fs::path& target : {dir.Path / "plain" / "report.rtf", dir.Path / "folder"}) {
        Sink.Messages.clear();
        EXPECT_FALSE(Viewer()->SaveToFile(QString::fromStdString(target.string()))) << target;
        ASSERT_EQ(Sink.Messages.size(), 1u) << target;
        EXPECT_EQ(Sink.Messages[0], "Při ukládání se vyskytla chyba. Soubor nebyl uložen.");
    }
    EXPECT_EQ(ReadFile(dir.Path / "plain"), "old");
    EXPECT_TRUE(fs::is_directory(dir.Path / "folder" / "inner"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path), fs::directory_iterator()), 2);
}

bool HaveSoffice() {
    return std::system("command -v soffice >/dev/null 2>&1") == 0;
}

// What is saved is the memo as the user edited it: LibreOffice reads the RTF back to the same
// text, Czech letters, blanks and the edits included.
TEST_F(TReportViewerTest, SavedRtfReadsBackToTheEditedText) {
    if (!HaveSoffice()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    BuildBeam();
    TTempDir dir;
    Form->Protokol1Click();
    QTextCursor c(Memo()->document());
    c.movePosition(QTextCursor::End);
    c.insertText(QString::fromUtf8("  Poznámka: žluťoučký kůň {\\} 1½"));
    c.movePosition(QTextCursor::Start);
    c.movePosition(QTextCursor::NextBlock);
    c.insertText("x");
    const QString edited = Memo()->toPlainText();
    const fs::path file = dir.Path / "protokol.txt"; // the extension does not matter
    ASSERT_TRUE(Viewer()->SaveToFile(QString::fromStdString(file.string())));
    fs::rename(file, dir.Path / "protokol.rtf");
    const std::string cmd = "cd '" + dir.Path.string() + "' && soffice -env:UserInstallation=file://" +
                            (dir.Path / "profile").string() +
                            " --headless --convert-to 'txt:Text (encoded):UTF8' --outdir out protokol.rtf >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::string back = ReadFile(dir.Path / "out" / "protokol.txt");
    for (const std::string mark : {"\xEF\xBB\xBF", "\xE2\x80\x86", "\r"})
        for (auto p = back.find(mark); p != std::string::npos; p = back.find(mark)) back.erase(p, mark.size());
    while (!back.empty() && back.back() == '\n') back.pop_back();
    EXPECT_EQ(back, edited.toStdString());
}

TEST_F(TReportViewerTest, PrintingWithoutAPrinterOffersAPdfOfTheEditedMemo) {
    BuildBeam();
    TTempDir dir;
    Form->Reakce1Click();
    SetPrinterAvailability([] { return false; });
    const fs::path pdf = dir.Path / "report.pdf";
    QString suggested;
    SetPdfFileChooser([&](QWidget*, const QString& name) {
        suggested = name;
        return QString::fromStdString(pdf.string());
    });
    Sink.Answers = {false};
    Viewer()->SpeedButton2Click();
    ASSERT_EQ(Sink.Questions.size(), 1u);
    EXPECT_FALSE(fs::exists(pdf));
    Viewer()->SpeedButton2Click();
    SetPrinterAvailability(nullptr);
    SetPdfFileChooser(nullptr);
    EXPECT_EQ(suggested, Viewer()->windowTitle() + ".pdf");
    const std::string bytes = ReadFile(pdf);
    EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
    EXPECT_NE(bytes.find("/Title"), std::string::npos);
    EXPECT_TRUE(Sink.Messages.empty());
}
} // namespace

// The protocol's clean-up leaves the combo boxes on the current section and material: the one
// chosen when it is still used, else the section of the current member.
TEST_F(TReportViewerTest, ProtocolKeepsTheCurrentSectionInTheLists) {
    struct TRow {
        const char* Name;
        const char* Current; // section made current before the protocol
        const char* Shown;   // section shown afterwards
        int Sections;
    } rows[] = {
        {"a used section stays current", "HEB 200", "HEB 200", 2},
        {"an unused one gives way to the member's", "unused", "IPE 300", 2},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Name);
        Space().SmazVse();
        BuildBeam();
        TMaterial* steel = Space().Materials[0];
        TProfil* heb = Space().PridejProfil("HEB 200", steel, 0.00781L, 0.0000570L, 0.0000200L);
        Space().PridejProfil("unused", Space().PridejMaterial("unused material", 1000, 1), 1, 1, 1);
        TUzel* c = Space().PridejUzel(4, 4, 3);
        Space().PridejPrut(Space().Nodes[1], c, heb, false, 1, false, false);
        Space().CurrentMember = Space().Members[0];
        Space().CurrentSection = Space().Sections.NajdiProfil(r.Current);
        Space().CurrentMaterial = Space().CurrentSection->Material;
        Form->MenuItem("Protokol1")->trigger();
        QComboBox* sections = Form->Panel()->cbProfily();
        ASSERT_EQ(sections->count(), r.Sections);
        EXPECT_EQ(sections->currentText(), QString::fromUtf8(r.Shown));
        EXPECT_EQ(sections->itemText(sections->currentIndex()), QString::fromUtf8(r.Shown));
        QComboBox* materials = Form->Panel()->cbMaterialy();
        ASSERT_EQ(materials->count(), 1);
        EXPECT_EQ(materials->currentText(), "S235");
    }
}

// The memo scrolls only up and down: a line wider than the window wraps and every word of it
// stays within the visible width.
TEST_F(TReportViewerTest, LongLinesWrapWithinTheMemo) {
    struct TRow {
        const char* Name;
        int Words;
        bool Wraps;
    } rows[] = {{"a short line", 3, false}, {"a line three times the width", 60, true}};
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Name);
        TStyledDocument doc;
        doc.SetStyle(false, 8);
        std::string line;
        for (int i = 0; i < r.Words; ++i) line += "Zatížení" + std::to_string(i) + " ";
        doc.AppendLine(line);
        doc.SetCaption("Protokol");
        Viewer()->ShowDocument(doc);
        QApplication::processEvents();
        const QTextBlock block = Memo()->document()->firstBlock();
        ASSERT_TRUE(block.layout());
        EXPECT_EQ(block.layout()->lineCount() > 1, r.Wraps);
        EXPECT_LE(Memo()->document()->idealWidth(), Memo()->viewport()->width() + 1);
        EXPECT_FALSE(Memo()->horizontalScrollBar()->isVisible());
    }
}
