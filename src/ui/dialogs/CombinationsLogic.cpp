#include "ui/dialogs/CombinationsLogic.h"

#include <algorithm>
#include <cmath>

#include "analysis/En1990.h"
#include "model/MKPSpace.h"

namespace {
std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<TCombinationRow> Rows(TMKPSpace& space, bool user, char separator) {
    std::vector<TCombinationRow> rows;
    for (const TKombinace* k : space.Combinations) {
        if ((k->Kind == TCombinationKind::User) != user) continue;
        rows.push_back({k->Name, CombinationKindName(k->Kind), k->TermsText(separator), k->Formula});
    }
    return rows;
}

TReal FactorIn(const TKombinace* k, const TZatezovaciStav* c) {
    TReal sum = 0;
    if (k)
        for (const TCombinationTerm& t : k->Terms)
            if (t.Case == c) sum += t.Factor;
    return sum;
}

std::string FactorText(TReal factor, char separator) {
    return factor == 0 ? std::string() : FormatRoundTrip(factor, separator);
}

// The terms of the fields; `was` (the combination changed) keeps the factor of a text unchanged.
std::string ReadTerms(TMKPSpace& space, const TCombinationFields& f, const TKombinace* was, char separator,
                      std::vector<TCombinationTerm>& terms) {
    const std::vector<TZatezovaciStav*> cases = CombinationCases(space);
    if (f.Factors.size() != cases.size()) return "Součinitele neodpovídají zatěžovacím stavům modelu.";
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string text = Trimmed(f.Factors[i]);
        const TReal old = FactorIn(was, cases[i]);
        TReal factor = 0;
        if (was && text == FactorText(old, separator))
            factor = old;
        else if (!text.empty() && (!TryStrToFloat(text, factor, separator) || !std::isfinite(factor)))
            return "Součinitel stavu „" + cases[i]->Name + "“ není číslo: „" + text + "“.";
        if (factor != 0) terms.push_back({cases[i], factor});
    }
    if (terms.empty()) return "Kombinace musí mít aspoň jeden nenulový součinitel.";
    return {};
}
} // namespace

std::vector<TZatezovaciStav*> CombinationCases(TMKPSpace& space) {
    return space.PocitaneStavy();
}

std::vector<TCombinationRow> UserCombinationRows(TMKPSpace& space, char separator) {
    return Rows(space, true, separator);
}

std::vector<TCombinationRow> GeneratedCombinationRows(TMKPSpace& space, char separator) {
    return Rows(space, false, separator);
}

TKombinace* UserCombination(TMKPSpace& space, int index) {
    for (TKombinace* k : space.Combinations)
        if (k->Kind == TCombinationKind::User && index-- == 0) return k;
    return nullptr;
}

TCombinationFields CombinationFieldsOf(TMKPSpace& space, const TKombinace& combination, char separator) {
    TCombinationFields f;
    f.Name = combination.Name;
    for (const TZatezovaciStav* c : CombinationCases(space))
        f.Factors.push_back(FactorText(FactorIn(&combination, c), separator));
    return f;
}

std::string NewCombinationName(const TMKPSpace& space) {
    for (int i = 1;; ++i) {
        std::string name = "K " + std::to_string(i);
        if (space.ChybaNazvuKombinace(name).empty()) return name;
    }
}

std::string AddCombination(TMKPSpace& space, const TCombinationFields& fields, char separator) {
    const std::string name = Trimmed(fields.Name);
    if (std::string fault = space.ChybaNazvuKombinace(name); !fault.empty()) return fault;
    std::vector<TCombinationTerm> terms;
    if (std::string fault = ReadTerms(space, fields, nullptr, separator, terms); !fault.empty()) return fault;
    space.PridejKombinaci(name, TCombinationKind::User, std::move(terms));
    return {};
}

std::string ChangeCombination(TMKPSpace& space, int index, const TCombinationFields& fields, char separator) {
    TKombinace* k = UserCombination(space, index);
    if (!k) return "Vyberte kombinaci.";
    const std::string name = Trimmed(fields.Name);
    if (std::string fault = space.ChybaNazvuKombinace(name, k); !fault.empty()) return fault;
    std::vector<TCombinationTerm> terms;
    if (std::string fault = ReadTerms(space, fields, k, separator, terms); !fault.empty()) return fault;
    // A term of a case the fields do not list (none today) stays as it was.
    const std::vector<TZatezovaciStav*> cases = CombinationCases(space);
    for (const TCombinationTerm& t : k->Terms)
        if (std::find(cases.begin(), cases.end(), t.Case) == cases.end()) terms.push_back(t);
    k->Name = name;
    k->Terms = std::move(terms);
    return {};
}

bool DeleteCombination(TMKPSpace& space, int index) {
    TKombinace* k = UserCombination(space, index);
    if (!k) return false;
    space.SmazKombinaci(k);
    return true;
}

int GenerateCombinations(TMKPSpace& space, const TGenerationOptions& options) {
    space.VygenerujKombinace(options);
    return int(GeneratedCombinationRows(space).size());
}
