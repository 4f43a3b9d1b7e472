#include "canvas/MemberResults.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "analysis/Envelope.h"
#include "analysis/MemberTable.h"
#include "model/MKPSpace.h"
#include "model/Prut.h"

// The table must hold the rows the drawing reads (x, M, N, T, rotation, u, w), each with one
// value per station.
bool ComputeMemberResults(TPrut& member) {
    SestavPrubehy(member);
    const TMatrix& r = member.Results;
    if (r.size() < 7 || r[0].empty()) return false;
    for (std::size_t row = 1; row < 7; ++row)
        if (r[row].size() != r[0].size()) return false;
    return true;
}

void ReleaseMemberResults(TPrut& member) {
    member.UvolniPrubehy();
}

void TMKPSpace::TTablesDeleter::operator()(TMemberTables* tables) const {
    delete tables;
}

TMemberTables& MemberTables(TMKPSpace& space) {
    if (!space.DrawingTables) space.DrawingTables.reset(new TMemberTables());
    return *space.DrawingTables;
}

namespace {
// The same 80 bits, sign, exponent and significand (the bytes beyond them are padding): the same
// value with the same sign, a zero of the other sign being another value. A NaN equals only a NaN
// of the same bits, which forms nothing else than it did. Compared as integers, which a repaint
// does for every value of every member, at a fraction of the cost of the x87's comparisons.
static_assert(sizeof(TReal) >= 10, "80-bit reals");
bool Same(TReal a, TReal b) {
    std::uint64_t sa, sb;
    std::uint16_t ea, eb;
    std::memcpy(&sa, &a, 8);
    std::memcpy(&sb, &b, 8);
    std::memcpy(&ea, reinterpret_cast<const char*>(&a) + 8, 2);
    std::memcpy(&eb, reinterpret_cast<const char*>(&b) + 8, 2);
    return sa == sb && ea == eb;
}
} // namespace

void TMemberTables::Read(const TPrut& m, TInputs& in) {
    in.Ends = m.Sa.size() == in.Sa.size() && m.Sb.size() == in.Sb.size();
    if (in.Ends) {
        std::copy(m.Sa.begin(), m.Sa.end(), in.Sa.begin());
        std::copy(m.Sb.begin(), m.Sb.end(), in.Sb.begin());
    }
    in.Length = m.Length, in.Angle = m.Angle, in.CosA = m.CosA, in.SinA = m.SinA;
    in.Divisions = m.Divisions;
    in.HingeA = m.HingeA, in.HingeB = m.HingeB, in.ResultsTurned = m.ResultsTurned;
    in.SectionTurned = m.SectionTurned;
    in.Section = m.Section;
    in.A = m.Section ? m.Section->A : 0;
    in.Iy = m.Section ? m.Section->Iy : 0;
    in.Iz = m.Section ? m.Section->Iz : 0;
    in.E = m.Section && m.Section->Material ? m.Section->Material->E : 0;
    in.Loads.clear();
    for (const TZatizeni* z : m.Loads)
        in.Loads.push_back({z->Kind, z->A, z->B, z->C, z->Q1, z->Q2, z->Angle, z->LoadCase,
                            z->LoadCase ? z->LoadCase->Factor : 0});
    in.Factors = m.LoadFactors;
}

bool TMemberTables::Same(const TPrut& m, const TInputs& in) {
    using ::Same;
    if (!in.Ends || m.Sa.size() != in.Sa.size() || m.Sb.size() != in.Sb.size()) return false;
    for (std::size_t i = 0; i < in.Sa.size(); ++i)
        if (!Same(m.Sa[i], in.Sa[i]) || !Same(m.Sb[i], in.Sb[i])) return false;
    if (!Same(m.Length, in.Length) || !Same(m.Angle, in.Angle) || !Same(m.CosA, in.CosA) || !Same(m.SinA, in.SinA))
        return false;
    if (m.Divisions != in.Divisions || m.HingeA != in.HingeA || m.HingeB != in.HingeB ||
        m.ResultsTurned != in.ResultsTurned || m.SectionTurned != in.SectionTurned || m.Section != in.Section ||
        m.LoadFactors != in.Factors)
        return false;
    if (m.Section) {
        if (!Same(m.Section->A, in.A) || !Same(m.Section->Iy, in.Iy) || !Same(m.Section->Iz, in.Iz)) return false;
        if (!Same(m.Section->Material ? m.Section->Material->E : 0, in.E)) return false;
    }
    if (m.Loads.Count() != int(in.Loads.size())) return false;
    std::size_t i = 0;
    for (const TZatizeni* z : m.Loads) {
        const TLoadInputs& l = in.Loads[i++];
        if (z->Kind != l.Kind || z->LoadCase != l.Case || !Same(z->A, l.A) || !Same(z->B, l.B) ||
            !Same(z->C, l.C) || !Same(z->Q1, l.Q1) || !Same(z->Q2, l.Q2) || !Same(z->Angle, l.Angle) ||
            !Same(z->LoadCase ? z->LoadCase->Factor : 0, l.CaseFactor))
            return false;
    }
    return true;
}

const TMatrix* TMemberTables::Table(TPrut& member, int index) {
    if (index < 0) return nullptr;
    if (std::size_t(index) >= mEntries.size()) mEntries.resize(std::size_t(index) + 1);
    TEntry& e = mEntries[std::size_t(index)];
    if (!e.Formed || !Same(member, e.Inputs)) {
        Read(member, e.Inputs);
        e.Drawable = ComputeMemberResults(member);
        e.Table.swap(member.Results);
        ReleaseMemberResults(member);
        e.Formed = true;
        e.CurveRow = 0;
        ++mFormed;
    }
    mLastTable = index;
    return e.Drawable ? &e.Table : nullptr;
}

const TMemberCurve* TMemberTables::Curve(const TPrut& m, const TMatrix& table, int row) {
    const std::size_t i = std::size_t(mLastTable);
    if (mLastTable < 0 || i >= mEntries.size() || &mEntries[i].Table != &table) return nullptr;
    TEntry& e = mEntries[i];
    const TReal nodeX = m.NodeA->X, nodeY = m.NodeA->Y;
    if (e.CurveRow == row && ::Same(e.NodeX, nodeX) && ::Same(e.NodeY, nodeY)) return &e.Curve;
    // cos α and sin α are the table's own (they are among its inputs).
    const std::size_t n = table[0].size();
    std::vector<TMemberCurve::TStation>& s = e.Curve.Stations;
    s.resize(n);
    for (std::size_t j = 0; j < n; ++j) {
        const TReal x = table[0][j];
        s[j].X = nodeX + x * m.CosA;
        s[j].Y = nodeY - x * m.SinA;
        if (row == 5) {
            const TReal u = table[5][j], w = table[6][j];
            s[j].AcrossX = u * m.CosA - w * m.SinA;
            s[j].AcrossY = u * m.SinA + w * m.CosA;
        } else {
            const TReal v = table[std::size_t(row)][j];
            s[j].AcrossX = v * m.SinA;
            s[j].AcrossY = -v * m.CosA;
        }
    }
    e.CurveRow = row;
    e.NodeX = nodeX, e.NodeY = nodeY;
    ++mFormed;
    return &e.Curve;
}

const TMatrix* TMemberTables::EnvelopeTable(const std::shared_ptr<const TObalka>& envelope, int index, bool high) {
    if (!envelope || index < 0) return nullptr;
    if (envelope != mEnvelope) {
        mEnvelope = envelope;
        mHigh.clear();
        mLow.clear();
        mBands.clear();
    }
    if (high) mLastEnvelope = index;
    std::vector<TEnvelopeEntry>& entries = high ? mHigh : mLow;
    if (std::size_t(index) >= entries.size()) entries.resize(std::size_t(index) + 1);
    TEnvelopeEntry& e = entries[std::size_t(index)];
    if (!e.Formed) {
        e.Drawable = envelope->Table(index, high, e.Table);
        e.Formed = true;
        ++mFormed;
    }
    return e.Drawable ? &e.Table : nullptr;
}

const TEnvelopeBand* TMemberTables::Band(const TPrut& m, const TMatrix& high, const TMatrix& low, int row) {
    const std::size_t i = std::size_t(mLastEnvelope);
    if (mLastEnvelope < 0 || i >= mHigh.size() || i >= mLow.size() || &mHigh[i].Table != &high ||
        &mLow[i].Table != &low)
        return nullptr;
    const std::size_t r = std::size_t(row);
    const std::size_t n = high.empty() ? 0 : high[0].size();
    if (row < 1 || r >= high.size() || r >= low.size() || low[0].size() != n || high[r].size() != n ||
        low[r].size() != n)
        return nullptr;
    if (i >= mBands.size()) mBands.resize(i + 1);
    TBandEntry& e = mBands[i];
    const TReal nodeX = m.NodeA->X, nodeY = m.NodeA->Y;
    if (e.Formed && e.Row == row && ::Same(e.NodeX, nodeX) && ::Same(e.NodeY, nodeY) &&
        ::Same(e.CosA, m.CosA) && ::Same(e.SinA, m.SinA))
        return &e.Band;
    e.Formed = false;
    std::vector<TEnvelopeBand::TStation>& s = e.Band.Stations;
    s.resize(n);
    for (std::size_t j = 0; j < n; ++j) {
        // The stations of both tables are the envelope's; the axis point is that of the largest.
        const TReal x = high[0][j], vh = high[r][j], vl = low[r][j];
        s[j] = {nodeX + x * m.CosA, nodeY - x * m.SinA, vh * m.SinA, -vh * m.CosA, vl * m.SinA, -vl * m.CosA};
        if (!::Same(low[0][j], x)) return nullptr;
    }
    e.Formed = true;
    ++mFormed;
    e.Row = row;
    e.NodeX = nodeX, e.NodeY = nodeY, e.CosA = m.CosA, e.SinA = m.SinA;
    return &e.Band;
}

void TMemberTables::Trim(int members, bool envelopeShown) {
    if (!envelopeShown && mEnvelope) {
        mEnvelope.reset();
        mHigh.clear();
        mLow.clear();
        mBands.clear();
        mLastEnvelope = -1;
    }
    const std::size_t n = std::size_t(std::max(members, 0));
    if (mEntries.size() > n) mEntries.resize(n);
    mLastTable = -1;
    if (mHigh.size() > n) mHigh.resize(n);
    if (mLow.size() > n) mLow.resize(n);
    if (mBands.size() > n) mBands.resize(n);
}
