#pragma once
// The member's results table for one drawing: builds Results from the end results and the loads
// through SestavPrubehy (true when a table is there to draw) and releases it again.
#include <array>
#include <memory>
#include <vector>

#include "base/Types.h"

class TPrut;
class TObalka;
class TLoadFactors;
class TProfil;
class TZatezovaciStav;

bool ComputeMemberResults(TPrut& member);
void ReleaseMemberResults(TPrut& member);

// The band of an envelope's diagram along one member, as far as it does not depend on the view:
// for every station the point on the member's axis in model metres and, for the largest and the
// smallest value v, the diagram's offset across the member before the diagram scale (v·sin α and
// −v·cos α). A repaint turns it into pixels with the view's zoom, offset and diagram scale alone,
// through the same operations as the drawing of one state.
struct TEnvelopeBand {
    struct TStation {
        TReal X, Y;         // axis point
        TReal HighX, HighY; // offset of the largest value
        TReal LowX, LowY;   // offset of the smallest value
    };
    std::vector<TStation> Stations;
};

// The diagram of one state along one member as far as it does not depend on the view: for every
// station the axis point in model metres and the diagram's offset before the diagram scale
// (v·sin α and −v·cos α of M, N or T; the displacement's screen components of the deformed shape).
struct TMemberCurve {
    struct TStation {
        TReal X, Y;             // axis point
        TReal AcrossX, AcrossY; // offset
    };
    std::vector<TStation> Stations;
};

// The tables along the members and the envelope's curves, kept by the model space between full
// repaints, so that a repaint after a change of the view forms none of them again. A member's
// table is used again only while everything it was formed from is as it was, compared value by
// value, bit for bit (a zero's sign too): the end results, the geometry, the hinges, the divisions,
// the section's values, every load (kind, places, values, angle, case and that case's factor) and the
// state's load factors, which the entry holds so that no other state can take their address. An
// edit, an undo, a new computation or another case or combination shown thus forms the table
// anew, whichever way it reached the member. The envelope's curves belong to the envelope shown,
// which is held likewise.
class TMemberTables {
public:
    // The table of the member at `index` of the member list; null when it has none to draw.
    const TMatrix* Table(TPrut& member, int index);
    // The largest (high) or smallest values of the envelope for member `index` as a table; null
    // when the envelope has none for it.
    const TMatrix* EnvelopeTable(const std::shared_ptr<const TObalka>& envelope, int index, bool high);
    // The diagram of row `row` (1 M, 2 N, 3 T, 5 the deformed shape) of the table Table handed out
    // last (null for any other table, e.g. that of a direct drawing). It goes with the table and
    // is formed again when the member's node a, cos α or sin α or the row differs.
    const TMemberCurve* Curve(const TPrut& member, const TMatrix& table, int row);
    // The band of row `row` (1 M, 2 N, 3 T) between the two tables EnvelopeTable handed out last
    // for one member (null for any other tables, e.g. those of a direct drawing). It is formed
    // again when the member's axis (node a, cos α, sin α) or the row differs from those it was
    // formed with; the tables themselves go with the envelope.
    const TEnvelopeBand* Band(const TPrut& member, const TMatrix& high, const TMatrix& low, int row);
    // Keeps no more entries than the list has members, and no envelope once none is shown.
    void Trim(int members, bool envelopeShown);
    // How many tables and bands were formed (not taken from the store) so far.
    long Formed() const { return mFormed; }

private:
    struct TLoadInputs {
        int Kind;
        TReal A, B, C, Q1, Q2, Angle;
        const TZatezovaciStav* Case;
        TReal CaseFactor;
    };
    struct TInputs {
        // The end results, held in the entry itself (a member with results has six at each end):
        // a repaint compares them for every member, and a table of its own would cost a fetch
        // from elsewhere in memory each time.
        std::array<TReal, 6> Sa{}, Sb{};
        bool Ends = false; // both end results had six values
        TReal Length = 0, Angle = 0, CosA = 0, SinA = 0;
        int Divisions = 0;
        bool HingeA = false, HingeB = false, ResultsTurned = false, SectionTurned = false;
        const TProfil* Section = nullptr;
        TReal E = 0, A = 0, Iy = 0, Iz = 0;
        std::vector<TLoadInputs> Loads;
        std::shared_ptr<const TLoadFactors> Factors;
    };
    struct TEntry {
        bool Formed = false;
        bool Drawable = false;
        TInputs Inputs;
        TMatrix Table;
        int CurveRow = 0; // 0: no curve formed for this table
        TReal NodeX = 0, NodeY = 0;
        TMemberCurve Curve;
    };
    struct TEnvelopeEntry {
        bool Formed = false;
        bool Drawable = false;
        TMatrix Table;
    };
    struct TBandEntry {
        bool Formed = false;
        int Row = 0;
        TReal NodeX = 0, NodeY = 0, CosA = 0, SinA = 0;
        TEnvelopeBand Band;
    };
    static void Read(const TPrut& member, TInputs& inputs);
    static bool Same(const TPrut& member, const TInputs& inputs);

    std::vector<TEntry> mEntries;
    std::shared_ptr<const TObalka> mEnvelope;
    std::vector<TEnvelopeEntry> mHigh, mLow;
    std::vector<TBandEntry> mBands;
    int mLastEnvelope = -1; // the member whose largest values EnvelopeTable handed out last
    int mLastTable = -1;    // the member whose table Table handed out last
    long mFormed = 0;
};

// The space's store (made on first use).
class TMKPSpace;
TMemberTables& MemberTables(TMKPSpace& space);
