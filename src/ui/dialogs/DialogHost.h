#pragma once
// What a dialog needs from the main window: the model space, the call "model edited" and what it
// must refresh after its edit (the object panel, the status note, the unit labels). The main window
// implements it; a dialog never includes the main window's header.
#include <QString>

class QWidget;
class TMKPSpace;
class TObjectPanel;

class TDialogHost {
public:
    virtual ~TDialogHost() = default;
    // The window the dialogs belong to (their Qt parent).
    virtual QWidget* DialogParent() = 0;
    // The model space the dialogs read and edit.
    virtual TMKPSpace& Space() = 0;
    // The model was changed by a dialog: a step of undo of its own, results no longer valid.
    virtual void ModelEdited() = 0;
    // The object panel, whose lists and value pages a dialog refreshes after its edit.
    virtual TObjectPanel* Panel() const = 0;
    // The note of the last computation, and a note in its place in the status bar.
    virtual QString InfoText() const = 0;
    virtual void StatusNote(const QString& text) = 0;
    // After the settings applied a unit system: everything that shows units follows it.
    virtual void UnitSystemApplied() = 0;
};
