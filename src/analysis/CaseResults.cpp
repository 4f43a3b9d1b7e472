// Showing the stored results of the cases: a case, a combination by superposition, an envelope.
#include "analysis/CaseResults.h"

#include <algorithm>

#include "analysis/Envelope.h"
#include "analysis/MemberTable.h"
#include "model/LargeBlock.h"
#include "model/MKPSpace.h"

int TCaseResults::IndexOf(const TZatezovaciStav* loadCase) const {
    const auto it = std::find(Cases.begin(), Cases.end(), loadCase);
    return it == Cases.end() ? -1 : int(it - Cases.begin());
}

void UlozStav(TMKPSpace& space, TStateResults& out) {
    const int nodes = space.Nodes.Count(), members = space.Members.Count();
    // Fresh memory for every case stored: backed in one call rather than page by page; each value
    // is written once.
    const auto fresh = [](TVector& v, std::size_t n) {
        if (v.capacity() < n) {
            TVector().swap(v);
            v.reserve(n);
            PrepareForWriting(v.data(), n * sizeof(TReal));
        }
        v.clear();
    };
    fresh(out.Displacements, std::size_t(3 * nodes));
    fresh(out.Reactions, std::size_t(3 * nodes));
    fresh(out.EndResults, std::size_t(12 * members));
    for (int p = 0; p < nodes; ++p) {
        const TUzel* n = space.Nodes[p];
        for (int k = 0; k < 3; ++k) out.Displacements.push_back(n->Displacement.size() == 3 ? n->Displacement[std::size_t(k)] : 0.0L);
        out.Reactions.push_back(n->DofRot.Reaction);
        out.Reactions.push_back(n->DofU.Reaction);
        out.Reactions.push_back(n->DofW.Reaction);
    }
    for (int i = 0; i < members; ++i) {
        const TPrut* m = space.Members[i];
        if (!m->HasResults()) {
            out.EndResults.insert(out.EndResults.end(), 12, 0.0L);
            continue;
        }
        out.EndResults.insert(out.EndResults.end(), m->Sa.begin(), m->Sa.begin() + 6);
        out.EndResults.insert(out.EndResults.end(), m->Sb.begin(), m->Sb.begin() + 6);
    }
}

void ZobrazSoucet(TMKPSpace& space, const std::vector<std::pair<int, TReal>>& terms,
                  const std::shared_ptr<const TLoadFactors>& factors) {
    const TCaseResults& store = space.CaseResults;
    // One state with the factor 1 is copied, so that a case shows the bits it was computed with.
    const bool copy = terms.size() == 1 && terms[0].second == 1;
    const auto value = [&](const TVector TStateResults::*field, std::size_t i) {
        if (copy) return (store.States[std::size_t(terms[0].first)].*field)[i];
        TReal s = 0;
        for (const auto& [state, f] : terms) s += f * (store.States[std::size_t(state)].*field)[i];
        return s;
    };
    const std::size_t storedNodes = store.States[std::size_t(terms.empty() ? 0 : terms[0].first)].Displacements.size() / 3;
    for (int p = 0; p < space.Nodes.Count(); ++p) {
        TUzel* n = space.Nodes[p];
        n->LoadFactors = factors;
        if (std::size_t(p) >= storedNodes) continue; // added after the computation
        n->Displacement = {value(&TStateResults::Displacements, std::size_t(3 * p)),
                           value(&TStateResults::Displacements, std::size_t(3 * p + 1)),
                           value(&TStateResults::Displacements, std::size_t(3 * p + 2))};
        TNodeDof* dofs[3] = {&n->DofRot, &n->DofU, &n->DofW};
        for (int k = 0; k < 3; ++k)
            if (dofs[k]->Fixed) dofs[k]->Reaction = value(&TStateResults::Reactions, std::size_t(3 * p + k));
    }
    for (int i = 0; i < space.Members.Count(); ++i)
        ZobrazSoucetPrutu(space, i, terms, factors);
}

void ZobrazSoucetPrutu(TMKPSpace& space, int i, const std::vector<std::pair<int, TReal>>& terms,
                       const std::shared_ptr<const TLoadFactors>& factors) {
    const TCaseResults& store = space.CaseResults;
    const bool copy = terms.size() == 1 && terms[0].second == 1;
    const auto value = [&](std::size_t k) {
        if (copy) return store.States[std::size_t(terms[0].first)].EndResults[k];
        TReal s = 0;
        for (const auto& [state, f] : terms) s += f * store.States[std::size_t(state)].EndResults[k];
        return s;
    };
    TPrut* m = space.Members[i];
    m->LoadFactors = factors;
    if (std::size_t(i) >= store.NodeA.size()) return; // added after the computation
    TVector sa(6), sb(6);
    for (int k = 0; k < 6; ++k) {
        sa[std::size_t(k)] = value(std::size_t(12 * i + k));
        sb[std::size_t(k)] = value(std::size_t(12 * i + 6 + k));
    }
    // A member turned round since the computation (the live computation turns back the
    // members it turned) reads its end results from its other end.
    m->ResultsTurned = m->NodeA != store.NodeA[std::size_t(i)];
    if (m->ResultsTurned) {
        m->Sa = ReversedEndResults(sb);
        m->Sb = ReversedEndResults(sa);
    } else {
        m->Sa = std::move(sa);
        m->Sb = std::move(sb);
    }
}

std::vector<std::pair<int, TReal>> StavyKombinace(const TMKPSpace& space, const TKombinace& combination) {
    std::vector<std::pair<int, TReal>> terms;
    for (const TCombinationTerm& t : combination.Terms) {
        const int state = space.CaseResults.IndexOf(t.Case);
        if (state >= 0) terms.emplace_back(state, t.Factor);
    }
    return terms;
}

bool TMKPSpace::KombinaceObalky(const TResultsChoice& choice, std::vector<const TKombinace*>& out,
                                std::string* unknown) {
    out.clear();
    if (!choice.Combinations.empty()) {
        for (const std::string& name : choice.Combinations) {
            const TKombinace* k = Combinations.NajdiKombinaci(name);
            if (!k) {
                if (unknown) *unknown = name;
                return false;
            }
            out.push_back(k);
        }
        return true;
    }
    for (const TKombinace* k : Combinations)
        if (choice.Scope == TEnvelopeScope::All || (choice.Scope == TEnvelopeScope::Ultimate) == IsUltimate(k->Kind))
            out.push_back(k);
    return true;
}

bool TMKPSpace::NastavVysledky(const TResultsChoice& choice) {
    switch (choice.Kind) {
    case TResultsKind::Case:
        if (!choice.Name.empty() && !NajdiZatezovaciStav(choice.Name)) return false;
        break;
    case TResultsKind::Combination:
        if (!Combinations.NajdiKombinaci(choice.Name)) return false;
        break;
    case TResultsKind::Envelope: {
        std::vector<const TKombinace*> list;
        if (!KombinaceObalky(choice, list)) return false;
        break;
    }
    }
    const TResultsChoice before = ResultsChoice;
    ResultsChoice = choice;
    if (CaseResults.Empty()) return true;
    if (ZobrazVysledky()) return true;
    ResultsChoice = before;
    ZobrazVysledky();
    return false;
}

bool TMKPSpace::ZobrazVysledky() {
    if (CaseResults.Empty()) return false;
    Envelope.reset();
    const TResultsChoice& c = ResultsChoice;
    const int primary = std::max(0, CaseResults.IndexOf(NajdiZatezovaciStav(TracedCase)));
    // A model without cases shows its one state as every load once, as it was computed.
    const auto factorsOfCase = [this](int state) -> std::shared_ptr<const TLoadFactors> {
        if (LoadCases.Empty()) return nullptr;
        return FaktoryStavu(CaseResults.Cases[std::size_t(state)]);
    };
    if (c.Kind == TResultsKind::Case) {
        const int state = c.Name.empty() ? primary : CaseResults.IndexOf(NajdiZatezovaciStav(c.Name));
        if (state < 0) return false;
        ZobrazSoucet(*this, {{state, 1.0L}}, factorsOfCase(state));
        return true;
    }
    if (c.Kind == TResultsKind::Combination) {
        const TKombinace* k = Combinations.NajdiKombinaci(c.Name);
        if (!k) return false;
        ZobrazSoucet(*this, StavyKombinace(*this, *k), FaktoryKombinace(*k));
        return true;
    }
    std::vector<const TKombinace*> list;
    if (!KombinaceObalky(c, list)) return false;
    ZobrazSoucet(*this, {{primary, 1.0L}}, factorsOfCase(primary));
    Envelope = std::make_shared<TObalka>(SestavObalku(*this, list));
    return true;
}
