#pragma once
// The store of the results of every load case of the last computation, kept on the model space,
// and the choice of what the model shows. The operations that fill and show them are in
// analysis/CaseResults.h.
#include <string>
#include <vector>

#include "base/Types.h"
#include "model/LoadCases.h"

class TUzel;

// The values of one state: per node three displacements (rotation, u, w) and three reactions
// (of them only those of restrained degrees of freedom mean anything); per member twelve end
// results (Sa, then Sb).
struct TStateResults {
    TVector Displacements;
    TVector Reactions;
    TVector EndResults;
};

class TCaseResults {
public:
    // The cases computed, in the order of States; node a of every member at the computation (a
    // member turned round since then reads its end results from the other end).
    std::vector<TZatezovaciStav*> Cases;
    std::vector<TStateResults> States;
    std::vector<const TUzel*> NodeA;

    bool Empty() const { return States.empty(); }
    void Clear() {
        Cases.clear();
        States.clear();
        NodeA.clear();
    }
    // Position of a case in Cases, -1 when it was not computed.
    int IndexOf(const TZatezovaciStav* loadCase) const;
};

// What the model shows of its results.
enum class TResultsKind { Case, Combination, Envelope };
// Which combinations an envelope takes when it names none: all, ultimate or serviceability ones.
enum class TEnvelopeScope { All, Ultimate, Serviceability };

struct TResultsChoice {
    TResultsKind Kind = TResultsKind::Case;
    // The case or combination; empty: the first case computed.
    std::string Name;
    // Envelope: the combinations named, or (none named) those of the scope.
    std::vector<std::string> Combinations;
    TEnvelopeScope Scope = TEnvelopeScope::All;
    bool operator==(const TResultsChoice&) const = default;
};
