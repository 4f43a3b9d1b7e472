#pragma once
// A small model on a canvas of a chosen size, drawn into a recording painter.
#include "base/NumberText.h"
#include "canvas/RecordingPainter.h"
#include "model/MKPSpace.h"

struct TCanvasModel {
    TMKPSpace space;
    TMaterial* steel = space.PridejMaterial("S235", 210000, 7850);
    TProfil* section = space.PridejProfil("IPE 200", steel, 0.00285, 0.0000194, 0.00000142);
    int repaints = 0;

    TCanvasModel(int width = 488, int height = 398) {
        space.Width = width;
        space.Height = height;
        space.OnRepaint = [this] { ++repaints; };
        space.Origin.Visible = false;
        space.Anchor.Active = false;
        SetDecimalSeparator('.');
    }
    TUzel* Node(TReal x, TReal y) { return space.PridejUzel(space.Nodes.Count() + 1, x, y); }
    TPrut* Member(TUzel* a, TUzel* b, bool hingeA = false, bool hingeB = false) {
        return space.PridejPrut(a, b, section, false, space.Members.Count() + 1, hingeA, hingeB);
    }
    TRecordingPainter Paint() {
        TRecordingPainter p(space.Width, space.Height);
        space.Prekresli(p);
        return p;
    }
};
