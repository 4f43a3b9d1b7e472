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
#include <utility>
#include <vector>

#include "base/Types.h"
#include "model/CaseStore.h"
#include "model/LoadCases.h"

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
// The same for member i alone (its end results and factor table).
void ZobrazSoucetPrutu(TMKPSpace& space, int member, const std::vector<std::pair<int, TReal>>& terms,
                       const std::shared_ptr<const TLoadFactors>& factors);
// The stored states of a combination's terms with their factors (cases not computed, such as
// "Weight" in a model without self-weight, are left out).
std::vector<std::pair<int, TReal>> StavyKombinace(const TMKPSpace& space, const TKombinace& combination);
