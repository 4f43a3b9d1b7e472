#pragma once
// What the object panel needs from the main window. The main window implements it; tests of the
// panel use a small fake.
#include <QChar>

class TMKPSpace;

class TPanelHost {
public:
    virtual ~TPanelHost() = default;
    // The model space the panel shows and edits.
    virtual TMKPSpace& Space() = 0;
    // Full repaint of the canvas (Prekresli).
    virtual void RepaintCanvas() = 0;
    // The model was changed by a panel command (geometry, supports, hinges, sections, materials,
    // loads): results of an earlier computation no longer match it.
    virtual void ModelEdited() = 0;
    // The selections changed: the status bar shows their counts again.
    virtual void SelectionChanged() = 0;
    // A character typed into a control of the panel (the section and material combo boxes): the
    // main window runs it as its one-character keyboard command. The panel discards the character.
    virtual void KeyCommand(QChar key) { (void)key; }
};
