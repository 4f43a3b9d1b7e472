#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTimer>

#include "MainWindowTestSupport.h"
#include "canvas/WmfPainter.h"
#include "ui/export/CanvasExport.h"
#include "ui/export/PrintFallback.h"

namespace {
const QString KExample = QStringLiteral(KORVAN_SOURCE_DIR "/examples/portal-frame.inp");

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Runs a tool of the system; its standard output, or a null array when it failed.
QByteArray RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return {};
    QByteArray out = p.readAllStandardOutput();
    if (out.isNull()) out = QByteArray("");
    return out;
}

// Answers the next modal file dialog with a typed name (or cancels it for an empty name).
void AnswerFileDialog(const QString& typed) {
    QTimer::singleShot(0, [typed] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        if (typed.isEmpty()) {
            d->reject();
            return;
        }
        d->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
        static_cast<QDialog*>(d)->accept();
    });
}

class TCurrentDirGuard {
public:
    TCurrentDirGuard() : mDir(QDir::currentPath()) {}
    ~TCurrentDirGuard() { QDir::setCurrent(mDir); }

private:
    QString mDir;
};

// Restores the printer query and the PDF chooser after a test.
struct TPrintSeamsGuard {
    ~TPrintSeamsGuard() {
        SetPrinterAvailability(nullptr);
        SetPdfFileChooser(nullptr);
    }
};

// The number of drawn shapes in an SVG text (lines, polylines, paths, rectangles, ellipses).
int Shapes(const QByteArray& svg) {
    int n = 0;
    for (const char* tag : {"<line", "<polyline", "<polygon", "<path", "<rect", "<ellipse", "<circle"})
        n += static_cast<int>(svg.count(tag));
    return n;
}

// Dark pixels of an image (anything clearly not white).
int DarkPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160) ++n;
    return n;
}
} // namespace

class TCanvasExportTest : public TMainWindowTest {
protected:
    void SetUp() override {
        TMainWindowTest::SetUp();
        Form->OpenProjectFile(KExample);
        ASSERT_TRUE(Sink.Messages.empty());
        ASSERT_GT(Space().Members.Count(), 0);
        QDir::setCurrent(Dir.path());
    }
    QString Path(const char* name) const { return QDir(Dir.path()).absoluteFilePath(name); }

    TCurrentDirGuard KeepDir;
    QTemporaryDir Dir;
    TPrintSeamsGuard KeepSeams;
};

TEST_F(TCanvasExportTest, CommandsAreEnabledWithTheirShortcut) {
    for (const char* name : {"UlozitWMF1", "Tisk1", "Kopirovat1", "Napoveda1", "Oprogramu1"})
        EXPECT_TRUE(Form->MenuItem(name)->isEnabled()) << name;
    EXPECT_EQ(Form->MenuItem("Kopirovat1")->shortcut(), QKeySequence("Ctrl+C"));
    QFileDialog* d = Form->SaveDialog2();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->defaultSuffix(), "wmf");
    EXPECT_TRUE(d->nameFilters().join(";").startsWith(QString::fromUtf8("obrázky WMF (*.WMF")));
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
}

// The metafile of the portal frame in every display mode: libwmf reads it and draws as many
// shapes as the SVG of the same view has (both are the one repaint).
TEST_F(TCanvasExportTest, MetafileIsReadByLibwmfInEveryDisplayMode) {
    if (QStandardPaths::findExecutable("wmf2svg").isEmpty()) GTEST_SKIP() << "wmf2svg is not installed";
    Form->sbComputeClick();
    ASSERT_TRUE(Space().ResultsValid);
    for (int mode = 0; mode < 5; ++mode) {
        Form->FlatTabControl2()->setCurrentIndex(mode);
        const QString file = Path(qPrintable(QString("mode%1.wmf").arg(mode)));
        ASSERT_TRUE(SaveWMF(Space(), file, TCanvasExportMode::Metafile, Form.get())) << mode;
        const QByteArray bytes = ReadAll(file);
        ASSERT_GE(bytes.size(), 22 + 18) << mode;
        EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xD7) << "placeable key";
        EXPECT_EQ(static_cast<unsigned char>(bytes[3]), 0x9A);
        const QByteArray svg = RunTool("wmf2svg", {file});
        ASSERT_FALSE(svg.isNull()) << "libwmf refused mode " << mode;
        EXPECT_GT(Shapes(svg), 10) << mode;
    }
    EXPECT_TRUE(Sink.Messages.empty());
}

TEST_F(TCanvasExportTest, SaveCommandAddsExtensionAndAsksBeforeOverwriting) {
    AnswerFileDialog("portal");
    Form->UloitjakoWMF1Click();
    const QString file = Path("portal.wmf");
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_TRUE(Sink.Questions.empty());
    EXPECT_EQ(ReadAll(file), CanvasWmf(Space()));

    struct TCase {
        const char* What;
        bool Answer;
        bool Replaced;
    };
    const TCase cases[] = {{"No keeps the file", false, false}, {"Yes replaces it", true, true}};
    for (const TCase& c : cases) {
        WriteAll(file, "old");
        Sink.Questions.clear();
        Sink.Answers = {c.Answer};
        AnswerFileDialog(file);
        Form->UloitjakoWMF1Click();
        ASSERT_EQ(Sink.Questions.size(), 1u) << c.What;
        EXPECT_EQ(Sink.Questions[0], "Soubor existuje. Nahradit?");
        EXPECT_EQ(ReadAll(file) != "old", c.Replaced) << c.What;
    }

    // A cancelled dialog writes nothing and asks nothing.
    Sink.Questions.clear();
    AnswerFileDialog({});
    Form->UloitjakoWMF1Click();
    EXPECT_TRUE(Sink.Questions.empty());
    EXPECT_EQ(QDir(Dir.path()).entryList({"*.wmf"}, QDir::Files), QStringList{"portal.wmf"});
}

// A file that cannot be written is reported, not passed over as saved.
TEST_F(TCanvasExportTest, UnwritableMetafileIsReported) {
    const QString file = Path("missing-folder/picture.wmf");
    EXPECT_FALSE(SaveWMF(Space(), file, TCanvasExportMode::Metafile, Form.get()));
    ASSERT_EQ(Sink.Messages.size(), 1u);
    EXPECT_EQ(Sink.Messages[0], "Při ukládání se vyskytla chyba. Soubor nebyl uložen.");
    EXPECT_FALSE(QFile::exists(file));
}

// Copying before any metafile was saved: an image of the canvas, SVG and the metafile.
TEST_F(TCanvasExportTest, CopyPutsImageSvgAndMetafileOnTheClipboard) {
    QGuiApplication::clipboard()->clear();
    Form->CopytoClipboard1Click();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    for (const char* format : {"application/x-qt-image", KSvgMimeType, KWmfMimeType})
        EXPECT_TRUE(data->hasFormat(format))
            << format << " missing in " << data->formats().join(" ").toStdString();

    const QImage image = qvariant_cast<QImage>(data->imageData());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(Space().Width, Space().Height));
    EXPECT_GT(DarkPixels(image), 200) << "the frame is drawn";

    QSvgRenderer svg(data->data(KSvgMimeType));
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(0, 0, Space().Width, Space().Height));
    EXPECT_GT(Shapes(data->data(KSvgMimeType)), 10);

    // The metafile on the clipboard is a whole file that libwmf reads.
    const QByteArray wmf = data->data(KWmfMimeType);
    EXPECT_EQ(wmf, CanvasWmf(Space()));
    if (!QStandardPaths::findExecutable("wmf2svg").isEmpty()) {
        const QString file = Path("clip.wmf");
        WriteAll(file, wmf);
        EXPECT_FALSE(RunTool("wmf2svg", {file}).isNull());
    }
}

// Each copy is of the view at that moment.
TEST_F(TCanvasExportTest, CopyFollowsTheView) {
    Form->CopytoClipboard1Click();
    const QByteArray before = QGuiApplication::clipboard()->mimeData()->data(KWmfMimeType);
    Space().ZoomAboutCentre(Space().Zoom() / 2);
    Form->CopytoClipboard1Click();
    const QByteArray after = QGuiApplication::clipboard()->mimeData()->data(KWmfMimeType);
    EXPECT_NE(before, after);
    EXPECT_EQ(after, CanvasWmf(Space()));
}

// Without a printer: the question, then a PDF of one landscape page with the picture on it.
TEST_F(TCanvasExportTest, PrintWithoutPrinterOffersPdf) {
    SetPrinterAvailability([] { return false; });
    QString suggested;
    const QString pdf = Path("canvas.pdf");
    SetPdfFileChooser([&](QWidget*, const QString& name) {
        suggested = name;
        return pdf;
    });
    Sink.Answers = {true};
    Form->PrintCanvas1Click();
    ASSERT_EQ(Sink.Questions.size(), 1u);
    EXPECT_EQ(Sink.Questions[0], "Není k dispozici žádná tiskárna. Uložit místo tisku soubor PDF?");
    EXPECT_TRUE(Sink.Messages.empty());
    EXPECT_TRUE(suggested.endsWith(".pdf")) << suggested.toStdString();
    const QByteArray bytes = ReadAll(pdf);
    ASSERT_TRUE(bytes.startsWith("%PDF-"));
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty()) GTEST_SKIP() << "pdfinfo is not installed";
    const QString info = QString::fromUtf8(RunTool("pdfinfo", {pdf}));
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\b"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+84[12](\\.\\d+)? x 595(\\.\\d+)?")))
        << info.toStdString();
    if (QStandardPaths::findExecutable("pdftoppm").isEmpty()) return;
    // Rendered, the picture fills the width of the page between the margins.
    RunTool("pdftoppm", {"-png", "-r", "30", "-singlefile", pdf, Path("page")});
    const QImage page(Path("page.png"));
    ASSERT_FALSE(page.isNull());
    int left = page.width(), right = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 160) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_GT(right - left, page.width() / 3) << "the frame is scaled up onto the page";
}

TEST_F(TCanvasExportTest, PdfFallbackDeclinedCancelledOrKeptWritesNothing) {
    SetPrinterAvailability([] { return false; });
    const QString pdf = Path("kept.pdf");
    struct TCase {
        const char* What;
        std::deque<bool> Answers;
        QString Chosen;
        bool Exists;
        size_t Questions;
    };
    const TCase cases[] = {
        {"No to the PDF question", {false}, pdf, false, 1},
        {"no file chosen", {true}, QString(), false, 1},
        {"No to overwriting", {true, false}, pdf, true, 2},
    };
    for (const TCase& c : cases) {
        QFile::remove(pdf);
        if (c.Exists) WriteAll(pdf, "old");
        Sink.Questions.clear();
        Sink.Answers = c.Answers;
        SetPdfFileChooser([&c](QWidget*, const QString&) { return c.Chosen; });
        EXPECT_FALSE(SaveWMF(Space(), {}, TCanvasExportMode::Print, Form.get())) << c.What;
        EXPECT_EQ(Sink.Questions.size(), c.Questions) << c.What;
        EXPECT_EQ(QFile::exists(pdf), c.Exists) << c.What;
        if (c.Exists) EXPECT_EQ(ReadAll(pdf), "old") << c.What;
    }
    EXPECT_TRUE(Sink.Messages.empty());
}

// A page painter that fails, or a folder that does not exist, is reported and leaves no file.
TEST_F(TCanvasExportTest, FailedPdfIsReported) {
    SetPrinterAvailability([] { return false; });
    struct TCase {
        const char* What;
        QString File;
        bool PaintOk;
    };
    const TCase cases[] = {{"painter fails", Path("a.pdf"), false}, {"no folder", Path("none/b.pdf"), true}};
    for (const TCase& c : cases) {
        Sink.Messages.clear();
        SetPdfFileChooser([&c](QWidget*, const QString&) { return c.File; });
        const TPrintOutcome outcome =
            PrintOrSavePdf(Form.get(), "Test", [&c](QPagedPaintDevice&) { return c.PaintOk; });
        EXPECT_EQ(outcome, TPrintOutcome::Failed) << c.What;
        ASSERT_EQ(Sink.Messages.size(), 1u) << c.What;
        EXPECT_EQ(Sink.Messages[0], "Při ukládání se vyskytla chyba. Soubor nebyl uložen.");
        EXPECT_FALSE(QFile::exists(c.File)) << c.What;
    }
}

TEST(PrintFallback, PdfNameFromTitle) {
    const struct {
        const char* Title;
        const char* Name;
    } cases[] = {
        {"Výsledky výpočtu", "Výsledky výpočtu.pdf"},
        {"a/b:c*?", "a_b_c__.pdf"},
        {"  ", "tisk.pdf"},
        {"..", "tisk.pdf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PdfNameFromTitle(QString::fromUtf8(c.Title)), QString::fromUtf8(c.Name)) << c.Title;
}
