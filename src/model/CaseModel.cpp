// Load cases and combinations of the model space: which case a load belongs to, the cases
// computed, adding and deleting cases and combinations, and the factor tables of a state.
#include <algorithm>

#include "model/MKPSpace.h"

namespace {
// Every load of the model, nodal and member loads.
template <class F> void ForEachLoad(TMKPSpace& space, F f) {
    for (TUzel* n : space.Nodes)
        for (TZatizeni* z : n->Loads) f(*z);
    for (TPrut* m : space.Members)
        for (TZatizeni* z : m->Loads) f(*z);
}

// Removes the loads for which drop holds from a load list, destroying them; a current load that
// goes makes the last remaining one current.
template <class TOwner, class F> void DropLoads(TOwner& owner, F drop) {
    bool currentGone = false;
    for (int i = owner.Loads.Count() - 1; i >= 0; --i) {
        TZatizeni* z = owner.Loads[i];
        if (!drop(*z)) continue;
        currentGone = currentGone || owner.CurrentLoad == z;
        delete owner.Loads.Extract(i);
    }
    if (currentGone) owner.CurrentLoad = owner.Loads.Last();
}
} // namespace

TZatezovaciStav* TMKPSpace::StavZatizeni(const TZatizeni& load) {
    if (LoadCases.Empty()) return &DefaultCase;
    return load.LoadCase ? load.LoadCase : LoadCases[0];
}

std::vector<TZatezovaciStav*> TMKPSpace::PocitaneStavy() {
    if (LoadCases.Empty()) return {&DefaultCase};
    std::vector<TZatezovaciStav*> cases(LoadCases.begin(), LoadCases.end());
    bool weight = false;
    for (const TPrut* m : Members)
        for (const TZatizeni* z : m->Loads)
            weight = weight || z->LoadCase == &WeightCase;
    if (weight) cases.push_back(&WeightCase);
    return cases;
}

TZatezovaciStav* TMKPSpace::NajdiZatezovaciStav(const std::string& name) {
    for (TZatezovaciStav* c : LoadCases)
        if (c->Name == name) return c;
    if (name == WeightCase.Name) return &WeightCase;
    if (LoadCases.Empty() && name == DefaultCase.Name) return &DefaultCase;
    return nullptr;
}

std::string TMKPSpace::ChybaNazvuStavu(const std::string& name, const TZatezovaciStav* renamed) const {
    if (name.empty()) return "Zatěžovací stav musí mít název.";
    if (name.find_first_of("\r\n") != std::string::npos) return "Název zatěžovacího stavu nesmí obsahovat konec řádku.";
    if (name == WeightCase.Name || name == DefaultCase.Name)
        return "Název „" + name + "“ patří stavu, který program zakládá sám.";
    for (const TZatezovaciStav* c : LoadCases)
        if (c != renamed && c->Name == name) return "Zatěžovací stav „" + name + "“ už existuje.";
    return {};
}

std::string TMKPSpace::ChybaNazvuKombinace(const std::string& name, const TKombinace* renamed) const {
    if (name.empty()) return "Kombinace musí mít název.";
    if (name.find_first_of("\r\n") != std::string::npos) return "Název kombinace nesmí obsahovat konec řádku.";
    for (const TKombinace* c : Combinations)
        if (c != renamed && c->Name == name) return "Kombinace „" + name + "“ už existuje.";
    return {};
}

TZatezovaciStav* TMKPSpace::PridejZatezovaciStav(const std::string& name, TCaseKind kind, TCaseCategory category,
                                                 const std::string& group) {
    auto* loadCase = new TZatezovaciStav(name, kind, category, group);
    if (LoadCases.Empty()) {
        ForEachLoad(*this, [loadCase](TZatizeni& z) {
            if (!z.LoadCase) z.LoadCase = loadCase;
        });
        for (TKombinace* k : Combinations)
            for (TCombinationTerm& t : k->Terms)
                if (t.Case == &DefaultCase) t.Case = loadCase;
    }
    LoadCases.Add(loadCase);
    CaseResults.Clear();
    return loadCase;
}

void TMKPSpace::SmazZatezovaciStav(TZatezovaciStav* loadCase, TZatezovaciStav* moveTo) {
    if (!loadCase || !LoadCases.Contains(loadCase) || moveTo == loadCase) return;
    // The last case may give its loads back to the default case.
    const bool toDefault = moveTo == &DefaultCase && LoadCases.Count() == 1;
    if (moveTo && !toDefault && !LoadCases.Contains(moveTo)) return;
    const bool first = LoadCases[0] == loadCase;
    // A load without a case of its own belongs to the first case: it goes with that case.
    const auto owned = [&](const TZatizeni& z) {
        return z.LoadCase == loadCase || (first && !z.LoadCase);
    };
    if (moveTo) {
        ForEachLoad(*this, [&](TZatizeni& z) {
            if (owned(z)) z.LoadCase = moveTo;
        });
    } else {
        for (TUzel* n : Nodes) DropLoads(*n, owned);
        for (TPrut* m : Members) DropLoads(*m, owned);
    }
    for (TKombinace* k : Combinations) {
        if (toDefault) {
            for (TCombinationTerm& t : k->Terms)
                if (t.Case == loadCase) t.Case = &DefaultCase;
            continue;
        }
        k->Terms.erase(std::remove_if(k->Terms.begin(), k->Terms.end(),
                                      [loadCase](const TCombinationTerm& t) { return t.Case == loadCase; }),
                       k->Terms.end());
    }
    LoadCases.Remove(loadCase);
    delete loadCase;
    // The last case gone: the loads that remain belong to the default case again.
    if (LoadCases.Empty())
        ForEachLoad(*this, [this](TZatizeni& z) {
            if (z.LoadCase != &WeightCase) z.LoadCase = nullptr;
        });
    CaseResults.Clear();
    for (TUzel* n : Nodes) n->LoadFactors.reset();
    for (TPrut* m : Members) m->LoadFactors.reset();
}

void TMKPSpace::NastavStavZatizeni(TZatizeni& load, TZatezovaciStav* loadCase) { load.LoadCase = loadCase; }

TKombinace* TMKPSpace::PridejKombinaci(const std::string& name, TCombinationKind kind,
                                       std::vector<TCombinationTerm> terms, const std::string& formula) {
    auto* combination = new TKombinace(name, kind, std::move(terms), formula);
    Combinations.Add(combination);
    return combination;
}

void TMKPSpace::SmazKombinaci(TKombinace* combination) {
    if (Combinations.Remove(combination) >= 0) delete combination;
}

void TMKPSpace::NastavGenerovaneKombinace(std::vector<std::unique_ptr<TKombinace>> generated) {
    for (int i = Combinations.Count() - 1; i >= 0; --i)
        if (Combinations[i]->Kind != TCombinationKind::User) delete Combinations.Extract(i);
    for (auto& k : generated) Combinations.Add(k.release());
}

std::shared_ptr<TLoadFactors> TMKPSpace::FaktoryStavu(const TZatezovaciStav* loadCase) {
    auto f = std::make_shared<TLoadFactors>();
    if (LoadCases.Empty()) {
        // The default case: every load, self-weight included.
        if (loadCase == &DefaultCase) {
            f->SetUnassigned(1);
            f->Set(&WeightCase, 1);
        }
        return f;
    }
    f->Set(loadCase, 1);
    // Loads without a case belong to the first case.
    if (loadCase == LoadCases[0]) f->SetUnassigned(1);
    return f;
}

std::shared_ptr<TLoadFactors> TMKPSpace::FaktoryKombinace(const TKombinace& combination,
                                                          const std::vector<const TKombinace*>* present) {
    auto f = std::make_shared<TLoadFactors>();
    const auto add = [&](const TZatezovaciStav* c, TReal factor) {
        if (LoadCases.Empty()) {
            // The default case carries every load, self-weight included.
            if (c != &DefaultCase) return;
            f->Add(&WeightCase, factor);
            f->SetUnassigned(f->CaseFactor(&WeightCase));
            return;
        }
        f->Add(c, factor);
        if (c == LoadCases[0]) f->SetUnassigned(f->CaseFactor(c));
    };
    if (present)
        for (const TKombinace* k : *present)
            for (const TCombinationTerm& t : k->Terms) add(t.Case, 0);
    for (const TCombinationTerm& t : combination.Terms) add(t.Case, t.Factor);
    return f;
}
