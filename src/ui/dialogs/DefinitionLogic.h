#pragma once
// What the section, material and settings dialogs do to the model, without any widget: the field
// texts in, the model space changed (or a message through Dialogs()) out. The dialogs read their
// unit labels here too, so every unit text follows the model space's unit system.
#include <string>

#include "base/NumberText.h"

class TMKPSpace;
class TMaterial;
class TProfil;

// ---- Section and material -----------------------------------------------------------------

// Unit labels of the two dialogs: "m2", "m4", "m4", "MPa", "kg/m3" in the metric system,
// "in2", "in4", "in4", "psi", "lb/ft3" in the imperial system.
struct TDefinitionUnitLabels {
    std::string Area;
    std::string Iy;
    std::string Iz;
    std::string Stress;
    std::string Density;
};
TDefinitionUnitLabels DefinitionUnitLabels(const TMKPSpace& space);

// Fields of the section dialog: name, A, Iy, Iz (in the display units of the unit system).
struct TSectionFields {
    std::string Name;
    std::string A;
    std::string Iy;
    std::string Iz;
};
// Creates the section with the current material. Checks, in this order: a current material
// exists, the three numbers read, the name is not empty, no section has that name (exactly). The
// first failing check shows its message and nothing is created (nullptr).
TProfil* CreateSection(TMKPSpace& space, const TSectionFields& fields, char separator = DecimalSeparator());

// Fields of the material dialog: name, E, density.
struct TMaterialFields {
    std::string Name;
    std::string E;
    std::string Density;
};
// Creates the material. Checks: the two numbers, the name, its uniqueness; nullptr after a message.
TMaterial* CreateMaterial(TMKPSpace& space, const TMaterialFields& fields,
                          char separator = DecimalSeparator());

// ---- Settings -----------------------------------------------------------------------------

// Fields of the settings dialog. Factor is the text of the self-weight coefficient; ShownFactor
// the text the dialog was opened with. FactorTyped says whether the user typed into the field:
// what is typed is what is used, even the very text it showed ("1,4" for 1.35 gives 1.4), while a
// field left alone keeps the coefficient with all its digits (the field shows only two).
struct TSettingsFields {
    std::string Factor;
    std::string ShownFactor;
    bool FactorTyped = true;
    std::string Division;
    int UnitSystem = 0; // 0 metric, 1 imperial
};
// The fields as the dialog opens: the coefficient as general(2), the division, the unit system.
TSettingsFields SettingsFieldsOf(const TMKPSpace& space, char separator = DecimalSeparator());

struct TSettingsOutcome {
    bool FactorApplied = false;
    bool FactorChanged = false;
    bool DivisionApplied = false; // with it the unit system and the members' divisions
    bool UnitSystemChanged = false;
};
// The largest division accepted: every repaint of a result builds a table of Divisions + 1
// stations per member, and far larger tables would exhaust the memory (the program would end).
constexpr int KMaxMemberDivision = 100000;

// Two independent steps: the coefficient; then the division of the model (values up to 10
// become 10, above 50 a warning), the unit system and the division of every member. A step whose
// text does not read (or a division above KMaxMemberDivision) shows "Neplatné zadání." and
// changes nothing; the other step still applies.
TSettingsOutcome ApplySettings(TMKPSpace& space, const TSettingsFields& fields,
                               char separator = DecimalSeparator());

// Texts of the status bar's unit panels 3, 4 and 5: "m", "kN", "MPa" or "ft", "lb", "psi".
struct TUnitPanelTexts {
    std::string Length;
    std::string Force;
    std::string Stress;
};
TUnitPanelTexts UnitPanelTexts(const TMKPSpace& space);
