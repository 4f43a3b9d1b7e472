// The main window's load commands beyond adding and deleting: a load is edited in the load dialog,
// opened from the panel's edit buttons or by a double click on the load in the canvas.
#include "canvas/LoadHit.h"
#include "ui/dialogs/ZatizeniDialog1.h"
#include "ui/panel/ObjectPanel.h"
#include "ui/window/MKPUnit1.h"

void TForm1::UpravZatizeni(const QString& sender) {
    if (sender == "sbEditLP") {
        TPrut* m = mSpace.CurrentMember;
        if (m && m->CurrentLoad) mForm5->UpravZatizeni(sender, LoadEditOf(*m, *m->CurrentLoad));
    } else if (sender == "sbEditLU") {
        TUzel* n = mSpace.CurrentNode;
        if (n && n->CurrentLoad) mForm5->UpravZatizeni(sender, LoadEditOf(*n, *n->CurrentLoad));
    }
}

// Only a plain double click of the left button, with no tool that takes the clicks for itself.
void TForm1::MKPSpace1DblClick(Qt::MouseButton button, Qt::KeyboardModifiers mods, int x, int y) {
    if (button != Qt::LeftButton || (mods & (Qt::ShiftModifier | Qt::ControlModifier))) return;
    for (const char* tool : {"AddUzelBtn", "DelBtn", "tbAddPrutFH", "tbeMoveNode", "tbZoomInW", "tbZoomOutW",
                             "tbZoomDynBtn", "tbScaleSL", "tbScaleCL", "tbScaleIF", "tbCenterToBtn"})
        if (IsDown(tool)) return;
    const TLoadHit hit = ZatizeniNaPozici(mSpace, x, y);
    if (!hit) return;
    if (hit.Member) {
        mSpace.CurrentMember = hit.Member;
        hit.Member->CurrentLoad = hit.Load;
        mPanel->VypisHodnotyPrutu();
        UpravZatizeni("sbEditLP");
    } else {
        mSpace.CurrentNode = hit.Node;
        hit.Node->CurrentLoad = hit.Load;
        mPanel->VypisHodnotyUzlu();
        UpravZatizeni("sbEditLU");
    }
}
