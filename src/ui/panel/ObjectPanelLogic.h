#pragma once
// What the object panel shows and what its commands change in the model, without any widget:
// the texts of the display routines (in the program's decimal separator and the model space's
// unit system) and the model edits of the panel's commands.
#include <string>

class TMKPSpace;
class TPrut;
class TUzel;
class TZatizeni;
class TLoadList;

// The member part of page "Prut" for the current member; all texts empty without one.
struct TMemberTexts {
    std::string Number;      // lCisloP
    std::string NodeA;       // lCisloU1
    std::string NodeB;       // lCisloU2
    std::string Section;     // lPrP
    std::string Length;      // lDelkaP
    std::string Angle;       // lUhelP
    std::string Sin;         // lSinP
    std::string Cos;         // lCosP
    std::string SectionTurn; // lPrRP
    std::string Divisions;   // lDeleni
    bool HingeA = false;     // circle drawn at end "a"
    bool HingeB = false;
};
TMemberTexts MemberTexts(const TMKPSpace& space);

// The current load of the current member. Factor is set only when a load is shown; the
// "Koeficient:" label keeps its text otherwise.
struct TMemberLoadTexts {
    std::string Magnitude; // lZatPVelikost
    std::string Position;  // lZatPPoloha
    std::string Type;      // lZatPTyp
    std::string Direction; // lZatPUhel
    std::string Counter;   // lZatPCounter
    bool HasFactor = false;
    std::string Factor; // lZSSoucinitelP
    std::string Case;   // lZatPStav, empty in a model without cases
};
TMemberLoadTexts MemberLoadTexts(const TMKPSpace& space);

// Page "Uzel" for the current node; all texts empty without one.
struct TNodeTexts {
    std::string Number;       // lCisloU and lCPomUz
    std::string Coordinates;  // lSouradniceU
    std::string Support;      // Podporalbl
    std::string SupportAngle; // NatPodplbl
};
TNodeTexts NodeTexts(const TMKPSpace& space);

struct TNodeLoadTexts {
    std::string Magnitude; // lZatUVelikost
    std::string Type;      // lZatUTyp
    std::string Direction; // lZatUUhel
    std::string Counter;   // lZatUCounter
    std::string Case;      // lZatUStav, empty in a model without cases
};
TNodeLoadTexts NodeLoadTexts(const TMKPSpace& space);

// The section part of page "Profil" for the current section; all texts empty without one.
struct TSectionTexts {
    std::string Name; // text of cbProfily
    std::string Area; // lAPr
    std::string Iy;   // lIyPr
    std::string Iz;   // lIzPr
    std::string Mass; // lmPr
};
TSectionTexts SectionTexts(const TMKPSpace& space);

struct TMaterialTexts {
    std::string Name;    // text of cbMaterialy
    std::string E;       // lEMat
    std::string Density; // lDMat
};
TMaterialTexts MaterialTexts(const TMKPSpace& space);

// Object panel caption of a node's support ("žádná", "Vetknutí", ...) from its three flags.
std::string SupportCaption(const TUzel& node);
// The self-weight factor in fixed-2 (both "Koeficient:" labels).
std::string LoadCaseFactorText(const TMKPSpace& space);
// Number of the auxiliary member (first entry of SelectedMembers), or empty.
std::string AuxiliaryMemberText(const TMKPSpace& space);
// The case a load belongs to, for the panel ("Vlastní tíha" for a self-weight load); empty in a
// model without cases.
std::string LoadCaseText(const TMKPSpace& space, const TZatizeni& load);
// "i/n" of the current load in its list; empty without a current load.
std::string LoadCounterText(const TLoadList& loads, const TZatizeni* current);

// Support kinds in the order of the support menus.
enum TSupportKind : int {
    KSupportNone = 0,
    KSupportFixed = 1,
    KSupportPinned = 2,
    KSupportRollerU = 3,
    KSupportRollerW = 4,
    KSupportSlidingClamp = 5,
    KSupportKindCount = 6
};
// Sets the restraint flags of the kind; "no support" also turns the support rotation back to 0.
// False (nothing changed) for a kind outside the table.
bool SetSupportKind(TUzel& node, int kind);

// Makes the next (step +1) or previous (step -1) load of the list current; stays at either end.
// Without a current load, +1 makes the first load current. True when the current load changed.
bool StepCurrentLoad(const TLoadList& loads, TZatizeni*& current, int step);

// Assigning the current node to one end of the current member.
enum class TAssignNodeResult {
    NothingToDo, // no current node or no current member
    Refused,     // the node is the other end or lies at the other end's point: zero length
    Assigned
};
TAssignNodeResult AssignCurrentNodeToEnd(TMKPSpace& space, bool endA);

// Toggles the hinge at end "a" or "b" of the current member; false without one.
bool ToggleCurrentMemberHinge(TMKPSpace& space, bool endA);
// Toggles the section rotation of the current member between 0° and 90°; false without one.
bool TurnCurrentMemberSection(TMKPSpace& space);
// Swaps the ends of the current member and recomputes its geometry; false without one.
bool SwapCurrentMemberNodes(TMKPSpace& space);

// Section clipboard and default section commands; each returns true when the member's section
// was changed.
void CopySectionOfCurrentMember(TMKPSpace& space);
bool PasteSectionToCurrentMember(TMKPSpace& space);
bool AssignCurrentSectionToCurrentMember(TMKPSpace& space);
// The current section becomes the current member's section (kept without a current member).
void MakeMemberSectionCurrent(TMKPSpace& space);
// Every member / every selected member gets the current section; the number of members whose
// section changed (0 without a current section).
int AssignCurrentSectionToAll(TMKPSpace& space);
int AssignCurrentSectionToSelected(TMKPSpace& space);

// Choosing a section by name: the first of exactly that name becomes current with its material.
// False when no section has that name (nothing changes).
bool ChooseSection(TMKPSpace& space, const std::string& name);
// Choosing a material by name: it becomes the current material (none for an unknown name); when
// found and a section is current, that section takes the material. Returns true when found.
bool ChooseMaterial(TMKPSpace& space, const std::string& name);
