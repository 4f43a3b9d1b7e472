#pragma once
// The program's help: HTML pages in the data folder's "help" subfolder (found like the section
// and material libraries), shown in a help window of their own, and the F1 key.
//
// F1 convention: a window that has a help topic sets the property "HelpContext" to its help
// context number (setProperty("HelpContext", 230)). F1 anywhere in that window, or on a menu item
// carrying the property, opens the topic of that number; a window without one opens the topic of
// the window that owns it, and at last the start page.
#include <QString>
#include <QWidget>

class QTextBrowser;
class QToolButton;

// The start page of the help.
inline constexpr const char* KHelpStartPage = "obecneinformace.htm";
// The alphabetical index page.
inline constexpr const char* KHelpIndexPage = "rejstrik.htm";

struct THelpTopic {
    int Context;
    const char* Page; // page file name, optionally with "#anchor"
};
// Every help context number the program uses and its page.
const THelpTopic* HelpTopicsBegin();
const THelpTopic* HelpTopicsEnd();
// The page of a help context number; the start page for a number without a topic.
QString HelpTopicPage(int helpContext);

// The folder that holds the help pages (absolute), empty when no folder has the start page.
QString HelpFolder();

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    // The one help window of the program (created on first use, without an owner window).
    static THelpWindow& Instance();
    // True when it exists (for tests and shutdown).
    static bool Exists();
    static void Destroy();

    // Shows page (file name, optionally with "#anchor") of the help folder; false when the page
    // is not there.
    bool ShowPage(const QString& page);
    QTextBrowser* Browser() const { return mBrowser; }
    // The page file shown, without the folder ("podpory.htm").
    QString CurrentPage() const;
    // Before the first showing: centred over the top window of `from` (the main window when
    // `from` is one of its dialogs), within the screen. Later calls change nothing.
    void PlaceOver(const QWidget* from);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    THelpWindow();
    ~THelpWindow() override;
    QTextBrowser* mBrowser = nullptr;
    QString mFolder;
    bool mPlaced = false;
};

// Opens the help window at a page / at the topic of a context number. Says so through Dialogs()
// when the help is not installed. Returns whether the page is shown.
bool ShowHelpPage(const QString& page);
bool ShowHelpContext(int helpContext);

// The help context that F1 in this widget opens: the "HelpContext" property of its window or of
// the nearest owning window that has one; 0 when none has.
int HelpContextOf(const QWidget* widget);

// Installs the application-wide F1 handler (once; later calls do nothing).
void InstallHelpKey();
