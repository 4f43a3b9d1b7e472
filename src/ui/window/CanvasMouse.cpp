// The three mouse handlers of the canvas and the selection commands. A press runs the first rule
// that applies (middle button, tools in their order, Shift and Ctrl, then picking); a move sets
// the cursor, shows the coordinates and continues the gesture under way.
#include <QLabel>

#include "base/NumberText.h"
#include "model/UserDialogs.h"
#include "ui/common/Glyphs.h"
#include "ui/panel/ObjectPanel.h"
#include "ui/window/CanvasWidget.h"
#include "ui/window/MKPUnit1.h"
#include "units/Prevody.h"

namespace {
// The members that end at the node, with their positions in the list.
std::vector<std::pair<int, TPrut*>> MembersAt(const TMemberList& members, const TUzel* node) {
    std::vector<std::pair<int, TPrut*>> at;
    for (int i = 0; i < members.Count(); ++i)
        if (members[i]->NodeA == node || members[i]->NodeB == node) at.emplace_back(i, members[i]);
    return at;
}

// The members are still where they were found and still end at the node.
bool StillAt(const TMemberList& members, const TUzel* node, const std::vector<std::pair<int, TPrut*>>& at) {
    for (const auto& [i, m] : at)
        if (i >= members.Count() || members[i] != m || (m->NodeA != node && m->NodeB != node)) return false;
    return true;
}
} // namespace

void TForm1::MKPSpace1MouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods,
                                int x, int y) {
    if (button == Qt::RightButton) FinishAction();
    const TMKPSpace::TModelPoint p = mSpace.SnapToStep(mSpace.ToModel(x, y));
    const bool shift = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    if (buttons & Qt::MiddleButton) {
        mPrevX = mCurX = x;
        mPrevY = mCurY = y;
    } else if (IsDown("AddUzelBtn")) {
        mSpace.CurrentNode = mSpace.PridejUzel(mSpace.Nodes.Count() + 1, p.X, p.Y);
        ModelEdited();
        mSpace.Prekresli();
        mPanel->VypisHodnotyUzlu();
    } else if (IsDown("tbZoomInW") || IsDown("tbZoomOutW")) {
        ZoomWindowPress(p);
    } else if (IsDown("tbZoomDynBtn")) {
        mPrevY = mCurY = y;
        mEngagedZoomDyn = true;
    } else if (IsDown("tbScaleSL")) {
        mPrevY = mCurY = y;
        mEngagedScaleSL = true;
    } else if (IsDown("tbScaleCL")) {
        mPrevY = mCurY = y;
        mEngagedScaleCL = true;
    } else if (IsDown("tbScaleIF")) {
        mPrevY = mCurY = y;
        mEngagedScaleIF = true;
    } else if (IsDown("tbAddPrutFH")) {
        DrawMembersStep(p);
    } else if (shift && button == Qt::LeftButton) {
        AddToSelection(p);
    } else if (ctrl && button == Qt::RightButton) {
        mSpace.CentreAt(x, y);
    } else if (IsDown("tbCenterToBtn")) {
        mSpace.CentreAt(x, y);
        ReleaseTool("tbCenterToBtn");
        MenuItem("Centerview1")->setChecked(false);
    } else if ((ctrl && button == Qt::LeftButton) || MenuItem("Umistitkotvu1")->isChecked()) {
        mSpace.Anchor.SetX(p.X);
        mSpace.Anchor.SetY(p.Y);
        mSpace.Prekresli();
        MenuItem("Umistitkotvu1")->setChecked(false);
    } else if (!mSpace.Members.Empty() || !mSpace.Nodes.Empty()) {
        Pick(p);
        // In a result mode a left click on a member also pins the value there.
        if (button == Qt::LeftButton && !IsDown("DelBtn")) PinValue(x, y);
    }
}

void TForm1::ZoomWindowPress(const TMKPSpace::TModelPoint& p) {
    if (!mEngagedZoomInW && !mEngagedZoomOutW) {
        mSpace.ZoomCorner1 = p;
        (IsDown("tbZoomInW") ? mEngagedZoomInW : mEngagedZoomOutW) = true;
        mSpace.BeginRubberBand();
        CanvasLock();
        return;
    }
    mSpace.ZoomCorner2 = p;
    const bool zoomIn = mEngagedZoomInW;
    mEngagedZoomInW = mEngagedZoomOutW = false;
    ReleaseTool("tbZoomInW");
    ReleaseTool("tbZoomOutW");
    mSpace.EndRubberBand();
    CanvasUnlock();
    // A window without extent leaves the view as it was; the repaint removes its rubber band.
    if (!mSpace.ZoomToWindow(zoomIn)) mSpace.Prekresli();
    SetStatus(2, QString::number(mSpace.Zoom()) + "%");
}

void TForm1::DrawMembersStep(const TMKPSpace::TModelPoint& p) {
    TNodeList& sel = mSpace.SelectedNodes;
    SetStatus(8, QString::number(sel.Count()));
    if (sel.Count() > 1) {
        sel.Clear();
        SetStatus(8, QString::number(sel.Count()));
        mSpace.Prekresli();
    }
    TUzel* node = mSpace.Nodes.UzelNaPozici(mSpace.Zoom(), p.X, p.Y);
    if (!node) {
        node = mSpace.PridejUzel(mSpace.Nodes.Count() + 1, p.X, p.Y);
        ModelEdited();
    }
    if (sel.Empty() || sel.First() != node) sel.Add(node);
    if (sel.Count() == 2) {
        if (!mSpace.CurrentSection) {
            Dialogs().Inform("Nejdříve načtěte nebo vytvořte alespoň jeden profil.");
            sel.Clear();
            SetStatus(8, QString::number(sel.Count()));
            mSpace.Prekresli();
            return;
        }
        // Two distinct nodes at one point never get a member (it would have zero length); the
        // chain still continues from the second node.
        if (!Coincide(*sel[0], *sel[1])) {
            mSpace.PridejPrut(sel[0], sel[1], mSpace.CurrentSection, false, mSpace.Members.Count() + 1, false,
                              false);
            ModelEdited();
        }
        TUzel* end = sel[1];
        sel.Clear();
        sel.Add(end);
    }
    SetStatus(8, QString::number(sel.Count()));
    mSpace.CurrentNode = mSpace.Nodes.Last();
    mPanel->VypisHodnotyUzlu();
    mSpace.Prekresli();
}

void TForm1::AddToSelection(const TMKPSpace::TModelPoint& p) {
    if (!mSpace.Nodes.Empty()) {
        if (TUzel* node = mSpace.Nodes.UzelNaPozici(mSpace.Zoom(), p.X, p.Y)) {
            if (mSpace.SelectedNodes.Last() != node) mSpace.SelectedNodes.Add(node);
            SetStatus(8, QString::number(mSpace.SelectedNodes.Count()));
            TUzel* current = mSpace.CurrentNode;
            mSpace.CurrentNode = node;
            mSpace.KresliUzel();
            mSpace.CurrentNode = current;
        }
    }
    if (!mSpace.Members.Empty()) {
        if (TPrut* member = mSpace.Members.PrutNaPozici(mSpace.Zoom(), p.X, p.Y)) {
            mSpace.SelectedMembers.Add(member);
            SetStatus(10, QString::number(mSpace.SelectedMembers.Count()));
            mPanel->VypisPomocnyPrut();
            TPrut* current = mSpace.CurrentMember;
            mSpace.CurrentMember = member;
            mSpace.KresliPrut();
            mSpace.CurrentMember = current;
        }
    }
    mCanvas->Area()->update();
}

void TForm1::DeleteMemberAt(TPrut* member) {
    while (mSpace.SelectedMembers.Remove(member) >= 0) {
    }
    mSpace.Members.Remove(member);
    mSpace.Members.Precisluj();
    delete member;
    mSpace.CurrentMember = mSpace.Members.First();
    mPanel->VypisHodnotyPrutu();
    ShowSelectionCounts();
    mPanel->VypisPomocnyPrut();
    ModelEdited();
    mSpace.Prekresli();
}

void TForm1::Pick(const TMKPSpace::TModelPoint& p) {
    if (!mSpace.Members.Empty()) {
        if (TPrut* member = mSpace.Members.PrutNaPozici(mSpace.Zoom(), p.X, p.Y)) {
            mSpace.CurrentMember = member;
            mPanel->VypisHodnotyPrutu();
            if (IsDown("DelBtn")) DeleteMemberAt(member);
        }
    }
    if (!mSpace.Nodes.Empty()) {
        if (TUzel* node = mSpace.Nodes.UzelNaPozici(mSpace.Zoom(), p.X, p.Y)) {
            mSpace.CurrentNode = node;
            mPanel->VypisHodnotyUzlu();
            if (IsDown("tbeMoveNode")) mNodeDrag = true;
        }
    }
}

void TForm1::MKPSpace1MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers, int x, int y) {
    const bool middle = buttons & Qt::MiddleButton;
    if (IsDown("tbZoomDynBtn") || IsDown("tbZoomInW") || IsDown("tbZoomOutW"))
        SetCanvasCursor(KCursorLupa);
    else if (IsDown("tbScaleSL"))
        SetCanvasCursor(KCursorZsl);
    else if (IsDown("tbScaleCL"))
        SetCanvasCursor(KCursorZcl);
    else if (IsDown("tbScaleIF"))
        SetCanvasCursor(KCursorZif);
    else if (middle)
        SetCanvasCursor(KCursorRuka);
    else
        SetCanvasCursor(KCursorKrizek);

    const TMKPSpace::TModelPoint p = mSpace.SnapToStep(mSpace.ToModel(x, y));
    const TReal dx = p.X - mSpace.Anchor.X();
    const TReal dy = p.Y - mSpace.Anchor.Y();
    if (mSpace.UnitSystem == 1) {
        SetStatus(0, "X(" + QString::fromStdString(MetryNaFtIn(dx)) + ")");
        SetStatus(1, "Y(" + QString::fromStdString(MetryNaFtIn(dy)) + ")");
    } else {
        SetStatus(0, "X(" + QString::fromStdString(Fixed3(dx)) + ")");
        SetStatus(1, "Y(" + QString::fromStdString(Fixed3(dy)) + ")");
    }

    auto rise = [this, y] {
        mPrevY = mCurY;
        mCurY = y;
        return mPrevY - mCurY;
    };
    if (middle) {
        SetCanvasCursor(KCursorRuka);
        mCurX = x;
        mCurY = y;
        mSpace.PanBy(mCurX - mPrevX, mCurY - mPrevY);
        mPrevX = mCurX;
        mPrevY = mCurY;
    } else if (mEngagedZoomInW || mEngagedZoomOutW) {
        mSpace.MoveRubberBand(x, y);
        mCanvas->Area()->update();
    } else if ((buttons & Qt::LeftButton) && IsDown("tbeMoveNode") && mNodeDrag) {
        DragNode(p);
    } else if (mEngagedZoomDyn) {
        const int d = rise();
        mSpace.ZoomAboutCentre(mSpace.Zoom() + d);
        SetStatus(2, QString::number(mSpace.Zoom()) + "%");
        mSpace.Prekresli();
    } else if (mEngagedScaleSL) {
        const int d = rise();
        mSpace.SetScaleSL(mSpace.ScaleSL() + d * 0.2L);
    } else if (mEngagedScaleCL) {
        const int d = rise();
        mSpace.SetScaleCL(mSpace.ScaleCL() + d * 0.2L);
    } else if (mEngagedScaleIF) {
        const int d = rise();
        mSpace.SetScaleIF(mSpace.ScaleIF() + d * 0.2L);
    } else if (!mSpace.Nodes.Empty()) {
        if (mSpace.Nodes.UzelNaPozici(mSpace.Zoom(), p.X, p.Y))
            SetCanvasCursor(IsDown("tbeMoveNode") ? KCursorMove : KCursorUzel);
        else if (mSpace.Members.PrutNaPozici(mSpace.Zoom(), p.X, p.Y))
            SetCanvasCursor(KCursorPrut);
    }
    // The value under the pointer, in a result mode and with no gesture under way.
    if (!buttons && !mEngagedZoomInW && !mEngagedZoomOutW)
        ShowPointerValue(x, y);
    else
        HidePointerValue();
}

// The node follows the snapped pointer; a step that would give one of its members zero length
// is refused and the node stays at its last valid position. Only the members at the node change
// their geometry, so a move costs what the node has of members, not what the model has.
void TForm1::DragNode(const TMKPSpace::TModelPoint& p) {
    TUzel* node = mSpace.CurrentNode;
    if (!node) return;
    // Found again when a command during the drag changed the members or the node.
    if (mDragMembers.Node != node || mDragMembers.Members != mSpace.Members.Count() ||
        !StillAt(mSpace.Members, node, mDragMembers.At))
        mDragMembers = {node, mSpace.Members.Count(), MembersAt(mSpace.Members, node)};
    const TReal oldX = node->X;
    const TReal oldY = node->Y;
    node->X = p.X;
    node->Y = p.Y;
    bool zeroLength = false;
    for (const auto& [i, m] : mDragMembers.At) {
        m->Geometrie();
        if (Coincide(*m->NodeA, *m->NodeB)) zeroLength = true;
    }
    if (zeroLength) {
        node->X = oldX;
        node->Y = oldY;
        for (const auto& [i, m] : mDragMembers.At)
            m->Geometrie();
        // The message box takes the mouse release: the drag ends here.
        EndNodeDrag();
        Dialogs().Inform("Nulová délka prutu není dovolena.");
    } else if (oldX != node->X || oldY != node->Y) {
        mNodeMoved = true;
        ModelEdited();
    }
    // The move's repaint paints anew only where the node and its members are.
    if (mNodeDrag) {
        TDragPart part{node, {}};
        for (const auto& [i, m] : mDragMembers.At)
            part.Members.push_back(i);
        mCanvas->Area()->BeginDragMove(std::move(part));
    }
    mSpace.Prekresli();
    mCanvas->Area()->EndDragMove();
}

// The panel is not refreshed while a node follows the pointer; once it is let go, the node's
// coordinates and the current member's length and angle are shown as they now are.
void TForm1::EndNodeDrag() {
    mNodeDrag = false;
    mDragMembers = {};
    mCanvas->Area()->EndDrag();
    if (!mNodeMoved) return;
    mNodeMoved = false;
    // Every member as the model now stands, also one that a command during the drag added.
    mSpace.Members.Precisluj();
    mPanel->VypisHodnotyPrutu();
    mPanel->VypisHodnotyUzlu();
}

void TForm1::MKPSpace1MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    EndNodeDrag();
    mEngagedZoomDyn = false;
    mEngagedScaleSL = mEngagedScaleCL = mEngagedScaleIF = false;
    CommitGesture();
}

void TForm1::CreateMemberP() {
    TNodeList& sel = mSpace.SelectedNodes;
    if (!mSpace.CurrentSection) {
        Dialogs().Inform("Seznam profilů je prázdný. Vytvořte nový nebo načtěte knihovnu.");
    } else if (sel.Count() >= 2) {
        for (int i = 0; i + 1 < sel.Count(); ++i) {
            if (Coincide(*sel[i], *sel[i + 1])) continue;
            mSpace.PridejPrut(sel[i], sel[i + 1], mSpace.CurrentSection, false, mSpace.Members.Count() + 1,
                              false, false);
            mSpace.CurrentMember = mSpace.Members.Last();
            ModelEdited();
            mPanel->VypisHodnotyPrutu();
        }
    }
    sel.Clear();
    SetStatus(8, QString::number(sel.Count()));
    mSpace.Prekresli();
}

void TForm1::UnselectNodes() {
    mSpace.SelectedNodes.Clear();
    SetStatus(8, "0");
    mSpace.KresliVsechnyUzly();
    mCanvas->Area()->update();
}

void TForm1::ClrSeznamVP() {
    mSpace.SelectedMembers.Clear();
    SetStatus(10, "0");
    mPanel->VypisPomocnyPrut();
    mSpace.Prekresli();
}
