#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QTextBrowser>

#include "MainWindowTestSupport.h"
#include "ui/help/About.h"
#include "ui/help/HelpWindow.h"
#include "ui/dialogs/ZatizeniDialog1.h"

namespace {
const QString KHelpDir = QStringLiteral(KORVAN_SOURCE_DIR "/data/help");

QString ReadText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList HelpPages() {
    return QDir(KHelpDir).entryList({"*.htm"}, QDir::Files, QDir::Name);
}

// The anchors a page defines (id="…" or name="…").
QSet<QString> Anchors(const QString& html) {
    QSet<QString> anchors;
    static const QRegularExpression re(R"re(\b(?:id|name)\s*=\s*"([^"]+)")re");
    for (auto m = re.globalMatch(html); m.hasNext();)
        anchors.insert(m.next().captured(1));
    return anchors;
}

// The link targets of a page (href="…").
QStringList Links(const QString& html) {
    QStringList links;
    static const QRegularExpression re(R"re(\bhref\s*=\s*"([^"]*)")re");
    for (auto m = re.globalMatch(html); m.hasNext();)
        links << m.next().captured(1);
    return links;
}

// Whether "page#anchor" (or "#anchor" within from) names an existing page and anchor.
QString Unresolved(const QString& from, const QString& link) {
    const QString file = link.section('#', 0, 0).isEmpty() ? from : link.section('#', 0, 0);
    const QString anchor = link.section('#', 1);
    const QString html = ReadText(KHelpDir + "/" + file);
    if (html.isEmpty()) return "no page " + file;
    if (!anchor.isEmpty() && !Anchors(html).contains(anchor)) return "no anchor " + anchor + " in " + file;
    return {};
}

// The help window closed and forgotten between tests.
struct THelpWindowGuard {
    ~THelpWindowGuard() { THelpWindow::Destroy(); }
};
} // namespace

TEST(HelpPages, EveryLinkResolvesAndEveryPageIsReachable) {
    const QStringList pages = HelpPages();
    ASSERT_GE(pages.size(), 10);
    ASSERT_TRUE(pages.contains(KHelpStartPage));
    ASSERT_TRUE(pages.contains(KHelpIndexPage));
    QSet<QString> reached{KHelpStartPage};
    QStringList queue{KHelpStartPage};
    while (!queue.isEmpty()) {
        const QString page = queue.takeFirst();
        const QString html = ReadText(KHelpDir + "/" + page);
        for (const QString& link : Links(html)) {
            if (link.startsWith("http://") || link.startsWith("https://") || link.startsWith("mailto:"))
                continue;
            const QString problem = Unresolved(page, link);
            EXPECT_TRUE(problem.isEmpty())
                << page.toStdString() << ": " << link.toStdString() << ": " << problem.toStdString();
            const QString target = link.section('#', 0, 0);
            if (!target.isEmpty() && !reached.contains(target)) {
                reached.insert(target);
                queue << target;
            }
        }
    }
    for (const QString& page : pages)
        EXPECT_TRUE(reached.contains(page)) << page.toStdString() << " is linked from no page";
}

// Each page is a UTF-8 HTML page with a title, links back to the contents, and is in the index.
TEST(HelpPages, PagesHaveTitleCharsetAndIndexEntry) {
    const QString index = ReadText(KHelpDir + "/" + KHelpIndexPage);
    QSet<QString> indexed;
    for (const QString& link : Links(index))
        indexed.insert(link.section('#', 0, 0));
    for (const QString& page : HelpPages()) {
        const QString html = ReadText(KHelpDir + "/" + page);
        SCOPED_TRACE(page.toStdString());
        EXPECT_TRUE(html.contains(
            QRegularExpression("<meta charset=\"utf-8\">", QRegularExpression::CaseInsensitiveOption)));
        EXPECT_TRUE(html.contains(QRegularExpression("<title>[^<]+</title>")));
        EXPECT_FALSE(html.contains(QChar::ReplacementCharacter)) << "not UTF-8";
        if (page != KHelpStartPage)
            EXPECT_TRUE(html.contains("href=\"obecneinformace.htm\"")) << "no way back";
        if (page != KHelpIndexPage && page != KHelpStartPage)
            EXPECT_TRUE(indexed.contains(page)) << "not in the index";
    }
}

// Every help context number of the program has a topic, and the topic exists.
TEST(HelpTopics, EveryContextMapsToAnExistingTopic) {
    const struct {
        int Context;
        const char* Page;
    } expected[] = {
        {210, "soubory.htm"},       {220, "geometrie.htm"},       {230, "geometrie.htm"},
        {240, "matice.htm"},        {250, "zatizeni.htm"},        {260, "vysledky.htm"},
        {270, "oprogramu.htm"},     {280, "profily.htm"},         {290, "oprogramu.htm"},
        {0, "obecneinformace.htm"}, {999, "obecneinformace.htm"},
    };
    for (const auto& e : expected) {
        const QString topic = HelpTopicPage(e.Context);
        EXPECT_EQ(topic.section('#', 0, 0), e.Page) << e.Context;
        EXPECT_TRUE(Unresolved(e.Page, topic).isEmpty())
            << e.Context << ": " << Unresolved(e.Page, topic).toStdString();
    }
    QSet<int> seen;
    for (const THelpTopic* t = HelpTopicsBegin(); t != HelpTopicsEnd(); ++t) {
        EXPECT_FALSE(seen.contains(t->Context)) << "twice: " << t->Context;
        seen.insert(t->Context);
    }
}

TEST(HelpTopics, HelpFolderIsFound) {
    const QString folder = HelpFolder();
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_TRUE(QFile::exists(folder + "/" + KHelpStartPage));
}

class THelpTest : public TMainWindowTest {
protected:
    THelpWindowGuard KeepHelp;
    QString Shown() { return THelpWindow::Exists() ? THelpWindow::Instance().CurrentPage() : QString(); }
};

TEST_F(THelpTest, MenuItemOpensTheStartPageInItsOwnWindow) {
    Form->MenuItem("Napoveda1")->trigger();
    ASSERT_TRUE(THelpWindow::Exists());
    THelpWindow& help = THelpWindow::Instance();
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.parentWidget(), nullptr);
    EXPECT_EQ(Shown(), KHelpStartPage);
    // The page is read as UTF-8: the Czech title and text come through.
    EXPECT_TRUE(help.Browser()->toPlainText().contains(QString::fromUtf8("Obecné informace")));
    EXPECT_TRUE(help.windowTitle().contains(QString::fromUtf8("Obecné informace")));
    EXPECT_TRUE(Sink.Messages.empty());
}

TEST_F(THelpTest, F1InAWindowOpensTheTopicOfItsHelpContext) {
    struct TCase {
        const char* What;
        int Context;      // of the dialog (0: none)
        int OwnerContext; // of a dialog that owns it (0: no such owner)
        const char* Page;
    };
    const TCase cases[] = {
        {"coordinates dialog", 230, 0, "geometrie.htm"},
        {"load dialog", 250, 0, "zatizeni.htm"},
        {"viewer", 260, 0, "vysledky.htm"},
        {"section dialog", 280, 0, "profily.htm"},
        {"dialog of a dialog takes its owner's topic", 0, 240, "matice.htm"},
        {"dialog without topic", 0, 0, "obecneinformace.htm"},
    };
    for (const TCase& c : cases) {
        THelpWindow::Destroy();
        QDialog owner(Form.get());
        if (c.OwnerContext) owner.setProperty("HelpContext", c.OwnerContext);
        QDialog dialog(c.OwnerContext ? &owner : static_cast<QWidget*>(Form.get()));
        if (c.Context) dialog.setProperty("HelpContext", c.Context);
        auto* field = new QLineEdit(&dialog);
        dialog.show();
        field->setFocus();
        QTest::keyClick(field, Qt::Key_F1);
        EXPECT_EQ(Shown(), c.Page) << c.What;
        EXPECT_TRUE(field->text().isEmpty()) << c.What;
    }
}

TEST_F(THelpTest, F1OnTheNewMenuItemOpensItsTopic) {
    QAction* item = Form->MenuItem("Nov1");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->property("HelpContext").toInt(), 210);
    QMenu* menu = nullptr;
    for (QObject* o : item->associatedObjects())
        if (auto* m = qobject_cast<QMenu*>(o)) menu = m;
    ASSERT_NE(menu, nullptr);
    menu->popup(QPoint(10, 10));
    menu->setActiveAction(item);
    QTest::keyClick(menu, Qt::Key_F1);
    EXPECT_EQ(Shown(), "soubory.htm");
    EXPECT_EQ(THelpWindow::Instance().Browser()->source().fragment(), "novy");
    menu->hide();
}

TEST_F(THelpTest, AboutBoxShowsNameYearAndItsHelpTopic) {
    TAboutBox about(Form.get());
    EXPECT_EQ(about.windowTitle(), "O programu");
    EXPECT_EQ(about.property("HelpContext").toInt(), 290);
    const QString text = about.findChild<QLabel*>("AboutText")->text();
    EXPECT_TRUE(text.contains("KORVAN")) << text.toStdString();
    EXPECT_TRUE(text.contains("2003")) << text.toStdString();
    about.show();
    QTest::keyClick(&about, Qt::Key_F1);
    EXPECT_EQ(Shown(), "oprogramu.htm");
}

TEST_F(THelpTest, LinksAndHistoryWorkInTheWindow) {
    ASSERT_TRUE(ShowHelpPage(KHelpStartPage));
    QTextBrowser* browser = THelpWindow::Instance().Browser();
    // Every page linked from the start page opens in the browser with its title.
    for (const QString& link : Links(ReadText(KHelpDir + "/" + KHelpStartPage))) {
        if (link.startsWith("http")) continue;
        // As a click on the link does: relative to the page shown.
        browser->setSource(browser->source().resolved(QUrl(link)));
        EXPECT_EQ(Shown(), link.section('#', 0, 0));
        EXPECT_FALSE(browser->documentTitle().isEmpty()) << link.toStdString();
        EXPECT_GT(browser->toPlainText().size(), 200) << link.toStdString();
    }
    EXPECT_TRUE(browser->isBackwardAvailable());
    browser->home();
    EXPECT_EQ(Shown(), KHelpStartPage);
}

TEST_F(THelpTest, MissingPageIsReported) {
    EXPECT_FALSE(ShowHelpPage("neni.htm"));
    ASSERT_EQ(Sink.Messages.size(), 1u);
    EXPECT_NE(Sink.Messages[0].find("neni.htm"), std::string::npos);
}

// The help window goes with the main window.
TEST_F(THelpTest, ClosingTheMainWindowClosesTheHelp) {
    ASSERT_TRUE(ShowHelpPage(KHelpIndexPage));
    EXPECT_EQ(Shown(), KHelpIndexPage);
    Form.reset();
    EXPECT_FALSE(THelpWindow::Exists());
}

// The load dialog of the main window: F1 in its fields opens the load topic, not the start page.
TEST_F(THelpTest, F1InTheLoadDialogOpensTheLoadTopic) {
    QDialog* dialog = Form->Form5();
    ASSERT_NE(dialog, nullptr);
    dialog->show();
    QWidget* field = dialog->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_F1);
    EXPECT_EQ(Shown(), "zatizeni.htm");
    dialog->hide();
}

// Asked for from a dialog, the help stands over the main window within the screen, not in its
// corner over the object panel; Esc closes it, and it opens again where it was left.
TEST_F(THelpTest, HelpFromADialogStandsOverTheMainWindowAndClosesWithEsc) {
    Form->move(200, 150);
    QDialog dialog(Form.get());
    auto* field = new QLineEdit(&dialog);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QTest::keyClick(field, Qt::Key_F1);
    THelpWindow& help = THelpWindow::Instance();
    ASSERT_TRUE(help.isVisible());
    EXPECT_TRUE(help.frameGeometry().contains(Form->frameGeometry().center()));
    EXPECT_TRUE(help.screen()->availableGeometry().contains(help.frameGeometry()));
    QTest::keyClick(help.Browser(), Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible());
    help.move(help.pos() + QPoint(30, 20));
    const QPoint moved = help.pos();
    ShowHelpContext(250);
    EXPECT_EQ(help.pos(), moved);
}
