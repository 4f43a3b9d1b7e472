#pragma once
// Load input without widgets: which fields the load dialog shows for its target and type, how
// its field texts become a member load or a nodal load, and deleting the current load. The
// dialog ZatizeniDialog1 only moves texts between these functions and its controls.
#include <cstdint>
#include <string>
#include <vector>

#include "base/NumberText.h"
#include "base/Types.h"

class TMKPSpace;
class TPrut;
class TUzel;
class TZatizeni;

// The type choice "Typ zatížení" (item index).
enum : int { KTypeForce = 0, KTypeMoment = 1, KTypeDistributed = 2 };
// The input method "Způsob zadání" (item index): direction in global terms and intensity per
// member length, direction relative to the member, direction in global terms and intensity per
// projected length.
enum : int { KMethodGlobal = 0, KMethodLocal = 1, KMethodProjection = 2 };

// The dialog's contents: the two choices and the texts of the edit fields.
struct TLoadFields {
    int Type = KTypeForce;
    int Method = KMethodGlobal;
    std::string Value = "";    // eZatQb "P/ M/ q1"
    std::string EndValue = ""; // eZatQe "q2"
    std::string Angle = "90";  // eZatUhel "Orientace:"
    std::string A = "";        // eZatA
    std::string C = "";        // eZatC
    std::string Case = "";     // cbZatStav: the load's case; empty in a model without cases
};

// What the dialog is open for.
enum class TLoadTarget { Member, Node };

// The fields shown (each together with its label). The value field and the input method are
// always shown.
struct TLoadFieldsShown {
    bool EndValue = false;
    bool Angle = false;
    bool A = false;
    bool C = false;
    bool B = false;
    bool operator==(const TLoadFieldsShown&) const = default;
};
TLoadFieldsShown ShownLoadFields(TLoadTarget target, int type);

// The type when the dialog opens for target with type chosen before: a node takes no distributed
// load, the dialog offers a force instead.
int TypeOnOpening(TLoadTarget target, int type);
// The type after the user chose one: a distributed load chosen for a node becomes a moment.
int TypeOnChoice(TLoadTarget target, int chosen);

// The dialog's caption for its target, when it adds a load and when it edits one.
const char* LoadDialogCaption(TLoadTarget target);
const char* LoadEditCaption(TLoadTarget target);

// The units of the shown fields in the imperial system ("P [lb], A [ft-in]", ...); empty in the
// metric one, whose values are typed in kN, kNm, kN/m and metres without a hint.
std::string LoadUnitHint(TLoadTarget target, int type, bool imperial);

// Messages of the load input.
extern const char* const KNegativeLoadNote;
extern const char* const KLoadBeyondMember;
extern const char* const KNodeDistributedLoad;
extern const char* const KInvalidEntry;
extern const char* const KSelfWeightNotEditable;
extern const char* const KEditedLoadGone;
extern const char* const KUnknownLoadCase;

// The cases a load can be put into (the names of LoadCases; none in a model without cases), and
// the name of the case a load belongs to (empty in a model without cases).
std::vector<std::string> LoadCaseNames(const TMKPSpace& space);
std::string LoadCaseName(TMKPSpace& space, const TZatizeni& load);

// A load record as it goes into PridejZatizeni.
struct TLoadRecord {
    std::uint8_t Kind = 0;
    TReal A = 0.0L;
    TReal C = 0.0L;
    TReal Q1 = 0.0L;
    TReal Q2 = 0.0L;
    TReal Angle = 0.0L;
};

// Outcome of reading the fields: a load to add; a refusal after which the dialog stays open for
// correction; an entry that does not read as a number (the dialog closes, nothing is added).
enum class TLoadOutcome { Load, Refused, Invalid };

struct TLoadReading {
    TLoadOutcome Outcome = TLoadOutcome::Invalid;
    bool NegativeNote = false; // the note on negative values is due (shown before the outcome)
    std::string Message;       // the refusal's message or KInvalidEntry; empty for a load
    TLoadRecord Load;
};

// Reads the fields (no empty field among them) as a load on a member of length L at angle gamma.
// Metric: values in kN, kNm or kN/m, positions in metres. Imperial: values in lb, lb.ft or lb/ft,
// positions as feet-inch texts (FtInNaMetry; a bare number is inches). A position "f/" is the
// fraction f of the length in either system. The record is in the model's units.
TLoadReading ReadMemberLoad(const TLoadFields& fields, TReal length, TReal gamma,
                            char separator = DecimalSeparator(), bool imperial = false);
// Reads the fields (no empty field among them) as a nodal load (lb and lb.ft when imperial).
TLoadReading ReadNodeLoad(const TLoadFields& fields, char separator = DecimalSeparator(),
                          bool imperial = false);

// Every empty field becomes "0".
void FillEmptyLoadFields(TLoadFields& fields);

// Confirming the dialog for the current member (node): empty fields become "0", the note and the
// messages go through Dialogs(), an accepted load is added to the case of the fields and becomes
// the current load. A case the model has not (deleted meanwhile) keeps the dialog open.
// NoTarget: there is no current member (node), nothing happens.
enum class TConfirmResult { Added, StayOpen, Close, NoTarget };
TConfirmResult ConfirmMemberLoad(TMKPSpace& space, TLoadFields& fields, char separator = DecimalSeparator());
TConfirmResult ConfirmNodeLoad(TMKPSpace& space, TLoadFields& fields, char separator = DecimalSeparator());

// ---- Editing a load ----------------------------------------------------------------------

// A load opened in the dialog for editing: its owner, and its values at that moment (so that OK
// never rewrites a load that was deleted, replaced or changed meanwhile).
struct TLoadEdit {
    TLoadTarget Target = TLoadTarget::Member;
    TPrut* Member = nullptr;
    TUzel* Node = nullptr;
    TZatizeni* Load = nullptr;
    TLoadRecord Was;
};
TLoadEdit LoadEditOf(TPrut& member, TZatizeni& load);
TLoadEdit LoadEditOf(TUzel& node, TZatizeni& load);
// Whether the load is still in its owner's list, its owner still in the model, with the same values.
bool LoadEditValid(const TMKPSpace& space, const TLoadEdit& edit);

// The dialog's fields showing the load, in the display units, every other field as it was.
// Numbers are written with as many digits as it takes (up to 18) to read them back to the stored
// values: confirming unchanged fields changes nothing in a value that was typed, and nothing
// beyond 1e-17 of any other. The direction keeps the input method
// chosen ("lok. / délka" shows the stored angle, "glob. / délka" that angle plus γ);
// "glob. / průmět" becomes "glob. / délka", since the stored intensity is per member length.
TLoadFields LoadFieldsOf(const TLoadEdit& edit, TLoadFields current, bool imperial,
                         char separator = DecimalSeparator());

// OK of the dialog opened for editing: reads the fields as ConfirmMemberLoad (ConfirmNodeLoad)
// does and puts the new values and the case into the same load, which stays at its place in the
// list and becomes its owner's current load (and the owner the current member or node). A load
// that is no longer valid shows KEditedLoadGone and closes the dialog.
TConfirmResult ConfirmLoadEdit(TMKPSpace& space, const TLoadEdit& edit, TLoadFields& fields,
                               char separator = DecimalSeparator());

// Deletes the current load of the current member (node); false when there was nothing to delete.
bool DeleteCurrentMemberLoad(TMKPSpace& space);
bool DeleteCurrentNodeLoad(TMKPSpace& space);

// Deletes every load of every member that ends at node b of the current member (a move of that
// node leaves their loads meaningless). Returns how many loads went; 0 without a current member.
int DeleteLoadsAtNodeB(TMKPSpace& space);

// Whether the model holds self-weight loads (the state the self-weight command shows).
bool ModelHasSelfWeight(const TMKPSpace& space);
