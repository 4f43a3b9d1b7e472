#include "ui/window/ResultsEntries.h"

#include "model/MKPSpace.h"

std::vector<TResultsEntry> PolozkyVysledku(TMKPSpace& space) {
    std::vector<TResultsEntry> out;
    if (space.LoadCases.Empty() && space.Combinations.Empty()) return out;
    for (const TZatezovaciStav* c : space.PocitaneStavy()) {
        // The one case of a model without cases is the first case, as it always was.
        const std::string name = space.LoadCases.Empty() ? std::string() : c->Name;
        out.push_back({c->Name, {TResultsKind::Case, name, {}, TEnvelopeScope::All}});
    }
    bool ultimate = false, serviceability = false;
    for (const TKombinace* k : space.Combinations) {
        out.push_back({k->Name, {TResultsKind::Combination, k->Name, {}, TEnvelopeScope::All}});
        (IsUltimate(k->Kind) ? ultimate : serviceability) = true;
    }
    if (ultimate) out.push_back({"Obálka MSÚ", {TResultsKind::Envelope, {}, {}, TEnvelopeScope::Ultimate}});
    if (serviceability)
        out.push_back({"Obálka MSP", {TResultsKind::Envelope, {}, {}, TEnvelopeScope::Serviceability}});
    if (ultimate || serviceability)
        out.push_back({"Obálka všech kombinací", {TResultsKind::Envelope, {}, {}, TEnvelopeScope::All}});
    return out;
}

int PolozkaVolby(const std::vector<TResultsEntry>& entries, const TResultsChoice& choice) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].Choice == choice) return int(i);
    if (choice.Kind == TResultsKind::Case && choice.Name.empty() && !entries.empty() &&
        entries[0].Choice.Kind == TResultsKind::Case)
        return 0;
    return -1;
}
