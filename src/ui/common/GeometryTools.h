#pragma once
// The geometry tools of the single-value dialog (TForm2) and the coordinates dialog (TForm3)
// without any widget: reading a typed entry, what a dialog shows when it opens, and what its OK
// does to the model. Messages go through Dialogs(). The functions change the model only; the
// dialogs then refresh the panel pages and repaint as the returned outcome says.
//
// The member tools work on CurrentMember and move its node "b" (node "a" never moves); the
// auxiliary member is the first entry of SelectedMembers. The node tools work on CurrentNode.
#include <string>
#include <vector>

#include "base/Types.h"

class TMKPSpace;
class TPrut;
class TUzel;

enum class TGeometryTool {
    None,
    Length,          // sbDDelka1: L := value, or L ± value
    LengthByMember,  // sbDDelka2: L := L of the auxiliary member
    ExtendToAxis,    // sbDDelka3: node "b" onto the axis of the auxiliary member
    Orientation,     // sbDUhel3: γ := value, or γ ± value
    Perpendicular,   // sbDUhel1: γ := γ of the auxiliary member + 90
    Parallel,        // sbDUhel2: γ := γ of the auxiliary member
    AngleToMember,   // sbDUhel4: γ := γ of the auxiliary member + value
    SplitMember,     // sbPInsN: a new node on the member, a new member from it to the old node "b"
    SupportAbsolute, // sbPdpRot1: support rotation := value, or rotation ± value
    SupportRelative, // sbPdpRot2: support rotation := γ of the auxiliary member + value
    MoveNode,        // sbNCoorCh1 (TForm3)
    NewNode,         // sbNewNCoor (TForm3)
};

// The tool of a button objectName (None for any other name) and back.
TGeometryTool GeometryToolOf(const std::string& button);
const char* GeometryToolButton(TGeometryTool tool);
// The caption of the dialog the tool opens (UTF-8).
const char* GeometryToolCaption(TGeometryTool tool);
// The tool opens the coordinates dialog TForm3 (otherwise the single-value dialog TForm2).
bool IsCoordinatesTool(TGeometryTool tool);

// One typed value. A text whose last character is "+" or "-" is relative: the rest is the
// amount, added or subtracted. Otherwise it is an absolute value (a leading minus belongs to it).
struct TEntry {
    enum TKind { KInvalid, KAbsolute, KAdd, KSubtract };
    TKind Kind = KInvalid;
    TReal Value = 0.0L;

    bool Valid() const { return Kind != KInvalid; }
    // The new value from the old one: the value itself, or old ± amount.
    TReal Apply(TReal current) const;
    // The value with the sign of a relative entry (the amount of "30-" is −30).
    TReal Signed() const;
};

// Reads a length (isLength: a number in the metric system, a feet-inch text in the imperial one)
// or an angle in degrees (always a number). A text that does not read, or reads to a value that
// is not finite, gives KInvalid.
TEntry ReadEntry(const std::string& text, bool isLength, const TMKPSpace& space);
// An absolute length only (no relative suffix); false when the text does not read.
bool ReadLength(const std::string& text, const TMKPSpace& space, TReal& value);

// Intersection of the axes of the current member (a → b) and the auxiliary member (p → q).
// Verticality is exact equality of the x coordinates; equal slopes or two vertical members
// are parallel.
struct TIntersection {
    bool Parallel = true;
    TReal X = 0.0L;
    TReal Y = 0.0L;
};
TIntersection PrusecikOs(const TPrut& current, const TPrut& auxiliary);

// What TForm2 shows when a tool opens it.
struct TSingleValueOpening {
    bool Shown = true;     // false: the dialog is hidden again (the message was shown)
    bool ReadOnly = false; // the field shows a value computed from the model
    std::string Text;      // the field
};
TSingleValueOpening OpenSingleValue(const TMKPSpace& space, TGeometryTool tool);

// What an OK changed, so that the dialog knows what to refresh. The dialog is hidden afterwards
// unless KeepOpen.
struct TToolOutcome {
    bool KeepOpen = false;
    bool Edited = false;        // the model changed
    bool MemberDisplay = false; // show the member page (and its loads) again
    bool NodeDisplay = false;   // show the node page again
    // Numbers of the members whose loads the tool deleted (they met node "b", which moved), in
    // member order; a member that held only its self-weight load is not among them.
    std::vector<int> LostLoads;
};
// The status bar note on the members that lost their loads: "Smazána zatížení prutů 2, 3.";
// empty when none did.
std::string LostLoadsNote(const std::vector<int>& members);
// OK of TForm2 with the text of its field.
TToolOutcome ApplySingleValue(TMKPSpace& space, TGeometryTool tool, const std::string& text);
// OK of TForm3 with the texts of its x and y fields.
TToolOutcome ApplyCoordinates(TMKPSpace& space, TGeometryTool tool, const std::string& x,
                              const std::string& y);

// Deletes every load of every member that has the node as one of its ends; returns those members
// and adds the number of loads deleted to *deleted when given. (The tools then give the members
// their self-weight load back when self-weight is on.)
std::vector<TPrut*> SmazZatizeniPrutuVUzlu(TMKPSpace& space, const TUzel* node, int* deleted = nullptr);
// True when putting the node at (x, y) would give one of its members zero length: the member's
// other end lies there, or apart from it only by rounding (1e-12 of the coordinates' size).
bool ZeroLengthAt(const TMKPSpace& space, const TUzel* node, TReal x, TReal y);
