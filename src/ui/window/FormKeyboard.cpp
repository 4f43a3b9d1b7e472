// The main window's keyboard: the one-character commands and the key preview that feeds them.
#include "ui/window/MKPUnit1.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>

#include "ui/dialogs/MatDialog.h"
#include "ui/dialogs/UzelDialog.h"
#include "ui/export/CanvasExport.h"
#include "ui/panel/LoadInput.h"
#include "ui/panel/ObjectPanel.h"
#include "ui/window/CanvasWidget.h"

void TForm1::FormKeyPress(QChar key) {
    Klavesa(key);
}

void TForm1::Klavesa(QChar key) {
    switch (key.unicode()) {
    case '-':
        Button3Click();
        break;
    case '+':
        Button2Click();
        break;
    case '*':
        ShowAllBtnClick();
        break;
    case 'p':
        CreateMemberP();
        break;
    case 'r':
        RefPointAD();
        break;
    case 'R':
        SetRefPoint();
        break;
    case ' ':
        mPanel->NextPage();
        break;
    case 'f':
        PrizpusobMeritkoClick();
        break;
    case '<':
    case '>':
        if (TPrut* m = mSpace.CurrentMember) {
            bool& hinge = key == '<' ? m->HingeA : m->HingeB;
            hinge = !hinge;
            ModelEdited();
            mSpace.Prekresli();
        }
        break;
    case 'u':
        sbNCoorCh1Click("sbNewNCoor");
        break;
    case 't':
        sbNCoorCh1Click("sbNCoorCh1");
        break;
    case 'l':
        FormZatizeni(mPanel->MenuIndex() == 1 ? "sbAddLU" : "sbAddLP");
        break;
    default:
        break;
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == mSelectedNodesCaption) {
            UnselectNodes();
            return true;
        }
        if (watched == mSelectedMembersCaption) {
            ClrSeznamVP();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        // A click that chooses an item of a menu.
        auto* menu = qobject_cast<QMenu*>(watched);
        QAction* item = menu ? menu->activeAction() : nullptr;
        if (item && item->isEnabled() && !item->menu() && !item->isSeparator()) mMenuChosen.start();
    }
    if ((event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) &&
        mMenuChosen.isValid() && mMenuChosen.elapsed() < QApplication::doubleClickInterval()) {
        // The rest of a double click on a menu item, landing on whatever lay under the menu.
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this && !qobject_cast<QMenuBar*>(w)) return true;
    }
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        if (watched && watched == mGridButton) {
            GridEdit();
            return true;
        }
        if (watched && watched == mSnapButton) {
            SnapEdit();
            return true;
        }
    }
    if (event->type() == QEvent::Leave && mCanvas && watched == mCanvas->Area()) HidePointerValue();
    // Key preview: a printable character typed anywhere in this window is a command and reaches
    // no control.
    if (event->type() == QEvent::KeyPress) {
        auto* w = qobject_cast<QWidget*>(watched);
        const bool ours = w && (w->window() == this || mPanel->isAncestorOf(w) || w == mPanel);
        // Esc takes the pinned values off the canvas.
        if (ours && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !mSpace.ValueMarks.empty()) {
            ClearValueMarks();
            mSpace.Prekresli();
            return true;
        }
        if (ours && !mPanel->HasOwnKeyHandler(w)) {
            auto* key = static_cast<QKeyEvent*>(event);
            const QString text = key->text();
            const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
            if (text.size() == 1 && text.at(0).isPrint() && !command) {
                FormKeyPress(text.at(0));
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
