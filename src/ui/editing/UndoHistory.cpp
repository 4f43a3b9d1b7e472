#include "ui/editing/UndoHistory.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>
#include <sstream>
#include <unordered_map>

#include "model/MKPSpace.h"

namespace {
template <class TList, class T> int Position(const TList& list, const T* item) {
    return item ? list.IndexOf(item) : -1;
}

template <class TList> auto* At(TList& list, int position) {
    if (position < 0 || list.Empty()) return decltype(list.First())(nullptr);
    return list[position < list.Count() ? position : list.Count() - 1];
}

// The reals of the model in one order: materials, sections, nodes with their support angles,
// member loads (self-weight loads have a part of their own) and nodal loads. A member load's
// distance B from its end to node b is kept as it is: it is set when the load is made and stays
// when the member's length changes later.
template <class F> void EachReal(TMKPSpace& space, F f) {
    for (TMaterial* m : space.Materials)
        f(m->E), f(m->D);
    for (TProfil* s : space.Sections)
        f(s->A), f(s->Iy), f(s->Iz);
    for (TUzel* n : space.Nodes)
        f(n->X), f(n->Y), f(n->DofRot.Angle), f(n->DofU.Angle), f(n->DofW.Angle);
    for (TPrut* m : space.Members)
        for (TZatizeni* z : m->Loads)
            if (z->Kind != KLoadSelfWeight) f(z->A), f(z->B), f(z->C), f(z->Q1), f(z->Q2), f(z->Angle);
    for (TUzel* n : space.Nodes)
        for (TZatizeni* z : n->Loads)
            f(z->A), f(z->B), f(z->C), f(z->Q1), f(z->Q2), f(z->Angle);
}

// The exact part as bytes in memory: a real is its 80 bits (not the padding), an integer its four
// bytes. Only this program reads them back, in the same run.
constexpr std::size_t KRealBytes = 10;

class TBytesOut {
public:
    explicit TBytesOut(std::string& s) : mS(s) {}
    void Real(const TReal& v) { mS.append(reinterpret_cast<const char*>(&v), KRealBytes); }
    void Int(std::int32_t v) { mS.append(reinterpret_cast<const char*>(&v), sizeof v); }

private:
    std::string& mS;
};

class TBytesIn {
public:
    explicit TBytesIn(const std::string& s) : mS(s) {}
    bool Real(TReal& v) { return Take(&v, KRealBytes); }
    bool Int(std::int32_t& v) { return Take(&v, sizeof v); }
    std::size_t Left() const { return mS.size() - mAt; }

private:
    bool Take(void* to, std::size_t n) {
        if (Left() < n) return false;
        std::memcpy(to, mS.data() + mAt, n);
        mAt += n;
        return true;
    }
    const std::string& mS;
    std::size_t mAt = 0;
};

// Layout of the exact part: self-weight option, model member division, self-weight coefficient;
// the number of reals and the reals (EachReal); the number of members, then per member its
// division and its self-weight loads (how many; per load its position in the list and A, B, C,
// Q1, Q2, Angle). Members added while self-weight is on have none, and switching it on twice
// gives two, so the loads are kept as they stand rather than made again.
std::string ExactPart(TMKPSpace& space) {
    std::string s;
    TBytesOut out(s);
    out.Int(space.SelfWeight ? 1 : 0);
    out.Int(space.MemberDivision);
    out.Real(space.WeightCase.Factor);
    std::int32_t reals = 0;
    EachReal(space, [&reals](TReal&) { ++reals; });
    s.reserve(s.size() + 4 + std::size_t(reals) * KRealBytes + std::size_t(space.Members.Count()) * 8 + 4);
    out.Int(reals);
    EachReal(space, [&out](TReal& v) { out.Real(v); });
    out.Int(space.Members.Count());
    for (TPrut* m : space.Members) {
        out.Int(m->Divisions);
        std::int32_t count = 0;
        for (TZatizeni* z : m->Loads)
            count += z->Kind == KLoadSelfWeight;
        out.Int(count);
        std::int32_t i = 0;
        for (TZatizeni* z : m->Loads) {
            if (z->Kind == KLoadSelfWeight) {
                out.Int(i);
                for (TReal v : {z->A, z->B, z->C, z->Q1, z->Q2, z->Angle})
                    out.Real(v);
            }
            ++i;
        }
    }
    return s;
}

struct TExactHeader {
    std::int32_t SelfWeight = 0;
    std::int32_t MemberDivision = 10;
    TReal Factor = 1.0L;
};

// Completes a model read from the text (not yet in use) from the exact part. The self-weight loads
// belong to `weightCase`, the case of the model space they will live in. A part that does not fit
// the model leaves what it does not fit as the text gave it (a text this program wrote always fits).
TExactHeader CompleteFromExactPart(TMKPSpace& fresh, const std::string& exact, TZatezovaciStav* weightCase) {
    TExactHeader h;
    TBytesIn in(exact);
    if (!in.Int(h.SelfWeight) || !in.Int(h.MemberDivision) || !in.Real(h.Factor)) return {};
    std::int32_t reals = 0, expected = 0;
    EachReal(fresh, [&expected](TReal&) { ++expected; });
    if (!in.Int(reals)) return h;
    if (reals == expected && in.Left() >= std::size_t(reals) * KRealBytes) {
        EachReal(fresh, [&in](TReal& v) { in.Real(v); });
        fresh.Members.Precisluj(); // the members' geometry from the exact nodes
    } else {
        return h;
    }
    std::int32_t members = 0;
    if (!in.Int(members) || members != fresh.Members.Count()) return h;
    for (TPrut* m : fresh.Members) {
        std::int32_t count = 0;
        if (!in.Int(m->Divisions) || !in.Int(count)) return h;
        for (std::int32_t k = 0; k < count; ++k) {
            std::int32_t position = 0;
            TReal v[6];
            if (!in.Int(position)) return h;
            for (TReal& x : v)
                if (!in.Real(x)) return h;
            auto* z = new TZatizeni(KLoadSelfWeight, v[0], v[2], v[3], v[4], v[5], weightCase);
            z->B = v[1];
            m->Loads.Insert(std::clamp(position, 0, m->Loads.Count()), z);
        }
    }
    return h;
}

// The digest of ModelPrint: every word goes through one round of a multiply-rotate mix, so that the
// order of the words counts as well as their values.
class TPrinter {
public:
    void Word(std::uint64_t v) {
        mH ^= (v + 0x9E3779B97F4A7C15ULL) * 0xC2B2AE3D27D4EB4FULL;
        mH = ((mH << 31) | (mH >> 33)) * 0x9E3779B97F4A7C15ULL;
    }
    void Int(std::int64_t v) { Word(std::uint64_t(v)); }
    // All 80 bits of the real (the padding is not part of it).
    void Real(const TReal& v) {
        std::uint64_t w[2] = {0, 0};
        std::memcpy(w, &v, KRealBytes);
        Word(w[0]);
        Word(w[1]);
    }
    void Text(const std::string& s) {
        Word(s.size());
        std::size_t i = 0;
        for (; i + 8 <= s.size(); i += 8) {
            std::uint64_t w;
            std::memcpy(&w, s.data() + i, 8);
            Word(w);
        }
        std::uint64_t w = 0;
        std::memcpy(&w, s.data() + i, s.size() - i);
        Word(w);
    }
    std::uint64_t Value() const { return mH; }

private:
    std::uint64_t mH = 0x27D4EB2F165667C5ULL;
};

// Positions of objects in a short list (sections, load cases), with the last answer remembered:
// neighbouring members and loads mostly name the same one.
template <class T> class TPositions {
public:
    template <class TList> explicit TPositions(const TList& list) {
        for (int i = 0; i < list.Count(); ++i)
            mMap.emplace(list[i], i);
    }
    // -1 for an object not in the list.
    int Of(const T* item) {
        if (item != mLast) {
            const auto it = mMap.find(item);
            mLast = item;
            mLastPosition = it == mMap.end() ? -1 : it->second;
        }
        return mLastPosition;
    }

private:
    std::unordered_map<const T*, int> mMap;
    const T* mLast = nullptr;
    int mLastPosition = -1;
};
} // namespace

// What the project text and the exact part hold, in the objects' own terms: names for names,
// numbers for references to nodes, list positions for sections and load cases (the text names them,
// and names are unique), a load's case as the text writes it (StavZatizeni). Derived values (member
// lengths and angles), results and the view are left out, so a model read back from its snapshot
// has the print it was taken with.
std::uint64_t ModelPrint(const TMKPSpace& space) {
    TPrinter p;
    p.Int(space.SelfWeight ? 1 : 0);
    p.Int(space.MemberDivision);
    p.Real(space.WeightCase.Factor);
    p.Int(space.Materials.Count());
    for (const TMaterial* m : space.Materials)
        p.Text(m->Name), p.Real(m->E), p.Real(m->D);
    p.Int(space.Sections.Count());
    for (const TProfil* s : space.Sections) {
        p.Text(s->Name);
        if (s->Material)
            p.Text(s->Material->Name);
        else
            p.Int(-1);
        p.Real(s->A), p.Real(s->Iy), p.Real(s->Iz);
    }
    p.Int(space.LoadCases.Count());
    for (const TZatezovaciStav* c : space.LoadCases) {
        p.Text(c->Name), p.Text(c->Group);
        p.Int(int(c->Kind)), p.Int(int(c->Category)), p.Int(c->BothValues ? 1 : 0);
    }
    TPositions<TZatezovaciStav> cases(space.LoadCases);
    auto& model = const_cast<TMKPSpace&>(space); // StavZatizeni only looks
    auto caseOf = [&](const TZatezovaciStav* c) {
        const int i = cases.Of(c);
        if (i >= 0)
            p.Int(i);
        else if (c == &space.WeightCase)
            p.Int(-2);
        else if (c == &space.DefaultCase)
            p.Int(-3);
        else if (!c)
            p.Int(-4);
        else
            p.Text(c->Name); // a case the model does not list
    };
    auto loads = [&](const TLoadList& list) {
        p.Int(list.Count());
        for (const TZatizeni* z : list) {
            p.Int(z->Kind);
            p.Real(z->A), p.Real(z->B), p.Real(z->C), p.Real(z->Q1), p.Real(z->Q2), p.Real(z->Angle);
            caseOf(model.StavZatizeni(*z));
        }
    };
    p.Int(space.Nodes.Count());
    for (const TUzel* n : space.Nodes) {
        p.Int(n->Number);
        p.Real(n->X), p.Real(n->Y);
        for (const TNodeDof* d : {&n->DofU, &n->DofW, &n->DofRot})
            p.Int(d->Fixed ? 1 : 0), p.Real(d->Angle);
        loads(n->Loads);
    }
    TPositions<TProfil> sections(space.Sections);
    p.Int(space.Members.Count());
    for (const TPrut* m : space.Members) {
        p.Int(m->Number);
        p.Int(sections.Of(m->Section));
        p.Int(m->NodeA ? m->NodeA->Number : -1), p.Int(m->NodeB ? m->NodeB->Number : -1);
        p.Int((m->SectionTurned ? 1 : 0) | (m->HingeA ? 2 : 0) | (m->HingeB ? 4 : 0));
        p.Int(m->Divisions);
        loads(m->Loads);
    }
    p.Int(space.Combinations.Count());
    for (const TKombinace* k : space.Combinations) {
        p.Text(k->Name), p.Text(k->Formula);
        p.Int(int(k->Kind));
        p.Int(std::int64_t(k->Terms.size()));
        for (const TCombinationTerm& t : k->Terms) {
            caseOf(t.Case);
            p.Real(t.Factor);
        }
    }
    return p.Value();
}

TModelView ViewOf(const TMKPSpace& space) {
    TModelView v;
    v.CurrentNode = Position(space.Nodes, space.CurrentNode);
    v.CurrentMember = Position(space.Members, space.CurrentMember);
    v.CurrentSection = Position(space.Sections, space.CurrentSection);
    v.CurrentMaterial = Position(space.Materials, space.CurrentMaterial);
    if (space.CurrentNode) v.NodeLoad = Position(space.CurrentNode->Loads, space.CurrentNode->CurrentLoad);
    if (space.CurrentMember)
        v.MemberLoad = Position(space.CurrentMember->Loads, space.CurrentMember->CurrentLoad);
    if (space.SectionClipboard) {
        v.HasClipboard = true;
        v.Clipboard = space.SectionClipboard->Name;
    }
    return v;
}

namespace {
// Length of the common beginning, compared in blocks.
std::size_t CommonHead(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    constexpr std::size_t block = 4096;
    std::size_t i = 0;
    while (i + block <= n && std::memcmp(a.data() + i, b.data() + i, block) == 0)
        i += block;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

std::size_t CommonTail(const std::string& a, const std::string& b, std::size_t limit) {
    constexpr std::size_t block = 4096;
    std::size_t i = 0;
    while (i + block <= limit &&
           std::memcmp(a.data() + a.size() - i - block, b.data() + b.size() - i - block, block) == 0)
        i += block;
    while (i < limit && a[a.size() - 1 - i] == b[b.size() - 1 - i])
        ++i;
    return i;
}
} // namespace

std::size_t TModelSnapshot::Bytes() const {
    return sizeof *this + Project.capacity() + Exact.capacity() + View.Clipboard.capacity() +
           View.Caption.capacity();
}

bool TakeSnapshot(const TMKPSpace& space, TModelSnapshot& out, std::size_t sizeHint) {
    TModelSnapshot s;
    auto& model = const_cast<TMKPSpace&>(space); // EachReal hands out references; nothing is changed
    try {
        s.Project = space.TextProjektu(sizeHint);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return false;
    }
    s.Exact = ExactPart(model);
    s.View = ViewOf(space);
    s.Print = ModelPrint(space);
    out = std::move(s);
    return true;
}

void RestoreSnapshot(TMKPSpace& space, const TModelSnapshot& snapshot, const TModelView& current) {
    TMKPSpace fresh;
    std::istringstream in(snapshot.Project);
    fresh.NactiProjekt(in);
    const TExactHeader h = CompleteFromExactPart(fresh, snapshot.Exact, &space.WeightCase);
    // Everything is allocated: from here on nothing fails.
    space.SwapModel(fresh); // fresh now holds the old model and frees it
    space.SelectedNodes.Clear();
    space.SelectedMembers.Clear();
    space.SelfWeight = h.SelfWeight != 0;
    space.MemberDivision = h.MemberDivision;
    space.WeightCase.Factor = h.Factor;
    space.ResultsValid = false;

    const TModelView& own = snapshot.View;
    auto pick = [](int left, int mine) { return left >= 0 ? left : mine; };
    space.CurrentNode = At(space.Nodes, pick(current.CurrentNode, own.CurrentNode));
    space.CurrentMember = At(space.Members, pick(current.CurrentMember, own.CurrentMember));
    space.CurrentSection = At(space.Sections, pick(current.CurrentSection, own.CurrentSection));
    space.CurrentMaterial = At(space.Materials, pick(current.CurrentMaterial, own.CurrentMaterial));
    // An object with loads always shows one of them (the last, as after a deletion).
    auto load = [&](TLoadList& loads, int left, int mine) {
        TZatizeni* z = At(loads, pick(left, mine));
        return z ? z : loads.Last();
    };
    if (space.CurrentNode)
        space.CurrentNode->CurrentLoad = load(space.CurrentNode->Loads, current.NodeLoad, own.NodeLoad);
    if (space.CurrentMember)
        space.CurrentMember->CurrentLoad =
            load(space.CurrentMember->Loads, current.MemberLoad, own.MemberLoad);
    space.SectionClipboard = current.HasClipboard ? space.Sections.NajdiProfil(current.Clipboard) : nullptr;
}

TTextPatch MakePatch(const std::string& reference, const std::string& target) {
    TTextPatch p;
    p.Head = CommonHead(reference, target);
    const std::size_t room = std::min(reference.size(), target.size()) - p.Head;
    p.Tail = CommonTail(reference, target, room);
    p.Middle.assign(target, p.Head, target.size() - p.Head - p.Tail);
    return p;
}

std::string ApplyPatch(const std::string& reference, const TTextPatch& patch) {
    std::string s;
    s.reserve(patch.Head + patch.Middle.size() + patch.Tail);
    s.append(reference, 0, patch.Head);
    s.append(patch.Middle);
    s.append(reference, reference.size() - patch.Tail, patch.Tail);
    return s;
}

std::size_t TUndoHistory::TStep::Bytes() const {
    return sizeof *this + Project.Middle.capacity() + Exact.Middle.capacity() + View.Clipboard.capacity() +
           View.Caption.capacity();
}

TUndoHistory::TStep TUndoHistory::StepTo(const TModelSnapshot& from, const TModelSnapshot& to) {
    TStep s{MakePatch(from.Project, to.Project), MakePatch(from.Exact, to.Exact), to.View, to.Print};
    s.Project.Middle.shrink_to_fit();
    s.Exact.Middle.shrink_to_fit();
    return s;
}

TModelSnapshot TUndoHistory::Rebuild(const TModelSnapshot& from, const TStep& step) {
    TModelSnapshot s;
    s.Project = ApplyPatch(from.Project, step.Project);
    s.Exact = ApplyPatch(from.Exact, step.Exact);
    s.View = step.View;
    s.Print = step.Print;
    return s;
}

void TUndoHistory::Reset(TModelSnapshot state) {
    auto current = std::make_unique<TModelSnapshot>(std::move(state));
    Clear();
    mCurrent = std::move(current);
}

void TUndoHistory::Clear() {
    mCurrent.reset();
    mBack.clear();
    mBack.shrink_to_fit();
    mAhead.clear();
    mAhead.shrink_to_fit();
    mBytes = 0;
}

bool TUndoHistory::Commit(TModelSnapshot state) {
    if (!mCurrent) {
        Reset(std::move(state));
        return true;
    }
    if (mCurrent->Same(state)) {
        mCurrent->View = std::move(state.View);
        return false;
    }
    // Everything that can fail first; the history changes only once it cannot.
    TStep back = StepTo(state, *mCurrent);
    mBack.reserve(mBack.size() + 1);
    auto current = std::make_unique<TModelSnapshot>(std::move(state));
    for (const TStep& s : mAhead)
        mBytes -= s.Bytes();
    mAhead.clear();
    mBytes += back.Bytes();
    mBack.push_back(std::move(back));
    mCurrent = std::move(current);
    Trim();
    return true;
}

void TUndoHistory::Amend(TModelSnapshot state) {
    if (!mCurrent) {
        Reset(std::move(state));
        return;
    }
    if (mCurrent->Same(state)) {
        mCurrent->View = std::move(state.View);
        return;
    }
    // The neighbours were kept against the old state: they are kept against the new one instead.
    TStep back, ahead;
    if (!mBack.empty()) back = StepTo(state, Rebuild(*mCurrent, mBack.back()));
    if (!mAhead.empty()) ahead = StepTo(state, Rebuild(*mCurrent, mAhead.back()));
    if (!mBack.empty()) {
        mBytes += back.Bytes() - mBack.back().Bytes();
        mBack.back() = std::move(back);
    }
    if (!mAhead.empty()) {
        mBytes += ahead.Bytes() - mAhead.back().Bytes();
        mAhead.back() = std::move(ahead);
    }
    *mCurrent = std::move(state);
    Trim();
}

const TModelSnapshot* TUndoHistory::Move(std::vector<TStep>& from, std::vector<TStep>& to, TModelView& left) {
    if (from.empty()) return nullptr;
    auto next = std::make_unique<TModelSnapshot>(Rebuild(*mCurrent, from.back()));
    TStep back = StepTo(*next, *mCurrent);
    to.reserve(to.size() + 1);
    left = mCurrent->View;
    mBytes += back.Bytes();
    mBytes -= from.back().Bytes();
    to.push_back(std::move(back));
    from.pop_back();
    mCurrent = std::move(next);
    Trim();
    return mCurrent.get();
}

const TModelSnapshot* TUndoHistory::Undo(TModelView& left) {
    return Move(mBack, mAhead, left);
}

const TModelSnapshot* TUndoHistory::Redo(TModelView& left) {
    return Move(mAhead, mBack, left);
}

void TUndoHistory::Trim() {
    const std::size_t byteLimit = std::max(mByteLimit, mCurrent ? mCurrent->Bytes() : 0);
    while (Steps() > mLimit || (Steps() > 0 && mBytes > byteLimit)) {
        std::vector<TStep>& side = mBack.empty() ? mAhead : mBack;
        mBytes -= side.front().Bytes();
        side.erase(side.begin());
    }
}
