#pragma once
// Load input without widgets: which fields the load dialog shows for its target and type, how
// its field texts become a member load or a nodal load, and deleting the current load. The
// dialog ZatizeniDialog1 only moves texts between these functions and its controls.
#include <cstdint>
#include <string>

#include "model/NumberText.h"
#include "model/Types.h"

class TMKPSpace;

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

// The dialog's caption for its target.
const char* LoadDialogCaption(TLoadTarget target);

// Messages of the load input.
extern const char* const KNegativeLoadNote;
extern const char* const KLoadBeyondMember;
extern const char* const KNodeDistributedLoad;
extern const char* const KInvalidEntry;

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
TLoadReading ReadMemberLoad(const TLoadFields& fields, TReal length, TReal gamma,
                            char separator = DecimalSeparator());
// Reads the fields (no empty field among them) as a nodal load.
TLoadReading ReadNodeLoad(const TLoadFields& fields, char separator = DecimalSeparator());

// Every empty field becomes "0".
void FillEmptyLoadFields(TLoadFields& fields);

// Confirming the dialog for the current member (node): empty fields become "0", the note and the
// messages go through Dialogs(), an accepted load is added and becomes the current load.
// NoTarget: there is no current member (node), nothing happens.
enum class TConfirmResult { Added, StayOpen, Close, NoTarget };
TConfirmResult ConfirmMemberLoad(TMKPSpace& space, TLoadFields& fields, char separator = DecimalSeparator());
TConfirmResult ConfirmNodeLoad(TMKPSpace& space, TLoadFields& fields, char separator = DecimalSeparator());

// Deletes the current load of the current member (node); false when there was nothing to delete.
bool DeleteCurrentMemberLoad(TMKPSpace& space);
bool DeleteCurrentNodeLoad(TMKPSpace& space);

// Deletes every load of every member that ends at node b of the current member (a move of that
// node leaves their loads meaningless). Returns how many loads went; 0 without a current member.
int DeleteLoadsAtNodeB(TMKPSpace& space);

// Whether the model holds self-weight loads (the state the self-weight command shows).
bool ModelHasSelfWeight(const TMKPSpace& space);
