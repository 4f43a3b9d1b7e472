#include "ui/help/HelpWindow.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "model/UserDialogs.h"
#include "ui/common/LibraryLookup.h"

namespace {
const THelpTopic KHelpTopics[] = {
    {210, "soubory.htm#novy"},         // menu item "Nový"
    {220, "geometrie.htm#hodnota"},    // the single-value dialog of the geometry tools
    {230, "geometrie.htm#souradnice"}, // the coordinates dialog
    {240, "matice.htm"},               // member matrices
    {250, "zatizeni.htm"},             // load dialog
    {260, "vysledky.htm#protokol"},    // report viewer
    {270, "oprogramu.htm"},            // splash window
    {280, "profily.htm#novyprofil"},   // section dialog
    {290, "oprogramu.htm"},            // About box
    {300, "stavy.htm#stavy"},          // load cases dialog
    {310, "stavy.htm#kombinace"},      // combinations dialog
};

THelpWindow*& TheWindow() {
    static THelpWindow* window = nullptr;
    return window;
}

// F1 anywhere in the application: the topic of the window (or of the menu item) under the key.
class THelpKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool override = event->type() == QEvent::ShortcutOverride;
        if (!override && event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget) return false;
        const int context = ContextUnderKey(widget);
        if (override) {
            // A window with a topic of its own keeps F1 from the main window's help shortcut.
            if (context == 0) return false;
            event->accept();
            return true;
        }
        ShowHelpContext(context);
        return true;
    }

private:
    static int ContextUnderKey(QWidget* widget) {
        if (auto* menu = qobject_cast<QMenu*>(widget->window()))
            if (QAction* item = menu->activeAction())
                if (const int context = item->property("HelpContext").toInt()) return context;
        return HelpContextOf(widget);
    }
};
} // namespace

const THelpTopic* HelpTopicsBegin() {
    return std::begin(KHelpTopics);
}
const THelpTopic* HelpTopicsEnd() {
    return std::end(KHelpTopics);
}

QString HelpTopicPage(int helpContext) {
    for (const THelpTopic& t : KHelpTopics)
        if (t.Context == helpContext) return QString::fromLatin1(t.Page);
    return QString::fromLatin1(KHelpStartPage);
}

QString HelpFolder() {
    const QString start =
        FindLibraryFile(QStringLiteral("help/") + QString::fromLatin1(KHelpStartPage), LibraryFolders());
    return start.isEmpty() ? QString() : QFileInfo(start).absolutePath();
}

int HelpContextOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QWidget* window = w->window();
        const int context = window->property("HelpContext").toInt();
        if (context != 0) return context;
        w = window;
    }
    return 0;
}

THelpWindow& THelpWindow::Instance() {
    if (!TheWindow()) TheWindow() = new THelpWindow;
    return *TheWindow();
}

bool THelpWindow::Exists() {
    return TheWindow() != nullptr;
}

void THelpWindow::Destroy() {
    delete TheWindow();
}

THelpWindow::THelpWindow() : QWidget(nullptr, Qt::Window) {
    setObjectName("HelpWindow");
    setWindowTitle(QString::fromUtf8("KORVAN - Nápověda"));
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QToolBar(this);
    bar->setObjectName("HelpToolBar");
    mBrowser = new QTextBrowser(this);
    mBrowser->setObjectName("HelpBrowser");
    mBrowser->setOpenExternalLinks(true);
    QAction* back = bar->addAction(QString::fromUtf8("◀ Zpět"), mBrowser, &QTextBrowser::backward);
    QAction* forward = bar->addAction(QString::fromUtf8("Vpřed ▶"), mBrowser, &QTextBrowser::forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(mBrowser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(mBrowser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    bar->addSeparator();
    bar->addAction(QString::fromUtf8("Obsah"), this, [this] { ShowPage(KHelpStartPage); });
    bar->addAction(QString::fromUtf8("Rejstřík"), this, [this] { ShowPage(KHelpIndexPage); });
    layout->addWidget(bar);
    layout->addWidget(mBrowser);
    connect(mBrowser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = mBrowser->documentTitle();
        setWindowTitle(title.isEmpty() ? QString::fromUtf8("KORVAN - Nápověda")
                                       : QString::fromUtf8("KORVAN - Nápověda: ") + title);
    });
    resize(760, 580);
}

// Esc closes the help like the program's dialogs (the browser and the buttons pass it on).
void THelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

// The help has no owner window, so nothing would place it: the window system may put it into
// a corner, over the object panel. At its first showing it stands centred over the program's
// window from which it is asked for (the main window when asked from a dialog), within the
// screen; later it opens where the user left it.
void THelpWindow::PlaceOver(const QWidget* from) {
    if (mPlaced) return;
    mPlaced = true;
    const QWidget* window = from ? from->window() : nullptr;
    while (window && window->parentWidget())
        window = window->parentWidget()->window();
    QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    winId(); // the platform window, which knows the frame's margins where the system gives them
    const QMargins margins(
        geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
        frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
    QRect frame(QPoint(), size().grownBy(margins));
    frame.moveCenter(window && window->isVisible() ? window->frameGeometry().center() : area.center());
    if (area.isValid()) {
        frame.moveRight(std::min(frame.right(), area.right()));
        frame.moveBottom(std::min(frame.bottom(), area.bottom()));
        frame.moveLeft(std::max(frame.left(), area.left()));
        frame.moveTop(std::max(frame.top(), area.top()));
    }
    move(frame.topLeft()); // a window's position is that of its frame
}

THelpWindow::~THelpWindow() {
    TheWindow() = nullptr;
}

bool THelpWindow::ShowPage(const QString& page) {
    if (mFolder.isEmpty()) mFolder = HelpFolder();
    const QString file = page.section('#', 0, 0);
    const QString anchor = page.section('#', 1);
    if (mFolder.isEmpty() || !QFileInfo(mFolder + "/" + file).isFile()) return false;
    QUrl url = QUrl::fromLocalFile(mFolder + "/" + file);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    mBrowser->setSearchPaths({mFolder});
    mBrowser->setSource(url);
    return true;
}

QString THelpWindow::CurrentPage() const {
    return QFileInfo(mBrowser->source().path()).fileName();
}

bool ShowHelpPage(const QString& page) {
    QWidget* from = QApplication::activeWindow();
    THelpWindow& window = THelpWindow::Instance();
    if (!window.ShowPage(page)) {
        Dialogs().Inform("Nápověda není k dispozici: stránka \"" + page.toStdString() +
                         "\" nebyla nalezena.");
        return false;
    }
    if (from != &window) window.PlaceOver(from);
    window.show();
    window.raise();
    window.activateWindow();
    return true;
}

bool ShowHelpContext(int helpContext) {
    return ShowHelpPage(HelpTopicPage(helpContext));
}

void InstallHelpKey() {
    static THelpKeyFilter* filter = nullptr;
    if (filter || !qApp) return;
    filter = new THelpKeyFilter(qApp);
    qApp->installEventFilter(filter);
}
