#include "ui/UndoHistory.h"

#include <cstring>
#include <exception>
#include <sstream>

#include "model/MKPSpace.h"

namespace {
template <class TList, class T> int Position(const TList& list, const T* item) {
    return item ? list.IndexOf(const_cast<T*>(item)) : -1;
}

template <class TList> auto* At(TList& list, int position) {
    if (position < 0 || list.Empty()) return decltype(list.First())(nullptr);
    return list[position < list.Count() ? position : list.Count() - 1];
}
// The reals of the model in one order: materials, sections, nodes with their support angles,
// member loads (self-weight loads are made again by the option) and nodal loads. A member load's
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

bool SameBits(const std::vector<TReal>& a, const std::vector<TReal>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::memcmp(&a[i], &b[i], 10) != 0) return false; // the 80 bits, not the padding
    return true;
}
} // namespace

bool TModelSnapshot::Same(const TModelSnapshot& other) const {
    return Project == other.Project && SelfWeight == other.SelfWeight && Divisions == other.Divisions &&
           SameBits(Exact, other.Exact);
}

bool TakeSnapshot(const TMKPSpace& space, TModelSnapshot& out) {
    TModelSnapshot s;
    try {
        std::ostringstream text;
        const_cast<TMKPSpace&>(space).UlozProjekt(text);
        s.Project = text.str();
    } catch (const std::exception&) {
        return false;
    }
    EachReal(const_cast<TMKPSpace&>(space), [&s](TReal& v) { s.Exact.push_back(v); });
    s.SelfWeight = space.SelfWeight;
    for (const TPrut* m : space.Members)
        s.Divisions.push_back(m->Divisions);
    s.CurrentNode = Position(space.Nodes, space.CurrentNode);
    s.CurrentMember = Position(space.Members, space.CurrentMember);
    s.CurrentSection = Position(space.Sections, space.CurrentSection);
    s.CurrentMaterial = Position(space.Materials, space.CurrentMaterial);
    if (space.CurrentNode) s.NodeLoad = Position(space.CurrentNode->Loads, space.CurrentNode->CurrentLoad);
    if (space.CurrentMember)
        s.MemberLoad = Position(space.CurrentMember->Loads, space.CurrentMember->CurrentLoad);
    out = std::move(s);
    return true;
}

void RestoreSnapshot(TMKPSpace& space, const TModelSnapshot& snapshot, const TModelSnapshot& current) {
    TMKPSpace fresh;
    std::istringstream in(snapshot.Project);
    fresh.NactiProjekt(in);
    space.SwapModel(fresh); // fresh now holds the old model and frees it
    space.SelectedNodes.Clear();
    space.SelectedMembers.Clear();
    space.SectionClipboard = nullptr;
    for (int i = 0; i < space.Members.Count() && std::size_t(i) < snapshot.Divisions.size(); ++i)
        space.Members[i]->Divisions = snapshot.Divisions[std::size_t(i)];
    // The reals as they were, when the text read back holds as many (it always does for a text
    // this program wrote); then the members' geometry from the exact nodes.
    std::size_t count = 0;
    EachReal(space, [&count](TReal&) { ++count; });
    if (count == snapshot.Exact.size()) {
        std::size_t i = 0;
        EachReal(space, [&](TReal& v) { v = snapshot.Exact[i++]; });
        space.Members.Precisluj();
    }
    // The fresh members carry no self-weight loads; the option puts them back.
    space.SelfWeight = false;
    if (snapshot.SelfWeight) space.NastavVlastniTihu(true);
    space.ResultsValid = false;
    space.CurrentNode = At(space.Nodes, current.CurrentNode);
    space.CurrentMember = At(space.Members, current.CurrentMember);
    space.CurrentSection = At(space.Sections, current.CurrentSection);
    space.CurrentMaterial = At(space.Materials, current.CurrentMaterial);
    if (space.CurrentNode) space.CurrentNode->CurrentLoad = At(space.CurrentNode->Loads, current.NodeLoad);
    if (space.CurrentMember)
        space.CurrentMember->CurrentLoad = At(space.CurrentMember->Loads, current.MemberLoad);
}

void TUndoHistory::Reset(const TModelSnapshot& state) {
    mStates.assign(1, state);
    mPosition = 0;
}

bool TUndoHistory::Commit(const TModelSnapshot& state) {
    if (mStates.empty()) {
        Reset(state);
        return true;
    }
    if (mStates[mPosition].Same(state)) {
        // The same model: only what is current now is kept with it.
        mStates[mPosition] = state;
        return false;
    }
    mStates.resize(mPosition + 1);
    mStates.push_back(state);
    if (mStates.size() > mLimit + 1) mStates.erase(mStates.begin(), mStates.end() - std::ptrdiff_t(mLimit + 1));
    mPosition = mStates.size() - 1;
    return true;
}

const TModelSnapshot* TUndoHistory::Undo(const TModelSnapshot*& current) {
    if (!CanUndo()) return nullptr;
    current = &mStates[mPosition];
    --mPosition;
    return &mStates[mPosition];
}

const TModelSnapshot* TUndoHistory::Redo(const TModelSnapshot*& current) {
    if (!CanRedo()) return nullptr;
    ++mPosition;
    current = &mStates[mPosition];
    return &mStates[mPosition];
}
