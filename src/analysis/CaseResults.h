#pragma once
// The results of every load case of the last computation, kept on the model space, and the
// choice of what the model shows: a case, a combination (its cases superposed with its factors)
// or an envelope of combinations.
//
// The stiffness matrix does not depend on the loads: the computation factors it once, solves the
// first case as a model with those loads alone would be solved (and traces it), and every further
// case as one more right-hand side on the same factors. Each case's node displacements,
// reactions and member end results are stored here. Showing a state ("activating" it) writes its
// values into the fields every reader uses (node Displacement and Reaction, member Sa and Sb) and
// gives every node and member the factors of the state's loads (TLoadFactors), so that the table
// along a member (Prubehy) takes exactly those loads.
#include <memory>
#include <string>
#include <vector>

#include "model/LoadCases.h"
#include "model/Types.h"

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

class TObalka;
class TMKPSpace;
class TKombinace;

// Stores the results the model's fields hold now (node displacements and reactions, member end
// results) as a state.
void UlozStav(TMKPSpace& space, TStateResults& out);
// Writes the sum of stored states (position in CaseResults.States, factor) into the fields and
// gives every node and member the factor table of the sum. One state with the factor 1 is copied
// bit for bit.
void ZobrazSoucet(TMKPSpace& space, const std::vector<std::pair<int, TReal>>& terms,
                  const std::shared_ptr<const TLoadFactors>& factors);
// The stored states of a combination's terms with their factors (cases not computed, such as
// "Weight" in a model without self-weight, are left out).
std::vector<std::pair<int, TReal>> StavyKombinace(const TMKPSpace& space, const TKombinace& combination);
