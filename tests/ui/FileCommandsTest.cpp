#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <cstring>
#include <fstream>
#include <sstream>

#include "MainWindowTestSupport.h"
#include "ui/common/LibraryLookup.h"
#include "ui/panel/ObjectPanel.h"

namespace {
const QString KExample = QStringLiteral(KORVAN_SOURCE_DIR "/examples/portal-frame.inp");

void WriteFile(const QString& path, const std::string& text) {
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << text;
}

std::string ReadFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Keeps the working directory of the test process as it was.
class TCurrentDirGuard {
public:
    TCurrentDirGuard() : mDir(QDir::currentPath()) {}
    ~TCurrentDirGuard() { QDir::setCurrent(mDir); }

private:
    QString mDir;
};
} // namespace

class TFileCommandsTest : public TMainWindowTest {
protected:
    QTemporaryDir Dir;
    TCurrentDirGuard KeepDir;
};

TEST_F(TFileCommandsTest, OpenShowsTheWholeProjectAndSetsCaption) {
    Form->OpenProjectFile(KExample);
    EXPECT_TRUE(Sink.Messages.empty());
    EXPECT_EQ(Space().Nodes.Count(), 4);
    EXPECT_EQ(Space().Members.Count(), 3);
    EXPECT_EQ(Form->windowTitle(), "KORVAN - B 2D : " + KExample);
    EXPECT_EQ(Space().CurrentNode, Space().Nodes[0]);
    EXPECT_EQ(Space().CurrentMember, Space().Members[0]);
    EXPECT_EQ(Form->Panel()->cbProfily()->count(), Space().Sections.Count());
    EXPECT_EQ(Form->StatusText(0), "X(0" + QString(QChar(DecimalSeparator())) + "00)");
    EXPECT_NE(Space().Zoom(), 100); // show-all fitted the frame
}

TEST_F(TFileCommandsTest, SaveAndOpenRoundTripThroughTheDialogs) {
    Form->OpenProjectFile(KExample);
    const std::string original = [&] {
        std::ostringstream out;
        Space().UlozProjekt(out);
        return out.str();
    }();
    QDir::setCurrent(Dir.path());
    // The save dialog adds the default extension to a name typed without one.
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->findChild<QLineEdit*>("fileNameEdit")->setText("beam");
        static_cast<QDialog*>(d)->accept();
    });
    Form->tbSaveClick();
    const QString saved = QDir(Dir.path()).absoluteFilePath("beam.inp");
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_TRUE(Sink.Questions.empty());
    EXPECT_EQ(Form->windowTitle(), "KORVAN - B 2D : " + saved);

    QTimer::singleShot(0, [saved] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->findChild<QLineEdit*>("fileNameEdit")->setText(saved);
        static_cast<QDialog*>(d)->accept();
    });
    Form->nactis();
    ASSERT_EQ(Sink.Questions.size(), 1u);
    EXPECT_EQ(Sink.Questions[0], "Přejete si načíst jiný projekt? Všechny objekty budou vymazány.");
    std::ostringstream again;
    Space().UlozProjekt(again);
    EXPECT_EQ(again.str(), original);
    EXPECT_EQ(Form->windowTitle(), "KORVAN - B 2D : " + saved);
}

TEST_F(TFileCommandsTest, OverwriteQuestionAndOpenQuestion) {
    const QString file = QDir(Dir.path()).absoluteFilePath("old.inp");
    WriteFile(file, "keep");
    Form->OpenProjectFile(KExample);
    Sink.Answers = {false};
    Form->SaveProjectFile(file);
    ASSERT_EQ(Sink.Questions.size(), 1u);
    EXPECT_EQ(Sink.Questions[0], "Soubor existuje. Nahadit?");
    EXPECT_EQ(ReadFile(file), "keep");
    EXPECT_EQ(Form->windowTitle(), "KORVAN - B 2D : " + KExample);
    Sink.Answers = {true};
    Form->SaveProjectFile(file);
    EXPECT_NE(ReadFile(file), "keep");
    EXPECT_EQ(Form->windowTitle(), "KORVAN - B 2D : " + file);

    // No to the open question keeps the model.
    Sink.Answers = {false};
    Form->nactis();
    EXPECT_EQ(Space().Members.Count(), 3);
    // Yes and a cancelled dialog leave an empty model and the caption.
    QTimer::singleShot(0, [] {
        if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) d->reject();
    });
    Form->nactis();
    EXPECT_EQ(Space().Members.Count(), 0);
    EXPECT_EQ(Form->windowTitle(), "KORVAN - B 2D : " + file);
}

// A project that breaks off in the middle leaves nothing of itself and names the line.
TEST_F(TFileCommandsTest, UnreadableProjectLeavesAnEmptyModel) {
    const QString file = QDir(Dir.path()).absoluteFilePath("bad.inp");
    WriteFile(file, "*Materials\r\nM\r\nS235\r\n210000\r\n7850\r\n*Nodes\r\nU\r\n1\r\n0\r\nabc\r\n");
    Form->setWindowTitle("before");
    Form->OpenProjectFile(file);
    ASSERT_EQ(Sink.Messages.size(), 1u);
    const QString message = QString::fromStdString(Sink.Messages[0]);
    EXPECT_TRUE(message.contains("bad.inp")) << message.toStdString();
    EXPECT_TRUE(message.contains("abc")) << message.toStdString();
    EXPECT_EQ(Space().Materials.Count(), 0);
    EXPECT_EQ(Space().Nodes.Count(), 0);
    EXPECT_EQ(Form->Panel()->cbMaterialy()->count(), 0);
    EXPECT_EQ(Form->windowTitle(), "before");

    Sink.Messages.clear();
    Form->OpenProjectFile(QDir(Dir.path()).absoluteFilePath("missing.inp"));
    ASSERT_EQ(Sink.Messages.size(), 1u);
    EXPECT_NE(Sink.Messages[0].find("missing.inp"), std::string::npos);
}

TEST_F(TFileCommandsTest, SaveIntoAMissingFolderIsReported) {
    Form->OpenProjectFile(KExample);
    const QString file = QDir(Dir.path()).absoluteFilePath("no/such/folder/x.inp");
    Form->SaveProjectFile(file);
    ASSERT_EQ(Sink.Messages.size(), 1u);
    EXPECT_NE(Sink.Messages[0].find("x.inp"), std::string::npos);
    EXPECT_EQ(Form->windowTitle(), "KORVAN - B 2D : " + KExample);
}

TEST_F(TFileCommandsTest, ComputationEnablesTheResultTabsAndAnEditDisablesThem) {
    Form->OpenProjectFile(KExample);
    QTabBar* tabs = Form->FlatTabControl2();
    Form->sbComputeClick();
    ASSERT_TRUE(Space().ResultsValid);
    EXPECT_TRUE(tabs->isEnabled());
    EXPECT_TRUE(Space().Members[0]->HasResults());
    const std::pair<int, const char*> rows[] = {{3, "m"}, {4, "mm"}, {1, "m"}, {2, "m"}, {0, "m"}};
    for (const auto& [tab, unit] : rows) {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
        EXPECT_EQ(Space().TypZobrazeni(), tab);
        EXPECT_EQ(Form->StatusText(3), unit) << tab;
    }
    // Any edit of the model afterwards: back to the model view, tabs disabled.
    tabs->setCurrentIndex(3);
    Form->Klavesa('>');
    EXPECT_FALSE(tabs->isEnabled());
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(Space().TypZobrazeni(), 0);
    EXPECT_FALSE(Space().ResultsValid);

    Form->sbComputeClick();
    tabs->setCurrentIndex(3);
    Click("AddUzelBtn");
    Press(Pixel(10, 10));
    EXPECT_FALSE(tabs->isEnabled());
    EXPECT_EQ(Space().TypZobrazeni(), 0);

    Form->sbComputeClick();
    Form->Panel()->NastavPodporu(0);
    EXPECT_FALSE(tabs->isEnabled());
}

TEST_F(TFileCommandsTest, MechanismLeavesTheTabsDisabled) {
    AddSection();
    TUzel* a = Space().PridejUzel(1, 0, 0);
    TUzel* b = Space().PridejUzel(2, 3, 0);
    Space().PridejPrut(a, b, Space().CurrentSection, false, 1, false, false);
    Form->sbComputeClick();
    EXPECT_FALSE(Space().ResultsValid);
    EXPECT_FALSE(Form->FlatTabControl2()->isEnabled());
    // Without supports the elimination meets a zero pivot or the mechanism check; either way the
    // computation is refused with its message and no result tab opens.
    ASSERT_EQ(Sink.Messages.size(), 1u);
    const std::string zeroPivot = "Na diagonále matice tuhosti byla nalezena nulová hodnota. Zkontrolujte, "
                                  "prosím, podepření soustavy,";
    const std::string mechanism =
        "Zkontrolujte podepření soustavy, prosím. Konstrukce je pravděpodobně pohyblivým mechanismem.";
    EXPECT_TRUE(Sink.Messages[0] == zeroPivot || Sink.Messages[0] == mechanism) << Sink.Messages[0];
}

// A scripted computation: success opens the tabs, failure after success closes them again.
TEST_F(TFileCommandsTest, TabsFollowTheOutcomeOfEachComputation) {
    AddSection();
    Space().PridejPrut(Space().PridejUzel(1, 0, 0), Space().PridejUzel(2, 3, 0), Space().CurrentSection,
                       false, 1, false, false);
    bool succeed = true;
    int runs = 0;
    Form->SetComputation([&](TMKPSpace& s) {
        ++runs;
        s.ResultsValid = succeed;
    });
    Form->sbComputeClick();
    EXPECT_TRUE(Form->FlatTabControl2()->isEnabled());
    Form->FlatTabControl2()->setCurrentIndex(2);
    succeed = false;
    Form->Spustit1Click();
    EXPECT_FALSE(Form->FlatTabControl2()->isEnabled());
    EXPECT_EQ(Form->FlatTabControl2()->currentIndex(), 0);
    EXPECT_EQ(Space().TypZobrazeni(), 0);
    // Without members the command does nothing.
    Form->NewBtnClick();
    Form->sbComputeClick();
    EXPECT_EQ(runs, 2);
}

TEST_F(TFileCommandsTest, FixedLibrariesAreFoundInTheWorkingDirectoryThenInTheDataFolders) {
    QTemporaryDir other;
    WriteFile(QDir(Dir.path()).absoluteFilePath("matO.mat"), "M\r\nS355\r\n210000\r\n7850\r\n");
    WriteFile(QDir(other.path()).absoluteFilePath("matO.mat"), "M\r\nS235\r\n210000\r\n7850\r\n");
    WriteFile(QDir(other.path()).absoluteFilePath("crsI.crs"),
              "C\r\nI 100\r\n0.00106\r\n1.71E-06\r\n1.22E-07\r\n");
    const QStringList folders{Dir.path(), other.path()};
    EXPECT_EQ(FindLibraryFile("matO.mat", folders), QDir(Dir.path()).absoluteFilePath("matO.mat"));
    EXPECT_EQ(FindLibraryFile("crsI.crs", folders), QDir(other.path()).absoluteFilePath("crsI.crs"));
    EXPECT_TRUE(FindLibraryFile("crsT.crs", folders).isEmpty());
    EXPECT_TRUE(FindLibraryFile("crsI.crs", {Dir.path()}).isEmpty());
    EXPECT_EQ(LibraryFolders().first(), QDir::currentPath());
}

TEST_F(TFileCommandsTest, LibraryCommandsLoadAndRefreshTheLists) {
    QDir::setCurrent(Dir.path());
    // Sections need a material first.
    Form->Natiprofily1Click("crsI.crs");
    ASSERT_EQ(Sink.Messages.size(), 1u);
    EXPECT_EQ(Sink.Messages[0], "Seznam materiálů je prázdný. Vytvořte či načtěte alespoň jeden materiál.");
    Sink.Messages.clear();
    Form->NactiSLibCRS("x.crs");
    EXPECT_EQ(Sink.Messages.back(), "Seznam materiálů je prázdný. Vytvořte nový nebo načtěte knihovnu.");

    WriteFile(QDir(Dir.path()).absoluteFilePath("matO.mat"),
              "M\r\nS355\r\n210000\r\n7850\r\nM\r\nS235\r\n2\r\n3\r\n");
    Sink.Messages.clear();
    Form->Natimateril1Click("matO.mat");
    EXPECT_TRUE(Sink.Messages.empty());
    ASSERT_EQ(Space().Materials.Count(), 2);
    EXPECT_EQ(Form->Panel()->cbMaterialy()->count(), 2);
    EXPECT_EQ(Space().CurrentMaterial, Space().Materials[0]);

    const QString crs = QDir(Dir.path()).absoluteFilePath("mine.crs");
    WriteFile(
        crs,
        "C\r\nI 100\r\n0.00106\r\n1.71E-06\r\n1.22E-07\r\nC\r\nI 120\r\n0.00142\r\n3.28E-06\r\n2.15E-07\r\n");
    Form->NactiSLibCRS(crs);
    ASSERT_EQ(Space().Sections.Count(), 2);
    EXPECT_EQ(Form->Panel()->cbProfily()->count(), 2);
    EXPECT_EQ(Space().CurrentSection, Space().Sections[0]);
    EXPECT_EQ(Form->Panel()->MenuIndex(), 2);
    // Loading it twice adds nothing.
    Form->NactiSLibCRS(crs);
    EXPECT_EQ(Space().Sections.Count(), 2);

    // A fixed library that exists nowhere is named in the message.
    Sink.Messages.clear();
    Form->Natiprofily1Click("crsNone.crs");
    ASSERT_EQ(Sink.Messages.size(), 1u);
    EXPECT_NE(Sink.Messages[0].find("crsNone.crs"), std::string::npos);
}

// A new user's first frame: steel and IPE from the delivered libraries (found through the data
// folders, as the working directory has none), three members drawn with the mouse, supports on
// the feet, a hinge, saved and opened again.
TEST_F(TFileCommandsTest, FrameDrawnFromTheDeliveredLibrariesSurvivesSaveAndOpen) {
    QDir::setCurrent(Dir.path());
    Form->MenuItem("ocel2")->trigger();
    ASSERT_TRUE(Sink.Messages.empty()) << Sink.Messages[0];
    ASSERT_FALSE(Space().Materials.Empty());
    Form->MenuItem("Natiprofily_crsIPE")->trigger();
    ASSERT_TRUE(Sink.Messages.empty()) << Sink.Messages[0];
    ASSERT_FALSE(Space().Sections.Empty());
    EXPECT_EQ(Space().CurrentSection, Space().Sections[0]);

    Click("tbAddPrutFH");
    for (auto [x, y] : {std::pair{0.0L, 0.0L}, {0.0L, 3.0L}, {4.0L, 3.0L}, {4.0L, 0.0L}})
        Press(Pixel(x, y));
    Press(Pixel(2, 1), Qt::RightButton);
    ASSERT_EQ(Space().Members.Count(), 3);
    for (int i : {0, 3}) {
        Space().CurrentNode = Space().Nodes[i];
        Form->Panel()->NastavPodporu(i == 0 ? 1 : 2);
    }
    Space().CurrentMember = Space().Members[1];
    Form->Klavesa('>');
    Form->sbComputeClick();
    EXPECT_TRUE(Form->FlatTabControl2()->isEnabled());

    const QString file = QDir(Dir.path()).absoluteFilePath("frame.inp");
    Form->SaveProjectFile(file);
    std::ostringstream before;
    Space().UlozProjekt(before);
    Form->NewBtnClick();
    EXPECT_EQ(Space().Members.Count(), 0);
    Form->OpenProjectFile(file);
    std::ostringstream after;
    Space().UlozProjekt(after);
    EXPECT_EQ(after.str(), before.str());
    EXPECT_TRUE(Space().Members[1]->HingeB);
    EXPECT_TRUE(Space().Nodes[0]->DofRot.Fixed);
    EXPECT_FALSE(Form->FlatTabControl2()->isEnabled());
}

// A file that stops at a bad number names its line once, in Czech, whichever reader met it.
TEST_F(TFileCommandsTest, ReadingErrorsNameTheLineOnce) {
    const struct {
        const char* name;
        const char* file;
        const char* text; // the bad number stands on line 4
        void (TForm1::*read)(const QString&);
    } cases[] = {
        {"project, not a number", "a.inp", "*Materials\r\nM\r\nS235\r\nabc\r\n7850\r\n", &TForm1::OpenProjectFile},
        {"project, not finite", "b.inp", "*Materials\r\nM\r\nS235\r\n1e5000\r\n7850\r\n", &TForm1::OpenProjectFile},
        {"section library", "c.crs", "*IPE\r\nC\r\nIPE 80\r\nabc\r\n1e-7\r\n1e-8\r\n", &TForm1::NactiSLibCRS},
        {"material library", "d.mat", "*Ocel\r\nM\r\nS999\r\nabc\r\n7850\r\n", &TForm1::NactiMLibMAT},
    };
    for (const auto& c : cases) {
        const QString file = QDir(Dir.path()).absoluteFilePath(c.file);
        WriteFile(file, c.text);
        if (Space().Materials.Empty()) AddSection(); // a section library needs a material
        Sink.Messages.clear();
        (Form.get()->*c.read)(file);
        ASSERT_EQ(Sink.Messages.size(), 1u) << c.name;
        const QString message = QString::fromStdString(Sink.Messages[0]);
        EXPECT_TRUE(message.contains(c.file)) << message.toStdString();
        EXPECT_EQ(message.count(QString::fromUtf8("řádek 4"), Qt::CaseInsensitive), 1) << message.toStdString();
    }
}

// A folder is no file to replace: the save asks nothing and its message says why it failed.
TEST_F(TFileCommandsTest, SavingOntoAFolderAsksNothingAndSaysWhy) {
    Form->OpenProjectFile(KExample);
    Form->SaveProjectFile(Dir.path());
    EXPECT_TRUE(Sink.Questions.empty());
    ASSERT_EQ(Sink.Messages.size(), 1u);
    EXPECT_NE(Sink.Messages[0].find(std::strerror(EISDIR)), std::string::npos) << Sink.Messages[0];
    EXPECT_TRUE(QFileInfo(Dir.path()).isDir());
}
