#pragma once
// The member's results table for one drawing: builds Results from the end results and the loads
// through SestavPrubehy (true when a table is there to draw) and releases it again.
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

// The tables along the members and the envelope's curves, kept by the model space between full
// repaints, so that a repaint after a change of the view forms none of them again. A member's
// table is used again only while everything it was formed from is as it was, compared value by
// value (a zero's sign too): the end results, the geometry, the hinges, the divisions, the
// section's values, every load (kind, places, values, angle, case and that case's factor) and the
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
    // Keeps no more entries than the list has members, and no envelope once none is shown.
    void Trim(int members, bool envelopeShown);
    // How many tables were formed (not taken from the store) so far.
    long Formed() const { return mFormed; }

private:
    struct TLoadInputs {
        int Kind;
        TReal A, B, C, Q1, Q2, Angle;
        const TZatezovaciStav* Case;
        TReal CaseFactor;
    };
    struct TInputs {
        TVector Sa, Sb;
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
    };
    struct TEnvelopeEntry {
        bool Formed = false;
        bool Drawable = false;
        TMatrix Table;
    };
    static void Read(const TPrut& member, TInputs& inputs);
    static bool Same(const TPrut& member, const TInputs& inputs);

    std::vector<TEntry> mEntries;
    std::shared_ptr<const TObalka> mEnvelope;
    std::vector<TEnvelopeEntry> mHigh, mLow;
    long mFormed = 0;
};

// The space's store (made on first use).
class TMKPSpace;
TMemberTables& MemberTables(TMKPSpace& space);
